#pragma once
// Renders single controls the way a page render does, for tests of their markup,
// style, scripts and asynchronous elements.
#include <memory>
#include <string>

#include "framework/controls/TIWForm.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWContainerContext.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWLayoutMgrForm.h"
#include "framework/render/TIWPageContext40.h"
#include "framework/render/TIWXMLTag.h"
#include "tests/framework/render/FixedRenderSession.h"

namespace orv::testing {

// A page with a session, a page context and a container context, as during a render.
struct ControlRenderBench {
  FixedRenderSession session;
  TIWForm page;
  TIWPageContext40 pageContext{&session};
  TIWLayoutMgrForm layout;
  TIWContainerContext container;

  ControlRenderBench() {
    page.setName("TestForm");
    container.Layout = &layout;
  }

  std::unique_ptr<TIWCompContext> context(TIWCustomControl& control) {
    return std::make_unique<TIWCompContext>(&control, &container, pageContext);
  }

  // The control's element as RenderMarkupLanguageTag builds it (before the layout).
  std::string markup(TIWCustomControl& control) {
    auto ctx = context(control);
    auto tag = control.RenderMarkupLanguageTag(*ctx);
    if (tag == nullptr) return "(none)";
    std::string out;
    tag->Render(out);
    return out;
  }
  // The control's scripts: client-object lines and page functions.
  std::pair<std::string, std::string> scripts(TIWCustomControl& control) {
    auto ctx = context(control);
    control.RenderScripts(*ctx);
    return {ctx->IWCLInitProc, ctx->JavaScript};
  }
  std::string style(TIWCustomControl& control) {
    auto ctx = context(control);
    return control.RenderStyle(*ctx);
  }
  // The asynchronous element, rendered.
  std::string async(TIWCustomControl& control) {
    session.callBack = true;
    auto ctx = context(control);
    auto tag = control.RenderAsyncComponent(*ctx);
    session.callBack = false;
    if (tag == nullptr) return "(none)";
    std::string out;
    tag->Render(out);
    return out;
  }
};

}  // namespace orv::testing
