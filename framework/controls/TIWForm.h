#pragma once
// The page renderer: a container of controls with everything a page needs to become an
// HTML document (full render) or the XML update of an asynchronous callback (partial
// render), and the page-level settings that the rendering reads.
//
// A full render writes the document type, the head (meta elements, the script section
// with the session variables, the library scripts, InitIWCLObjects() and
// Initialize()), the style element with the controls' class rules and the body with
// every visible control at its absolute position followed by the hidden form
// SubmitForm. A partial render adds one "control" element per control marked for
// refresh, the page's "IWFORM" element and the start-up script to the session's
// callback reply.
//
// State between renders: the page's own InitProc and JavaScriptOnce (sent with the next
// render, then cleared), the keep-alive flag to re-send, the layout component (created on
// the first render) and the page context (emptied after every render).
//
// The session is reached through RenderSession, bound for the duration of a request
// (SessionBinding); without a binding the page stores no cache files. A page belongs to
// one session and is used by the thread that holds that session's lock; rendering takes
// no lock of its own.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/controls/StringList.h"
#include "framework/controls/TIWContainer.h"
#include "framework/render/TIWColor.h"
#include "framework/render/TIWPageContext40.h"

namespace orv {

class FormEventSession;
class RenderSession;
class TIWContainerContext;
class TIWLayoutMgrForm;
class TIWForm;

// Whether a page may be reached over plain HTTP, TLS, or either.
enum class TIWConnectionMode { cmAny, cmSecure, cmNonSecure };

// The page's background picture.
struct TIWBackground {
  std::string Filename;  // empty: no picture
  bool Fixed = false;    // the picture does not scroll with the page
};

// What the page is doing right now.
enum class TIWFormState { fsUndefined, fsRendering, fsExecuting, fsCreating, fsCreated };

// Events of the page itself (the sender is the page).
using FormRenderEvent = std::function<void(TIWForm& sender)>;

class TIWForm : public TIWContainer {
 public:
  TIWForm();
  ~TIWForm() override;

  const char* ClassName() const override { return "TIWForm"; }

  // --- Page settings ----------------------------------------------------------------
  int Width() const { return width_; }
  int Height() const { return height_; }
  void setWidth(int width) { width_ = width; }
  void setHeight(int height) { height_ = height; }
  // Whether controls whose Visible is false are still sent (hidden) to the browser.
  bool RenderInvisibleControls() const { return renderInvisibleControls_; }
  void setRenderInvisibleControls(bool value) { renderInvisibleControls_ = value; }
  // Stored for the page's author; nothing in the program acts on it.
  bool AllowPageAccess() const { return allowPageAccess_; }
  void setAllowPageAccess(bool value) { allowPageAccess_ = value; }
  TIWConnectionMode ConnectionMode() const { return connectionMode_; }
  void setConnectionMode(TIWConnectionMode mode) { connectionMode_ = mode; }
  TIWBackground& Background() { return background_; }
  const TIWBackground& Background() const { return background_; }
  // Stored; no effect on the output.
  bool HandleTabs() const { return handleTabs_; }
  void setHandleTabs(bool value) { handleTabs_ = value; }
  // False writes the body right to left.
  bool LeftToRight() const { return leftToRight_; }
  void setLeftToRight(bool value) { leftToRight_ = value; }
  // The browser locks the page while it loads / on every submit.
  bool LockUntilLoaded() const { return lockUntilLoaded_; }
  void setLockUntilLoaded(bool value) { lockUntilLoaded_ = value; }
  bool LockOnSubmit() const { return lockOnSubmit_; }
  void setLockOnSubmit(bool value) { lockOnSubmit_ = value; }
  // Passed to controls whose ParentShowHint is set.
  bool ShowHint() const { return showHint_; }
  void setShowHint(bool value) { showHint_ = value; }
  bool XPTheme() const { return xpTheme_; }
  void setXPTheme(bool value) { xpTheme_ = value; }
  const std::string& Title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }
  const std::string& Theme() const { return theme_; }
  void setTheme(const std::string& theme) { theme_ = theme; }
  // Location of the page's style sheet; empty: none of its own.
  const std::string& StyleSheet() const { return styleSheet_; }
  void setStyleSheet(const std::string& location) { styleSheet_ = location; }
  // Page colours (clNone: not written).
  TIWColor BGColor() const { return bgColor_; }
  void setBGColor(TIWColor color) { bgColor_ = color; }
  TIWColor LinkColor() const { return linkColor_; }
  void setLinkColor(TIWColor color) { linkColor_ = color; }
  TIWColor TextColor() const { return textColor_; }
  void setTextColor(TIWColor color) { textColor_ = color; }
  TIWColor VLinkColor() const { return vLinkColor_; }
  void setVLinkColor(TIWColor color) { vLinkColor_ = color; }
  // The document type; empty uses the server's, then "<!DOCTYPE HTML>". Throws for a
  // text that does not start with "<!DOCTYPE" or does not end with ">".
  const std::string& DocType() const { return docType_; }
  void setDocType(const std::string& docType);
  // Re-arms the browser's keep-alive timer; a change is re-sent with the next partial
  // render.
  bool KeepAlive() const { return keepAlive_; }
  void setKeepAlive(bool value);
  bool RenderKeepAlive() const { return renderKeepAlive_; }
  bool DoResizePrediction() const { return doResizePrediction_; }
  void setDoResizePrediction(bool value) { doResizePrediction_ = value; }
  // The back button's interception page by page (back-button mode "intercept form").
  bool PreventBackButton() const { return preventBackButton_; }
  void setPreventBackButton(bool value) { preventBackButton_ = value; }

