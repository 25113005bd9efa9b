#include "framework/server/TIWCompressor.h"

#include "framework/server/ServerText.h"
#include "framework/server/ZStream.h"
#include "transport/HttpHook.h"
#include "transport/TInHTTPRequestInfo.h"
#include "transport/TInHTTPResponseInfo.h"

namespace orv {
namespace {

// The compressible content types, in the order they are tried.
constexpr std::string_view kPatterns[] = {
    "text/*",           "application/javascript", "application/x-javascript",
    "application/json", "application/xhtml",      "application/xml",
    "application/xhtml+xml", "application/rss+xml", "image/svg+xml"};

// "*/*" matches everything; "a/*" matches when the part before the content type's
// first "/" is "a"; "*/b" matches when the parts after the first "/" are equal; any
// other pattern must equal the whole content type, parameters included. Exact case.
bool matches(std::string_view pattern, std::string_view type) {
  if (pattern == "*/*") return true;
  const auto ps = pattern.find('/');
  const auto ts = type.find('/');
  if (ps != std::string_view::npos && pattern.substr(ps + 1) == "*")
    return ts != std::string_view::npos && type.substr(0, ts) == pattern.substr(0, ps);
  if (ps != std::string_view::npos && pattern.substr(0, ps) == "*")
    return ts != std::string_view::npos && type.substr(ts + 1) == pattern.substr(ps + 1);
  return pattern == type;
}

bool hasNoCompressionMarker(const TInHTTPResponseInfo& response) {
  for (const std::string& m : response.CustomMarkers)
    if (m == "no-compression") return true;
  for (const auto& [name, value] : response.CustomHeaders)
    if (name == "no-compression") return true;
  return false;
}

bool alreadyGzip(const TInHTTPResponseInfo& response) {
  if (detail::findNoCase(response.ContentEncoding, "gzip") != std::string::npos) return true;
  for (const auto& [name, value] : response.CustomHeaders)
    if (detail::equalsNoCase(name, "Content-Encoding") &&
        detail::findNoCase(value, "gzip") != std::string::npos)
      return true;
  return false;
}

}  // namespace

TIWCompressor::TIWCompressor(const TIWCompressionOptions& options) { options_.Assign(options); }

void TIWCompressor::Init(const TIWCompressionOptions& options) {
  auto compressor = std::make_shared<const TIWCompressor>(options);
  setHttpCompressHook([compressor](const TInHTTPRequestInfo& request,
                                   TInHTTPResponseInfo& response) {
    compressor->Compress(request, response);
  });
}

void TIWCompressor::Done() { setHttpCompressHook({}); }

bool TIWCompressor::IsCompressibleType(std::string_view contentType) {
  for (std::string_view p : kPatterns)
    if (matches(p, contentType)) return true;
  return false;
}

void TIWCompressor::Compress(const TInHTTPRequestInfo& request,
                             TInHTTPResponseInfo& response) const {
  if (!options_.Enabled() || response.ResponseNo() != 200 || hasNoCompressionMarker(response))
    return;
  const std::string& accept = request.AcceptEncoding;
  const bool gzip = options_.AllowGZip() && detail::findNoCase(accept, "GZIP") != std::string::npos;
  const bool deflate =
      options_.AllowDeflate() && detail::findNoCase(accept, "DEFLATE") != std::string::npos;
  if (!gzip && !deflate) return;
  if (!response.hasContent()) return;

  std::string fullType = response.ContentType;
  if (!response.CharSet.empty()) fullType += "; charset=" + response.CharSet;
  if (!IsCompressibleType(fullType) || alreadyGzip(response)) return;

  std::string body;
  if (response.ContentStream)
    body = response.ContentStream->readAll();
  else
    body = encodeContentText(response.ContentText, response.CharSet);
  if (body.empty()) return;
  if (options_.MinSize() > 0 && body.size() < static_cast<std::size_t>(options_.MinSize())) {
    // Put back what was read: a stream was consumed, a text stays as it was.
    if (response.ContentStream) response.ContentStream->rewind();
    return;
  }

  // The "x-" names are answered only to clients that asked for them in exactly that
  // spelling (old clients compare case-sensitively).
  if (gzip)
    response.ContentEncoding = accept.find("x-gzip") != std::string::npos ? "x-gzip" : "gzip";
  else
    response.ContentEncoding =
        accept.find("x-deflate") != std::string::npos ? "x-deflate" : "deflate";
  response.CustomHeaders.emplace_back("Vary", "Accept-Encoding");
  std::string packed = detail::zCompress(
      body, gzip ? detail::ZWrapper::Gzip : detail::ZWrapper::Zlib, options_.Level());
  response.ContentLength = static_cast<std::int64_t>(packed.size());
  response.ContentText.clear();
  response.ContentStream = std::make_unique<MemoryStream>(std::move(packed));
}

}  // namespace orv
