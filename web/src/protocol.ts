// The server's messages, checked as the desktop's panel checks them before
// anything is used: a code that is no table code, a seat out of range or a
// field of the wrong kind makes the message one the page ignores.
import type { SeatToken } from './game/engine';

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
}

export interface TableState {
  code: string;
  status: 'waiting' | 'playing' | 'over';
  you: number;
  level: number;
  grace: number;
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
  | { type: 'chat'; seat: number; name: string; text: string }
  | { type: 'error'; code: string; about: string }
  | { type: 'started' }
  | { type: 'turn'; seat: number }
  | { type: 'line'; line: string }
  | { type: 'over'; result: string }
  | { type: 'download'; code: string; finished: boolean; text: string };

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
  if (!isSeat(seat) || (kind !== 'human' && kind !== 'computer') || !isInt(level, 1, 4)) return null;
  if (!shortText(name, 64) || typeof open !== 'boolean' || typeof connected !== 'boolean') return null;
  if (playedBy !== 'player' && playedBy !== 'computer' && playedBy !== 'nobody') return null;
  // Seconds, not always whole ones.
  if (graceLeft !== undefined && !(typeof graceLeft === 'number' && graceLeft >= 0 && graceLeft <= 86400)) return null;
  return { seat, kind, level, name, open, connected, playedBy, graceLeft: graceLeft === undefined ? undefined : Math.ceil(graceLeft) };
}

function tableOf(v: Json): TableState | null {
  const { code, status, you, level, grace, seats, turn, moveNumber, record, result } = v;
  if (!isTableCode(code) || !isInt(you, 0, 7) || !isInt(level, 1, 4) || !isInt(grace, 0, 86400)) return null;
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
    seats: infos as SeatInfo[],
    turn,
    moveNumber,
    record: record as string[],
    result,
  };
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
    case 'chat':
      if (!isInt(v.seat, 0, 7) || !shortText(v.name, 64) || !shortText(v.text, 400)) return null;
      return { type: 'chat', seat: v.seat, name: v.name, text: v.text };
    case 'error':
      if (!shortText(v.code, 64) || !/^[a-z_]+$/.test(v.code)) return null;
      return { type: 'error', code: v.code, about: typeof v.about === 'string' ? v.about.slice(0, 32) : '' };
    case 'started':
      return { type: 'started' };
    case 'turn':
      return isInt(v.seat, 0, 7) ? { type: 'turn', seat: v.seat } : null;
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
