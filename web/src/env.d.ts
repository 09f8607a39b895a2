/// <reference types="vite/client" />
declare module 'daro-wasm/daro.mjs' {
  import type { ModuleFactory } from './game/engine';
  const factory: ModuleFactory;
  export default factory;
}
