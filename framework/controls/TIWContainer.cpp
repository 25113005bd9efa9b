#include "framework/controls/TIWContainer.h"

#include <algorithm>
#include <stdexcept>

#include "framework/controls/ControlText.h"
#include "framework/controls/Messages.h"

namespace orv {

TIWContainer::~TIWContainer() {
  activeControl_ = nullptr;
  byName_.clear();
  tabList_.clear();
  components_.clear();
  while (!owned_.empty()) owned_.pop_back();  // the last created goes first
}

void TIWContainer::checkNewName(const std::string& name) const {
  if (!detail::isValidIdentifier(name)) {
    throw std::invalid_argument(detail::formatMessage(messages::kInvalidComponentName, name));
  }
  if (byName_.contains(detail::upperCaseAscii(name))) {
    throw std::invalid_argument(detail::formatMessage(messages::kComponentNameExists, name));
  }
}

void TIWContainer::insertControl(std::unique_ptr<TIWCustomControl> control) {
  if (control->name_.empty()) {
    control->name_ = UniqueComponentName(control->ClassName());
  } else {
    checkNewName(control->name_);
  }
  TIWCustomControl* added = control.get();
  owned_.reserve(owned_.size() + 1);
  components_.reserve(components_.size() + 1);
  tabList_.reserve(tabList_.size() + 1);
  byName_.emplace(detail::upperCaseAscii(added->name_), added);  // may throw: nothing changed yet
  owned_.push_back(std::move(control));                          // cannot throw after reserve
  components_.push_back(added);
  added->parent_ = this;
  // Its TabOrder becomes its position in the component list, which lies at or beyond the
  // tab list's end: the control is appended to the tab list.
  tabList_.push_back(added);
}

void TIWContainer::removeControl(TIWCustomControl& control) {
  auto owner = std::find_if(owned_.begin(), owned_.end(),
                            [&](const auto& p) { return p.get() == &control; });
  if (owner == owned_.end()) return;  // not one of ours
  std::erase(components_, &control);
  std::erase(tabList_, &control);
  byName_.erase(detail::upperCaseAscii(control.Name()));
  if (activeControl_ == &control) activeControl_ = nullptr;
  for (TIWCustomControl* other : components_) other->componentRemoved(control);
  owned_.erase(owner);
}

TIWCustomControl* TIWContainer::FindComponent(std::string_view name) const {
  auto found = byName_.find(detail::upperCaseAscii(name));
  return found == byName_.end() ? nullptr : found->second;
}

std::string TIWContainer::UniqueComponentName(std::string_view className) const {
  const std::string upperClass = detail::upperCaseAscii(className);
  for (unsigned n = 1;; ++n) {
    if (!byName_.contains(upperClass + std::to_string(n)))
      return std::string(className) + std::to_string(n);
  }
}

void TIWContainer::renameComponent(TIWToolkitBaseControl& control, const std::string& newName) {
  auto old = byName_.find(detail::upperCaseAscii(control.Name()));
  if (old == byName_.end() || static_cast<TIWToolkitBaseControl*>(old->second) != &control) return;
  const std::string newKey = detail::upperCaseAscii(newName);
  if (newKey == old->first) {
    return;  // only the letter case changes: same key, and the old name was valid
  }
  checkNewName(newName);
  TIWCustomControl* renamed = old->second;
  byName_.erase(old);
  byName_.emplace(newKey, renamed);
}

int TIWContainer::tabIndexOf(const TIWBaseHTMLControl& control) const {
  for (std::size_t i = 0; i < tabList_.size(); ++i) {
    if (static_cast<const TIWBaseHTMLControl*>(tabList_[i]) == &control) return static_cast<int>(i);
  }
  return -1;
}

void TIWContainer::moveInTabList(TIWBaseHTMLControl& control, int index) {
  auto current = std::find_if(tabList_.begin(), tabList_.end(), [&](TIWCustomControl* c) {
    return static_cast<TIWBaseHTMLControl*>(c) == &control;
  });
  if (current == tabList_.end()) return;
  TIWCustomControl* moved = *current;
  tabList_.erase(current);
  if (index < 0 || static_cast<std::size_t>(index) >= tabList_.size()) {
    tabList_.push_back(moved);
  } else {
    tabList_.insert(tabList_.begin() + index, moved);
  }
}

}  // namespace orv
