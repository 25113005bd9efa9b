#include "framework/server/THandlers.h"

#include <filesystem>
#include <stdexcept>

#include "framework/server/Messages.h"
#include "framework/server/ServerText.h"
#include "framework/server/TIWServerControllerBase.h"
#include "transport/ByteStream.h"
#include "transport/THttpReply.h"

namespace orv {

bool TContentBase::DoExecute(THttpRequest& request, THttpReply& reply,
                             const std::string& pathName, TIWApplication* session,
                             const std::vector<std::string>& params) {
  std::error_code ec;
  if (mFileMustExist && !std::filesystem::is_regular_file(pathName, ec)) {
    if (pathName.ends_with("/index.iwp")) return false;
    reply.ResetReplyType();
    reply.SetCode(404);
    reply.mContentType = "text/html";
    reply.SendRenderStream({});
    return true;
  }
  return Execute(request, reply, pathName, session, params);
}

bool TContentIWP::Execute(THttpRequest& /*request*/, THttpReply& reply,
                          const std::string& pathName, TIWApplication* /*session*/,
                          const std::vector<std::string>& /*params*/) {
  reply.mContentType = "text/html; charset=UTF-8";
  reply.SendStream(std::make_unique<FileStream>(pathName));
  return true;
}

THandlers& THandlers::Instance() {
  static THandlers handlers;
  return handlers;
}

THandlers::THandlers() { addKey("*.iwp", std::make_shared<TContentIWP>()); }

void THandlers::addKey(std::string key, std::shared_ptr<TContentBase> handler) {
  std::lock_guard hold(mutex_);
  handlers_[detail::lower(key)] = std::move(handler);
}

void THandlers::Add(const std::string& path, const std::string& document,
                    std::shared_ptr<TContentBase> handler) {
  if (path.empty() && document.empty())
    throw std::invalid_argument(std::string(msg::kPathAndDocumentEmpty));
  if (!path.empty()) {
    if (path.front() != '/') throw std::invalid_argument(std::string(msg::kPathMustStartWithSlash));
    if (path.size() > 1 && path.back() != '/')
      throw std::invalid_argument(std::string(msg::kPathMustEndWithSlash));
  }
  TIWServerControllerBase::CheckLockGlobal("Handlers.Add");
  addKey(path + document, std::move(handler));
}

void THandlers::AddStartHandler(const std::string& path, const std::string& document,
                                std::shared_ptr<TContentBase> handler) {
  if (handler) handler->mCanStartSession = true;
  Add(path, document, std::move(handler));
}

void THandlers::AddForExtension(const std::string& extension,
                                std::shared_ptr<TContentBase> handler) {
  std::string ext = extension;
  if (!ext.empty() && ext.front() != '.') ext.insert(ext.begin(), '.');
  addKey("*" + ext, std::move(handler));
}

void THandlers::Clear() {
  std::lock_guard hold(mutex_);
  handlers_.clear();
}

std::shared_ptr<TContentBase> THandlers::FindMatch(std::string_view path) const {
  std::lock_guard hold(mutex_);
  if (handlers_.empty() || path == "/" || path.starts_with("/$/")) return nullptr;
  const std::string p = detail::lower(path);
  std::vector<std::string> keys;
  std::string folder;
  if (p.ends_with('/')) {
    keys.push_back(p);
    folder = p;
  } else {
    const auto slash = p.find_last_of('/');
    folder = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? p : p.substr(slash + 1);
    const std::string ext = detail::extractFileExt(file);
    keys.push_back(p);
    if (!ext.empty()) keys.push_back(folder + "*" + ext);
    keys.push_back(folder);
    keys.push_back(file);
    if (!ext.empty()) keys.push_back("*" + ext);
  }
  // Then each enclosing folder in turn.
  std::string f = folder;
  while (f.size() > 1) {
    f.pop_back();
    const auto slash = f.find_last_of('/');
    if (slash == std::string::npos) break;
    f = f.substr(0, slash + 1);
    keys.push_back(f);
  }
  for (const std::string& key : keys) {
    const auto it = handlers_.find(key);
    if (it != handlers_.end()) return it->second;
  }
  return nullptr;
}

}  // namespace orv
