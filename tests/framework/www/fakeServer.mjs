// A stand-in for the server as far as the browser script sees it: the page, the
// embedded files from framework/www, and scripted answers to background requests and
// submits. Every request of the page goes through playwright's routing, so nothing
// listens on a port and every request is recorded.
import { readFileSync, existsSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { deferred } from '../../e2e/lib/chromium.mjs';

const here = dirname(fileURLToPath(import.meta.url));
export const kSourceDir = process.env.ORV_SOURCE_DIR || join(here, '..', '..', '..');
const kWww = join(kSourceDir, 'framework', 'www');

export const kOrigin = 'http://orv.test';
export const kPageURL = kOrigin + '/$/';

export const kEmptyResponse =
  '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><response>\r\n<update></update>\r\n' +
  '<execute></execute>\r\n<rewrite></rewrite>\r\n<submit></submit>\r\n<trackid></trackid></response>';

// A response document with the given update and execute contents.
export function responseXml({ update = '', execute = '', rewrite = '', submit = '' } = {}) {
  return '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><response>\r\n' +
    `<update>${update}</update>\r\n<execute>${execute}</execute>\r\n<rewrite>${rewrite}</rewrite>\r\n` +
    `<submit>${submit}</submit>\r\n<trackid></trackid></response>`;
}

function iwlibPath() {
  const candidates = [
    process.env.ORV_IWLIB,
    process.env.ORV_BINARY_DIR && join(process.env.ORV_BINARY_DIR, 'framework', 'www', 'generated', 'IWLib.js'),
  ].filter(Boolean);
  for (const c of candidates) if (existsSync(c)) return c;
  throw new Error('IWLib.js not found: set ORV_BINARY_DIR to a build folder (or ORV_IWLIB)');
}

const kFiles = {
  '/$/js/IWLib.js': () => [readFileSync(iwlibPath()), 'application/javascript'],
  '/$/js/IWBase.js': () => [readFileSync(join(kWww, 'js', 'IWBase.js')), 'application/javascript'],
  '/$/js/IWGecko.js': () => [readFileSync(join(kWww, 'js', 'IWGecko.js')), 'application/javascript'],
  '/$/js/IWExplorer.js': () => [readFileSync(join(kWww, 'js', 'IWExplorer.js')), 'application/javascript'],
  '/$/css/IWNotify.css': () => [readFileSync(join(kWww, 'css', 'IWNotify.css')), 'text/css'],
  '/$/gfx/loading.gif': () => [readFileSync(join(kWww, 'gfx', 'loading.gif')), 'image/gif'],
  '/$/gfx/Tp.gif': () => [readFileSync(join(kWww, 'gfx', 'Tp.gif')), 'image/gif'],
};

export class FakeServer {
  constructor(page, html) {
    this.page = page;
    this.html = html;
    this.calls = [];     // background requests: { method, path, query, body, contentType }
    this.submits = [];   // full submits: { path, body }
    this.others = [];    // every other request path
    this.replies = [];   // scripted answers to the next background requests
    this.onCall = null;  // notified of each background request
  }

  static async open(page, html = readFileSync(join(kSourceDir, 'tests', 'testdata', 'www', 'page.html'), 'utf8')) {
    const server = new FakeServer(page, html);
    await page.route(kOrigin + '/**', (route) => server.handle(route));
    await page.goto(kPageURL);
    await page.waitForFunction(() => typeof IWCLForm !== 'undefined' && IWCLForm !== null && !IsLocked());
    return server;
  }

  // The next background request gets this answer ({ status, body, hold }): with `hold`
  // (a promise) the answer waits until it resolves.
  reply(answer) {
    this.replies.push(answer);
  }

  // The next background request is answered only when the returned function is called.
  holdNext(answer = {}) {
    const gate = deferred();
    const arrived = deferred();
    this.replies.push({ ...answer, hold: gate.promise, arrived });
    return { release: () => gate.resolve(), arrived: arrived.promise };
  }

  async handle(route) {
    const request = route.request();
    const url = new URL(request.url());
    const path = decodeURIComponent(url.pathname);
    if (kFiles[path]) {
      const [body, contentType] = kFiles[path]();
      return route.fulfill({ status: 200, body, contentType });
    }
    if (path === '/$/callback') {
      const call = {
        method: request.method(),
        path,
        query: url.searchParams,
        body: request.method() === 'POST' ? new URLSearchParams(request.postData() || '') : null,
        rawBody: request.postData(),
        contentType: request.headers()['content-type'] || '',
      };
      this.calls.push(call);
      if (this.onCall) this.onCall(call);
      const answer = this.replies.shift() || {};
      if (answer.arrived) answer.arrived.resolve(call);
      if (answer.hold) await answer.hold;
      return route.fulfill({
        status: answer.status ?? 200,
        body: answer.body ?? kEmptyResponse,
        contentType: answer.contentType ?? 'text/xml; charset=UTF-8',
      });
    }
    if (path === '/$/' && request.method() === 'GET') {
      return route.fulfill({ status: 200, body: this.html, contentType: 'text/html; charset=UTF-8' });
    }
    if (path === '/$/' && request.method() === 'POST') {
      this.submits.push({ path, body: new URLSearchParams(request.postData() || '') });
      return route.fulfill({ status: 200, body: '<html><body id="submitted">submitted</body></html>',
        contentType: 'text/html; charset=UTF-8' });
    }
    if (path === '/$/KeepAlive') {
      this.others.push(path);
      return route.fulfill({ status: 200, contentType: 'text/xml',
        body: '<?xml version="1.0" encoding="UTF-8" standalone="yes"?><response>OK</response>' });
    }
    this.others.push(path);
    return route.fulfill({ status: 404, body: '<html><body>404 - Not Found</body></html>', contentType: 'text/html' });
  }

  // Resolves when the page has no background work left (nothing processing or queued).
  async idle() {
    await this.page.waitForFunction(() => !eventProcessing && eventQueue.length === 0 &&
      IW.outstandingRequests === 0);
  }

  callbacks() {
    return this.calls.map((c) => c.query.get('callback'));
  }
}
