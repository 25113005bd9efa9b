#include "framework/render/TIWCallBackResponse.h"

#include "framework/render/MarkupText.h"

namespace orv {

TIWCallBackResponse::TIWCallBackResponse() { Initialize(); }

void TIWCallBackResponse::Initialize() {
  response_.Contents().Clear();
  update_ = &response_.Contents().AddTag("update");
  execute_ = &response_.Contents().AddTag("execute");
  rewrite_ = &response_.Contents().AddTag("rewrite");
  submit_ = &response_.Contents().AddTag("submit");
  track_ = &response_.Contents().AddTag("trackid");
  focusedControlHTMLName_.clear();
}

void TIWCallBackResponse::AddJavaScriptToExecute(std::string_view script) {
  execute_->Contents().AddTag("literal").Contents().AddText(std::string(script));
}

void TIWCallBackResponse::AddJavaScriptToExecuteAsCDATA(std::string_view script) {
  if (script.empty()) return;
  TIWXMLTag& literal = execute_->Contents().AddTag("literal");
  literal.SetCDATA(true);
  literal.Contents().AddText(std::string(script));
}

void TIWCallBackResponse::AddTagToUpdate(std::string rendered) {
  update_->Contents().AddBuffer(std::move(rendered));
}

void TIWCallBackResponse::AddTextToUpdate(std::string text) {
  update_->Contents().AddText(std::move(text));
}

void TIWCallBackResponse::AddTagToUpdate(std::unique_ptr<TIWXMLTag> tag) {
  update_->Contents().AddTagAsObject(std::move(tag));
}

void TIWCallBackResponse::AddTagToExecute(std::unique_ptr<TIWXMLTag> tag) {
  execute_->Contents().AddTagAsObject(std::move(tag));
}

void TIWCallBackResponse::AddTagToRewrite(std::string_view content) {
  rewrite_->SetCDATA(true);
  rewrite_->Contents().AddText(std::string(content));
}

void TIWCallBackResponse::SetSubmitURL(std::string_view url) {
  submit_->Contents().Clear();
  submit_->Contents().AddText(TextToHTML(url));
}

void TIWCallBackResponse::SetTrackNumber(std::string_view number) {
  track_->Contents().Clear();
  track_->Contents().AddText(TextToHTML(number));
}

void TIWCallBackResponse::StreamResponse(std::string& out) {
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
  response_.Render(out);
}

std::string TIWCallBackResponse::StreamResponse() {
  std::string out;
  StreamResponse(out);
  return out;
}

}  // namespace orv
