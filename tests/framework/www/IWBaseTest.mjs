// The browser script (IWBase.js) in Chromium against a page shaped like the server's
// and a scripted stand-in for the server: hidden form, value formats, background
// requests (GET and POST, queue and repeat dropping, lock, failures), the answer's
// property table, full submits, client-object hooks and the message boxes.
import { test, before, after, beforeEach, afterEach, describe } from 'node:test';
import assert from 'node:assert/strict';
import { launchChromium } from '../../e2e/lib/chromium.mjs';
import { FakeServer, responseXml, kPageURL } from './fakeServer.mjs';

let browser;
let context;
let page;
let server;
let dialogs;
let consoleErrors;

before(async () => {
  browser = await launchChromium();
});

after(async () => {
  await browser?.close();
});

beforeEach(async () => {
  context = await browser.newContext();
  page = await context.newPage();
  dialogs = [];
  consoleErrors = [];
  page.on('dialog', async (d) => {
    dialogs.push({ type: d.type(), message: d.message() });
    if (d.type() === 'confirm') await (page.confirmAnswer ? d.accept() : d.dismiss());
    else await d.dismiss();
  });
  page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
  page.on('pageerror', (e) => consoleErrors.push('pageerror: ' + e.message));
  server = await FakeServer.open(page);
});

afterEach(async () => {
  await context?.close();
});

const fields = (params) => Object.fromEntries([...params.entries()]);

describe('page start', () => {
  test('InitRects adds the six framework fields and Initialize releases the load lock', async () => {
    const state = await page.evaluate(() => {
      const f = document.forms.SubmitForm;
      const v = (n) => f.elements.namedItem(n)?.value;
      return {
        width: v('IW_width'), height: v('IW_height'), action: v('IW_Action'), param: v('IW_ActionParam'),
        session: v('IW_SessionID_'), track: v('IW_TrackID_'), locked: IsLocked(),
        locker: document.getElementById('IWLocker').style.display, form: typeof IWCLForm,
        edit: typeof EDIT1IWCL.HookEvent, owned: IWCLForm.OwnedObjects.length,
      };
    });
    assert.equal(state.action, '');
    assert.equal(state.param, '');
    assert.equal(state.session, 'AbCdEfGhIjKlMnOpQrStUv');
    assert.equal(state.track, '7');
    assert.ok(Number(state.width) > 0, 'IW_width holds the client width');
    assert.ok(Number(state.height) > 0, 'IW_height holds the client height');
    assert.equal(state.locked, false);
    assert.equal(state.locker, 'none');
    assert.equal(state.edit, 'function');
    assert.equal(state.owned, 13);
    assert.deepEqual(consoleErrors, []);
  });

  test('the lock layer covers the window above every control', async () => {
    const style = await page.evaluate(() => {
      ActivateLock();
      const s = getComputedStyle(document.getElementById('IWLocker'));
      const r = { display: s.display, z: s.zIndex, bg: s.backgroundImage, locked: IsLocked(),
        top: document.elementFromPoint(20, 20).id };
      ReleaseLock();
      r.after = IsLocked();
      return r;
    });
    assert.equal(style.display, 'block');
    assert.equal(style.z, '10000');
    assert.match(style.bg, /gfx\/loading\.gif/);
    assert.equal(style.locked, true);
    assert.equal(style.top, 'IWLocker');
    assert.equal(style.after, false);
  });

  test('a resize writes the new client size into the hidden fields', async () => {
    await page.setViewportSize({ width: 640, height: 480 });
    await page.waitForFunction(() => document.forms.SubmitForm.IW_width.value === '640');
    assert.equal(await page.evaluate(() => document.forms.SubmitForm.IW_height.value), '480');
  });
});

