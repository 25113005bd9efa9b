// Full and partial renders of whole pages: the document in its order, the body order,
// hidden controls, wrapper forms, the hidden form, the page's scripts across renders,
// the callback reply, and the pictures' cache files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/controls/TIWAppForm.h"
#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWComboBox.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWImage.h"
#include "framework/controls/TIWLabel.h"
#include "framework/controls/TIWRectangle.h"
#include "framework/render/TIWCompContext.h"
#include "framework/render/TIWHTMLTag.h"
#include "tests/framework/render/FixedRenderSession.h"
#include "tests/framework/render/GoldenFile.h"

namespace orv {
namespace {

using testing::FixedRenderSession;

// A small page: a label, an edit, a button, a hidden rectangle and a drop-down list.
class SmallPage : public TIWAppForm {
 public:
  SmallPage() {
    setName("SmallPage");
    setWidth(300);
    setHeight(200);
    setTitle("Small & simple");
    Label1 = &addNew<TIWLabel>();
    Label1->setName("Label1");
    Label1->SetBounds(10, 10, 100, 16);
    Label1->setCaption("Pressure <bar>");
    Edit1 = &addNew<TIWEdit>();
    Edit1->setName("Edit1");
    Edit1->SetBounds(120, 10, 80, 21);
    Edit1->setText("1.5");
    Edit1->OnAsyncChange = [](TIWCustomControl&, const StringList&) {};
    Button1 = &addNew<TIWButton>();
    Button1->setName("Button1");
    Button1->SetBounds(10, 40, 75, 25);
    Button1->setCaption("Solve");
    Button1->OnClick = [](TIWCustomControl&) {};
    Hidden1 = &addNew<TIWRectangle>();
    Hidden1->setName("Hidden1");
    Hidden1->setVisible(false);
    Combo1 = &addNew<TIWComboBox>();
    Combo1->setName("Combo1");
    Combo1->SetBounds(120, 40, 90, 21);
    Combo1->Items().assign({"water", "oil"});
  }
  const char* ClassName() const override { return "SmallPage"; }

