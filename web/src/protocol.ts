// The server's messages, checked as the desktop's panel checks them before
// anything is used: a code that is no table code, a seat out of range or a
// field of the wrong kind makes the message one the page ignores.
import type { SeatToken } from './game/engine';
import type { MyTable } from './tables';

export const largestMessage = 4 * 1024 * 1024;

export interface SeatInfo {
  seat: number;
  kind: 'human' | 'computer';
  level: number;
  name: string;
  open: boolean;
  connected: boolean;
  playedBy: 'player' | 'computer' | 'nobody';
  graceLeft?: number;
  // Turn-based tables: moves in a row the computer made when time ran out.
  missed?: number;
  abandoned?: boolean;
}

export interface TableState {
  code: string;
  status: 'waiting' | 'playing' | 'over';
  you: number;
  level: number;
  grace: number;
  pace: Pace;
  moveSeconds: number;
  hints: boolean;
  // Seconds the seat to move had left when the message was sent.
  turnLeft?: number;
  rematch: string;
  seats: SeatInfo[];
  turn: number;
  moveNumber: number;
  record: string[];
  result: string;
}

export type ServerMessage =
  | { type: 'welcome' }
  | { type: 'pong' }
  | { type: 'created'; code: string }
  | { type: 'joined'; code: string; seat: number; token?: string }
  | { type: 'left' }
  | { type: 'table'; table: TableState }
  | { type: 'seat'; info: SeatInfo }
  | { type: 'chat'; seat: number; name: string; text: string; notice: string; noticeSeat: number }
  | { type: 'error'; code: string; about: string }
  | { type: 'started' }
  | { type: 'turn'; seat: number; left?: number }
  | { type: 'line'; line: string }
  | { type: 'over'; result: string }
  | { type: 'download'; code: string; finished: boolean; text: string }
  | { type: 'lobby'; listing: Listing }
  | { type: 'mine'; tables: MyTable[] }
  | { type: 'rematch'; code: string; seat: number };

export type Pace = 'live' | 'turn';

// One public table of the lobby's list.
export interface ListedTable {
  code: string;
  status: 'waiting' | 'playing';
  seats: string[];
  players: string[];
  free: number;
  level: number;
  pace: Pace;
  moveSeconds: number;
  quick: boolean;
  age: number;
}

export interface Listing {
  waiting: ListedTable[];
  playing: ListedTable[];
  waitingCount: number;
  playingCount: number;
}

const codeLetters = /^[A-Z0-9]{6}$/;
const tokenPattern = /^[A-Za-z0-9]{32}$/;

export function isTableCode(code: unknown): code is string {
  return typeof code === 'string' && codeLetters.test(code);
}
export function isToken(token: unknown): token is string {
  return typeof token === 'string' && tokenPattern.test(token);
}

type Json = Record<string, unknown>;

const isObject = (v: unknown): v is Json => typeof v === 'object' && v !== null && !Array.isArray(v);
const isInt = (v: unknown, lo: number, hi: number): v is number =>
  typeof v === 'number' && Number.isInteger(v) && v >= lo && v <= hi;
const isSeat = (v: unknown): v is number => isInt(v, 1, 7);
const isBoardSquare = (v: unknown): v is [number, number] =>
  Array.isArray(v) && v.length === 2 && isInt(v[0], 1, 19) && isInt(v[1], 1, 19);
const shortText = (v: unknown, most: number): v is string => typeof v === 'string' && v.length <= most;

function seatOf(v: unknown): SeatInfo | null {
  if (!isObject(v)) return null;
  const { seat, kind, level, name, open, connected, playedBy, graceLeft } = v;
  if (!isSeat(seat) || (kind !== 'human' && kind !== 'computer') || !isInt(level, 1, 5)) return null;
  if (!shortText(name, 64) || typeof open !== 'boolean' || typeof connected !== 'boolean') return null;
  if (playedBy !== 'player' && playedBy !== 'computer' && playedBy !== 'nobody') return null;
  // Seconds, not always whole ones.
  if (graceLeft !== undefined && !(typeof graceLeft === 'number' && graceLeft >= 0 && graceLeft <= 86400)) return null;
  const { missed, abandoned } = v;
  if ((missed !== undefined && !isInt(missed, 0, 1_000_000)) || (abandoned !== undefined && typeof abandoned !== 'boolean')) return null;
  const info: SeatInfo = { seat, kind, level, name, open, connected, playedBy, graceLeft: graceLeft === undefined ? undefined : Math.ceil(graceLeft) };
  if (missed) info.missed = missed;
  if (abandoned) info.abandoned = true;
  return info;
}