describe('copying values', () => {
  const cases = [
    { name: 'text', setup: () => { EDIT1.value = 'a b,c'; }, field: 'EDIT1', expected: 'a b,c' },
    { name: 'single choice, nothing selected', setup: () => { COMBO1.selectedIndex = -1; }, field: 'COMBO1', expected: '-1' },
    { name: 'single choice', setup: () => { COMBO1.selectedIndex = 2; }, field: 'COMBO1', expected: '1' },
    { name: 'check box on', setup: () => { CHK1_CHECKBOX.checked = true; }, field: 'CHK1_CHECKBOX', expected: 'on' },
    { name: 'check box off', setup: () => { CHK1_CHECKBOX.checked = false; }, field: 'CHK1_CHECKBOX', expected: 'off' },
    { name: 'radio button checked', setup: () => { RADIO1_INPUT_3.checked = true; }, field: 'RADIO1_INPUT', expected: '2' },
  ];
  for (const c of cases) {
    test(`ProcessElement copies a ${c.name}`, async () => {
      const value = await page.evaluate(({ setup, field }) => {
        (0, eval)('(' + setup + ')')();
        const form = document.forms.SubmitForm;
        LocateInputElement(field, form, ProcessElement);
        return form.elements.namedItem(field).value;
      }, { setup: c.setup.toString(), field: c.field });
      assert.equal(value, c.expected);
    });
  }

  test('a multiple-choice list posts the first value, then every selected value with a comma', async () => {
    const values = await page.evaluate(() => {
      const form = document.forms.SubmitForm;
      const list = document.createElement('select');
      list.multiple = true;
      list.name = 'LIST1';
      for (const v of ['a', 'b', 'c']) list.add(new Option(v, v));
      document.body.appendChild(list);
      const field = document.createElement('input');
      field.type = 'hidden';
      field.name = 'LIST1';
      form.appendChild(field);
      const out = [];
      ProcessElement(list, form);
      out.push(field.value);
      list.options[0].selected = true;
      list.options[2].selected = true;
      ProcessElement(list, form);
      out.push(field.value);
      return out;
    });
    assert.deepEqual(values, ['-1', 'a,a,c,']);
  });

  test('elements of a form named HiddenSubmitForm and elements without a name are skipped', async () => {
    const value = await page.evaluate(() => {
      const form = document.forms.SubmitForm;
      const hidden = document.createElement('form');
      hidden.name = 'HiddenSubmitForm';
      const input = document.createElement('input');
      input.name = 'EDIT2';
      input.value = 'from hidden form';
      hidden.appendChild(input);
      document.body.appendChild(hidden);
      const nameless = document.createElement('input');
      nameless.value = 'nameless';
      ProcessElement(input, form);
      ProcessElement(nameless, form);
      return form.EDIT2.value;
    });
    assert.equal(value, '');
  });
});

