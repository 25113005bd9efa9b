#pragma once
// What executing a page's request needs of the session it belongs to, beyond what
// rendering needs (RenderSession): the callback registry, the window size the browser
// reported, and the form-id check of the server's security options.
//
// The server layer implements this interface on the same object that implements
// RenderSession for a live session and binds it to the page for the request
// (TIWForm::SessionBinding); the page finds it there. Without one (a page executed by
// a test without a session) callbacks do nothing and sizes are not recorded. Used only
// by the thread that holds the session's lock.
#include <string>

namespace orv {

class TIWForm;

class FormEventSession {
 public:
  virtual ~FormEventSession() = default;

  // Runs the callback registered under `name` (qualified with `sender`'s name when it
  // is not yet) with a copy of the active page's parameters; an unknown name tells the
  // browser to log "Callback method not found".
  virtual void PerformCallBack(TIWForm& sender, const std::string& name) = 0;
  // True while a named callback runs.
  virtual bool CallBackProcessing() const = 0;
  // The browser's window size, remembered by the session for the pages it shows next.
  virtual void SetFormSize(int width, int height) = 0;
  // The server's security options ask pages with a FormId to check it.
  virtual bool CheckFormIds() const = 0;
};

}  // namespace orv
