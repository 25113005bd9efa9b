#pragma once
// The widget-toolkit side of every control: component name, container, position and
// size, enabled state, visibility, hint, alignment, anchors and AutoSize.
//
// A control is owned by the container it was added to (TIWContainer::addNew); its
// Parent() and Owner() are that container, a non-owning link valid for the control's
// whole life. A control created on its own (no container) has neither. Controls are
// used only by the thread that holds their page's session.
//
// Changes that the browser must see call the virtual Invalidate(), which the common
// control (TIWCustomControl) turns into its refresh mark.
#include <string>

#include "framework/controls/ControlTypes.h"

namespace orv {

class TIWContainer;

class TIWToolkitBaseControl {
 public:
  TIWToolkitBaseControl() = default;
  TIWToolkitBaseControl(const TIWToolkitBaseControl&) = delete;
  TIWToolkitBaseControl& operator=(const TIWToolkitBaseControl&) = delete;
  virtual ~TIWToolkitBaseControl() = default;

  // The class name, for example "TIWEdit"; run-time names are built from it.
  virtual const char* ClassName() const = 0;

  // The component name. Inside a container it must be a valid identifier that no other
  // component of the container bears (compared without regard to case).
  const std::string& Name() const { return name_; }
  void setName(const std::string& name);

  TIWContainer* Parent() const { return parent_; }
  TIWContainer* Owner() const { return parent_; }

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void setLeft(int left) { SetBounds(left, top_, width_, height_); }
  void setTop(int top) { SetBounds(left_, top, width_, height_); }
  void setWidth(int width) { SetBounds(left_, top_, width, height_); }
  void setHeight(int height) { SetBounds(left_, top_, width_, height); }
  virtual void SetBounds(int left, int top, int width, int height);

  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool Visible() const { return visible_; }
  virtual void setVisible(bool visible);

  const std::string& Hint() const { return hint_; }
  void setHint(const std::string& hint);
  bool ShowHint() const { return showHint_; }
  void setShowHint(bool show);
  bool ParentShowHint() const { return parentShowHint_; }
  void setParentShowHint(bool value) { parentShowHint_ = value; }

  TAlign Align() const { return align_; }
  void setAlign(TAlign align) { align_ = align; }
  unsigned Anchors() const { return anchors_; }
  void setAnchors(unsigned anchors) { anchors_ = anchors; }

  bool AutoSize() const { return autoSize_; }
  virtual void setAutoSize(bool autoSize) { autoSize_ = autoSize; }

  // Marks the control as changed for the browser; nothing at this level.
  virtual void Invalidate() {}

 protected:
  // Called by a control's constructor for its own start values, without marking.
  void initBounds(int left, int top, int width, int height);

 private:
  friend class TIWContainer;

  std::string name_;
  TIWContainer* parent_ = nullptr;  // the owning container, or none
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TAlign align_ = TAlign::alNone;
  unsigned anchors_ = akLeft | akTop;
  bool autoSize_ = false;
};

}  // namespace orv
