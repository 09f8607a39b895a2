// What the page works out about tables, with no page around it: the lobby's
// lines, the player's own tables in the order they matter, the clock and
// the page title.
import { levelName, t, type TextKey } from './i18n';
import type { ListedTable } from './protocol';

// A table the page holds a seat at, as the server last told of it.
export interface MyTable {
  code: string;
  seat: number;
  status: 'waiting' | 'playing' | 'over' | 'gone';
  turn: number;
  // Seconds the seat to move had left when the answer came; absent when
  // the table counts no time.
  timeLeft?: number;
  // Why the server could not answer for a "gone" table.
  error?: string;
}

export const isMyTurn = (m: MyTable): boolean => m.status === 'playing' && m.turn === m.seat;

const statusOrder = { playing: 0, waiting: 1, over: 2, gone: 3 } as const;

// The tables where it is your turn first, the least time left first; then
// games running, tables waiting, finished ones.
export function sortMine(tables: readonly MyTable[]): MyTable[] {
  const left = (m: MyTable) => m.timeLeft ?? Infinity;
  return [...tables].sort((a, b) => {
    const turn = Number(isMyTurn(b)) - Number(isMyTurn(a));
    if (turn !== 0) return turn;
    const status = statusOrder[a.status] - statusOrder[b.status];
    if (status !== 0) return status;
    if (left(a) !== left(b)) return left(a) < left(b) ? -1 : 1;
    return a.code < b.code ? -1 : a.code > b.code ? 1 : a.seat - b.seat;
  });
}

// The tables that have become yours to move since the last answer.
export function newlyMyTurn(before: ReadonlySet<string>, now: readonly MyTable[]): MyTable[] {
  return now.filter((m) => isMyTurn(m) && !before.has(m.code));
}

export function pageTitle(base: string, yourTurns: number): string {
  return yourTurns > 0 ? `(${yourTurns}) ${base}` : base;
}

const two = (n: number) => String(n).padStart(2, '0');

// A countdown: 4:05, 2:04:05, and past a day "3 d 02:04".
export function clockText(seconds: number): string {
  const s = Math.max(0, Math.ceil(seconds));
  const days = Math.floor(s / 86400);
  const h = Math.floor((s % 86400) / 3600);
  const m = Math.floor((s % 3600) / 60);
  const sec = s % 60;
  if (days > 0) return t('daysClock', days, `${two(h)}:${two(m)}`);
  if (h > 0) return `${h}:${two(m)}:${two(sec)}`;
  return `${m}:${two(sec)}`;
}

export function agoText(seconds: number): string {
  if (seconds < 60) return t('agoNow');
  if (seconds < 3600) return t('agoMinutes', Math.floor(seconds / 60));
  if (seconds < 86400) return t('agoHours', Math.floor(seconds / 3600));
  return t('agoDays', Math.floor(seconds / 86400));
}

// A move time in its largest whole unit: "5 minutes", "2 hours", "3 days".
export function moveTimeText(seconds: number): string {
  const count = (n: number, one: TextKey, many: TextKey) => (n === 1 ? t(one) : t(many, n));
  if (seconds % 86400 === 0) return count(seconds / 86400, 'oneDay', 'nDays');
  if (seconds % 3600 === 0) return count(seconds / 3600, 'oneHour', 'nHours');
  return count(Math.round(seconds / 60), 'oneMinute', 'nMinutes');
}

export const shortestMove = 60;
export const longestMove = 7 * 86400;
const unitSeconds = { minutes: 60, hours: 3600, days: 86400 } as const;
export type MoveUnit = keyof typeof unitSeconds;

// What the form's number and unit ask for, held to what a table allows.
export function moveSecondsOf(value: number, unit: MoveUnit): number {
  const s = Math.round((Number.isFinite(value) ? value : 0) * unitSeconds[unit]);
  return Math.min(longestMove, Math.max(shortestMove, s));
}

// Who sits at a listed table, seat by seat.
export function listedNames(e: ListedTable): string[] {
  return e.players.filter((n) => n !== '');
}

// The rest of a lobby line: what is free, the computers, the pace, the age.
export function listedSummary(e: ListedTable): string {
  const computers = e.seats.filter((s) => s !== 'human').length;
  const parts: string[] = [];
  if (e.free > 0) parts.push(t('freeOf', e.free));
  if (computers > 0) parts.push(`${t('computers', computers)} (${levelName(e.level)})`);
  parts.push(e.pace === 'turn' && e.moveSeconds > 0 ? `${t('paceTurn')}, ${t('perMove', moveTimeText(e.moveSeconds))}` : t('paceLive'));
  parts.push(agoText(e.age));
  return parts.join(' · ');
}
