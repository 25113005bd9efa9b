#pragma once
// TIWServerSession: the request pipeline for requests that belong to a session. It
// finds the session ID (cookie, parameters or path), answers the session-less status
// queries, finds or creates the session, runs the start sequence (start page, start
// check page, form post, redirect) and the page requests (submits, callbacks, resize,
// uploads, content), sets the session cookie, and frees a terminated session at the
// end.
//
// It holds its session's lock from GetSession to the end of ExecuteSession and a
// shared reference to the session until it is destroyed, so the session cannot be
// freed under it. One per request, on the request's thread.
#include <memory>
#include <span>
#include <string>

#include "framework/server/TIWServer.h"

namespace orv {

class TIWApplication;
class TContentBase;

class TIWServerSession : public TIWServer {
 public:
  TIWServerSession(THttpRequest request, std::span<std::uint8_t> block);
  ~TIWServerSession() override;

 protected:
  void HandleException(const std::exception& error) override;
  void ExecuteSession(const std::string& path) override;
  std::string GetStartParams(bool force) override;

 private:
  // Reads the session ID and track ID of the request (cookie, parameter or path).
  void GetSessionID(const std::string& path);
  // Finds and locks the session of mSessionID, or creates a new one (isNew).
  void GetSession(bool& isNew);
  void createSession();
  void runSessionRequest(bool isNew);
  void ExecuteForm();
  void CheckActiveFormSync();
  void ExecuteStartCheck();
  void ExecuteResize();
  void ExecuteUpload();
  void ExecuteContent(const std::string& path);
  void SendSessionStart(const std::string& url);
  void SetSessionCookie();
  // The end of every session request after GetSession: cookie, then unlock or free.
  void releaseSession();
  void sendXml(const std::string& xml);
  std::string paramValue(std::string_view name) const;

  std::shared_ptr<TIWApplication> mSession;  // shared with the registry
  bool mLocked = false;                      // this request holds mSession's lock
  std::string mSessionID;
  std::shared_ptr<TContentBase> mContentHandler;
  bool mAuthenticated = false;
  bool mRequestAuth = true;
  bool mRestart = false;
  bool mIsRootStart = false;
  bool mSessionIdFromParamOrPath = false;
};

}  // namespace orv
