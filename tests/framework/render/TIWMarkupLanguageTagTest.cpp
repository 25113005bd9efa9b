#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/render/FontTag.h"
#include "framework/render/TIWHTMLTag.h"
#include "framework/render/TIWXMLTag.h"

namespace orv {
namespace {

std::string rendered(TIWMarkupLanguageElement& element) {
  std::string out;
  element.Render(out);
  return out;
}

// An element whose rendering fails, to see how errors pass through enclosing tags.
class FailingElement : public TIWMarkupLanguageElement {
 public:
  void RenderElement(std::string&) override { throw std::runtime_error("disk full"); }
};

TEST(TIWHTMLTagTest, RendersTheEdgeCasesOfTheTagRules) {
  struct Case {
    const char* name;
    std::string (*build)();
    std::string expected;
  };
  const Case cases[] = {
      {"input has no closing tag",
       [] {
         TIWHTMLTag t("INPUT");
         t.AddStringParam("TYPE", "TEXT");
         return rendered(t);
       },
       "<input type=\"TEXT\">"},
      {"void elements",
       [] {
         std::string out;
         for (const char* n : {"area", "br", "frame", "hr", "img", "input", "link"}) {
           TIWHTMLTag t(n);
           out += rendered(t);
         }
         return out;
       },
       "<area><br><frame><hr><img><input><link>"},
      {"div writes children without line breaks",
       [] {
         TIWHTMLTag t("DIV");
         t.Contents().AddTag("span").Contents().AddText("a");
         t.Contents().AddTag("span");
         return rendered(t);
       },
       "<div><span>a</span><span></span></div>"},
      {"form writes CR LF before each child tag",
       [] {
         TIWHTMLTag t("form");
         t.Contents().AddTag("input");
         t.Contents().AddText("x");
         t.Contents().AddTag("input");
         return rendered(t);
       },
       "<form>\r\n<input>x\r\n<input></form>"},
      {"preformatted names in any case",
       [] {
         std::string out;
         for (const char* n : {"PRE", "a", "Tr", "td"}) {
           TIWHTMLTag t(n);
           t.Contents().AddTag("b");
           out += rendered(t);
         }
         return out;
       },
       "<pre><b></b></pre><a><b></b></a><tr><b></b></tr><td><b></b></td>"},
      {"tag without name writes only its contents",
       [] {
         TIWHTMLTag t("");
         t.Contents().AddText("a");
         t.Contents().AddTag("br");
         return rendered(t);
       },
       "a\r\n<br>"},
      {"simple close",
       [] {
         TIWHTMLTag t("link", TIWClosingTag::cbSimpleClose);
         t.AddStringParam("href", "x.css");
         return rendered(t);
       },
       "<link href=\"x.css\"/>"},
      {"explicit closing on a void element",
       [] {
         TIWHTMLTag t("img", TIWClosingTag::cbTrue);
         return rendered(t);
       },
       "<img></img>"},
      {"raw bare attribute",
       [] {
         TIWHTMLTag t("input");
         t.Add("disabled");
         return rendered(t);
       },
       "<input disabled>"},
      {"raw attribute quoted after its first equals sign",
       [] {
         TIWHTMLTag t("span");
         t.Add("onclick=a=b");
         return rendered(t);
       },
       "<span onclick=\"a=b\"></span>"},
      {"attribute set twice keeps its place and the second value",
       [] {
         TIWHTMLTag t("span");
         t.AddStringParam("ID", "one");
         t.AddStringParam("class", "c");
         t.AddStringParam("id", "two");
         return rendered(t);
       },
       "<span id=\"two\" class=\"c\"></span>"},
      {"empty value with allowEmpty removes the attribute",
       [] {
         TIWHTMLTag t("span");
         t.AddStringParam("title", "x");
         t.AddStringParam("id", "a");
         t.AddStringParam("TITLE", "", true);
         return rendered(t);
       },
       "<span id=\"a\"></span>"},
      {"empty value without allowEmpty changes nothing",
       [] {
         TIWHTMLTag t("span");
         t.AddStringParam("title", "x");
         t.AddStringParam("title", "");
         t.AddStringParam("id", "");
         return rendered(t);
       },
       "<span title=\"x\"></span>"},
      {"integer, bool, colour and class parameters",
       [] {
         TIWHTMLTag t("td");
         t.AddIntegerParam("Size", -1);
         t.AddBoolParam("selected", true);
         t.AddBoolParam("enabled", false);
         t.AddColor("bgcolor", clRed);
         t.AddColor("color", clNone);
         t.AddClassParam("a");
         t.AddClassParam("");
         t.AddClassParam("b");
         t.ClearParam("ENABLED");
         return rendered(t);
       },
       "<td size=\"-1\" selected=\"true\" bgcolor=\"#FF0000\" class=\"a b\"></td>"},
      {"parameter list lines trimmed, empty ones skipped",
       [] {
         TIWHTMLTag t("input");
         t.AddParmsList({"  Alt=x ", "", "  ", "READONLY"});
         return rendered(t);
       },
       "<input alt=\"x\" readonly>"},
      {"hidden fields",
       [] {
         TIWHTMLTag t("form");
         t.Contents().AddHiddenField("A", "");
         t.Contents().AddHiddenField("B", "HB", "v");
         return rendered(t);
       },
       "<form>\r\n<input type=\"hidden\" name=\"A\">\r\n"
       "<input type=\"hidden\" name=\"B\" value=\"v\" id=\"HB\"></form>"},
      {"binary and text elements unchanged",
       [] {
         TIWHTMLTag t("p");
         t.Contents().AddBuffer("<b>raw</b>");
         t.Contents().AddText("&amp;");
         return rendered(t);
       },
       "<p><b>raw</b>&amp;</p>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, c.build());
  }
}

TEST(TIWHTMLTagTest, StoresTheNameLowerCased) {
  TIWHTMLTag t("SeLeCt");
  EXPECT_EQ("select", t.Tag());
  EXPECT_EQ(TIWClosingTag::cbTrue, t.ClosingTag());
  t.SetTag("BR");
  EXPECT_EQ(TIWClosingTag::cbFalse, t.ClosingTag());
}

TEST(TIWXMLTagTest, InnerHtmlCarriesCDATAAndTextDoesNot) {
  TIWXMLTag control("control");
  control.AddStringParam("id", "L1");
  control.Contents().AddTag("innerHTML").Contents().AddText("<b>x</b>");
  control.Contents().AddTag("text").Contents().AddText("a &lt; b");
  EXPECT_EQ(
      "<control id=\"L1\">\r\n<innerhtml><![CDATA[<b>x</b>]]></innerhtml>\r\n"
      "<text>a &lt; b</text></control>",
      rendered(control));
}

TEST(TIWXMLTagTest, SetCDATAChangesItLater) {
  TIWXMLTag field("hiddenfield");
  EXPECT_FALSE(field.CDATA());
  field.SetCDATA(true);
  field.Contents().AddText("a<b");
  EXPECT_EQ("<hiddenfield><![CDATA[a<b]]></hiddenfield>", rendered(field));
}

TEST(TIWXMLTagTest, CDATAEndMarkerInsideTheContentsCannotEndTheSection) {
  TIWXMLTag inner("innerhtml");
  inner.Contents().AddText("a]]>b");
  EXPECT_EQ("<innerhtml><![CDATA[a]]]]><![CDATA[>b]]></innerhtml>", rendered(inner));
}

TEST(TIWMarkupLanguageTagTest, ErrorsWhileWritingContentsNameEveryEnclosingTag) {
  TIWHTMLTag outer("div");
  TIWHTMLTag& inner = outer.Contents().AddTag("span");
  inner.Contents().AddTagAsObject(std::make_unique<FailingElement>());
  try {
    rendered(outer);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ("disk full\r\n Tag: span\r\n Tag: div", e.what());
  }
}

TEST(TIWMarkupLanguageTagTest, AChildWithAParentRendersTheWholeTree) {
  TIWHTMLTag outer("div");
  TIWHTMLTag& inner = outer.Contents().AddTag("span", true);
  inner.Contents().AddText("x");
  EXPECT_EQ(&outer, inner.ParentElement());
  EXPECT_EQ("<div><span>x</span></div>", rendered(inner));
  EXPECT_EQ("\r\n<div><span>x</span></div>", inner.Render());
  TIWHTMLTag& loose = outer.Contents().AddTag("b");
  EXPECT_EQ(nullptr, loose.ParentElement());
  EXPECT_EQ("<b></b>", rendered(loose));
}

TEST(TIWMarkupLanguageTagTest, ScriptEventsOfChildrenComeBeforeTheTagsOwn) {
  TIWHTMLTag outer("div");
  outer.setScriptEvents("own;");
  TIWHTMLTag& a = outer.Contents().AddTag("span");
  a.setScriptEvents("a;");
  a.Contents().AddTag("b").setScriptEvents("b;");
  outer.Contents().AddText("text");
  EXPECT_EQ("b;a;own;", outer.GetScriptEvents());
}

TEST(TIWMarkupLanguageTagTest, ClearDestroysEveryChild) {
  TIWHTMLTag t("form");
  t.Contents().AddTag("input");
  t.Contents().AddText("x");
  t.Contents().Clear();
  EXPECT_EQ("<form></form>", rendered(t));
}

TEST(FontToStringTagTest, WritesFaceColourSizeAndStyleWrappers) {
  TIWFont font;
  font.setFontName("Arial");
  font.setColor(clRed);
  font.setStyle(fsBold | fsUnderline | fsStrikeOut);
  auto tag = FontToStringTag(font, "x");
  ASSERT_NE(nullptr, tag);
  EXPECT_EQ(
      "<font  face=\"Arial\"  color=\"#FF0000\" style=\"font-size:13px;\">"
      "<B><U><STRIKE>x</STRIKE></U></B></font>",
      rendered(*tag));
}

TEST(FontToStringTagTest, LeavesOutDefaultsAndNothingWhenDisabled) {
  TIWFont font;
  font.setColor(clWindowText);
  font.setSize(12);
  auto tag = FontToStringTag(font, "y");
  ASSERT_NE(nullptr, tag);
  EXPECT_EQ("<font style=\"font-size:16px;\">y</font>", rendered(*tag));
  font.setEnabled(false);
  EXPECT_EQ(nullptr, FontToStringTag(font, "y"));
}

}  // namespace
}  // namespace orv
