#include "framework/controls/TIWAppForm.h"

#include "framework/render/RenderSession.h"

namespace orv {

TIWAppForm::TIWAppForm() = default;

TIWAppForm::~TIWAppForm() = default;

void TIWAppForm::DoCreate() {
  if (created_) return;
  created_ = true;
  if (OnCreate) OnCreate(*this);
}

void TIWAppForm::DoDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  if (OnDestroy) OnDestroy(*this);
}

void TIWAppForm::DoGenerateForm(RenderSession& session, std::string& out) {
  setFormAction(session.FormAction());
  TIWForm::DoGenerateForm(session, out);
}

}  // namespace orv
