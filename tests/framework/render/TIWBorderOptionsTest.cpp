#include "framework/render/TIWBorderOptions.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(TIWBorderOptionsTest, DefaultsAndStyleText) {
  TIWBorderOptions border;
  EXPECT_EQ(border.Color(), clNone);
  EXPECT_EQ(border.Width(), 0);
  EXPECT_EQ(border.RenderStyle(), "border-width: 0px; border-style: solid; ");
  border.setWidth(1);
  border.setColor(clWebNAVY);
  EXPECT_EQ(border.RenderStyle(),
            "border-width: 1px; border-style: solid; border-color: #000080; ");
}

TEST(TIWBorderOptionsTest, NegativeWidthIsStoredAsZero) {
  TIWBorderOptions border;
  border.setWidth(3);
  border.setWidth(-5);
  EXPECT_EQ(border.Width(), 0);
}

TEST(TIWBorderOptionsTest, ReportsRealChangesOnly) {
  TIWBorderOptions border;
  int changes = 0;
  border.OnChange = [&](TIWBorderOptions&) { ++changes; };
  border.setWidth(0);
  border.setWidth(-1);
  border.setColor(clNone);
  EXPECT_EQ(changes, 0);
  border.setWidth(2);
  border.setColor(clWebRED);
  EXPECT_EQ(changes, 2);
  TIWBorderOptions other;
  other.Assign(border);
  EXPECT_EQ(other.Width(), 2);
  EXPECT_EQ(other.Color(), clWebRED);
}

}  // namespace
}  // namespace orv
