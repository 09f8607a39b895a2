// The game library compiled to WebAssembly, behind typed calls. One module
// instance holds one table; the page keeps one and the worker another.

export type SeatToken = 'human' | 'level1' | 'level2' | 'level3' | 'level4' | 'level5';
export type Square = [number, number];
export type StepKind = 'none' | 'human' | 'paused' | 'computerMove' | 'dropOut' | 'pass';
export type Refusal = 'none' | 'noGame' | 'notYourTurn' | 'notYourPiece' | 'illegalMove' | 'kingSquareReached';

export interface Outcome {
  kind: 'win' | 'humanGone' | 'noHumanLeft' | 'noKingdomCanMove';
  seat: number;
  by?: 'twoKings' | 'thirtyPieces' | 'nineteenWithKing' | 'lastStanding';
  result: string;
}

export interface Step {
  kind: StepKind;
  seat: number;
}

export interface Position {
  started: boolean;
  mode: number;
  level: number;
  turn: number;
  moveNumber: number;
  recordEnd: number;
  navigated: boolean;
  board: number[][]; // [x-1][y-1]
  captured: number[]; // by block 1..7 at index 0..6
  kingsCaptured: number[];
  seats: SeatToken[];
  pieces: number[]; // by seat
  kingDanger: number[];
  record: string[];
  next: Step;
  outcome?: Outcome;
}

export interface Entry {
  n: number;
  board: number[][];
  captured: number[];
  kingsCaptured: number[];
}

export type TableEvent =
  | { type: 'moved'; n: number; seat: number; from: Square; to: Square; piece: number; captured: number; line: string }
  | { type: 'out'; seat: number; line: string }
  | { type: 'pass'; seat: number; line: string }
  | { type: 'turn'; seat: number }
  | { type: 'paused'; seat: number }
  | { type: 'over'; outcome: Outcome };

export interface Problem {
  error: string;
  errorJa: string;
  line: number;
}

interface DaroModule {
  _malloc(n: number): number;
  _free(p: number): void;
  UTF8ToString(p: number): string;
  stringToUTF8(s: string, p: number, max: number): void;
  lengthBytesUTF8(s: string): number;
  [name: string]: unknown;
}

type Raw = (...args: number[]) => number;

export class Game {
  constructor(private readonly m: DaroModule) {}

  private call(name: string, ...args: number[]): number {
    return (this.m[`_daro_${name}`] as Raw)(...args);
  }

  private text(name: string, ...args: number[]): string {
    return this.m.UTF8ToString(this.call(name, ...args));
  }

  // Calls with string arguments: each copied into the module's memory for the call.
  private withStrings<T>(strings: string[], f: (args: number[]) => T): T {
    const held: number[] = [];
    const args: number[] = [];
    try {
      for (const s of strings) {
        const n = this.m.lengthBytesUTF8(s);
        const p = this.m._malloc(n + 1);
        held.push(p);
        this.m.stringToUTF8(s, p, n + 1);
        args.push(p, n);
      }
      return f(args);
    } finally {
      for (const p of held) this.m._free(p);
    }
  }

  start(seats: SeatToken[], level: number): Position | Problem {
    return JSON.parse(this.withStrings([seats.join(' ')], (a) => this.text('start', ...a, level)));
  }
  position(): Position {
    return JSON.parse(this.text('position'));
  }
  submit(seat: number, from: Square, to: Square): Refusal {
    return this.text('submit', seat, from[0], from[1], to[0], to[1]) as Refusal;
  }
  destinations(x: number, y: number): Square[] {
    return JSON.parse(this.text('destinations', x, y));
  }
  next(): Step {
    return JSON.parse(this.text('next'));
  }
  step(): void {
    this.call('step');
  }
  resume(): void {
    this.call('resume');
  }
  snapshot(): string {
    return this.text('snapshot');
  }
  think(snapshot: string): string {
    return this.withStrings([snapshot], (a) => this.text('think', ...a));
  }
  // LEVEL5's search for the human to move, for a worker's think(); 'none'
  // when no human is to move.
  hintSnapshot(): string {
    return this.text('hint_snapshot');
  }
  // The same hint thought here: "FX FY TX TY PIECE" or 'none'.
  hint(): string {
    return this.text('hint');
  }
  // Whether a hint is a move the human to move may still make.
  hintFits(chosen: string): boolean {
    return this.withStrings([chosen], (a) => this.call('hint_fits', ...a)) === 1;
  }
  // Bytes of LEVEL5's transposition table, and of this module's memory now.
  memory(): { level5Table: number; heap: number } {
    return { level5Table: this.call('level5_table_bytes'), heap: this.call('heap_bytes') };
  }
  commit(seat: number, chosen: string): boolean {
    return this.withStrings([chosen], (a) => this.call('commit', seat, ...a)) === 1;
  }
  events(): TableEvent[] {
    return JSON.parse(this.text('events'));
  }
  back(): boolean {
    return this.call('back') === 1;
  }
  forward(): boolean {
    return this.call('forward') === 1;
  }
  playOn(): void {
    this.call('play_on');
  }
  entry(n: number): Entry | null {
    return JSON.parse(this.text('entry', n));
  }
  gameFile(): string {
    return this.text('game_file');
  }
  open(text: string): Position | Problem {
    return JSON.parse(this.withStrings([text], (a) => this.text('open', ...a)));
  }
  follow(seats: SeatToken[], lines: string[]): Position | Problem {
    return JSON.parse(this.withStrings([seats.join(' '), lines.join('\n')], (a) => this.text('follow', ...a)));
  }
  // Empty when the line follows, else why not.
  followLine(line: string): string {
    return this.withStrings([line], (a) => this.text('follow_line', ...a));
  }
}

export function isProblem(x: Position | Problem): x is Problem {
  return (x as Problem).error !== undefined;
}

export type ModuleFactory = (options: Record<string, unknown>) => Promise<DaroModule>;

export async function loadGame(factory: ModuleFactory, options: Record<string, unknown> = {}): Promise<Game> {
  return new Game(await factory(options));
}
