// The calculator page built from the fixture layout tests/testdata/app/full/PUMP.DLY,
// which uses every keyword at least once, checked item by item.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/Messages.h"
#include "app/WDiagramU.h"
#include "platform/TextMeasure.h"
#include "tests/app/PageTestSupport.h"

namespace orv {
namespace {

using test::ServerDir;

constexpr TIWColor kGrey = 0x808080;

class FullLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.copyFixture("full");
    dir_.writeBytes("pump.exe", "");  // the solver program, named in another letter case
    page_ = test::buildPage(dir_);
  }

  static int width(const std::string& s, const std::string& family, int size, unsigned style) {
    return TextMeasurer().GetWidth(s, family, size, style);
  }
  static int height(const std::string& s, const std::string& family, int size, unsigned style) {
    return TextMeasurer().GetHeight(s, family, size, style);
  }

  ServerDir dir_;
  std::unique_ptr<TORVServerForm> page_;
};

TEST_F(FullLayoutTest, FindsTheLayoutAndItsSolverProgram) {
  EXPECT_EQ(page_->MainDir, dir_.path());
  EXPECT_EQ(page_->DLYFile, dir_.path() + "PUMP.DLY");
  EXPECT_EQ(page_->ORVName, "pump.exe");
  EXPECT_EQ(page_->IMGDir, dir_.path() + "IMGS/");
  EXPECT_EQ(page_->DATADir, dir_.path() + "DATA/");
  EXPECT_EQ(std::filesystem::current_path().string() + "/", dir_.path());
  EXPECT_EQ(page_->ORVDLayout.size(), 46u);
  EXPECT_EQ(page_->ORVDLayout[8],
            "Centrifugal pump, water at 20 \xC2\xB0"
            "C");  // Windows-1252 read
  EXPECT_FALSE(page_->Status->Visible());
  ASSERT_NE(page_->SizeBitMap, nullptr);
}

TEST_F(FullLayoutTest, ListsHoldOneEntryPerItemLine) {
  EXPECT_EQ(page_->InputList.size(), 3u);  // two INPUT lines (one in lower case) and a DROPDOWN
  EXPECT_EQ(page_->OutputList.size(), 2u);
  EXPECT_EQ(page_->CheckBoxList.size(), 1u);
  EXPECT_EQ(page_->RadioGroupList.size(), 1u);
  EXPECT_EQ(page_->IMGList.size(), 4u);  // IMG, PLOT, LINE, PLOT
  EXPECT_EQ(page_->BoxList.size(), 2u);  // RULE, BOX
  EXPECT_EQ(page_->LabelList.size(), 1u);
  EXPECT_EQ(page_->MemoList.size(), 2u);
  EXPECT_EQ(page_->PlotList.size(), 2u);
}

TEST_F(FullLayoutTest, HeaderShowsThePortAndTheNextThreeLines) {
  EXPECT_EQ(page_->Header1->Caption(), "ORV Web Server Port 8001 Version 1.06");
  EXPECT_EQ(page_->Header2->Caption(), "Pump sizing");
  EXPECT_EQ(page_->Header3->Caption(),
            "Centrifugal pump, water at 20 \xC2\xB0"
            "C");
  EXPECT_EQ(page_->Header4->Caption(), "Enter the data, then press Calculate");
  for (TIWLabel* h : {page_->Header1, page_->Header2, page_->Header3, page_->Header4}) {
    EXPECT_EQ(h->Left(), 81);
    EXPECT_EQ(h->Width(), 500);
    EXPECT_EQ(h->Height(), 16);
    EXPECT_EQ(h->Alignment(), TAlignment::taCenter);
  }
}

