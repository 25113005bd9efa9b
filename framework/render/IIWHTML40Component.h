#pragma once
// The operations of a component that the page layout calls while it places the
// component's tag and writes the body: its names, its class and style, its form
// fields, its visibility and tab position, its raw extra attributes and its tag hook.
// Every control implements it (TIWCustomControl); the layout never sees more of a
// control than this.
#include <string>
#include <vector>

namespace orv {

class TIWCompContext;
class TIWMarkupLanguageTag;

class IIWHTML40Component {
 public:
  virtual ~IIWHTML40Component() = default;

  // The component's HTML name: its element ID and, for input controls, its NAME.
  virtual std::string get_HTMLName() const = 0;
  // Whether input controls of this class write a NAME attribute.
  virtual bool get_HasName() const { return true; }
  virtual bool get_Visible() const = 0;
  // Posts a value / can be the target of a submit.
  virtual bool SupportsInput() const = 0;
  virtual bool SupportsSubmit() const = 0;
  // Needs the page's form without taking input (gets one hidden input of its name).
  virtual bool get_NeedsFormTag() const = 0;
  virtual bool get_IsUploadControl() const { return false; }
  // The names of the form fields the component owns.
  virtual std::vector<std::string> GetInputControlNames() const = 0;

  // The CSS class list: Css when set, else HTML name + "CSS".
  virtual std::string RenderCSSClass(TIWCompContext& context) = 0;
  // The style text of the component's element.
  virtual std::string RenderStyle(TIWCompContext& context) = 0;
  // The value of the TabIndex attribute (position in the page's real tab order + 1),
  // or 0 for a component without one.
  virtual int get_RenderTabIndex() const = 0;
  // Raw attribute lines added when the tag is written.
  virtual std::vector<std::string> get_ExtraTagParams() const = 0;
  // The component's OnHTMLTag hook, run once its tag is complete.
  virtual void DoHTMLTag(TIWMarkupLanguageTag& tag) = 0;
};

}  // namespace orv