describe('background requests', () => {
  test('a change of an edit box is a POST of the framework fields, the box and IW_Action', async () => {
    await page.fill('#EDIT1', '75');
    await page.press('#EDIT1', 'Tab');
    await server.idle();
    const change = server.calls.find((c) => c.query.get('callback') === 'EDIT1.DoOnAsyncChange');
    assert.ok(change, 'the change request was sent: ' + server.callbacks());
    assert.equal(change.method, 'POST');
    assert.match(change.contentType, /^application\/x-www-form-urlencoded/);
    const body = fields(change.body);
    assert.equal(body.EDIT1, '75');
    assert.equal(body.IW_Action, 'EDIT1');
    assert.equal(body.IW_SessionID_, 'AbCdEfGhIjKlMnOpQrStUv');
    assert.equal(body.IW_TrackID_, '7');
    assert.equal(body.IW_FormName, 'ORVServerForm');
    assert.equal(body.IW_FormClass, 'TORVServerForm');
    assert.ok('IW_width' in body && 'IW_height' in body && 'IW_ActionParam' in body);
    // Fields of controls that did not change, and page fields without the IW_ prefix, stay home.
    for (const absent of ['EDIT2', 'COMBO1', 'CHK1_CHECKBOX', 'RADIO1_INPUT', 'HIDDENFIELD1'])
      assert.ok(!(absent in body), absent + ' must not travel');
    assert.equal(await page.evaluate(() => ChangedControls), '');
  });

  test('a click is sent with the mouse details', async () => {
    await page.click('#EDIT1', { position: { x: 5, y: 4 } });
    await server.idle();
    const click = server.calls.find((c) => c.query.get('callback') === 'EDIT1.DoOnAsyncClick');
    assert.ok(click);
    assert.equal(click.query.get('x'), '5');
    assert.equal(click.query.get('y'), '4');
    assert.equal(click.query.get('which'), '1');
    assert.equal(click.query.get('modifiers'), '');
    assert.equal(click.method, 'POST');
  });

  test('key details carry the key code, the character and the modifiers', async () => {
    const details = await page.evaluate(() => [
      IW.eventDetails(new KeyboardEvent('keypress', { keyCode: 65, shiftKey: true, ctrlKey: true })),
      IW.eventDetails(new KeyboardEvent('keydown', { keyCode: 0 })),
      IW.eventDetails(new MouseEvent('mousedown', { button: 2, altKey: true, metaKey: true })),
      IW.eventDetails(new Event('change')),
    ]);
    assert.equal(details[0], '&which=65&char=A&modifiers=CTRL_MASK,SHIFT_MASK');
    assert.equal(details[1], '&which=0&modifiers=');
    assert.match(details[2], /^&x=-?\d+&y=-?\d+&which=3&modifiers=ALT_MASK,META_MASK,$/);
    assert.equal(details[3], '');
  });

  test('ajaxNotify and ajaxCall without changed values are GETs with IW_AjaxID and no body', async () => {
    await page.evaluate(() => ajaxNotify('ORVServerForm.NOTIFY.DoOnNotify'));
    await server.idle();
    await page.evaluate(() => ajaxCall('ORVServerForm.Custom', 'a=1&b=two', false));
    await server.idle();
    const [notify, call] = server.calls;
    assert.equal(notify.method, 'GET');
    assert.equal(notify.body, null);
    assert.equal(notify.query.get('callback'), 'ORVServerForm.NOTIFY.DoOnNotify');
    assert.match(notify.query.get('IW_AjaxID'), /^\d{14,}$/);
    assert.equal(call.method, 'GET');
    assert.equal(call.query.get('a'), '1');
    assert.equal(call.query.get('b'), 'two');
    assert.notEqual(call.query.get('IW_AjaxID'), notify.query.get('IW_AjaxID'));
  });

  test('a page with a form id adds IW_FormID_ to GET requests', async () => {
    await page.evaluate(() => {
      const f = document.createElement('input');
      f.type = 'hidden';
      f.name = 'IW_FormID_';
      f.value = 'xyz';
      document.forms.SubmitForm.appendChild(f);
      ajaxNotify('N');
    });
    await server.idle();
    assert.equal(server.calls[0].query.get('IW_FormID_'), 'xyz');
  });

  test('three queued change events of one control send the first and the third', async () => {
    const held = server.holdNext();
    await page.evaluate(() => ajaxCall('OUTSTANDING', '', false));
    await held.arrived;
    await page.evaluate(() => {
      for (const v of ['1', '2', '3']) {
        EDIT1.value = v;
        IW.Browser.fireEvent(EDIT1, 'change');
      }
    });
    assert.equal(await page.evaluate(() => eventQueue.length), 3);
    held.release();
    await server.idle();
    const changes = server.calls.filter((c) => c.query.get('callback') === 'EDIT1.DoOnAsyncChange');
    assert.equal(changes.length, 2, 'sent: ' + server.callbacks());
    // Values are read when a request is sent, so both carry the latest text.
    assert.deepEqual(changes.map((c) => c.body.get('EDIT1')), ['3', '3']);
    assert.equal(await page.evaluate(() => lastEvent), null);
  });

  test('three queued click events are all sent', async () => {
    const held = server.holdNext();
    await page.evaluate(() => ajaxCall('OUTSTANDING', '', false));
    await held.arrived;
    for (let i = 0; i < 3; i++) await page.click('#EDIT1');
    held.release();
    await server.idle();
    const clicks = server.calls.filter((c) => c.query.get('callback') === 'EDIT1.DoOnAsyncClick');
    assert.equal(clicks.length, 3, 'sent: ' + server.callbacks());
  });

  test('an event whose lock flag is set locks the page until its answer, whatever the status', async () => {
    for (const status of [200, 500]) {
      const held = server.holdNext({ status, body: status === 200 ? undefined : '' });
      await page.evaluate(() => { LOCKED1.value = 'x'; IW.Browser.fireEvent(LOCKED1, 'change'); });
      await held.arrived;
      assert.equal(await page.evaluate(() => IsLocked()), true, `locked while waiting (status ${status})`);
      held.release();
      await server.idle();
      assert.equal(await page.evaluate(() => IsLocked()), false, `released after status ${status}`);
    }
    assert.equal(await page.evaluate(() => LOCKED1IWCL.LockEvents.change), true);
  });

  test('a failed request with an empty body is reported with its URL, method and status', async () => {
    server.reply({ status: 503, body: '' });
    await page.evaluate(() => ajaxNotify('BROKEN'));
    await server.idle();
    assert.equal(dialogs.length, 1);
    const lines = dialogs[0].message.split('\n');
    assert.equal(lines[0], 'AJAX request failed: The application server did not respond.');
    assert.equal(lines[1], '');
    assert.match(lines[2], /^URL: \/\$\/callback\?callback=BROKEN&IW_AjaxID=\d+$/);
    assert.equal(lines[3], 'Method: GET');
    assert.equal(lines[4], 'Status: 503');
    assert.equal(lines[5], 'Status Text: Service Unavailable');
    assert.deepEqual(await page.evaluate(() => [eventProcessing, serverProblem]), [false, false]);
  });

  test('the error mode decides where a failure is reported', async () => {
    for (const [mode, alerts] of [[0, 0], [2, 0], [1, 1]]) {
      dialogs = [];
      consoleErrors = [];
      server.reply({ status: 500, body: '' });
      await page.evaluate((m) => { IWAjaxErrorMode = m; ajaxNotify('BROKEN'); }, mode);
      await server.idle();
      assert.equal(dialogs.length, alerts, `mode ${mode}`);
      const logged = consoleErrors.some((t) => t.startsWith('AJAX request failed'));
      assert.equal(logged, mode === 2, `console report in mode ${mode}`);
    }
  });

  test('a failed request with a body replaces the document with it', async () => {
    server.reply({ status: 500, body: '<html><body><p id="err">Session was terminated.</p></body></html>',
      contentType: 'text/html' });
    await page.evaluate(() => ajaxNotify('X'));
    await page.waitForSelector('#err');
    assert.equal(await page.textContent('#err'), 'Session was terminated.');
  });

  test('requests of a control whose asynchronous events are disabled are not sent', async () => {
    await page.evaluate(() => {
      EDIT1IWCL.DisableAjaxEvents();
      IW.Browser.fireEvent(EDIT1, 'change');
    });
    await server.idle();
    assert.equal(server.calls.length, 0);
    await page.evaluate(() => {
      EDIT1IWCL.EnableAjaxEvents();
      EDIT1IWCL.EnableAjaxEvents();  // never below 0
      IW.Browser.fireEvent(EDIT1, 'change');
    });
    await server.idle();
    assert.deepEqual(server.callbacks(), ['EDIT1.DoOnAsyncChange']);
    assert.equal(await page.evaluate(() => EDIT1IWCL.IsAsyncEventsDisabled()), false);
  });
});

