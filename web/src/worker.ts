// The computer thinks here, on its own copy of the game library, so the
// page keeps answering while a LEVEL4 search runs.
import createDaro from 'daro-wasm/daro.mjs';
import wasmUrl from 'daro-wasm/daro.wasm?url';
import { loadGame, type Game } from './game/engine';

export interface ThinkRequest {
  id: number;
  snapshot: string;
}
export interface ThinkAnswer {
  id: number;
  chosen: string;
  ms: number;
  // The worker's memory after the search, for the benchmark.
  heapBytes: number;
}

let game: Promise<Game> | null = null;

self.onmessage = async (e: MessageEvent<ThinkRequest>) => {
  game ??= loadGame(createDaro, { locateFile: () => wasmUrl });
  const g = await game;
  const started = performance.now();
  const chosen = g.think(e.data.snapshot);
  const answer: ThinkAnswer = { id: e.data.id, chosen, ms: performance.now() - started, heapBytes: g.memory().heap };
  (self as unknown as Worker).postMessage(answer);
};
