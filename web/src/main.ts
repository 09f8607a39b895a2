import './style.css';
import art from 'daro-art/daro-art.svg?raw';
import createDaro from 'daro-wasm/daro.mjs';
import wasmUrl from 'daro-wasm/daro.wasm?url';
import { App, prefs, stats, store } from './app';
import { loadGame } from './game/engine';
import { langFromBrowser, setLang, type Lang } from './i18n';
import { codeFromPath } from './protocol';

async function main(): Promise<void> {
  const kept = store.get(prefs.lang);
  setLang(kept === 'ja' || kept === 'en' ? (kept as Lang) : langFromBrowser(navigator.languages ?? [navigator.language]));
  // The pieces' symbols, once, for every square to use.
  // Kept out of sight without display:none, which would leave their
  // gradients unpainted where they are used.
  const sprite = document.createElement('div');
  sprite.className = 'sprite';
  sprite.innerHTML = art;
  document.body.prepend(sprite);
  const game = await loadGame(createDaro, { locateFile: () => wasmUrl });
  const root = document.getElementById('app')!;
  const app = new App(
    root,
    game,
    () => new Worker(new URL('./worker.ts', import.meta.url), { type: 'module' }),
    codeFromPath(location.pathname),
  );
  Object.assign(window, { daro: { app, stats } });
  document.body.dataset.ready = 'true';
}

void main();
