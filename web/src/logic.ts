// What the page works out from the game's numbers, with no page around it.
import { kindName, kingdom, squareName, t, lang } from './i18n';

export const boardSize = 19;
export const centreCode = 80;

// Seat (turn order) -> block (the tens digit of its pieces), and back.
const seatBlocks = [0, 5, 6, 7, 3, 1, 4, 2];
const blockPrefix = ['', 'GI', 'EN', 'SAI', 'CHO', 'SOU', 'TEI', 'KAN'];
const kindSuffix = ['GYO', 'TOU', 'KEN', 'DOU', 'KIB', 'KYU', 'HOU', 'HEN', 'HII', 'OHU'];

export function blockOfCode(code: number): number {
  const b = Math.floor(code / 10);
  return code >= 10 && b >= 1 && b <= 7 ? b : 0;
}
export function seatOfBlock(block: number): number {
  return block >= 1 && block <= 7 ? seatBlocks.indexOf(block) : 0;
}
export function blockOfSeat(seat: number): number {
  return seat >= 1 && seat <= 7 ? seatBlocks[seat] : 0;
}
export function seatOfCode(code: number): number {
  return seatOfBlock(blockOfCode(code));
}
export function isKing(code: number): boolean {
  return blockOfCode(code) !== 0 && code % 10 === 9;
}

// The picture of a code on the board: a piece, the centre piece, or nothing.
export function pictureOf(code: number): string {
  if (code === centreCode) return 'SYU';
  const b = blockOfCode(code);
  return b === 0 ? '' : `${blockPrefix[b]}_${kindSuffix[code % 10]}`;
}
export function iconOf(seat: number, human: boolean): string {
  const b = blockOfSeat(seat);
  return b === 0 ? '' : `${human ? 'ICO_MAN_' : 'ICO_COM_'}${blockPrefix[b]}`;
}

// What a screen reader says of a square: "Qin Horseman, 18-8".
export function squareLabel(code: number, x: number, y: number): string {
  const where = squareName(x, y);
  const sep = lang() === 'ja' ? '、' : ', ';
  if (code === centreCode) return `${t('centre')}${sep}${where}`;
  const seat = seatOfCode(code);
  if (seat === 0) return `${t('empty')}${sep}${where}`;
  return `${kingdom(seat)} ${kindName(code)}${sep}${where}`;
}

export interface ParsedMove {
  n: number;
  seat: number;
  fromX: number;
  fromY: number;
  toX: number;
  toY: number;
  piece: number;
  captured: number;
}

export function parseMoveLine(line: string): ParsedMove | null {
  const m = /^move (\d{1,6}) ([1-7]) (\d{1,2}) (\d{1,2}) (\d{1,2}) (\d{1,2}) (\d{1,2}) (\d{1,2})$/.exec(line);
  if (!m) return null;
  const v = m.slice(1).map(Number);
  const [n, seat, fromX, fromY, toX, toY, piece, captured] = v;
  for (const c of [fromX, fromY, toX, toY]) if (c < 1 || c > boardSize) return null;
  return { n, seat, fromX, fromY, toX, toY, piece, captured };
}

export interface ListLine {
  entry: number; // the position the line leads to
  text: string;
}

// The move list as the desktop words it, one line an event.
export function moveList(record: readonly string[]): ListLine[] {
  const out: ListLine[] = [];
  let entry = 0;
  for (const line of record) {
    const move = parseMoveLine(line);
    if (move) {
      entry = move.n;
      let text = t(
        'moveLine',
        move.n,
        kingdom(move.seat),
        kindName(move.piece),
        squareName(move.fromX, move.fromY),
        squareName(move.toX, move.toY),
      );
      const taken = seatOfCode(move.captured);
      if (taken !== 0) text += t('tookLine', kingdom(taken), kindName(move.captured));
      out.push({ entry, text });
      continue;
    }
    const step = /^(out|pass) ([1-7])$/.exec(line);
    if (step) out.push({ entry, text: t(step[1] === 'out' ? 'outLine' : 'passLine', kingdom(Number(step[2]))) });
  }
  return out;
}

export interface Mark {
  x: number;
  y: number;
  seat: number;
  number: number;
  captured: number;
}

// A mark list longer than a few rounds means the viewer has not moved for long.
const mostMarks = 48;

// The moves since the viewer's own last move, oldest first and numbered;
// a square moved to twice keeps its later mark.
export function marksSince(record: readonly string[], upTo: number, viewer: number): Mark[] {
  if (viewer === 0) return [];
  const moves = record.map(parseMoveLine).filter((m): m is ParsedMove => m !== null && m.n <= upTo);
  const marks: Mark[] = [];
  for (let i = moves.length - 1; i >= 0 && marks.length < mostMarks; i--) {
    const m = moves[i];
    if (m.seat === viewer) break;
    marks.push({ x: m.toX, y: m.toY, seat: m.seat, number: 0, captured: m.captured });
  }
  marks.reverse();
  marks.forEach((m, i) => (m.number = i + 1));
  const latest = new Map<string, Mark>();
  for (const m of marks) latest.set(`${m.x},${m.y}`, m);
  return [...latest.values()];
}

// The human whose view the board takes: the seat to move if human, else the
// next human seat still in the game.
export function viewingHuman(turn: number, humans: readonly boolean[], pieces: readonly number[]): number {
  if (turn < 1 || turn > 7) return 0;
  for (let i = 0; i < 7; i++) {
    const seat = ((turn - 1 + i) % 7) + 1;
    if (humans[seat - 1] && pieces[seat - 1] > 0) return seat;
  }
  return 0;
}

// The keyboard cursor: arrows move it on the board, never off it.
export function moveCursor(x: number, y: number, key: string): [number, number] {
  const clamp = (v: number) => Math.min(boardSize, Math.max(1, v));
  switch (key) {
    case 'ArrowLeft':
      return [clamp(x - 1), y];
    case 'ArrowRight':
      return [clamp(x + 1), y];
    case 'ArrowUp':
      return [x, clamp(y - 1)];
    case 'ArrowDown':
      return [x, clamp(y + 1)];
    case 'Home':
      return [1, y];
    case 'End':
      return [boardSize, y];
    default:
      return [x, y];
  }
}