TEST_F(FullLayoutTest, InputBuildsEditNameLabelAndUnitsLabel) {
  const InputRec& q = page_->InputList[0];
  EXPECT_EQ(q.VarName, "Q");
  EXPECT_EQ(q.Units, "m3/h");
  EXPECT_TRUE(q.ShowVarName);
  EXPECT_TRUE(q.ShowUnits);
  EXPECT_EQ(q.Lower, 0.0L);
  EXPECT_EQ(q.Upper, 1000.0L);
  EXPECT_EQ(q.Format, (DecForm{DecStyle::FixedDecimal, 2}));
  EXPECT_EQ(q.W, 100);
  EXPECT_EQ(q.H, 24);
  EXPECT_EQ(q.SizeNo, 16);
  EXPECT_EQ(q.FontNo, 0);
  EXPECT_EQ(q.StyleNo, 1);
  EXPECT_TRUE(q.BoldOn);
  EXPECT_FALSE(q.ItalicOn);
  EXPECT_FALSE(q.UnderlineOn);
  EXPECT_EQ(q.aIWComboBox, nullptr);
  EXPECT_FALSE(q.DropDown.has_value());

  ASSERT_NE(q.aIWInput, nullptr);
  const TIWEdit& edit = *q.aIWInput;
  EXPECT_STREQ(edit.ClassName(), "TIWEdit");
  EXPECT_EQ(edit.Text(), "25");
  EXPECT_EQ(edit.Left(), 120);
  EXPECT_EQ(edit.Top(), 40 + 24);
  EXPECT_EQ(edit.Width(), 110);
  EXPECT_EQ(edit.Height(), 24);
  EXPECT_FALSE(edit.Visible());
  EXPECT_EQ(edit.WebFont().FontName(), "Arial");
  EXPECT_EQ(edit.WebFont().Size(), 12);  // 16 pixels at 96 dpi
  EXPECT_EQ(edit.WebFont().Style(), unsigned{fsBold});
  EXPECT_EQ(edit.WebFont().Color(), 255);
  EXPECT_TRUE(static_cast<bool>(edit.OnAsyncChange));
  EXPECT_TRUE(static_cast<bool>(edit.OnAsyncClick));

  ASSERT_NE(q.VarNameLabel, nullptr);
  const TIWRectangle& name = *q.VarNameLabel;
  EXPECT_STREQ(name.ClassName(), "TIWRectangle");
  EXPECT_EQ(name.Text(), "Q=");
  EXPECT_EQ(name.Alignment(), TAlignment::taRightJustify);
  const int nameWidth = width("Q=", "Arial", 12, fsBold);
  const int nameHeight = height("Q=", "Arial", 12, fsBold);
  EXPECT_EQ(name.Width(), nameWidth);
  EXPECT_EQ(name.Height(), nameHeight);
  EXPECT_EQ(name.Left() + name.Width(), edit.Left());  // ends exactly at the edit box
  EXPECT_EQ(name.Top(), nameHeight < 24 ? 64 + (24 - nameHeight) / 2 : 64);
  EXPECT_FALSE(name.RenderSize());
  EXPECT_EQ(name.ZIndex(), 9000);
  EXPECT_EQ(name.Color(), clNone);
  EXPECT_FALSE(name.Visible());
  EXPECT_EQ(name.WebFont().FontName(), "Arial");
  EXPECT_EQ(name.WebFont().Size(), 12);
  EXPECT_EQ(name.WebFont().Style(), unsigned{fsBold});
  EXPECT_EQ(name.WebFont().Color(), 255);

  ASSERT_NE(q.UnitsLabel, nullptr);
  const TIWRectangle& units = *q.UnitsLabel;
  EXPECT_EQ(units.Text(), "[m3/h]");
  EXPECT_EQ(units.Left(), 120 + 110 + 3);
  EXPECT_EQ(units.Top(), 64);
  EXPECT_EQ(units.Width(), 40);  // 10 x 4 characters
  EXPECT_EQ(units.Height(), 24);
  EXPECT_EQ(units.Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(units.ZIndex(), 9000);
  EXPECT_FALSE(units.RenderSize());
  EXPECT_EQ(units.Color(), clNone);
  EXPECT_EQ(units.WebFont().Color(), 255);
  EXPECT_FALSE(units.Visible());
}

TEST_F(FullLayoutTest, LowerCaseInputWithEmptyUnitsBuildsNoUnitsLabel) {
  const InputRec& h = page_->InputList[1];
  EXPECT_EQ(h.VarName, "H$");
  EXPECT_TRUE(h.Units.empty());
  EXPECT_EQ(h.UnitsLabel, nullptr);
  EXPECT_EQ(h.Format.Style, DecStyle::StrVar);
  EXPECT_EQ(h.aIWInput->Text(), "water");
  EXPECT_EQ(h.aIWInput->Width(), 90);
  EXPECT_EQ(h.aIWInput->Height(), 21);
  EXPECT_EQ(h.aIWInput->WebFont().FontName(), "Times New Roman");
  EXPECT_EQ(h.aIWInput->WebFont().Size(), 10);  // 13 pixels: 9.75 points
  EXPECT_EQ(h.aIWInput->WebFont().Style(), unsigned{fsItalic | fsUnderline});  // style 6
  EXPECT_TRUE(h.ItalicOn);
  EXPECT_TRUE(h.UnderlineOn);
  EXPECT_FALSE(h.BoldOn);
  ASSERT_NE(h.VarNameLabel, nullptr);
  EXPECT_EQ(h.VarNameLabel->Text(), "H$=");
}

TEST_F(FullLayoutTest, DropDownShowsDisplayPartsAndKeepsWholeLines) {
  const InputRec& m = page_->InputList[2];
  EXPECT_EQ(m.aIWInput, nullptr);
  EXPECT_EQ(m.UnitsLabel, nullptr);
  ASSERT_NE(m.aIWComboBox, nullptr);
  ASSERT_TRUE(m.DropDown.has_value());
  EXPECT_EQ(*m.DropDown, (std::vector<std::string>{"Steel//k=45", "Copper//k=398", "LABEL"}));
  const TIWComboBox& combo = *m.aIWComboBox;
  EXPECT_STREQ(combo.ClassName(), "TIWComboBox");
  EXPECT_EQ(combo.Items().lines(), (std::vector<std::string>{"Steel", "Copper", "LABEL"}));
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(combo.Left(), 120);
  EXPECT_EQ(combo.Top(), 104);
  EXPECT_EQ(combo.Height(), 21);
  EXPECT_TRUE(combo.RenderSize());
  const int widest = std::max({width("Steel", "Arial", 11, 0), width("Copper", "Arial", 11, 0),
                               width("LABEL", "Arial", 11, 0)});
  EXPECT_EQ(m.W, widest);
  EXPECT_EQ(combo.Width(), widest + 24);
  EXPECT_EQ(m.H, 16);
  EXPECT_EQ(combo.WebFont().Size(), 11);  // 15 pixels: 11.25 points
  EXPECT_EQ(combo.WebFont().Color(), 0);  // the list text is black ...
  ASSERT_NE(m.VarNameLabel, nullptr);
  EXPECT_EQ(m.VarNameLabel->WebFont().Color(), 255);  // ... the name label keeps the line's red
  EXPECT_EQ(m.VarNameLabel->Text(), "Mat$=");
  EXPECT_EQ(m.VarNameLabel->Top(), 106);
  EXPECT_EQ(m.VarNameLabel->Height(), 21);
  EXPECT_EQ(m.VarNameLabel->Left(), 120 - m.VarNameLabel->Width());
  EXPECT_FALSE(combo.Visible());
  EXPECT_TRUE(static_cast<bool>(combo.OnAsyncChange));
  EXPECT_TRUE(static_cast<bool>(combo.OnAsyncClick));
}

TEST_F(FullLayoutTest, OutputsStartGreyAndStackByLine) {
  const OutputRec& p = page_->OutputList[0];
  EXPECT_EQ(p.VarName, "P");
  EXPECT_EQ(p.Units, "kW");
  EXPECT_EQ(p.Format, (DecForm{DecStyle::FixedDecimal, 2}));
  EXPECT_EQ(p.FontColor, 32768);
  ASSERT_NE(p.aIWOutput, nullptr);
  const TIWRectangle& out = *p.aIWOutput;
  EXPECT_EQ(out.Text(), " [kW]");
  EXPECT_EQ(out.WebFont().Color(), kGrey);
  EXPECT_EQ(out.ZIndex(), 30018);  // line index 17 + 1
  EXPECT_EQ(out.Color(), clNone);
  EXPECT_FALSE(out.RenderSize());
  EXPECT_FALSE(out.Visible());
  ASSERT_NE(p.VarNameLabel, nullptr);
  const int labelWidth = width("P=", "Arial", 12, 0);
  EXPECT_EQ(p.VarNameLabel->Left(), 120);
  EXPECT_EQ(p.VarNameLabel->Width(), labelWidth);
  EXPECT_EQ(p.VarNameLabel->Height(), 20);
  EXPECT_EQ(p.VarNameLabel->Top(), 164);
  EXPECT_EQ(p.VarNameLabel->ZIndex(), 30018);
  EXPECT_EQ(p.VarNameLabel->WebFont().Color(), 32768);
  EXPECT_EQ(out.Left(), 120 + labelWidth + 3);
  EXPECT_EQ(out.Width(), 80);
  EXPECT_EQ(p.W, width(" [kW]", "Arial", 12, 0));

  const OutputRec& eff = page_->OutputList[1];
  EXPECT_EQ(eff.aIWOutput->Text(), "0.0");  // units not shown
  EXPECT_EQ(eff.W, 0);
  EXPECT_EQ(eff.VarNameLabel, nullptr);
  EXPECT_EQ(eff.aIWOutput->ZIndex(), 30019);
  EXPECT_EQ(eff.aIWOutput->Left(), 400);
  EXPECT_EQ(eff.aIWOutput->WebFont().FontName(), "Arial");
  EXPECT_EQ(eff.aIWOutput->WebFont().Size(), 10);
  EXPECT_EQ(eff.aIWOutput->WebFont().Style(), unsigned{fsUnderline});
  EXPECT_EQ(eff.Format.Style, DecStyle::Auto);
}

TEST_F(FullLayoutTest, LabelKeepsItsSpaces) {
  const TIWRectangle& label = *page_->LabelList[0];
  EXPECT_EQ(label.Text(), "  Flow rate  ");
  EXPECT_EQ(label.Left(), 10);
  EXPECT_EQ(label.Top(), 64);
  EXPECT_EQ(label.Width(), 100);
  EXPECT_EQ(label.Height(), 20);
  EXPECT_EQ(label.ZIndex(), 9000);
  EXPECT_EQ(label.Alignment(), TAlignment::taLeftJustify);
  EXPECT_FALSE(label.RenderSize());
  EXPECT_EQ(label.WebFont().FontName(), "Arial");  // font number 1
  EXPECT_EQ(label.WebFont().Size(), 10);
  EXPECT_EQ(label.WebFont().Color(), 8388608);
  EXPECT_FALSE(label.Visible());
}

TEST_F(FullLayoutTest, MemoReadsItsFileOrStaysEmptyAtItsDefaults) {
  const TIWMemo& memo = *page_->MemoList[0];
  EXPECT_STREQ(memo.ClassName(), "TIWMemo");
  EXPECT_EQ(memo.Lines().lines(), (std::vector<std::string>{"Pump notes",
                                                            "Water at 20 \xC2\xB0"
                                                            "C",
                                                            "", "Last line"}));
  EXPECT_FALSE(memo.Editable());
  EXPECT_EQ(memo.Left(), 450);
  EXPECT_EQ(memo.Top(), 224);
  EXPECT_EQ(memo.Width(), 200);
  EXPECT_EQ(memo.Height(), 100);
  EXPECT_EQ(memo.WebFont().FontName(), "Courier New");
  EXPECT_EQ(memo.WebFont().Size(), 10);
  EXPECT_EQ(memo.WebFont().Style(), unsigned{fsBold});
  EXPECT_EQ(memo.WebFont().Color(), 128);
  EXPECT_FALSE(memo.Visible());

  const TIWMemo& missing = *page_->MemoList[1];
  EXPECT_TRUE(missing.Lines().empty());
  EXPECT_EQ(missing.Left(), 0);
  EXPECT_EQ(missing.Top(), 0);
  EXPECT_EQ(missing.Width(), 121);
  EXPECT_EQ(missing.Height(), 121);
  EXPECT_FALSE(missing.Visible());
}

TEST_F(FullLayoutTest, PicturesTakeTheirSizeAndStackingOrder) {
  const TIWImage& img = *page_->IMGList[0];
  EXPECT_STREQ(img.ClassName(), "TIWImage");
  EXPECT_EQ(img.Left(), 10);
  EXPECT_EQ(img.Top(), 224);
  EXPECT_EQ(img.Width(), 40);
  EXPECT_EQ(img.Height(), 30);
  EXPECT_EQ(img.ZIndex(), 0);
  EXPECT_EQ(img.OutputType(), TIWImageOutput::ioGIF);
  EXPECT_FALSE(img.Visible());

  const TIWImage& line = *page_->IMGList[2];
  EXPECT_EQ(line.ZIndex(), 9000);
  EXPECT_EQ(line.Width(), 3);
  EXPECT_EQ(line.Height(), 60);
  EXPECT_EQ(line.OutputType(), TIWImageOutput::ioGIF);

  // PLOT lines as the second and fourth picture lines.
  const PlotInfoRec& plot1 = page_->PlotList[0];
  EXPECT_EQ(plot1.theImage, page_->IMGList[1]);
  EXPECT_EQ(plot1.theImage->ZIndex(), 9002);
  EXPECT_EQ(plot1.PlotWindowNo, 1);
  EXPECT_EQ(plot1.FN, dir_.path() + "IMGS/plot1.gif");
  EXPECT_EQ(plot1.Width, 100);
  EXPECT_EQ(plot1.Height, 80);
  EXPECT_EQ(plot1.theImage->Left(), 250);
  EXPECT_EQ(plot1.theImage->Top(), 224);

  const PlotInfoRec& plot2 = page_->PlotList[1];
  EXPECT_EQ(plot2.theImage, page_->IMGList[3]);
  EXPECT_EQ(plot2.theImage->ZIndex(), 9004);
  EXPECT_EQ(plot2.PlotWindowNo, 2);
  EXPECT_EQ(plot2.FN, dir_.path() + "IMGS/plot2.gif");  // written PLOT2.GIF in the layout
  EXPECT_EQ(plot2.Width, 60);
  EXPECT_EQ(plot2.Height, 50);
}

TEST_F(FullLayoutTest, RuleAndBox) {
  const TIWRectangle& rule = *page_->BoxList[0];
  EXPECT_EQ(rule.Left(), 10);
  EXPECT_EQ(rule.Top(), 324);
  EXPECT_EQ(rule.Width(), 200);
  EXPECT_EQ(rule.Height(), 2);
  EXPECT_EQ(rule.ZIndex(), 9027);  // line index 26 + 1 + 9000
  EXPECT_EQ(rule.Color(), 0);
  EXPECT_EQ(rule.Text(), "");

  const TIWRectangle& box = *page_->BoxList[1];
  EXPECT_EQ(box.Left(), 5);
  EXPECT_EQ(box.Top(), 59);
  EXPECT_EQ(box.Width(), 690);
  EXPECT_EQ(box.Height(), 150);
  EXPECT_EQ(box.Color(), 15790320);
  EXPECT_EQ(box.BorderOptions().Color(), 0);
  EXPECT_EQ(box.BorderOptions().Width(), 1);
  EXPECT_EQ(box.Text(), "Section A");
  EXPECT_EQ(box.ZIndex(), 0);
}

TEST_F(FullLayoutTest, CheckBoxKeepsItsBlockInExtraTagParams) {
  const TIWCheckBox& box = *page_->CheckBoxList[0];
  EXPECT_STREQ(box.ClassName(), "TIWCheckBox");
  EXPECT_EQ(box.Caption(), "Insulated");
  EXPECT_EQ(box.Left(), 120);
  EXPECT_EQ(box.Top(), 354);
  EXPECT_EQ(box.Width(), 150);
  EXPECT_EQ(box.Height(), 20);
  EXPECT_EQ(box.WebFont().Size(), 10);
  EXPECT_EQ(box.WebFont().FontName(), "Arial");
  EXPECT_EQ(box.WebFont().Style(), unsigned{fsBold | fsItalic});  // style 3
  EXPECT_EQ(box.WebFont().Color(), 0);
  EXPECT_EQ(box.ExtraTagParams().lines(), (std::vector<std::string>{"Ins=1", "--", "Ins=0"}));
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(box.Style(), TIWCheckBoxStyle::stNormal);
  EXPECT_EQ(box.ZIndex(), 0);
  EXPECT_FALSE(box.Visible());
  EXPECT_TRUE(static_cast<bool>(box.OnAsyncChange));
  EXPECT_TRUE(static_cast<bool>(box.OnAsyncClick));
}

TEST_F(FullLayoutTest, RadioGroupKeepsCaptionsAndOneBlockPerButton) {
  const RadioGroupRec& rec = page_->RadioGroupList[0];
  EXPECT_EQ(rec.NButtons, 2);
  ASSERT_NE(rec.aIWRadio, nullptr);
  const TIWRadioGroup& group = *rec.aIWRadio;
  EXPECT_STREQ(group.ClassName(), "TIWRadioGroup");
  EXPECT_EQ(group.Items().lines(), (std::vector<std::string>{"Open", "Closed"}));
  EXPECT_EQ(rec.doWhenChecked[0], (std::vector<std::string>{"V=1"}));
  EXPECT_EQ(rec.doWhenChecked[1], (std::vector<std::string>{"V=0"}));
  for (std::size_t i = 2; i < rec.doWhenChecked.size(); ++i) {
    EXPECT_TRUE(rec.doWhenChecked[i].empty());
  }
  ASSERT_NE(rec.blockOfItem(1), nullptr);
  EXPECT_EQ(*rec.blockOfItem(1), (std::vector<std::string>{"V=0"}));
  EXPECT_EQ(rec.blockOfItem(2), nullptr);
  EXPECT_EQ(rec.blockOfItem(-1), nullptr);
  EXPECT_EQ(group.Layout(), TIWRadioGroupLayout::glHorizontal);  // two columns
  EXPECT_EQ(group.ItemIndex(), 0);
  EXPECT_EQ(group.ZIndex(), 30000);
  EXPECT_EQ(group.Left(), 300);
  EXPECT_EQ(group.Top(), 354);
  EXPECT_EQ(group.WebFont().Style(), unsigned{fsItalic});  // style 2
  EXPECT_EQ(group.WebFont().Color(), 255);
  EXPECT_FALSE(group.Visible());
}

TEST_F(FullLayoutTest, ButtonLinesPlaceTheButtonsAndTheirCompanions) {
  EXPECT_TRUE(page_->HasCalcButton);
  EXPECT_TRUE(page_->HasSaveButton);
  EXPECT_TRUE(page_->HasLoadButton);
  EXPECT_FALSE(page_->HasHelpButton);

  const TIWButton& solve = *page_->SolveButton;
  EXPECT_EQ(solve.Caption(), "Calculate");
  EXPECT_EQ(solve.Left(), 20);
  EXPECT_EQ(solve.Top(), 444);
  EXPECT_EQ(solve.Width(), 90);
  EXPECT_EQ(solve.Height(), 25);

  EXPECT_EQ(page_->SaveButton->Caption(), "Save set");
  EXPECT_EQ(page_->SaveEdit->Left(), 254 + 75 + 1);
  EXPECT_EQ(page_->SaveEdit->Top(), 464);
  EXPECT_EQ(page_->SaveEdit->Height(), 25);
  EXPECT_EQ(page_->SaveEdit->Width(), 107);
  EXPECT_EQ(page_->LoadFilesBox->Left(), 454 + 75 + 1);
  EXPECT_EQ(page_->LoadFilesBox->Width(), 123);
  EXPECT_EQ(page_->LoadFilesBox->Top(), 464);
  EXPECT_FALSE(page_->SaveEdit->Visible());
  EXPECT_FALSE(page_->LoadFilesBox->Visible());

  // The help button keeps its design.
  EXPECT_EQ(page_->HelpButton->Left(), 152);
  EXPECT_EQ(page_->HelpButton->Caption(), "Help");
}

TEST_F(FullLayoutTest, StatusSpansTheCountedControlsPlusOnePixel) {
  const OutputRec& p = page_->OutputList[0];
  const std::vector<int> rightEdges = {
      230,                        // INPUT Q
      233 + 40,                   // its units label
      300 + 90,                   // INPUT H$
      120 + 90 + 10,              // DROPDOWN at the width the line gave
      120 + 80,                   // OUTPUT P as placed
      p.aIWOutput->Left() + p.W,  // OUTPUT P's text with units
      400 + 60,                   // OUTPUT Eff
      10 + 100,                   // LABEL
      450 + 200,                  // MEMO
      121,                        // MEMO without its file
      10 + 40,
      250 + 100,
      5 + 3,
      360 + 60,  // IMG, PLOT, LINE, PLOT
      10 + 200,
      5 + 690,  // RULE, BOX
      120 + 150,
      300 + 200,  // CHECKBOX, RADIO
      20 + 90,
      254 + 75,
      454 + 75,  // CALCBUTTON, SAVEBUTTON, LOADBUTTON
  };
  const int maxX = *std::max_element(rightEdges.begin(), rightEdges.end());
  EXPECT_EQ(page_->MaxX(), maxX);
  EXPECT_EQ(page_->Status->Width(), maxX + 1);
}

TEST_F(FullLayoutTest, TitleScreenShowsOnlyHeadersAndContinue) {
  for (TIWCustomControl* c : page_->Components()) {
    const bool titleControl = c == page_->Header1 || c == page_->Header2 || c == page_->Header3 ||
                              c == page_->Header4 || c == page_->IWContinueB;
    EXPECT_EQ(c->Visible(), titleControl) << c->Name();
  }
}

TEST_F(FullLayoutTest, ContinueShowsTheDiagramAndTheRequestedButtons) {
  page_->IWContinueB->Submit("");  // the Continue button's click
  for (TIWCustomControl* c : page_->Components()) {
    const bool hidden = c == page_->Header1 || c == page_->Header2 || c == page_->Header3 ||
                        c == page_->Header4 || c == page_->IWContinueB || c == page_->HelpButton ||
                        c == page_->Status || c == page_->SaveEdit || c == page_->LoadFilesBox;
    EXPECT_EQ(c->Visible(), !hidden) << c->Name();
  }
}

TEST_F(FullLayoutTest, AnInputChangeGreysEveryOutput) {
  for (OutputRec& rec : page_->OutputList) rec.aIWOutput->WebFont().setColor(rec.FontColor);
  page_->InputList[0].aIWInput->DoAsyncEvent(TIWAsyncEventType::aeChange, StringList{});
  for (const OutputRec& rec : page_->OutputList) {
    EXPECT_EQ(rec.aIWOutput->WebFont().Color(), kGrey);
    if (rec.VarNameLabel) {
      EXPECT_EQ(rec.VarNameLabel->WebFont().Color(), rec.FontColor);
    }
  }
  page_->GrayOut();  // greying twice leaves them grey
  for (const OutputRec& rec : page_->OutputList) {
    EXPECT_EQ(rec.aIWOutput->WebFont().Color(), kGrey);
  }
}

TEST_F(FullLayoutTest, EveryInputControlGreysOutputsOnChangeAndClearsStatusOnClick) {
  std::vector<TIWCustomControl*> inputs = {
      page_->InputList[0].aIWInput, page_->InputList[1].aIWInput, page_->InputList[2].aIWComboBox,
      page_->CheckBoxList[0], page_->RadioGroupList[0].aIWRadio};
  for (TIWCustomControl* input : inputs) {
    SCOPED_TRACE(input->Name());
    page_->OutputList[0].aIWOutput->WebFont().setColor(123);
    input->DoAsyncEvent(TIWAsyncEventType::aeChange, StringList{});
    EXPECT_EQ(page_->OutputList[0].aIWOutput->WebFont().Color(), kGrey);

    page_->Status->setText("Illegal input for Q = x");
    page_->Status->Show();
    page_->SaveEdit->Show();
    page_->LoadFilesBox->Show();
    input->DoAsyncEvent(TIWAsyncEventType::aeClick, StringList{});
    EXPECT_FALSE(page_->Status->Visible());
    EXPECT_EQ(page_->Status->Text(), "");
    EXPECT_FALSE(page_->SaveEdit->Visible());
    EXPECT_FALSE(page_->LoadFilesBox->Visible());
  }
}

TEST_F(FullLayoutTest, DestroyReleasesTheBuiltItemsOnce) {
  const std::size_t builtIn = 12;
  EXPECT_GT(page_->ComponentCount(), builtIn);
  page_->DoDestroy();
  EXPECT_EQ(page_->ComponentCount(), builtIn);
  EXPECT_TRUE(page_->InputList.empty());
  EXPECT_TRUE(page_->OutputList.empty());
  EXPECT_TRUE(page_->CheckBoxList.empty());
  EXPECT_TRUE(page_->RadioGroupList.empty());
  EXPECT_TRUE(page_->IMGList.empty());
  EXPECT_TRUE(page_->BoxList.empty());
  EXPECT_TRUE(page_->LabelList.empty());
  EXPECT_TRUE(page_->MemoList.empty());
  EXPECT_TRUE(page_->PlotList.empty());
  EXPECT_TRUE(page_->ORVDLayout.empty());
  EXPECT_EQ(page_->SizeBitMap, nullptr);
  page_->DoDestroy();  // a second call does nothing
  EXPECT_EQ(page_->ComponentCount(), builtIn);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// The demo calculation's layout builds, and its status bar spans its diagram.
TEST(DemoLayoutTest, PumpDemoBuilds) {
  test::ServerDir dir;
  std::filesystem::copy(std::string(ORV_SOURCE_DIR) + "/examples/pump", dir.path(),
                        std::filesystem::copy_options::recursive);
  dir.writeBytes("PUMP.EXE", "");
  auto page = test::buildPage(dir);
  EXPECT_EQ(page->DLYFile, dir.path() + "PUMP.DLY");
  EXPECT_FALSE(page->Status->Visible());
  EXPECT_FALSE(page->InputList.empty());
  EXPECT_FALSE(page->OutputList.empty());
  EXPECT_GT(page->Status->Width(), 1);
  page->IWContinueBClick(*page->IWContinueB);
  EXPECT_TRUE(page->SolveButton->Visible());
}

}  // namespace
}  // namespace orv