// Seconds of a clock, not always whole ones; absent stays absent.
const mostSeconds = 8 * 86400;
const isSeconds = (v: unknown): v is number => typeof v === 'number' && v >= 0 && v <= mostSeconds;

function tableOf(v: Json): TableState | null {
  const { code, status, you, level, grace, seats, turn, moveNumber, record, result } = v;
  // A server from before paces and rematches sends none of these.
  const { pace = 'live', moveSeconds = 0, hints = false, turnLeft, rematch = '' } = v;
  if ((pace !== 'live' && pace !== 'turn') || !isInt(moveSeconds, 0, mostSeconds) || typeof hints !== 'boolean') return null;
  if ((turnLeft !== undefined && !isSeconds(turnLeft)) || (rematch !== '' && !isTableCode(rematch))) return null;
  if (!isTableCode(code) || !isInt(you, 0, 7) || !isInt(level, 1, 5) || !isInt(grace, 0, 86400)) return null;
  if (status !== 'waiting' && status !== 'playing' && status !== 'over') return null;
  if (!isInt(turn, 0, 7) || !isInt(moveNumber, 0, 1_000_000) || !shortText(result, 16)) return null;
  if (!Array.isArray(seats) || seats.length !== 7 || !Array.isArray(record) || record.length > 200_000) return null;
  const infos = seats.map(seatOf);
  if (infos.some((s, i) => s === null || s.seat !== i + 1)) return null;
  if (!record.every((l) => shortText(l, 64))) return null;
  return {
    code,
    status,
    you,
    level,
    grace,
    pace,
    moveSeconds,
    hints,
    turnLeft,
    rematch: rematch as string,
    seats: infos as SeatInfo[],
    turn,
    moveNumber,
    record: record as string[],
    result,
  };
}

const seatWord = /^(human|level[1-9])$/;
const mostListed = 100;

function listedOf(v: unknown): ListedTable | null {
  if (!isObject(v)) return null;
  const { code, status, seats, players, free, level, pace, moveSeconds, quick, age } = v;
  if (!isTableCode(code) || (status !== 'waiting' && status !== 'playing')) return null;
  if (!Array.isArray(seats) || seats.length !== 7 || !seats.every((s) => typeof s === 'string' && seatWord.test(s))) return null;
  if (!Array.isArray(players) || players.length !== 7 || !players.every((n) => shortText(n, 64))) return null;
  if (!isInt(free, 0, 7) || !isInt(level, 1, 9) || (pace !== 'live' && pace !== 'turn') || typeof quick !== 'boolean') return null;
  if (!(typeof age === 'number' && age >= 0 && age < 1e10)) return null;
  if (moveSeconds !== undefined && !isInt(moveSeconds, 0, 10_000_000)) return null;
  return {
    code,
    status,
    seats: seats as string[],
    players: players as string[],
    free,
    level,
    pace,
    moveSeconds: moveSeconds ?? 0,
    quick,
    age: Math.floor(age),
  };
}

// A list whose entries do not all check out is ignored whole: a table shown
// wrongly is worse than the list of a moment ago.
function listingOf(v: Json): Listing | null {
  const { waiting, playing, waitingCount, playingCount } = v;
  if (!Array.isArray(waiting) || !Array.isArray(playing) || waiting.length + playing.length > mostListed) return null;
  if (!isInt(waitingCount, waiting.length, 10_000_000) || !isInt(playingCount, playing.length, 10_000_000)) return null;
  const w = waiting.map(listedOf);
  const p = playing.map(listedOf);
  if (w.some((e) => e === null || e.status !== 'waiting') || p.some((e) => e === null || e.status !== 'playing')) return null;
  return { waiting: w as ListedTable[], playing: p as ListedTable[], waitingCount, playingCount };
}

// The state of each table the page asked about. An entry the server could
// not answer for (a token no longer good, a table gone) is "gone".
function mineOf(v: unknown): MyTable[] | null {
  if (!Array.isArray(v) || v.length > mostListed) return null;
  const out: MyTable[] = [];
  for (const e of v) {
    if (!isObject(e) || !isTableCode(e.code) || !isSeat(e.seat)) return null;
    if (e.error !== undefined) {
      out.push({ code: e.code, seat: e.seat, status: 'gone', turn: 0, error: shortText(e.error, 64) ? e.error : '' });
      continue;
    }
    const { status, turn, turnLeft } = e;
    if ((status !== 'waiting' && status !== 'playing' && status !== 'over') || !isInt(turn, 0, 7)) return null;
    if (turnLeft !== undefined && !isSeconds(turnLeft)) return null;
    out.push({ code: e.code, seat: e.seat, status, turn, timeLeft: turnLeft });
  }
  return out;
}

