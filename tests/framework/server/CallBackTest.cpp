// Asynchronous callbacks of a session: the callback registry, the response document of
// "/$/callback" (partial render, re-submit script, unknown callbacks, errors), and the
// edge cases of stale pages, disabled controls and freed pages.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/controls/TIWAppForm.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWRectangle.h"
#include "framework/server/CurrentSession.h"
#include "framework/server/TIWServerControllerBase.h"
#include "tests/framework/server/SessionTestSupport.h"

namespace orv::test {
namespace {

constexpr char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";

// A small page: an input with asynchronous change and click handlers and an output.
class CalcPage : public TIWAppForm {
 public:
  explicit CalcPage(const std::string& name) {
    setName(name);
    edit.setName("Edit1");
    out.setName("Out");
    edit.OnAsyncChange = [this](TIWCustomControl&, const StringList& params) {
      ++changes;
      seenParams = params.lines();
      seenText = edit.Text();
      if (onChange) onChange();
    };
    edit.OnAsyncClick = [this](TIWCustomControl&, const StringList&) { ++clicks; };
  }
  const char* ClassName() const override { return "TCalcPage"; }

  TIWEdit& edit = addNew<TIWEdit>();
  TIWRectangle& out = addNew<TIWRectangle>();
  int changes = 0;
  int clicks = 0;
  std::string seenText;
  std::vector<std::string> seenParams;
  std::function<void()> onChange;
};

class CallBackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setAppPathForTesting(dir.path());
    ProbeController::storedSettings = [](ProbeController& c) { c.SetAppName("ORVWS_8001"); };
    controller = TIWServerControllerBase::New<ProbeController>();
    session = newSession(registry, creating);
    bind = std::make_unique<CurrentSessionScope>(session.get());
  }
  void TearDown() override {
    bind.reset();
    if (session) session->Unlock();
    session.reset();
    registry.FreeAll();
    controller.reset();
    ProbeController::storedSettings = nullptr;
  }

  CalcPage& addPage(const std::string& name) {
    auto page = std::make_unique<CalcPage>(name);
    CalcPage& p = *page;
    session->AddForm(std::move(page));
    return p;
  }
  // A full page request: executes the parameters and renders the page (which registers
  // the callbacks); returns the document.
  std::string submit(const std::vector<std::string>& params) {
    THttpRequest request;
    THttpReply reply;
    session->Initialize(request, reply);
    session->ProcessForm(reply, params);
    return reply.mContentStream ? reply.mContentStream->readAll() : std::string();
  }
  // An asynchronous request; returns the response document.
  std::string callback(const std::vector<std::string>& params) {
    THttpRequest request;
    THttpReply reply;
    session->Initialize(request, reply);
    session->ProcessCallBack(reply, params);
    EXPECT_EQ(reply.mContentType, "text/xml; charset=UTF-8");
    return reply.mContentStream ? reply.mContentStream->readAll() : std::string();
  }

  TempDir dir;
  std::unique_ptr<TIWServerControllerBase> controller;
  TIWSessions registry;
  CreatingRequest creating;
  std::shared_ptr<TIWApplication> session;
  std::unique_ptr<CurrentSessionScope> bind;
};

TEST_F(CallBackTest, ARenderRegistersOneQualifiedCallbackPerAssignedEvent) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  const std::string document = submit({});
  EXPECT_NE(document.find("EDIT1IWCL.HookDefaultHandlers("), std::string::npos);
  EXPECT_EQ(session->CallBacks().Names(),
            (std::vector<std::string>{"Main.EDIT1.DoOnAsyncChange", "Main.EDIT1.DoOnAsyncClick"}));
}

TEST_F(CallBackTest, ACallbackRunsTheHandlerAndUpdatesOnlyWhatChanged) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  submit({});
  page.onChange = [&] { page.out.setText("3.50"); };
  const std::string xml = callback({"IW_FormName=Main", "IW_FormClass=TCalcPage", "EDIT1=75",
                                    "IW_Action=EDIT1", "callback=EDIT1.DoOnAsyncChange"});
  EXPECT_EQ(page.changes, 1);
  EXPECT_EQ(page.seenText, "75");
  EXPECT_EQ(page.edit.Text(), "75");
  EXPECT_EQ(page.seenParams,
            (std::vector<std::string>{"EDIT1=75", "callback=EDIT1.DoOnAsyncChange"}));
  EXPECT_EQ(xml.rfind(kXmlHead, 0), 0u);
  EXPECT_NE(xml.find("<control id=\"Main\" type=\"IWFORM\"></control>"), std::string::npos);
  EXPECT_NE(xml.find("<control id=\"OUT\" type=\"IWRECTANGLE\">"), std::string::npos);
  EXPECT_NE(xml.find("3.50"), std::string::npos);
  // The value the visitor typed is not echoed back.
  EXPECT_EQ(xml.find("id=\"EDIT1\""), std::string::npos);
  EXPECT_NE(xml.find("<submit>/$/</submit>"), std::string::npos);
}

TEST_F(CallBackTest, ACallbackThatChangesNothingStillAnswersAllFiveElementsAndThePage) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  submit({});
  EXPECT_EQ(
      callback({"IW_FormName=Main", "callback=EDIT1.DoOnAsyncClick", "x=1", "y=2"}),
      std::string(kXmlHead) +
          "<response>\r\n<update>\r\n<control id=\"Main\" type=\"IWFORM\"></control></update>\r\n"
          "<execute></execute>\r\n<rewrite></rewrite>\r\n<submit>/$/</submit>\r\n"
          "<trackid></trackid></response>");
  EXPECT_EQ(page.clicks, 1);
}