describe('applying the answer', () => {
  async function apply(update, execute = '') {
    server.reply({ body: responseXml({ update, execute }) });
    await page.evaluate(() => ajaxNotify('X'));
    await server.idle();
  }

  test('text, caption, innerhtml, textcontent, hint, src, href and onclick', async () => {
    await apply(
      '<control id="EDIT2" type="IWEDIT"><text>new &amp; text</text><hint>it&apos;s a hint</hint></control>' +
      '<control id="CHK1" type="IWCHECKBOX"><caption>New &lt;b&gt;caption&lt;/b&gt;</caption></control>' +
      '<control id="OUT1" type="IWRECTANGLE"><innerhtml><![CDATA[<table><tr><td>2.50&amp;nbsp;m</td></tr></table>]]></innerhtml></control>' +
      '<control id="LBL1" type="IWLABEL"><textcontent>plain &lt;text&gt;</textcontent></control>' +
      '<control id="img1" type="IMAGE"><src>/$/gfx/loading.gif</src><onclick>window.clicked=1</onclick></control>');
    const r = await page.evaluate(() => ({
      edit: EDIT2.value, hint: EDIT2.title, caption: CHK1_CHKBCAPTION.innerHTML,
      out: OUT1.querySelector('td').textContent, label: LBL1.textContent,
      src: IMG1.getAttribute('src'), onclick: IMG1.getAttribute('onclick'),
    }));
    assert.equal(r.edit, 'new & text');
    assert.equal(r.hint, "it's a hint");
    assert.equal(r.caption, 'New <b>caption</b>');
    assert.equal(r.out, '2.50\u00a0m');
    assert.equal(r.label, 'plain <text>');
    assert.equal(r.src, '/$/gfx/loading.gif');
    assert.equal(r.onclick, 'window.clicked=1');
    await apply('<control id="IMG1" type="IMAGE"><onclick></onclick><href></href></control>');
    assert.equal(await page.evaluate(() => IMG1.hasAttribute('onclick')), false);
  });

  test('a control changed by the visitor since the request was sent keeps its content', async () => {
    const held = server.holdNext({ body: responseXml({
      update: '<control id="LBL1" type="IWLABEL"><innerhtml><![CDATA[server]]></innerhtml></control>' +
        '<control id="OUT1" type="IWRECTANGLE"><textcontent>server</textcontent></control>' }) });
    await page.evaluate(() => ajaxNotify('X'));
    await held.arrived;
    await page.evaluate(() => AddChangedControl('LBL1'));
    held.release();
    await server.idle();
    assert.equal(await page.textContent('#LBL1'), 'Label text');
    assert.equal(await page.textContent('#OUT1'), 'server');
  });

  test('style goes to the default class rule, or inline for an element with an inline style', async () => {
    await apply('<control id="OUT1" type="IWRECTANGLE"><style><attribute name="visibility">hidden</attribute>' +
      '<attribute name="color">#808080</attribute><attribute name="left">310px</attribute></style></control>' +
      '<control id="HIDDENCTL" type="IWLABEL"><style><attribute name="visibility">inherit</attribute></style></control>');
    const r = await page.evaluate(() => {
      const rule = IW.findStyleRule('.OUT1CSS');
      return {
        ruleVisibility: rule.style.visibility, ruleColor: rule.style.color, ruleLeft: rule.style.left,
        inline: OUT1.getAttribute('style'), shown: getComputedStyle(OUT1).visibility,
        hiddenInline: HIDDENCTL.style.visibility, hiddenShown: getComputedStyle(HIDDENCTL).visibility,
      };
    });
    assert.equal(r.ruleVisibility, 'hidden');
    assert.equal(r.ruleColor, 'rgb(128, 128, 128)');
    assert.equal(r.ruleLeft, '310px');
    assert.equal(r.inline, null);
    assert.equal(r.shown, 'hidden');
    assert.equal(r.hiddenInline, 'inherit');
    assert.equal(r.hiddenShown, 'visible');
  });

  test('css replaces the class and the rule is looked up again', async () => {
    await apply('<control id="OUT1" type="IWRECTANGLE"><css>big</css><style><attribute name="top">99px</attribute></style></control>');
    const r = await page.evaluate(() => ({ cls: OUT1.className, top: OUT1.style.top, rule: IW.findStyleRule('.OUT1CSS').style.top }));
    assert.equal(r.cls, 'big');
    assert.equal(r.top, '99px');
    assert.equal(r.rule, '10px', 'the old class rule is left alone');
  });

  test('enabled, readonly, checked and maxlength', async () => {
    await apply('<control id="EDIT2" type="IWEDIT"><enabled>false</enabled><readonly>true</readonly><maxlength>0</maxlength></control>' +
      '<control id="CHK1" type="IWCHECKBOX"><enabled>false</enabled><checked>true</checked></control>' +
      '<control id="LOCKED1" type="IWEDIT"><maxlength>-1</maxlength></control>' +
      '<control id="EDIT1" type="IWEDIT"><maxlength>12</maxlength></control>');
    const r = await page.evaluate(() => ({
      disabled: EDIT2.disabled, readOnly: EDIT2.readOnly, max: EDIT2.maxLength,
      boxDisabled: CHK1_CHECKBOX.disabled, spanDisabled: CHK1.disabled, checked: CHK1_CHECKBOX.checked,
      zero: LOCKED1.maxLength, twelve: EDIT1.maxLength,
    }));
    assert.deepEqual(r, { disabled: true, readOnly: true, max: 2147483647, boxDisabled: true,
      spanDisabled: undefined, checked: true, zero: 0, twelve: 12 });
    await apply('<control id="EDIT2" type="IWEDIT"><enabled>true</enabled><readonly>false</readonly></control>');
    assert.deepEqual(await page.evaluate(() => [EDIT2.disabled, EDIT2.readOnly]), [false, false]);
  });

  test('items rebuild a combo box and a radio group', async () => {
    await apply('<control id="COMBO1" type="IWCOMBOBOX"><items><item value="-1">-- No Selection --</item>' +
      '<item value="0">Two  words</item><item selected="true" value="1">B</item></items></control>' +
      '<control id="RADIO1" type="IWRADIOGROUP" layout="horizontal"><items>' +
      '<item value="0" id="RADIO1_INPUT_1" enabled="true">A &amp; a</item>' +
      '<item selected="true" value="1" id="RADIO1_INPUT_2" enabled="false">B</item></items></control>');
    const r = await page.evaluate(() => ({
      options: [...COMBO1.options].map((o) => [o.value, o.text, o.selected]),
      radios: [...RADIO1.querySelectorAll('input')].map((i) => [i.name, i.id, i.value, i.checked, i.disabled, i.getAttribute('onclick')]),
      spans: [...RADIO1.querySelectorAll('span')].map((s) => [s.innerHTML, s.getAttribute('onclick')]),
      brs: RADIO1.querySelectorAll('br').length,
    }));
    assert.deepEqual(r.options, [['-1', '--\u00a0No\u00a0Selection\u00a0--', false], ['0', 'Two\u00a0\u00a0words', false], ['1', 'B', true]]);
    assert.deepEqual(r.radios, [
      ['RADIO1_INPUT', 'RADIO1_INPUT_1', '0', false, false, "radioGroupClick(event, 'RADIO1_INPUT_1');"],
      ['RADIO1_INPUT', 'RADIO1_INPUT_2', '1', true, true, null]]);
    assert.deepEqual(r.spans, [['A &amp; a', "radioGroupClick(event, 'RADIO1_INPUT_1');"], ['B', null]]);
    assert.equal(r.brs, 0);
  });

  test('unknown properties, unknown controls and a page control are ignored', async () => {
    await apply('<control id="EDIT1" type="IWEDIT"><color>red</color><supportsinput>true</supportsinput></control>' +
      '<control id="NOSUCH" type="IWEDIT"><text>x</text></control>' +
      '<control id="ORVServerForm" type="IWFORM"><hiddenfield id="A"><![CDATA[b]]></hiddenfield></control>');
    assert.equal(await page.inputValue('#EDIT1'), '60');
    assert.deepEqual(consoleErrors, []);
  });

  test('supportsinput switches the input hooks', async () => {
    await apply('<control id="EDIT1" type="IWEDIT"><supportsinput>false</supportsinput></control>');
    await page.evaluate(() => IW.Browser.fireEvent(EDIT2, 'keypress'));
    await page.evaluate(() => IW.Browser.fireEvent(EDIT1, 'keypress'));
    assert.equal(await page.evaluate(() => ChangedControls), 'EDIT2,');
  });

  test('submit, then updates, then execute scripts in order; a failing script does not stop the rest', async () => {
    server.reply({ body: responseXml({
      submit: '/$/next',
      update: '<control id="EDIT2" type="IWEDIT"><text>updated</text></control>',
      execute: '<literal>window.order = [IW.$("EDIT2").value];</literal>' +
        '<literal><![CDATA[window.order.push(1 < 2 && "cdata");]]></literal>' +
        '<literal>throw new Error("boom");</literal>' +
        '<literal>window.order.push(document.forms.SubmitForm.getAttribute("action"));</literal>',
    }) });
    await page.evaluate(() => ajaxNotify('X'));
    await server.idle();
    assert.deepEqual(await page.evaluate(() => window.order), ['updated', 'cdata', '/$/next']);
    assert.ok(consoleErrors.some((t) => t.includes('boom')));
  });

  test('a document without exactly one response element is ignored', async () => {
    for (const body of ['<?xml version="1.0"?><other/>', 'not xml at all',
      '<?xml version="1.0"?><x><response><execute><literal>window.ran=1</literal></execute></response>' +
      '<response/></x>']) {
      server.reply({ body });
      await page.evaluate(() => ajaxNotify('X'));
      await server.idle();
    }
    assert.equal(await page.evaluate(() => window.ran), undefined);
  });

  test('a rewrite replaces the whole document', async () => {
    server.reply({ body: responseXml({ rewrite: '<![CDATA[<html><body><p id="new">rewritten</p></body></html>]]>' }) });
    await page.evaluate(() => ajaxNotify('X'));
    await page.waitForSelector('#new');
  });

  test('the re-submit script of a changed page posts the hidden form without repeating an action', async () => {
    server.reply({ body: responseXml({ execute: '<literal><![CDATA[var w=topmost(), d=w.document, p=w.location.protocol + "//" + w.location.host + "/$/";\r\nw.GSubmitting = false;\r\nw.ValidClick = true;\r\nd.SubmitForm.action=p;\r\nd.SubmitForm.submit();\r\n]]></literal>' }) });
    await Promise.all([page.waitForSelector('#submitted'), page.evaluate(() => ajaxNotify('X'))]);
    assert.equal(server.submits.length, 1);
    assert.equal(server.submits[0].body.get('IW_Action'), '');
  });
});

