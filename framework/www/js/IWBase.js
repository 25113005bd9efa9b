/*
 * IWBase.js: the browser half of the page's event machinery.
 *
 * Every rendered page loads, in this order: IWLib.js (jQuery and its masked-input
 * plug-in), IWBase.js (this file), IWGecko.js or IWExplorer.js (the few things that
 * differ between browsers), then its own script, which writes GURLBase, GAppID and
 * GTrackID, defines InitIWCLObjects() and Initialize(), and runs Initialize() from the
 * body's load event.
 *
 * What lives here:
 *  - the page lock (createIWLocker, ActivateLock, ReleaseLock, ...);
 *  - the hidden form SubmitForm: InitRects adds the framework's fields, ProcessElement
 *    copies the visible controls' values into it, SubmitClickConfirm / SubmitClick post
 *    it for a full submit;
 *  - the client objects (IW.initIWCL): each control's element extended with a list of
 *    handlers per browser event, default handlers that raise the control's server
 *    callbacks, client properties;
 *  - background requests: processAjaxEvent queues them (one at a time, a repeat of the
 *    same callback dropped while others wait), SendRequest sends them as GET or POST,
 *    processAjaxResponse applies the XML answer to the page;
 *  - logging, keep-alive, window resizing, and the in-page message boxes
 *    (IWShowMessage, IWConfirm, IWPrompt, IWLog).
 *
 * The page, the controls and the server's replies call these functions by name, so
 * names and arguments are fixed. Everything runs on the browser's one script thread;
 * the globals below are the page's state and start again with every full page load.
 */

/* ---- Page-wide state ---------------------------------------------------------------- */

var GSubmitting = false;      // a full submit is under way
var GActivateLock = false;    // a full submit locks the page (set by Initialize)
var locked = false;           // the lock layer is shown
var eventProcessing = false;  // a submit or a background request is being processed
var eventQueue = [];          // background requests waiting, first in first out
var lastEvent = null;         // callback name of the request sent last
var ChangedControls = "";     // "NAME1,NAME2,": values that travel with the next request
var AsyncLock = false;        // a background request has locked the page at least once
var serverProblem = false;    // a failed background request is being reported
var IWAjaxErrorMode = 1;      // 0 none, 1 alert, 2 console (the page may override it)
var IWDEBUG = false;          // progress messages to the console
var IWCLForm = null;          // the page's client object (InitRects)

// Alignments of client objects, as the page's script writes them (SetAlign(alTop)).
var alNone = 0, alTop = 1, alBottom = 2, alLeft = 3, alRight = 4, alClient = 5, alCustom = 6;

var IW = window.IW || {};

/* ---- Small helpers -------------------------------------------------------------------- */

IW.$ = function (id) {
  return typeof id === "string" ? document.getElementById(id) : id;
};

// The hidden form of the page, or null while the body has not been parsed.
IW.submitForm = function () {
  return document.forms.SubmitForm || document.getElementsByName("SubmitForm")[0] || null;
};

// The event a handler was given, or the window's current one.
IW.eventOf = function (event) {
  return event || window.event || null;
};

IW.eventTarget = function (event) {
  const e = IW.eventOf(event);
  if (!e) return null;
  let t = e.target || e.srcElement || null;
  if (t && t.nodeType === 3) t = t.parentNode;  // a text node
  return t;
};

// The client object (element with a NAMEIWCL global) that holds `element`.
IW.findClientObject = function (element) {
  for (let el = element; el && el !== document; el = el.parentNode) {
    if (el.id) {
      const obj = window[el.id + "IWCL"];
      if (obj) return obj;
    }
  }
  return null;
};

// The browser-dependent pieces; IWGecko.js and IWExplorer.js refine them.
IW.Browser = IW.Browser || {
  isIE: false,
  // Offset of a mouse event within its element.
  eventOffset(e) {
    if (typeof e.offsetX === "number") return { x: e.offsetX, y: e.offsetY };
    if (typeof e.layerX === "number") return { x: e.layerX, y: e.layerY };
    return { x: 0, y: 0 };
  },
  fireEvent(element, type) {
    element.dispatchEvent(new Event(type, { bubbles: true, cancelable: true }));
  },
  parseXML(text) {
    return new DOMParser().parseFromString(text, "text/xml");
  },
  createXHR() {
    return new XMLHttpRequest();
  },
};

/* ---- Logging --------------------------------------------------------------------------- */

// Progress messages, only with IWDEBUG. A page without a console gets a small log window.
function logMessage(text) {
  if (!IWDEBUG) return;
  if (window.console && typeof window.console.log === "function") {
    window.console.log(text);
    return;
  }
  let box = document.getElementById("IWLogWindow");
  if (!box && document.body) {
    box = document.createElement("div");
    box.id = "IWLogWindow";
    box.className = "iw-log-window";
    document.body.appendChild(box);
  }
  if (box) {
    const line = document.createElement("div");
    line.textContent = String(text);
    box.appendChild(line);
  }
}

// Always written, to the console's error output when it has one.
function consoleError(text) {
  if (!window.console) return;
  if (typeof window.console.error === "function") window.console.error(text);
  else if (typeof window.console.log === "function") window.console.log(text);
}

/* ---- The page lock ---------------------------------------------------------------------- */

