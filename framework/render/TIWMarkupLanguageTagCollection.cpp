#include "framework/render/TIWMarkupLanguageTagCollection.h"

#include "framework/render/TIWMarkupLanguageTag.h"

namespace orv {

TIWMarkupLanguageTag& TIWMarkupLanguageTagCollection::AddTag(std::string_view name,
                                                             bool setParent) {
  return static_cast<TIWMarkupLanguageTag&>(adopt(owner_.NewChildTag(name), setParent));
}

TIWTextElement& TIWMarkupLanguageTagCollection::AddText(std::string text, bool setParent) {
  return static_cast<TIWTextElement&>(
      adopt(std::make_unique<TIWTextElement>(std::move(text)), setParent));
}

TIWBinaryElement& TIWMarkupLanguageTagCollection::AddBuffer(std::string bytes, bool setParent) {
  return static_cast<TIWBinaryElement&>(
      adopt(std::make_unique<TIWBinaryElement>(std::move(bytes)), setParent));
}

TIWMarkupLanguageElement& TIWMarkupLanguageTagCollection::AddTagAsObject(
    std::unique_ptr<TIWMarkupLanguageElement> element, bool setParent) {
  return adopt(std::move(element), setParent);
}

TIWMarkupLanguageElement& TIWMarkupLanguageTagCollection::adopt(
    std::unique_ptr<TIWMarkupLanguageElement> element, bool setParent) {
  if (setParent) element->setParentElement(&owner_);
  elements_.push_back(std::move(element));
  return *elements_.back();
}

}  // namespace orv
