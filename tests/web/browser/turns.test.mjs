// Turn-based play as the page sees it, against a server that answers as the
// protocol says: the tables the page keeps seats at, your turn first and in
// the title, a token the server no longer knows dropped, a rematch offered
// by another seat and accepted, the new table's move clock, the server's
// notice in the chat.
import { after, before, describe, it } from 'node:test';
import assert from 'node:assert/strict';
import { browserMissing, launch, openPage, servePage } from './lib.mjs';
import { scriptedServer, tableMessage } from './scripted_server.mjs';

const missing = browserMissing();
const token = (c) => c.repeat(32);

function answer(m, send) {
  switch (m.type) {
    case 'hello':
      return send({ type: 'welcome', version: 1, server: 'scripted', maxMessageBytes: 4096, maxChat: 200 });
    case 'lobby':
      return send({ type: 'lobby', waiting: [], playing: [], waitingCount: 0, playingCount: 0 });
    case 'mine':
      return send({
        type: 'mine',
        tables: m.tables.map(({ code, seat }) => {
          if (code === 'TURNAA') return { code, seat, status: 'playing', pace: 'turn', moveSeconds: 86400, turn: seat, yourTurn: true, turnLeft: 7200, moveNumber: 40, result: '' };
          if (code === 'OTHERB') return { code, seat, status: 'playing', pace: 'turn', moveSeconds: 86400, turn: 5, yourTurn: false, turnLeft: 60, moveNumber: 3, result: '' };
          if (code === 'OLDTAB' || code === 'NEWTAB')
            return { code, seat, status: code === 'OLDTAB' ? 'over' : 'playing', pace: 'turn', moveSeconds: 86400, turn: code === 'OLDTAB' ? 0 : 2, yourTurn: code === 'NEWTAB', moveNumber: 0, result: '' };
          return { code, seat, error: 'bad_token' };
        }),
      });
    case 'reconnect':
      send({ type: 'joined', code: m.code, seat: m.seat });
      if (m.code === 'TURNAA') return send(tableMessage(m.code, { you: m.seat, turn: m.seat, turnLeft: 7200 }));
      send(tableMessage(m.code, { status: 'over', you: m.seat, turn: 0, result: 'win 3' }));
      send({ type: 'chat', seat: 0, name: '', text: 'Seat 6 missed 3 moves in a row; the computer plays it until its player comes back.', notice: 'abandoned', noticeSeat: 6 });
      // Another seat offers a rematch.
      return send({ type: 'rematch', code: 'NEWTAB', seat: 3 });
    case 'rematch':
      send({ type: 'joined', code: 'NEWTAB', seat: 2, token: token('b') });
      send(tableMessage('NEWTAB', { turn: 2, turnLeft: 3600 }));
      return send({ type: 'turn', seat: 2, left: 3600 });
    case 'join':
      return send({ type: 'error', code: 'no_such_table', message: 'no table has that code', about: 'join' });
    default:
      return send({ type: 'error', code: 'unknown_type', message: 'no such message', about: m.type });
  }
}

