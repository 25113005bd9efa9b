// TIWApplication: the session's side of page events — executing and rendering pages
// through ApplicationPageSession, the callback registry (RegisterCallBack,
// PerformCallBack) and the answer to an asynchronous callback (ProcessCallBack). The
// rest of the session is in TIWApplication.cpp.
#include <string>
#include <utility>
#include <vector>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/ApplicationPageSession.h"
#include "framework/server/Messages.h"
#include "framework/server/ServerText.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TURL.h"
#include "transport/THttpReply.h"

namespace orv {

namespace {

// Sets a flag for the duration of a scope and restores it on every way out.
class FlagScope {
 public:
  FlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = saved_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

}  // namespace

bool TIWApplication::ownsPage(const TIWForm& page) const {
  for (const auto& form : FForms)
    if (form.get() == &page) return true;
  return false;
}

void TIWApplication::ExecutePage(TIWAppForm& page, const std::vector<std::string>& params) {
  ApplicationPageSession pageSession(*this, page, IWServerController());
  TIWForm::SessionBinding binding(page, pageSession);
  page.Params() = params;
  page.ExecuteForm();
}

void TIWApplication::GeneratePage(TIWAppForm& page, THttpReply& reply) {
  ApplicationPageSession pageSession(*this, page, IWServerController());
  std::string document;
  page.GenerateForm(pageSession, document);
  if (FIsCallBack) return;  // the update went to the callback response
  reply.mContentType = "text/html; charset=UTF-8";
  reply.SendRenderStream(std::move(document));
}

void TIWApplication::RegisterCallBack(const std::string& name, TIWCallBacks::Function function,
                                      const TIWForm* page) {
  std::string qualified = name;
  if (page != nullptr) {
    const TIWFormState state = page->FormState();
    if (state == TIWFormState::fsCreating || state == TIWFormState::fsRendering ||
        state == TIWFormState::fsExecuting)
      qualified = QualifiedCallBackName(page->Name(), name);
  }
  FCallbacks.Register(this, qualified, std::move(function), page);
}

void TIWApplication::UnregisterCallBack(const std::string& name) { FCallbacks.Unregister(name); }

void TIWApplication::PerformCallBack(TIWForm& sender, const std::string& name) {
  FlagScope processing(FCallBackProcessing, true);
  const TIWCallback* callback = FCallbacks.Find(QualifiedCallBackName(sender.Name(), name));
  if (callback == nullptr) callback = FCallbacks.Find(name);
  // A callback of a page the session no longer has is as good as unknown: its function
  // would reach into the freed page.
  if (callback != nullptr && callback->Page != nullptr && !ownsPage(*callback->Page))
    callback = nullptr;
  if (callback == nullptr) {
    // The name comes from the request: it is written as script string content, so it
    // can neither end the string nor the XML section around it.
    std::string text(msg::kCallbackMethodNotFound);
    if (!detail::isUnsafeStartParam(name)) text += ": " + name;
    FCallBackResponse.AddJavaScriptToExecuteAsCDATA("logMessage(\"" +
                                                    detail::jsStringContent(text) + "\")");
    return;
  }
  TIWAppForm* active = GetActiveForm();
  const std::vector<std::string> params = active != nullptr ? active->Params() : sender.Params();
  // A copy: the callback may register callbacks again (a render) and rebind its slot.
  const TIWCallBacks::Function function = callback->CallBackFunction;
  if (function) function(params);
  // An AJAX notifier component (ajaxNotify) is not part of this program's pages.
}

void TIWApplication::ProcessCallBack(THttpReply& reply, const std::vector<std::string>& params) {
  FIsCallBack = true;
  const TIWAppForm* before = GetActiveForm();
  const std::string beforeName = before != nullptr ? before->Name() : std::string();

  ExecuteActiveForm(params);

  // A prepared reply (a terminated session's document) or a chosen reply kind (a file)
  // answers instead; the dispatcher sends it.
  if (HasRenderOverride() || reply.mDataType != ReplyKind::None) return;

  TIWAppForm* after = GetActiveForm();
  if (after != nullptr && !mTerminated) {
    if (before == nullptr || !detail::equalsNoCase(after->Name(), beforeName)) {
      // Page code showed another page: the browser posts its hidden form and so fetches
      // the new page in full.
      FCallBackResponse.AddJavaScriptToExecuteAsCDATA(
          "var w=topmost(), d=w.document, p=w.location.protocol + \"//\" + w.location.host + \"" +
          detail::jsStringContent(mSessionInternalUrlBase) +
          "\";\r\nw.GSubmitting = false;\r\nw.ValidClick = true;\r\nd.SubmitForm.action=p;\r\n"
          "d.SubmitForm.submit();\r\n");
    } else if (!mSkipGenerateForm) {
      // Pages with a renderer of their own (SessionForm) answer nothing partially.
      if (dynamic_cast<SessionForm*>(after) == nullptr) GenerateActiveForm(reply);
      FCallBackResponse.SetSubmitURL(FFormAction);
    }
  }
  for (const std::string& script : TakeCallBackScripts())
    FCallBackResponse.AddJavaScriptToExecuteAsCDATA(script);

  reply.mContentType = "text/xml; charset=UTF-8";
  reply.SendRenderStream(FCallBackResponse.StreamResponse());
}

}  // namespace orv