describe('full submit', () => {
  test('a button posts SubmitForm with the values, IW_Action and IW_ActionParam, under the lock', async () => {
    await page.fill('#EDIT2', 'typed');
    await page.selectOption('#COMBO1', '2');
    await page.evaluate(() => { RADIO1_INPUT_2.checked = true; CHK1_CHECKBOX.checked = true; });
    await server.idle();
    await Promise.all([page.waitForSelector('#submitted'), page.click('#BTN1')]);
    const body = fields(server.submits[0].body);
    assert.equal(body.IW_Action, 'BTN1');
    assert.equal(body.IW_ActionParam, '');
    assert.equal(body.EDIT1, '60');
    assert.equal(body.EDIT2, 'typed');
    assert.equal(body.COMBO1, '2');
    assert.equal(body.RADIO1_INPUT, '1');
    assert.equal(body.CHK1_CHECKBOX, 'on');
    assert.equal(body.CHK2_CHECKBOX, 'off');
    assert.equal(body.HIDDENFIELD1, 'a b');
    assert.equal(body.IW_FormName, 'ORVServerForm');
  });

  test('the hidden form is emptied of the action after posting', async () => {
    const state = await page.evaluate(() => {
      const form = document.forms.SubmitForm;
      form.submit = () => { window.posted = [form.IW_Action.value, form.IW_ActionParam.value]; };
      SubmitClickConfirm('BTN1', 'p1', false, '');
      return { posted: window.posted, action: form.IW_Action.value, param: form.IW_ActionParam.value,
        submitting: GSubmitting, processing: eventProcessing, locked: IsLocked() };
    });
    assert.deepEqual(state, { posted: ['BTN1', 'p1'], action: '', param: '', submitting: false,
      processing: false, locked: true });
  });

  test('a submit is refused while the page is locked or the control disabled', async () => {
    const r = await page.evaluate(() => {
      const form = document.forms.SubmitForm;
      let posts = 0;
      form.submit = () => { posts++; };
      ActivateLock();
      const whileLocked = SubmitClickConfirm('BTN1', '', false, '');
      ReleaseLock();
      BTN1.disabled = true;
      const whileDisabled = SubmitClickConfirm('BTN1', '', false, '');
      return [whileLocked, whileDisabled, posts];
    });
    assert.deepEqual(r, [false, false, 0]);
  });

  test('validation that fails stops the submit and unlocks the page', async () => {
    await page.fill('#EDIT2', 'invalid');
    await page.evaluate(() => { document.forms.SubmitForm.submit = () => { window.posted = true; }; });
    await page.click('#BTN1');
    assert.deepEqual(dialogs.map((d) => d.message), ['EDIT2 is invalid']);
    assert.deepEqual(await page.evaluate(() => [window.posted, IsLocked(), GSubmitting, eventProcessing]),
      [undefined, false, false, false]);
  });

  test('a declined confirmation sends nothing and puts a submitting check box back', async () => {
    page.confirmAnswer = false;
    await page.evaluate(() => { document.forms.SubmitForm.submit = () => { window.posted = true; }; });
    await page.click('#CHK2_CHECKBOX');
    assert.deepEqual(dialogs.map((d) => [d.type, d.message]), [['confirm', 'Submit the box?']]);
    assert.deepEqual(await page.evaluate(() => [CHK2_CHECKBOX.checked, window.posted, eventProcessing]),
      [false, undefined, false]);
  });

  test('an accepted confirmation submits', async () => {
    page.confirmAnswer = true;
    await Promise.all([page.waitForSelector('#submitted'), page.click('#BTNC')]);
    assert.equal(server.submits[0].body.get('IW_Action'), 'BTNC');
  });

  test('Enter in an edit box with ImplicitSubmit submits it with an empty parameter', async () => {
    await page.fill('#EDIT2', 'enter');
    await Promise.all([page.waitForSelector('#submitted'), page.press('#EDIT2', 'Enter')]);
    assert.equal(server.submits[0].body.get('IW_Action'), 'EDIT2');
    assert.equal(server.submits[0].body.get('IW_ActionParam'), '');
    assert.equal(server.submits[0].body.get('EDIT2'), 'enter');
  });

  test('Enter in an edit box without ImplicitSubmit posts nothing', async () => {
    await page.press('#EDIT1', 'Enter');
    await server.idle();
    assert.equal(server.submits.length, 0);
  });

  test('a button clicked right after typing waits for the change request, then submits', async () => {
    const held = server.holdNext();
    await page.fill('#EDIT1', '80');
    await page.click('#BTN1');  // the edit loses the focus: its change is sent first
    const change = await held.arrived;
    assert.equal(change.query.get('callback'), 'EDIT1.DoOnAsyncChange');
    assert.equal(server.submits.length, 0);
    held.release();
    await page.waitForSelector('#submitted');
    assert.equal(server.submits[0].body.get('IW_Action'), 'BTN1');
    assert.equal(server.submits[0].body.get('EDIT1'), '80');
  });
});

