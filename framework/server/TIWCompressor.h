#pragma once
// Compression of replies on their way out: after the transport has turned a reply
// packet into a response, the compressor (installed as the transport's compression
// hook at start-up) compresses the content when the client accepts gzip or deflate,
// the content type is one of the compressible kinds and the body is large enough.
//
// One per process, made by Init() with a copy of the controller's compression
// options; it keeps no per-request state, so every connection thread may call it.
#include <memory>
#include <string>
#include <string_view>

#include "framework/server/TIWCompressionOptions.h"

namespace orv {

class TInHTTPRequestInfo;
class TInHTTPResponseInfo;

class TIWCompressor {
 public:
  explicit TIWCompressor(const TIWCompressionOptions& options);

  // Installs a compressor with these options as the transport's compression hook
  // (replacing any earlier one); Done() removes it.
  static void Init(const TIWCompressionOptions& options);
  static void Done();

  // Compresses the response content in place (see the rules in the source). Does
  // nothing unless the status is 200, the body is at least MinSize bytes (0: any), the
  // client accepts an allowed method, the content type matches and the reply is not
  // already gzip-encoded, or when the custom headers carry the "no-compression" marker.
  void Compress(const TInHTTPRequestInfo& request, TInHTTPResponseInfo& response) const;

  // Whether a full content type ("text/html; charset=UTF-8") is compressible.
  static bool IsCompressibleType(std::string_view contentType);

 private:
  TIWCompressionOptions options_;  // a copy; never changes after construction
};

}  // namespace orv
