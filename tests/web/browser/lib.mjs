// What the browser scenarios share: Debian's Chromium driven by
// playwright-core, the built page served as daro-server serves it, and
// daro-server itself.
import { spawn, spawnSync } from 'node:child_process';
import { createReadStream, existsSync, mkdtempSync, rmSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { connect } from 'node:net';
import { tmpdir } from 'node:os';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { createRequire } from 'node:module';

const require = createRequire(join(process.env.DARO_WEB_SOURCE ?? process.cwd(), 'package.json'));

export const chromiumPath = process.env.DARO_CHROMIUM ?? '/usr/bin/chromium';
export const distDir = process.env.DARO_WEB_DIST ?? '';
export const serverPath = process.env.DARO_SERVER ?? '';
export const autoplayPath = process.env.DARO_AUTOPLAY ?? '';

export function browserMissing() {
  if (!existsSync(chromiumPath)) return `no browser at ${chromiumPath}`;
  if (!distDir || !existsSync(join(distDir, 'index.html'))) return 'the page is not built';
  try {
    require.resolve('playwright-core');
  } catch {
    return 'playwright-core is not installed (npm ci in web/)';
  }
  return '';
}

export async function launch(options = {}) {
  const { chromium } = require('playwright-core');
  const profile = mkdtempSync(join(tmpdir(), 'daro-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    args: [
      '--headless',
      '--no-sandbox',
      '--disable-gpu',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--no-first-run',
    ],
    viewport: { width: 1100, height: 800 },
    locale: 'en-US',
    acceptDownloads: true,
    ...options,
  });
  return {
    context,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// A second browser with its own profile: another person at the table.
export async function launchAnother() {
  return launch();
}

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.json': 'application/json',
};

export const csp =
  "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' data:; " +
  "connect-src 'self'; worker-src 'self'; object-src 'none'; base-uri 'none'; frame-ancestors 'none'";

// Serves the built page at / and /t/CODE; WebSocket upgrades go on to
// `wsPort`, so the page finds its server at its own address.
export async function servePage(wsPort = 0) {
  const root = resolve(distDir);
  const server = createServer((req, res) => {
    const path = decodeURIComponent(new URL(req.url ?? '/', 'http://x').pathname);
    let file = path === '/' || /^\/t\/[A-Za-z0-9]{6}\/?$/.test(path) ? 'index.html' : path.slice(1);
    const full = normalize(join(root, file));
    if (!full.startsWith(root + sep) || !existsSync(full) || !statSync(full).isFile()) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, {
      'Content-Type': types[extname(full)] ?? 'application/octet-stream',
      // As strict as a server should be: the page must work under it.
      'Content-Security-Policy': csp,
      'X-Content-Type-Options': 'nosniff',
    });
    createReadStream(full).pipe(res);
  });
  server.on('upgrade', (req, socket, head) => {
    if (!wsPort) return socket.destroy();
    const upstream = connect(wsPort, '127.0.0.1', () => {
      let text = `${req.method} ${req.url} HTTP/1.1\r\n`;
      for (let i = 0; i < req.rawHeaders.length; i += 2) text += `${req.rawHeaders[i]}: ${req.rawHeaders[i + 1]}\r\n`;
      upstream.write(text + '\r\n');
      if (head.length) upstream.write(head);
      socket.pipe(upstream).pipe(socket);
    });
    upstream.on('error', () => socket.destroy());
    socket.on('error', () => upstream.destroy());
  });
  await new Promise((r) => server.listen(0, '127.0.0.1', r));
  const { port } = server.address();
  return {
    url: `http://127.0.0.1:${port}`,
    close: () => new Promise((r) => server.close(r)),
  };
}

// daro-server on a port of its own choosing, with a fresh store; `web`
// names a web folder for it to serve, where it can.
export async function startServer(extra = []) {
  const dir = mkdtempSync(join(tmpdir(), 'daro-server-'));
  // A server that serves the page itself is asked to; an older one is fronted
  // by servePage().
  const servesWeb = spawnSync(serverPath, ['--help'], { encoding: 'utf8' }).stdout?.includes('--web') ?? false;
  const web = servesWeb ? ['--web', resolve(distDir)] : [];
  let output = '';
  let port = 0;
  let child = null;
  const run = (listen) =>
    new Promise((resolveSeen, reject) => {
      const started = output.length;
      child = spawn(serverPath, ['--listen', listen, '--data', dir, ...web, ...extra], {
        stdio: ['ignore', 'pipe', 'pipe'],
      });
      const look = (d) => {
        output += d;
        const m = /listening on [^\n]*?:(\d+)/.exec(output.slice(started));
        if (m) {
          port = Number(m[1]);
          resolveSeen();
        }
      };
      child.stdout.on('data', look);
      child.stderr.on('data', look);
      child.on('exit', () => reject(new Error(`daro-server ended: ${output}`)));
      setTimeout(() => reject(new Error(`daro-server did not start: ${output}`)), 10000);
    });
  const stop = async () => {
    if (child && child.exitCode === null) {
      child.kill('SIGKILL');
      await new Promise((r) => child.on('exit', r));
    }
  };
  await run('127.0.0.1:0');
  return {
    get port() {
      return port;
    },
    servesWeb,
    output: () => output,
    // Killed and started again on the same port and store: every connection drops.
    async restart() {
      await stop();
      await run(`127.0.0.1:${port}`);
    },
    async close() {
      await stop();
      rmSync(dir, { recursive: true, force: true });
    },
  };
}

export async function openPage(context, url) {
  const page = await context.newPage();
  page.on('pageerror', (e) => console.error('page error:', e.message));
  // DARO_WEB_DEBUG=1 prints every message the page sends and receives.
  if (process.env.DARO_WEB_DEBUG)
    page.on('websocket', (ws) => {
      console.log(`ws open ${ws.url()}`);
      ws.on('close', () => console.log('ws closed'));
      ws.on('socketerror', (e) => console.log(`ws error ${e}`));
      ws.on('framesent', (f) => console.log(`> ${String(f.payload).slice(0, 80)}`));
      ws.on('framereceived', (f) => console.log(`< ${String(f.payload).replace(/"board":\[.*?\]\],/, '').slice(0, 1500)}`));
    });
  // What the page's security policy refused, for a test to hold at none.
  page.refused = [];
  page.on('console', (m) => {
    if (m.type() === 'error' && /Content Security Policy|Refused to/.test(m.text())) page.refused.push(m.text());
  });
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"]');
  return page;
}

export const square = (x, y) => `[data-square="${x},${y}"]`;

// Starts a game at the fastest pace with the seats given (seat 1 first).
export async function newGame(page, seats) {
  await page.locator('#pace').selectOption('fastest');
  await page.locator('#new-game summary').click();
  for (let s = 1; s <= 7; s++) await page.locator(`#seat-${s}`).selectOption(seats[s - 1]);
  await page.locator('#start').click();
}

export const position = (page) => page.evaluate(() => window.daro.app.position);
