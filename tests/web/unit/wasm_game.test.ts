// The game in WebAssembly against the native program: the same moves at the
// same seed, and game files that each side reads as the other wrote them.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { Game, isProblem, loadGame, type SeatToken, type Square } from '../../../web/src/game/engine';

const wasmDir = process.env.DARO_WASM_DIR ?? '';
const autoplay = process.env.DARO_AUTOPLAY ?? '';
const haveWasm = wasmDir !== '' && autoplay !== '';

async function newGame(): Promise<Game> {
  const factory = (await import(/* @vite-ignore */ join(wasmDir, 'daro.mjs'))).default;
  return loadGame(factory, { wasmBinary: readFileSync(join(wasmDir, 'daro.wasm')) });
}

function run(args: string[]): string {
  return execFileSync(autoplay, args, { encoding: 'utf8' });
}

// std::mt19937_64, as daro-autoplay draws its human's moves.
function mt19937_64(seed: bigint): () => bigint {
  const mask = (1n << 64n) - 1n;
  const mt: bigint[] = new Array(312);
  mt[0] = seed & mask;
  for (let i = 1; i < 312; i++) mt[i] = (6364136223846793005n * (mt[i - 1] ^ (mt[i - 1] >> 62n)) + BigInt(i)) & mask;
  let index = 312;
  return () => {
    if (index >= 312) {
      for (let i = 0; i < 312; i++) {
        const x = (mt[i] & 0xffffffff80000000n) | (mt[(i + 1) % 312] & 0x7fffffffn);
        let xa = x >> 1n;
        if (x & 1n) xa ^= 0xb5026f5aa96619e9n;
        mt[i] = mt[(i + 156) % 312] ^ xa;
      }
      index = 0;
    }
    let y = mt[index++];
    y ^= (y >> 29n) & 0x5555555555555555n;
    y ^= (y << 17n) & 0x71d67fffeda60000n;
    y ^= (y << 37n) & 0xfff7eee000000000n;
    y ^= y >> 43n;
    return y & mask;
  };
}

// Plays as daro-autoplay does, through the calls the page makes: computers
// think on a snapshot (the worker's way), the human draws from the seed.
function playLikeAutoplay(game: Game, humanSeat: number, seed: bigint, maxMoves: number): string[] {
  const seats: SeatToken[] = [];
  for (let s = 1; s <= 7; s++) seats.push(s === humanSeat ? 'human' : 'level3');
  const started = game.start(seats, 3);
  expect(isProblem(started)).toBe(false);
  game.events();
  const rng = mt19937_64(seed);
  const lines: string[] = [];
  let limitArmed = false;
  let limitSeat = 0;
  for (let guard = 0; guard < 10000; guard++) {
    const step = game.next();
    if (step.kind === 'none') return [...lines, 'limit'];
    if (step.kind === 'paused') game.resume();
    else if (step.kind === 'computerMove') expect(game.commit(step.seat, game.think(game.snapshot()))).toBe(true);
    else if (step.kind === 'human') {
      const moves: [Square, Square][] = [];
      for (let x = 1; x <= 19; x++)
        for (let y = 1; y <= 19; y++) for (const to of game.destinations(x, y)) moves.push([[x, y], to]);
      if (moves.length === 0) return [...lines, 'limit'];
      const [from, to] = moves[Number(rng() % BigInt(moves.length))];
      expect(game.submit(step.seat, from, to)).toBe('none');
    } else game.step();
    for (const e of game.events()) {
      if (e.type === 'moved' || e.type === 'out' || e.type === 'pass') lines.push(e.line);
      if (e.type === 'moved' && e.n >= maxMoves && !limitArmed) {
        limitArmed = true;
        limitSeat = e.seat;
      }
      if (e.type === 'turn' && limitArmed && e.seat !== limitSeat) return [...lines, 'limit'];
      if (e.type === 'over') return [...lines, e.outcome.result === '' ? 'limit' : e.outcome.result];
    }
  }
  throw new Error('the game never ended');
}

