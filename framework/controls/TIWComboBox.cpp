#include "framework/controls/TIWComboBox.h"

#include "framework/controls/ControlText.h"
#include "framework/controls/TIWContainer.h"

namespace orv {

using detail::assignIfDifferent;

TIWComboBox::TIWComboBox() {
  initBounds(0, 0, 121, 21);
  setRenderSize(true);
  setCanReceiveFocus(true);
  // The list dies with this combo box.
  items_.OnChange = [this](const StringListChange& change) { itemsChanged(change); };
  setDoRefreshControl(false);
}

void TIWComboBox::setItemIndex(int index) {
  if (index < -1) index = -1;  // there is no entry before "nothing chosen"
  if (index == itemIndex_ || (index >= 0 && static_cast<std::size_t>(index) >= items_.size()))
    return;
  itemIndex_ = index;
  Invalidate();
  if (Parent() != nullptr && Parent()->IsProcessingAsyncEvent() && OnChange) OnChange(*this);
}

void TIWComboBox::setNoSelectionText(const std::string& text) {
  if (assignIfDifferent(noSelectionText_, text)) {
    itemsNeedSending_ = true;
    Invalidate();
  }
}
void TIWComboBox::setRequireSelection(bool value) {
  if (assignIfDifferent(requireSelection_, value)) {
    itemsNeedSending_ = true;
    Invalidate();
  }
}
void TIWComboBox::setItemsHaveValues(bool value) {
  if (assignIfDifferent(itemsHaveValues_, value)) {
    itemsNeedSending_ = true;
    Invalidate();
  }
}
void TIWComboBox::setRequired(bool value) {
  if (assignIfDifferent(required_, value)) Invalidate();
}
void TIWComboBox::setStyle(int style) {
  if (assignIfDifferent(style_, style)) Invalidate();
}
void TIWComboBox::setBGColor(TIWColor color) {
  if (assignIfDifferent(bgColor_, color)) Invalidate();
}
void TIWComboBox::setFocusColor(TIWColor color) {
  if (assignIfDifferent(focusColor_, color)) Invalidate();
}
void TIWComboBox::setButtonColor(TIWColor color) {
  if (assignIfDifferent(buttonColor_, color)) Invalidate();
}
void TIWComboBox::setBorderWidth(int width) {
  if (assignIfDifferent(borderWidth_, width < 0 ? 0 : width)) Invalidate();
}

std::string TIWComboBox::ItemText(std::size_t i) const {
  return itemsHaveValues_ ? StringList::nameOf(items_[i]) : items_[i];
}

std::string TIWComboBox::ItemValue(std::size_t i) const {
  return itemsHaveValues_ ? StringList::valueOf(items_[i]) : std::to_string(i);
}

std::string TIWComboBox::Text() const {
  return itemIndex_ < 0 ? std::string() : ItemText(static_cast<std::size_t>(itemIndex_));
}

std::string TIWComboBox::SelectedText() const { return itemIndex_ < 0 ? noSelectionText_ : Text(); }

void TIWComboBox::markSent() {
  itemsNeedSending_ = false;
  lastSentItemIndex_ = itemIndex_;
}

void TIWComboBox::SetValue(const std::string& value) {
  int index = -1;
  if (itemsHaveValues_) {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (StringList::valueOf(items_[i]) == value) {
        index = static_cast<int>(i);
        break;
      }
    }
  } else {
    index =
        detail::parseWholeNumber(std::string_view(value).substr(0, value.find(','))).value_or(-1);
  }
  setItemIndex(index);
  // The browser shows this choice already.
  lastSentItemIndex_ = itemIndex_;
  setDoRefreshControl(false);
}

void TIWComboBox::DoSubmit() {
  if (OnChange) OnChange(*this);
}

void TIWComboBox::itemsChanged(const StringListChange& change) {
  using Kind = StringListChange::Kind;
  const auto index = static_cast<int>(change.index);
  switch (change.kind) {
    case Kind::Inserted:
      if (itemIndex_ >= 0 && index <= itemIndex_) ++itemIndex_;
      break;
    case Kind::Deleted:
      if (index == itemIndex_ || items_.empty()) {
        itemIndex_ = -1;
      } else if (itemIndex_ >= 0 && index < itemIndex_) {
        --itemIndex_;
      }
      break;
    case Kind::Exchanged:
      if (itemIndex_ == index) {
        itemIndex_ = static_cast<int>(change.other);
      } else if (itemIndex_ == static_cast<int>(change.other)) {
        itemIndex_ = index;
      }
      break;
    case Kind::Changed:
      break;
    case Kind::Reset:
      itemIndex_ = -1;
      break;
  }
  itemsNeedSending_ = true;
  Invalidate();
}

}  // namespace orv
