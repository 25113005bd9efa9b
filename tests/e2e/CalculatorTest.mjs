// The calculator page end to end: the staged pump demo served by the real executable,
// driven by headless Chromium. Start sequence, Continue, greying through the change
// callback, range and solver errors, a successful solve with a new plot picture, Save
// and Load across two sessions, the queue of change events, and the check box and radio
// group reaching the solver.
import { test, before, after, beforeEach, afterEach, describe } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';
import { launchChromium } from './lib/chromium.mjs';
import { DemoServer } from './lib/demoServer.mjs';

const demoDir = process.env.ORV_DEMO_DIR ||
  join(process.env.ORV_BINARY_DIR || join(process.cwd(), 'build'), 'demo');
const kGrey = 'rgb(128, 128, 128)';

let server;
let browser;
let context;
let page;
// Screenshots for reviewers (not kept in the repository).
const artifactsDir = join(process.env.ORV_SOURCE_DIR || process.cwd(), 'tests', 'artifacts');

const pageTest = test;

before(async () => {
  server = await DemoServer.start(demoDir, { executable: process.env.ORV_DEMO_EXE || 'ORVWS' });
  browser = await launchChromium();
  // A program without its calculator page answers every visit with this error page.
  const probe = await browser.newPage();
  await probe.goto(server.url);
  await probe.waitForURL((u) => u.pathname === '/$/');
  await probe.waitForLoadState('load');
  assert.ok(!(await probe.content()).includes('Application main form is not defined'),
    'the program registers its calculator page');
  await probe.close();
});

after(async () => {
  await browser?.close();
  await server?.stop();
});

beforeEach(async () => {
  context = await browser.newContext();
  page = await context.newPage();
  page.on('dialog', (d) => d.dismiss());
});

afterEach(async () => {
  await context?.close();
});

// The page has loaded, is not locked and has no background request under way.
async function settled(p = page) {
  await p.waitForFunction(() => typeof IsLocked === 'function' && !IsLocked() && !eventProcessing &&
    eventQueue.length === 0 && IW.outstandingRequests === 0);
}

// From the start address to the title screen.
async function openTitle(p = page) {
  await p.goto(server.url);
  await p.waitForSelector('#IWCONTINUEB');
  await settled(p);
}

// A full submit by clicking `selector`; resolves when the new page has settled.
async function submitBy(selector, p = page) {
  await Promise.all([p.waitForNavigation(), p.click(selector)]);
  await settled(p);
}

async function openCalculator(p = page) {
  await openTitle(p);
  await submitBy('#IWCONTINUEB', p);
}

const visible = (selector, p = page) =>
  p.$eval(selector, (e) => getComputedStyle(e).visibility !== 'hidden').catch(() => false);

async function statusText(p = page) {
  return p.evaluate(() => {
    const s = document.getElementById('STATUS');
    return s && getComputedStyle(s).visibility !== 'hidden' ? s.textContent.trim() : '';
  });
}

// The output next to the label with that text.
async function outputNextTo(labelText, p = page) {
  return p.evaluate((wanted) => {
    const all = [...document.querySelectorAll('div[id^=TIWRECTANGLE]')];
    const label = all.find((d) => d.textContent.trim() === wanted);
    if (!label) return null;
    const top = label.getBoundingClientRect().top;
    const candidates = all.filter((d) => d !== label && Math.abs(d.getBoundingClientRect().top - top) < 6 &&
      d.getBoundingClientRect().left > label.getBoundingClientRect().left && /\d/.test(d.textContent));
    candidates.sort((a, b) => a.getBoundingClientRect().left - b.getBoundingClientRect().left);
    const out = candidates[0];
    if (!out) return null;
    const row = out.querySelector('tr');
    return { id: out.id, text: out.textContent.trim(), color: row ? getComputedStyle(row).color : '' };
  }, labelText);
}

