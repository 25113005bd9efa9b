// The staged demo (build/demo: the server, the pump layout, its solver, IMGS/, DATA/)
// served by the real executable on a free loopback port, for the browser tests. The
// demo folder is copied into a temporary folder first, so saved input sets and plot
// pictures of a test run never touch the staged demo, and port.ini there sets the port.
import { spawn } from 'node:child_process';
import { cpSync, mkdtempSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

// A port the system reports free right now.
export function freePort() {
  return new Promise((resolve, reject) => {
    const s = createServer();
    s.once('error', reject);
    s.listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => resolve(port));
    });
  });
}

export class DemoServer {
  // `demoDir`: the staged demo folder (ORV_DEMO_DIR, else <build>/demo).
  static async start(demoDir, { executable = 'ORVWS' } = {}) {
    if (!existsSync(join(demoDir, executable)))
      throw new Error(`${join(demoDir, executable)} is missing: stage the demo first (scripts/stage-demo.sh)`);
    const dir = mkdtempSync(join(tmpdir(), 'orv-demo-'));
    cpSync(demoDir, dir, { recursive: true });
    const port = await freePort();
    writeFileSync(join(dir, 'port.ini'), `[PORTS]\r\nPort=${port}\r\n`);
    const child = spawn(join(dir, executable), ['-SERVE'], { cwd: dir, stdio: ['ignore', 'pipe', 'pipe'] });
    const server = new DemoServer(dir, port, child);
    await server.ready();
    return server;
  }

  constructor(dir, port, child) {
    this.dir = dir;
    this.port = port;
    this.child = child;
    this.output = '';
    child.stdout.on('data', (d) => { this.output += d; });
    child.stderr.on('data', (d) => { this.output += d; });
    this.exited = new Promise((resolve) => child.once('exit', (code, signal) => resolve({ code, signal })));
  }

  get url() {
    return `http://127.0.0.1:${this.port}/`;
  }

  // Resolves once the server reports that it listens ("serving on"); fails when the
  // process ends first.
  async ready() {
    const ended = this.exited.then(({ code }) => {
      throw new Error(`the server ended (status ${code}) before it listened:\n${this.output}`);
    });
    const listening = new Promise((resolve) => {
      const check = () => {
        if (!this.output.includes('serving on')) return;
        this.child.stdout.off('data', check);
        this.child.stderr.off('data', check);
        resolve();
      };
      this.child.stdout.on('data', check);
      this.child.stderr.on('data', check);
      check();
    });
    await Promise.race([listening, ended]);
  }

  async stop() {
    if (this.child.exitCode === null && this.child.signalCode === null) {
      this.child.kill('SIGTERM');
      await this.exited;
    }
    rmSync(this.dir, { recursive: true, force: true });
  }
}
