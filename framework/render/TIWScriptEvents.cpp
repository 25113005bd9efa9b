#include "framework/render/TIWScriptEvents.h"

#include "framework/render/MarkupText.h"

namespace orv {

namespace {

std::string fixedCode(std::string_view code) {
  std::string fixed(trimmed(code));
  if (fixed.find("return ") != std::string::npos) {
    if (fixed.back() != ';') fixed += ';';
  } else {
    fixed += "\r\nreturn true;";
  }
  return fixed;
}

}  // namespace

void TIWScriptEvents::HookEvent(std::string_view eventName, std::string_view code) {
  if (trimmed(code).empty()) return;
  const std::string name = lowerCaseAscii(eventName);
  for (Event& event : events_) {
    if (event.name == name) {
      event.code.push_back(fixedCode(code));
      return;
    }
  }
  events_.push_back({name, {fixedCode(code)}});
}

void TIWScriptEvents::HookDefaultHandler(std::string_view eventName, std::string_view options) {
  for (auto& [name, opts] : defaultHandlers_) {
    if (!equalsIgnoringCase(name, eventName)) continue;
    if (!options.empty())
      opts = opts.empty() ? std::string(options) : std::string(options) + "," + opts;
    return;
  }
  defaultHandlers_.emplace_back(std::string(eventName), std::string(options));
}

void TIWScriptEvents::SetProp(std::string_view name, std::string_view jsonValue) {
  for (auto& [n, v] : props_) {
    if (n == name) {
      v = jsonValue;
      return;
    }
  }
  props_.emplace_back(std::string(name), std::string(jsonValue));
}

void TIWScriptEvents::Clear() {
  events_.clear();
  defaultHandlers_.clear();
  props_.clear();
}

std::string TIWScriptEvents::DefaultHandlers() const {
  std::string list;
  for (const auto& [name, options] : defaultHandlers_) {
    if (!list.empty()) list += ';';
    list += name;
    if (!options.empty()) list += ":" + options;
  }
  return list;
}

TIWScriptEvents::Rendered TIWScriptEvents::RenderEvents(std::string_view htmlName) const {
  Rendered r;
  const std::string object = std::string(htmlName) + "IWCL";
  if (!defaultHandlers_.empty())
    r.iwclLines += "    " + object + ".HookDefaultHandlers(\"" + DefaultHandlers() + "\");\r\n";
  for (const Event& event : events_) {
    for (std::size_t i = 0; i < event.code.size(); ++i) {
      std::string function = std::string(htmlName) + "_" + event.name;
      if (i > 0) function += std::to_string(i - 1);
      r.functions += "function " + function + "(event) {\r\n" + event.code[i] + "}\r\n";
      const std::string browserEvent =
          startsWithIgnoringCase(event.name, "on") ? event.name.substr(2) : event.name;
      if (browserEvent == "load") {
        if (r.onload.empty()) r.onload = function + "()";
      } else {
        r.iwclLines +=
            "    " + object + ".HookEvent(\"" + browserEvent + "\"," + function + ");\r\n";
      }
    }
  }
  if (!props_.empty()) {
    std::string json = "{";
    for (const auto& [name, value] : props_) {
      if (json.size() > 1) json += ',';
      json += "\"" + name + "\":" + value;
    }
    json += "}";
    r.iwclLines += "    " + object + ".SetProps(" + json + ");\r\n";
  }
  return r;
}

}  // namespace orv
