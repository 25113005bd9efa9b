#pragma once
// The grid layout of a page: every control sits at its absolute position. It gives
// each rendered tag its ID, NAME, CLASS and STYLE (a class rule in the page's style
// element for controls with their default class), adds the hidden inputs of input
// controls to the page's form, and writes the whole document: document type, head
// (meta elements, the page's head texts, the script section, the style element) and
// body, in which consecutive controls that take input or submit share a wrapper form.
//
// Owned by its page (created on the first render that finds none, then kept); used by
// the thread that renders the page.
#include <memory>
#include <string>

#include "framework/render/TIWContainerLayout.h"
#include "framework/render/TIWHTMLTag.h"

namespace orv {

class TIWCompContext;

class TIWLayoutMgrForm : public TIWContainerLayout {
 public:
  TIWLayoutMgrForm();
  const char* ClassName() const override { return "TIWLayoutMgrForm"; }

  // Processes every component context in order, then adds the page's resize and blur
  // hooks to the start-up script.
  void ProcessControls(TIWContainerContext& containerContext,
                       TIWPageContext40& pageContext) override;
  void ProcessControl(TIWContainerContext& containerContext, TIWPageContext40& pageContext,
                      TIWCompContext& context);
  // Writes the document of a page.
  void Process(std::string& out, TIWContainerContext& containerContext,
               TIWPageContext40& pageContext) override;

  // The body content: the controls in body order, consecutive input and submit
  // controls inside wrapper forms, then the page's form (unless the session was
  // terminated). Becomes the last content of the body tag.
  std::string BodyContent(TIWContainerContext& containerContext, TIWPageContext40& pageContext);

  // A wrapper "form" with onSubmit="return FormDefaultSubmit();" (a "DIV" when the
  // container has no form tag).
  static std::unique_ptr<TIWHTMLTag> CreateDefaultFormTag(bool hasFormTag = true);
  // Writes one control: its TabIndex, its extra attribute lines, CR LF, the tag, and
  // the context's PostRender text.
  static void MakeHTMLTag(TIWCompContext& context, std::string& out);
};

}  // namespace orv
