// Executing a page's request (TIWForm::DoExecuteForm and ProcessParameters): posted
// values and their intake, repeated names, invisible and read-only controls, collected
// errors, submits to controls, callbacks, the window size, hidden fields, refresh marks
// and the form-id check.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/controls/FormEventSession.h"
#include "framework/controls/SilentAbort.h"
#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWCheckBox.h"
#include "framework/controls/TIWComboBox.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWForm.h"
#include "framework/controls/TIWLabel.h"
#include "framework/controls/TIWRadioGroup.h"
#include "framework/controls/TIWRectangle.h"
#include "tests/framework/render/FixedRenderSession.h"

namespace orv {
namespace {

// A session that records what the page asks of it.
class RecordingSession : public testing::FixedRenderSession, public FormEventSession {
 public:
  struct Call {
    std::string sender;
    std::string name;
    std::vector<std::string> params;
  };
  std::vector<Call> calls;
  std::function<void()> onCallBack;
  bool processing = false;
  int width = -1;
  int height = -1;
  bool checkFormIds = false;

  void PerformCallBack(TIWForm& sender, const std::string& name) override {
    calls.push_back({sender.Name(), name, sender.Params()});
    processing = true;
    if (onCallBack) onCallBack();
    processing = false;
  }
  bool CallBackProcessing() const override { return processing; }
  void SetFormSize(int w, int h) override {
    width = w;
    height = h;
  }
  bool CheckFormIds() const override { return checkFormIds; }
};

// An edit box whose value intake fails for one text.
class PickyEdit : public TIWEdit {
 public:
  void SetValue(const std::string& value) override {
    if (value == "bad") throw std::runtime_error("'bad' is not a valid value");
    TIWEdit::SetValue(value);
  }
};

class FormExecuteTest : public ::testing::Test {
 protected:
  FormExecuteTest() {
    page.setName("ORVServerForm");
    page.setWidth(1010);
    page.setHeight(690);
    edit1.setName("Edit1");
    edit2.setName("Edit2");
    box.setName("Box");
    button.setName("Solve");
    label.setName("Label1");
    combo.setName("Combo");
    combo.Items().assign({"a", "b", "c"});
    radio.setName("Radio");
    radio.Items().assign({"x", "y", "z"});
    output.setName("Out");
  }

  // Executes the page with the parameters, as the session does for one request.
  void execute(std::vector<std::string> params) {
    TIWForm::SessionBinding binding(page, session);
    page.Params() = std::move(params);
    page.ExecuteForm();
  }
  // The message of the error an execution raises ("" when none).
  std::string executeError(std::vector<std::string> params) {
    try {
      execute(std::move(params));
    } catch (const std::exception& e) {
      return e.what();
    }
    return {};
  }

