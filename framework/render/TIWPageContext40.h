#pragma once
// Everything a page's controls produce for the document during one render, apart from
// their own tags: the start-up script in its parts, the client-object initialisation,
// the page script, validations, style rules, script and style files, and the page's
// form, body and style tags.
//
// A plain record of texts with the adders through which controls and the page fill
// it. Owned by its page and emptied after every render (Clear), so nothing added
// during one render leaks into the next. Used by the thread that renders the page;
// takes no locks.
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "framework/render/TIWHTMLTag.h"

namespace orv {

class RenderSession;
class TIWCompContext;

namespace detail {
struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};
}  // namespace detail

class TIWPageContext40 {
 public:
  // The session is a non-owning link, valid while the page renders for it (none in a
  // render without a session, for example in a test of one control).
  explicit TIWPageContext40(RenderSession* session = nullptr);
  TIWPageContext40(const TIWPageContext40&) = delete;
  TIWPageContext40& operator=(const TIWPageContext40&) = delete;

  RenderSession* Session() const { return session_; }
  void setSession(RenderSession* session) { session_ = session; }
  // The browser is Internet Explorer (false without a session).
  bool IsInternetExplorer() const;
  // The page renders for an asynchronous callback.
  bool IsCallBack() const;

  // --- Tags ----------------------------------------------------------------------------
  // "FORM" (the page's SubmitForm), "BODY", and "style" with type="text/css" whose
  // contents start with one CR LF.
  TIWHTMLTag& FormTag() { return *formTag_; }
  TIWHTMLTag& BodyTag() { return *bodyTag_; }
  TIWHTMLTag& StyleTag() { return *styleTag_; }

  // --- Texts ---------------------------------------------------------------------------
  std::string URLBase;
  std::string Title;  // already escaped for HTML
  std::string DocType;
  std::vector<std::string> ExtraHeader;
  std::vector<std::string> PreHeader;
  std::string OnReadyProc;
  std::string InitProc;
  std::string InitProcFocusCode;
  std::string InitProcNewWindowCode;
  std::string InitProcPageUnlockCode;
  std::string InitProcDoLastCode;
  std::string UpdateInitProc;
  std::string UpdateInitProcNewWindowCode;
  std::string UpdateInitProcFocusCode;
  std::string UpdateInitProcPageUnlockCode;
  std::string IWCLInitProc;
  std::string JavaScript;  // the page script
  std::string UpdateControlsProc;
  std::vector<std::string> ScriptFiles;
  std::vector<std::string> LinkFiles;
  std::vector<std::string> PreScriptFiles;
  std::vector<std::string> Validation;     // conditions
  std::vector<std::string> ValidationMsg;  // their messages, same order
  bool ServerResize = false;
  // Names of the hidden inputs already in the form tag (case ignored).
  std::set<std::string, detail::CaseInsensitiveLess> FormHiddenInput;

  // --- Adders: each appends the code followed by CR LF; nothing for empty code -------
  void AddToInitProc(std::string_view code);
  void AddToInitProcFocusCode(std::string_view code);
  void AddToInitProcNewWindowCode(std::string_view code);
  void AddToInitProcPageUnlockCode(std::string_view code);
  void AddToInitProcDoLastCode(std::string_view code);
  void AddToIWCLInitProc(std::string_view code);
  void AddToUpdateInitProc(std::string_view code);
  void AddToUpdateInitProcFocusCode(std::string_view code);
  void AddToUpdateInitProcNewWindowCode(std::string_view code);
  void AddToUpdateInitProcPageUnlockCode(std::string_view code);
  void AddToUpdateControlsProc(std::string_view code);
  // Appends without separator.
  void AddToOnReady(std::string_view code);
  // Appends to the page script, adding CR LF unless the code (longer than two
  // characters) already ends with CR LF.
  void AddToJavaScriptOnce(std::string_view code);
  void AddStyle(std::string_view text);
  // className + " {" + style + "}" + CR LF.
  void AddClassStyle(std::string_view className, std::string_view style);
  void AddValidation(std::string_view condition, std::string_view message);
  // Each adds a file name to its list unless it is already there.
  void AddScriptFile(std::string_view name);
  void AddPreScriptFile(std::string_view name);
  void AddLinkFile(std::string_view name);
  // Adds a hidden input of that name to the form tag once; false when it was there.
  bool AddFormHiddenInput(const std::string& name);

  // Copies a component's texts into the page.
  void AppendContext(const TIWCompContext& context);
  // Appends the function Validate() to the page script.
  void FinalizeContext();
  // Empties every text and list, restores the style tag, strips the body tag of its
  // attributes and contents and the form tag of its contents.
  void Clear();

  // --- File references -----------------------------------------------------------------
  // "<script type="text/javascript" src="URL"></script>" CR LF; the internal-file URL
  // for names starting with "/js/", the external one otherwise.
  std::string ScriptFile(std::string_view name) const;
  // "<link href="URL" rel="stylesheet" type="text/css"/>" CR LF, external / internal.
  std::string LinkFile(std::string_view name) const;
  std::string LinkInternalFile(std::string_view name) const;

 private:
  void resetStyleTag();

  RenderSession* session_;  // not owned; see the constructor
  std::unique_ptr<TIWHTMLTag> formTag_;
  std::unique_ptr<TIWHTMLTag> bodyTag_;
  std::unique_ptr<TIWHTMLTag> styleTag_;
};

// Text for a double-quoted string inside a script element: backslash, double quote and
// line ends escaped, and "<" written as "\x3C" so that the text can never close the
// script element.
std::string ScriptStringBody(std::string_view text);

}  // namespace orv
