#pragma once
// The ordered contents of a tag: child tags, text and rendered bytes. The collection
// owns its elements; child tags created by name are of the owning tag's kind (HTML
// children for an HTML tag, XML children for an XML tag).
//
// With setParent, a new element's ParentElement is the tag that owns the collection
// (see TIWMarkupLanguageElement). Owned by its tag; used by the rendering thread.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/render/TIWMarkupLanguageElement.h"

namespace orv {

class TIWMarkupLanguageTag;

class TIWMarkupLanguageTagCollection {
 public:
  explicit TIWMarkupLanguageTagCollection(TIWMarkupLanguageTag& owner) : owner_(owner) {}
  TIWMarkupLanguageTagCollection(const TIWMarkupLanguageTagCollection&) = delete;
  TIWMarkupLanguageTagCollection& operator=(const TIWMarkupLanguageTagCollection&) = delete;
  virtual ~TIWMarkupLanguageTagCollection() = default;

  // The tag whose contents these are.
  TIWMarkupLanguageTag& ParentElement() const { return owner_; }

  // A new child tag of the owner's kind.
  TIWMarkupLanguageTag& AddTag(std::string_view name, bool setParent = false);
  TIWTextElement& AddText(std::string text, bool setParent = false);
  // Copies rendered bytes into a new binary element.
  TIWBinaryElement& AddBuffer(std::string bytes, bool setParent = false);
  // Adds an element built elsewhere; the collection takes it over.
  TIWMarkupLanguageElement& AddTagAsObject(std::unique_ptr<TIWMarkupLanguageElement> element,
                                           bool setParent = false);
  // Destroys every child.
  void Clear() { elements_.clear(); }

  std::size_t Count() const { return elements_.size(); }
  bool empty() const { return elements_.empty(); }
  TIWMarkupLanguageElement& operator[](std::size_t i) const { return *elements_[i]; }
  auto begin() const { return elements_.begin(); }
  auto end() const { return elements_.end(); }

 private:
  TIWMarkupLanguageElement& adopt(std::unique_ptr<TIWMarkupLanguageElement> element,
                                  bool setParent);

  TIWMarkupLanguageTag& owner_;  // owns this collection
  std::vector<std::unique_ptr<TIWMarkupLanguageElement>> elements_;
};

}  // namespace orv
