// Finding players from the start page: a public table one browser creates
// shows in another's lobby at once and is joined from there; whose turn it
// is shows in the page title; quick play seats a browser; the lobby on a
// phone and in Japanese.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { browserMissing, launch, openPage, serverPath, servePage, square, startServer } from './lib.mjs';

const missing = browserMissing() || (serverPath ? '' : 'no daro-server');
const shots = process.env.DARO_WEB_SHOTS ?? '';

async function openLobby(page) {
  await page.locator('#net summary').click();
  await page.waitForSelector('#net-lobby:not([hidden])');
}

// The first legal move of the seat to move, played by clicks.
async function playOne(page) {
  const before = await page.evaluate(() => window.daro.app.position.moveNumber);
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
  await page.locator(square(...move.from)).click();
  await page.locator(square(...move.to)).click();
  await page.waitForFunction((n) => window.daro.app.position.moveNumber > n, before);
}

describe('the lobby of a daro server', { skip: missing || false }, () => {
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

  it('lists a new public table within a second, joins it from the list, and the title counts your turn', async (t) => {
    const a = await openPage(first.context, site.url);
    const b = await openPage(second.context, site.url);
    await openLobby(a);
    await a.waitForFunction(() => /Waiting for players \(0\)/.test(document.getElementById('net-lobby').textContent));

    await openLobby(b);
    await b.locator('#net-name').fill('bea');
    await b.locator('#net-name').dispatchEvent('change');
    await b.locator('#net-seat-2').selectOption('human');
    for (let s = 3; s <= 7; s++) await b.locator(`#net-seat-${s}`).selectOption('level1');
    await b.locator('#net-public').check();
    await b.locator('#net-create').click();
    await b.waitForFunction(() => document.getElementById('net-link').value.includes('/t/'));
    const created = Date.now();
    const code = (await b.locator('#net-link').inputValue()).slice(-6);

    // The page creates the table, then takes its seat in it: the list may
    // show the table for a moment before its creator sits down.
    const entry = a.locator(`#lobby-waiting li[data-code="${code}"]`, { hasText: 'bea' });
    await entry.waitFor({ timeout: 1000 });
    const listedAfter = Date.now() - created;
    t.diagnostic(`the lobby listed the new table ${listedAfter} ms after it was created`);
    assert.ok(listedAfter <= 1000, `listed after ${listedAfter} ms`);
    const line = await entry.textContent();
    assert.match(line, /bea/);
    assert.match(line, /1 free/);
    assert.match(line, /5 computers \(Level 3\)/);
    assert.match(line, /Live/);
    // The creator's own table holds the creator: the lobby is not shown at a table.
    assert.equal(await b.locator('#net-lobby').isVisible(), false);

    // Joined from the list by keyboard: the game starts, seat 1 (bea) to move.
    await entry.locator('button').focus();
    await a.keyboard.press('Enter');
    await a.waitForFunction(() => window.daro.app.online.seat() === 2);
    await b.waitForFunction(() => document.title === '(1) Seven Kingdoms');
    assert.equal(await a.title(), 'Seven Kingdoms');
    // Once the game runs the table leaves the waiting list for the watchable one.
    const c = await openPage(first.context, site.url);
    await openLobby(c);
    await c.locator(`#lobby-playing li[data-code="${code}"]`).waitFor({ timeout: 2000 });
    assert.equal(await c.locator(`#lobby-waiting li[data-code="${code}"]`).count(), 0);

    // The other player allows notices and puts the page out of sight; the
    // notices it shows are recorded instead of shown.
    await first.context.grantPermissions(['notifications'], { origin: site.url });
    await a.evaluate(() => {
      window.told = [];
      const Real = window.Notification;
      window.Notification = class {
        static get permission() {
          return Real.permission;
        }
        static requestPermission() {
          return Real.requestPermission();
        }
        constructor(title, options) {
          window.told.push(`${title}: ${options.body}`);
        }
        close() {}
      };
      Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
    });
    await a.locator('#net-notify').check();
    await a.waitForFunction(() => localStorage.getItem('daro.notify') === 'on');

    // bea moves: the turn passes to the other browser's title and back.
    await playOne(b);
    await a.waitForFunction(() => document.title === '(1) Seven Kingdoms', null, { timeout: 30000 });
    assert.deepEqual(await a.evaluate(() => window.told), [`Seven Kingdoms: Table ${code}: your turn`]);
    await b.waitForFunction(() => document.title === 'Seven Kingdoms');
    // Your tables lists the seat with its turn.
    assert.match(await a.locator(`#mine-list li[data-code="${code}"]`).textContent(), /Your turn/);
    if (shots) await a.screenshot({ path: join(shots, 'lobby-joined.png'), fullPage: true });

    // A watcher from the list sees the game and no seat.
    await c.locator(`#lobby-playing li[data-code="${code}"] button`).click();
    await c.waitForFunction(() => /^Watching [A-Z0-9]{6}$/.test(document.getElementById('net-status').textContent));
    assert.equal(await c.title(), 'Seven Kingdoms');

    // The player to move goes away: the others see the seat's clock, its
    // grace, count down.
    await a.close();
    for (const page of [b, c]) {
      await page.waitForFunction(() => /^Chu: 1:[0-9]{2} left$/.test(document.getElementById('net-clock').textContent));
      const shown = await page.locator('#net-clock').textContent();
      await page.waitForFunction((s) => document.getElementById('net-clock').textContent !== s, shown, { timeout: 3000 });
    }
    await Promise.all([b.close(), c.close()]);
  });

  it('quick play seats a browser at a public table that the lobby lists', async () => {
    const q = await openPage(first.context, site.url);
    const w = await openPage(second.context, site.url);
    await openLobby(w);
    await openLobby(q);
    await q.locator('#net-quick').click();
    await q.waitForFunction(() => window.daro.app.online.seat() === 1);
    const code = (await q.locator('#net-link').inputValue()).slice(-6);
    const entry = w.locator(`#lobby-waiting li[data-code="${code}"]`);
    await entry.waitFor({ timeout: 2000 });
    assert.match(await entry.textContent(), /6 free/);
    // A second player from the list fills the next seat.
    await entry.locator('button').click();
    await w.waitForFunction(() => window.daro.app.online.seat() === 2);
    await Promise.all([q.close(), w.close()]);
  });

  it('a turn-based table: its move clock, and your turn in the title of a page that is at no table', async () => {
    // A browser of its own: no seats kept from the games before.
    const own = await launch();
    const a = await openPage(own.context, site.url);
    await openLobby(a);
    await a.locator('#net-seat-2').selectOption('human');
    for (let s = 3; s <= 7; s++) await a.locator(`#net-seat-${s}`).selectOption('level1');
    await a.locator('#net-pace').selectOption('turn');
    await a.locator('#net-move-time').fill('5');
    await a.locator('#net-move-unit').selectOption('minutes');
    await a.locator('#net-public').check();
    await a.locator('#net-create').click();
    await a.waitForFunction(() => window.daro.app.online.seat() === 1);
    const link = await a.locator('#net-link').inputValue();
    const code = link.slice(-6);
    const b = await openPage(second.context, link);
    await b.waitForFunction(() => window.daro.app.online.seat() === 2);
    await a.waitForFunction(() => /^Qin: (5:00|4:5\d) left$/.test(document.getElementById('net-clock').textContent));
    await a.waitForFunction(() => document.title === '(1) Seven Kingdoms');

    // Another page of the same browser, at no table, asks the server about
    // the kept seat: your turn, in its list and its title, with the clock.
    const other = await openPage(own.context, site.url);
    await other.waitForFunction((c) => document.querySelector(`#mine-list li[data-code="${c}"]`)?.textContent.includes('Your turn'), code);
    assert.match(await other.locator(`#mine-list li[data-code="${code}"]`).textContent(), /(5:00|4:5\d) left/);
    assert.equal(await other.title(), '(1) Seven Kingdoms');
    // The lobby shows the pace of the game being played.
    await openLobby(other);
    await other.waitForFunction((c) => /Turn-based, 5 minutes a move/.test(document.querySelector(`#lobby-playing li[data-code="${c}"]`)?.textContent ?? ''), code);
    // A move there, and the title here follows when the page is looked at again.
    await playOne(a);
    await a.waitForFunction(() => document.title === 'Seven Kingdoms');
    await b.waitForFunction(() => document.title === '(1) Seven Kingdoms');
    await other.evaluate(() => document.dispatchEvent(new Event('visibilitychange')));
    await other.waitForFunction((c) => /To move: 2nd \(Chu\)/.test(document.querySelector(`#mine-list li[data-code="${c}"]`)?.textContent ?? ''), code);
    assert.equal(await other.title(), 'Seven Kingdoms');
    await Promise.all([a.close(), b.close(), other.close()]);
    await own.close();
  });

  it('fits a phone in Japanese: the lobby and the table forms overflow nothing', async () => {
    const phone = await launch({ viewport: { width: 360, height: 740 }, hasTouch: true, isMobile: true, locale: 'ja-JP' });
    const p = await openPage(phone.context, site.url);
    if (await p.locator('#fresh').isVisible()) await p.locator('#fresh').click();
    await p.locator('#net summary').tap();
    await p.waitForSelector('#net-lobby:not([hidden])');
    await p.waitForFunction(() => /参加者を待つ卓 \(\d+\)/.test(document.getElementById('net-lobby').textContent));
    assert.match(await p.locator('#net-quick').textContent(), /すぐに対局/);
    await p.locator('#net-pace').selectOption('turn');
    assert.equal(await p.locator('#net-move-time').isVisible(), true);
    const layout = await p.evaluate(() => {
      const width = document.documentElement.clientWidth;
      const overflowing = [...document.querySelectorAll('#net *')]
        .filter((e) => e.getClientRects().length > 0)
        .filter((e) => e.getBoundingClientRect().right > width + 0.5)
        .map((e) => e.id || e.tagName);
      return { scroll: document.documentElement.scrollWidth, overflowing };
    });
    assert.ok(layout.scroll <= 360, `the page is ${layout.scroll} px wide`);
    assert.deepEqual(layout.overflowing, []);
    if (shots) await p.screenshot({ path: join(shots, 'lobby-phone-ja.png'), fullPage: true });
    await phone.close();
  });
});
