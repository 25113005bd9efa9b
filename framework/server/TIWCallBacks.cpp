#include "framework/server/TIWCallBacks.h"

#include <algorithm>

#include "framework/server/ServerText.h"

namespace orv {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool TIWCallBacks::LessNoCase::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
  });
}

void TIWCallBacks::Register(TIWApplication* session, const std::string& name, Function function,
                            const TIWForm* page) {
  auto it = callbacks_.find(std::string_view(name));
  if (it == callbacks_.end()) {
    callbacks_.emplace(name, TIWCallback{session, page, name, std::move(function)});
  } else {
    it->second.Session = session;
    it->second.Page = page;
    it->second.CallBackFunction = std::move(function);
  }
}

void TIWCallBacks::Unregister(std::string_view name) {
  auto it = callbacks_.find(name);
  if (it != callbacks_.end()) callbacks_.erase(it);
}

const TIWCallback* TIWCallBacks::Find(std::string_view name) const {
  auto it = callbacks_.find(name);
  return it == callbacks_.end() ? nullptr : &it->second;
}

std::vector<std::string> TIWCallBacks::Names() const {
  std::vector<std::string> names;
  names.reserve(callbacks_.size());
  for (const auto& [name, callback] : callbacks_) names.push_back(name);
  return names;
}

std::string QualifiedCallBackName(std::string_view pageName, std::string_view name) {
  if (pageName.empty()) return std::string(name);
  const std::string prefix = std::string(pageName) + ".";
  if (detail::startsWithNoCase(name, prefix)) return std::string(name);
  return prefix + std::string(name);
}

}  // namespace orv
