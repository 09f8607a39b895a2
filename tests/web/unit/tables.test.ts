// The page's own reckoning about tables: the order of the player's tables,
// the clocks, the title, the lobby's lines, and the checks of the lists the
// server sends.
import { setLang } from '../../../web/src/i18n';
import { seatRow } from '../../../web/src/online';
import { parseServerMessage } from '../../../web/src/protocol';
import {
  clockText,
  listedSummary,
  moveSecondsOf,
  moveTimeText,
  newlyMyTurn,
  pageTitle,
  sortMine,
  type MyTable,
} from '../../../web/src/tables';

const mine = (code: string, over: Partial<MyTable> = {}): MyTable => ({ code, seat: 2, status: 'playing', turn: 1, ...over });

describe('your tables', () => {
  it('come with your turn first, the least time left first, then running, waiting, finished', () => {
    const tables = [
      mine('AAAAAA', { status: 'over', turn: 0 }),
      mine('BBBBBB', { turn: 2, timeLeft: 5000 }),
      mine('CCCCCC', { status: 'waiting', turn: 0 }),
      mine('DDDDDD', { turn: 3, timeLeft: 10 }),
      mine('EEEEEE', { turn: 2, timeLeft: 60 }),
      mine('FFFFFF', { turn: 2 }),
      // Seat 2 was to move at a table that is over: not your turn.
      mine('GGGGGG', { status: 'over', turn: 2 }),
    ];
    expect(sortMine(tables).map((m) => m.code)).toEqual(['EEEEEE', 'BBBBBB', 'FFFFFF', 'DDDDDD', 'CCCCCC', 'AAAAAA', 'GGGGGG']);
    // Sorting leaves the list it was given as it was.
    expect(tables[0].code).toBe('AAAAAA');
  });

  it('tell only of turns that are new since the last answer', () => {
    const now = [mine('AAAAAA', { turn: 2 }), mine('BBBBBB', { turn: 2 }), mine('CCCCCC', { turn: 5 })];
    expect(newlyMyTurn(new Set(['AAAAAA']), now).map((m) => m.code)).toEqual(['BBBBBB']);
    expect(newlyMyTurn(new Set(), [mine('DDDDDD', { status: 'waiting', turn: 2 })])).toEqual([]);
  });

  it('count in the title only when some are yours to move', () => {
    expect(pageTitle('Seven Kingdoms', 0)).toBe('Seven Kingdoms');
    expect(pageTitle('七国将棋', 3)).toBe('(3) 七国将棋');
  });
});

describe('clocks', () => {
  it('count down in minutes, hours and days, never below nothing', () => {
    setLang('en');
    expect(clockText(0)).toBe('0:00');
    expect(clockText(-12)).toBe('0:00');
    // A part of a second still shown is a whole second.
    expect(clockText(59.2)).toBe('1:00');
    expect(clockText(245)).toBe('4:05');
    expect(clockText(3600)).toBe('1:00:00');
    expect(clockText(7445)).toBe('2:04:05');
    expect(clockText(3 * 86400 + 2 * 3600 + 4 * 60 + 5)).toBe('3 d 02:04');
    setLang('ja');
    expect(clockText(86400)).toBe('1日 00:00');
  });

  it('hold a move time to what a table allows', () => {
    expect(moveSecondsOf(30, 'minutes')).toBe(1800);
    expect(moveSecondsOf(0.5, 'minutes')).toBe(60);
    expect(moveSecondsOf(9, 'days')).toBe(7 * 86400);
    expect(moveSecondsOf(Number.NaN, 'hours')).toBe(60);
    setLang('en');
    expect([60, 300, 3600, 86400, 2 * 86400].map(moveTimeText)).toEqual(['1 minute', '5 minutes', '1 hour', '1 day', '2 days']);
    setLang('ja');
    expect(moveTimeText(7200)).toBe('2時間');
  });
});

const listed = (over: Record<string, unknown> = {}) => ({
  moveSeconds: 0,
  code: 'K7QMPA',
  status: 'waiting',
  seats: ['human', 'human', 'human', 'level2', 'level2', 'human', 'level2'],
  players: ['ann', '', '', '', '', 'bob', ''],
  free: 2,
  level: 2,
  pace: 'live',
  quick: false,
  age: 130,
  ...over,
});
const lobby = (waiting: unknown[], playing: unknown[] = [], counts: Record<string, unknown> = {}) =>
  JSON.stringify({ type: 'lobby', waiting, playing, waitingCount: waiting.length, playingCount: playing.length, ...counts });