describe('turn-based tables at the page', { skip: missing || false }, () => {
  let server;
  let site;
  let browser;
  before(async () => {
    server = await scriptedServer(answer);
    site = await servePage(server.port);
    browser = await launch();
  });
  after(async () => {
    await browser?.close();
    await site?.close();
    await server?.close();
  });

  it('lists your tables your turn first, accepts a rematch and counts the new table clock', async () => {
    const page = await openPage(browser.context, site.url);
    await page.evaluate((t) => {
      localStorage.setItem('daro.seat.OLDTAB', `2 ${t.a}`);
      localStorage.setItem('daro.seat.OTHERB', `4 ${t.a}`);
      localStorage.setItem('daro.seat.TURNAA', `1 ${t.a}`);
      localStorage.setItem('daro.seat.GONEXX', `1 ${t.c}`);
    }, { a: token('a'), c: token('c') });
    await page.goto(`${site.url}/t/OLDTAB`);
    await page.waitForSelector('body[data-ready="true"]');

    // The finished table: a rematch offered by 韓 (seat 3), and the server's notice in words.
    await page.waitForFunction(() => document.getElementById('net-rematch-note').textContent === 'Han offers a rematch');
    assert.equal(await page.locator('#net-rematch').textContent(), 'Accept the rematch');
    await page.waitForFunction(() => /Zhao ran out of time three moves in a row/.test(document.getElementById('net-chat-log').textContent));

    // Your tables, your turn first; the one the server no longer knows is dropped.
    await page.waitForFunction(() => document.querySelectorAll('#mine-list li').length === 3);
    const rows = await page.locator('#mine-list li').allTextContents();
    assert.match(rows[0], /^TURNAA 1st \(Qin\) · Your turn · 2:00:00 left Go to the table$/);
    assert.match(rows[1], /^OTHERB 4th \(Qi\) · To move: 5th \(Wei\) · 1:00 left/);
    assert.match(rows[2], /^OLDTAB 2nd \(Chu\) · over$/);
    assert.equal(await page.evaluate(() => localStorage.getItem('daro.seat.GONEXX')), null);
    assert.equal(await page.title(), '(1) Seven Kingdoms');

    // Accepted by keyboard: the page follows to the new table, keeps its seat,
    // and the clock of the seat to move counts down.
    await page.locator('#net-rematch').focus();
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => location.pathname === '/t/NEWTAB');
    assert.equal(await page.evaluate(() => localStorage.getItem('daro.seat.NEWTAB')), `2 ${'b'.repeat(32)}`);
    await page.waitForFunction(() => /^Chu: (1:00:00|59:5\d) left$/.test(document.getElementById('net-clock').textContent));
    assert.equal(await page.locator('#net-rematch').isVisible(), false);
    await page.waitForFunction(() => document.title === '(2) Seven Kingdoms');
    assert.ok(server.seen.some((m) => m.type === 'rematch'));

    // Off to another table of yours: the seat here is kept, not given up.
    // By keyboard, though the list is drawn again every second for its clocks.
    await page.locator('#mine-list button[data-code="TURNAA"]').focus();
    const before = await page.locator('#mine-list .clock').first().textContent();
    await page.waitForFunction((b) => document.querySelector('#mine-list .clock').textContent !== b, before);
    assert.equal(await page.evaluate(() => document.activeElement.dataset.code), 'TURNAA');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => location.pathname === '/t/TURNAA');
    await page.waitForFunction(() => /^Qin: (2:00:00|1:59:5\d) left$/.test(document.getElementById('net-clock').textContent));
    assert.equal(server.seen.filter((m) => m.type === 'leave').length, 0);
    assert.deepEqual(server.seen.filter((m) => m.type === 'reconnect').at(-1), { type: 'reconnect', code: 'TURNAA', seat: 1, token: token('a') });
    assert.equal(await page.evaluate(() => localStorage.getItem('daro.seat.NEWTAB')), `2 ${'b'.repeat(32)}`);
    // A game at home meanwhile keeps the seat for later, and a mistyped
    // code refused by the server then forgets none.
    await page.locator('#new-game summary').click();
    await page.locator('#start').click();
    await page.waitForFunction(() => location.pathname === '/');
    await page.locator('#net-code').fill('ZZZZZZ');
    await page.locator('#net-join').click();
    await page.waitForFunction(() => document.getElementById('net-status').textContent === 'There is no such table');
    assert.notEqual(await page.evaluate(() => localStorage.getItem('daro.seat.TURNAA')), null);

    // The page asked about every kept seat, each with its token.
    const asked = server.seen.find((m) => m.type === 'mine');
    assert.deepEqual(asked.tables.map((e) => e.code), ['GONEXX', 'OLDTAB', 'OTHERB', 'TURNAA']);
    await page.close();
  });
});
