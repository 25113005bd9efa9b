#pragma once
// The browser-side event hooks of one control for one render:
//  - script code hooked to browser events (HookEvent), written as page functions
//    "<name>_<event>(event)" and attached to the control's client object with
//    <name>IWCL.HookEvent("<event without on>", <function>);
//  - the default handlers of its asynchronous events (HookDefaultHandler), written as
//    <name>IWCL.HookDefaultHandlers("OnChange;OnClick:Lock");
//  - client properties (SetProp), written as <name>IWCL.SetProps({...}).
//
// Filled by the control's HookEvents while it renders and emptied afterwards; used by
// the rendering thread only.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

class TIWScriptEvents {
 public:
  // Adds script to an event (names like "OnClick", case ignored). The code is trimmed
  // (nothing for empty code); code containing "return " gets a missing final ";",
  // other code gets CR LF + "return true;" appended. The first code becomes the event's
  // code, later code goes to the event's list of hooked code.
  void HookEvent(std::string_view eventName, std::string_view code);
  // Adds an event to the default-handler list once; options (such as "Lock") are
  // attached to an entry already present.
  void HookDefaultHandler(std::string_view eventName, std::string_view options = {});
  // Sets a client property; `jsonValue` is already JSON ("true", "\"#FF0000\"").
  void SetProp(std::string_view name, std::string_view jsonValue);

  bool empty() const { return events_.empty() && defaultHandlers_.empty() && props_.empty(); }
  void Clear();

  // "OnChange;OnClick:Lock" (no trailing ";").
  std::string DefaultHandlers() const;

  struct Rendered {
    std::string functions;  // page script: one function per piece of hooked code
    std::string iwclLines;  // client-object lines, each "    " ... CR LF
    std::string onload;     // for an event named "load": the tag's onload attribute
  };
  // The script of the hooks of the control named htmlName.
  Rendered RenderEvents(std::string_view htmlName) const;

 private:
  struct Event {
    std::string name;  // lower case, "onclick"
    std::vector<std::string> code;
  };
  std::vector<Event> events_;
  std::vector<std::pair<std::string, std::string>> defaultHandlers_;  // name, options
  std::vector<std::pair<std::string, std::string>> props_;
};

}  // namespace orv
