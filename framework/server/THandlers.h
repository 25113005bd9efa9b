#pragma once
// Content handlers: code that answers the requests for certain paths or file
// extensions inside a session (template pages and the like), looked up by the request's
// session-relative path. The process-wide list (Instance()) maps keys in lower case to
// handlers; this program registers only the handler of ".iwp" template pages.
//
// Handlers are registered at start-up, before the settings freeze, and only read
// afterwards; the list's mutex makes registration and look-up safe from any thread.
// Handlers are shared (a look-up hands out a reference that stays valid while a
// request runs, even if the entry is replaced meanwhile).
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class THttpRequest;
class THttpReply;
class TIWApplication;

// The base of content handlers.
class TContentBase {
 public:
  virtual ~TContentBase() = default;

  // Runs the handler for an existing file (or a file that need not exist); returns
  // whether the request was answered.
  virtual bool Execute(THttpRequest& request, THttpReply& reply, const std::string& pathName,
                       TIWApplication* session, const std::vector<std::string>& params) = 0;

  // The dispatcher's entry: when the file must exist and does not, a path ending in
  // "/index.iwp" is left to the caller (false) and any other answers 404 with no body;
  // otherwise Execute decides.
  bool DoExecute(THttpRequest& request, THttpReply& reply, const std::string& pathName,
                 TIWApplication* session, const std::vector<std::string>& params);

  bool mFileMustExist = true;
  bool mCanStartSession = false;
  bool mRequiresSessionStart = true;
};

// ".iwp" template pages: an existing file under the content folder is sent as an
// HTML page.
class TContentIWP : public TContentBase {
 public:
  bool Execute(THttpRequest& request, THttpReply& reply, const std::string& pathName,
               TIWApplication* session, const std::vector<std::string>& params) override;
};

class THandlers {
 public:
  // The process's list, holding the ".iwp" handler.
  static THandlers& Instance();

  // Registers path + document (lower-cased). path must start with "/" and, when longer
  // than one character, end with "/"; both empty is an error; once the controller's
  // settings are frozen this raises the "is locked" error naming "Handlers.Add". A
  // handler registered again under the same key replaces the earlier one.
  void Add(const std::string& path, const std::string& document,
           std::shared_ptr<TContentBase> handler);
  // The same, marking the handler as one that may start sessions.
  void AddStartHandler(const std::string& path, const std::string& document,
                       std::shared_ptr<TContentBase> handler);
  // Registers "*" + extension.
  void AddForExtension(const std::string& extension, std::shared_ptr<TContentBase> handler);

  // The handler for a session-relative path, or nullptr (see the source for the keys
  // tried).
  std::shared_ptr<TContentBase> FindMatch(std::string_view path) const;
  void Clear();

  THandlers();

 private:
  void addKey(std::string key, std::shared_ptr<TContentBase> handler);

  mutable std::mutex mutex_;  // guards handlers_; a leaf lock
  std::map<std::string, std::shared_ptr<TContentBase>> handlers_;
};

}  // namespace orv
