#pragma once
// The application page: a page (TIWForm: controls, page settings, rendering) with its
// creation and destruction events. Before each render it takes the session's form
// action, so that the page posts to the address the session expects next.
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

#include "framework/controls/TIWForm.h"

namespace orv {

class TIWAppForm;

// Events of the page itself (the sender is the page).
using FormNotifyEvent = std::function<void(TIWAppForm& sender)>;

class TIWAppForm : public TIWForm {
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

  // Creation and destruction handlers of the page.
  FormNotifyEvent OnCreate;
  FormNotifyEvent OnDestroy;

 protected:
  void DoGenerateForm(RenderSession& session, std::string& out) override;

 private:
  bool created_ = false;
  bool destroyed_ = false;
};

}  // namespace orv
