/*
 * IWGecko.js: the browser-dependent pieces of IWBase.js for standards browsers
 * (Firefox, Chrome, Safari, Edge). Loaded after IWBase.js by every page whose browser
 * is not Internet Explorer.
 */
(function () {
  const browser = IW.Browser;
  browser.isIE = false;
  browser.name = "gecko";

  // Offset of a mouse event within the element it happened on; older engines only
  // know the layer position.
  browser.eventOffset = function (e) {
    if (typeof e.offsetX === "number" && typeof e.offsetY === "number") return { x: e.offsetX, y: e.offsetY };
    if (typeof e.layerX === "number" && typeof e.layerY === "number") return { x: e.layerX, y: e.layerY };
    return { x: 0, y: 0 };
  };

  // An event raised by script, bubbling like the browser's own.
  browser.fireEvent = function (element, type) {
    element.dispatchEvent(new Event(type, { bubbles: true, cancelable: true }));
  };

  browser.parseXML = function (text) {
    return new DOMParser().parseFromString(text, "text/xml");
  };

  browser.createXHR = function () {
    return new XMLHttpRequest();
  };
})();
