// The hint through the wasm calls the page makes: asked at positions of
// seeded games, it leaves the game exactly as it was; the worker's way (a
// snapshot thought elsewhere) gives the move the table's own hint gives; and
// that move is one the human may make. LEVEL5 seats think from a snapshot.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { Game, isProblem, loadGame, type SeatToken, type Square } from '../../../web/src/game/engine';

const wasmDir = process.env.DARO_WASM_DIR ?? '';

async function newGame(): Promise<Game> {
  const factory = (await import(/* @vite-ignore */ join(wasmDir, 'daro.mjs'))).default;
  return loadGame(factory, { wasmBinary: readFileSync(join(wasmDir, 'daro.wasm')) });
}

// A small deterministic generator, so a failing seed can be played again.
function lcg(seed: number): () => number {
  let s = seed >>> 0;
  return () => {
    s = (Math.imul(s, 1664525) + 1013904223) >>> 0;
    return s;
  };
}

function humanMoves(game: Game): [Square, Square][] {
  const moves: [Square, Square][] = [];
  for (let x = 1; x <= 19; x++) for (let y = 1; y <= 19; y++) for (const to of game.destinations(x, y)) moves.push([[x, y], to]);
  return moves;
}

// Plays until a human is to move: the computers from their snapshots.
function untilHuman(game: Game): boolean {
  for (let guard = 0; guard < 500; guard++) {
    const step = game.next();
    if (step.kind === 'human') return true;
    if (step.kind === 'none') return false;
    if (step.kind === 'paused') game.resume();
    else if (step.kind === 'computerMove') {
      const chosen = game.think(game.snapshot());
      expect(chosen).not.toBe('bad');
      expect(game.commit(step.seat, chosen)).toBe(true);
    } else game.step();
    game.events();
  }
  return false;
}

describe.skipIf(wasmDir === '')('the hint in WebAssembly', () => {
  it('never changes the game, agrees with the worker, and is a move the human may make', async () => {
    const game = await newGame();
    let asked = 0;
    for (const [seats, seed] of [
      [['human', 'level1', 'level2', 'level1', 'level3', 'level1', 'level2'], 1],
      [['level2', 'level1', 'human', 'human', 'level1', 'level3', 'level1'], 7],
    ] as [SeatToken[], number][]) {
      const rng = lcg(seed);
      const started = game.start(seats, 2);
      expect(isProblem(started)).toBe(false);
      game.events();
      for (let turn = 0; turn < 6 && untilHuman(game); turn++) {
        const before = game.position();
        const file = game.gameFile();
        const here = game.hint();
        const snapshot = game.hintSnapshot();
        expect(game.position()).toEqual(before);
        expect(game.gameFile()).toBe(file);
        expect(game.events()).toEqual([]);
        expect(snapshot).not.toBe('none');
        // The worker's copy of the library thinks the same move.
        expect(game.think(snapshot)).toBe(here);
        expect(game.position()).toEqual(before);
        asked++;
        const [fx, fy, tx, ty, piece] = here.split(' ').map(Number);
        expect(game.hintFits(here)).toBe(true);
        expect(before.board[fx - 1][fy - 1]).toBe(piece);
        expect(game.submit(before.next.seat, [fx, fy], [tx, ty])).toBe('none');
        game.events();
        // The hint of a position gone by no longer fits: its piece has gone.
        expect(game.hintFits(here)).toBe(false);
        // Then a drawn move of the human's own, so the positions differ from game to game.
        if (!untilHuman(game)) break;
        const moves = humanMoves(game);
        if (moves.length === 0) break;
        const [from, to] = moves[rng() % moves.length];
        expect(game.submit(game.next().seat, from, to)).toBe('none');
        game.events();
      }
    }
    expect(asked).toBeGreaterThanOrEqual(8);
  }, 300000);

  it('gives nothing while a computer or a past position is to move, and refuses a move that is not the human\'s', async () => {
    const game = await newGame();
    game.start(['level5', 'human', 'level1', 'level1', 'level1', 'level1', 'level1'], 1);
    game.events();
    expect(game.next()).toEqual({ kind: 'computerMove', seat: 1 });
    expect(game.hint()).toBe('none');
    expect(game.hintSnapshot()).toBe('none');
    // LEVEL5 thinks from its snapshot, as in the worker.
    const snapshot = game.snapshot();
    expect(snapshot.split(' ')[1]).toBe('5');
    const chosen = game.think(snapshot);
    expect(chosen).toMatch(/^\d+ \d+ \d+ \d+ \d+$/);
    expect(game.commit(1, chosen)).toBe(true);
    game.events();
    expect(game.next()).toEqual({ kind: 'human', seat: 2 });
    const hint = game.hint();
    expect(game.hintFits(hint)).toBe(true);
    for (const bad of ['', 'none', '1 2 3', '0 0 0 0 0', chosen, '1 1 1 1 1 1', 'x y z w v'])
      expect(game.hintFits(bad)).toBe(false);
    expect(game.back()).toBe(true);
    expect(game.hint()).toBe('none');
    expect(game.hintSnapshot()).toBe('none');
    expect(game.hintFits(hint)).toBe(false);
  }, 120000);
});
