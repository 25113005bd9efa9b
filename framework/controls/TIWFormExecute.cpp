// TIWForm: executing one request of the page (full submits and asynchronous callbacks
// alike) — the refresh marks, the form-id check, the submit action and the callback
// name, the window size, the posted values and their change notifications, and the
// submit to the control that asked for it. Rendering is in TIWForm.cpp.
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/controls/ControlText.h"
#include "framework/controls/FormEventSession.h"
#include "framework/controls/Messages.h"
#include "framework/controls/SilentAbort.h"
#include "framework/controls/StringList.h"
#include "framework/controls/TIWForm.h"
#include "framework/render/MarkupText.h"
#include "framework/render/RenderSession.h"

namespace orv {

namespace {

std::string upperAscii(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// Index of the first parameter named `name` (case ignored), or -1.
int findParam(const std::vector<std::string>& params, std::string_view name) {
  for (std::size_t i = 0; i < params.size(); ++i)
    if (equalsIgnoringCase(StringList::nameOf(params[i]), name)) return static_cast<int>(i);
  return -1;
}

// Removes the first parameter named `name` and returns its value (empty when absent).
std::string takeParam(std::vector<std::string>& params, std::string_view name) {
  const int i = findParam(params, name);
  if (i < 0) return {};
  std::string value = StringList::valueOf(params[static_cast<std::size_t>(i)]);
  params.erase(params.begin() + i);
  return value;
}

std::string formatted(std::string_view pattern, const std::string& a) {
  std::string out;
  const std::size_t at = pattern.find("%s");
  if (at == std::string_view::npos) return std::string(pattern);
  out.append(pattern.substr(0, at));
  out += a;
  out.append(pattern.substr(at + 2));
  return out;
}

}  // namespace

FormEventSession* TIWForm::EventSession() const {
  // The server binds one object that answers both for rendering and for events.
  return dynamic_cast<FormEventSession*>(Session());
}

bool TIWForm::IsProcessingAsyncEvent() const {
  const FormEventSession* events = EventSession();
  return events != nullptr && events->CallBackProcessing();
}

void TIWForm::RebuildComponentHash() {
  componentHash_.clear();
  // Controls first under their HTML names, then input controls under their other field
  // names; a name already taken keeps its first entry.
  for (TIWCustomControl* control : Components())
    componentHash_.emplace(upperAscii(control->HTMLName()), control);
  for (TIWCustomControl* control : Components()) {
    if (!control->SupportsInput()) continue;
    for (const std::string& name : control->GetInputControlNames())
      componentHash_.emplace(upperAscii(name), control);
  }
}

TIWCustomControl* TIWForm::FindComponentByHTMLName(std::string_view name) const {
  auto it = componentHash_.find(upperAscii(name));
  return it == componentHash_.end() ? nullptr : it->second;
}

void TIWForm::DoExecuteForm() {
  // Marks set by the last request's changes have reached the browser with its answer.
  for (TIWCustomControl* control : Components()) control->setDoRefreshControl(false);
  // The tree may have changed since the last render (controls created or renamed by
  // page code): the hash is rebuilt for every request.
  RebuildComponentHash();

  std::vector<std::string>& params = Params();
  FormEventSession* events = EventSession();

  if (!FormId().empty() && events != nullptr && events->CheckFormIds() && ExecCount() > 1 &&
      !params.empty() && OnCheckFormId) {
    const int i = findParam(params, "IW_FormID_");
    bool valid = i >= 0 && StringList::valueOf(params[static_cast<std::size_t>(i)]) == FormId();
    OnCheckFormId(*this, valid);
    if (!valid) throw std::runtime_error(std::string(messages::kInvalidFormId));
  }

  std::string action = takeParam(params, "IW_Action");
  const std::string actionParam = takeParam(params, "IW_ActionParam");
  const bool isCallBack = findParam(params, "callback") >= 0;

  const int wi = findParam(params, "IW_width");
  const int hi = findParam(params, "IW_height");
  if (wi >= 0 && hi >= 0) {
    const int width =
        detail::parseWholeNumber(StringList::valueOf(params[static_cast<std::size_t>(wi)]))
            .value_or(Width());
    const int height =
        detail::parseWholeNumber(StringList::valueOf(params[static_cast<std::size_t>(hi)]))
            .value_or(Height());
    setWidth(width);
    setHeight(height);
    if (events != nullptr) events->SetFormSize(width, height);
    takeParam(params, "IW_width");
    takeParam(params, "IW_height");
  }

  if (isCallBack)
    action = StringList::valueOf(params[static_cast<std::size_t>(findParam(params, "callback"))]);
  if (action.empty() && actionParam.empty() && !isCallBack) return;

  ProcessParameters();

  if (isCallBack) {
    if (events != nullptr) events->PerformCallBack(*this, action);
    return;
  }
  if (action.empty()) return;

  TIWCustomControl* control = FindComponentByHTMLName(action);
  if (control == nullptr)
    throw std::runtime_error(std::string(messages::kCannotFindSubmitComponent));
  if (!control->SupportsSubmit())
    throw std::runtime_error(formatted(messages::kSubmitControlHasNoHandler, control->Name()));
  if (!control->Enabled()) return;
  try {
    control->Submit(actionParam);
  } catch (const SilentAbort&) {
    // A handler that gives up quietly: the page renders as it stands.
  }
}

void TIWForm::ProcessParameters() {
  std::vector<std::string>& params = Params();

  // 1. The page's own hidden fields.
  for (std::size_t i = 0; i < HiddenFields().size(); ++i) {
    const std::string name = StringList::nameOf(HiddenFields()[i]);
    const int p = findParam(params, name);
    if (p < 0) continue;
    HiddenFields().set(i, name + "=" + StringList::valueOf(params[static_cast<std::size_t>(p)]));
    params.erase(params.begin() + p);
  }

  // 2. "IW_MainPageSubmitControl" only matters for a default action, which the
  //    program's pages do not have.

  // 3. Repeated names become one parameter, the values joined with "," in order.
  std::vector<std::string> merged;
  for (const std::string& p : params) {
    const std::string name = StringList::nameOf(p);
    const int at = findParam(merged, name);
    if (at < 0) {
      merged.push_back(p);
    } else {
      std::string& line = merged[static_cast<std::size_t>(at)];
      line += "," + StringList::valueOf(p);
    }
  }
  takeParam(merged, "IW_FormName");
  takeParam(merged, "IW_FormClass");
  params = std::move(merged);

  // 4. The controls the values belong to, once each, in the order of the parameters.
  struct Collected {
    TIWCustomControl* control;
    std::string value;
  };
  std::vector<Collected> collected;
  for (const std::string& p : params) {
    TIWCustomControl* control = FindComponentByHTMLName(StringList::nameOf(p));
    if (control == nullptr || !control->SupportsInput() || !control->Visible()) continue;
    bool seen = false;
    for (const Collected& c : collected) seen = seen || c.control == control;
    if (!seen) collected.push_back({control, StringList::valueOf(p)});
  }

  // 5. Values applied; an error is noted and the next control goes on.
  std::vector<std::string> errors;
  auto note = [&](const TIWCustomControl& control, const std::exception& e) {
    errors.push_back("  " + control.Name() + ": " + e.what());
  };
  std::vector<TIWCustomControl*> changed;
  for (const Collected& c : collected) {
    if (!c.control->Editable()) continue;
    try {
      if (c.control->HasChangeReportingSetter()) {
        if (c.control->SetValueReportingChange(c.value)) changed.push_back(c.control);
      } else {
        c.control->SetValue(c.value);
      }
    } catch (const std::exception& e) {
      note(*c.control, e);
    }
  }

  // 6. Change notifications, after every value is in place.
  for (TIWCustomControl* control : changed) {
    try {
      control->ValueChanged();
    } catch (const std::exception& e) {
      note(*control, e);
    }
  }

  // 7. One error for all of them.
  if (!errors.empty()) {
    std::string lines;
    for (const std::string& line : errors) lines += line + "\r\n";
    std::string message(messages::kFollowingExceptionsOccured);
    const std::size_t first = message.find("%s");
    message.replace(first, 2, errors.size() > 1 ? "s" : "");
    const std::size_t second = message.find("%s", first);
    message.replace(second, 2, lines);
    throw std::runtime_error(message);
  }
}

}  // namespace orv