  TIWLabel* Label1;
  TIWEdit* Edit1;
  TIWButton* Button1;
  TIWRectangle* Hidden1;
  TIWComboBox* Combo1;
};

std::string render(TIWForm& page, FixedRenderSession& session) {
  std::string out;
  page.GenerateForm(session, out);
  return out;
}

// The part of a text between two markers (markers excluded); empty when absent.
std::string between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t a = text.find(from);
  if (a == std::string::npos) return {};
  const std::size_t b = text.find(to, a + from.size());
  return text.substr(a + from.size(),
                     b == std::string::npos ? std::string::npos : b - a - from.size());
}

TEST(TIWFormRenderTest, SmallPageDocument) {
  FixedRenderSession session;
  session.pending = "IWShowMessage(\"Saved\", \"\", \"\", \"OK\");";
  SmallPage page;
  page.HiddenFields().add("Extra=a b");
  testing::expectMatchesGolden("small_page.html", render(page, session));
}

TEST(TIWFormRenderTest, EmptyPageIsStillACompleteDocument) {
  FixedRenderSession session;
  TIWAppForm page;
  page.setName("Empty");
  page.setWidth(701);
  page.setHeight(519);
  const std::string doc = render(page, session);
  EXPECT_TRUE(
      doc.starts_with("<!DOCTYPE HTML>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"));
  EXPECT_NE(std::string::npos, doc.find("InitRects(701, 519);\r\n"));
  EXPECT_NE(std::string::npos, doc.find("<style type=\"text/css\">\r\n</style></head>\r\n"));
  EXPECT_NE(std::string::npos,
            doc.find("<form method=\"POST\" name=\"SubmitForm\" action=\"/$/\">\r\n"
                     "<input type=\"hidden\" name=\"IW_FormName\" value=\"Empty\">\r\n"
                     "<input type=\"hidden\" name=\"IW_FormClass\" value=\"TIWAppForm\"></form>"
                     "</body></html>\r\n"));
  EXPECT_TRUE(doc.ends_with("</body></html>\r\n"));
  // No old-style meta elements with the default document type.
  for (const char* absent :
       {"cache-control", "pragma", "MSThemeCompatible", "imagetoolbar", "Expires"}) {
    SCOPED_TRACE(absent);
    EXPECT_EQ(std::string::npos, doc.find(absent));
  }
}

TEST(TIWFormRenderTest, OlderDocumentTypesGetTheOldMetaElements) {
  FixedRenderSession session;
  TIWAppForm page;
  page.setDocType("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">");
  page.setXPTheme(false);
  const std::string doc = render(page, session);
  EXPECT_TRUE(
      doc.starts_with("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<html>\r\n<head>\r\n"
                      "<meta charset=\"utf-8\">\r\n"
                      "<meta http-equiv=\"cache-control\" content=\"no-cache\">\r\n"
                      "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n<title>"));
  EXPECT_NE(std::string::npos,
            doc.find("<meta http-equiv=\"MSThemeCompatible\" Content=\"no\">\r\n\r\n"
                     "<meta http-equiv=\"imagetoolbar\" content=\"no\">\r\n"
                     "<meta http-equiv=\"Expires\" content=\"-1\">"));
  session.settings.DocType = "<!DOCTYPE html>";
  TIWAppForm other;
  EXPECT_TRUE(render(other, session).starts_with("<!DOCTYPE html>\r\n"));
}

TEST(TIWFormRenderTest, DocTypeMustBeADeclaration) {
  TIWAppForm page;
  const std::pair<std::string, const char*> cases[] = {
      {"<html>", "Invalid value for DocType property: DocType must start with \"<!DOCTYPE\""},
      {"  <!doctype html", "Invalid value for DocType property: DocType must end with \">\""},
  };
  for (const auto& [value, message] : cases) {
    SCOPED_TRACE(value);
    try {
      page.setDocType(value);
      FAIL();
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(message, e.what());
    }
  }
  page.setDocType("  <!doctype html> ");
  page.setDocType("");
  EXPECT_EQ("", page.DocType());
}

TEST(TIWFormRenderTest, BodyOrderPutsControlsWithoutTabOrderFirst) {
  FixedRenderSession session;
  TIWAppForm page;
  auto& b1 = page.addNew<TIWButton>();     // TIWButton1, tab 0
  auto& l1 = page.addNew<TIWLabel>();      // TIWLabel1, no tab order
  auto& e1 = page.addNew<TIWEdit>();       // TIWEdit1, tab 2
  auto& r1 = page.addNew<TIWRectangle>();  // TIWRectangle1, no tab order
  e1.setTabOrder(0);                       // the edit goes first in the tab list
  (void)b1, (void)l1, (void)r1;
  const std::string doc = render(page, session);
  const std::size_t label = doc.find("id=\"TIWLABEL1\"");
  const std::size_t rect = doc.find("id=\"TIWRECTANGLE1\"");
  const std::size_t edit = doc.find("id=\"TIWEDIT1\"");
  const std::size_t button = doc.find("id=\"TIWBUTTON1\"");
  ASSERT_NE(std::string::npos, label);
  EXPECT_LT(label, rect);
  EXPECT_LT(rect, edit);
  EXPECT_LT(edit, button);
  // TabIndex follows the real tab order.
  EXPECT_NE(std::string::npos, doc.find("id=\"TIWEDIT1\" tabindex=\"1\""));
  EXPECT_NE(std::string::npos, doc.find("id=\"TIWBUTTON1\" tabindex=\"2\""));
}

TEST(TIWFormRenderTest, HiddenControlsAreAbsentUnlessInvisibleControlsRender) {
  FixedRenderSession session;
  TIWAppForm page;
  auto& e = page.addNew<TIWEdit>();
  e.setName("Gone");
  e.setVisible(false);
  std::string doc = render(page, session);
  EXPECT_EQ(std::string::npos, doc.find("GONE"));

  page.setRenderInvisibleControls(true);
  doc = render(page, session);
  EXPECT_NE(std::string::npos,
            doc.find("style=\"visibility: hidden; \" class=\"GONECSS\" id=\"GONE\""));
  EXPECT_NE(std::string::npos, doc.find("<input type=\"hidden\" name=\"GONE\">"));
  e.StyleRenderOptions().setUseDisplay(true);
  e.setCss("x");
  doc = render(page, session);
  EXPECT_NE(std::string::npos,
            doc.find("border: 1px inset;display: none; \" class=\"x\" id=\"GONE\""));
}

TEST(TIWFormRenderTest, LockScriptsFollowTheLockSettings) {
  FixedRenderSession session;
  TIWAppForm page;
  std::string doc = render(page, session);
  EXPECT_NE(
      std::string::npos,
      doc.find("<script type=\"text/javascript\">if (typeof createIWLocker === \"function\") {\r\n"
               "  createIWLocker(\"/$/gfx/loading.gif\");\r\n  ActivateLock();\r\n}</script>"));
  EXPECT_NE(std::string::npos, doc.find("GActivateLock = true;"));
  EXPECT_NE(std::string::npos, doc.find("ReleaseLock();"));

  page.setLockUntilLoaded(false);
  page.setLockOnSubmit(false);
  session.settings.ShowLoadingAnimation = false;
  doc = render(page, session);
  EXPECT_EQ(std::string::npos, doc.find("createIWLocker"));
  EXPECT_NE(std::string::npos, doc.find("GActivateLock = false;"));
  EXPECT_EQ(std::string::npos, doc.find("ReleaseLock();"));

  page.setLockOnSubmit(true);
  doc = render(page, session);
  EXPECT_NE(std::string::npos, doc.find("  createIWLocker(\"\");\r\n}</script>"));
}

TEST(TIWFormRenderTest, ScriptsOfOneRenderDoNotLeakIntoTheNext) {
  FixedRenderSession session;
  TIWAppForm page;
  page.JavaScript().add("var every = 1;");
  page.setJavaScriptOnce("var once = 1;");
  page.AddToInitProc("pageInit();");
  page.addNew<TIWEdit>().setInitProc("unused");
  page.PageContext().AddToInitProc("leftOver();");
  std::string first = render(page, session);
  EXPECT_NE(std::string::npos, first.find("var every = 1;"));
  EXPECT_NE(std::string::npos, first.find("var once = 1;"));
  EXPECT_NE(std::string::npos, first.find("pageInit();"));
  std::string second = render(page, session);
  EXPECT_NE(std::string::npos, second.find("var every = 1;"));
  EXPECT_EQ(std::string::npos, second.find("var once = 1;"));
  EXPECT_EQ(std::string::npos, second.find("pageInit();"));
  EXPECT_EQ(std::string::npos, second.find("leftOver();"));
  EXPECT_EQ(1u, [&] {
    std::size_t n = 0;
    for (std::size_t at = second.find("function Validate()"); at != std::string::npos;
         at = second.find("function Validate()", at + 1))
      ++n;
    return n;
  }());
}

TEST(TIWFormRenderTest, HiddenFieldValuesAreNumericReferencesOutsideTheSafeSet) {
  FixedRenderSession session;
  TIWAppForm page;
  page.HiddenFields().add("F=a b\xC3\xA4<");
  const std::string doc = render(page, session);
  EXPECT_NE(
      std::string::npos,
      doc.find("<input type=\"hidden\" name=\"F\" value=\"a&#32;b&#228;&#60;\" id=\"HIDDEN_F\" "
               "size=\"-1\">"));
}

TEST(TIWFormRenderTest, TerminatedSessionRendersNoForm) {
  FixedRenderSession session;
  session.terminated = true;
  TIWAppForm page;
  EXPECT_EQ(std::string::npos, render(page, session).find("SubmitForm"));
}

TEST(TIWFormRenderTest, FocusKeepAliveAndDefaultAction) {
  FixedRenderSession session;
  SmallPage page;
  page.Edit1->SetFocus();
  page.setKeepAlive(true);
  page.OnDefaultAction = [](TIWForm&) {};
  const std::string doc = render(page, session);
  EXPECT_NE(std::string::npos, doc.find("IW.Utils.setActiveControl(\"EDIT1\");"));
  EXPECT_NE(std::string::npos, doc.find("IW.Session.initKeepAlive(150000);"));
  EXPECT_NE(std::string::npos, doc.find("SubmitClickConfirm(\"\", \"default\", true, \"\");"));
  EXPECT_NE(std::string::npos, doc.find("\"ImplicitSubmit\":true"));
}

TEST(TIWFormRenderTest, PartialRenderOfAChangedControl) {
  FixedRenderSession session;
  SmallPage page;
  render(page, session);
  page.HiddenFields().add("Extra=x<y");
  for (TIWCustomControl* c : page.Components()) c->setDoRefreshControl(false);
  page.Label1->setCaption("Bar & more");
  page.Edit1->SetFocus();
  page.AddToInitProc("IWShowMessage(\"a<b\");");
  session.callBack = true;
  std::string none;
  page.GenerateForm(session, none);
  EXPECT_EQ("", none);
  testing::expectMatchesGolden("small_page_update.xml", session.response.StreamResponse());
}

TEST(TIWFormRenderTest, PartialRenderWithoutChangesStillSendsThePage) {
  FixedRenderSession session;
  SmallPage page;
  for (TIWCustomControl* c : page.Components()) c->setDoRefreshControl(false);
  session.callBack = true;
  std::string out;
  page.GenerateForm(session, out);
  EXPECT_EQ(
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><response>\r\n"
      "<update>\r\n<control id=\"SmallPage\" type=\"IWFORM\"></control></update>\r\n"
      "<execute></execute>\r\n<rewrite></rewrite>\r\n<submit>/$/</submit>\r\n<trackid></trackid>"
      "</response>",
      session.response.StreamResponse());
}

TEST(TIWFormRenderTest, KeepAliveIsResentOnlyAfterAChange) {
  FixedRenderSession session;
  session.callBack = true;
  TIWAppForm page;
  std::string out;
  page.setKeepAlive(false);  // unchanged: nothing to send
  page.GenerateForm(session, out);
  EXPECT_EQ(std::string::npos, session.response.StreamResponse().find("initKeepAlive"));
  page.setKeepAlive(true);
  session.response.Initialize();
  page.GenerateForm(session, out);
  EXPECT_NE(std::string::npos,
            session.response.StreamResponse().find(
                "<literal><![CDATA[IW.Session.initKeepAlive(150000);]]></literal>"));
  session.response.Initialize();
  page.GenerateForm(session, out);
  EXPECT_EQ(std::string::npos, session.response.StreamResponse().find("initKeepAlive"));
  page.setKeepAlive(false);
  session.response.Initialize();
  page.GenerateForm(session, out);
  EXPECT_NE(std::string::npos,
            session.response.StreamResponse().find("IW.Session.initKeepAlive(0);"));
}

TEST(TIWFormRenderTest, FormStateIsRenderingOnlyWhileRendering) {
  FixedRenderSession session;
  TIWAppForm page;
  TIWFormState seen = TIWFormState::fsUndefined;
  page.OnRender = [&](TIWForm& f) { seen = f.FormState(); };
  render(page, session);
  EXPECT_EQ(TIWFormState::fsRendering, seen);
  EXPECT_EQ(TIWFormState::fsUndefined, page.FormState());
  // Also after an error in a render hook.
  page.OnRender = [](TIWForm&) { throw std::runtime_error("hook failed"); };
  page.AddToInitProc("x();");
  EXPECT_THROW(render(page, session), std::runtime_error);
  EXPECT_EQ(TIWFormState::fsUndefined, page.FormState());
  EXPECT_EQ("", page.InitProc());
  EXPECT_EQ("", page.PageContext().InitProc);
}

// --- Pictures --------------------------------------------------------------------------

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TIWFormImageTest, GifIsServedByteForByteFromOnePageOwnedFile) {
  FixedRenderSession session;
  TIWAppForm page;
  auto& image = page.addNew<TIWImage>();
  image.setName("Pump");
  const std::string path = std::string(ORV_TESTDATA_DIR) + "/app/full/IMGS/pump.gif";
  image.Picture().LoadFromFile(path);
  image.setOutputType(TIWImageOutput::ioGIF);
  const std::string first = render(page, session);
  ASSERT_EQ(1u, session.cacheFiles.size());
  const auto& [href, file] = *session.cacheFiles.begin();
  EXPECT_TRUE(file.formOwned);
  EXPECT_EQ("image/gif", file.contentType);
  const std::vector<std::uint8_t> original = fileBytes(path);
  EXPECT_EQ(std::string(original.begin(), original.end()), file.bytes);
  EXPECT_NE(
      std::string::npos,
      first.find("<img src=\"" + href +
                 "\" style=\"border-width: 0px; border-style: solid; \" alt=\"" + href + "\""));
  // The picture's size, no width or height attributes.
  EXPECT_EQ(std::string::npos, between(first, "<img", ">").find("width="));

  // Rendering again reuses the file; loading the picture again makes a new one.
  const std::string second = render(page, session);
  EXPECT_EQ(1u, session.cacheFiles.size());
  EXPECT_NE(std::string::npos, second.find("src=\"" + href + "\""));
  image.Picture().LoadFromFile(path);
  render(page, session);
  EXPECT_EQ(2u, session.cacheFiles.size());
}

TEST(TIWFormImageTest, DrawnPictureIsConvertedToGif) {
  FixedRenderSession session;
  TIWAppForm page;
  auto& image = page.addNew<TIWImage>();
  RgbaImage pixels(300, 200);
  for (std::uint8_t& b : pixels.pixels) b = 200;
  image.Picture().SetImage(pixels);
  image.setOutputType(TIWImageOutput::ioGIF);
  EXPECT_EQ(300, image.Width());
  EXPECT_EQ(200, image.Height());
  render(page, session);
  ASSERT_EQ(1u, session.cacheFiles.size());
  const std::string& bytes = session.cacheFiles.begin()->second.bytes;
  EXPECT_EQ("GIF8", bytes.substr(0, 4));
  const RgbaImage decoded =
      decodePicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_EQ(300, decoded.width);
  for (std::size_t i = 3; i < decoded.pixels.size(); i += 4) ASSERT_EQ(255, decoded.pixels[i]);
}

TEST(TIWFormImageTest, PictureOffAPageGoesToAOneTimeFile) {
  FixedRenderSession session;
  TIWImage image;
  image.Picture().LoadFromFile(std::string(ORV_TESTDATA_DIR) + "/app/full/IMGS/pump.gif");
  TIWPageContext40 pc(&session);
  TIWCompContext context(&image, nullptr, pc);
  auto tag = image.RenderHTML(context);
  ASSERT_EQ(1u, session.cacheFiles.size());
  EXPECT_FALSE(session.cacheFiles.begin()->second.formOwned);
  EXPECT_EQ("", image.CacheFileHRef());
}

}  // namespace
}  // namespace orv
