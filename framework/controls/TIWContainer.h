#pragma once
// Base of everything that holds controls; the page class (TIWAppForm) builds on it.
//
// A container owns its controls (unique ownership, freed with it, the last created
// first) and keeps:
//  - the component list: controls in the order they were added — the order in which a
//    page offers them for rendering and walks them for posted values;
//  - the tab list: the same controls in tab order; a control's TabOrder is its index
//    there. A control added at run time goes to the end of it;
//  - a name index: component names are unique within the container without regard to
//    case. A control added without a name is named after its class followed by the
//    smallest number from 1 up that no component bears (TIWEdit1, TIWEdit2, ...).
//
// The virtual members are the seams that a page fills in: the active control, the
// default action, containers that collect child values, and page-owned cache files.
// Used only by the thread that holds the page's session.
#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/controls/TIWCustomControl.h"

namespace orv {

class TIWControl;

class TIWContainer {
 public:
  TIWContainer() = default;
  TIWContainer(const TIWContainer&) = delete;
  TIWContainer& operator=(const TIWContainer&) = delete;
  virtual ~TIWContainer();

  virtual const char* ClassName() const { return "TIWContainer"; }
  const std::string& Name() const { return name_; }
  void setName(const std::string& name) { name_ = name; }

  // Creates a control owned by this container, names it when it has no name yet, and
  // appends it to the component list and the tab list. The reference stays valid until
  // the control is removed or the container is destroyed.
  template <std::derived_from<TIWCustomControl> T, class... Args>
  T& addNew(Args&&... args) {
    auto control = std::make_unique<T>(std::forward<Args>(args)...);
    T& added = *control;
    insertControl(std::move(control));
    return added;
  }

  // Destroys one of this container's controls (after dropping every link to it).
  void removeControl(TIWCustomControl& control);

  // Controls in the order they were added.
  const std::vector<TIWCustomControl*>& Components() const { return components_; }
  std::size_t ComponentCount() const { return components_.size(); }
  // Controls in tab order.
  const std::vector<TIWCustomControl*>& TabList() const { return tabList_; }

  // The component of that name (case ignored), or none.
  TIWCustomControl* FindComponent(std::string_view name) const;
  // ClassName followed by the smallest number from 1 up that no component bears.
  std::string UniqueComponentName(std::string_view className) const;

  // Appended to the HTML name of every child; a page's prefix is empty.
  virtual std::string ContainerPrefix() const { return {}; }

  // The control to focus after the next render (SetFocus sets it).
  TIWCustomControl* ActiveControl() const { return activeControl_; }
  virtual void setActiveControl(TIWCustomControl* control) { activeControl_ = control; }

  // Whether the page is answering an asynchronous callback right now (a combo box then
  // runs its OnChange when its selection changes).
  virtual bool IsProcessingAsyncEvent() const { return false; }

  // The page's default action, run by an edit's submit when it has no OnSubmit.
  virtual void DoDefaultAction() {}

  // Containers that collect their children's posted values say so and take them here.
  virtual bool CollectsChildValues() const { return false; }
  virtual void SetChildValue(TIWControl& /*child*/, const std::string& /*value*/) {}

  // Stores bytes in a cache file that lives as long as this page and returns its
  // address; none while no cache is attached (a bare container).
  virtual std::optional<std::string> StoreCacheFile(const std::string& /*contentType*/,
                                                    const std::vector<std::uint8_t>& /*bytes*/) {
    return std::nullopt;
  }

 private:
  friend class TIWToolkitBaseControl;
  friend class TIWBaseHTMLControl;

  void insertControl(std::unique_ptr<TIWCustomControl> control);
  // Validates and records a new name of one of this container's controls.
  void renameComponent(TIWToolkitBaseControl& control, const std::string& newName);
  void checkNewName(const std::string& name) const;
  int tabIndexOf(const TIWBaseHTMLControl& control) const;
  void moveInTabList(TIWBaseHTMLControl& control, int index);

  std::string name_;
  std::vector<std::unique_ptr<TIWCustomControl>> owned_;       // in creation order
  std::vector<TIWCustomControl*> components_;                  // the same controls, same order
  std::vector<TIWCustomControl*> tabList_;                     // the same controls, tab order
  std::unordered_map<std::string, TIWCustomControl*> byName_;  // key: upper-cased name
  TIWCustomControl* activeControl_ = nullptr;                  // one of owned_, or none
};

}  // namespace orv