// Nothing for a message that is not the server's.
export function parseServerMessage(text: string): ServerMessage | null {
  if (text.length > largestMessage) return null;
  let v: unknown;
  try {
    v = JSON.parse(text);
  } catch {
    return null;
  }
  if (!isObject(v) || typeof v.type !== 'string') return null;
  switch (v.type) {
    case 'welcome':
      return { type: 'welcome' };
    case 'pong':
      return { type: 'pong' };
    case 'created':
      return isTableCode(v.code) ? { type: 'created', code: v.code } : null;
    case 'joined': {
      if (!isTableCode(v.code) || !isSeat(v.seat)) return null;
      if (v.token !== undefined && !isToken(v.token)) return null;
      return { type: 'joined', code: v.code, seat: v.seat, token: v.token as string | undefined };
    }
    case 'left':
      return { type: 'left' };
    case 'table': {
      const table = tableOf(v);
      return table ? { type: 'table', table } : null;
    }
    case 'seat': {
      const info = seatOf(v);
      return info ? { type: 'seat', info } : null;
    }
    case 'chat': {
      if (!isInt(v.seat, 0, 7) || !shortText(v.name, 64) || !shortText(v.text, 400)) return null;
      const notice = typeof v.notice === 'string' && /^[a-z]{1,16}$/.test(v.notice) ? v.notice : '';
      const noticeSeat = isSeat(v.noticeSeat) ? v.noticeSeat : 0;
      return { type: 'chat', seat: v.seat, name: v.name, text: v.text, notice, noticeSeat };
    }
    case 'error':
      if (!shortText(v.code, 64) || !/^[a-z_]+$/.test(v.code)) return null;
      return { type: 'error', code: v.code, about: typeof v.about === 'string' ? v.about.slice(0, 32) : '' };
    case 'started':
      return { type: 'started' };
    case 'turn':
      if (!isInt(v.seat, 0, 7) || (v.left !== undefined && !isSeconds(v.left))) return null;
      return { type: 'turn', seat: v.seat, left: v.left };
    case 'moved': {
      const { n, seat, from, to, piece, captured } = v;
      if (!isInt(n, 1, 1_000_000) || !isSeat(seat) || !isBoardSquare(from) || !isBoardSquare(to)) return null;
      if (!isInt(piece, 10, 79) || !isInt(captured, 0, 80)) return null;
      return {
        type: 'line',
        line: `move ${n} ${seat} ${from[0]} ${from[1]} ${to[0]} ${to[1]} ${piece} ${captured}`,
      };
    }
    case 'out':
    case 'pass':
      return isSeat(v.seat) ? { type: 'line', line: `${v.type} ${v.seat}` } : null;
    case 'over':
      return shortText(v.result, 16) ? { type: 'over', result: v.result } : null;
    // The answer to `download`.
    case 'game':
      if (!isTableCode(v.code) || typeof v.finished !== 'boolean' || typeof v.text !== 'string') return null;
      return { type: 'download', code: v.code, finished: v.finished, text: v.text };
    case 'mine': {
      const tables = mineOf(v.tables);
      return tables ? { type: 'mine', tables } : null;
    }
    case 'rematch':
      return isTableCode(v.code) && isSeat(v.seat) ? { type: 'rematch', code: v.code, seat: v.seat } : null;
    case 'lobby': {
      const listing = listingOf(v);
      return listing ? { type: 'lobby', listing } : null;
    }
    default:
      return null;
  }
}

// The seats as the table was created, for replaying its game.
export function seatTokensOf(table: TableState): SeatToken[] {
  return table.seats.map((s) => (s.kind === 'human' ? 'human' : (`level${s.level}` as SeatToken)));
}

// Where the server answers: the page's own host unless the page says otherwise.
export function serverAddress(location: { protocol: string; host: string }): string {
  return `${location.protocol === 'https:' ? 'wss' : 'ws'}://${location.host}/`;
}

// The table code in an invitation link's path (/t/CODE).
export function codeFromPath(path: string): string {
  const m = /^\/t\/([A-Za-z0-9]{6})\/?$/.exec(path);
  return m && isTableCode(m[1].toUpperCase()) ? m[1].toUpperCase() : '';
}
