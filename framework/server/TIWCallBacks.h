#pragma once
// TIWCallBacks: a session's named server callbacks. A page's render registers one
// callback per asynchronous event of each control under a qualified name (page name +
// "." + control HTML name + ".DoOnAsyncChange" and so on); an asynchronous request
// names the callback it wants run. Names compare without regard to ASCII case and are
// unique: registering a name again rebinds it.
//
// Owned by its session (TIWApplication) and used only by the thread that holds the
// session's lock. A callback holds no pointer into the page: it finds its control by
// name when it runs, so a page that changed since its last render is never entered
// through a stale link.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class TIWApplication;
class TIWForm;

// One registered callback. CallBackFunction is called with the request's parameters
// ("name=value").
struct TIWCallback {
  TIWApplication* Session = nullptr;  // the owning session (not owned)
  // The page that registered it (not owned; none for a callback of the session). The
  // session runs the callback only while that page is still one of its pages.
  const TIWForm* Page = nullptr;
  std::string Name;
  std::function<void(const std::vector<std::string>& params)> CallBackFunction;
};

class TIWCallBacks {
 public:
  using Function = std::function<void(const std::vector<std::string>& params)>;

  // Registers or rebinds `name`.
  void Register(TIWApplication* session, const std::string& name, Function function,
                const TIWForm* page = nullptr);
  // Removes `name`; nothing when it is not registered.
  void Unregister(std::string_view name);
  // The callback of that name, or none.
  const TIWCallback* Find(std::string_view name) const;
  std::size_t size() const { return callbacks_.size(); }
  bool empty() const { return callbacks_.empty(); }
  void clear() { callbacks_.clear(); }
  // The names in their sorted order.
  std::vector<std::string> Names() const;

 private:
  struct LessNoCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  std::map<std::string, TIWCallback, LessNoCase> callbacks_;
};

// `name` qualified with the page name: pageName + "." + name, unless it already starts
// with that prefix (case ignored) or the page has no name.
std::string QualifiedCallBackName(std::string_view pageName, std::string_view name);

}  // namespace orv