  // --- Request and form data ----------------------------------------------------------
  // The request's parameters ("name=value"), filled by the session before execution.
  std::vector<std::string>& Params() { return params_; }
  // Extra hidden fields of SubmitForm ("name=value").
  StringList& HiddenFields() { return hiddenFields_; }
  const StringList& HiddenFields() const { return hiddenFields_; }
  // Raw head text, and files linked by the page (".js" as scripts, others as styles).
  std::vector<std::string>& ExtraHeader() { return extraHeader_; }
  std::vector<std::string>& PreHeader() { return preHeader_; }
  std::vector<std::string>& ContentFiles() { return contentFiles_; }
  // The address SubmitForm posts to.
  const std::string& FormAction() const { return formAction_; }
  void setFormAction(const std::string& action) { formAction_ = action; }
  // Optional per-page identifier posted as "IW_FormID_".
  const std::string& FormId() const { return formId_; }
  void setFormId(const std::string& id) { formId_ = id; }
  TIWFormState FormState() const { return formState_; }
  int ExecCount() const { return execCount_; }

  // --- Page script ----------------------------------------------------------------------
  // Start-up script of page code, sent with the next render (full or partial), then
  // cleared. Appended unchanged, without separator.
  void AddToInitProc(const std::string& code) { initProc_ += code; }
  const std::string& InitProc() const { return initProc_; }
  // Page script sent with every full render.
  StringList& JavaScript() { return javaScript_; }
  // Page script sent with the next full render only.
  const std::string& JavaScriptOnce() const { return javaScriptOnce_; }
  void setJavaScriptOnce(const std::string& code) { javaScriptOnce_ = code; }

  // The focus moves to this control after the next render.
  void setActiveControl(TIWCustomControl* control) override;
  bool ActiveControlChanged() const { return activeControlChanged_; }

  // --- Events -------------------------------------------------------------------------
  // The default action (Enter in a text field); none on the calculator page.
  FormRenderEvent OnDefaultAction;
  // The browser window was resized; none on the calculator page.
  FormRenderEvent OnResize;
  // Before the components render / after a render.
  FormRenderEvent OnRender;
  FormRenderEvent OnAfterRender;
  void DoDefaultAction() override {
    if (OnDefaultAction) OnDefaultAction(*this);
  }

  // --- Rendering ------------------------------------------------------------------------
  // Renders the page for the session: a full document appended to `out`, or, while the
  // session answers a callback, the update in the session's callback reply (`out`
  // untouched). FormState is fsRendering meanwhile; the page's InitProc, the page
  // context and the tab-order list are restored or released on every way out.
  void GenerateForm(RenderSession& session, std::string& out);
  // Counts an execution and runs DoExecuteForm with FormState fsExecuting.
  void ExecuteForm();

  // The page context of the render under way (emptied after every render).
  TIWPageContext40& PageContext() { return pageContext_; }
  // The value of a control's TabIndex attribute in the render under way (its position
  // in the page's real tab order + 1), or 0.
  int RealTabIndexOf(const TIWCustomControl& control) const;