  RecordingSession session;
  TIWForm page;
  TIWEdit& edit1 = page.addNew<TIWEdit>();
  TIWEdit& edit2 = page.addNew<TIWEdit>();
  TIWCheckBox& box = page.addNew<TIWCheckBox>();
  TIWButton& button = page.addNew<TIWButton>();
  TIWLabel& label = page.addNew<TIWLabel>();
  TIWComboBox& combo = page.addNew<TIWComboBox>();
  TIWRadioGroup& radio = page.addNew<TIWRadioGroup>();
  TIWRectangle& output = page.addNew<TIWRectangle>();
};

TEST_F(FormExecuteTest, PostedValuesReachTheirControlsBeforeTheSubmitHandlerRuns) {
  std::string seen;
  button.OnClick = [&](TIWCustomControl&) { seen = edit1.Text() + "|" + edit2.Text(); };
  execute({"IW_FormName=ORVServerForm", "IW_FormClass=TORVServerForm", "EDIT1=60", "EDIT2=a b",
           "BOX_CHECKBOX=on", "COMBO=2", "RADIO_INPUT=1", "IW_Action=SOLVE", "IW_ActionParam="});
  EXPECT_EQ(seen, "60|a b");
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_EQ(radio.ItemIndex(), 1);
}

TEST_F(FormExecuteTest, RepeatedNamesArriveJoinedWithCommasInOrder) {
  execute({"EDIT1=a", "EDIT2=x", "edit1=b", "EDIT1=", "EDIT1=c", "IW_Action=SOLVE"});
  EXPECT_EQ(edit1.Text(), "a,b,,c");
  EXPECT_EQ(edit2.Text(), "x");
  // The combo box reads the text up to the first comma (a multiple-choice post).
  execute({"COMBO=2", "COMBO=2", "IW_Action=SOLVE"});
  EXPECT_EQ(combo.ItemIndex(), 2);
}

TEST_F(FormExecuteTest, InvisibleAndReadOnlyControlsKeepTheirValues) {
  edit1.setText("shown before");
  edit1.setVisible(false);
  edit2.setText("read only");
  edit2.setEditable(false);
  execute({"EDIT1=posted", "EDIT2=posted", "IW_Action=SOLVE"});
  EXPECT_EQ(edit1.Text(), "shown before");
  EXPECT_EQ(edit2.Text(), "read only");
}

TEST_F(FormExecuteTest, WithoutActionOrParameterNothingIsApplied) {
  bool clicked = false;
  button.OnClick = [&](TIWCustomControl&) { clicked = true; };
  execute({"EDIT1=posted", "IW_Action=", "IW_ActionParam="});
  EXPECT_EQ(edit1.Text(), "");
  EXPECT_FALSE(clicked);
  // An action parameter alone applies the values but submits to nobody.
  execute({"EDIT1=posted", "IW_Action=", "IW_ActionParam=default"});
  EXPECT_EQ(edit1.Text(), "posted");
  EXPECT_FALSE(clicked);
}

TEST_F(FormExecuteTest, SubmitErrorsNameTheControl) {
  struct Case {
    const char* name;
    std::vector<std::string> params;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"unknown control", {"IW_Action=NOSUCH"}, "Cannot find submit component."},
      {"label cannot submit",
       {"IW_Action=LABEL1"},
       "Submit control (Label1) does not have a handler."},
      {"rectangle cannot submit",
       {"IW_Action=out"},
       "Submit control (Out) does not have a handler."},
      {"button", {"IW_Action=solve"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(executeError(c.params), c.error);
  }
}

TEST_F(FormExecuteTest, ADisabledControlIsNotSubmittedTo) {
  int clicks = 0;
  std::string param;
  button.OnClick = [&](TIWCustomControl& sender) {
    ++clicks;
    param = static_cast<TIWButton&>(sender).SubmitParam();
  };
  execute({"IW_Action=SOLVE", "IW_ActionParam=p1"});
  button.setEnabled(false);
  execute({"IW_Action=SOLVE", "IW_ActionParam=p2"});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(param, "p1");
}

TEST_F(FormExecuteTest, ASilentAbortInAHandlerIsSwallowed) {
  button.OnClick = [](TIWCustomControl&) { throw SilentAbort(); };
  EXPECT_EQ(executeError({"IW_Action=SOLVE"}), "");
  button.OnClick = [](TIWCustomControl&) { throw std::runtime_error("handler failed"); };
  EXPECT_EQ(executeError({"IW_Action=SOLVE"}), "handler failed");
}

TEST_F(FormExecuteTest, ErrorsOfValueIntakeAreCollectedAndTheOtherValuesApplied) {
  PickyEdit& picky1 = page.addNew<PickyEdit>();
  picky1.setName("Picky1");
  PickyEdit& picky2 = page.addNew<PickyEdit>();
  picky2.setName("Picky2");
  box.OnChange = [](TIWCustomControl&) { throw std::runtime_error("change failed"); };

  EXPECT_EQ(executeError({"PICKY1=bad", "EDIT1=kept", "IW_Action=SOLVE"}),
            "The following exception occured\r\n  Picky1: 'bad' is not a valid value\r\n");
  EXPECT_EQ(edit1.Text(), "kept");

  EXPECT_EQ(executeError(
                {"PICKY1=bad", "BOX_CHECKBOX=on", "PICKY2=bad", "EDIT2=also", "IW_Action=SOLVE"}),
            "The following exceptions occured\r\n"
            "  Picky1: 'bad' is not a valid value\r\n"
            "  Picky2: 'bad' is not a valid value\r\n"
            "  Box: change failed\r\n");
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(edit2.Text(), "also");
}

TEST_F(FormExecuteTest, ChangeNotificationsRunAfterEveryValueIsIn) {
  std::string seenByOnChange;
  box.OnChange = [&](TIWCustomControl&) { seenByOnChange = edit1.Text(); };
  execute({"BOX_CHECKBOX=on", "EDIT1=later", "IW_Action=SOLVE"});
  EXPECT_EQ(seenByOnChange, "later");
  // An unchanged value notifies nobody.
  seenByOnChange = "none";
  execute({"BOX_CHECKBOX=ON", "IW_Action=SOLVE"});
  EXPECT_EQ(seenByOnChange, "none");
}

TEST_F(FormExecuteTest, ACallbackRunsAfterTheValuesWithTheRemainingParameters) {
  std::string seen;
  session.onCallBack = [&] { seen = edit1.Text(); };
  execute({"EDIT1=75", "EDIT1=76", "IW_FormName=ORVServerForm", "IW_Action=EDIT1", "IW_width=800",
           "IW_height=600", "callback=EDIT1.DoOnAsyncChange", "x=3"});
  ASSERT_EQ(session.calls.size(), 1u);
  EXPECT_EQ(session.calls[0].sender, "ORVServerForm");
  EXPECT_EQ(session.calls[0].name, "EDIT1.DoOnAsyncChange");
  EXPECT_EQ(seen, "75,76");
  EXPECT_EQ(session.calls[0].params,
            (std::vector<std::string>{"EDIT1=75,76", "callback=EDIT1.DoOnAsyncChange", "x=3"}));
}

TEST_F(FormExecuteTest, ACallbackWithoutControlFieldsChangesNoValue) {
  edit1.setText("unchanged");
  execute({"callback=EDIT1.DoOnAsyncClick", "x=1", "y=2", "IW_AjaxID=17"});
  EXPECT_EQ(edit1.Text(), "unchanged");
  ASSERT_EQ(session.calls.size(), 1u);
  EXPECT_EQ(session.calls[0].name, "EDIT1.DoOnAsyncClick");
}

TEST_F(FormExecuteTest, TheWindowSizeResizesThePageWhenBothArePosted) {
  struct Case {
    const char* name;
    std::vector<std::string> params;
    int width, height;
    bool recorded;
  };
  const std::vector<Case> cases = {
      {"both", {"IW_width=800", "IW_height=600"}, 800, 600, true},
      {"width not a number", {"IW_width=wide", "IW_height=500"}, 800, 500, true},
      {"only one", {"IW_width=300"}, 800, 500, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    session.width = -1;
    execute(c.params);
    EXPECT_EQ(page.Width(), c.width);
    EXPECT_EQ(page.Height(), c.height);
    EXPECT_EQ(session.width != -1, c.recorded);
  }
}

TEST_F(FormExecuteTest, HiddenFieldsTakeTheirPostedValues) {
  page.HiddenFields().add("Mode=old");
  page.HiddenFields().add("Other=kept");
  execute({"Mode=new", "IW_Action=SOLVE"});
  EXPECT_EQ(page.HiddenFields().value("Mode"), "new");
  EXPECT_EQ(page.HiddenFields().value("Other"), "kept");
}

TEST_F(FormExecuteTest, RefreshMarksAreClearedAndValuesFromTheBrowserLeaveNone) {
  output.setText("changed before");
  ASSERT_TRUE(output.DoRefreshControl());
  execute({"EDIT1=typed", "callback=EDIT1.DoOnAsyncChange"});
  EXPECT_FALSE(output.DoRefreshControl());
  EXPECT_FALSE(edit1.DoRefreshControl());
  // A change made by the callback is marked.
  session.onCallBack = [&] { output.setText("by the callback"); };
  execute({"EDIT1=again", "callback=EDIT1.DoOnAsyncChange"});
  EXPECT_TRUE(output.DoRefreshControl());
  EXPECT_FALSE(edit1.DoRefreshControl());
}

TEST_F(FormExecuteTest, TheComponentHashFindsFieldNamesWithoutRegardToCase) {
  page.RebuildComponentHash();
  EXPECT_EQ(page.FindComponentByHTMLName("edit1"), &edit1);
  EXPECT_EQ(page.FindComponentByHTMLName("BOX"), &box);
  EXPECT_EQ(page.FindComponentByHTMLName("box_checkbox"), &box);
  EXPECT_EQ(page.FindComponentByHTMLName("RADIO_INPUT"), &radio);
  EXPECT_EQ(page.FindComponentByHTMLName("nosuch"), nullptr);
}

TEST_F(FormExecuteTest, TheFormIdIsCheckedOnlyWithHandlerOptionAndASecondExecution) {
  page.setFormId("F123");
  int asked = 0;
  bool lastValid = false;
  page.OnCheckFormId = [&](TIWForm&, bool& valid) {
    ++asked;
    lastValid = valid;
  };
  execute({"IW_FormID_=wrong"});  // the option is off
  session.checkFormIds = true;
  execute({"IW_FormID_=F123"});
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(lastValid);
  EXPECT_EQ(executeError({"IW_FormID_=f123"}), "Invalid form Id");
  EXPECT_FALSE(lastValid);
  EXPECT_EQ(executeError({"EDIT1=x"}), "Invalid form Id");  // no id posted
  // The handler may accept the request after all.
  page.OnCheckFormId = [](TIWForm&, bool& valid) { valid = true; };
  EXPECT_EQ(executeError({"IW_FormID_=other"}), "");
  // Without a handler nothing is checked.
  page.OnCheckFormId = nullptr;
  EXPECT_EQ(executeError({"IW_FormID_=other"}), "");
}

TEST_F(FormExecuteTest, TheFirstExecutionAfterShowingIsNotChecked) {
  page.setFormId("F123");
  session.checkFormIds = true;
  page.OnCheckFormId = [](TIWForm&, bool&) {};
  EXPECT_EQ(executeError({"IW_FormID_=wrong"}), "");
  EXPECT_EQ(executeError({"IW_FormID_=wrong"}), "Invalid form Id");
}

TEST_F(FormExecuteTest, TheComboBoxRunsOnChangeOnlyWhileACallbackRuns) {
  int changes = 0;
  combo.OnChange = [&](TIWCustomControl&) { ++changes; };
  EXPECT_FALSE(page.IsProcessingAsyncEvent());
  session.onCallBack = [&] {
    EXPECT_TRUE(page.IsProcessingAsyncEvent());
    combo.setItemIndex(1);
  };
  execute({"callback=COMBO.DoOnAsyncChange"});
  EXPECT_EQ(changes, 1);
  combo.setItemIndex(2);  // outside a request
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace orv
