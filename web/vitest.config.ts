import { defineConfig } from 'vitest/config';
import { fileURLToPath } from 'node:url';

const here = fileURLToPath(new URL('.', import.meta.url));

export default defineConfig({
  root: here,
  server: { fs: { allow: [fileURLToPath(new URL('..', import.meta.url))] } },
  test: {
    globals: true,
    dir: fileURLToPath(new URL('../tests/web/unit', import.meta.url)),
    include: ['**/*.test.ts'],
    environment: 'node',
  },
});
