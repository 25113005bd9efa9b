#include "framework/render/TIWContainerLayout.h"

#include <stdexcept>

#include "framework/render/Messages.h"
#include "framework/render/RenderSession.h"
#include "framework/render/TIWPageContext40.h"

namespace orv {

void TIWContainerLayout::ProcessControls(TIWContainerContext& /*containerContext*/,
                                         TIWPageContext40& /*pageContext*/) {}

void TIWContainerLayout::Process(std::string& /*out*/, TIWContainerContext& /*containerContext*/,
                                 TIWPageContext40& /*pageContext*/) {
  throw std::runtime_error(std::string(ClassName()) +
                           std::string(messages::kProcessNotImplemented));
}

std::string TIWContainerLayout::ScriptSection(TIWPageContext40& pageContext) {
  static const RenderSettings kDefaults;
  RenderSession* session = pageContext.Session();
  const RenderSettings& settings = session != nullptr ? session->Settings() : kDefaults;

  std::string s = pageContext.LinkInternalFile("/css/IWNotify.css");
  for (const std::string& file : pageContext.LinkFiles) {
    if (!file.empty()) s += pageContext.LinkFile(file);
  }

  s += "<script type=\"text/javascript\">\r\nvar GURLBase=\"";
  if (session != nullptr) s += session->SessionInternalUrlBase();
  s += "\", GAppID=\"";
  if (session != nullptr) s += session->AppID();
  s += "\", GTrackID=";
  s += std::to_string(session != nullptr ? session->TrackID() : 0);
  s += ";\r\n</script>\r\n";

  if (settings.UseUncompressedFiles) {
    if (settings.RenderjQuery) {
      s += pageContext.ScriptFile("/js/jquery.js");
      s += pageContext.ScriptFile("/js/jquerymaskedinput.js");
    }
    for (const std::string& file : pageContext.PreScriptFiles) s += pageContext.ScriptFile(file);
    for (const char* file : {"/js/IWPreScript.js", "/js/IWBrowser.js", "/js/IWCommon.js",
                             "/js/IWCL.js", "/js/IWAjax.js", "/js/IWNotify.js"})
      s += pageContext.ScriptFile(file);
  } else {
    if (settings.RenderjQuery) s += pageContext.ScriptFile("/js/IWLib.js");
    for (const std::string& file : pageContext.PreScriptFiles) s += pageContext.ScriptFile(file);
    s += pageContext.ScriptFile("/js/IWBase.js");
  }
  s += pageContext.ScriptFile(pageContext.IsInternetExplorer() ? "/js/IWExplorer.js"
                                                               : "/js/IWGecko.js");

  s += "<script type=\"text/javascript\">\r\n";
  if (settings.JavaScriptDebug) s += "IWDEBUG = true;\r\n";
  if (settings.AjaxErrorMode != 1)
    s += "IWAjaxErrorMode = " + std::to_string(settings.AjaxErrorMode) + ";\r\n";
  if (!pageContext.JavaScript.empty()) s += pageContext.JavaScript + "\r\n";
  if (!pageContext.OnReadyProc.empty())
    s += "$(document).ready(function(){" + pageContext.OnReadyProc + "});\r\n";
  s += "function InitIWCLObjects() {\r\n";
  s += pageContext.IWCLInitProc;
  s += "}\r\n\r\nfunction Initialize() {\r\n";
  s += pageContext.InitProc;
  if (session != nullptr) {
    // The session's one-shot script (a message to show) runs once, on its own line.
    const std::string pending = session->TakeInitProc();
    s += pending;
    if (!pending.empty() && !pending.ends_with("\r\n")) s += "\r\n";
  }
  s += pageContext.InitProcPageUnlockCode;
  s += pageContext.InitProcFocusCode;
  s += pageContext.InitProcNewWindowCode;
  s += pageContext.InitProcDoLastCode;
  s += "\r\n}\r\n</script>\r\n";
  return s;
}

}  // namespace orv
