#include "framework/controls/TIWImage.h"

#include <stdexcept>

#include "framework/controls/ControlText.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TIWContainer.h"

namespace orv {

using detail::assignIfDifferent;

namespace {

PictureFormat formatOf(TIWImageOutput type) {
  switch (type) {
    case TIWImageOutput::ioJPEG:
      return PictureFormat::Jpeg;
    case TIWImageOutput::ioGIF:
      return PictureFormat::Gif;
    case TIWImageOutput::ioPNG:
      break;
  }
  return PictureFormat::Png;
}

int coordinate(std::string_view text) {
  const auto value = detail::parseWholeNumber(text);
  if (!value) throw std::runtime_error(detail::formatMessage(messages::kInvalidInteger, text));
  return *value;
}

}  // namespace

TIWImage::TIWImage() {
  initBounds(0, 0, 89, 112);
  // The picture and the border die with this image.
  picture_.OnChange = [this](orv::Picture&) { pictureChanged(); };
  borderOptions_.OnChange = [this](TIWBorderOptions&) { Invalidate(); };
  setDoRefreshControl(false);
}

void TIWImage::setPicture(const orv::Picture& picture) {
  switch (picture.Format()) {
    case PictureFormat::Gif:
      outputType_ = TIWImageOutput::ioGIF;
      break;
    case PictureFormat::Jpeg:
      outputType_ = TIWImageOutput::ioJPEG;
      break;
    default:
      outputType_ = TIWImageOutput::ioPNG;
      break;
  }
  picture_.Assign(picture);
}

void TIWImage::setOutputType(TIWImageOutput type) {
  if (!assignIfDifferent(outputType_, type)) return;
  cacheFileHRef_.clear();  // the file written last has the other format
  Invalidate();
}

void TIWImage::setUseSize(bool value) {
  setRenderSize(value);
  if (value) setAutoSize(false);
}

void TIWImage::setAltText(const std::string& text) {
  if (assignIfDifferent(altText_, text)) Invalidate();
}

void TIWImage::setRenderEmptyAsSpan(bool value) {
  if (assignIfDifferent(renderEmptyAsSpan_, value)) Invalidate();
}

std::vector<std::uint8_t> TIWImage::OutputPicture() const {
  return picture_.SaveAs(formatOf(outputType_));
}

const char* TIWImage::OutputContentType() const {
  return pictureContentType(formatOf(outputType_));
}

void TIWImage::setOnClick(NotifyEvent handler) {
  OnClick = std::move(handler);
  if (OnClick) OnMouseDown = nullptr;
  Invalidate();
}

void TIWImage::setOnMouseDown(MouseEvent handler) {
  OnMouseDown = std::move(handler);
  if (OnMouseDown) OnClick = nullptr;
  Invalidate();
}

void TIWImage::DoSubmit() {
  if (OnClick) {
    OnClick(*this);
    return;
  }
  if (!OnMouseDown) return;
  const std::string& param = SubmitParam();
  const std::size_t comma = param.find(',');
  const std::string_view text(param);
  const int x = coordinate(text.substr(0, comma));
  const int y =
      coordinate(comma == std::string::npos ? std::string_view() : text.substr(comma + 1));
  OnMouseDown(*this, x, y);
}

void TIWImage::pictureChanged() {
  if (droppingPicture_) return;
  cacheFileHRef_.clear();
  if (AutoSize() && picture_.Width() > 0 && picture_.Height() > 0) {
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  }
  Invalidate();
  if (preProcessImage_ && !picture_.Empty() && Parent() != nullptr) {
    const std::optional<std::string> href =
        Parent()->StoreCacheFile(OutputContentType(), OutputPicture());
    if (href) {
      cacheFileHRef_ = *href;
      droppingPicture_ = true;
      picture_.Clear();
      droppingPicture_ = false;
    }
  }
}

}  // namespace orv
