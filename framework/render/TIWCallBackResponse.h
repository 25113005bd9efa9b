#pragma once
// The XML reply to an asynchronous callback:
//   <?xml version="1.0" encoding="UTF-8" standalone="yes"?><response>
//   <update>...</update>      "control" elements, one per refreshed control
//   <execute>...</execute>    "literal" elements, one script each
//   <rewrite>...</rewrite>    a document that replaces the page (CDATA)
//   <submit>...</submit>      a new action for the page's form
//   <trackid></trackid></response>
// (CR LF before every child element). All five children are always written.
//
// One per session, emptied by Initialize before each request; used by the thread that
// holds the session's lock.
#include <memory>
#include <string>
#include <string_view>

#include "framework/render/TIWXMLTag.h"

namespace orv {

class TIWCallBackResponse {
 public:
  TIWCallBackResponse();
  TIWCallBackResponse(const TIWCallBackResponse&) = delete;
  TIWCallBackResponse& operator=(const TIWCallBackResponse&) = delete;

  // Empties every list.
  void Initialize();

  // A "literal" element with the script as raw text (the script must not hold "<" or
  // "&"; use the CDATA form for those).
  void AddJavaScriptToExecute(std::string_view script);
  // The same with the script in a CDATA section; nothing for an empty script.
  void AddJavaScriptToExecuteAsCDATA(std::string_view script);
  // Appends rendered bytes, a text, or an element to the update list.
  void AddTagToUpdate(std::string rendered);
  void AddTextToUpdate(std::string text);
  void AddTagToUpdate(std::unique_ptr<TIWXMLTag> tag);
  void AddTagToExecute(std::unique_ptr<TIWXMLTag> tag);
  // The document in CDATA markers inside the rewrite element.
  void AddTagToRewrite(std::string_view content);
  void SetSubmitURL(std::string_view url);
  void SetTrackNumber(std::string_view number);

  // The HTML name of the control the browser focuses after the update.
  const std::string& FocusedControlHTMLName() const { return focusedControlHTMLName_; }
  void setFocusedControlHTMLName(std::string name) { focusedControlHTMLName_ = std::move(name); }

  TIWXMLTag& UpdateTag() { return *update_; }
  TIWXMLTag& ExecuteTag() { return *execute_; }
  TIWXMLTag& RewriteTag() { return *rewrite_; }
  TIWXMLTag& SubmitTag() { return *submit_; }
  TIWXMLTag& TrackTag() { return *track_; }
  TIWXMLTag& ResponseTag() { return response_; }

  // Appends the whole document.
  void StreamResponse(std::string& out);
  std::string StreamResponse();

 private:
  TIWXMLTag response_{"response"};
  TIWXMLTag* update_ = nullptr;  // children of response_
  TIWXMLTag* execute_ = nullptr;
  TIWXMLTag* rewrite_ = nullptr;
  TIWXMLTag* submit_ = nullptr;
  TIWXMLTag* track_ = nullptr;
  std::string focusedControlHTMLName_;
};

}  // namespace orv
