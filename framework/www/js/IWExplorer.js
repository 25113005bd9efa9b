/*
 * IWExplorer.js: the browser-dependent pieces of IWBase.js for Internet Explorer
 * (document modes 9 and later; older modes are not supported). Loaded after IWBase.js
 * by every page whose browser is Internet Explorer.
 */
(function () {
  var browser = IW.Browser;
  browser.isIE = true;
  browser.name = "explorer";
  browser.ieVersion = document.documentMode || 9;

  browser.eventOffset = function (e) {
    if (typeof e.offsetX === "number") return { x: e.offsetX, y: e.offsetY };
    return { x: 0, y: 0 };
  };

  // Explorer has no Event constructor: the old way of raising an event by script.
  browser.fireEvent = function (element, type) {
    var event = document.createEvent("HTMLEvents");
    event.initEvent(type, true, true);
    element.dispatchEvent(event);
  };

  browser.parseXML = function (text) {
    if (window.DOMParser) return new DOMParser().parseFromString(text, "text/xml");
    var doc = new ActiveXObject("Microsoft.XMLDOM");
    doc.async = false;
    doc.loadXML(text);
    return doc;
  };

  browser.createXHR = function () {
    return new XMLHttpRequest();
  };
})();
