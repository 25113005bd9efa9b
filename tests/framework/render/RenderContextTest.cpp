#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/render/IIWHTML40Component.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWCallBackResponse.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWContainerContext.h"
#include "framework/render/TIWLayoutMgrForm.h"
#include "framework/render/TIWPageContext40.h"
#include "tests/framework/render/FixedRenderSession.h"
#include "tests/framework/render/GoldenFile.h"

namespace orv {
namespace {

using FixedSession = testing::FixedRenderSession;

// A component with settable answers.
class FakeComponent : public IIWHTML40Component {
 public:
  std::string name = "C1";
  bool input = false;
  bool submit = false;
  bool visible = true;
  bool needsForm = false;
  std::string css;
  std::string style = "left: 1px; ";
  int tabIndex = 0;
  std::vector<std::string> inputNames;
  std::vector<std::string> extra;
  int htmlTagCalls = 0;

  std::string get_HTMLName() const override { return name; }
  bool get_HasName() const override { return input; }
  bool get_Visible() const override { return visible; }
  bool SupportsInput() const override { return input; }
  bool SupportsSubmit() const override { return submit; }
  bool get_NeedsFormTag() const override { return needsForm; }
  std::vector<std::string> GetInputControlNames() const override {
    return inputNames.empty() ? std::vector<std::string>{name} : inputNames;
  }
  std::string RenderCSSClass(TIWCompContext&) override { return css.empty() ? name + "CSS" : css; }
  std::string RenderStyle(TIWCompContext&) override { return style; }
  int get_RenderTabIndex() const override { return tabIndex; }
  std::vector<std::string> get_ExtraTagParams() const override { return extra; }
  void DoHTMLTag(TIWMarkupLanguageTag&) override { ++htmlTagCalls; }
};

// One container render: components, their tags, the page context.
struct Render {
  FixedSession session;
  TIWPageContext40 page{&session};
  TIWLayoutMgrForm layout;
  TIWContainerContext container;
  std::vector<std::unique_ptr<FakeComponent>> components;

  Render() { container.Layout = &layout; }

