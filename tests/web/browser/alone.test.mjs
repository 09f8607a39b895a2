// The page alone, against the computer: a whole game whose file the native
// checker accepts, a phone's screen, and a game played with the keyboard only.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { autoplayPath, browserMissing, launch, newGame, openPage, position, servePage, square } from './lib.mjs';

const missing = browserMissing() || (autoplayPath ? '' : 'no daro-autoplay');
const shots = process.env.DARO_WEB_SHOTS ?? '';


// Waits until a human is to move or the game is over.
async function humanOrOver(page) {
  await page.waitForFunction(() => {
    const p = window.daro.app.position;
    return p.outcome !== undefined || (p.next.kind === 'human' && !window.daro.app.busy);
  }, null, { timeout: 60000 });
  return position(page);
}

// The first piece of the seat to move that can go somewhere, and its first square.
async function someMove(page) {
  return page.evaluate(() => {
    const app = window.daro.app;
    const p = app.position;
    for (let x = 1; x <= 19; x++)
      for (let y = 1; y <= 19; y++) {
        const to = app.game.destinations(x, y);
        if (to.length > 0) return { from: [x, y], to: to[Math.floor(to.length / 2)], seat: p.next.seat };
      }
    return null;
  });
}

describe('the page alone', { skip: missing || false }, () => {
  let browser;
  let site;
  before(async () => {
    browser = await launch();
    site = await servePage();
  });
  after(async () => {
    await browser?.close();
    await site?.close();
  });

  it('plays two humans against five LEVEL4 computers, and its saved file is a legal game', async () => {
    const page = await openPage(browser.context, site.url);
    await newGame(page, ['human', 'human', 'level4', 'level4', 'level4', 'level4', 'level4']);
    let p = await humanOrOver(page);
    while (!p.outcome && p.moveNumber < 100) {
      const move = await someMove(page);
      assert.ok(move, 'a human to move has a move');
      await page.locator(square(...move.from)).click();
      await page.locator(square(...move.to)).click();
      await page.waitForFunction((n) => window.daro.app.position.moveNumber > n, p.moveNumber);
      p = await humanOrOver(page);
    }
    const [download] = await Promise.all([page.waitForEvent('download'), page.locator('#save').click()]);
    const dir = mkdtempSync(join(tmpdir(), 'daro-web-game-'));
    const file = join(dir, 'game.daro');
    await download.saveAs(file);
    const events = execFileSync(autoplayPath, ['--verify', file], { encoding: 'utf8' }).trim().split('\n');
    assert.deepEqual(events.filter((l) => !/^(win|lost)/.test(l)), p.record);
    if (p.outcome?.result) assert.equal(events[events.length - 1], p.outcome.result);
    assert.match(readFileSync(file, 'utf8'), /^daro-game 1\nmode free\n/);
    // The computers thought in the worker, every move of theirs timed there.
    const thinks = await page.evaluate(() => window.daro.stats.thinkMs.length);
    assert.ok(thinks >= 5);
    // All of it under a strict security policy: nothing was refused.
    assert.deepEqual(page.refused, []);
    if (shots) await page.screenshot({ path: join(shots, 'level4-game.png') });
    await page.close();
  });

  it('refuses a bad game file with the reason and keeps the game shown', async () => {
    const page = await openPage(browser.context, site.url);
    await newGame(page, ['human', 'level1', 'level1', 'level1', 'level1', 'level1', 'level1']);
    await humanOrOver(page);
    const move = await someMove(page);
    await page.locator(square(...move.from)).click();
    await page.locator(square(...move.to)).click();
    const before = await humanOrOver(page);
    const labels = () => page.evaluate(() => [...document.querySelectorAll('[data-square]')].map((g) => g.getAttribute('aria-label')));
    const shown = await labels();
    const dir = mkdtempSync(join(tmpdir(), 'daro-web-bad-'));
    const bad = join(dir, 'bad.daro');
    writeFileSync(bad, 'daro-game 1\nmode free\nlevel 3\nseats human level1 level1 level1 level1 level1 level1\nmove 1 1 5 10 19 19 50 0\n');
    await page.locator('#file').setInputFiles(bad);
    await page.waitForFunction(() => document.getElementById('status').textContent !== '');
    assert.match(await page.locator('#status').textContent(), /line 5: /);
    const afterOpen = await position(page);
    assert.deepEqual(afterOpen.board, before.board);
    assert.equal(afterOpen.moveNumber, before.moveNumber);
    assert.deepEqual(await labels(), shown);
    await page.close();
  });

  it('offers the game kept from the last visit, and continues it', async () => {
    const page = await openPage(browser.context, site.url);
    await newGame(page, ['human', 'level1', 'level1', 'level1', 'level1', 'level1', 'level1']);
    await humanOrOver(page);
    const move = await someMove(page);
    await page.locator(square(...move.from)).click();
    await page.locator(square(...move.to)).click();
    const kept = await humanOrOver(page);
    await page.reload();
    await page.waitForSelector('body[data-ready="true"]');
    await page.locator('#continue').click();
    const back = await humanOrOver(page);
    assert.deepEqual(back.board, kept.board);
    assert.deepEqual(back.record, kept.record);
    await page.close();
  });

  it('shows a past position from the move list and from Back, and plays on from it', async () => {
    const page = await openPage(browser.context, site.url);
    await newGame(page, ['human', 'level1', 'level1', 'level1', 'level1', 'level1', 'level1']);
    await humanOrOver(page);
    for (let i = 0; i < 2; i++) {
      const move = await someMove(page);
      const n = (await position(page)).moveNumber;
      await page.locator(square(...move.from)).click();
      await page.locator(square(...move.to)).click();
      await page.waitForFunction((m) => window.daro.app.position.moveNumber > m, n);
      await humanOrOver(page);
    }
    const now = await position(page);
    const labels = () => page.evaluate(() => [...document.querySelectorAll('[data-square]')].map((g) => g.getAttribute('aria-label')));
    const labelsNow = await labels();
    // The third line of the list: the position after move 3.
    await page.locator('#moves button').nth(2).click();
    assert.equal(await page.locator('#back-to-now').isVisible(), true);
    const entry3 = await page.evaluate(() => window.daro.app.game.entry(3).board);
    const shown = await page.evaluate(() => [...document.querySelectorAll('[data-square]')].map((g) => g.getAttribute('aria-label')));
    assert.notDeepEqual(shown, labelsNow);
    const [fx, fy] = [1, 1];
    assert.equal(entry3[fx - 1][fy - 1] === 0, /^empty/.test(shown[0]));
    // While a past position is shown the pieces do not answer.
    await page.locator(square(5, 10)).click();
    assert.equal(await page.locator('.board .selected').count(), 0);
    await page.locator('#back-to-now').click();
    assert.deepEqual(await labels(), labelsNow);

    // Back three steps, then play on from there: the game goes on from that position.
    for (let i = 0; i < 3; i++) await page.locator('#back').click();
    const back = await position(page);
    assert.equal(back.moveNumber, now.moveNumber - 3);
    assert.equal(back.navigated, true);
    await page.locator('#play-on').click();
    const resumed = await humanOrOver(page);
    assert.equal(resumed.navigated, false);
    const upTo = (record, n) => record.slice(0, record.findIndex((l) => l.startsWith(`move ${n + 1} `)));
    assert.deepEqual(upTo(resumed.record, back.moveNumber), upTo(now.record, back.moveNumber));
    assert.ok(resumed.moveNumber > back.moveNumber);
    await page.close();
  });

  it('fits a phone held upright: every square can be tapped, nothing overflows', async () => {
    const phone = await launch({ viewport: { width: 360, height: 740 }, hasTouch: true, isMobile: true });
    const page = await phone.context.newPage();
    await page.goto(site.url);
    await page.waitForSelector('body[data-ready="true"]');
    if (await page.locator('#fresh').isVisible()) await page.locator('#fresh').click();
    const layout = await page.evaluate(() => {
      const width = document.documentElement.clientWidth;
      const overflowing = [...document.querySelectorAll('body *')]
        .filter((e) => e.getClientRects().length > 0 && e.closest('.sprite') === null)
        .filter((e) => e.getBoundingClientRect().right > width + 0.5)
        .map((e) => e.id || e.tagName);
      const unreachable = [];
      for (const g of document.querySelectorAll('[data-square]')) {
        const r = g.getBoundingClientRect();
        const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
        if (r.width < 15 || !hit || hit.closest('[data-square]') !== g) unreachable.push(g.dataset.square);
      }
      return { scroll: document.documentElement.scrollWidth, width, overflowing, unreachable };
    });
    assert.ok(layout.scroll <= 360, `the page is ${layout.scroll} px wide`);
    assert.deepEqual(layout.overflowing, []);
    assert.deepEqual(layout.unreachable, []);
    // A real tap picks a piece and another moves it.
    await page.locator(square(5, 10)).tap();
    assert.equal(await page.locator(square(5, 10)).getAttribute('aria-selected'), 'true');
    const to = await page.evaluate(() => window.daro.app.destinations[0]);
    await page.locator(square(...to)).tap();
    await page.waitForFunction(() => window.daro.app.position.moveNumber >= 1);
    if (shots) await page.screenshot({ path: join(shots, 'phone.png'), fullPage: true });
    await phone.close();
  });

  it('plays five moves with the keyboard alone', async () => {
    const page = await openPage(browser.context, site.url);
    await newGame(page, ['human', 'level1', 'level1', 'level1', 'level1', 'level1', 'level1']);
    // From here on no pointer: Tab reaches the board, arrows and Enter play.
    let p = await humanOrOver(page);
    let at = null;
    for (let i = 0; i < 40 && !(await page.evaluate(() => document.activeElement?.hasAttribute('data-square'))); i++)
      await page.keyboard.press('Tab');
    at = (await page.evaluate(() => document.activeElement.dataset.square)).split(',').map(Number);
    const walk = async (target) => {
      while (at[0] !== target[0] || at[1] !== target[1]) {
        const key =
          at[0] < target[0] ? 'ArrowRight' : at[0] > target[0] ? 'ArrowLeft' : at[1] < target[1] ? 'ArrowDown' : 'ArrowUp';
        await page.keyboard.press(key);
        at = (await page.evaluate(() => document.activeElement.dataset.square)).split(',').map(Number);
      }
    };
    for (let n = 0; n < 5; n++) {
      const move = await someMove(page);
      await walk(move.from);
      await page.keyboard.press('Enter');
      await walk(move.to);
      // The cursor is drawn where the focus is.
      assert.equal(await page.locator('.board .cursor').count(), 1);
      await page.keyboard.press('Enter');
      await page.waitForFunction((m) => window.daro.app.position.moveNumber > m, p.moveNumber);
      p = await humanOrOver(page);
    }
    const mine = p.record.filter((l) => l.startsWith('move ') && l.split(' ')[2] === '1');
    assert.equal(mine.length, 5);
    if (shots) await page.screenshot({ path: join(shots, 'keyboard.png') });
    await page.close();
  });
});
