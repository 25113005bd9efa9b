#pragma once
// An XML element of an asynchronous reply. Its contents are wrapped in
// "<![CDATA[" ... "]]>" when CDATA is set, which a new tag has exactly when its name is
// "innerhtml"; SetCDATA changes it later. Without CDATA the contents must already be
// escaped. Its contents create XML child tags.
#include <memory>
#include <string_view>

#include "framework/render/TIWMarkupLanguageTag.h"

namespace orv {

class TIWXMLTag;

class TIWXMLTagCollection : public TIWMarkupLanguageTagCollection {
 public:
  explicit TIWXMLTagCollection(TIWXMLTag& owner);
  TIWXMLTag& AddTag(std::string_view name, bool setParent = false);
};

class TIWXMLTag : public TIWMarkupLanguageTag {
 public:
  explicit TIWXMLTag(std::string_view name);

  static std::unique_ptr<TIWXMLTag> CreateTag(std::string_view name) {
    return std::make_unique<TIWXMLTag>(name);
  }

  bool CDATA() const { return cdata_; }
  void SetCDATA(bool value) { cdata_ = value; }

  TIWXMLTagCollection& Contents() {
    return static_cast<TIWXMLTagCollection&>(TIWMarkupLanguageTag::Contents());
  }
  const TIWXMLTagCollection& Contents() const {
    return static_cast<const TIWXMLTagCollection&>(TIWMarkupLanguageTag::Contents());
  }

  std::unique_ptr<TIWMarkupLanguageTag> NewChildTag(std::string_view name) const override;

 protected:
  void RenderContents(std::string& out) override;

 private:
  bool cdata_ = false;
};

}  // namespace orv
