// The hint and LEVEL5 in a real browser: at home H shows an arrow of a move
// the human may make and plays nothing, Esc and a move take it away, and a
// LEVEL5 seat thinks in the worker; at a server's table made without hints
// it is refused in words, at one made with them it is shown.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { browserMissing, launch, newGame, openPage, position, serverPath, servePage, square, startServer } from './lib.mjs';

const missing = browserMissing();

async function humanToMove(page, seat) {
  await page.waitForFunction(
    (s) => {
      const p = window.daro.app.position;
      return p.next.kind === 'human' && (s === 0 || p.next.seat === s) && !window.daro.app.busy;
    },
    seat,
    { timeout: 60000 },
  );
  return position(page);
}

const shownHint = (page) =>
  page.evaluate(() => {
    const g = document.querySelector('.board .hint');
    return g ? { from: g.dataset.from.split(',').map(Number), to: g.dataset.to.split(',').map(Number) } : null;
  });

// The page gives a square's destinations only for a piece of the seat to move.
const legalForHuman = (page, hint) =>
  page.evaluate(
    ({ from, to }) => window.daro.app.game.destinations(from[0], from[1]).some(([x, y]) => x === to[0] && y === to[1]),
    hint,
  );

describe('the hint', { skip: missing || false }, () => {
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

  it('at home: H shows a move that is the human\'s to make, Esc and the move take it away, and LEVEL5 thinks in the worker', async () => {
    const page = await openPage(browser.context, site.url);
    if (await page.locator('#fresh').isVisible()) await page.locator('#fresh').click();
    await newGame(page, ['human', 'level5', 'level1', 'level1', 'level1', 'level1', 'level1']);
    const before = await humanToMove(page, 1);
    const file = await page.evaluate(() => window.daro.app.game.gameFile());

    await page.locator('body').press('h');
    await page.waitForSelector('.board .hint', { timeout: 60000 });
    const hint = await shownHint(page);
    const after = await position(page);
    assert.deepEqual(after, before, 'the hint played nothing');
    assert.equal(await page.evaluate(() => window.daro.app.game.gameFile()), file);
    assert.ok(await legalForHuman(page, hint), "a move of the human's piece to a square it may go to");
    assert.match(await page.locator('#status').textContent(), /^Hint: /);

    await page.keyboard.press('Escape');
    assert.equal(await shownHint(page), null);
    // The Hint button does as H does, and playing the move takes the arrow away.
    await page.locator('#hint').click();
    await page.waitForSelector('.board .hint', { timeout: 60000 });
    assert.deepEqual(await shownHint(page), hint, 'the same position, the same hint');
    await page.locator(square(...hint.from)).click();
    await page.locator(square(...hint.to)).click();
    await page.waitForFunction(() => window.daro.app.position.moveNumber >= 1);
    assert.equal(await shownHint(page), null);
    const played = await position(page);
    assert.equal(played.board[hint.to[0] - 1][hint.to[1] - 1], before.board[hint.from[0] - 1][hint.from[1] - 1]);

    // 楚 at LEVEL5 moved from the worker; the page never thought itself.
    await humanToMove(page, 1);
    const stats = await page.evaluate(() => window.daro.stats);
    assert.ok(stats.thinkMs.length >= 6, `the computers' moves were thought in the worker (${stats.thinkMs.length})`);
    assert.equal(stats.thoughtHere, 0);
    assert.equal(stats.hintMs.length, 2);
    await page.close();
  });

  it('at a server: refused at a table made without hints, shown at one made with them', { skip: serverPath ? false : 'no daro-server' }, async () => {
    const server = await startServer();
    const front = server.servesWeb ? null : await servePage(server.port);
    const url = front ? front.url : `http://127.0.0.1:${server.port}`;
    try {
      for (const hints of [false, true]) {
        const context = await launch();
        try {
          const page = await openPage(context.context, url);
          if (await page.locator('#fresh').isVisible()) await page.locator('#fresh').click();
          await page.locator('#net summary').click();
          await page.locator('#net-seat-2').selectOption('level5');
          for (let s = 3; s <= 7; s++) await page.locator(`#net-seat-${s}`).selectOption('level1');
          if (hints) await page.locator('#net-hints').check();
          await page.locator('#net-create').click();
          await page.waitForFunction(() => window.daro.app.online.seat() === 1, null, { timeout: 20000 });
          // The LEVEL5 seat came through the table's state as the server sent it.
          await page.waitForFunction(() => document.querySelector('#net-seats li[data-seat="2"]')?.textContent.includes('Level 5'));
          await humanToMove(page, 1);
          const before = await position(page);
          await page.locator('#hint').click();
          if (!hints) {
            assert.equal(await page.locator('#status').textContent(), 'Hints are off at this table: it was created without them.');
            await page.waitForTimeout(500);
            assert.equal(await shownHint(page), null);
            assert.equal(await page.evaluate(() => window.daro.stats.hintMs.length), 0, 'nothing was even thought');
          } else {
            await page.waitForSelector('.board .hint', { timeout: 60000 });
            assert.deepEqual(await position(page), before);
            assert.ok(await legalForHuman(page, await shownHint(page)));
          }
        } finally {
          await context.close();
        }
      }
    } finally {
      await front?.close();
      await server.close();
    }
  });
});
