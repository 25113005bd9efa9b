#include "framework/render/TIWContainerContext.h"

#include "framework/render/IIWHTML40Component.h"
#include "framework/render/MarkupText.h"

namespace orv {

TIWCompContext& TIWContainerContext::AddComponent(std::unique_ptr<TIWCompContext> context) {
  std::string key;
  if (context->Component() != nullptr) key = upperCaseAscii(context->Component()->get_HTMLName());
  if (!key.empty()) {
    if (auto it = byName_.find(key); it != byName_.end()) return *it->second;
  }
  if (context->Component() != nullptr && context->Component()->get_IsUploadControl())
    FormEncoding = TIWFormEncoding::feMultiPart;
  contexts_.push_back(std::move(context));
  TIWCompContext& added = *contexts_.back();
  if (!key.empty()) byName_.emplace(std::move(key), &added);
  return added;
}

TIWCompContext* TIWContainerContext::Find(std::string_view htmlName) const {
  auto it = byName_.find(upperCaseAscii(htmlName));
  return it == byName_.end() ? nullptr : it->second;
}

TIWMarkupLanguageTag* TIWContainerContext::TagByName(std::string_view htmlName) const {
  TIWCompContext* context = Find(htmlName);
  return context == nullptr ? nullptr : context->MarkupLanguageTag();
}

}  // namespace orv
