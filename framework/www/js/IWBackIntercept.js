/*
 * IWBackIntercept.js: keeps the browser's back button from leaving the page, for the
 * server's back-button modes that intercept it. The page calls
 *   IWBackIntercept.Init(false, showMessage, "warning text", "/$/");
 * after which going back returns at once to the current page and, when asked, shows
 * the warning in the page's message box.
 */
var IWBackIntercept = (function () {
  let message = "";
  let show = false;
  let armed = false;

  function onPopState() {
    window.history.pushState({ iwBack: true }, document.title, window.location.href);
    if (show && message) {
      if (typeof IWShowMessage === "function") IWShowMessage(message, "", "", "OK");
      else window.alert(message);
    }
  }

  return {
    Init(disabled, showMessage, warning /*, internalUrlBase */) {
      if (disabled || armed || !window.history || !window.history.pushState) return;
      armed = true;
      show = !!showMessage;
      message = warning || "";
      window.history.pushState({ iwBack: true }, document.title, window.location.href);
      window.addEventListener("popstate", onPopState);
    },
  };
})();
