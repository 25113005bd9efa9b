#include "framework/controls/TIWControl.h"

#include "framework/controls/TIWContainer.h"

namespace orv {

void TIWControl::SetValue(const std::string& value) {
  if (Parent() != nullptr && Parent()->CollectsChildValues()) Parent()->SetChildValue(*this, value);
  Invalidate();
}

}  // namespace orv
