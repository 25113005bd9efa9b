#include "framework/render/TIWHTMLTag.h"

#include <array>

#include "framework/render/MarkupText.h"

namespace orv {

namespace {

// HTML elements that never have contents or a closing tag.
constexpr std::array<std::string_view, 7> kVoidElements = {"area", "br",    "frame", "hr",
                                                           "img",  "input", "link"};
// Elements whose child tags are written without line breaks between them (a break
// would become visible white space inside them).
constexpr std::array<std::string_view, 5> kPreformattedElements = {"pre", "a", "div", "tr", "td"};

template <std::size_t N>
bool isOneOf(std::string_view name, const std::array<std::string_view, N>& list) {
  for (std::string_view entry : list) {
    if (equalsIgnoringCase(name, entry)) return true;
  }
  return false;
}

}  // namespace

TIWHTMLTagCollection::TIWHTMLTagCollection(TIWHTMLTag& owner)
    : TIWMarkupLanguageTagCollection(owner) {}

TIWHTMLTag& TIWHTMLTagCollection::AddTag(std::string_view name, bool setParent) {
  return static_cast<TIWHTMLTag&>(TIWMarkupLanguageTagCollection::AddTag(name, setParent));
}

TIWHTMLTag& TIWHTMLTagCollection::AddHiddenField(std::string_view name, std::string_view value) {
  TIWHTMLTag& field = AddTag("input");
  field.AddStringParam("type", "hidden");
  field.AddStringParam("name", name);
  if (!value.empty()) field.AddStringParam("value", value);
  return field;
}

TIWHTMLTag& TIWHTMLTagCollection::AddHiddenField(std::string_view name, std::string_view id,
                                                 std::string_view value) {
  TIWHTMLTag& field = AddHiddenField(name, value);
  field.AddStringParam("id", id);
  return field;
}

TIWHTMLTag::TIWHTMLTag(std::string_view name) {
  setContents(std::make_unique<TIWHTMLTagCollection>(*this));
  setClosingTag(TIWClosingTag::cbTrue);
  SetTag(name);
}

TIWHTMLTag::TIWHTMLTag(std::string_view name, TIWClosingTag closing) : TIWHTMLTag(name) {
  setClosingTag(closing);
}

void TIWHTMLTag::SetTag(std::string_view name) {
  TIWMarkupLanguageTag::SetTag(name);
  if (name.empty() || isOneOf(name, kVoidElements)) setClosingTag(TIWClosingTag::cbFalse);
  if (isOneOf(name, kPreformattedElements)) setIsPreformated(true);
}

std::unique_ptr<TIWMarkupLanguageTag> TIWHTMLTag::NewChildTag(std::string_view name) const {
  return std::make_unique<TIWHTMLTag>(name);
}

}  // namespace orv
