#pragma once
// The table of embedded files: resource name (compared without case) -> the URL path
// under which the file is known, its bytes, and whether the bytes are gzip-compressed.
// Filled at start-up from the files compiled into the executable (framework/www); the
// scripts and style sheets are compressed once, at start-up, so that requests are
// answered from memory without compressing anything.
//
// One table per process (Instance()). Registration and pre-compression write under
// the reader-writer lock, look-ups read; a look-up returns a view that keeps its bytes
// alive on its own, so many threads may stream the same file while a row is replaced.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "framework/server/TIWSlimReaderWriter.h"

namespace orv {

// What a look-up returns: an independent, read-only view of the stored bytes.
struct InternalFileView {
  std::shared_ptr<const std::string> storage;  // keeps `bytes` alive
  std::string_view bytes;
  bool cacheable = true;
  bool compressed = false;
};

class TIWServerInternalFiles {
 public:
  // Supplies a file that is not in the table: bytes and whether it may be cached.
  using ResourceNeeded = std::function<bool(const std::string& name,
                                            std::shared_ptr<const std::string>& bytes,
                                            bool& cacheable)>;

  struct TInternalFile {
    std::string mFileName;  // URL path
    bool mIsCompressed = false;
    std::shared_ptr<const std::string> mResource;
  };

  static TIWServerInternalFiles& Instance();

  // Loads the embedded file of that (upper-cased) name and adds or replaces the row; a
  // replaced row loses its compressed flag. Missing: "Cannot find internal file: " + name.
  void Add(std::string_view resourceName, std::string_view urlPath);
  // Adds or replaces a row with the given bytes (a resource that is not compiled in).
  void AddBytes(std::string_view resourceName, std::string_view urlPath, std::string bytes);

  // Registers every embedded file of the framework under its URL path.
  void RegisterFrameworkFiles();

  // With UseUncompressedFiles a name starting "IW_JS_" is first tried with "_DBG"
  // appended; then the name; then OnResourceNeeded. Otherwise throws
  // EInvalidResource "Resource <name> not found.".
  InternalFileView ResourceAsStream(std::string_view name);
  std::string ResourceAsString(std::string_view name);
  bool ResourceExists(std::string_view name);

  // Compresses every "IW_JS_" and "IW_CSS_" row with gzip level 9 (rows already in gzip
  // form are only flagged). Called once at start-up when PreCompress is on.
  void PreCompress();

  void SetUseUncompressedFiles(bool on);
  void SetPreCompressFiles(bool on);
  bool PreCompressFiles();
  void SetOnResourceNeeded(ResourceNeeded handler);

  // Copies the row of a name into out; false when there is none.
  bool Find(std::string_view name, TInternalFile& out);

  TIWServerInternalFiles() = default;

 private:
  bool lookup(const std::string& upperName, InternalFileView& out);

  TIWSlimReaderWriter lock_;  // guards every member below; a leaf lock
  std::map<std::string, TInternalFile> files_;  // upper-case resource name
  bool useUncompressedFiles_ = false;
  bool preCompressFiles_ = true;
  ResourceNeeded onResourceNeeded_;
};

}  // namespace orv