describe('controls and client objects', () => {
  test('a click on a check box caption toggles it and sends its value with the change', async () => {
    await page.click('#CHK1_CHKBCAPTION');
    await server.idle();
    assert.equal(await page.isChecked('#CHK1_CHECKBOX'), true);
    const sent = server.calls.map((c) => [c.query.get('callback'), c.body?.get('CHK1_CHECKBOX')]);
    assert.deepEqual(sent, [['CHK1.DoOnAsyncChange', 'on'], ['CHK1.DoOnAsyncClick', null]]);
  });

  test('a click on the box itself sends click (with its value) and change', async () => {
    await page.click('#CHK1_CHECKBOX');
    await server.idle();
    const sent = server.calls.map((c) => [c.query.get('callback'), c.body?.get('CHK1_CHECKBOX')]);
    // The value travels with the first request; the change that follows has nothing new.
    assert.deepEqual(sent, [['CHK1.DoOnAsyncClick', 'on'], ['CHK1.DoOnAsyncChange', null]]);
  });

  test('a click on a radio caption checks its button and sends the group value', async () => {
    await page.click('#RADIO1_CAPTION_2');
    await server.idle();
    assert.equal(await page.isChecked('#RADIO1_INPUT_2'), true);
    assert.deepEqual(server.calls.map((c) => [c.query.get('callback'), c.body.get('RADIO1_INPUT')]),
      [['RADIO1.DoOnAsyncChange', '1']]);
  });

  test('a click on a radio button sends one change with the group value', async () => {
    await page.click('#RADIO1_INPUT_3');
    await server.idle();
    assert.deepEqual(server.calls.map((c) => [c.query.get('callback'), c.body.get('RADIO1_INPUT')]),
      [['RADIO1.DoOnAsyncChange', '2']]);
  });

  test('HookEvent runs an inline handler first and stops at the first false', async () => {
    const r = await page.evaluate(() => {
      const el = document.createElement('div');
      el.id = 'HOOKED';
      el.setAttribute('onclick', 'window.trace.push("inline")');
      document.body.appendChild(el);
      window.trace = [];
      const obj = IW.initIWCL(IWCLForm, 'HOOKED', false);
      obj.HookEvent('click', () => { window.trace.push('a'); return false; });
      obj.HookEvent('click', () => { window.trace.push('b'); });
      el.click();
      return { trace: window.trace, global: window.HOOKEDIWCL === el };
    });
    assert.deepEqual(r, { trace: ['inline', 'a'], global: true });
  });

  test('HookDefaultHandlers reads event names, options and locks', async () => {
    const r = await page.evaluate(() => {
      const el = document.createElement('div');
      el.id = 'HDH';
      document.body.appendChild(el);
      const obj = IW.initIWCL(IWCLForm, 'HDH', false);
      obj.HookDefaultHandlers('OnClick:Lock;OnDblClick;OnMouseDown:x,Lock;OnNoSuchEvent;OnKeyUp');
      obj.HookDefaultHandlers('OnClick');  // hooking again adds nothing
      return {
        events: Object.keys(obj.IWEvents).sort(),
        clickHandlers: obj.IWEvents.click.length,
        locks: Object.keys(obj.LockEvents).sort(),
      };
    });
    assert.deepEqual(r.events, ['click', 'dblclick', 'keyup', 'mousedown']);
    assert.equal(r.clickHandlers, 1);
    assert.deepEqual(r.locks, ['click', 'mousedown']);
  });

  test('focus and blur colours from SetProps', async () => {
    await page.focus('#EDIT2');
    assert.equal(await page.evaluate(() => EDIT2.style.backgroundColor), 'rgb(255, 255, 0)');
    await page.focus('#EDIT1');
    assert.equal(await page.evaluate(() => EDIT2.style.backgroundColor), 'rgb(255, 255, 255)');
  });

  test('setEnabled, topmost, containsName and AddChangedControl', async () => {
    const r = await page.evaluate(() => {
      setEnabled('EDIT1', false);
      const d = EDIT1.disabled;
      setEnabled('EDIT1', true);
      ChangedControls = '';
      AddChangedControl('XEDIT1');
      AddChangedControl('');
      AddChangedControl('XEDIT1');
      return { d, e: EDIT1.disabled, top: topmost() === window, list: ChangedControls,
        has: containsName('EDIT1'), hasX: containsName('XEDIT1') };
    });
    assert.deepEqual(r, { d: true, e: false, top: true, list: 'XEDIT1,', has: false, hasX: true });
  });
});

