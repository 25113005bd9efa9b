// The common control: asynchronous event dispatch, submit settings, and TIWControl's
// value hand-over to a collecting container.
#include "framework/controls/TIWCustomControl.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWContainer.h"
#include "framework/controls/TIWControl.h"
#include "framework/controls/TIWEdit.h"

namespace orv {
namespace {

TEST(TIWCustomControlTest, AsyncDispatcherRunsTheAssignedHandlerWithItsParameters) {
  TIWEdit edit;
  const StringList params({"x=12", "y=7", "which=1", "modifiers=SHIFT_MASK,"});
  int calls = 0;
  edit.OnAsyncClick = [&](TIWCustomControl& sender, const StringList& eventParams) {
    ++calls;
    EXPECT_EQ(&sender, &edit);
    EXPECT_EQ(&eventParams, &params);
    EXPECT_EQ(sender.GetAsyncParam("X"), "12");
    EXPECT_EQ(sender.GetAsyncParam("y", -1), 7);
    EXPECT_EQ(sender.GetAsyncParam("modifiers", -1), -1);  // not a number: the default
    EXPECT_EQ(sender.GetAsyncParam("missing"), "");
  };
  edit.DoAsyncEvent(TIWAsyncEventType::aeClick, params);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(edit.AsyncParams(), nullptr);  // only while the handler runs
  EXPECT_EQ(edit.GetAsyncParam("x"), "");
  edit.DoAsyncEvent(TIWAsyncEventType::aeChange, params);  // no handler: nothing
  EXPECT_EQ(calls, 1);
}

TEST(TIWCustomControlTest, AsyncHandlersOfADisabledControlDoNotRun) {
  TIWEdit edit;
  int calls = 0;
  edit.OnAsyncChange = [&](TIWCustomControl&, const StringList&) { ++calls; };
  edit.setEnabled(false);
  edit.DoAsyncEvent(TIWAsyncEventType::aeChange, StringList());
  EXPECT_EQ(calls, 0);
  edit.setEnabled(true);
  edit.DoAsyncEvent(TIWAsyncEventType::aeChange, StringList());
  EXPECT_EQ(calls, 1);
}

TEST(TIWCustomControlTest, ParametersAreRestoredWhenAHandlerThrows) {
  TIWEdit edit;
  edit.OnAsyncExit = [](TIWCustomControl&, const StringList&) { throw std::runtime_error("boom"); };
  EXPECT_THROW(edit.DoAsyncEvent(TIWAsyncEventType::aeExit, StringList({"a=1"})),
               std::runtime_error);
  EXPECT_EQ(edit.AsyncParams(), nullptr);
}

TEST(TIWCustomControlTest, EachEventKindHasItsOwnSlot) {
  TIWButton button;
  for (int e = 0; e < kAsyncEventTypeCount; ++e) {
    const auto type = static_cast<TIWAsyncEventType>(e);
    int hits = 0;
    button.AsyncEventHandler(type) = [&](TIWCustomControl&, const StringList&) { ++hits; };
    button.DoAsyncEvent(type, StringList());
    EXPECT_EQ(hits, 1) << "event " << e;
    for (int other = 0; other < kAsyncEventTypeCount; ++other) {
      if (other != e) {
        EXPECT_FALSE(button.AsyncEventHandler(static_cast<TIWAsyncEventType>(other)));
      }
    }
    button.AsyncEventHandler(type) = nullptr;
  }
  EXPECT_EQ(&button.AsyncEventHandler(TIWAsyncEventType::aeUnLoad), &button.OnAsyncUnLoad);
  EXPECT_EQ(&button.AsyncEventHandler(TIWAsyncEventType::aeMouseDown), &button.OnAsyncMouseDown);
}

TEST(TIWCustomControlTest, LockOnAsyncEventsIsASetOfEventBits) {
  TIWButton button;
  button.setLockOnAsyncEvents(asyncEventBit(TIWAsyncEventType::aeClick) |
                              asyncEventBit(TIWAsyncEventType::aeUnLoad));
  EXPECT_EQ(button.LockOnAsyncEvents(), 0x8001u);
}

TEST(TIWCustomControlTest, SubmitOnAsyncEventFollowsInputUntilSet) {
  TIWEdit edit;
  TIWButton button;
  EXPECT_TRUE(edit.SubmitOnAsyncEvent());
  EXPECT_FALSE(button.SubmitOnAsyncEvent());
  edit.setSubmitOnAsyncEvent(false);
  button.setSubmitOnAsyncEvent(true);
  EXPECT_FALSE(edit.SubmitOnAsyncEvent());
  EXPECT_TRUE(button.SubmitOnAsyncEvent());
}

class CollectingContainer : public TIWContainer {
 public:
  bool CollectsChildValues() const override { return true; }
  void SetChildValue(TIWControl& child, const std::string& value) override {
    received = child.Name() + "=" + value;
  }
  std::string received;
};

class PlainInput : public TIWControl {
 public:
  const char* ClassName() const override { return "PlainInput"; }
  bool SupportsInput() const override { return true; }
};

TEST(TIWCustomControlTest, TIWControlHandsValuesToACollectingContainerAndMarksItself) {
  CollectingContainer region;
  PlainInput& input = region.addNew<PlainInput>();
  input.SetValue("42");
  EXPECT_EQ(region.received, "PlainInput1=42");
  EXPECT_TRUE(input.DoRefreshControl());
  input.Submit("p");
  EXPECT_EQ(input.GetSubmitParam(), "p");

  TIWContainer page;  // collects nothing
  PlainInput& other = page.addNew<PlainInput>();
  other.SetValue("1");
  EXPECT_TRUE(other.DoRefreshControl());
}

}  // namespace
}  // namespace orv