describe('calculator page', () => {
  pageTest('the start sequence ends on the title screen: four header lines and Continue', async () => {
    await openTitle();
    assert.equal(new URL(page.url()).pathname, '/$/');
    for (const id of ['#HEADER1', '#HEADER2', '#HEADER3', '#HEADER4', '#IWCONTINUEB'])
      assert.ok(await visible(id), id + ' is shown');
    assert.equal(await page.textContent('#HEADER1'), `ORV Web Server Port ${server.port} Version 1.06`);
    assert.equal(await page.textContent('#HEADER2'), 'Centrifugal pump in a pipe system');
    assert.equal(await page.$('#TIWEDIT1'), null, 'no input before Continue');
    const cookies = await context.cookies();
    assert.ok(cookies.some((c) => c.name.startsWith('IW_')), 'the session cookie is set');
  });

  pageTest('Continue shows the inputs, outputs and buttons and hides the title', async () => {
    await openCalculator();
    for (const id of ['#TIWEDIT1', '#TIWCOMBOBOX1', '#TIWCHECKBOX1', '#TIWRADIOGROUP1', '#SOLVEBUTTON',
      '#SAVEBUTTON', '#LOADBUTTON'])
      assert.ok(await visible(id), id + ' is shown');
    assert.equal(await page.$('#IWCONTINUEB'), null);
    assert.equal(await page.inputValue('#TIWEDIT1'), '60');
  });

  pageTest('a successful solve shows the results and a new plot picture', async () => {
    await openCalculator();
    const before = await page.$$eval('img', (imgs) => imgs.map((i) => i.getAttribute('src')));
    await submitBy('#SOLVEBUTTON');
    assert.equal(await statusText(), '');
    const velocity = await outputNextTo('Flow velocity');
    assert.equal(velocity.text, '2.12 [m/s]');
    assert.notEqual(velocity.color, kGrey, 'a numeric result gets its colour back');
    assert.equal((await outputNextTo('Pump total head')).text, '28.23 [m]');
    const after = await page.$$eval('img', (imgs) => imgs.map((i) => i.getAttribute('src')));
    const changed = after.filter((src, i) => src !== before[i]);
    assert.ok(changed.length >= 2, 'both plots have new pictures: ' + JSON.stringify({ before, after }));
    const loaded = await page.$$eval('img', (imgs) => imgs.every((i) => i.complete && i.naturalWidth > 0));
    assert.ok(loaded, 'every picture loads');
    mkdirSync(artifactsDir, { recursive: true });
    await page.screenshot({ path: join(artifactsDir, 'demo_after_solve.png'), fullPage: true });
  });

  pageTest('changing an input greys the results without loading the page again', async () => {
    await openCalculator();
    await submitBy('#SOLVEBUTTON');
    await page.evaluate(() => { window.sameDocument = true; });
    assert.notEqual((await outputNextTo('Flow velocity')).color, kGrey);
    const callback = page.waitForResponse((r) => r.url().includes('callback=TIWEDIT1.DoOnAsyncChange'));
    await page.fill('#TIWEDIT1', '75');
    await page.press('#TIWEDIT1', 'Tab');
    await callback;
    await settled();
    assert.equal(await page.evaluate(() => window.sameDocument), true, 'no page load');
    for (const label of ['Flow velocity', 'Pump total head', 'Shaft power'])
      assert.equal((await outputNextTo(label)).color, kGrey, label + ' is grey');
  });

  pageTest('an input out of its range shows the exact message; a click into an input hides it', async () => {
    await openCalculator();
    await page.fill('#TIWEDIT1', '99999');
    await submitBy('#SOLVEBUTTON');
    assert.equal(await statusText(), 'The value entered for Q must be less than 5000.0');
    await page.click('#TIWEDIT2');
    await settled();
    assert.equal(await statusText(), '');
  });

  pageTest('a solver error shows "Error: " and the solver\'s message', async () => {
    await openCalculator();
    await page.fill('#TIWEDIT1', '4000');
    await submitBy('#SOLVEBUTTON');
    assert.equal(await statusText(),
      'Error: v = 141.47 m/s is out of its range -infinity to 10.00 m/s (PUMP.EQN line 76)');
  });

  pageTest('a check box and a radio group change what the solver receives', async () => {
    await openCalculator();
    await submitBy('#SOLVEBUTTON');
    const minorBefore = (await outputNextTo('Minor losses')).text;
    const motorBefore = (await outputNextTo('Motor input')).text;
    await page.click('#TIWCHECKBOX1_CHECKBOX');
    await settled();
    await page.click('#TIWRADIOGROUP1_INPUT_2');
    await settled();
    await submitBy('#SOLVEBUTTON');
    assert.equal(await page.isChecked('#TIWCHECKBOX1_CHECKBOX'), true);
    assert.equal(await page.isChecked('#TIWRADIOGROUP1_INPUT_2'), true);
    assert.equal(minorBefore, '1.84 [m]');
    assert.equal((await outputNextTo('Minor losses')).text, '0.00 [m]');
    assert.notEqual((await outputNextTo('Motor input')).text, motorBefore);
  });

  pageTest('three queued change events of one control send the first and the third', async () => {
    await openCalculator();
    // Hold the answer to a click so that the change events queue behind it.
    let release;
    const gate = new Promise((r) => { release = r; });
    let held = false;
    const changes = [];
    await page.route('**/$/callback?**', async (route) => {
      const url = route.request().url();
      if (url.includes('DoOnAsyncChange')) changes.push(route.request().postData());
      if (!held && url.includes('DoOnAsyncClick')) {
        held = true;
        await gate;
      }
      await route.continue();
    });
    const clickSent = page.waitForRequest((r) => r.url().includes('TIWEDIT2.DoOnAsyncClick'));
    await page.click('#TIWEDIT2');
    await clickSent;
    await page.evaluate(() => {
      for (const v of ['61', '62', '63']) {
        TIWEDIT1.value = v;
        IW.Browser.fireEvent(TIWEDIT1, 'change');
      }
    });
    assert.equal(await page.evaluate(() => eventQueue.length), 3);
    release();
    await settled();
    assert.equal(changes.length, 2, 'change requests sent: ' + JSON.stringify(changes));
  });

  pageTest('Save under a name, then Load it in a second session restores the inputs', async () => {
    await openCalculator();
    await page.fill('#TIWEDIT1', '42');
    await page.fill('#TIWEDIT3', '321');
    await submitBy('#SAVEBUTTON');  // first click: the name field opens
    assert.ok(await visible('#SAVEEDIT'));
    const name = 'e2e' + Date.now();
    await page.fill('#SAVEEDIT', name);
    await submitBy('#SAVEBUTTON');  // second click: saved
    assert.ok(!(await statusText()).startsWith('Error'), await statusText());

    const second = await browser.newContext();
    try {
      const p2 = await second.newPage();
      await openCalculator(p2);
      assert.equal(await p2.inputValue('#TIWEDIT1'), '60');
      await submitBy('#LOADBUTTON', p2);  // first click: the list of sets opens
      assert.ok(await visible('#LOADFILESBOX', p2));
      const option = await p2.$$eval('#LOADFILESBOX option', (os, n) =>
        os.find((o) => o.textContent.trim().startsWith(n))?.value, name);
      assert.ok(option !== undefined, 'the saved set is offered');
      await p2.selectOption('#LOADFILESBOX', option);
      await settled(p2);
      await submitBy('#LOADBUTTON', p2);  // second click: loaded
      assert.equal(await p2.inputValue('#TIWEDIT1'), '42');
      assert.equal(await p2.inputValue('#TIWEDIT3'), '321');
    } finally {
      await second.close();
    }
  });
});
