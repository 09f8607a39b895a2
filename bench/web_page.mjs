// The page's costs in headless Chromium, measured, not asserted:
//   node bench/web_page.mjs BUILD_DIR
// - what a first visit transfers, gzipped (HTML, JS, CSS, wasm, SVG);
// - from navigation to a board that answers a click;
// - LEVEL4 in the worker: a move's time, median and max, over an all-LEVEL4 game;
// - the page idle at a table: the main thread's busy time over 10 s.
import { existsSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import { join, resolve } from 'node:path';

const build = resolve(process.argv[2] ?? 'build');
process.env.DARO_WEB_DIST ??= join(build, 'web/dist');
process.env.DARO_WEB_SOURCE ??= resolve(new URL('../web', import.meta.url).pathname);
process.env.DARO_SERVER ??= join(build, 'tools/daro-server');
const lib = await import('../tests/web/browser/lib.mjs');

const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length ? s[Math.floor(s.length / 2)] : NaN;
};

const site = await lib.servePage();
const browser = await lib.launch();
const kb = (n) => `${(n / 1024).toFixed(1)} KB`;

// First visit: every response, gzipped as a server would send it.
{
  const page = await browser.context.newPage();
  let total = 0;
  const parts = [];
  page.on('response', async (r) => {
    try {
      const body = await r.body();
      const gz = gzipSync(body, { level: 9 }).length;
      total += gz;
      parts.push(`${new URL(r.url()).pathname} ${kb(gz)}`);
    } catch {
      /* a response without a body */
    }
  });
  await page.goto(site.url);
  await page.waitForSelector('body[data-ready="true"]');
  await page.waitForLoadState('networkidle');
  console.log(`first visit, gzipped: ${kb(total)} (goal < 400 KB)`);
  for (const p of parts) console.log(`  ${p}`);
  await page.close();
}

// Navigation to an answering board: from the navigation's start until a
// click on a square has picked its piece, the click made in the page as
// soon as the board is there (Playwright's own round trips left out).
{
  const times = [];
  const marks = [];
  for (let i = 0; i < 7; i++) {
    const page = await browser.context.newPage();
    await page.addInitScript(() => {
      const tryClick = () => {
        const fresh = document.getElementById('fresh');
        if (fresh && !fresh.closest('[hidden]')) fresh.click();
        const g = document.querySelector('[data-square="5,10"]');
        if (document.body?.dataset.ready === 'true' && g) {
          g.dispatchEvent(new MouseEvent('click', { bubbles: true }));
          if (document.querySelector('.board .selected')) {
            window.answeredAt = performance.now();
            return;
          }
        }
        requestAnimationFrame(tryClick);
      };
      requestAnimationFrame(tryClick);
    });
    await page.goto(site.url);
    await page.waitForFunction(() => window.answeredAt !== undefined);
    times.push(await page.evaluate(() => window.answeredAt));
    marks.push(await page.evaluate(() => Object.fromEntries(performance.getEntriesByType('mark').map((m) => [m.name, Math.round(m.startTime)]))));
    await page.close();
  }
  console.log(`navigation to a board that answered a click: median ${median(times).toFixed(0)} ms, max ${Math.max(...times).toFixed(0)} ms (goal < 1000 ms)`);
  console.log(`  pieces parsed, library ready, board built (median ms): ${['daro-pieces', 'daro-library', 'daro-board'].map((k) => median(marks.map((m) => m[k]))).join(', ')}`);
}

// LEVEL4 in the worker: seven LEVEL4 computers, as far as 150 moves.
{
  const page = await browser.context.newPage();
  await page.goto(site.url);
  await page.waitForSelector('body[data-ready="true"]');
  await page.locator('#pace').selectOption('fastest');
  await page.locator('#new-game summary').click();
  for (let s = 1; s <= 7; s++) await page.locator(`#seat-${s}`).selectOption('level4');
  const started = Date.now();
  await page.locator('#start').click();
  await page.waitForFunction(() => {
    const p = window.daro.app.position;
    return p.outcome !== undefined || p.moveNumber >= 150;
  }, null, { timeout: 600000, polling: 500 });
  const ms = await page.evaluate(() => window.daro.stats.thinkMs);
  console.log(
    `LEVEL4 in the worker: ${ms.length} moves in ${((Date.now() - started) / 1000).toFixed(1)} s, median ${median(ms).toFixed(0)} ms, max ${Math.max(...ms).toFixed(0)} ms (goals < 300 ms, < 1500 ms)`,
  );
  await page.close();
}

// Idle: a human to move, nothing happening; how busy is the main thread?
{
  const page = await browser.context.newPage();
  await page.goto(site.url);
  await page.waitForSelector('body[data-ready="true"]');
  if (await page.locator('#fresh').isVisible()) await page.locator('#fresh').click();
  await page.waitForTimeout(1000);
  const cdp = await browser.context.newCDPSession(page);
  await cdp.send('Performance.enable');
  const metric = async () => {
    const { metrics } = await cdp.send('Performance.getMetrics');
    return Object.fromEntries(metrics.map((m) => [m.name, m.value]));
  };
  const a = await metric();
  await page.waitForTimeout(10000);
  const b = await metric();
  const busy = b.TaskDuration - a.TaskDuration;
  console.log(`idle for 10 s: main thread busy ${(busy * 1000).toFixed(1)} ms (${((busy / 10) * 100).toFixed(2)} % CPU)`);
  await page.close();
}

// Idle at a server table, our turn, a grace countdown of nobody's running.
if (existsSync(process.env.DARO_SERVER)) {
  const server = await lib.startServer();
  const front = server.servesWeb ? null : await lib.servePage(server.port);
  const url = front ? front.url : `http://127.0.0.1:${server.port}`;
  const page = await browser.context.newPage();
  await page.goto(url);
  await page.waitForSelector('body[data-ready="true"]');
  await page.locator('#net summary').click();
  for (let s = 2; s <= 7; s++) await page.locator(`#net-seat-${s}`).selectOption('level1');
  await page.locator('#net-create').click();
  await page.waitForFunction(() => window.daro.app.online.seat() === 1);
  await page.waitForTimeout(1000);
  const cdp = await browser.context.newCDPSession(page);
  await cdp.send('Performance.enable');
  const busyOf = async () => (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  const a = await busyOf();
  await page.waitForTimeout(10000);
  const busy = (await busyOf()) - a;
  console.log(`idle at a server table for 10 s: main thread busy ${(busy * 1000).toFixed(1)} ms (${((busy / 10) * 100).toFixed(2)} % CPU)`);
  await page.close();
  await front?.close();
  await server.close();
}

await browser.close();
await site.close();
