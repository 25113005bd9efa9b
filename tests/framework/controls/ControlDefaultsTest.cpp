// The start values of every control class.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWCheckBox.h"
#include "framework/controls/TIWComboBox.h"
#include "framework/controls/TIWControl.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWImage.h"
#include "framework/controls/TIWLabel.h"
#include "framework/controls/TIWMemo.h"
#include "framework/controls/TIWRadioGroup.h"
#include "framework/controls/TIWRectangle.h"

namespace orv {
namespace {

// A control of the common layers only.
class PlainControl : public TIWControl {
 public:
  const char* ClassName() const override { return "PlainControl"; }
};

struct CommonDefaults {
  const char* className;
  std::function<std::unique_ptr<TIWCustomControl>()> make;
  int width, height;
  bool renderSize;
  bool hasTabOrder;
  bool canReceiveFocus;
  bool supportsInput;
  bool supportsSubmit;
  TIWColor color;
  bool autoSize;
  bool nonEditableAsLabel;
  TIWCursor cursor;
};

template <class T>
std::function<std::unique_ptr<TIWCustomControl>()> maker() {
  return [] { return std::make_unique<T>(); };
}

TEST(ControlDefaultsTest, EveryClassStartsWithItsCommonDefaults) {
  const CommonDefaults cases[] = {
      // class, make, w, h, renderSize, tab, focus, input, submit, color, autoSize, asLabel, cursor
      {"PlainControl", maker<PlainControl>(), 24, 24, false, true, false, false, false, clNone,
       true, true, TIWCursor::crAuto},
      {"TIWButton", maker<TIWButton>(), 75, 25, true, true, true, false, true, clBtnFace, true,
       true, TIWCursor::crAuto},
      {"TIWEdit", maker<TIWEdit>(), 121, 21, true, true, true, true, true, clNone, true, false,
       TIWCursor::crAuto},
      {"TIWLabel", maker<TIWLabel>(), 121, 21, false, false, false, false, false, clNone, true,
       true, TIWCursor::crAuto},
      {"TIWRectangle", maker<TIWRectangle>(), 200, 100, true, false, false, false, false, clNone,
       true, true, TIWCursor::crAuto},
      {"TIWMemo", maker<TIWMemo>(), 121, 121, true, true, true, true, false, clNone, true, true,
       TIWCursor::crAuto},
      {"TIWComboBox", maker<TIWComboBox>(), 121, 21, true, true, true, true, true, clNone, true,
       true, TIWCursor::crAuto},
      {"TIWCheckBox", maker<TIWCheckBox>(), 121, 21, false, true, true, true, true, clNone, true,
       true, TIWCursor::crDefault},
      {"TIWRadioGroup", maker<TIWRadioGroup>(), 89, 112, false, false, false, true, true, clNone,
       true, true, TIWCursor::crAuto},
      {"TIWImage", maker<TIWImage>(), 89, 112, false, false, false, false, false, clNone, true,
       true, TIWCursor::crAuto},
  };
  for (const CommonDefaults& c : cases) {
    SCOPED_TRACE(c.className);
    const std::unique_ptr<TIWCustomControl> control = c.make();
    EXPECT_STREQ(control->ClassName(), c.className);
    EXPECT_EQ(control->Name(), "");
    EXPECT_EQ(control->Parent(), nullptr);
    EXPECT_EQ(control->Left(), 0);
    EXPECT_EQ(control->Top(), 0);
    EXPECT_EQ(control->Width(), c.width);
    EXPECT_EQ(control->Height(), c.height);
    EXPECT_TRUE(control->Visible());
    EXPECT_TRUE(control->Enabled());
    EXPECT_TRUE(control->ShowHint());
    EXPECT_EQ(control->Hint(), "");
    EXPECT_EQ(control->AutoSize(), c.autoSize);
    EXPECT_TRUE(control->Editable());
    EXPECT_EQ(control->NonEditableAsLabel(), c.nonEditableAsLabel);
    EXPECT_FALSE(control->NeedsFormTag());
    EXPECT_EQ(control->TabOrder(), -1);  // not in a container yet
    EXPECT_EQ(control->HasTabOrder(), c.hasTabOrder);
    EXPECT_EQ(control->Color(), c.color);
    EXPECT_EQ(control->WebFont().Size(), 10);
    EXPECT_EQ(control->WebFont().PxSize(), 13);
    EXPECT_EQ(control->WebFont().Color(), clNone);
    EXPECT_TRUE(control->ExtraTagParams().empty());
    EXPECT_FALSE(control->UseFrame());
    EXPECT_FALSE(control->DoRefreshControl());
    EXPECT_FALSE(control->RequiresRefresh());
    EXPECT_EQ(control->SubmitParam(), "");
    EXPECT_EQ(control->CanReceiveFocus(), c.canReceiveFocus);
    EXPECT_EQ(control->SupportsInput(), c.supportsInput);
    EXPECT_EQ(control->SupportsSubmit(), c.supportsSubmit);
    EXPECT_EQ(control->SubmitOnAsyncEvent(), c.supportsInput);
    EXPECT_EQ(control->Confirmation(), "");
    EXPECT_TRUE(control->DoSubmitValidation());
    EXPECT_EQ(control->LockOnAsyncEvents(), 0u);
    EXPECT_EQ(control->RenderSize(), c.renderSize);
    EXPECT_TRUE(
        control->StyleRenderOptions().RenderSize());  // every option but UseDisplay starts on
    EXPECT_TRUE(control->StyleRenderOptions().RenderPosition());
    EXPECT_TRUE(control->StyleRenderOptions().RenderFont());
    EXPECT_TRUE(control->StyleRenderOptions().RenderZIndex());
    EXPECT_TRUE(control->StyleRenderOptions().RenderVisibility());
    EXPECT_TRUE(control->StyleRenderOptions().RenderStatus());
    EXPECT_TRUE(control->StyleRenderOptions().RenderAbsolute());
    EXPECT_TRUE(control->StyleRenderOptions().RenderPadding());
    EXPECT_TRUE(control->StyleRenderOptions().RenderBorder());
    EXPECT_FALSE(control->StyleRenderOptions().UseDisplay());
    EXPECT_EQ(control->ZIndex(), 0);
    EXPECT_FALSE(control->Clip());
    EXPECT_EQ(control->Css(), "");
    EXPECT_EQ(control->WebCursor(), c.cursor);
    EXPECT_TRUE(control->SupportsPartial());
    EXPECT_EQ(control->Align(), TAlign::alNone);
    EXPECT_EQ(control->Anchors(), unsigned{akLeft | akTop});
    for (int e = 0; e < kAsyncEventTypeCount; ++e) {
      EXPECT_FALSE(control->AsyncEventHandler(static_cast<TIWAsyncEventType>(e))) << "event " << e;
    }
    EXPECT_FALSE(control->OnClick);
  }
}

TEST(ControlDefaultsTest, Button) {
  TIWButton button;
  EXPECT_EQ(button.Caption(), "");
  EXPECT_EQ(button.HotKey(), "");
  EXPECT_EQ(button.ButtonType(), TIWButtonType::btButton);
}

TEST(ControlDefaultsTest, Edit) {
  TIWEdit edit;
  EXPECT_EQ(edit.Text(), "");
  EXPECT_FALSE(edit.PasswordPrompt());
  EXPECT_EQ(edit.MaxLength(), 0);
  EXPECT_FALSE(edit.ReadOnly());
  EXPECT_FALSE(edit.Required());
  EXPECT_EQ(edit.Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(edit.BGColor(), clNone);
  EXPECT_EQ(edit.FocusColor(), clNone);
  EXPECT_EQ(edit.BorderWidth(), 1);
  EXPECT_FALSE(edit.OnSubmit);
}

TEST(ControlDefaultsTest, Label) {
  TIWLabel label;
  EXPECT_EQ(label.Caption(), "");
  EXPECT_EQ(label.Alignment(), TAlignment::taLeftJustify);
  EXPECT_TRUE(label.AutoSize());
  EXPECT_FALSE(label.RawText());
  EXPECT_FALSE(label.NoWrap());
  EXPECT_FALSE(label.ConvertSpaces());
  EXPECT_EQ(label.ForControl(), nullptr);
  EXPECT_EQ(label.BGColor(), clNone);
}

TEST(ControlDefaultsTest, Rectangle) {
  TIWRectangle rectangle;
  EXPECT_EQ(rectangle.Text(), "");
  EXPECT_EQ(rectangle.Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(rectangle.VAlign(), TIWVerticalAlign::vaMiddle);
  EXPECT_EQ(rectangle.BorderOptions().Color(), clNone);
  EXPECT_EQ(rectangle.BorderOptions().Width(), 0);
  rectangle.setHasTabOrder(true);  // never in the tab order, whatever page code says
  EXPECT_FALSE(rectangle.HasTabOrder());
}

TEST(ControlDefaultsTest, Memo) {
  TIWMemo memo;
  EXPECT_TRUE(memo.Lines().empty());
  EXPECT_EQ(memo.Text(), "");
  EXPECT_TRUE(memo.EndsWithCRLF());
  EXPECT_EQ(memo.BGColor(), clNone);
  EXPECT_TRUE(memo.VertScrollBar());
  EXPECT_FALSE(memo.HorizScrollBar());
  EXPECT_FALSE(memo.InvisibleBorder());
  EXPECT_EQ(memo.ResizeDirection(), TIWResizeDirection::rdBoth);
  EXPECT_EQ(memo.BorderWidth(), 1);
  EXPECT_FALSE(memo.Required());
}

TEST(ControlDefaultsTest, ComboBox) {
  TIWComboBox combo;
  EXPECT_TRUE(combo.Items().empty());
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.NoSelectionText(), "-- No Selection --");
  EXPECT_TRUE(combo.RequireSelection());
  EXPECT_FALSE(combo.ItemsHaveValues());
  EXPECT_FALSE(combo.Required());
  EXPECT_EQ(combo.Style(), 0);
  EXPECT_EQ(combo.BGColor(), clNone);
  EXPECT_EQ(combo.FocusColor(), clNone);
  EXPECT_EQ(combo.ButtonColor(), clBtnFace);
  EXPECT_TRUE(combo.UseSize());
  EXPECT_EQ(combo.BorderWidth(), 1);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(combo.SelectedText(), "-- No Selection --");
  EXPECT_TRUE(combo.ItemsNeedSending());
  EXPECT_FALSE(combo.OnChange);
}

TEST(ControlDefaultsTest, CheckBox) {
  TIWCheckBox check;
  EXPECT_EQ(check.Caption(), "");
  EXPECT_FALSE(check.Checked());
  EXPECT_EQ(check.Style(), TIWCheckBoxStyle::stNormal);
  EXPECT_FALSE(check.OnChange);
}

TEST(ControlDefaultsTest, RadioGroup) {
  TIWRadioGroup radio;
  EXPECT_TRUE(radio.Items().empty());
  EXPECT_EQ(radio.ItemIndex(), 0);
  EXPECT_EQ(radio.Layout(), TIWRadioGroupLayout::glVertical);
}

TEST(ControlDefaultsTest, Image) {
  TIWImage image;
  EXPECT_TRUE(image.Picture().Empty());
  EXPECT_EQ(image.OutputType(), TIWImageOutput::ioPNG);
  EXPECT_TRUE(image.AutoSize());
  EXPECT_FALSE(image.UseSize());
  EXPECT_EQ(image.BorderOptions().Color(), clNone);
  EXPECT_EQ(image.BorderOptions().Width(), 0);
  EXPECT_EQ(image.AltText(), "");
  EXPECT_TRUE(image.RenderEmptyAsSpan());
  EXPECT_FALSE(image.PreProcessImage());
  EXPECT_EQ(image.CacheFileHRef(), "");
  EXPECT_TRUE(image.IsEmpty());
  EXPECT_FALSE(image.OnMouseDown);
  EXPECT_STREQ(image.OutputContentType(), "image/png");
}

}  // namespace
}  // namespace orv
