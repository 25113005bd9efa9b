// Load test of background change requests: N sessions of the calculator page, each
// opened through the real start sequence and Continue, then sending the change callback
// of an input (as the browser script does: a POST of the framework fields and the
// changed value) back to back for a fixed time. Reports requests per second and the
// latency percentiles over all sessions.
//
//   node bench/callback_load.mjs --demo build/demo [--sessions 1,16,64] [--seconds 10]
//   node bench/callback_load.mjs --url http://127.0.0.1:8001/ ...   (a server already running)
//
// With --demo the staged demo is copied to a temporary folder and its ORVWS is started
// with -SERVE on a free loopback port (see tests/e2e/lib/demoServer.mjs).
import { parseArgs } from 'node:util';
import { DemoServer } from '../tests/e2e/lib/demoServer.mjs';

const { values } = parseArgs({
  options: {
    demo: { type: 'string' },
    exe: { type: 'string', default: 'ORVWS' },
    url: { type: 'string' },
    sessions: { type: 'string', default: '1,16,64' },
    seconds: { type: 'string', default: '10' },
  },
});

// One browser session: its cookie and the fields its page posts.
class Session {
  constructor(base) {
    this.base = base;
    this.cookies = new Map();
  }
  cookieHeader() {
    return [...this.cookies].map(([k, v]) => `${k}=${v}`).join('; ');
  }
  remember(response) {
    for (const c of response.headers.getSetCookie()) {
      const [pair] = c.split(';');
      const eq = pair.indexOf('=');
      this.cookies.set(pair.slice(0, eq), pair.slice(eq + 1));
    }
  }
  async request(path, body) {
    const headers = { cookie: this.cookieHeader(), 'user-agent': 'Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0 Safari/537.36' };
    if (body !== undefined) headers['content-type'] = 'application/x-www-form-urlencoded';
    const r = await fetch(this.base + path, { method: body === undefined ? 'GET' : 'POST', headers, body, redirect: 'manual' });
    this.remember(r);
    const text = await r.text();
    if (r.status !== 200) throw new Error(`${path}: status ${r.status}\n${text.slice(0, 400)}`);
    return text;
  }
  // The start sequence and Continue.
  async open() {
    await this.request('');
    await this.request(`$/StartCheck?IW_AjaxID=${Date.now()}&IW_width=1280&IW_height=720`);
    const id = [...this.cookies.values()][0].split('_')[0];
    this.appId = id;
    await this.request('', `IW_width=1280&IW_height=720&IW_SessionID_=${id}&IW_TrackID_=1`);
    const title = await this.request('$/');
    if (!title.includes('IWCONTINUEB')) throw new Error('no title screen:\n' + title.slice(0, 400));
    const page = await this.request('$/', 'IW_FormName=ORVServerForm&IW_FormClass=TORVServerForm&IW_width=1280&IW_height=720' +
      `&IW_Action=IWCONTINUEB&IW_ActionParam=&IW_SessionID_=${id}&IW_TrackID_=2`);
    if (!page.includes('TIWEDIT1')) throw new Error('no calculator after Continue');
  }
  async change(value) {
    const body = `TIWEDIT1=${value}&IW_FormName=ORVServerForm&IW_FormClass=TORVServerForm&IW_width=1280` +
      `&IW_height=720&IW_Action=TIWEDIT1&IW_ActionParam=&IW_SessionID_=${this.appId}&IW_TrackID_=3`;
    const xml = await this.request('$/callback?callback=TIWEDIT1.DoOnAsyncChange', body);
    if (!xml.includes('type="IWFORM"')) throw new Error('not a callback answer:\n' + xml.slice(0, 400));
  }
}

function percentile(sorted, p) {
  if (sorted.length === 0) return NaN;
  return sorted[Math.min(sorted.length - 1, Math.floor((p / 100) * sorted.length))];
}

async function run(base, count, seconds) {
  const sessions = Array.from({ length: count }, () => new Session(base));
  await Promise.all(sessions.map((s) => s.open()));
  const latencies = [];
  const end = performance.now() + seconds * 1000;
  let n = 0;
  await Promise.all(sessions.map(async (s) => {
    while (performance.now() < end) {
      const t0 = performance.now();
      await s.change(60 + (n++ % 40));
      latencies.push(performance.now() - t0);
    }
  }));
  latencies.sort((a, b) => a - b);
  return {
    sessions: count,
    requests: latencies.length,
    perSecond: latencies.length / seconds,
    p50: percentile(latencies, 50),
    p99: percentile(latencies, 99),
  };
}

const server = values.url ? null : await DemoServer.start(values.demo || 'build/demo', { executable: values.exe });
const base = values.url || server.url;
try {
  console.log('sessions  requests  req/s     p50 ms  p99 ms');
  for (const count of values.sessions.split(',').map(Number)) {
    const r = await run(base, count, Number(values.seconds));
    console.log(`${String(r.sessions).padStart(8)}  ${String(r.requests).padStart(8)}  ${r.perSecond.toFixed(0).padStart(7)}` +
      `  ${r.p50.toFixed(2).padStart(6)}  ${r.p99.toFixed(2).padStart(6)}`);
  }
} finally {
  await server?.stop();
}
