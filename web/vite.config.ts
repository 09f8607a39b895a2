import { defineConfig } from 'vite';
import { fileURLToPath } from 'node:url';
import { dirname } from 'node:path';

// The build tree hands over the game library and the pictures.
const wasmDir = process.env.DARO_WASM_DIR ?? fileURLToPath(new URL('../build/web/wasm', import.meta.url));
const artSvg = process.env.DARO_ART_SVG ?? fileURLToPath(new URL('../build/web/art/daro-art.svg', import.meta.url));

export default defineConfig({
  base: '/',
  resolve: {
    alias: {
      'daro-wasm': wasmDir,
      'daro-art': dirname(artSvg),
    },
  },
  server: { fs: { allow: ['.', wasmDir, dirname(artSvg)] } },
  worker: { format: 'es' },
  build: {
    target: 'es2022',
    assetsInlineLimit: 0,
    // The wasm module and its loader are hashed like everything else, so
    // the server may keep them cached for good.
    assetsDir: 'assets',
    sourcemap: false,
  },
});