TEST_F(CallBackTest, AStalePageNameAppliesNothingAndRunsNoCallback) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  submit({});
  page.edit.setText("before");
  const std::string xml = callback(
      {"IW_FormName=OldPage", "EDIT1=stale", "IW_Action=EDIT1", "callback=EDIT1.DoOnAsyncChange"});
  EXPECT_EQ(page.edit.Text(), "before");
  EXPECT_EQ(page.changes, 0);
  // The active page answers as usual.
  EXPECT_NE(xml.find("<control id=\"Main\" type=\"IWFORM\">"), std::string::npos);
}

TEST_F(CallBackTest, AnUnknownCallbackTellsTheBrowserToLogIt) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  submit({});
  struct Case {
    const char* name;
    std::string callback;
    std::string literal;
  };
  const std::vector<Case> cases = {
      {"plain name", "NOSUCH.DoOnAsyncClick",
       "<literal><![CDATA[logMessage(\"Callback method not found: "
       "NOSUCH.DoOnAsyncClick\")]]></literal>"},
      {"unsafe name left out", "<script>alert(1)</script>",
       "<literal><![CDATA[logMessage(\"Callback method not found\")]]></literal>"},
      {"quotes cannot end the string", "a\"b",
       "<literal><![CDATA[logMessage(\"Callback method not found: a\\\"b\")]]></literal>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string xml = callback({"callback=" + c.callback});
    EXPECT_NE(xml.find(c.literal), std::string::npos) << xml;
    EXPECT_NE(xml.find("type=\"IWFORM\""), std::string::npos);
  }
}

TEST_F(CallBackTest, ShowingAnotherPageAnswersTheResubmitScriptAndNoUpdates) {
  CalcPage& first = addPage("Main");
  CalcPage& second = addPage("Second");
  session->SetActiveForm(first);
  submit({});
  first.onChange = [&] {
    first.out.setText("changed on the old page");
    session->SetActiveForm(second);
  };
  const std::string xml =
      callback({"IW_FormName=Main", "EDIT1=1", "callback=EDIT1.DoOnAsyncChange"});
  EXPECT_EQ(first.changes, 1);
  EXPECT_NE(xml.find("<update></update>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<literal><![CDATA[var w=topmost(), d=w.document, p=w.location.protocol + "
                     "\"//\" + w.location.host + \"/$/\";\r\nw.GSubmitting = false;\r\n"
                     "w.ValidClick = true;\r\nd.SubmitForm.action=p;\r\nd.SubmitForm.submit();\r\n"
                     "]]></literal>"),
            std::string::npos)
      << xml;
}

TEST_F(CallBackTest, ErrorsOfTheCallbackReachTheVisitorAsAnInPageMessage) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  submit({});
  page.onChange = [] { throw std::runtime_error("Value out of range"); };
  const std::string xml = callback({"IW_FormName=Main", "callback=EDIT1.DoOnAsyncChange"});
  EXPECT_NE(xml.find("IWShowMessage(\"Value out of range\", \"\", \"\", \"OK\");"),
            std::string::npos)
      << xml;
}

TEST_F(CallBackTest, TheHandlersOfADisabledControlAreNotCalled) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  submit({});
  page.edit.setEnabled(false);
  callback({"callback=EDIT1.DoOnAsyncChange"});
  callback({"callback=EDIT1.DoOnAsyncClick"});
  EXPECT_EQ(page.changes, 0);
  EXPECT_EQ(page.clicks, 0);
}

TEST_F(CallBackTest, ACallbackOfAFreedPageIsNotRun) {
  CalcPage& first = addPage("Main");
  CalcPage& second = addPage("Second");
  session->SetActiveForm(first);
  submit({});  // registers Main.EDIT1.*
  session->SetActiveForm(second);
  session->RemoveForm(first);
  session->FreeForm(first);
  submit({});
  const std::string xml = callback({"callback=Main.EDIT1.DoOnAsyncChange"});
  EXPECT_NE(xml.find("Callback method not found: Main.EDIT1.DoOnAsyncChange"), std::string::npos);
  EXPECT_EQ(second.changes, 0);
}

TEST_F(CallBackTest, RegisteringAgainRebindsAndNamesAreQualifiedOnlyWhileAPageIsBusy) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  int a = 0;
  int b = 0;
  session->RegisterCallBack(
      "Custom", [&](const std::vector<std::string>&) { ++a; }, &page);
  session->RegisterCallBack("custom", [&](const std::vector<std::string>&) { ++b; });
  EXPECT_EQ(session->CallBacks().Names(), (std::vector<std::string>{"Custom"}));
  callback({"callback=CUSTOM"});
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 1);
  session->UnregisterCallBack("CUSTOM");
  EXPECT_TRUE(session->CallBacks().empty());
  EXPECT_EQ(QualifiedCallBackName("Main", "main.X"), "main.X");
  EXPECT_EQ(QualifiedCallBackName("Main", "X"), "Main.X");
  EXPECT_EQ(QualifiedCallBackName("", "X"), "X");
}

TEST_F(CallBackTest, TheResponseIsEmptiedForEveryRequest) {
  CalcPage& page = addPage("Main");
  session->SetActiveForm(page);
  submit({});
  callback({"callback=NOSUCH"});
  const std::string xml = callback({"callback=EDIT1.DoOnAsyncClick"});
  EXPECT_EQ(xml.find("NOSUCH"), std::string::npos);
}

}  // namespace
}  // namespace orv::test
