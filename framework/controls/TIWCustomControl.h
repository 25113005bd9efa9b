#pragma once
// The common control: everything a control on a page shares beyond the toolkit —
// its HTML name, the refresh mark (DoRefreshControl) that makes the next asynchronous
// response carry the control, submit and value intake, focus, the style-related
// properties of its HTML implementation, and the sixteen asynchronous events.
//
// Refresh marks: a page clears every control's mark when a request starts executing;
// changes made while it runs set the mark again (SetBounds with a new value, Visible
// with a new value, text, colour, font and the other visible properties); a value
// taken from the browser through SetValue clears it, because the browser already shows
// that value. ZIndex, WebCursor and DoRefreshControl itself are only stored.
//
// Owned by its container (see TIWContainer); used only by the thread that holds the
// page's session.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/controls/ControlTypes.h"
#include "framework/controls/StringList.h"
#include "framework/controls/TIWBaseHTMLControl.h"
#include "framework/controls/TIWStyleRenderOptions.h"
#include "framework/render/IIWHTML40Component.h"

namespace orv {

class TIWCompContext;
class TIWHTMLTag;
class TIWMarkupLanguageTag;
class TIWPageContext40;
class TIWScriptEvents;
class TIWXMLTag;

class TIWCustomControl : public TIWBaseHTMLControl, public IIWHTML40Component {
 public:
  TIWCustomControl();

  // --- Names -------------------------------------------------------------------------
  // The upper-cased Name followed by the container's prefix (a page's prefix is empty).
  // It is the element's ID, the NAME of input controls, the key of posted values.
  std::string HTMLName() const;

  // Position and size in the page's coordinates.
  int HTMLLeft() const { return Left(); }
  int HTMLTop() const { return Top(); }
  int HTMLWidth() const { return Width(); }
  int HTMLHeight() const { return Height(); }

  // --- Refresh -----------------------------------------------------------------------
  bool DoRefreshControl() const { return doRefreshControl_; }
  void setDoRefreshControl(bool value) { doRefreshControl_ = value; }
  void Invalidate() override { doRefreshControl_ = true; }
  void RepaintControl() { Invalidate(); }
  virtual bool RequiresRefresh() const { return doRefreshControl_; }

  // Marks the control when any of the four values changes, then stores them.
  void SetBounds(int left, int top, int width, int height) override;
  // Marks the control when the value differs from the current visibility.
  void setVisible(bool visible) override;

  // --- Input and submit --------------------------------------------------------------
  virtual bool SupportsInput() const { return false; }
  virtual bool SupportsSubmit() const { return false; }
  // Names of the form fields the control owns (the HTML name unless said otherwise).
  virtual std::vector<std::string> GetInputControlNames() const;
  // Whether a posted field name belongs to this control (exact match).
  virtual bool IsForThisControl(std::string_view name) const;
  // Takes a value posted by the browser. Nothing for controls without input.
  virtual void SetValue(const std::string& value);
  // Controls whose value intake reports changes (so that their OnChange runs after all
  // posted values are applied) return true and implement the two functions below.
  virtual bool HasChangeReportingSetter() const { return false; }
  // Applies the value and reports whether it changed.
  virtual bool SetValueReportingChange(const std::string& value);
  // Runs the control's change notification (its OnChange) after all values are taken.
  virtual void ValueChanged() {}

  // A submit addressed to the control: stores the parameter, then runs the control's
  // submit action.
  void Submit(const std::string& param);
  const std::string& SubmitParam() const { return submitParam_; }

  // Makes the control the page's active control, focused after the next render.
  // Throws "Control cannot receive focus" when CanReceiveFocus is false.
  void SetFocus();

