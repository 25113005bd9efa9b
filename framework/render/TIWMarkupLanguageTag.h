#pragma once
// A markup element with a name, an ordered attribute list (Params) and contents, and
// its exact rendering rules:
//  1. With a name: "<" + name, then each attribute line after one space, a line
//     holding "=" getting a double quote right after its first "=" and another at its
//     end (values are not escaped here; the caller escapes them), then ">" (or "/>" for
//     cbSimpleClose).
//  2. The contents in order: text and bytes unchanged, each child tag preceded by
//     CR LF unless this tag is preformatted.
//  3. "</" + name + ">" for cbTrue, and for cbAuto when there is a name.
//  4. An error raised while the contents are written gets CR LF + " Tag: " + the name
//     appended to its message and is raised again.
// A tag without a name writes only its contents: a group of elements without wrapper.
//
// The name is always stored lower-cased. Attribute adders follow the framework's
// conventions (AddStringParam, AddIntegerParam, AddBoolParam, AddColor, AddClassParam,
// Add, AddParmsList, ClearParam). Owns its attribute list and contents; see
// TIWMarkupLanguageElement for ownership of the tag itself.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/render/TIWColor.h"
#include "framework/render/TIWMarkupLanguageElement.h"
#include "framework/render/TIWMarkupLanguageTagCollection.h"
#include "framework/render/TIWTagParamsStringList.h"

namespace orv {

// When the closing tag is written.
enum class TIWClosingTag { cbAuto = 0, cbFalse = 1, cbTrue = 2, cbSimpleClose = 3 };

class TIWMarkupLanguageTag : public TIWMarkupLanguageElement {
 public:
  ~TIWMarkupLanguageTag() override;

  const std::string& Tag() const { return tag_; }
  // Stores the lower-cased name (HTML tags also adjust their closing and
  // preformatting, see TIWHTMLTag).
  virtual void SetTag(std::string_view name);

  TIWClosingTag ClosingTag() const { return closingTag_; }
  void setClosingTag(TIWClosingTag closing) { closingTag_ = closing; }
  // A preformatted tag writes its child tags without CR LF between them.
  bool IsPreformated() const { return isPreformated_; }
  void setIsPreformated(bool value) { isPreformated_ = value; }

  TIWTagParamsStringList& Params() { return params_; }
  const TIWTagParamsStringList& Params() const { return params_; }
  TIWMarkupLanguageTagCollection& Contents() { return *contents_; }
  const TIWMarkupLanguageTagCollection& Contents() const { return *contents_; }

  // Script that belongs to this element (gathered by GetScriptEvents).
  const std::string& ScriptEvents() const { return scriptEvents_; }
  void setScriptEvents(std::string script) { scriptEvents_ = std::move(script); }
  // The script events of every child tag (recursively), then the tag's own.
  std::string GetScriptEvents() const;

  // --- Attributes -------------------------------------------------------------------
  // Sets name=value when the value is not empty or allowEmpty is set; an existing
  // attribute keeps its place; an empty value removes the attribute.
  void AddStringParam(std::string_view name, std::string_view value, bool allowEmpty = false);
  void AddIntegerParam(std::string_view name, long long value);
  void AddBoolParam(std::string_view name, bool value);  // "true" / "false"
  // The colour's web text; nothing for clNone.
  void AddColor(std::string_view name, TIWColor color);
  // Appends " " + className to an existing class attribute, or creates it.
  void AddClassParam(std::string_view className);
  // Appends a raw attribute line (for example "disabled") unless it is empty.
  void Add(std::string_view line);
  // Appends every non-empty line, trimmed.
  void AddParmsList(const std::vector<std::string>& lines);
  void ClearParam(std::string_view name) { params_.remove(name); }

  void RenderElement(std::string& out) override;
  bool IsTag() const override { return true; }

  // A new, empty child tag of this tag's kind (used by the contents collection).
  virtual std::unique_ptr<TIWMarkupLanguageTag> NewChildTag(std::string_view name) const = 0;

 protected:
  TIWMarkupLanguageTag();
  // Derived kinds give their own contents collection (created in their constructor).
  void setContents(std::unique_ptr<TIWMarkupLanguageTagCollection> contents);
  // Writes the contents (step 2); XML tags wrap them in CDATA markers.
  virtual void RenderContents(std::string& out);

 private:
  std::string tag_;
  TIWClosingTag closingTag_ = TIWClosingTag::cbTrue;
  bool isPreformated_ = false;
  TIWTagParamsStringList params_;
  std::unique_ptr<TIWMarkupLanguageTagCollection> contents_;
  std::string scriptEvents_;
};

}  // namespace orv
