#pragma once
// The process-wide table from file extension (with the dot, compared without case) to
// content type, which also decides what counts as a static file (Part of dispatch: a
// static file is served from the content folder without a session).
//
// Built once with its 32 rows; RegisterType/UnregisterType may change it at start-up.
// Lookups and changes are guarded by one reader-writer lock, so any thread may call.
// The operating system's own extension registry has no counterpart here: an unknown
// extension falls back to "application/octet-stream".
#include <map>
#include <string>
#include <string_view>

#include "framework/server/TIWSlimReaderWriter.h"

namespace orv {

struct TMime {
  std::string Desc;  // content type
  bool IsStatic = false;
};

class TIWMimeTypes {
 public:
  // The process's table.
  static TIWMimeTypes& Instance();

  // The content type of an extension (".js", "JS" without dot is accepted too).
  std::string GetAsString(std::string_view extension);
  // True when the name is neither empty nor "/" and its extension is a static row.
  bool IsStaticFile(std::string_view fileName);
  bool IsStaticFile(std::string_view fileName, std::string& contentType);
  static bool IsImageFile(std::string_view fileName);

  void RegisterType(std::string_view extension, std::string_view type, bool isStatic);
  void UnregisterType(std::string_view extension);

  TIWMimeTypes();

 private:
  static std::string key(std::string_view extension);

  TIWSlimReaderWriter lock_;           // guards rows_; a leaf lock
  std::map<std::string, TMime> rows_;  // upper-case extension with dot
};

}  // namespace orv