describe.skipIf(!haveWasm)('the game in WebAssembly', () => {
  it('plays the moves daro-autoplay plays: seven computers, and a human at a seed', async () => {
    const game = await newGame();
    const computers = playLikeAutoplay(game, 0, 0n, 80);
    expect(computers.join('\n') + '\n').toBe(run(['--max-moves', '80']));
    for (const [seat, seed] of [
      [3, 7n],
      [1, 12345n],
    ] as const) {
      const lines = playLikeAutoplay(game, seat, seed, 120);
      expect(lines.join('\n') + '\n').toBe(run(['--human', String(seat), '--seed', String(seed), '--max-moves', '120']));
    }
  }, 120000);

  it('writes game files daro-autoplay verifies, and reads the ones it writes', async () => {
    const game = await newGame();
    const dir = mkdtempSync(join(tmpdir(), 'daro-web-'));
    playLikeAutoplay(game, 5, 99n, 60);
    const written = game.gameFile();
    writeFileSync(join(dir, 'web.daro'), written);
    const verified = run(['--verify', join(dir, 'web.daro')]);
    expect(verified.trim().split('\n')).toEqual(game.position().record);

    run(['--human', '2', '--seed', '5', '--max-moves', '40', '--save', join(dir, 'native.daro')]);
    const native = readFileSync(join(dir, 'native.daro'), 'utf8');
    const opened = game.open(native);
    expect(isProblem(opened)).toBe(false);
    expect(game.gameFile()).toBe(native);
  }, 60000);

  it('refuses a bad game file with the line and the reason, and keeps the game', async () => {
    const game = await newGame();
    playLikeAutoplay(game, 1, 3n, 20);
    const before = game.position();
    const text = game.gameFile().split('\n');
    const moveLine = text.findIndex((l) => l.startsWith('move 3 '));
    const bad = [...text];
    const w = bad[moveLine].split(' ');
    w[6] = String(Number(w[6]) === 19 ? 1 : 19); // the piece goes somewhere it cannot
    bad[moveLine] = w.join(' ');
    for (const file of [bad.join('\n'), 'not a game', '', 'daro-game 1\nmode free\n' + 'x'.repeat(100)]) {
      const r = game.open(file);
      expect(isProblem(r)).toBe(true);
      if (isProblem(r)) {
        expect(r.error.length).toBeGreaterThan(0);
        expect(r.errorJa.length).toBeGreaterThan(0);
      }
      expect(game.position()).toEqual(before);
    }
    const r = game.open(bad.join('\n'));
    expect(isProblem(r) && r.line).toBe(moveLine + 1);
  });

  it('steps back and forward through the record, and plays on from a position shown', async () => {
    const game = await newGame();
    playLikeAutoplay(game, 1, 11n, 30);
    const end = game.position();
    const steps: number[] = [];
    while (game.back()) steps.push(game.position().moveNumber);
    expect(steps[steps.length - 1]).toBe(0);
    expect(game.position().turn).toBe(1);
    // Nothing answers while a past position is shown.
    expect(game.submit(1, [5, 10], [6, 10])).toBe('notYourTurn');
    expect(game.next().kind).toBe('none');
    while (game.forward());
    game.playOn();
    const again = game.position();
    expect(again.board).toEqual(end.board);
    expect(again.turn).toBe(end.turn);
    expect(again.record).toEqual(end.record);

    for (let i = 0; i < 10; i++) game.back();
    const shown = game.position();
    expect(game.entry(shown.moveNumber)?.board).toEqual(shown.board);
    game.playOn();
    const resumed = game.position();
    expect(resumed.recordEnd).toBe(shown.moveNumber);
    expect(game.forward()).toBe(false);
    // The file of the game played on from there replays to the same position.
    const copy = await newGame();
    const opened = copy.open(game.gameFile());
    expect(isProblem(opened) ? opened.error : '').toBe('');
    if (!isProblem(opened)) {
      expect(opened.board).toEqual(resumed.board);
      expect(opened.turn).toBe(resumed.turn);
    }
  });

  it('follows a server table line by line and refuses a line that does not follow', async () => {
    const game = await newGame();
    const played = playLikeAutoplay(game, 0, 0n, 25).filter((l) => l !== 'limit');
    const seats: SeatToken[] = ['level3', 'level3', 'level3', 'level3', 'level3', 'level3', 'level3'];
    const follower = await newGame();
    const half = played.slice(0, 10);
    const first = follower.follow(seats, [...half, 'standin 2 3', 'player 2']);
    expect(isProblem(first)).toBe(false);
    for (const line of played.slice(10)) expect(follower.followLine(line)).toBe('');
    expect(follower.position().board).toEqual(game.position().board);
    expect(follower.followLine(played[played.length - 1])).not.toBe('');
    expect(follower.followLine('move 999 1 1 1 1 1 1 1')).not.toBe('');
    expect(follower.position().board).toEqual(game.position().board);
    expect(isProblem(follower.follow(seats, ['move 1 2 1 1 1 1 1 1']))).toBe(true);
  });

  it('refuses a worker answer that is no move of the seat on this board', async () => {
    const game = await newGame();
    game.start(['level3', 'human', 'human', 'human', 'human', 'human', 'human'], 3);
    game.events();
    const step = game.next();
    expect(step).toEqual({ kind: 'computerMove', seat: 1 });
    for (const bad of ['', 'bad', '1 1 1 1', '5 10 6 10 99', '10 10 10 11 80', '-1 0 0 0 0', '5 10 19 19 50'])
      expect(game.commit(1, bad)).toBe(false);
    expect(game.think('1 2 3')).toBe('bad');
    expect(game.position().moveNumber).toBe(0);
    expect(game.commit(1, game.think(game.snapshot()))).toBe(true);
    expect(game.position().moveNumber).toBe(1);
  });
});
