#pragma once
// URL paths of requests and the files they may name. The one safe way from a URL path
// to a file under a root folder (the content folder "wwwroot/", the cache directory):
// nothing a visitor types can leave the root. Pure functions; any thread.
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class TURL {
 public:
  // Maps a URL path under root (which ends with "/"): one leading "/" is dropped; a path
  // with ":", a backslash or a NUL byte is refused; root and root + path are made
  // absolute ("." and ".." resolved by their names); the result must lie under root
  // and its part below root must not hold a name starting or ending with "." (no "/."
  // and no "./").
  // Every refusal raises EIWServerError "URL contains illegal characters.".
  static std::string UrlPathToFilePath(const std::string& root, std::string_view path);
};

namespace detail {

// The URL path of a request (GetUrlPath): from PathInfo; a URLBase prefix (any case)
// is removed without its final "/"; then the first that applies of: "" -> "/",
// "/../x" -> "x", "/$" -> "/$/"; every "//" becomes "/". A backslash raises
// "Invalid characters in URL.".
std::string urlPathFromPathInfo(std::string_view pathInfo, std::string_view urlBase);

// A lexically normalised absolute path: "." and ".." resolved, "//" collapsed. A
// relative path is taken relative to the working directory.
std::string expandPath(std::string_view path);

// A start parameter (its "name=value" text) that must not travel into start URLs:
// markup that runs script, or script URLs and calls (see the list in the source).
bool isUnsafeStartParam(std::string_view nameValue);

// The start parameters of a list of "name=value" entries as they travel in start
// URLs: the entries whose names do not start with "IW_" and that are not unsafe (the
// controller's OnParseParameter may overrule that verdict), names and values
// percent-encoded as UTF-8, joined with "&", "?" in front; empty for none.
std::string formatStartParams(const std::vector<std::string>& params);

}  // namespace detail
}  // namespace orv
