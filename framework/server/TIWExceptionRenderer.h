#pragma once
// TIWExceptionRenderer: turns an error that reached request dispatch into the
// framework's own error page. Four kinds: a failed security check ("SECURITYCHECK"),
// an expired session ("SESSIONTIMEOUT"), an unknown session ("SESSIONINVALID") and any
// other error ("ERROR"). The page comes from the template "IW" + kind + ".html" in the
// controller's TemplateDir when there is one, else from the embedded template
// "IW_GFX_" + kind; its placeholders are filled in and every CR and LF is removed.
//
// Stateless; any request thread may call it. The session passed in (if any) is the
// one of the failed request, held by that thread.
#include <exception>
#include <string>

namespace orv {

class THttpRequest;
class TIWApplication;

class TIWExceptionRenderer {
 public:
  // The error page for the error. session: the request's session, or nullptr. If
  // rendering fails, or there is no controller or request, the page is the bare
  // message of the error.
  static std::string RenderHTML(const std::exception& error, const THttpRequest* request,
                                const TIWApplication* session);

  // The page kind of an error ("SECURITYCHECK", "SESSIONTIMEOUT", "SESSIONINVALID",
  // "ERROR").
  static std::string KindOf(const std::exception& error);
  // The detail report: the error, then application and session information (only
  // for requests to "localhost" or "127.0.0.1"), the request and the stack trace, each
  // block after a line of 120 "-". Lines end with CR LF.
  static std::string DetailReport(const std::exception& error, const THttpRequest& request,
                                  const TIWApplication* session);
};

}  // namespace orv