  // --- Properties of the common control ----------------------------------------------
  bool UseFrame() const { return useFrame_; }
  void setUseFrame(bool value);
  bool CanReceiveFocus() const { return canReceiveFocus_; }
  void setCanReceiveFocus(bool value) { canReceiveFocus_ = value; }
  // Defaults to SupportsInput().
  bool SubmitOnAsyncEvent() const;
  void setSubmitOnAsyncEvent(bool value) { submitOnAsyncEvent_ = value ? 1 : 0; }
  const std::string& Confirmation() const { return confirmation_; }
  void setConfirmation(const std::string& text) { confirmation_ = text; }
  bool DoSubmitValidation() const { return doSubmitValidation_; }
  void setDoSubmitValidation(bool value) { doSubmitValidation_ = value; }
  const std::string& FriendlyName() const { return friendlyName_; }
  void setFriendlyName(const std::string& name) { friendlyName_ = name; }
  const std::string& InitProc() const { return initProc_; }
  void setInitProc(const std::string& code) { initProc_ = code; }
  const std::string& JavaScriptOnce() const { return javaScriptOnce_; }
  void setJavaScriptOnce(const std::string& code) { javaScriptOnce_ = code; }
  const std::string& IWCLInitProc() const { return iwclInitProc_; }
  void setIWCLInitProc(const std::string& code) { iwclInitProc_ = code; }
  TIWAsyncEventTypes LockOnAsyncEvents() const { return lockOnAsyncEvents_; }
  void setLockOnAsyncEvents(TIWAsyncEventTypes events) { lockOnAsyncEvents_ = events; }

  // --- The HTML implementation's properties ------------------------------------------
  // Write width and height into the style. A new value also sets the style option
  // RenderSize and marks the control.
  bool RenderSize() const { return renderSize_; }
  void setRenderSize(bool value);
  TIWStyleRenderOptions& StyleRenderOptions() { return styleRenderOptions_; }
  const TIWStyleRenderOptions& StyleRenderOptions() const { return styleRenderOptions_; }
  void setStyleRenderOptions(const TIWStyleRenderOptions& options) {
    styleRenderOptions_.Assign(options);
  }
  // Stacking order; the style writes ZIndex + 100 (nothing for -100).
  int ZIndex() const { return zIndex_; }
  void setZIndex(int zIndex) { zIndex_ = zIndex; }
  bool Clip() const { return clip_; }
  void setClip(bool value);
  // CSS class names; empty means the default class HTMLName() + "CSS".
  const std::string& Css() const { return css_; }
  void setCss(const std::string& css);
  const std::string& SkinId() const { return skinId_; }
  void setSkinId(const std::string& id) { skinId_ = id; }
  TIWCursor WebCursor() const { return webCursor_; }
  void setWebCursor(TIWCursor cursor) { webCursor_ = cursor; }
  bool SupportsPartial() const { return supportsPartial_; }
  void setSupportsPartial(bool value) { supportsPartial_ = value; }