  FakeComponent& add(const std::string& name, const std::string& tagName) {
    components.push_back(std::make_unique<FakeComponent>());
    FakeComponent& c = *components.back();
    c.name = name;
    auto context = std::make_unique<TIWCompContext>(&c, &container, page);
    context->setMarkupLanguageTag(std::make_unique<TIWHTMLTag>(tagName));
    container.AddComponent(std::move(context));
    return c;
  }
  std::string body() {
    layout.ProcessControls(container, page);
    return layout.BodyContent(container, page);
  }
};

TEST(TIWPageContext40Test, AddersAppendWithLineEndsAndSkipEmptyCode) {
  TIWPageContext40 page;
  page.AddToInitProc("a();");
  page.AddToInitProc("");
  page.AddToInitProc("b();");
  EXPECT_EQ("a();\r\nb();\r\n", page.InitProc);
  page.AddToOnReady("x");
  page.AddToOnReady("y");
  EXPECT_EQ("xy", page.OnReadyProc);
  page.AddToJavaScriptOnce("f();");
  page.AddToJavaScriptOnce("g();\r\n");
  page.AddToJavaScriptOnce("\r\n");  // two characters only: gets its own CR LF
  EXPECT_EQ("f();\r\ng();\r\n\r\n\r\n", page.JavaScript);
  page.AddScriptFile("/js/a.js");
  page.AddScriptFile("/js/a.js");
  page.AddLinkFile("x.css");
  page.AddPreScriptFile("p.js");
  EXPECT_EQ(std::vector<std::string>{"/js/a.js"}, page.ScriptFiles);
  EXPECT_EQ(std::vector<std::string>{"x.css"}, page.LinkFiles);
  EXPECT_EQ(std::vector<std::string>{"p.js"}, page.PreScriptFiles);
}

TEST(TIWPageContext40Test, ValidateAlwaysExistsAndChecksEachCondition) {
  TIWPageContext40 page;
  page.FinalizeContext();
  EXPECT_EQ("function Validate() {\r\n  return true;\r\n}\r\n", page.JavaScript);

  TIWPageContext40 checked;
  checked.AddValidation("IW.$(\"C\").value==\"-1\"", "Pick \"one\"</script>");
  checked.FinalizeContext();
  EXPECT_EQ(
      "function Validate() {\r\n"
      "  if(IW.$(\"C\").value==\"-1\") {\r\n"
      "    ReleaseLock();\r\n"
      "    window.alert(\"Pick \\\"one\\\"\\x3C/script>\");\r\n"
      "    return false;\r\n"
      "  }\r\n"
      "  return true;\r\n}\r\n",
      checked.JavaScript);
}

TEST(TIWPageContext40Test, ClearEmptiesEverythingAndRestoresTheStyleTag) {
  FixedSession session;
  TIWPageContext40 page(&session);
  page.AddToInitProc("x");
  page.AddClassStyle(".ACSS", "left: 1px;");
  page.BodyTag().AddStringParam("onload", "Initialize()");
  page.BodyTag().Contents().AddText("body");
  page.AddFormHiddenInput("EDIT1");
  page.AddValidation("c", "m");
  page.Clear();
  EXPECT_EQ("", page.InitProc);
  EXPECT_TRUE(page.Validation.empty());
  EXPECT_TRUE(page.FormHiddenInput.empty());
  std::string out;
  page.StyleTag().Render(out);
  EXPECT_EQ("<style type=\"text/css\">\r\n</style>", out);
  out.clear();
  page.BodyTag().Render(out);
  EXPECT_EQ("<body></body>", out);
  out.clear();
  page.FormTag().Render(out);
  EXPECT_EQ("<form></form>", out);
  EXPECT_TRUE(page.AddFormHiddenInput("EDIT1"));
}

TEST(TIWPageContext40Test, ScriptAndLinkFilesUseInternalOrExternalAddresses) {
  FixedSession session;
  TIWPageContext40 page(&session);
  EXPECT_EQ("<script type=\"text/javascript\" src=\"/$/js/IWBase__X.js\"></script>\r\n",
            page.ScriptFile("/js/IWBase.js"));
  EXPECT_NE(std::string::npos, page.ScriptFile("/JS/x.js").find("src=\"/$/"));
  EXPECT_EQ("<script type=\"text/javascript\" src=\"/lib/x.js\"></script>\r\n",
            page.ScriptFile("lib/x.js"));
  EXPECT_EQ("<link href=\"/my.css\" rel=\"stylesheet\" type=\"text/css\"/>\r\n",
            page.LinkFile("my.css"));
  EXPECT_EQ("<link href=\"/$/css/IWNotify.css\" rel=\"stylesheet\" type=\"text/css\"/>\r\n",
            page.LinkInternalFile("/css/IWNotify.css"));
}

TEST(TIWCompContextTest, KeepsItsOwnTextsAndForwardsPageWideOnes) {
  FixedSession session;
  TIWPageContext40 page(&session);
  TIWLayoutMgrForm layout;
  TIWContainerContext container;
  container.Layout = &layout;
  FakeComponent c;
  TIWCompContext context(&c, &container, page);
  context.AddToInitProc("i();");
  context.AddToUpdateInitProc("u1;");
  context.AddToUpdateInitProc("u2;");
  context.AddToJavaScriptOnce("j();\r\n");
  context.CacheImage("Pic", "/$/gfx/p.gif");
  context.AddClassStyle(".X", "a");
  context.InitIWCLProperty("C1", "FocusColor", "\"#FF0000\"");
  EXPECT_EQ("i();\r\n", context.InitProc);
  EXPECT_EQ("u1;u2;", context.UpdateInitProc);
  EXPECT_EQ("j();\r\nGImageCache_Pic=new Image();\r\nGImageCache_Pic.src=\"/$/gfx/p.gif\";\r\n",
            context.JavaScript);
  EXPECT_EQ("  if (C1IWCL) {\r\n    C1IWCL.FocusColor = \"#FF0000\";\r\n  }\r\n",
            page.IWCLInitProc);
  page.AppendContext(context);
  EXPECT_EQ("i();\r\n", page.InitProc);

  // Without the page layout the client-object property is not set.
  TIWContainerLayout other;
  container.Layout = &other;
  context.InitIWCLProperty("C1", "P", "1");
  EXPECT_EQ("  if (C1IWCL) {\r\n    C1IWCL.FocusColor = \"#FF0000\";\r\n  }\r\n",
            page.IWCLInitProc);
}

TEST(TIWContainerContextTest, ListsEachHtmlNameOnce) {
  TIWPageContext40 page;
  TIWContainerContext container;
  FakeComponent a;
  a.name = "Edit1";
  auto first = std::make_unique<TIWCompContext>(&a, &container, page);
  TIWCompContext* firstPtr = first.get();
  EXPECT_EQ(firstPtr, &container.AddComponent(std::move(first)));
  EXPECT_EQ(firstPtr,
            &container.AddComponent(std::make_unique<TIWCompContext>(&a, &container, page)));
  EXPECT_EQ(1u, container.Count());
  EXPECT_EQ(firstPtr, container.Find("EDIT1"));
  EXPECT_EQ(nullptr, container.Find("EDIT2"));
}

TEST(TIWLayoutMgrFormTest, DefaultClassPutsTheStyleIntoTheStyleElement) {
  Render r;
  FakeComponent& edit = r.add("EDIT1", "input");
  edit.input = true;
  FakeComponent& big = r.add("BIG1", "span");
  big.css = "big";
  r.components[1]->style = "top: 2px; ";
  r.container[1].MarkupLanguageTag()->AddStringParam("style", "color: red;");
  const std::string body = r.body();
  EXPECT_EQ(
      "\r\n<form onsubmit=\"return FormDefaultSubmit();\">\r\n"
      "<input class=\"EDIT1CSS\" id=\"EDIT1\" name=\"EDIT1\"></form>\r\n"
      "<span style=\"top: 2px; color: red;\" class=\"big\" id=\"BIG1\"></span>\r\n"
      "<form>\r\n<input type=\"hidden\" name=\"EDIT1\"></form>",
      body);
  std::string style;
  r.page.StyleTag().Render(style);
  EXPECT_EQ("<style type=\"text/css\">\r\n.EDIT1CSS {left: 1px; }\r\n</style>", style);
  EXPECT_EQ(1, edit.htmlTagCalls);
}

TEST(TIWLayoutMgrFormTest, WrapperFormsGroupConsecutiveInputAndSubmitControls) {
  Render r;
  r.add("E1", "input").input = true;
  r.add("B1", "input").submit = true;
  r.add("L1", "span");
  r.add("E2", "input").input = true;
  r.page.FormTag().AddStringParam("name", "SubmitForm");
  EXPECT_EQ(
      "\r\n<form onsubmit=\"return FormDefaultSubmit();\">\r\n"
      "<input class=\"E1CSS\" id=\"E1\" name=\"E1\">\r\n"
      "<input class=\"B1CSS\" id=\"B1\"></form>\r\n"
      "<span class=\"L1CSS\" id=\"L1\"></span>\r\n"
      "<form onsubmit=\"return FormDefaultSubmit();\">\r\n"
      "<input class=\"E2CSS\" id=\"E2\" name=\"E2\"></form>\r\n"
      "<form name=\"SubmitForm\">\r\n<input type=\"hidden\" name=\"E1\">\r\n"
      "<input type=\"hidden\" name=\"E2\"></form>",
      r.body());
}

TEST(TIWLayoutMgrFormTest, HiddenInputsOncePerNameOnlyForVisibleInputControls) {
  Render r;
  FakeComponent& two = r.add("CB1", "span");
  two.input = true;
  two.inputNames = {"CB1_CHECKBOX", "SHARED"};
  FakeComponent& shared = r.add("X1", "input");
  shared.input = true;
  shared.inputNames = {"shared"};
  FakeComponent& hidden = r.add("H1", "input");
  hidden.input = true;
  hidden.visible = false;
  FakeComponent& needsForm = r.add("N1", "span");
  needsForm.needsForm = true;
  r.layout.ProcessControls(r.container, r.page);
  std::string form;
  r.page.FormTag().Render(form);
  EXPECT_EQ(
      "<form>\r\n<input type=\"hidden\" name=\"CB1_CHECKBOX\">\r\n"
      "<input type=\"hidden\" name=\"SHARED\">\r\n<input type=\"hidden\" name=\"N1\"></form>",
      form);

  Render all;
  all.container.RenderInvisibleControls = true;
  FakeComponent& h = all.add("H1", "input");
  h.input = true;
  h.visible = false;
  all.layout.ProcessControls(all.container, all.page);
  EXPECT_EQ(1u, all.page.FormHiddenInput.count("h1"));
}

TEST(TIWLayoutMgrFormTest, TabIndexAndExtraParametersAreAddedWhenWritten) {
  Render r;
  FakeComponent& b = r.add("B1", "input");
  b.submit = true;
  b.tabIndex = 3;
  b.extra = {"", " data-x=1 ", "autofocus", "a b=1", "x>y", "q=say \"hi\"", "=v"};
  r.container[0].PostRender = "<!-- after -->";
  EXPECT_EQ(
      "\r\n<form onsubmit=\"return FormDefaultSubmit();\">\r\n"
      "<input class=\"B1CSS\" id=\"B1\" tabindex=\"3\" data-x=\"1\" autofocus "
      "q=\"say &quot;hi&quot;\"><!-- after --></form>\r\n"
      "<form></form>",
      r.body());
}

TEST(TIWLayoutMgrFormTest, ProcessControlsAddsThePageResizeHooks) {
  Render r;
  r.layout.ProcessControls(r.container, r.page);
  EXPECT_EQ(
      "Body_OnResize();\r\nwindow.onresize = Body_OnResize;\r\ndocument.body.onblur = "
      "Body_OnBlur;\r\n",
      r.page.InitProc);
}

TEST(TIWLayoutMgrFormTest, TerminatedSessionLeavesTheFormOut) {
  Render r;
  r.session.terminated = true;
  EXPECT_EQ("", r.body());
}

TEST(TIWLayoutMgrFormTest, WritesTheWholeDocumentOfASmallPage) {
  Render r;
  r.session.pending = "IWShowMessage(\"hi\");\r\n";
  r.page.DocType = "<!DOCTYPE HTML>";
  r.page.Title = "Small &amp; page";
  r.layout.PreHeadContent = "\r\n<meta name=\"GENERATOR\" content=\"test\">\r\n\r\n";
  r.layout.HeadContent = "\r\n\r\n\r\n";
  r.page.AddToInitProc("InitRects(100, 50);");
  r.page.AddToInitProcPageUnlockCode("ReleaseLock();");
  r.page.AddToJavaScriptOnce("function IWTop(){return window;}");
  FakeComponent& label = r.add("LABEL1", "span");
  label.style = "position: absolute; left: 5px; top: 6px; ";
  r.container[0].MarkupLanguageTag()->Contents().AddText("Hello");
  r.container[0].AddToIWCLInitProc("  IW.initIWCL(IWCLForm,\"LABEL1\",false);");
  r.page.BodyTag().AddStringParam("OnLoad", "Initialize()");
  r.page.FormTag().AddStringParam("name", "SubmitForm");
  r.layout.ProcessControls(r.container, r.page);
  r.page.FinalizeContext();
  std::string doc;
  r.layout.Process(doc, r.container, r.page);
  testing::expectMatchesGolden("layout_small_page.html", doc);
  EXPECT_EQ("", r.session.pending);  // the one-shot script was taken
}

TEST(TIWLayoutMgrFormTest, ScriptSectionFollowsTheScriptOptions) {
  Render r;
  r.session.ie = true;
  r.session.settings.UseUncompressedFiles = true;
  r.session.settings.JavaScriptDebug = true;
  r.session.settings.AjaxErrorMode = 2;
  r.page.PreScriptFiles = {"/js/IWBackIntercept.js"};
  r.page.OnReadyProc = "ready();";
  const std::string s = r.layout.ScriptSection(r.page);
  const char* inOrder[] = {"jquery__X.js",
                           "jquerymaskedinput__X.js",
                           "IWBackIntercept__X.js",
                           "IWPreScript__X.js",
                           "IWBrowser__X.js",
                           "IWCommon__X.js",
                           "IWCL__X.js",
                           "IWAjax__X.js",
                           "IWNotify__X.js",
                           "IWExplorer__X.js",
                           "IWDEBUG = true;\r\n",
                           "IWAjaxErrorMode = 2;\r\n",
                           "$(document).ready(function(){ready();});\r\n"};
  std::size_t at = 0;
  for (const char* piece : inOrder) {
    SCOPED_TRACE(piece);
    const std::size_t found = s.find(piece, at);
    ASSERT_NE(std::string::npos, found);
    at = found;
  }
  EXPECT_EQ(std::string::npos, s.find("IWLib"));
  EXPECT_EQ(std::string::npos, s.find("IWBase"));

  Render plain;
  plain.session.settings.RenderjQuery = false;
  const std::string p = plain.layout.ScriptSection(plain.page);
  EXPECT_EQ(std::string::npos, p.find("IWLib"));
  EXPECT_NE(std::string::npos, p.find("IWBase__X.js"));
  EXPECT_NE(std::string::npos, p.find("IWGecko__X.js"));
  EXPECT_EQ(std::string::npos, p.find("IWAjaxErrorMode"));
}

TEST(TIWContainerLayoutTest, ALayoutWithoutDocumentWriterSaysSo) {
  TIWContainerLayout layout;
  TIWContainerContext container;
  TIWPageContext40 page;
  std::string out;
  try {
    layout.Process(out, container, page);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ("TIWContainerLayout: Method Process is not implemented in this class", e.what());
  }
}

TEST(TIWCallBackResponseTest, AnEmptyResponseHoldsAllFiveElements) {
  TIWCallBackResponse response;
  EXPECT_EQ(
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><response>\r\n"
      "<update></update>\r\n<execute></execute>\r\n<rewrite></rewrite>\r\n<submit></submit>\r\n"
      "<trackid></trackid></response>",
      response.StreamResponse());
}

TEST(TIWCallBackResponseTest, CollectsUpdatesScriptsAndTheSubmitAddress) {
  TIWCallBackResponse response;
  auto control = std::make_unique<TIWXMLTag>("control");
  control->AddStringParam("id", "E1");
  response.AddTagToUpdate(std::move(control));
  response.AddTagToUpdate(std::string("<control id=\"X\"></control>"));
  response.AddJavaScriptToExecute("a();");
  response.AddJavaScriptToExecuteAsCDATA("if (a<b && c) d();");
  response.AddJavaScriptToExecuteAsCDATA("");
  response.SetSubmitURL("/$/?a=1&b=2");
  EXPECT_EQ(
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><response>\r\n"
      "<update>\r\n<control id=\"E1\"></control><control id=\"X\"></control></update>\r\n"
      "<execute>\r\n<literal>a();</literal>\r\n<literal><![CDATA[if (a<b && c) d();]]></literal>"
      "</execute>\r\n<rewrite></rewrite>\r\n<submit>/$/?a=1&amp;b=2</submit>\r\n"
      "<trackid></trackid></response>",
      response.StreamResponse());
  response.Initialize();
  EXPECT_EQ(std::string::npos, response.StreamResponse().find("control"));
}

}  // namespace
}  // namespace orv
