// Ownership, run-time naming, the component list and the tab list of a container.
#include "framework/controls/TIWContainer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWImage.h"
#include "framework/controls/TIWLabel.h"
#include "framework/controls/TIWRectangle.h"

namespace orv {
namespace {

std::vector<std::string> names(const std::vector<TIWCustomControl*>& controls) {
  std::vector<std::string> result;
  for (const TIWCustomControl* c : controls) result.push_back(c->Name());
  return result;
}

TEST(TIWContainerTest, RunTimeControlsAreNamedAfterTheirClassWithTheSmallestFreeNumber) {
  TIWContainer page;
  EXPECT_EQ(page.addNew<TIWRectangle>().Name(), "TIWRectangle1");
  EXPECT_EQ(page.addNew<TIWRectangle>().Name(), "TIWRectangle2");
  EXPECT_EQ(page.addNew<TIWRectangle>().Name(), "TIWRectangle3");
  EXPECT_EQ(page.addNew<TIWEdit>().Name(), "TIWEdit1");  // numbers count per class name
}

TEST(TIWContainerTest, RunTimeNamingSkipsTakenNumbers) {
  TIWContainer page;
  TIWRectangle& first = page.addNew<TIWRectangle>();  // TIWRectangle1
  page.addNew<TIWLabel>().setName("TIWRectangle2");   // another component holds the name
  page.addNew<TIWButton>().setName("tiwrectangle4");  // names compare without case
  EXPECT_EQ(page.addNew<TIWRectangle>().Name(), "TIWRectangle3");
  EXPECT_EQ(page.addNew<TIWRectangle>().Name(), "TIWRectangle5");
  first.setName("Status");  // frees number 1
  EXPECT_EQ(page.addNew<TIWRectangle>().Name(), "TIWRectangle1");
  EXPECT_EQ(page.UniqueComponentName("TIWRectangle"), "TIWRectangle6");
}

TEST(TIWContainerTest, HtmlNameIsTheUpperCasedName) {
  TIWContainer page;
  TIWEdit& edit = page.addNew<TIWEdit>();
  edit.setName("Edit1");
  EXPECT_EQ(edit.HTMLName(), "EDIT1");
  EXPECT_EQ(edit.GetInputControlNames(), std::vector<std::string>{"EDIT1"});
  EXPECT_TRUE(edit.IsForThisControl("EDIT1"));
  EXPECT_FALSE(edit.IsForThisControl("Edit1"));
  EXPECT_FALSE(edit.IsForThisControl("EDIT"));
  TIWEdit loose;  // outside any container
  loose.setName("saveEdit");
  EXPECT_EQ(loose.HTMLName(), "SAVEEDIT");
}

class PrefixedContainer : public TIWContainer {
 public:
  std::string ContainerPrefix() const override { return "_REGION1"; }
};

TEST(TIWContainerTest, ContainerPrefixFollowsTheName) {
  PrefixedContainer region;
  TIWButton& button = region.addNew<TIWButton>();
  button.setName("Ok");
  EXPECT_EQ(button.HTMLName(), "OK_REGION1");
}

TEST(TIWContainerTest, NamesMustBeIdentifiersUniqueInTheContainer) {
  TIWContainer page;
  TIWEdit& edit = page.addNew<TIWEdit>();
  edit.setName("SaveEdit");
  TIWButton& button = page.addNew<TIWButton>();
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {"saveedit", "A component named saveedit already exists."},
      {"", "'' is not a valid component name."},
      {"1abc", "'1abc' is not a valid component name."},
      {"a b", "'a b' is not a valid component name."},
      {"x\"><script>", "'x\"><script>' is not a valid component name."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      button.setName(c.name);
      FAIL() << "accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(button.Name(), "TIWButton1");
  }
  edit.setName("SAVEEDIT");  // a change of case only
  EXPECT_EQ(page.FindComponent("saveedit"), &edit);
  button.setName("SaveButton");
  EXPECT_EQ(page.FindComponent("SAVEBUTTON"), &button);
  EXPECT_EQ(page.FindComponent("TIWButton1"), nullptr);
  EXPECT_EQ(page.UniqueComponentName("TIWButton"), "TIWButton1");
}

TEST(TIWContainerTest, ComponentListKeepsInsertionOrderAndParents) {
  TIWContainer page;
  TIWLabel& header = page.addNew<TIWLabel>();
  TIWButton& solve = page.addNew<TIWButton>();
  TIWEdit& edit = page.addNew<TIWEdit>();
  EXPECT_EQ(names(page.Components()),
            (std::vector<std::string>{"TIWLabel1", "TIWButton1", "TIWEdit1"}));
  EXPECT_EQ(page.ComponentCount(), 3u);
  for (TIWCustomControl* c : page.Components()) {
    EXPECT_EQ(c->Parent(), &page);
    EXPECT_EQ(c->Owner(), &page);
  }
  EXPECT_EQ(page.FindComponent("tiwlabel1"), &header);
  EXPECT_EQ(page.FindComponent("TIWButton1"), &solve);
  EXPECT_EQ(page.FindComponent("TIWEdit1"), &edit);
  EXPECT_EQ(page.FindComponent("nothing"), nullptr);
}

TEST(TIWContainerTest, ControlsAddedAtRunTimeGoToTheEndOfTheTabList) {
  TIWContainer page;
  TIWButton& a = page.addNew<TIWButton>();
  TIWLabel& label = page.addNew<TIWLabel>();
  TIWEdit& b = page.addNew<TIWEdit>();
  EXPECT_EQ(a.TabOrder(), 0);
  EXPECT_EQ(label.TabOrder(), -1);  // no tab order, whatever its place in the list
  EXPECT_EQ(b.TabOrder(), 2);
  EXPECT_EQ(names(page.TabList()),
            (std::vector<std::string>{"TIWButton1", "TIWLabel1", "TIWEdit1"}));
}

TEST(TIWContainerTest, SettingTabOrderMovesTheControlInTheTabList) {
  struct Case {
    const char* label;
    int moveThirdTo;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {"to the front", 0, {"C", "A", "B", "D"}},
      {"to the middle", 1, {"A", "C", "B", "D"}},
      {"to its own place", 2, {"A", "B", "C", "D"}},
      {"to the last place", 3, {"A", "B", "D", "C"}},
      {"-1 appends", -1, {"A", "B", "D", "C"}},
      {"other negatives append", -7, {"A", "B", "D", "C"}},
      {"beyond the end appends", 99, {"A", "B", "D", "C"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TIWContainer page;
    for (const char* n : {"A", "B", "C", "D"}) page.addNew<TIWButton>().setName(n);
    TIWCustomControl& third = *page.FindComponent("C");
    third.setTabOrder(c.moveThirdTo);
    EXPECT_EQ(names(page.TabList()), c.order);
    for (std::size_t i = 0; i < c.order.size(); ++i)
      EXPECT_EQ(page.FindComponent(c.order[i])->TabOrder(), int(i));
    EXPECT_EQ(names(page.Components()), (std::vector<std::string>{"A", "B", "C", "D"}));
  }
}

TEST(TIWContainerTest, DesignTimeTabOrdersAsThePageSetsThem) {
  // The calculator page's buttons and edits get tab orders 0..6 one by one, in an order
  // that differs from their creation order.
  TIWContainer page;
  TIWButton& continueButton = page.addNew<TIWButton>();
  TIWButton& save = page.addNew<TIWButton>();
  TIWEdit& saveEdit = page.addNew<TIWEdit>();
  save.setTabOrder(0);
  saveEdit.setTabOrder(1);
  continueButton.setTabOrder(2);
  EXPECT_EQ(save.TabOrder(), 0);
  EXPECT_EQ(saveEdit.TabOrder(), 1);
  EXPECT_EQ(continueButton.TabOrder(), 2);
}

TEST(TIWContainerTest, ImageIsInTheTabOrderOnlyWithAClickHandler) {
  TIWContainer page;
  page.addNew<TIWButton>();
  TIWImage& image = page.addNew<TIWImage>();
  EXPECT_EQ(image.TabOrder(), -1);
  image.setOnClick([](TIWCustomControl&) {});
  EXPECT_EQ(image.TabOrder(), 1);
  image.setOnClick(nullptr);
  EXPECT_EQ(image.TabOrder(), -1);
}

TEST(TIWContainerTest, RemovingAControlDestroysItAndDropsEveryLink) {
  TIWContainer page;
  TIWEdit& edit = page.addNew<TIWEdit>();
  TIWLabel& label = page.addNew<TIWLabel>();
  TIWButton& button = page.addNew<TIWButton>();
  label.setForControl(&edit);
  edit.SetFocus();
  EXPECT_EQ(page.ActiveControl(), &edit);
  page.removeControl(edit);
  EXPECT_EQ(page.ActiveControl(), nullptr);
  EXPECT_EQ(label.ForControl(), nullptr);
  EXPECT_EQ(page.FindComponent("TIWEdit1"), nullptr);
  EXPECT_EQ(names(page.Components()), (std::vector<std::string>{"TIWLabel1", "TIWButton1"}));
  EXPECT_EQ(button.TabOrder(), 1);
  EXPECT_EQ(page.addNew<TIWEdit>().Name(), "TIWEdit1");  // the name is free again
  TIWButton stranger;
  page.removeControl(stranger);  // not ours: nothing happens
  EXPECT_EQ(page.ComponentCount(), 3u);
}

// Counts destructions in the order they happen.
class CountingButton : public TIWButton {
 public:
  CountingButton(std::vector<std::string>& log, std::string tag)
      : log_(log), tag_(std::move(tag)) {}
  ~CountingButton() override { log_.push_back(tag_); }

 private:
  std::vector<std::string>& log_;
  std::string tag_;
};

TEST(TIWContainerTest, DestroysItsControlsLastCreatedFirst) {
  std::vector<std::string> log;
  {
    TIWContainer page;
    page.addNew<CountingButton>(log, "first");
    page.addNew<CountingButton>(log, "second");
    page.addNew<CountingButton>(log, "third");
  }
  EXPECT_EQ(log, (std::vector<std::string>{"third", "second", "first"}));
}

TEST(TIWContainerTest, SetFocusNeedsAControlThatCanReceiveFocus) {
  TIWContainer page;
  TIWRectangle& status = page.addNew<TIWRectangle>();
  try {
    status.SetFocus();
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Control cannot receive focus");
  }
  EXPECT_EQ(page.ActiveControl(), nullptr);
  TIWEdit& edit = page.addNew<TIWEdit>();
  edit.SetFocus();
  EXPECT_EQ(page.ActiveControl(), &edit);
  status.setCanReceiveFocus(true);
  status.SetFocus();
  EXPECT_EQ(page.ActiveControl(), &status);
  TIWEdit loose;
  EXPECT_NO_THROW(loose.SetFocus());  // no page to focus it on
}

}  // namespace
}  // namespace orv
