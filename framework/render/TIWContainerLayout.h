#pragma once
// The layout component of a container: it places the tags its container's components
// rendered and writes the container's markup. This base holds what every layout shares
// (the head texts the page fills just before the document is written, the script
// section of a page's head) and has no document writer of its own.
//
// Owned by its container (a page creates one on its first render and keeps it); used by
// the thread that renders the page.
#include <string>

namespace orv {

class TIWContainerContext;
class TIWPageContext40;

enum class TIWLayoutType { ltGrid = 0, ltFlow = 1 };

class TIWContainerLayout {
 public:
  TIWContainerLayout() = default;
  TIWContainerLayout(const TIWContainerLayout&) = delete;
  TIWContainerLayout& operator=(const TIWContainerLayout&) = delete;
  virtual ~TIWContainerLayout() = default;

  virtual const char* ClassName() const { return "TIWContainerLayout"; }

  // Texts the page fills just before the document is written.
  std::string PreHeadContent;
  std::string HeadContent;
  bool AllowFrames = false;
  TIWLayoutType LayoutType = TIWLayoutType::ltGrid;

  // Places the component contexts' tags (ID, NAME, CLASS, STYLE, hidden inputs) and
  // copies their texts into the page context. Nothing at this level.
  virtual void ProcessControls(TIWContainerContext& containerContext,
                               TIWPageContext40& pageContext);
  // Writes the container's document. Fails with ClassName() + ": Method Process is not
  // implemented in this class" unless the layout provides a writer.
  virtual void Process(std::string& out, TIWContainerContext& containerContext,
                       TIWPageContext40& pageContext);

  // The page head's script section: style links, the session variables, the library
  // scripts and the inline script with InitIWCLObjects() and Initialize().
  std::string ScriptSection(TIWPageContext40& pageContext);
};

}  // namespace orv