  // The session bound to the page for one request (none outside a request).
  RenderSession* Session() const { return session_; }
  // Binds a session to the page for the lifetime of the binding.
  class SessionBinding {
   public:
    SessionBinding(TIWForm& form, RenderSession& session);
    ~SessionBinding();
    SessionBinding(const SessionBinding&) = delete;
    SessionBinding& operator=(const SessionBinding&) = delete;

   private:
    TIWForm& form_;
    RenderSession* saved_;
  };

  // A page-owned cache file through the bound session.
  std::optional<std::string> StoreCacheFile(const std::string& contentType,
                                            const std::vector<std::uint8_t>& bytes) override;

  // --- Executing a request (TIWFormExecute.cpp) -----------------------------------------
  // Asked when the server checks form ids: `valid` says whether the posted
  // "IW_FormID_" equals FormId; left false, the request fails with "Invalid form Id".
  std::function<void(TIWForm& sender, bool& valid)> OnCheckFormId;
  // The component hash: every control under its HTML name and input controls also
  // under their other field names (case ignored, the first entry keeps a name).
  // Rebuilt at the start of every execution.
  void RebuildComponentHash();
  TIWCustomControl* FindComponentByHTMLName(std::string_view name) const;
  // The events side of the bound session (none outside a request).
  FormEventSession* EventSession() const;
  // True while the session runs a named callback for the page.
  bool IsProcessingAsyncEvent() const override;

 protected:
  // Renders as described for GenerateForm; pages refine it (TIWAppForm takes the
  // session's form action first).
  virtual void DoGenerateForm(RenderSession& session, std::string& out);
  // Executes the request whose parameters are in Params(): clears the refresh marks,
  // checks the form id, takes "IW_Action", "IW_ActionParam", "callback" and the window
  // size, applies the posted values (ProcessParameters) and then runs the named
  // callback or submits to the control named by the action.
  virtual void DoExecuteForm();
  // Applies the posted values to the controls and runs their change notifications;
  // errors are collected and raised together afterwards.
  void ProcessParameters();

 private:
  void fullRender(RenderSession& session, std::string& out);
  void partialRender(RenderSession& session);
  // The visible controls in body order, each rendered into a component context.
  void renderComponents(TIWContainerContext& containerContext);
  void buildRealTabOrder();
  std::string extraHeadText(RenderSession& session) const;
  void setUpBody(RenderSession& session);
  void addPageScript(RenderSession& session);
  void afterRender();

  int width_ = 0;
  int height_ = 0;
  bool renderInvisibleControls_ = false;
  bool allowPageAccess_ = true;
  TIWConnectionMode connectionMode_ = TIWConnectionMode::cmAny;
  TIWBackground background_;
  bool handleTabs_ = false;
  bool leftToRight_ = true;
  bool lockUntilLoaded_ = true;
  bool lockOnSubmit_ = true;
  bool showHint_ = true;
  bool xpTheme_ = true;
  std::string title_;
  std::string theme_;
  std::string styleSheet_;
  TIWColor bgColor_ = clNone;
  TIWColor linkColor_ = clNone;
  TIWColor textColor_ = clNone;
  TIWColor vLinkColor_ = clNone;
  std::string docType_;
  bool keepAlive_ = false;
  bool renderKeepAlive_ = false;
  bool doResizePrediction_ = true;
  bool preventBackButton_ = false;

  std::vector<std::string> params_;
  StringList hiddenFields_;
  std::vector<std::string> extraHeader_;
  std::vector<std::string> preHeader_;
  std::vector<std::string> contentFiles_;
  std::string formAction_;
  std::string formId_;
  TIWFormState formState_ = TIWFormState::fsUndefined;
  int execCount_ = 0;

  std::string initProc_;
  StringList javaScript_;
  std::string javaScriptOnce_;
  bool activeControlChanged_ = false;

  TIWPageContext40 pageContext_;
  std::unique_ptr<TIWLayoutMgrForm> layout_;  // created by the first render
  // Real tab order of the render under way: control -> TabIndex value.
  std::unordered_map<const TIWCustomControl*, int> realTabIndex_;
  RenderSession* session_ = nullptr;  // bound for one request (SessionBinding)
  // Key: upper-cased name. Controls are owned by the page (this container).
  std::unordered_map<std::string, TIWCustomControl*> componentHash_;
};

}  // namespace orv
