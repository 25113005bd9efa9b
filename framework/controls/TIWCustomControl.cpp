#include "framework/controls/TIWCustomControl.h"

#include <stdexcept>
#include <utility>

#include "framework/controls/ControlText.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TIWContainer.h"

namespace orv {

namespace {

// Restores a pointer on every way out of a scope.
class PointerRestore {
 public:
  PointerRestore(const StringList*& slot, const StringList* value) : slot_(slot), saved_(slot) {
    slot_ = value;
  }
  ~PointerRestore() { slot_ = saved_; }
  PointerRestore(const PointerRestore&) = delete;
  PointerRestore& operator=(const PointerRestore&) = delete;

 private:
  const StringList*& slot_;
  const StringList* saved_;
};

}  // namespace

TIWCustomControl::TIWCustomControl() {
  initBounds(0, 0, 24, 24);
  // The options belong to this control and die with it.
  styleRenderOptions_.OnChange = [this](TIWStyleRenderOptions&) { Invalidate(); };
}

std::string TIWCustomControl::HTMLName() const {
  std::string name = detail::upperCaseAscii(Name());
  if (Parent() != nullptr) name += Parent()->ContainerPrefix();
  return name;
}

void TIWCustomControl::SetBounds(int left, int top, int width, int height) {
  if (left != Left() || top != Top() || width != Width() || height != Height()) Invalidate();
  TIWBaseHTMLControl::SetBounds(left, top, width, height);
}

void TIWCustomControl::setVisible(bool visible) {
  if (visible != Visible()) Invalidate();
  TIWBaseHTMLControl::setVisible(visible);
}

std::vector<std::string> TIWCustomControl::GetInputControlNames() const { return {HTMLName()}; }

bool TIWCustomControl::IsForThisControl(std::string_view name) const { return name == HTMLName(); }

void TIWCustomControl::SetValue(const std::string& /*value*/) {}

bool TIWCustomControl::SetValueReportingChange(const std::string& value) {
  SetValue(value);
  return false;
}

void TIWCustomControl::Submit(const std::string& param) {
  submitParam_ = param;
  DoSubmit();
}

void TIWCustomControl::SetFocus() {
  if (!canReceiveFocus_)
    throw std::runtime_error(std::string(messages::kControlCannotReceiveFocus));
  if (Parent() != nullptr) Parent()->setActiveControl(this);
}

void TIWCustomControl::setUseFrame(bool value) {
  if (value == useFrame_) return;
  useFrame_ = value;
  Invalidate();
}

bool TIWCustomControl::SubmitOnAsyncEvent() const {
  return submitOnAsyncEvent_ < 0 ? SupportsInput() : submitOnAsyncEvent_ != 0;
}

void TIWCustomControl::setRenderSize(bool value) {
  if (value == renderSize_) return;
  renderSize_ = value;
  styleRenderOptions_.setRenderSize(value);
  Invalidate();
}

void TIWCustomControl::setClip(bool value) {
  if (value == clip_) return;
  clip_ = value;
  Invalidate();
}

void TIWCustomControl::setCss(const std::string& css) {
  const bool differs = !detail::equalsIgnoringCaseAscii(css, css_);
  css_ = css;
  if (differs) Invalidate();
}

AsyncEvent& TIWCustomControl::AsyncEventHandler(TIWAsyncEventType type) {
  return const_cast<AsyncEvent&>(std::as_const(*this).AsyncEventHandler(type));
}

const AsyncEvent& TIWCustomControl::AsyncEventHandler(TIWAsyncEventType type) const {
  switch (type) {
    case TIWAsyncEventType::aeClick:
      return OnAsyncClick;
    case TIWAsyncEventType::aeDoubleClick:
      return OnAsyncDoubleClick;
    case TIWAsyncEventType::aeChange:
      return OnAsyncChange;
    case TIWAsyncEventType::aeEnter:
      return OnAsyncEnter;
    case TIWAsyncEventType::aeExit:
      return OnAsyncExit;
    case TIWAsyncEventType::aeKeyDown:
      return OnAsyncKeyDown;
    case TIWAsyncEventType::aeKeyUp:
      return OnAsyncKeyUp;
    case TIWAsyncEventType::aeKeyPress:
      return OnAsyncKeyPress;
    case TIWAsyncEventType::aeMouseDown:
      return OnAsyncMouseDown;
    case TIWAsyncEventType::aeMouseMove:
      return OnAsyncMouseMove;
    case TIWAsyncEventType::aeMouseOver:
      return OnAsyncMouseOver;
    case TIWAsyncEventType::aeMouseOut:
      return OnAsyncMouseOut;
    case TIWAsyncEventType::aeMouseUp:
      return OnAsyncMouseUp;
    case TIWAsyncEventType::aeSelect:
      return OnAsyncSelect;
    case TIWAsyncEventType::aeLoad:
      return OnAsyncLoad;
    case TIWAsyncEventType::aeUnLoad:
      return OnAsyncUnLoad;
  }
  throw std::invalid_argument("unknown asynchronous event type");
}

void TIWCustomControl::DoAsyncEvent(TIWAsyncEventType type, const StringList& eventParams) {
  if (!Enabled()) return;
  // Copied, so a handler that reassigns its own slot does not destroy itself while it runs.
  AsyncEvent handler = AsyncEventHandler(type);
  if (!handler) return;
  PointerRestore restore(asyncParams_, &eventParams);
  handler(*this, eventParams);
}

std::string TIWCustomControl::GetAsyncParam(std::string_view name) const {
  return asyncParams_ == nullptr ? std::string() : asyncParams_->value(name);
}

int TIWCustomControl::GetAsyncParam(std::string_view name, int defaultValue) const {
  return detail::parseWholeNumber(GetAsyncParam(name)).value_or(defaultValue);
}

}  // namespace orv
