// The browser's half of the browser-and-window scenario, as a program:
//   node seat_at_table.mjs SERVER_PORT CODE
// Opens the table's invitation link, takes the free seat, then says on
// standard output what it sees, one line each:
//   seated SEAT
//   saw FX FY TX TY PIECE      (the other player's first move, on our board)
//   moved FX FY TX TY PIECE    (our own move, made with two clicks)
// and stays at the table until standard input closes.
import { browserMissing, launch, openPage, servePage, square } from './lib.mjs';

const [port, code] = process.argv.slice(2);
const why = browserMissing();
if (why) {
  console.log(`skip ${why}`);
  process.exit(0);
}
const site = await servePage(Number(port));
const browser = await launch();
const page = await openPage(browser.context, `${site.url}/t/${code}`);
await page.waitForFunction(() => window.daro.app.online.seat() > 0, null, { timeout: 30000 });
const seat = await page.evaluate(() => window.daro.app.online.seat());
console.log(`seated ${seat}`);

await page.waitForFunction(() => window.daro.app.position.moveNumber >= 1, null, { timeout: 60000 });
const first = await page.evaluate(() => window.daro.app.position.record.find((l) => l.startsWith('move 1 ')));
const [, , , fx, fy, tx, ty, piece] = first.split(' ');
const there = await page.evaluate(([x, y]) => window.daro.app.position.board[x - 1][y - 1], [Number(tx), Number(ty)]);
if (String(there) === piece) console.log(`saw ${fx} ${fy} ${tx} ${ty} ${piece}`);

await page.waitForFunction(
  (s) => window.daro.app.position.next.kind === 'human' && window.daro.app.position.next.seat === s && !window.daro.app.busy,
  seat,
  { timeout: 60000 },
);
const move = await page.evaluate(() => {
  const app = window.daro.app;
  for (let x = 1; x <= 19; x++)
    for (let y = 1; y <= 19; y++) {
      const to = app.game.destinations(x, y);
      if (to.length > 0) return { from: [x, y], to: to[0], piece: app.position.board[x - 1][y - 1] };
    }
  return null;
});
await page.locator(square(...move.from)).click();
await page.locator(square(...move.to)).click();
await page.waitForFunction(
  ([x, y, p]) => window.daro.app.position.board[x - 1][y - 1] === p,
  [move.to[0], move.to[1], move.piece],
  { timeout: 30000 },
);
console.log(`moved ${move.from.join(' ')} ${move.to.join(' ')} ${move.piece}`);

process.stdin.resume();
process.stdin.on('end', async () => {
  await browser.close();
  await site.close();
  process.exit(0);
});
