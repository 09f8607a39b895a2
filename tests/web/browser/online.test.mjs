// The page at a daro server: two people in two browsers at one table with
// five computers, each seeing the other's moves; a reload in the middle of
// the game; and the server's file of the game checked by daro-autoplay.
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { autoplayPath, browserMissing, launch, openPage, serverPath, servePage, square, startServer } from './lib.mjs';

const missing = browserMissing() || (serverPath && autoplayPath ? '' : 'no daro-server or daro-autoplay');
const shots = process.env.DARO_WEB_SHOTS ?? '';

const position = (page) => page.evaluate(() => window.daro.app.position);

async function myTurn(page, seat) {
  await page.waitForFunction(
    (s) => {
      const p = window.daro.app.position;
      return p.outcome !== undefined || (p.next.kind === 'human' && p.next.seat === s && !window.daro.app.busy);
    },
    seat,
    { timeout: 60000 },
  );
  return position(page);
}

async function playOne(page, seat) {
  const before = await myTurn(page, seat);
  const move = await page.evaluate(() => {
    const app = window.daro.app;
    for (let x = 1; x <= 19; x++)
      for (let y = 1; y <= 19; y++) {
        const to = app.game.destinations(x, y);
        if (to.length > 0) return { from: [x, y], to: to[0] };
      }
    return null;
  });
  assert.ok(move);
  const piece = before.board[move.from[0] - 1][move.from[1] - 1];
  await page.locator(square(...move.from)).click();
  await page.locator(square(...move.to)).click();
  await page.waitForFunction((n) => window.daro.app.position.moveNumber > n, before.moveNumber);
  return { ...move, piece };
}

// The other browser shows the piece on its new square, by the name it says.
async function seen(page, move) {
  await page.waitForFunction(
    ({ to, piece }) => window.daro.app.position.board[to[0] - 1][to[1] - 1] === piece,
    move,
    { timeout: 30000 },
  );
  const label = await page.locator(square(...move.to)).getAttribute('aria-label');
  const from = await page.locator(square(...move.from)).getAttribute('aria-label');
  return { label, from };
}

describe('the page at a daro server', { skip: missing || false }, () => {
  let server;
  let site;
  let first;
  let second;
  before(async () => {
    server = await startServer();
    site = server.servesWeb ? { url: `http://127.0.0.1:${server.port}`, close: async () => {} } : await servePage(server.port);
    first = await launch();
    second = await launch();
  });
  after(async () => {
    await first?.close();
    await second?.close();
    await site?.close();
    await server?.close();
  });

  it('seats two browsers at one table, each sees the other move, and a reload takes the seat back', async () => {
    const a = await openPage(first.context, site.url);
    await a.locator('#net summary').click();
    await a.locator('#net-name').fill('ann');
    await a.locator('#net-name').dispatchEvent('change');
    await a.locator('#net-seat-2').selectOption('human');
    for (let s = 3; s <= 7; s++) await a.locator(`#net-seat-${s}`).selectOption('level1');
    await a.locator('#net-grace').fill('600');
    await a.locator('#net-create').click();
    await a.waitForFunction(() => document.getElementById('net-link').value.includes('/t/'));
    const link = await a.locator('#net-link').inputValue();
    const code = link.slice(-6);
    assert.match(link, new RegExp(`^${site.url}/t/[A-Z0-9]{6}$`));

    // The invitation link seats the second browser at the free seat.
    const b = await openPage(second.context, link);
    await b.waitForFunction(() => window.daro.app.online.seat() === 2);
    assert.match(await b.locator('#net-status').textContent(), /you are 2nd \(Chu\)/);
    await a.waitForFunction(() => document.querySelectorAll('#net-seats li').length === 7);
    assert.match(await a.locator('#net-seats li[data-seat="2"]').textContent(), /connected/);

    const m1 = await playOne(a, 1);
    const s1 = await seen(b, m1);
    assert.match(s1.label, /^Qin /);
    assert.match(s1.from, /^empty, /);
    // Only the seat's own pieces answer: 秦's piece does nothing for 楚.
    await b.locator(square(...m1.to)).click();
    assert.equal(await b.locator('.board .selected').count(), 0);

    const m2 = await playOne(b, 2);
    assert.match((await seen(a, m2)).label, /^Chu /);
    // Chat reaches the table as plain text, never as markup.
    await a.locator('#net-chat').fill('hello <b>there</b>');
    await a.locator('#net-chat').press('Enter');
    await b.waitForFunction(() => document.getElementById('net-chat-log').textContent.includes('ann: hello <b>there</b>'));
    assert.equal(await b.locator('#net-chat-log b').count(), 0);

    const m3 = await playOne(a, 1);
    await seen(b, m3);

    // A third person with the link finds no free seat and watches the same game.
    const third = await launch();
    const w = await openPage(third.context, link);
    await w.waitForFunction(() => /^Watching [A-Z0-9]{6}$/.test(document.getElementById('net-status').textContent));
    await w.waitForFunction((n) => window.daro.app.position.moveNumber >= n, m3.n ?? 3);
    const watched = await position(w);
    const shownNow = await position(a);
    assert.deepEqual(watched.record.slice(0, 3), shownNow.record.slice(0, 3));
    await w.locator(square(...m3.to)).click();
    assert.equal(await w.locator('.board .selected').count(), 0);
    await third.close();

    // A reload in the middle of the game: the seat comes back, and says so.
    const beforeReload = await myTurn(b, 2);
    await b.reload();
    await b.waitForSelector('body[data-ready="true"]');
    await b.waitForFunction(() => window.daro.app.online.seat() === 2);
    await b.waitForFunction(() => /Back at your seat/.test(document.getElementById('net-status').textContent));
    const afterReload = await position(b);
    assert.deepEqual(afterReload.board, beforeReload.board);
    assert.deepEqual(afterReload.record, beforeReload.record);
    const m4 = await playOne(b, 2);
    await seen(a, m4);

    // The server goes away and comes back: both take their seats back by themselves.
    await server.restart();
    for (const page of [a, b])
      await page.waitForFunction(() => /Back at your seat/.test(document.getElementById('net-status').textContent), null, {
        timeout: 30000,
      });
    const m5 = await playOne(a, 1);
    await seen(b, m5);

    // The server's file of the game is a legal game, and the one both show.
    const [download] = await Promise.all([a.waitForEvent('download'), a.locator('#save').click()]);
    const dir = mkdtempSync(join(tmpdir(), 'daro-web-net-'));
    await download.saveAs(join(dir, 'table.daro'));
    const events = execFileSync(autoplayPath, ['--verify', join(dir, 'table.daro')], { encoding: 'utf8' }).trim().split('\n');
    const shownA = await position(a);
    assert.deepEqual(events.slice(0, shownA.record.length), shownA.record);
    assert.ok(events.filter((l) => l.startsWith('move ')).length >= 4);
    if (shots) {
      await a.screenshot({ path: join(shots, 'online-a.png') });
      await b.screenshot({ path: join(shots, 'online-b.png') });
    }
    assert.equal(code.length, 6);
    await a.close();
    await b.close();
  });

  it('answers a bad message from nobody: a refusal is shown in words', async () => {
    const c = await openPage(first.context, site.url);
    await c.locator('#net summary').click();
    await c.locator('#net-code').fill('ZZZZZZ');
    await c.locator('#net-join').click();
    await c.waitForFunction(() => document.getElementById('net-status').textContent === 'There is no such table');
    await c.close();
  });
});
