#pragma once
// A picture on the page (the page's IMG, LINE and PLOT items). The picture is held in
// server memory; the rendering writes it, in OutputType's format, into a cache file of
// the page and points an "img" tag at that file's address (CacheFileHRef), reusing the
// file until the picture changes.
//
// A change of picture (Picture().LoadFromFile(...), setPicture, ...) forgets
// CacheFileHRef, takes the picture's size when AutoSize is on, marks the control, and
// with PreProcessImage writes the cache file at once and drops the picture from memory.
// Loading a missing or unreadable file raises PictureError and leaves the image as it
// was.
//
// Click handlers: OnClick, or OnMouseDown (with the click's coordinates); setting one
// through its setter clears the other. Only an image with a click handler submits and
// is in the tab order.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/controls/TIWCustomControl.h"
#include "framework/render/TIWBorderOptions.h"
#include "platform/Picture.h"

namespace orv {

enum class TIWImageOutput { ioJPEG, ioGIF, ioPNG };

class TIWImage : public TIWCustomControl {
 public:
  TIWImage();
  const char* ClassName() const override { return "TIWImage"; }

  // Rendering (TIWImageRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::string RenderStyle(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;
  void HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents) override;

  // The picture; loading or assigning through it counts as a change of picture.
  orv::Picture& Picture() { return picture_; }
  const orv::Picture& Picture() const { return picture_; }
  // Assigns a picture object; OutputType follows it: ioGIF for a GIF picture, ioJPEG
  // for a JPEG picture, ioPNG for anything else.
  void setPicture(const orv::Picture& picture);

  TIWImageOutput OutputType() const { return outputType_; }
  void setOutputType(TIWImageOutput type);
  // The same as RenderSize; turning it on turns AutoSize off.
  bool UseSize() const { return RenderSize(); }
  void setUseSize(bool value);
  TIWBorderOptions& BorderOptions() { return borderOptions_; }
  const TIWBorderOptions& BorderOptions() const { return borderOptions_; }
  const std::string& AltText() const { return altText_; }
  void setAltText(const std::string& text);
  bool RenderEmptyAsSpan() const { return renderEmptyAsSpan_; }
  void setRenderEmptyAsSpan(bool value);
  bool PreProcessImage() const { return preProcessImage_; }
  void setPreProcessImage(bool value) { preProcessImage_ = value; }
  // Address of the cache file written for the current picture; empty until written.
  const std::string& CacheFileHRef() const { return cacheFileHRef_; }
  void setCacheFileHRef(const std::string& href) { cacheFileHRef_ = href; }

  // No cache file and no picture (or an empty one).
  bool IsEmpty() const { return cacheFileHRef_.empty() && picture_.Empty(); }
  // The picture as a file in OutputType's format: the loaded bytes unchanged when the
  // picture already is in that format, else converted (no transparent colour). Throws
  // PictureError for an empty picture.
  std::vector<std::uint8_t> OutputPicture() const;
  // "image/jpeg", "image/gif" or "image/png" after OutputType.
  const char* OutputContentType() const;

  void setOnClick(NotifyEvent handler);
  void setOnMouseDown(MouseEvent handler);
  MouseEvent OnMouseDown;

  bool HasTabOrder() const override {
    return static_cast<bool>(OnClick) || static_cast<bool>(OnMouseDown);
  }
  bool SupportsSubmit() const override { return HasTabOrder(); }

 protected:
  // Runs OnClick; or, for OnMouseDown, reads the parameter as "x,y".
  void DoSubmit() override;

 private:
  void pictureChanged();

  orv::Picture picture_;
  TIWImageOutput outputType_ = TIWImageOutput::ioPNG;
  TIWBorderOptions borderOptions_;
  std::string altText_;
  bool renderEmptyAsSpan_ = true;
  bool preProcessImage_ = false;
  std::string cacheFileHRef_;
  bool droppingPicture_ = false;  // the picture is being dropped after pre-processing
};

}  // namespace orv