describe('messages, logging and keep-alive', () => {
  test('IWShowMessage shows the text as text and its OK button closes it', async () => {
    await page.evaluate(() => IWShowMessage('The following exception occured\r\n  EDIT1: <b>bad</b>', '', '', 'OK'));
    const box = page.locator('.iw-msg-box');
    assert.equal(await box.locator('.iw-msg-text').textContent(), 'The following exception occured\r\n  EDIT1: <b>bad</b>');
    assert.equal(await box.locator('button').count(), 1);
    assert.equal(await box.locator('button').textContent(), 'OK');
    await box.locator('button').click();
    assert.equal(await page.locator('.iw-msg-overlay').count(), 0);
  });

  test('a javascript: callback runs with the result; a server callback gets RetValue and InputStr', async () => {
    await page.evaluate(() => IWConfirm('Sure?', 'javascript:window.result = [retValue, inputStr];', 'Title', 'Yes', 'No'));
    assert.equal(await page.locator('.iw-msg-title').textContent(), 'Title');
    await page.click('.iw-msg-cancel');
    assert.deepEqual(await page.evaluate(() => window.result), [false, '']);

    await page.evaluate(() => IWPrompt('Name?', 'ORVServerForm.AskName', '', 'default', 'OK', 'Cancel'));
    await page.fill('.iw-msg-input', 'pump 1');
    await page.press('.iw-msg-input', 'Enter');
    await server.idle();
    assert.equal(server.calls[0].query.get('callback'), 'ORVServerForm.AskName');
    assert.equal(server.calls[0].query.get('RetValue'), 'true');
    assert.equal(server.calls[0].query.get('InputStr'), 'pump 1');
  });

  test('IWLog shows a passing notice of its type', async () => {
    await page.evaluate(() => { IWLog('Saved', 'success', 60000); IWLog('Failed', 'error'); IWLog('Note'); });
    const kinds = await page.locator('.iw-notify').evaluateAll((els) => els.map((e) => [e.className, e.textContent]));
    assert.deepEqual(kinds, [['iw-notify iw-notify-success', 'Saved'], ['iw-notify iw-notify-error', 'Failed'],
      ['iw-notify iw-notify-plain', 'Note']]);
    await page.click('.iw-notify-success');
    assert.equal(await page.locator('.iw-notify').count(), 2);
  });

  test('logMessage writes only with IWDEBUG; consoleError always', async () => {
    const logs = [];
    page.on('console', (m) => logs.push([m.type(), m.text()]));
    await page.evaluate(() => { logMessage('quiet'); IWDEBUG = true; logMessage('loud'); consoleError('err'); });
    await page.waitForFunction(() => true);
    assert.ok(!logs.some(([, t]) => t === 'quiet'));
    assert.ok(logs.some(([k, t]) => k === 'log' && t === 'loud'));
    assert.ok(logs.some(([k, t]) => k === 'error' && t === 'err'));
  });

  test('keep-alive sends a GET to KeepAlive every interval until it is switched off', async () => {
    await page.clock.install();
    await page.evaluate(() => {
      window.keepAlives = [];
      AjaxRequest.prototype.sendQuietly = function () { window.keepAlives.push(this.url); };
      IW.Session.initKeepAlive(150000);
      IW.Session.initKeepAlive(150000);  // starting again replaces the running timer
    });
    await page.clock.runFor(150000 * 2 + 10);
    await page.evaluate(() => IW.Session.initKeepAlive(0));
    await page.clock.runFor(150000 * 3);
    const urls = await page.evaluate(() => window.keepAlives);
    assert.equal(urls.length, 2);
    assert.match(urls[0], /^\/\$\/KeepAlive\?IW_AjaxID=\d+$/);
  });
});
