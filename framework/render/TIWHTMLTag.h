#pragma once
// An HTML element. Setting its name also fixes two rendering rules:
//  - no closing tag for an empty name and the void elements
//    "area", "br", "frame", "hr", "img", "input", "link";
//  - child tags without CR LF between them inside "pre", "a", "div", "tr" and "td".
// Its contents create HTML child tags, and offer AddHiddenField.
//
// Ownership as for every element (TIWMarkupLanguageElement); used by the rendering thread.
#include <memory>
#include <string>
#include <string_view>

#include "framework/render/TIWMarkupLanguageTag.h"

namespace orv {

class TIWHTMLTag;

class TIWHTMLTagCollection : public TIWMarkupLanguageTagCollection {
 public:
  explicit TIWHTMLTagCollection(TIWHTMLTag& owner);

  TIWHTMLTag& AddTag(std::string_view name, bool setParent = false);
  // An "input" with type="hidden", name = name and, when not empty, value = value
  // (the value must already be escaped for an attribute).
  TIWHTMLTag& AddHiddenField(std::string_view name, std::string_view value);
  // The same, with id = id as well.
  TIWHTMLTag& AddHiddenField(std::string_view name, std::string_view id, std::string_view value);
};

class TIWHTMLTag : public TIWMarkupLanguageTag {
 public:
  // A tag with ClosingTag cbTrue, then SetTag(name).
  explicit TIWHTMLTag(std::string_view name);
  // A tag with an explicit closing mode (applied after SetTag's own choice).
  TIWHTMLTag(std::string_view name, TIWClosingTag closing);

  static std::unique_ptr<TIWHTMLTag> CreateTag(std::string_view name) {
    return std::make_unique<TIWHTMLTag>(name);
  }

  void SetTag(std::string_view name) override;

  TIWHTMLTagCollection& Contents() {
    return static_cast<TIWHTMLTagCollection&>(TIWMarkupLanguageTag::Contents());
  }
  const TIWHTMLTagCollection& Contents() const {
    return static_cast<const TIWHTMLTagCollection&>(TIWMarkupLanguageTag::Contents());
  }

  std::unique_ptr<TIWMarkupLanguageTag> NewChildTag(std::string_view name) const override;
};

}  // namespace orv
