#include <memory>
#include <string>

#include "framework/controls/ControlRender.h"
#include "framework/controls/TIWContainer.h"
#include "framework/controls/TIWImage.h"
#include "framework/render/MarkupText.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWPageContext40.h"
#include "framework/render/TIWScriptEvents.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {

namespace {

// The address of the picture's file: the one written for the current picture, or a new
// page-owned file (remembered), or, off a page, a file served once (not remembered).
std::string pictureAddress(TIWImage& image, TIWCompContext& context) {
  if (!image.CacheFileHRef().empty()) return image.CacheFileHRef();
  if (image.Picture().Empty()) return {};
  const std::vector<std::uint8_t> bytes = image.OutputPicture();
  if (image.Parent() != nullptr) {
    if (auto href = image.Parent()->StoreCacheFile(image.OutputContentType(), bytes)) {
      image.setCacheFileHRef(*href);
      return *href;
    }
  }
  RenderSession* session = context.WebApplication();
  if (session == nullptr) return {};
  return session->StoreOneTimeCacheFile(
      image.OutputContentType(),
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

std::unique_ptr<TIWHTMLTag> TIWImage::RenderHTML(TIWCompContext& context) {
  if (IsEmpty() && RenderEmptyAsSpan()) return std::make_unique<TIWHTMLTag>("span");
  const std::string address = TextToHTML(pictureAddress(*this, context));
  auto img = std::make_unique<TIWHTMLTag>("img");
  img->AddStringParam("src", address);
  img->AddStringParam("style", BorderOptions().RenderStyle());
  img->AddStringParam("alt", AltText().empty() ? address : TextToHTML(AltText()));
  if (RenderSize()) {
    img->AddIntegerParam("width", HTMLWidth());
    img->AddIntegerParam("height", HTMLHeight());
  }
  if (!Enabled()) context.AddToInitProc("setEnabled(\"" + HTMLName() + "\", false);");
  return img;
}

std::string TIWImage::RenderStyle(TIWCompContext& context) {
  std::string style = CommonStyle(context);
  if (WebCursor() == TIWCursor::crAuto && OnAsyncClick) style += " cursor:pointer;";
  return style;
}

void TIWImage::HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents) {
  if (OnClick) {
    scriptEvents.HookEvent("OnClick", SubmitHandler());
  } else if (OnMouseDown && pageContext.IsInternetExplorer()) {
    scriptEvents.HookEvent("OnMouseDown", std::string("return ImageClick(this.name,event,") +
                                              (DoSubmitValidation() ? "true" : "false") + ", '" +
                                              TextToJSStringLiteral(Confirmation()) + "');");
  }
}

std::unique_ptr<TIWXMLTag> TIWImage::RenderAsync(TIWCompContext& context) {
  auto control = NewAsyncControl("IMAGE");
  control->Contents().AddTag("src").Contents().AddText(TextToHTML(pictureAddress(*this, context)));
  RenderAsyncProperties(context, *control, AsyncProperty::kAll);
  return control;
}

}  // namespace orv
