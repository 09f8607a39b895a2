import './style.css';
import art from 'daro-art/daro-art.svg?raw';
import createDaro from 'daro-wasm/daro.mjs';
import wasmUrl from 'daro-wasm/daro.wasm?url';
import { App, prefs, stats, store } from './app';
import { loadGame } from './game/engine';
import { langFromBrowser, setLang, type Lang } from './i18n';
import { codeFromPath } from './protocol';

async function main(): Promise<void> {
  // The library compiles while the pieces are parsed.
  const loading = loadGame(createDaro, { locateFile: () => wasmUrl });
  const kept = store.get(prefs.lang);
  setLang(kept === 'ja' || kept === 'en' ? (kept as Lang) : langFromBrowser(navigator.languages ?? [navigator.language]));
  // The pieces' symbols, once, for every square to use.
  // Kept out of sight without display:none, which would leave their
  // gradients unpainted where they are used.
  const sprite = document.createElement('div');
  sprite.className = 'sprite';
  sprite.innerHTML = art;
  document.body.prepend(sprite);
  performance.mark('daro-pieces');
  const game = await loading;
  performance.mark('daro-library');
  const root = document.getElementById('app')!;
  const app = new App(
    root,
    game,
    () => new Worker(new URL('./worker.ts', import.meta.url), { type: 'module' }),
    codeFromPath(location.pathname),
  );
  Object.assign(window, { daro: { app, stats } });
  performance.mark('daro-board');
  document.body.dataset.ready = 'true';
}

void main();
