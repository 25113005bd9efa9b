// The calculator page through the real server on loopback: a new visitor runs the start
// sequence and gets the title screen as a complete document; Continue shows the
// calculator with its pictures served from the page's cache files, GIF byte for byte;
// the files go with the session.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/WDiagramU.h"
#include "framework/server/IWInit.h"
#include "tests/app/PageTestSupport.h"
#include "tests/framework/server/HttpTestClient.h"
#include "tests/framework/server/LoopbackServer.h"

namespace orv {
namespace {

class CalculatorPageServerTest : public test::LoopbackServerTest {
 protected:
  void SetUp() override {
    LoopbackServerTest::SetUp();
    pageDir_.copyFixture("full");
    pageDir_.writeBytes("pump.exe", "");
    const std::string dir = pageDir_.path();
    SetMainFormClass([dir](TIWApplication&) {
      return std::make_unique<TORVServerForm>(ServerFormSettings{dir, test::kTestPort});
    });
  }

  // How often `what` occurs in `text`.
  static std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
      ++n;
    return n;
  }
  // The values of every src="..." in a document.
  static std::vector<std::string> sources(const std::string& html) {
    std::vector<std::string> found;
    for (std::size_t at = html.find("<img src=\""); at != std::string::npos;
         at = html.find("<img src=\"", at + 1)) {
      const std::size_t start = at + 10;
      found.push_back(html.substr(start, html.find('"', start) - start));
    }
    return found;
  }

  test::ServerDir pageDir_;
};

TEST_F(CalculatorPageServerTest, StartSequenceShowsTheTitleScreenThenContinueShowsTheCalculator) {
  test::TestBrowser b = browser();
  const test::HttpReply title = b.startSession();
  ASSERT_EQ(200, title.code);
  const std::string& doc = title.body;
  EXPECT_TRUE(
      doc.starts_with("<!DOCTYPE HTML>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"));
  EXPECT_TRUE(doc.ends_with("</body></html>\r\n"));
  for (const char* once : {"<html>", "</html>", "<head>", "</head>", "<body ", "</body>",
                           "name=\"SubmitForm\"", "function Initialize()"}) {
    SCOPED_TRACE(once);
    EXPECT_EQ(1u, count(doc, once));
  }
  EXPECT_NE(std::string::npos, doc.find("ORV Web Server Port 8001"));
  EXPECT_NE(std::string::npos, doc.find("id=\"IWCONTINUEB\""));
  EXPECT_NE(std::string::npos,
            doc.find("<input type=\"hidden\" name=\"IW_FormClass\" value=\"TORVServerForm\">"));
  EXPECT_EQ(std::string::npos, doc.find("<img"));  // the diagram is hidden on the title screen
  EXPECT_NE(std::string::npos, doc.find("var GURLBase=\"/$/\", GAppID=\""));
  EXPECT_NE(std::string::npos, doc.find("src=\"/$/js/IWBase__"));

  // Continue: a full submit to the button.
  const std::string cookie = b.cookies.begin()->second;
  const std::string id = cookie.substr(0, cookie.find('_'));
  const test::HttpReply shown =
      b.post("/$/",
             "IW_FormName=ORVServerForm&IW_FormClass=TORVServerForm&IW_Action=IWCONTINUEB"
             "&IW_ActionParam=&IW_SessionID_=" +
                 id + "&IW_TrackID_=2");
  ASSERT_EQ(200, shown.code);
  EXPECT_EQ(std::string::npos, shown.body.find("id=\"IWCONTINUEB\""));
  const std::vector<std::string> pictures = sources(shown.body);
  ASSERT_EQ(4u, pictures.size());
  const std::string gif = pageDir_.readFixture("full/IMGS/pump.gif");
  bool foundPump = false;
  for (const std::string& src : pictures) {
    SCOPED_TRACE(src);
    EXPECT_TRUE(src.starts_with("/$/temp/"));
    const test::HttpReply picture = b.get(src);
    ASSERT_EQ(200, picture.code);
    EXPECT_EQ("GIF8", picture.body.substr(0, 4));
    if (picture.body == gif) foundPump = true;
  }
  EXPECT_TRUE(foundPump);  // a GIF file goes out as it was loaded

  // The page's files go with the session.
  b.get("/$/Stop");
  for (const std::string& src : pictures) EXPECT_EQ(404, b.get(src).code);
}

}  // namespace
}  // namespace orv