// The lock is a transparent layer over the whole window that swallows clicks, with the
// loading picture in its middle.
function createIWLocker(imageURL) {
  if (document.getElementById("IWLocker")) return;
  const div = document.createElement("div");
  div.id = "IWLocker";
  const s = div.style;
  s.display = "none";
  // Fixed rather than absolute, so that a scrolled page is covered as well.
  s.position = "fixed";
  s.left = "0px";
  s.top = "0px";
  s.width = "100%";
  s.height = "100%";
  s.zIndex = "10000";
  s.backgroundColor = "transparent";
  if (imageURL) {
    s.backgroundImage = "url(\"" + String(imageURL).replace(/["\\]/g, "\\$&") + "\")";
    s.backgroundRepeat = "no-repeat";
    s.backgroundPosition = "center center";
  }
  (document.body || document.documentElement).appendChild(div);
}

function ActivateLock() {
  const div = document.getElementById("IWLocker");
  if (div) div.style.display = "block";
  locked = true;
}

function ReleaseLock() {
  const div = document.getElementById("IWLocker");
  if (div) div.style.display = "none";
  locked = false;
}

function IsLocked() {
  return locked;
}

function AsyncActivateLock() {
  AsyncLock = true;
  ActivateLock();
}

function AsyncReleaseLock() {
  if (AsyncLock) ReleaseLock();
}

/* ---- Copying values into the hidden form ---------------------------------------------- */

// The field of `form` named `name`: the form's own look-up first, then its hidden
// children.
IW.formField = function (form, name) {
  if (!form || !name) return null;
  let field = null;
  try {
    field = form.elements.namedItem(name);
  } catch (e) {
    field = null;
  }
  if (field && typeof field.length === "number" && !field.tagName) field = field[0] || null;
  if (field) return field;
  const inputs = form.getElementsByTagName("input");
  for (let i = 0; i < inputs.length; i++) {
    if (inputs[i].type === "hidden" && inputs[i].name === name) return inputs[i];
  }
  return null;
};

IW.isSubmitFormElement = function (element) {
  const f = element && element.form;
  return !!f && (f.name === "SubmitForm" || f.getAttribute("name") === "SubmitForm");
};

// Copies the value of one page element into its field of `submitForm`.
function ProcessElement(element, submitForm) {
  if (!element || !submitForm || element === submitForm) return;
  const name = element.name;
  if (!name) return;
  const owner = element.form;
  if (owner && (owner.name === "HiddenSubmitForm" || owner === submitForm)) return;
  if (IW.isSubmitFormElement(element)) return;
  const type = (element.type || "").toLowerCase();
  let field;
  if (type === "radio") {
    field = (element.id && IW.formField(submitForm, element.id)) || IW.formField(submitForm, name);
  } else {
    field = IW.formField(submitForm, name);
  }
  if (!field || field === element) return;

  switch (type) {
    case "select-one": {
      const i = element.selectedIndex;
      field.value = i >= 0 && element.options[i] ? element.options[i].value : "-1";
      break;
    }
    case "select-multiple": {
      let value = "";
      let first = null;
      for (let i = 0; i < element.options.length; i++) {
        const option = element.options[i];
        if (!option.selected) continue;
        if (first === null) first = option.value;
        value += option.value + ",";
      }
      field.value = first === null ? "-1" : first + "," + value;
      break;
    }
    case "checkbox":
      field.value = element.checked ? "on" : "off";
      break;
    case "radio":
      if (element.checked) field.value = element.value;
      break;
    case "button":
    case "submit":
    case "reset":
    case "image":
      break;
    default:
      if (typeof element.value !== "undefined") field.value = element.value;
      break;
  }
}

// Applies `fn` to every page element named `id` (or, failing that, with that id).
function LocateInputElement(id, submitForm, fn) {
  if (!id) return;
  const named = document.getElementsByName(id);
  let found = false;
  for (let i = 0; i < named.length; i++) {
    const el = named[i];
    if (el === submitForm || (submitForm && submitForm.contains && submitForm.contains(el))) continue;
    if (IW.isSubmitFormElement(el)) continue;
    found = true;
    fn(el, submitForm);
  }
  if (found) return;
  const byId = document.getElementById(id);
  if (byId && !IW.isSubmitFormElement(byId) && !(submitForm && submitForm.contains && submitForm.contains(byId)))
    fn(byId, submitForm);
}

/* ---- Full submit ------------------------------------------------------------------------ */

// The fields that the page's script needs for every submit; SubmitClick never drops them.
IW.kKeptFields = ["IW_Action", "IW_ActionParam", "IW_FormName", "IW_FormClass", "IW_width", "IW_height"];

// Submits the page for control `objname` with `param`, after asking `confirmation`
// when it is not empty. Refused while the page is locked or an event is processed.
function SubmitClickConfirm(objname, param, doValidation, confirmation) {
  if (IsLocked()) return false;
  const el = objname ? document.getElementById(objname) || document.getElementsByName(objname)[0] : null;
  if (el && el.disabled) return false;
  if (eventProcessing) {
    // Leaving an edit box for a button raises the box's change request just before the
    // button's click: the click waits for the background work instead of being lost.
    if (!GSubmitting && !IW.pendingSubmit) {
      IW.pendingSubmit = { objname, param, doValidation, confirmation };
      logMessage("Submit of " + objname + " waits for the background request");
    }
    return false;
  }

  if (!confirmation) {
    eventProcessing = true;
    if (GActivateLock) ActivateLock();
    return SubmitClick(objname, param, doValidation);
  }
  if (GSubmitting) return false;
  eventProcessing = true;
  if (window.confirm(confirmation)) {
    if (GActivateLock) ActivateLock();
    return SubmitClick(objname, param, doValidation);
  }
  eventProcessing = false;
  // A check box that submits has already changed state: put it back.
  const obj = objname ? window[objname + "IWCL"] : null;
  if (obj && obj.StateChanged) {
    obj.StateChanged = false;
    const box = document.getElementById(objname + "_CHECKBOX");
    if (box) box.checked = !box.checked;
  }
  return true;
}

function SubmitClick(objname, param, doValidation) {
  if (GSubmitting) return false;
  const form = IW.submitForm();
  if (!form) {
    eventProcessing = false;
    ReleaseLock();
    return false;
  }
  GSubmitting = true;

  // Drop visible fields that no longer belong to an element of the page.
  const elements = Array.prototype.slice.call(form.elements);
  for (const el of elements) {
    if (!el.name || el.type === "hidden" || IW.kKeptFields.indexOf(el.name) >= 0) continue;
    let elsewhere = false;
    const named = document.getElementsByName(el.name);
    for (let i = 0; i < named.length; i++) if (!form.contains(named[i])) elsewhere = true;
    if (!elsewhere && el.parentNode) el.parentNode.removeChild(el);
  }

  for (const field of Array.prototype.slice.call(form.elements)) {
    if (field.name) LocateInputElement(field.name, form, ProcessElement);
  }

  if (doValidation && typeof window.Validate === "function" && !window.Validate()) {
    GSubmitting = false;
    eventProcessing = false;
    return true;
  }

  const action = IW.formField(form, "IW_Action");
  const actionParam = IW.formField(form, "IW_ActionParam");
  const hash = IW.formField(form, "IW_LocationHash");
  const actionValue = objname == null ? "" : String(objname);
  const paramValue = param == null ? "" : String(param);
  const hashValue = window.location.hash;
  if (action) action.value = actionValue;
  if (actionParam) actionParam.value = paramValue;
  if (hash) hash.value = hashValue;

  if (typeof PreScript !== "undefined" && PreScript && typeof PreProgressScript === "function")
    PreProgressScript();

  try {
    form.submit();
  } finally {
    GSubmitting = false;
    eventProcessing = false;
    // The browser has taken the values; a later background request that leads to a
    // re-submit must not repeat this action.
    if (action && action.value === actionValue) action.value = "";
    if (actionParam && actionParam.value === paramValue) actionParam.value = "";
    if (hash && hash.value === hashValue) hash.value = "";
  }
  return true;
}

// Enter in a text field whose client object has ImplicitSubmit.
function ExecuteImplicitSubmit(event, name, validation) {
  const e = IW.eventOf(event);
  if (e) {
    if (e.preventDefault) e.preventDefault();
    if (e.stopPropagation) e.stopPropagation();
    e.returnValue = false;
  }
  SubmitClick(name, "", validation);
  return false;
}

// A click on an image that submits with its coordinates ("x,y").
function ImageClick(name, event, doValidation, confirmation) {
  const e = IW.eventOf(event);
  let x = 0, y = 0;
  if (e) {
    const off = IW.Browser.eventOffset(e);
    x = Math.round(off.x);
    y = Math.round(off.y);
  }
  return SubmitClickConfirm(name, x + "," + y, doValidation, confirmation);
}

/* ---- Changed values ---------------------------------------------------------------------- */

// Whole names only: "EDIT1" is not taken for "XEDIT1".
function containsName(name) {
  return ("," + ChangedControls).indexOf("," + name + ",") >= 0;
}

function AddChangedControl(name) {
  if (!name) return;
  if (!containsName(name)) ChangedControls += name + ",";
}

// Hooked on change, keypress, click and select of controls that take input: notes the
// control whose value must travel with the next background request. Also the place of
// the implicit submit on Enter.
function OnControlContentChange(event) {
  const e = IW.eventOf(event);
  let target = IW.eventTarget(e);
  while (target && target !== document && !target.id && !target.name) target = target.parentNode;
  if (!target || target === document) return true;

  if (e && e.type === "keypress") {
    const key = e.keyCode || e.which || 0;
    const tag = (target.tagName || "").toUpperCase();
    const type = (target.type || "").toLowerCase();
    if (key === 13 && tag === "INPUT" && type !== "button" && type !== "submit" && type !== "radio" &&
        type !== "checkbox") {
      const obj = IW.findClientObject(target);
      const props = obj && obj.ExtendedProps;
      if (props && props.ImplicitSubmit) {
        ExecuteImplicitSubmit(e, obj.id, !!props.SubmitValidation);
        return false;
      }
    }
  }

  const name = target.name || target.id;
  AddChangedControl(name);
  if ((target.getAttribute && String(target.getAttribute("type") || "").toUpperCase() === "RADIOGROUP"))
    AddChangedControl(name + "_INPUT");
  return true;
}

/* ---- Control functions -------------------------------------------------------------------- */

// Click of a check box or of its caption.
function checkBoxClick(event, name) {
  const box = document.getElementById(name + "_CHECKBOX");
  if (!box) return true;
  const obj = window[name + "IWCL"];
  if (obj) obj.StateChanged = true;
  const target = IW.eventTarget(event);
  if (target && target.id === name + "_CHKBCAPTION") {
    if (!box.disabled) {
      box.checked = !box.checked;
      AddChangedControl(name + "_CHECKBOX");
      // A click on the caption changes the box by script, so its change is ours to fire.
      IW.Browser.fireEvent(box, "change");
    }
  } else if (IW.Browser.isIE && IW.Browser.ieVersion && IW.Browser.ieVersion < 9) {
    IW.Browser.fireEvent(box, "change");
  }
  return true;
}

function radioGroupClick(event, radioId) {
  const radio = document.getElementById(radioId);
  if (!radio) return true;
  return radioButtonClick(event, radio.name, radioId);
}

function radioButtonClick(event, groupName, selectedId) {
  const inputs = document.getElementsByName(groupName);
  for (let i = 0; i < inputs.length; i++) {
    if (IW.isSubmitFormElement(inputs[i])) continue;
    AddChangedControl(inputs[i].name);
    AddChangedControl(inputs[i].id);
  }
  const selected = document.getElementById(selectedId);
  if (selected && !selected.disabled) {
    // A click on the button itself checks it and the browser fires its change; a click
    // on the caption checks it here, so the change is fired here.
    if (!selected.checked) {
      selected.checked = true;
      IW.Browser.fireEvent(selected, "change");
    }
  }
  return true;
}

function setEnabled(elementId, enabled) {
  const el = document.getElementById(elementId);
  if (el) el.disabled = !enabled;
}

// The top page window: the parent's IWTop() when the page sits in a frame.
function topmost() {
  try {
    if (window.parent && window.parent !== window && typeof window.parent.IWTop === "function") {
      const top = window.parent.IWTop();
      if (top) return top;
    }
  } catch (e) {
    // A parent of another origin.
  }
  return window;
}

// The drawn check box style: two pictures and a hidden field.
function CoolCheckBoxToggle(name, hasClickHandler) {
  const image = document.getElementById(name + "_Image");
  const field = document.getElementsByName(name + "_CHECKBOX")[0] || document.getElementById(name + "_CHECKBOX");
  if (!field) return false;
  const on = String(field.value).toLowerCase() !== "on";
  field.value = on ? "On" : "Off";
  if (image) {
    const cache = window["GImageCache_CoolCheckBox_" + (on ? "True" : "False")];
    if (cache && cache.src) image.src = cache.src;
    else image.src = image.src.replace(/CoolCheckBox_(True|False)/, "CoolCheckBox_" + (on ? "True" : "False"));
  }
  AddChangedControl(name + "_CHECKBOX");
  if (hasClickHandler) SubmitClickConfirm(name, "", true, "");
  return false;
}

/* ---- Client objects ------------------------------------------------------------------------- */

function CreateAnchors(left, right, top, bottom) {
  this.Left = !!left;
  this.Right = !!right;
  this.Top = !!top;
  this.Bottom = !!bottom;
}

// The browser events the library knows: callback suffix, sent at once, never dropped as
// a repeat, and the details sent with them.
IW.kEvents = {
  click: { handler: "IWCL_DoOnClick", suffix: ".DoOnAsyncClick", direct: false, append: true, details: "mouse" },
  dblclick: { handler: "IWCL_DoOnDblClick", suffix: ".DoOnAsyncDoubleClick", direct: false, append: true, details: "mouse" },
  change: { handler: "IWCL_DoOnChange", suffix: ".DoOnAsyncChange", direct: false, append: false, details: "" },
  focus: { handler: "IWCL_DoOnFocus", suffix: ".DoOnAsyncEnter", direct: true, append: false, details: "" },
  blur: { handler: "IWCL_DoOnBlur", suffix: ".DoOnAsyncExit", direct: true, append: false, details: "" },
  keydown: { handler: "IWCL_DoOnKeyDown", suffix: ".DoOnAsyncKeyDown", direct: false, append: true, details: "key" },
  keyup: { handler: "IWCL_DoOnKeyUp", suffix: ".DoOnAsyncKeyUp", direct: false, append: true, details: "key" },
  keypress: { handler: "IWCL_DoOnKeyPress", suffix: ".DoOnAsyncKeyPress", direct: false, append: true, details: "key" },
  mousedown: { handler: "IWCL_DoOnMouseDown", suffix: ".DoOnAsyncMouseDown", direct: true, append: true, details: "mouse" },
  mousemove: { handler: "IWCL_DoOnMouseMove", suffix: ".DoOnAsyncMouseMove", direct: false, append: false, details: "position" },
  mouseover: { handler: "IWCL_DoOnMouseOver", suffix: ".DoOnAsyncMouseOver", direct: false, append: false, details: "position" },
  mouseout: { handler: "IWCL_DoOnMouseOut", suffix: ".DoOnAsyncMouseOut", direct: false, append: false, details: "position" },
  mouseup: { handler: "IWCL_DoOnMouseUp", suffix: ".DoOnAsyncMouseUp", direct: false, append: true, details: "mouse" },
  select: { handler: "IWCL_DoOnSelect", suffix: ".DoOnAsyncSelect", direct: false, append: true, details: "" },
  load: { handler: "IWCL_DoOnLoad", suffix: ".DoOnAsyncLoad", direct: false, append: true, details: "" },
  unload: { handler: "IWCL_DoOnUnLoad", suffix: ".DoOnAsyncUnLoad", direct: false, append: true, details: "" },
};

// The events whose changes OnControlContentChange watches.
IW.kInputEvents = ["change", "keypress", "click", "select"];

// Methods every client object gets (`this` is the control's element).
IW.ClientObjectMethods = {
  // Adds a handler to the event's list; the element gets one dispatcher per event, and
  // an inline handler it already had becomes the first of the list.
  HookEvent(eventName, handler) {
    if (typeof handler !== "function" || !eventName) return;
    let name = String(eventName).toLowerCase();
    if (name.length > 2 && name.indexOf("on") === 0 && !IW.kEvents[name] && IW.kEvents[name.substr(2)])
      name = name.substr(2);
    let handlers = this.IWEvents[name];
    if (!handlers) {
      handlers = this.IWEvents[name] = [];
      const inline = this["on" + name];
      if (typeof inline === "function") handlers.push(inline);
      const self = this;
      this["on" + name] = function (event) {
        return self.IWDispatch(name, IW.eventOf(event));
      };
    }
    // A page script that runs its client-object lines again (a partial render) hooks
    // the same handlers again: each handler is in the list once.
    for (let i = 0; i < handlers.length; i++) {
      const h = handlers[i];
      if (h === handler || (handler.name && handler.name !== "on" + name && h.name === handler.name)) {
        handlers[i] = handler;
        return;
      }
    }
    handlers.push(handler);
  },

  UnhookEvent(eventName, handler) {
    const handlers = this.IWEvents[String(eventName).toLowerCase()];
    if (!handlers) return;
    for (let i = handlers.length - 1; i >= 0; i--) if (handlers[i] === handler) handlers.splice(i, 1);
  },

  // Runs the event's handlers in order until one returns false.
  IWDispatch(name, event) {
    if (this.IsAsyncEventsDisabled()) return true;
    const handlers = (this.IWEvents[name] || []).slice();
    for (const handler of handlers) {
      let result;
      try {
        result = handler.call(this, event);
      } catch (e) {
        consoleError(e && e.stack ? e.stack : String(e));
        result = undefined;
      }
      if (result === false) {
        if (event) {
          if (event.preventDefault) event.preventDefault();
          event.returnValue = false;
        }
        return false;
      }
    }
    return true;
  },

  // "OnClick;OnChange:Lock": one default handler per entry, with its options.
  HookDefaultHandlers(list) {
    if (!list) return;
    for (const entry of String(list).split(";")) {
      if (!entry) continue;
      const parts = entry.split(":");
      const first = parts[0].trim();
      const event = first.replace(/^on/i, "").toLowerCase();
      const info = IW.kEvents[event];
      if (!info) continue;
      const options = parts.length > 1 ? parts[1].split(",") : [];
      if (options.some((o) => o.trim() === "Lock")) this.LockEvents[event] = true;
      const handler = window["IWCL_Do" + first] || window[info.handler];
      if (typeof handler === "function") this.HookEvent(event, handler);
    }
  },

  SetProps(options) {
    this.ExtendedProps = options || {};
    const props = this.ExtendedProps;
    if (props.ImplicitSubmit && !this.SupportsInput && !this.IWImplicitHooked) {
      this.IWImplicitHooked = true;
      this.HookEvent("keypress", OnControlContentChange);
    }
    if (props.FocusColor && !this.IWFocusHooked) {
      this.IWFocusHooked = true;
      this.HookEvent("focus", IW.colorOnFocus);
    }
    if (props.BGColor && !this.IWBlurHooked) {
      this.IWBlurHooked = true;
      this.HookEvent("blur", IW.colorOnBlur);
    }
  },

  SetSupportsInput(flag) {
    const on = !!flag;
    if (on && !this.SupportsInput) {
      for (const ev of IW.kInputEvents) this.HookEvent(ev, OnControlContentChange);
    } else if (!on && this.SupportsInput) {
      for (const ev of IW.kInputEvents) this.UnhookEvent(ev, OnControlContentChange);
    }
    this.SupportsInput = on;
  },

  DisableAjaxEvents() {
    this.IWAsyncDisabled++;
  },

  EnableAjaxEvents(timeout) {
    const self = this;
    const enable = function () {
      if (self.IWAsyncDisabled > 0) self.IWAsyncDisabled--;
    };
    if (timeout > 0) window.setTimeout(enable, timeout);
    else enable();
  },

  IsAsyncEventsDisabled() {
    return this.IWAsyncDisabled > 0;
  },

  SetAlign(align) {
    this.Align = align;
  },

  SetAnchors(anchors) {
    this.Anchors = anchors;
  },

  IWShow() {
    this.style.visibility = "inherit";
  },

  IWHide() {
    this.style.visibility = "hidden";
  },
};

IW.colorOnFocus = function () {
  if (this.ExtendedProps && this.ExtendedProps.FocusColor) this.style.backgroundColor = this.ExtendedProps.FocusColor;
  return true;
};

IW.colorOnBlur = function () {
  if (this.ExtendedProps && this.ExtendedProps.BGColor) this.style.backgroundColor = this.ExtendedProps.BGColor;
  return true;
};

IW.rectOf = function (element) {
  return {
    left: element.offsetLeft || 0,
    top: element.offsetTop || 0,
    width: element.offsetWidth || 0,
    height: element.offsetHeight || 0,
  };
};

// Turns the element `id` into the control's client object, held in the global id + "IWCL".
IW.initIWCL = function (owner, id, supportsInput) {
  const element = document.getElementById(id);
  if (!element) {
    window[id + "IWCL"] = null;
    return null;
  }
  if (!element.IWEvents) {
    element.IWEvents = {};
    element.LockEvents = {};
    element.IWAsyncDisabled = 0;
    element.SupportsInput = false;
    element.StateChanged = false;
    element.ExtendedProps = {};
    for (const method in IW.ClientObjectMethods) element[method] = IW.ClientObjectMethods[method];
  }
  element.IWOwner = owner || null;
  element.Rect = IW.rectOf(element);
  element.OriginalRect = IW.rectOf(element);
  element.Align = alNone;
  element.Anchors = new CreateAnchors(true, false, true, false);
  if (owner && owner.OwnedObjects && owner.OwnedObjects.indexOf(element) < 0) owner.OwnedObjects.push(element);
  element.SetSupportsInput(!!supportsInput);
  window[id + "IWCL"] = element;
  return element;
};

// The page's own client object: the owner of the controls on the page.
IW.PageObject = function (width, height) {
  this.id = "IWCLForm";
  this.OwnedObjects = [];
  this.OriginalWidth = width;
  this.OriginalHeight = height;
};

// Places the owned objects after a change of the window's size by their Align and
// Anchors (the calculator page keeps every control where the page put it).
IW.PageObject.prototype.Realign = function (clientWidth, clientHeight) {
  const dw = clientWidth - this.OriginalWidth;
  const dh = clientHeight - this.OriginalHeight;
  for (const obj of this.OwnedObjects) {
    const r = obj.OriginalRect;
    const a = obj.Anchors || new CreateAnchors(true, false, true, false);
    if (!r || !obj.style) continue;
    let left = r.left, top = r.top, width = r.width, height = r.height;
    switch (obj.Align) {
      case alTop: left = 0; top = 0; width = clientWidth; break;
      case alBottom: left = 0; top = clientHeight - height; width = clientWidth; break;
      case alLeft: left = 0; top = 0; height = clientHeight; break;
      case alRight: left = clientWidth - width; top = 0; height = clientHeight; break;
      case alClient: left = 0; top = 0; width = clientWidth; height = clientHeight; break;
      default:
        if (a.Right && a.Left) width = Math.max(0, r.width + dw);
        else if (a.Right) left = r.left + dw;
        if (a.Bottom && a.Top) height = Math.max(0, r.height + dh);
        else if (a.Bottom) top = r.top + dh;
        if (left === r.left && top === r.top && width === r.width && height === r.height) continue;
    }
    obj.style.left = left + "px";
    obj.style.top = top + "px";
    obj.style.width = width + "px";
    obj.style.height = height + "px";
    obj.Rect = { left, top, width, height };
  }
};

// Releases every client object when the page unloads.
function ReleaseIWCL() {
  if (!IWCLForm) return;
  for (const obj of IWCLForm.OwnedObjects) {
    if (obj.id && window[obj.id + "IWCL"] === obj) window[obj.id + "IWCL"] = null;
    if (obj.IWEvents) for (const name in obj.IWEvents) obj["on" + name] = null;
    obj.IWEvents = null;
  }
  IWCLForm.OwnedObjects = [];
}

/* ---- The default handlers of the asynchronous events ---------------------------------------- */

IW.doDefaultHandler = function (eventName, event) {
  const e = IW.eventOf(event);
  const obj = IW.findClientObject(IW.eventTarget(e)) || (this && this.IWEvents ? this : null);
  if (!obj) return true;
  const info = IW.kEvents[eventName];
  processAjaxEvent(e, obj, obj.id + info.suffix, info.direct, false, info.append, !!obj.LockEvents[eventName]);
  return true;
};

function IWCL_DoOnClick(event) { return IW.doDefaultHandler.call(this, "click", event); }
function IWCL_DoOnDblClick(event) { return IW.doDefaultHandler.call(this, "dblclick", event); }
function IWCL_DoOnChange(event) { return IW.doDefaultHandler.call(this, "change", event); }
function IWCL_DoOnFocus(event) { return IW.doDefaultHandler.call(this, "focus", event); }
function IWCL_DoOnBlur(event) { return IW.doDefaultHandler.call(this, "blur", event); }
function IWCL_DoOnKeyDown(event) { return IW.doDefaultHandler.call(this, "keydown", event); }
function IWCL_DoOnKeyUp(event) { return IW.doDefaultHandler.call(this, "keyup", event); }
function IWCL_DoOnKeyPress(event) { return IW.doDefaultHandler.call(this, "keypress", event); }
function IWCL_DoOnMouseDown(event) { return IW.doDefaultHandler.call(this, "mousedown", event); }
function IWCL_DoOnMouseMove(event) { return IW.doDefaultHandler.call(this, "mousemove", event); }
function IWCL_DoOnMouseOver(event) { return IW.doDefaultHandler.call(this, "mouseover", event); }
function IWCL_DoOnMouseOut(event) { return IW.doDefaultHandler.call(this, "mouseout", event); }
function IWCL_DoOnMouseUp(event) { return IW.doDefaultHandler.call(this, "mouseup", event); }
function IWCL_DoOnSelect(event) { return IW.doDefaultHandler.call(this, "select", event); }
function IWCL_DoOnLoad(event) { return IW.doDefaultHandler.call(this, "load", event); }
function IWCL_DoOnUnLoad(event) { return IW.doDefaultHandler.call(this, "unload", event); }

/* ---- Background requests -------------------------------------------------------------------- */

IW.modifierList = function (e) {
  return (e.altKey ? "ALT_MASK," : "") + (e.ctrlKey ? "CTRL_MASK," : "") + (e.metaKey ? "META_MASK," : "") +
      (e.shiftKey ? "SHIFT_MASK" : "");
};

// The event details appended to the callback address.
IW.eventDetails = function (e) {
  if (!e || !e.type) return "";
  const info = IW.kEvents[String(e.type).toLowerCase()];
  if (!info || !info.details) return "";
  if (info.details === "key") {
    const code = e.keyCode || e.which || 0;
    let s = "&which=" + code;
    if (code > 0) s += "&char=" + encodeURIComponent(String.fromCharCode(code));
    return s + "&modifiers=" + IW.modifierList(e);
  }
  const off = IW.Browser.eventOffset(e);
  let s = "&x=" + Math.round(off.x) + "&y=" + Math.round(off.y);
  if (info.details === "mouse") {
    const which = typeof e.which === "number" && e.which > 0 ? e.which : (typeof e.button === "number" ? e.button + 1 : 0);
    s += "&which=" + which + "&modifiers=" + IW.modifierList(e);
  }
  return s;
};

// Raises a server callback for a browser event of `sender`.
function processAjaxEvent(event, sender, callback, directSend, sendControl, append, lock) {
  const e = IW.eventOf(event);
  const params = IW.eventDetails(e);
  if (lock && !serverProblem && !(sender && sender.IsAsyncEventsDisabled && sender.IsAsyncEventsDisabled()))
    AsyncActivateLock();
  executeAjaxEvent(params, sender, callback, directSend, sendControl, append);
}

// Sends the request now (or after 10 ms), or queues it behind the one being processed.
function executeAjaxEvent(eventParams, sender, callback, directSend, sendControl, append) {
  if (sender && typeof sender.IsAsyncEventsDisabled === "function" && sender.IsAsyncEventsDisabled()) return;
  if (serverProblem) return;
  const request = {
    params: eventParams || "",
    sender: sender || null,
    callback: callback,
    sendControl: !!sendControl,
    append: !!append,
  };
  if (!eventProcessing) {
    eventProcessing = true;
    if (directSend) SendRequest(request);
    else window.setTimeout(function () { SendRequest(request); }, 10);
  } else {
    eventQueue.push(request);
    logMessage("Queued " + callback);
  }
}

// Sends one background request: a GET when no value has to travel, a POST of the
// changed values otherwise. A request that repeats the callback sent last is dropped
// while others wait behind it, unless its event must never be dropped.
function SendRequest(request) {
  let req = request;
  while (req && eventQueue.length > 0 && lastEvent === req.callback && !req.append) {
    logMessage("Dropped repeated " + req.callback);
    req = eventQueue.shift();
  }
  if (!req) {
    eventProcessing = false;
    return;
  }
  lastEvent = req.callback;
  if (req.sender && req.sender.id) AddChangedControl(req.sender.id);

  const url = GURLBase + "callback" + "?callback=" + encodeURIComponent(req.callback);
  if (ChangedControls === "") {
    let get = url;
    if (req.sendControl && req.sender) {
      const name = req.sender.name || req.sender.id;
      get += "&" + encodeURIComponent(name) + "=" + encodeURIComponent(req.sender.value == null ? "" : req.sender.value);
    }
    get += req.params;
    new AjaxRequest(get, "GET", null).send();
  } else {
    SendPostRequest(url + req.params, req.sender);
  }
}

// A copy of SubmitForm holding the framework's fields and the changed controls' values.
function PrepareSubmitter(sender) {
  const form = IW.submitForm();
  if (!form) return null;
  const clone = form.cloneNode(true);
  clone.removeAttribute("id");
  clone.setAttribute("name", "IWSubmitter");
  const all = Array.prototype.slice.call(clone.getElementsByTagName("*"));
  for (const el of all) {
    if (!el.parentNode) continue;
    if ((el.tagName || "").toUpperCase() !== "INPUT") {
      // Keep the inputs that sit inside the element being removed.
      const inputs = Array.prototype.slice.call(el.getElementsByTagName("input"));
      for (const input of inputs) clone.appendChild(input);
      el.parentNode.removeChild(el);
      continue;
    }
    if (el.type === "hidden" && el.name && el.name.indexOf("IW_") !== 0 && !containsName(el.name))
      el.parentNode.removeChild(el);
  }
  for (const field of Array.prototype.slice.call(clone.getElementsByTagName("input"))) {
    if (!field.name || field.name.indexOf("IW_") === 0) continue;
    LocateInputElement(field.name, form, function (el) { ProcessElement(el, clone); });
  }
  if (sender && sender.id) {
    const action = IW.formField(clone, "IW_Action");
    if (action) action.value = sender.id;
  }
  ChangedControls = "";
  return clone;
}

function SendPostRequest(url, sender) {
  const submitter = PrepareSubmitter(sender);
  if (typeof PreAsyncScript !== "undefined" && PreAsyncScript && typeof PreAsyncProgressScript === "function")
    PreAsyncProgressScript();
  const pairs = [];
  if (submitter) {
    for (const field of Array.prototype.slice.call(submitter.getElementsByTagName("input"))) {
      if (!field.name || field.disabled) continue;
      pairs.push(encodeURIComponent(field.name) + "=" + encodeURIComponent(field.value == null ? "" : field.value));
    }
  }
  new AjaxRequest(url, "POST", pairs.join("&")).send();
}

// Starts the next queued request after a successful answer.
function processEventQueue() {
  if (eventQueue.length > 0) {
    SendRequest(eventQueue.shift());
  } else {
    lastEvent = null;
  }
}

// A server callback without a sender, sent at once.
function ajaxCall(callbackName, params, lock) {
  let details = params ? String(params) : "";
  if (details && details.charAt(0) !== "&") details = "&" + details;
  if (lock) AsyncActivateLock();
  executeAjaxEvent(details, null, callbackName, true, false, false);
}

function ajaxNotify(callbackName) {
  executeAjaxEvent("", null, callbackName, true, false, false);
}

// One XML HTTP request to the session's callback address.
IW.ajaxCounter = 0;

function AjaxRequest(url, method, body) {
  this.method = method || "GET";
  this.body = body;
  this.url = url;
  if (this.method === "GET") {
    IW.ajaxCounter++;
    this.url += (this.url.indexOf("?") >= 0 ? "&" : "?") + "IW_AjaxID=" + new Date().getTime() + IW.ajaxCounter;
    const form = IW.submitForm();
    const formId = form ? IW.formField(form, "IW_FormID_") : null;
    if (formId) this.url += "&IW_FormID_=" + encodeURIComponent(formId.value);
  }
}

// Requests sent and not yet answered (two can be outstanding: see processEventQueue).
IW.outstandingRequests = 0;

AjaxRequest.prototype.send = function () {
  const self = this;
  IW.outstandingRequests++;
  let xhr;
  try {
    xhr = IW.Browser.createXHR();
    xhr.open(this.method, this.url, true);
    if (this.method === "POST") xhr.setRequestHeader("Content-Type", "application/x-www-form-urlencoded");
  } catch (e) {
    consoleError(e && e.message ? e.message : String(e));
    self.done({ status: 0, statusText: String(e && e.message ? e.message : e), responseText: "" });
    return;
  }
  xhr.onreadystatechange = function () {
    if (xhr.readyState === 4) self.done(xhr);
  };
  logMessage(this.method + " " + this.url);
  xhr.send(this.method === "POST" ? this.body : null);
};

AjaxRequest.prototype.done = function (xhr) {
  if (IW.outstandingRequests > 0) IW.outstandingRequests--;
  const isPost = this.method === "POST";
  if (xhr.status === 200) {
    AsyncReleaseLock();
    try {
      processAjaxResponse(IW.Browser.parseXML(xhr.responseText || ""));
    } catch (e) {
      consoleError(e && e.stack ? e.stack : String(e));
    }
    if (isPost && typeof PostAsyncScript !== "undefined" && PostAsyncScript && typeof PostAsyncProgressScript === "function")
      PostAsyncProgressScript();
    processEventQueue();
    eventProcessing = false;
    IW.runPendingSubmit();
    return;
  }
  IW.pendingSubmit = null;
  AsyncReleaseLock();
  if (isPost && typeof PostAsyncScript !== "undefined" && PostAsyncScript && typeof PostAsyncProgressScript === "function")
    PostAsyncProgressScript();
  eventProcessing = false;
  const text = xhr.responseText || "";
  if (text !== "") {
    document.open();
    document.write(text);
    document.close();
    return;
  }
  serverProblem = true;
  try {
    const report = "AJAX request failed: The application server did not respond." + "\n\n" +
        "URL: " + this.url + "\n" + "Method: " + this.method + "\n" + "Status: " + xhr.status + "\n" +
        "Status Text: " + (xhr.statusText || "");
    if (IWAjaxErrorMode === 1) window.alert(report);
    else if (IWAjaxErrorMode === 2) consoleError(report);
  } finally {
    serverProblem = false;
  }
};

// A submit that came while background requests were under way, run once the last
// of them has been answered (a request still outstanding or queued keeps it waiting).
IW.pendingSubmit = null;

IW.runPendingSubmit = function () {
  const pending = IW.pendingSubmit;
  if (!pending || eventProcessing || eventQueue.length > 0 || IW.outstandingRequests > 0) return;
  IW.pendingSubmit = null;
  SubmitClickConfirm(pending.objname, pending.param, pending.doValidation, pending.confirmation);
};

/* ---- Applying the answer -------------------------------------------------------------------- */

IW.childElements = function (node, tagName) {
  const result = [];
  if (!node) return result;
  for (let c = node.firstChild; c; c = c.nextSibling) {
    if (c.nodeType === 1 && (!tagName || c.nodeName === tagName)) result.push(c);
  }
  return result;
};

// The concatenation of a node's text and CDATA children.
IW.nodeText = function (node) {
  let text = "";
  for (let c = node.firstChild; c; c = c.nextSibling) {
    if (c.nodeType === 3 || c.nodeType === 4) text += c.nodeValue;
  }
  return text;
};

IW.globalEval = function (code) {
  (0, eval)(code);
};

function processAjaxResponse(xmlDocument) {
  if (!xmlDocument || !xmlDocument.getElementsByTagName) return;
  const responses = xmlDocument.getElementsByTagName("response");
  if (responses.length !== 1) return;
  const response = responses[0];

  const submit = IW.childElements(response, "submit")[0];
  if (submit) {
    const action = IW.nodeText(submit);
    const form = IW.submitForm();
    if (action !== "" && form) form.action = action;
  }

  const rewrite = IW.childElements(response, "rewrite")[0];
  if (rewrite) {
    const content = IW.nodeText(rewrite);
    if (content !== "") {
      document.open();
      document.write(content);
      document.close();
    }
  }

  const update = IW.childElements(response, "update")[0];
  if (update) {
    for (const control of IW.childElements(update)) {
      try {
        processNodeElement(control);
      } catch (e) {
        consoleError(e && e.stack ? e.stack : String(e));
      }
    }
  }

  const execute = IW.childElements(response, "execute")[0];
  if (execute) {
    for (const literal of IW.childElements(execute)) {
      const code = IW.nodeText(literal);
      if (!code) continue;
      try {
        IW.globalEval(code);
      } catch (e) {
        consoleError((e && e.message ? e.message : String(e)) + "\n" + code);
      }
    }
  }
}

// The style rule ".NAMECSS" of the page's style sheets.
IW.findStyleRule = function (selector) {
  const sheets = document.styleSheets;
  for (let i = 0; i < sheets.length; i++) {
    let rules;
    try {
      rules = sheets[i].cssRules || sheets[i].rules;
    } catch (e) {
      continue;
    }
    if (!rules) continue;
    for (let j = 0; j < rules.length; j++) {
      if (rules[j].selectorText === selector) return rules[j];
    }
  }
  return null;
};

IW.hasClass = function (element, className) {
  return (" " + (element.className || "") + " ").indexOf(" " + className + " ") >= 0;
};

IW.nbsp = function (text) {
  return String(text).replace(/ /g, "\u00a0");
};

// Applies one "control" element of an answer to the page.
function processNodeElement(control) {
  const id = String(control.getAttribute("id") || "").toUpperCase();
  if (!id) return;
  const element = document.getElementById(id);
  if (!element) return;
  const type = String(control.getAttribute("type") || "").toUpperCase();
  const defaultClass = id + "CSS";
  let rule = IW.hasClass(element, defaultClass) ? IW.findStyleRule("." + defaultClass) : null;

  for (const prop of IW.childElements(control)) {
    const name = prop.nodeName;
    const value = IW.nodeText(prop);
    switch (name) {
      case "text":
      case "caption":
        if (type === "IWCHECKBOX") {
          const caption = document.getElementById(id + "_CHKBCAPTION");
          if (caption) caption.innerHTML = value;
        } else if (type === "IWRADIOBUTTON") {
          const caption = document.getElementById(id + "_CAPTRADIOBUTTON");
          if (caption) caption.innerHTML = value;
        } else if (type === "IWEDITASLABEL") {
          element.textContent = IW.nbsp(value);
        } else {
          element.value = value;
        }
        break;
      case "innerhtml": {
        const html = value.split("&amp;nbsp;").join("&nbsp;");
        if (element.innerHTML !== html && !containsName(id)) element.innerHTML = html;
        break;
      }
      case "textcontent":
        if (element.textContent !== value && !containsName(id)) element.textContent = value;
        break;
      case "css":
        element.className = value;
        rule = IW.hasClass(element, defaultClass) ? IW.findStyleRule("." + defaultClass) : null;
        break;
      case "supportsinput": {
        const obj = window[id + "IWCL"];
        if (obj && typeof obj.SetSupportsInput === "function") obj.SetSupportsInput(value === "true");
        break;
      }
      case "style": {
        const inline = element.getAttribute("style");
        const target = rule && IW.hasClass(element, defaultClass) && !inline ? rule.style : element.style;
        for (const attribute of IW.childElements(prop, "attribute")) {
          const styleName = attribute.getAttribute("name");
          if (!styleName) continue;
          target.setProperty(styleName, IW.nodeText(attribute));
        }
        break;
      }
      case "enabled": {
        const enabled = value === "true";
        if (type === "IWCHECKBOX") setEnabled(id + "_CHECKBOX", enabled);
        else if (type === "IWRADIOBUTTON") setEnabled(id + "_INPUT", enabled);
        else if (type === "IWFILEUPLOADER") {
          const input = document.getElementById(id + "_INPUT");
          if (input) input.style.visibility = enabled ? "inherit" : "hidden";
        } else element.disabled = !enabled;
        break;
      }
      case "readonly":
        element.readOnly = value === "true";
        break;
      case "maxlength": {
        let n = parseInt(value, 10);
        if (isNaN(n)) break;
        if (n === 0) n = 2147483647;
        else if (n === -1) n = 0;
        element.maxLength = n;
        break;
      }
      case "hint":
        element.title = value;
        break;
      case "src":
        element.setAttribute("src", value);
        break;
      case "href":
        if (value === "") element.removeAttribute("href");
        else element.setAttribute("href", value);
        break;
      case "onclick":
        if (value === "") element.removeAttribute("onclick");
        else element.setAttribute("onclick", value);
        break;
      case "checked": {
        const box = type === "IWCHECKBOX" ? document.getElementById(id + "_CHECKBOX")
            : type === "IWRADIOBUTTON" ? document.getElementById(id + "_INPUT") : null;
        if (box) box.checked = value === "true";
        break;
      }
      case "select_type":
        if (type === "IWLISTBOX") element.multiple = value !== "select-one";
        break;
      case "items":
        IW.rebuildItems(element, control, prop, id, type);
        break;
      default:
        break;  // not a property of the browser's
    }
  }
}

// Rebuilds the entries of a list, combo box or radio group from "item" elements.
IW.rebuildItems = function (element, control, itemsNode, id, type) {
  if (type !== "IWLISTBOX" && type !== "IWCOMBOBOX" && type !== "IWRADIOGROUP") return;
  while (element.firstChild) element.removeChild(element.firstChild);
  const items = IW.childElements(itemsNode, "item");
  if (type === "IWRADIOGROUP") {
    let layout = control.getAttribute("layout");
    if (!layout) {
      const child = IW.childElements(control, "layout")[0];
      layout = child ? IW.nodeText(child) : "";
    }
    const vertical = String(layout).toLowerCase() === "vertical";
    items.forEach(function (item, index) {
      const inputId = id + "_INPUT_" + (index + 1);
      const enabled = item.getAttribute("enabled") === "true";
      const input = document.createElement("input");
      input.type = "radio";
      input.name = id + "_INPUT";
      input.id = inputId;
      input.value = item.getAttribute("value") != null ? item.getAttribute("value") : String(index);
      input.checked = item.hasAttribute("selected") && item.getAttribute("selected") !== "false";
      input.disabled = !enabled;
      if (enabled) input.setAttribute("onclick", "radioGroupClick(event, '" + inputId + "');");
      element.appendChild(input);
      const caption = document.createElement("span");
      caption.innerHTML = IW.nodeText(item);
      if (enabled) caption.setAttribute("onclick", "radioGroupClick(event, '" + inputId + "');");
      element.appendChild(caption);
      if (vertical) element.appendChild(document.createElement("br"));
    });
    return;
  }
  for (const item of items) {
    const option = document.createElement("option");
    option.value = item.getAttribute("value") != null ? item.getAttribute("value") : "";
    option.text = IW.nbsp(IW.nodeText(item));
    if (item.hasAttribute("selected")) option.selected = true;
    element.appendChild(option);
  }
};

/* ---- Page start, resize, unload ---------------------------------------------------------- */

IW.addHiddenField = function (form, name, value) {
  let field = IW.formField(form, name);
  if (!field) {
    field = document.createElement("input");
    field.type = "hidden";
    field.name = name;
    form.appendChild(field);
  }
  field.value = value == null ? "" : String(value);
  return field;
};

IW.clientSize = function () {
  const de = document.documentElement;
  const width = window.innerWidth || (de && de.clientWidth) || (document.body && document.body.clientWidth) || 0;
  const height = window.innerHeight || (de && de.clientHeight) || (document.body && document.body.clientHeight) || 0;
  return { width, height };
};

// Called first by Initialize(): the framework's fields of SubmitForm and the page's
// client object.
function InitRects(width, height) {
  const form = IW.submitForm();
  if (form) {
    IW.addHiddenField(form, "IW_width", "");
    IW.addHiddenField(form, "IW_height", "");
    IW.addHiddenField(form, "IW_Action", "");
    IW.addHiddenField(form, "IW_ActionParam", "");
    IW.addHiddenField(form, "IW_SessionID_", typeof GAppID !== "undefined" ? GAppID : "");
    IW.addHiddenField(form, "IW_TrackID_", typeof GTrackID !== "undefined" ? GTrackID : "");
  }
  IWCLForm = new IW.PageObject(width, height);
  window.IWCLForm = IWCLForm;
}

IW.resizeTimer = null;

function Body_OnResize() {
  const size = IW.clientSize();
  if (IWCLForm) IWCLForm.Realign(size.width, size.height);
  const form = IW.submitForm();
  if (form) {
    const w = IW.formField(form, "IW_width");
    const h = IW.formField(form, "IW_height");
    if (w) w.value = size.width;
    if (h) h.value = size.height;
  }
  // Pages with a resize handler tell the server once the window has settled.
  if (typeof GResizeURL !== "undefined" && GResizeURL) {
    if (IW.resizeTimer) window.clearTimeout(IW.resizeTimer);
    const delay = typeof GOnResizetimeout === "number" ? GOnResizetimeout : 1000;
    IW.resizeTimer = window.setTimeout(function () {
      IW.resizeTimer = null;
      const url = GResizeURL + "&IW_width=" + size.width + "&IW_height=" + size.height;
      const frame = document.getElementById("onresize");
      if (frame) frame.src = url;
      else new AjaxRequest(url, "GET", null).sendQuietly();
    }, delay);
  }
}

// A request whose answer is only logged (resize, keep-alive).
AjaxRequest.prototype.sendQuietly = function () {
  const url = this.url;
  try {
    const xhr = IW.Browser.createXHR();
    xhr.open("GET", url, true);
    xhr.onreadystatechange = function () {
      if (xhr.readyState !== 4) return;
      if (xhr.status === 200) logMessage("OK: " + url);
      else logMessage("Failed (" + xhr.status + "): " + url);
    };
    xhr.send(null);
  } catch (e) {
    logMessage("Failed: " + url + ": " + (e && e.message ? e.message : e));
  }
};

// A page taken back from the browser's history must not stay locked by the submit that
// left it.
function AttachBeforeUnload() {
  if (IW.beforeUnloadAttached) return;
  IW.beforeUnloadAttached = true;
  window.addEventListener("pageshow", function (e) {
    if (e.persisted) {
      GSubmitting = false;
      eventProcessing = false;
      ReleaseLock();
    }
  });
}

/* ---- IW.Utils, IW.Session -------------------------------------------------------------------- */

IW.Utils = IW.Utils || {};

// Margins of old Internet Explorer versions; the body's style already sets them.
IW.Utils.fixIEMargins = function () {};

IW.Utils.setActiveControl = function (name) {
  const el = document.getElementById(name) || document.getElementsByName(name)[0];
  if (!el || typeof el.focus !== "function") return;
  try {
    el.focus();
  } catch (e) {
    // An element that cannot take the focus (hidden).
  }
};

IW.Session = IW.Session || {};
IW.Session.keepAliveTimer = null;

IW.Session.initKeepAlive = function (ms) {
  if (IW.Session.keepAliveTimer) {
    window.clearInterval(IW.Session.keepAliveTimer);
    IW.Session.keepAliveTimer = null;
  }
  if (ms > 0) {
    IW.Session.keepAliveTimer = window.setInterval(function () {
      const request = new AjaxRequest(GURLBase + "KeepAlive", "GET", null);
      request.sendQuietly();
    }, ms);
  }
};

// The server gave the session a new ID.
IW.Session.resetId = function (id) {
  window.GAppID = id;
  const form = IW.submitForm();
  if (form) IW.addHiddenField(form, "IW_SessionID_", id);
};

/* ---- In-page message boxes ---------------------------------------------------------------- */

// Runs what the page asked for when a message box closes: "javascript:" + script (with
// retValue and inputStr), or a server callback with "&RetValue=" and "&InputStr=".
IW.messageCallback = function (callback, result, input, isPrompt) {
  if (!callback) return;
  const text = String(callback);
  if (text.toLowerCase().indexOf("javascript:") === 0) {
    try {
      new Function("retValue", "inputStr", text.substr(11))(result, input);
    } catch (e) {
      consoleError(e && e.message ? e.message : String(e));
    }
    return;
  }
  let details = "&RetValue=" + encodeURIComponent(String(result));
  if (isPrompt) details += "&InputStr=" + encodeURIComponent(input == null ? "" : String(input));
  executeAjaxEvent(details, null, text, true, false, true);
};

IW.openMessageBox = function (kind, message, callback, title, okCaption, cancelCaption, defaultText) {
  const overlay = document.createElement("div");
  overlay.className = "iw-msg-overlay";
  const box = document.createElement("div");
  box.className = "iw-msg-box iw-msg-" + kind;
  box.setAttribute("role", kind === "message" ? "alertdialog" : "dialog");
  box.setAttribute("aria-modal", "true");

  if (title) {
    const head = document.createElement("div");
    head.className = "iw-msg-title";
    head.textContent = title;
    box.appendChild(head);
  }
  const body = document.createElement("div");
  body.className = "iw-msg-text";
  body.textContent = message == null ? "" : String(message);
  box.appendChild(body);

  let input = null;
  if (kind === "prompt") {
    input = document.createElement("input");
    input.type = "text";
    input.className = "iw-msg-input";
    input.value = defaultText == null ? "" : String(defaultText);
    box.appendChild(input);
  }

  const buttons = document.createElement("div");
  buttons.className = "iw-msg-buttons";
  const ok = document.createElement("button");
  ok.type = "button";
  ok.className = "iw-msg-button iw-msg-ok";
  ok.textContent = okCaption || "OK";
  buttons.appendChild(ok);
  let cancel = null;
  if (kind !== "message") {
    cancel = document.createElement("button");
    cancel.type = "button";
    cancel.className = "iw-msg-button iw-msg-cancel";
    cancel.textContent = cancelCaption || "Cancel";
    buttons.appendChild(cancel);
  }
  box.appendChild(buttons);
  overlay.appendChild(box);

  const previous = document.activeElement;
  let closed = false;
  const close = function (result) {
    if (closed) return;
    closed = true;
    document.removeEventListener("keydown", onKey, true);
    if (overlay.parentNode) overlay.parentNode.removeChild(overlay);
    if (previous && typeof previous.focus === "function") {
      try { previous.focus(); } catch (e) { /* gone */ }
    }
    IW.messageCallback(callback, result, input ? input.value : "", kind === "prompt");
  };
  const onKey = function (e) {
    if (e.key === "Escape") {
      e.preventDefault();
      close(kind === "message");
    } else if (e.key === "Enter" && (document.activeElement === input || document.activeElement === ok)) {
      e.preventDefault();
      close(true);
    }
  };
  ok.onclick = function () { close(true); };
  if (cancel) cancel.onclick = function () { close(false); };
  document.addEventListener("keydown", onKey, true);
  (document.body || document.documentElement).appendChild(overlay);
  try {
    (input || ok).focus();
  } catch (e) {
    // Not focusable yet.
  }
  return overlay;
};

function IWShowMessage(message, callback, title, buttonCaption) {
  return IW.openMessageBox("message", message, callback, title, buttonCaption);
}

function IWConfirm(message, callback, title, okCaption, cancelCaption) {
  return IW.openMessageBox("confirm", message, callback, title, okCaption, cancelCaption);
}

function IWPrompt(message, callback, title, defaultText, okCaption, cancelCaption) {
  return IW.openMessageBox("prompt", message, callback, title, okCaption, cancelCaption, defaultText);
}

// A passing notice in the window's corner: type "success", "error" or plain; it goes
// away after `wait` milliseconds (4 seconds when not given) or when clicked.
function IWLog(message, type, wait) {
  let area = document.getElementById("IWNotifyArea");
  if (!area) {
    area = document.createElement("div");
    area.id = "IWNotifyArea";
    area.className = "iw-notify-area";
    (document.body || document.documentElement).appendChild(area);
  }
  const note = document.createElement("div");
  const kind = type === "success" || type === "error" ? type : "plain";
  note.className = "iw-notify iw-notify-" + kind;
  note.setAttribute("role", kind === "error" ? "alert" : "status");
  note.textContent = message == null ? "" : String(message);
  const remove = function () {
    if (note.parentNode) note.parentNode.removeChild(note);
  };
  note.onclick = remove;
  area.appendChild(note);
  const delay = typeof wait === "number" && wait > 0 ? wait : 4000;
  window.setTimeout(remove, delay);
  return note;
}

window.IW = IW;
