#include "framework/render/TIWMarkupLanguageElement.h"

namespace orv {

namespace {

// Sets a flag for the duration of a scope, restoring the previous value on every way out.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = saved_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

}  // namespace

void TIWMarkupLanguageElement::Render(std::string& out) {
  if (parentElement_ != nullptr && !parentElement_->rendering_) {
    // Reached from outside the tree: the tree renders from its top, and this element is
    // written normally when the walk reaches it.
    FlagScope scope(rendering_);
    parentElement_->Render(out);
    return;
  }
  FlagScope scope(rendering_);
  RenderElement(out);
}

std::string TIWMarkupLanguageElement::Render() {
  std::string out = "\r\n";
  Render(out);
  return out;
}

}  // namespace orv
