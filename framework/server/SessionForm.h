#pragma once
// The seam between a session and its pages: what a session asks of its active page
// during a request. A page class implements it beside TIWAppForm; the session calls
// ExecuteForm for the page's events (posted values, clicks, callbacks) and
// GenerateForm for its rendering. A page that does not implement it executes nothing
// and renders an empty document with its title. Called only by the thread that holds
// the page's session lock.
#include <string>
#include <vector>

namespace orv {

class TIWApplication;
class THttpReply;

class SessionForm {
 public:
  virtual ~SessionForm() = default;
  // Applies the request's parameters ("name=value") and runs the page's event.
  virtual void ExecuteForm(TIWApplication& session, const std::vector<std::string>& params) = 0;
  // Renders the page into the reply.
  virtual void GenerateForm(TIWApplication& session, THttpReply& reply) = 0;
  // Appends script to the page's start-up code (run once after the next render).
  virtual void AddToInitProc(const std::string& code) = 0;
  // The page became the active page of its session.
  virtual void FormShown() {}
};

}  // namespace orv