describe('the lobby', () => {
  it('words a table by its free seats, computers, pace and age', () => {
    setLang('en');
    const m = parseServerMessage(lobby([listed()], [listed({ code: 'ZZZZZ2', status: 'playing', pace: 'turn', moveSeconds: 7200, free: 0, age: 90000 })]));
    expect(m?.type).toBe('lobby');
    if (m?.type !== 'lobby') return;
    expect(listedSummary(m.listing.waiting[0])).toBe('2 free · 3 computers (Level 2) · Live · 2 min ago');
    expect(listedSummary(m.listing.playing[0])).toBe('3 computers (Level 2) · Turn-based, 2 hours a move · 1 d ago');
    setLang('ja');
    expect(listedSummary(m.listing.waiting[0])).toBe('空席 2 · COM 3 (LEVEL2) · その場で · 2分前');
  });

  it('is ignored whole when any entry is not the server own, or it is longer than a message holds', () => {
    expect(parseServerMessage(lobby([listed(), listed({ code: 'bad' })]))).toBeNull();
    expect(parseServerMessage(lobby([listed({ seats: ['human'] })]))).toBeNull();
    expect(parseServerMessage(lobby([listed({ pace: 'slow' })]))).toBeNull();
    // A waiting table in the list of games being played.
    expect(parseServerMessage(lobby([], [listed()]))).toBeNull();
    expect(parseServerMessage(lobby([listed()], [], { waitingCount: 0 }))).toBeNull();
    expect(parseServerMessage(lobby(Array.from({ length: 101 }, () => listed()), [], { waitingCount: 101 }))).toBeNull();
    expect(parseServerMessage(lobby([], [], { waitingCount: 5000, playingCount: 12 }))?.type).toBe('lobby');
  });

  it('answers for each kept seat: its state, or gone with the reason', () => {
    const m = parseServerMessage(
      JSON.stringify({
        type: 'mine',
        tables: [
          { code: 'K7QMPA', seat: 2, status: 'playing', pace: 'turn', moveSeconds: 3600, turn: 2, yourTurn: true, turnLeft: 1799.5, moveNumber: 9, result: '' },
          { code: 'ZZZZZ2', seat: 1, error: 'bad_token' },
        ],
      }),
    );
    expect(m).toEqual({
      type: 'mine',
      tables: [
        { code: 'K7QMPA', seat: 2, status: 'playing', turn: 2, timeLeft: 1799.5 },
        { code: 'ZZZZZ2', seat: 1, status: 'gone', turn: 0, error: 'bad_token' },
      ],
    });
    expect(parseServerMessage('{"type":"mine","tables":[{"code":"K7QMPA","seat":9,"status":"playing","turn":1}]}')).toBeNull();
    expect(parseServerMessage('{"type":"mine","tables":[{"code":"K7QMPA","seat":1,"status":"playing","turn":1,"turnLeft":-3}]}')).toBeNull();
    expect(parseServerMessage('{"type":"mine"}')).toBeNull();
  });
});

describe('a turn-based seat', () => {
  const seatEvent = (extra: string) =>
    parseServerMessage(`{"type":"seat","seat":4,"kind":"human","level":2,"name":"dee","open":false,"connected":false,"playedBy":"computer"${extra}}`);
  it('says how many moves ran out, and when the computer took it over', () => {
    setLang('en');
    const missed = seatEvent(',"missed":2');
    const gone = seatEvent(',"missed":3,"abandoned":true');
    expect(missed?.type === 'seat' && seatRow(missed.info, 1, 0)).toBe('4th (Qi)  dee  away  (the computer plays)  out of time 2×');
    expect(gone?.type === 'seat' && seatRow(gone.info, 4, 0)).toBe('4th (Qi)  dee  away  (abandoned: the computer plays)  ← you');
    expect(seatEvent(',"missed":-1')).toBeNull();
    expect(seatEvent(',"abandoned":"yes"')).toBeNull();
  });
});
