#include "framework/render/TIWMarkupLanguageTag.h"

#include <stdexcept>

#include "framework/render/MarkupText.h"
#include "framework/render/Messages.h"

namespace orv {

TIWMarkupLanguageTag::TIWMarkupLanguageTag() = default;

TIWMarkupLanguageTag::~TIWMarkupLanguageTag() = default;

void TIWMarkupLanguageTag::setContents(std::unique_ptr<TIWMarkupLanguageTagCollection> contents) {
  contents_ = std::move(contents);
}

void TIWMarkupLanguageTag::SetTag(std::string_view name) { tag_ = lowerCaseAscii(name); }

std::string TIWMarkupLanguageTag::GetScriptEvents() const {
  std::string events;
  for (const auto& element : *contents_) {
    if (element->IsTag())
      events += static_cast<const TIWMarkupLanguageTag&>(*element).GetScriptEvents();
  }
  events += scriptEvents_;
  return events;
}

void TIWMarkupLanguageTag::AddStringParam(std::string_view name, std::string_view value,
                                          bool allowEmpty) {
  if (value.empty() && !allowEmpty) return;
  params_.setValue(name, value);
}

void TIWMarkupLanguageTag::AddIntegerParam(std::string_view name, long long value) {
  params_.setValue(name, std::to_string(value));
}

void TIWMarkupLanguageTag::AddBoolParam(std::string_view name, bool value) {
  params_.setValue(name, value ? "true" : "false");
}

void TIWMarkupLanguageTag::AddColor(std::string_view name, TIWColor color) {
  if (color == clNone) return;
  params_.setValue(name, ColorToRGBString(color));
}

void TIWMarkupLanguageTag::AddClassParam(std::string_view className) {
  if (className.empty()) return;
  const std::string existing = params_.value("class");
  if (params_.contains("class") && !existing.empty()) {
    params_.setValue("class", existing + " " + std::string(className));
  } else {
    params_.setValue("class", className);
  }
}

void TIWMarkupLanguageTag::Add(std::string_view line) {
  if (!line.empty()) params_.add(line);
}

void TIWMarkupLanguageTag::AddParmsList(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const std::string_view t = trimmed(line);
    if (!t.empty()) params_.add(t);
  }
}

void TIWMarkupLanguageTag::RenderContents(std::string& out) {
  for (const auto& element : *contents_) {
    if (element->IsTag() && !isPreformated_) out += "\r\n";
    element->Render(out);
  }
}

void TIWMarkupLanguageTag::RenderElement(std::string& out) {
  if (!tag_.empty()) {
    out += '<';
    out += tag_;
    for (const std::string& line : params_.lines()) {
      out += ' ';
      const std::size_t eq = line.find('=');
      if (eq == std::string::npos) {
        out += line;
      } else {
        out.append(line, 0, eq + 1);
        out += '"';
        out.append(line, eq + 1, std::string::npos);
        out += '"';
      }
    }
    out += closingTag_ == TIWClosingTag::cbSimpleClose ? "/>" : ">";
  }
  try {
    RenderContents(out);
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string(e.what()) + std::string(messages::kTagErrorSuffix) + tag_);
  }
  // A tag without a name has no closing either: "</>" is not markup.
  if (!tag_.empty() &&
      (closingTag_ == TIWClosingTag::cbTrue || closingTag_ == TIWClosingTag::cbAuto)) {
    out += "</";
    out += tag_;
    out += '>';
  }
}

}  // namespace orv
