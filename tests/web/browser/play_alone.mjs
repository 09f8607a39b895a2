// Plays a game in the browser alone, two humans (seats 1 and 2, moved by
// clicks) against five LEVEL4 computers, to the end or to 100 moves; saves
// it with the page's Save button.
//   node play_alone.mjs FILE      -> FILE (the game), FILE.board ("x y code" a square)
import { writeFileSync } from 'node:fs';
import { browserMissing, launch, openPage, servePage, square } from './lib.mjs';

const out = process.argv[2];
const why = browserMissing();
if (why) {
  console.log(`skip ${why}`);
  process.exit(0);
}
const site = await servePage();
const browser = await launch();
const page = await openPage(browser.context, site.url);
await page.locator('#pace').selectOption('fastest');
await page.locator('#new-game summary').click();
const seats = ['human', 'human', 'level4', 'level4', 'level4', 'level4', 'level4'];
for (let s = 1; s <= 7; s++) await page.locator(`#seat-${s}`).selectOption(seats[s - 1]);
await page.locator('#start').click();
const settled = () =>
  page.waitForFunction(() => {
    const p = window.daro.app.position;
    return p.outcome !== undefined || (p.next.kind === 'human' && !window.daro.app.busy);
  }, null, { timeout: 120000 });
await settled();
let p = await page.evaluate(() => window.daro.app.position);
while (!p.outcome && p.moveNumber < 100) {
  const move = await page.evaluate(() => {
    const app = window.daro.app;
    for (let x = 1; x <= 19; x++)
      for (let y = 1; y <= 19; y++) {
        const to = app.game.destinations(x, y);
        if (to.length > 0) return { from: [x, y], to: to[to.length - 1] };
      }
    return null;
  });
  await page.locator(square(...move.from)).click();
  await page.locator(square(...move.to)).click();
  await page.waitForFunction((n) => window.daro.app.position.moveNumber > n, p.moveNumber);
  await settled();
  p = await page.evaluate(() => window.daro.app.position);
}
const [download] = await Promise.all([page.waitForEvent('download'), page.locator('#save').click()]);
await download.saveAs(out);
const lines = [];
for (let x = 1; x <= 19; x++) for (let y = 1; y <= 19; y++) lines.push(`${x} ${y} ${p.board[x - 1][y - 1]}`);
writeFileSync(`${out}.board`, lines.join('\n') + '\n');
console.log(`played ${p.moveNumber}`);
await browser.close();
await site.close();
