#include "framework/server/TURL.h"

#include <unistd.h>

#include <vector>

#include "framework/server/Messages.h"
#include "framework/server/ServerErrors.h"
#include "framework/server/ServerText.h"
#include "framework/server/TIWServerControllerBase.h"

namespace orv {

namespace detail {

std::string expandPath(std::string_view path) {
  std::string full;
  if (path.empty() || path.front() != '/') {
    char buf[4096];
    if (getcwd(buf, sizeof buf) != nullptr) full = buf;
    full += '/';
  }
  full += path;
  std::vector<std::string_view> parts;
  std::string_view rest = full;
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string out;
  for (std::string_view p : parts) {
    out += '/';
    out += p;
  }
  if (out.empty()) out = "/";
  // A trailing "/" of the input names a folder; keep it so that roots compare as folders.
  if (full.back() == '/' && out.back() != '/') out += '/';
  return out;
}

std::string urlPathFromPathInfo(std::string_view pathInfo, std::string_view urlBase) {
  std::string path(pathInfo);
  if (!urlBase.empty() && startsWithNoCase(path, urlBase)) {
    // URLBase ends with "/": remove it without that "/", so the path keeps its own.
    path.erase(0, urlBase.size() - (urlBase.back() == '/' ? 1 : 0));
  }
  if (path.empty())
    path = "/";
  else if (path.starts_with("/../"))
    path.erase(0, 4);
  else if (path == "/$")
    path = "/$/";
  while (path.find("//") != std::string::npos) path = replaceAll(path, "//", "/");
  if (path.find('\\') != std::string::npos) throw EIWServerError(msg::kInvalidUrlCharacters);
  return path;
}

bool isUnsafeStartParam(std::string_view nameValue) {
  const std::string text = lower(nameValue);
  static constexpr std::string_view kTags[] = {
      "<script", "<embed", "<applet", "<frameset", "<form", "<iframe",
      "<meta",   "<layer", "<object", "<img",      "<link", "<div"};
  for (std::string_view tag : kTags)
    if (text.find(tag) != std::string::npos) return true;
  // The first occurrence of a word followed, after blanks, by the given character.
  auto followedBy = [&](std::string_view word, char next) {
    const auto pos = text.find(word);
    if (pos == std::string::npos) return false;
    std::size_t i = pos + word.size();
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i < text.size() && text[i] == next;
  };
  return followedBy("javascript", ':') || followedBy("vbscript", ':') ||
         followedBy("href", '=') || followedBy("src", '=') || followedBy("url", '=') ||
         followedBy("eval", '(') || followedBy("expression", '(') || followedBy("url", '(');
}

std::string formatStartParams(const std::vector<std::string>& params) {
  TIWServerControllerBase* c = IWServerController();
  std::string out;
  int position = 0;
  for (const std::string& entry : params) {
    std::string p = entry;
    const auto eq0 = p.find('=');
    if (startsWithNoCase(p.substr(0, eq0), "IW_")) continue;
    bool valid = !isUnsafeStartParam(p);
    if (c != nullptr) c->DoParseParameter(p, valid, position);
    ++position;
    if (!valid) continue;
    const auto eq = p.find('=');
    out += out.empty() ? "?" : "&";
    out += percentEncode(p.substr(0, eq));
    if (eq != std::string::npos) out += "=" + percentEncode(p.substr(eq + 1));
  }
  return out;
}

}  // namespace detail

std::string TURL::UrlPathToFilePath(const std::string& root, std::string_view path) {
  std::string_view rel = path;
  if (!rel.empty() && rel.front() == '/') rel.remove_prefix(1);
  for (char c : rel)
    if (c == ':' || c == '\\' || c == '\0') throw EIWServerError(msg::kUrlIllegalCharacters);
  std::string base = detail::expandPath(root);
  if (base.back() != '/') base += '/';
  const std::string full = detail::expandPath(base + std::string(rel));
  if (!full.starts_with(base)) throw EIWServerError(msg::kUrlIllegalCharacters);
  // Only the part below the root is the visitor's: the root itself may lie anywhere.
  const std::string_view below = std::string_view(full).substr(base.size() - 1);
  if (below.find("/.") != std::string_view::npos || below.find("./") != std::string_view::npos)
    throw EIWServerError(msg::kUrlIllegalCharacters);
  return full;
}

}  // namespace orv