  // --- Rendering (TIWCustomControlRender.cpp and each control's *Render.cpp) -------------
  // The control's element of a full render; the common control renders nothing.
  virtual std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context);
  // The style text of the element: the common style (below) and the control's own.
  std::string RenderStyle(TIWCompContext& context) override;
  // The "control" element of an asynchronous update, or none.
  virtual std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context);
  // The control's own browser hooks (submits, client properties).
  virtual void HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents);

  // The outer element of a full render: RenderHTML, then the scripts (RenderScripts)
  // and the hint.
  std::unique_ptr<TIWHTMLTag> RenderMarkupLanguageTag(TIWCompContext& context);
  // The client-object line, the event hooks and the callbacks of the asynchronous
  // events, into the component context.
  void RenderScripts(TIWCompContext& context);
  // RenderAsync, for controls that support partial updates.
  std::unique_ptr<TIWXMLTag> RenderAsyncComponent(TIWCompContext& context);

  // The common style text; `width` and `height` are the size written, `withSize`
  // whether the size may be written at all.
  std::string CommonStyle(TIWCompContext& context, int width, int height, bool withSize = true);
  std::string CommonStyle(TIWCompContext& context) {
    return CommonStyle(context, HTMLWidth(), HTMLHeight());
  }
  // The common properties of an asynchronous "control" element, one bit each (see
  // AsyncProperty); `ownStyle` holds style pieces of the control to send as well.
  void RenderAsyncProperties(TIWCompContext& context, TIWXMLTag& control, unsigned bits,
                             const std::string& ownStyle = {});
  // A new "control" element with id = HTML name and the given type.
  std::unique_ptr<TIWXMLTag> NewAsyncControl(const std::string& type) const;
  // The inline script with which the control submits (SubmitClickConfirm).
  std::string SubmitHandler(const std::string& param = {}, const std::string& name = {},
                            bool returnFalse = true) const;
  // The client object of the container the control lies in ("IWCLForm" on a page).
  std::string IWCLParentName() const;

  // IIWHTML40Component
  std::string get_HTMLName() const override { return HTMLName(); }
  bool get_Visible() const override { return Visible(); }
  bool get_NeedsFormTag() const override { return NeedsFormTag(); }
  std::string RenderCSSClass(TIWCompContext& context) override;
  int get_RenderTabIndex() const override;
  std::vector<std::string> get_ExtraTagParams() const override {
    return ExtraTagParams().lines();
  }
  void DoHTMLTag(TIWMarkupLanguageTag& tag) override;

  // Runs once the control's tag is complete, before it is written.
  std::function<void(TIWCustomControl& sender, TIWMarkupLanguageTag& tag)> OnHTMLTag;

  // --- Asynchronous events -----------------------------------------------------------
  AsyncEvent OnAsyncClick;
  AsyncEvent OnAsyncDoubleClick;
  AsyncEvent OnAsyncChange;
  AsyncEvent OnAsyncEnter;
  AsyncEvent OnAsyncExit;
  AsyncEvent OnAsyncKeyDown;
  AsyncEvent OnAsyncKeyUp;
  AsyncEvent OnAsyncKeyPress;
  AsyncEvent OnAsyncMouseDown;
  AsyncEvent OnAsyncMouseMove;
  AsyncEvent OnAsyncMouseOver;
  AsyncEvent OnAsyncMouseOut;
  AsyncEvent OnAsyncMouseUp;
  AsyncEvent OnAsyncSelect;
  AsyncEvent OnAsyncLoad;
  AsyncEvent OnAsyncUnLoad;

  // The handler slot of one event kind.
  AsyncEvent& AsyncEventHandler(TIWAsyncEventType type);
  const AsyncEvent& AsyncEventHandler(TIWAsyncEventType type) const;
  // The dispatcher behind a callback: runs the handler only when the control is
  // enabled and the handler assigned, with the parameters readable through
  // GetAsyncParam for the duration.
  void DoAsyncEvent(TIWAsyncEventType type, const StringList& eventParams);
  // A request parameter while an asynchronous handler of this control runs (empty
  // otherwise); the second form converts it to a whole number, or gives the default.
  std::string GetAsyncParam(std::string_view name) const;
  int GetAsyncParam(std::string_view name, int defaultValue) const;
  const StringList* AsyncParams() const { return asyncParams_; }

 protected:
  // The control's submit action (after SubmitParam is stored).
  virtual void DoSubmit() {}

 private:
  friend class TIWContainer;
  // Another component of the container is about to be destroyed: drop links to it.
  virtual void componentRemoved(TIWCustomControl& /*component*/) {}

  bool useFrame_ = false;
  bool doRefreshControl_ = false;
  std::string submitParam_;
  bool canReceiveFocus_ = false;
  int submitOnAsyncEvent_ = -1;  // -1: follow SupportsInput()
  std::string confirmation_;
  bool doSubmitValidation_ = true;
  std::string friendlyName_;
  std::string initProc_;
  std::string javaScriptOnce_;
  std::string iwclInitProc_;
  TIWAsyncEventTypes lockOnAsyncEvents_ = 0;
  const StringList* asyncParams_ = nullptr;  // the caller's list, only during a handler

  bool renderSize_ = false;
  TIWStyleRenderOptions styleRenderOptions_;
  int zIndex_ = 0;
  bool clip_ = false;
  std::string css_;
  std::string skinId_;
  TIWCursor webCursor_ = TIWCursor::crAuto;
  bool supportsPartial_ = true;
  std::string scriptOnload_;  // the "load" hook of the last RenderScripts
};

}  // namespace orv
