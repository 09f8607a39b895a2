// LEVEL5 in the browser, measured, not asserted:
//   node bench/web_level5.mjs BUILD_DIR [MOVES]
// Seven LEVEL5 computers play in the page's own library, each move thought
// in a worker made as the page makes its own (MOVES moves in all, 300 by
// default, over as many games as that takes). Per move: the worker thread's
// processor time, read from /proc around the move (the clock's 10 ms ticks),
// and the time the worker itself measured. Then the transposition table's
// size and the worker's memory. Run it on a quiet machine, or under nice.
import { readFileSync, readdirSync } from 'node:fs';
import { join, resolve } from 'node:path';

const build = resolve(process.argv[2] ?? 'build');
const wanted = Number(process.argv[3] ?? 300);
process.env.DARO_WEB_DIST ??= join(build, 'web/dist');
process.env.DARO_WEB_SOURCE ??= resolve(new URL('../web', import.meta.url).pathname);
const lib = await import('../tests/web/browser/lib.mjs');
const why = lib.browserMissing();
if (why) {
  console.log(`skip: ${why}`);
  process.exit(0);
}

const tick = 1000 / 100; // ms a clock tick of /proc's counters
const quantile = (xs, q) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length ? s[Math.min(s.length - 1, Math.floor(q * s.length))] : NaN;
};
const figures = (xs) =>
  `median ${quantile(xs, 0.5).toFixed(0)} ms, p95 ${quantile(xs, 0.95).toFixed(0)} ms, max ${Math.max(...xs).toFixed(0)} ms`;

// Every thread of every process, by id, with its name and processor time.
function threads() {
  const all = new Map();
  for (const pid of readdirSync('/proc').filter((d) => /^\d+$/.test(d))) {
    let tasks = [];
    try {
      tasks = readdirSync(`/proc/${pid}/task`);
    } catch {
      continue;
    }
    for (const tid of tasks) {
      try {
        const stat = readFileSync(`/proc/${pid}/task/${tid}/stat`, 'utf8');
        const name = stat.slice(stat.indexOf('(') + 1, stat.lastIndexOf(')'));
        const rest = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
        all.set(tid, { name, ticks: Number(rest[11]) + Number(rest[12]) });
      } catch {
        /* gone meanwhile */
      }
    }
  }
  return all;
}
const ticksOf = (tid) => {
  const stat = readFileSync(`/proc/${tid}/stat`, 'utf8');
  const rest = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
  return Number(rest[11]) + Number(rest[12]);
};

const site = await lib.servePage();
const browser = await lib.launch();
const page = await browser.context.newPage();
await page.goto(site.url);
await page.waitForSelector('body[data-ready="true"]');
if (await page.locator('#fresh').isVisible()) await page.locator('#fresh').click();

// A worker of our own, found among the threads by being new.
const beforeWorker = threads();
await page.evaluate(async () => {
  const w = window.daro.app.makeWorker();
  window.benchWorker = w;
  window.benchAsk = (snapshot) =>
    new Promise((resolveAnswer) => {
      w.onmessage = (e) => resolveAnswer(e.data);
      w.postMessage({ id: 1, snapshot });
    });
  // The module compiles and instantiates on the first message.
  await window.benchAsk('none');
});
const fresh = [...threads()].filter(([tid]) => !beforeWorker.has(tid));
const worker = fresh.find(([, t]) => /worker/i.test(t.name)) ?? fresh[0];
if (!worker) throw new Error('the worker thread was not found');
const workerTid = worker[0];
console.log(`worker thread ${workerTid} (${worker[1].name})`);

const cpuMs = [];
const wallMs = [];
let heap = 0;
let games = 0;
const seats = Array(7).fill('level5');
while (cpuMs.length < wanted) {
  games++;
  await page.evaluate((s) => {
    const g = window.daro.app.game;
    g.start(s, 5);
    g.events();
  }, seats);
  for (;;) {
    // The steps that are no search are taken at once; a search is one call.
    const state = await page.evaluate(() => {
      const g = window.daro.app.game;
      for (let guard = 0; guard < 50; guard++) {
        const step = g.next();
        if (step.kind === 'computerMove') return { snapshot: g.snapshot(), seat: step.seat };
        if (step.kind === 'none' || step.kind === 'human') return null;
        if (step.kind === 'paused') g.resume();
        else g.step();
        g.events();
      }
      return null;
    });
    if (!state || cpuMs.length >= wanted) break;
    const before = ticksOf(workerTid);
    const answer = await page.evaluate((snapshot) => window.benchAsk(snapshot), state.snapshot);
    cpuMs.push((ticksOf(workerTid) - before) * tick);
    wallMs.push(answer.ms);
    heap = Math.max(heap, answer.heapBytes);
    const ok = await page.evaluate(
      ({ seat, chosen }) => {
        const g = window.daro.app.game;
        const done = g.commit(seat, chosen);
        g.events();
        return done;
      },
      { seat: state.seat, chosen: answer.chosen },
    );
    if (!ok) throw new Error(`the worker's move was refused: ${answer.chosen}`);
  }
}
const memory = await page.evaluate(() => window.daro.app.game.memory());
console.log(`LEVEL5 in the worker: ${cpuMs.length} moves over ${games} game(s) of seven LEVEL5`);
console.log(`  processor time per move: ${figures(cpuMs)} (10 ms ticks)`);
console.log(`  the worker's own clock:  ${figures(wallMs)}`);
console.log(
  `  transposition table ${(memory.level5Table / 2 ** 20).toFixed(1)} MiB; the worker's wasm memory at most ${(heap / 2 ** 20).toFixed(1)} MiB`,
);
await browser.close();
await site.close();
