#pragma once
// The border of a rectangle or an image: a solid line of a width in pixels and an
// optional colour.
//
// Belongs to one control, which hears every change through OnChange and marks itself
// for refresh. Not copyable (Assign copies the values, never the owner's OnChange).
// Used by the thread that holds the page's session.
#include <functional>
#include <string>

#include "framework/render/TIWColor.h"

namespace orv {

class TIWBorderOptions {
 public:
  TIWBorderOptions() = default;
  TIWBorderOptions(const TIWBorderOptions&) = delete;
  TIWBorderOptions& operator=(const TIWBorderOptions&) = delete;

  void Assign(const TIWBorderOptions& other);

  TIWColor Color() const { return color_; }
  void setColor(TIWColor color);
  // Pixels; a negative width is stored as 0.
  int Width() const { return width_; }
  void setWidth(int width);

  // "border-width: W px; border-style: solid; " + "border-color: C; " unless the
  // colour is clNone.
  std::string RenderStyle() const;

  std::function<void(TIWBorderOptions& sender)> OnChange;

 private:
  void changed();

  TIWColor color_ = clNone;
  int width_ = 0;
};

}  // namespace orv
