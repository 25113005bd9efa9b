#pragma once
// The application page: a container of controls with the page-level settings that the
// page renderer reads (size, whether hidden controls are sent, locking, theme, ...)
// and the page's creation and destruction events.
//
// Lifecycle: a page class derives from TIWAppForm, builds its design-time controls in
// its constructor and assigns OnCreate / OnDestroy there. Whoever owns the page (the
// session) constructs it and then calls DoCreate(), which runs OnCreate once; an
// exception escaping OnCreate leaves the page to its owner, whose unique_ptr releases it
// with every control built so far (createForm does exactly that). Before releasing a
// page the owner calls DoDestroy(), which runs OnDestroy once; the destructor releases
// the controls in any case and raises no event.
//
// A page belongs to one session and is used only by the thread that holds the
// session's lock.
#include <concepts>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "framework/controls/TIWContainer.h"

namespace orv {

class TIWAppForm;

// Whether a page may be reached over plain HTTP, TLS, or either.
enum class TIWConnectionMode { cmAny, cmSecure, cmNonSecure };

// The page's background picture.
struct TIWBackground {
  std::string Filename;  // empty: no picture
  bool Fixed = false;    // the picture does not scroll with the page
};

// Events of the page itself (the sender is the page).
using FormNotifyEvent = std::function<void(TIWAppForm& sender)>;

class TIWAppForm : public TIWContainer {
 public:
  TIWAppForm();
  ~TIWAppForm() override;

  const char* ClassName() const override { return "TIWAppForm"; }

  // Constructs a page of class T and runs its creation event. If that throws, the page
  // and every control it created are released before the error passes on.
  template <std::derived_from<TIWAppForm> T, class... Args>
  static std::unique_ptr<T> createForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    form->DoCreate();
    return form;
  }

  // Runs OnCreate the first time it is called; later calls do nothing.
  void DoCreate();
  // Runs OnDestroy the first time it is called; later calls do nothing.
  void DoDestroy();
  bool Created() const { return created_; }
  bool Destroyed() const { return destroyed_; }

  // --- Page settings ----------------------------------------------------------------
  int Width() const { return width_; }
  int Height() const { return height_; }
  void setWidth(int width) { width_ = width; }
  void setHeight(int height) { height_ = height; }

  // Whether controls whose Visible is false are still sent (hidden) to the browser.
  bool RenderInvisibleControls() const { return renderInvisibleControls_; }
  void setRenderInvisibleControls(bool value) { renderInvisibleControls_ = value; }
  // Stored for the page's author; nothing in the program acts on it.
  bool AllowPageAccess() const { return allowPageAccess_; }
  void setAllowPageAccess(bool value) { allowPageAccess_ = value; }
  TIWConnectionMode ConnectionMode() const { return connectionMode_; }
  void setConnectionMode(TIWConnectionMode mode) { connectionMode_ = mode; }
  TIWBackground& Background() { return background_; }
  const TIWBackground& Background() const { return background_; }
  // Stored; no effect on the output.
  bool HandleTabs() const { return handleTabs_; }
  void setHandleTabs(bool value) { handleTabs_ = value; }
  bool LeftToRight() const { return leftToRight_; }
  void setLeftToRight(bool value) { leftToRight_ = value; }
  // The browser locks the page while it loads / on every submit.
  bool LockUntilLoaded() const { return lockUntilLoaded_; }
  void setLockUntilLoaded(bool value) { lockUntilLoaded_ = value; }
  bool LockOnSubmit() const { return lockOnSubmit_; }
  void setLockOnSubmit(bool value) { lockOnSubmit_ = value; }
  // Passed to controls whose ParentShowHint is set.
  bool ShowHint() const { return showHint_; }
  void setShowHint(bool value) { showHint_ = value; }
  bool XPTheme() const { return xpTheme_; }
  void setXPTheme(bool value) { xpTheme_ = value; }
  const std::string& Title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }

  // Creation and destruction handlers of the page.
  FormNotifyEvent OnCreate;
  FormNotifyEvent OnDestroy;

 private:
  int width_ = 0;
  int height_ = 0;
  bool renderInvisibleControls_ = false;
  bool allowPageAccess_ = true;
  TIWConnectionMode connectionMode_ = TIWConnectionMode::cmAny;
  TIWBackground background_;
  bool handleTabs_ = false;
  bool leftToRight_ = true;
  bool lockUntilLoaded_ = true;
  bool lockOnSubmit_ = true;
  bool showHint_ = true;
  bool xpTheme_ = true;
  std::string title_;
  bool created_ = false;
  bool destroyed_ = false;
};

}  // namespace orv
