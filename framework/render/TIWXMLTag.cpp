#include "framework/render/TIWXMLTag.h"

namespace orv {

TIWXMLTagCollection::TIWXMLTagCollection(TIWXMLTag& owner)
    : TIWMarkupLanguageTagCollection(owner) {}

TIWXMLTag& TIWXMLTagCollection::AddTag(std::string_view name, bool setParent) {
  return static_cast<TIWXMLTag&>(TIWMarkupLanguageTagCollection::AddTag(name, setParent));
}

TIWXMLTag::TIWXMLTag(std::string_view name) {
  setContents(std::make_unique<TIWXMLTagCollection>(*this));
  setClosingTag(TIWClosingTag::cbTrue);
  SetTag(name);
  cdata_ = Tag() == "innerhtml";
}

std::unique_ptr<TIWMarkupLanguageTag> TIWXMLTag::NewChildTag(std::string_view name) const {
  return std::make_unique<TIWXMLTag>(name);
}

void TIWXMLTag::RenderContents(std::string& out) {
  if (!cdata_) {
    TIWMarkupLanguageTag::RenderContents(out);
    return;
  }
  // A "]]>" inside the contents would end the section early and break the reply, so
  // it is split across two sections.
  std::string contents;
  TIWMarkupLanguageTag::RenderContents(contents);
  out += "<![CDATA[";
  std::size_t from = 0;
  for (std::size_t at = contents.find("]]>"); at != std::string::npos;
       at = contents.find("]]>", from)) {
    out.append(contents, from, at + 2 - from);
    out += "]]><![CDATA[";
    from = at + 2;
  }
  out.append(contents, from, std::string::npos);
  out += "]]>";
}

}  // namespace orv
