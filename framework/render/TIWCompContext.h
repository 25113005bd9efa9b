#pragma once
// What one component produced during one render: its tag, and its own script texts,
// which the layout later copies into the page context (AppendContext). A component
// renders into the context it is given; style rules, validations and script files go
// straight to the page context.
//
// Owned by its container context for one render; owns the tag the component rendered.
// The component, container context and page context are non-owning links that outlive
// the component context (the page keeps all three for the render).
#include <memory>
#include <string>
#include <string_view>

#include "framework/render/TIWMarkupLanguageTag.h"

namespace orv {

class IIWHTML40Component;
class RenderSession;
class TIWContainerContext;
class TIWPageContext40;

class TIWCompContext {
 public:
  TIWCompContext(IIWHTML40Component* component, TIWContainerContext* containerContext,
                 TIWPageContext40& pageContext);
  TIWCompContext(const TIWCompContext&) = delete;
  TIWCompContext& operator=(const TIWCompContext&) = delete;

  IIWHTML40Component* Component() const { return component_; }
  TIWContainerContext* ContainerContext() const { return containerContext_; }
  TIWPageContext40& PageContext() const { return pageContext_; }
  RenderSession* WebApplication() const;
  // Whether the render answers an asynchronous callback (text with converted spaces is
  // then escaped once more, see TextToHTML).
  bool IsCallBack() const;

  // The tag the component rendered (HTML for a full render, XML for an update).
  TIWMarkupLanguageTag* MarkupLanguageTag() const { return tag_.get(); }
  void setMarkupLanguageTag(std::unique_ptr<TIWMarkupLanguageTag> tag) { tag_ = std::move(tag); }
  std::unique_ptr<TIWMarkupLanguageTag> TakeMarkupLanguageTag() { return std::move(tag_); }

  // Text written right after the component's tag.
  std::string PostRender;
  // The component's own texts.
  std::string InitProc;
  std::string InitProcDoLastCode;
  std::string JavaScript;
  std::string IWCLInitProc;
  std::string UpdateInitProc;

  // Each appends the code followed by CR LF (nothing for empty code).
  void AddToInitProc(std::string_view code);
  void AddToInitProcDoLastCode(std::string_view code);
  void AddToIWCLInitProc(std::string_view code);
  // Appends without separator.
  void AddToUpdateInitProc(std::string_view code);
  // Appends, adding CR LF unless the code already ends with it.
  void AddToJavaScriptOnce(std::string_view code);
  // Forwarded to the page context.
  void AddStyle(std::string_view text);
  void AddClassStyle(std::string_view className, std::string_view style);
  void AddValidation(std::string_view condition, std::string_view message);
  void AddScriptFile(std::string_view name);
  // Preloads a picture: "GImageCache_" + name + "=new Image();" and
  // "GImageCache_" + name + ".src=\"" + url + "\";" in the component's script.
  void CacheImage(std::string_view name, std::string_view url);
  // On a page layout, adds to the page's client-object initialisation
  //   "  if (" + htmlName + "IWCL) {" CR LF "    " + htmlName + "IWCL." + property +
  //   " = " + value + ";" CR LF "  }"
  void InitIWCLProperty(std::string_view htmlName, std::string_view property,
                        std::string_view value);

 private:
  IIWHTML40Component* component_;
  TIWContainerContext* containerContext_;
  TIWPageContext40& pageContext_;
  std::unique_ptr<TIWMarkupLanguageTag> tag_;
};

}  // namespace orv
