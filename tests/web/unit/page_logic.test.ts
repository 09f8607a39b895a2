// What the page works out by itself: names of squares, the move list, the
// marks since a player's turn, the cursor, and the server's messages it
// accepts or ignores.
import { setLang } from '../../../web/src/i18n';
import { marksSince, moveCursor, moveList, pictureOf, squareLabel, viewingHuman } from '../../../web/src/logic';
import { refusalWords, seatRow } from '../../../web/src/online';
import { codeFromPath, parseServerMessage, type SeatInfo } from '../../../web/src/protocol';

describe('squares and pieces', () => {
  it('are named as a screen reader should say them, in either language', () => {
    setLang('en');
    // 秦 is block 5; its horseman is code 54. Columns count from the right
    // edge, as the board is labelled: x = 2 is column 18.
    expect(squareLabel(54, 2, 8)).toBe('Qin Horseman, 18-8');
    expect(squareLabel(19, 19, 6)).toBe('Wei King, 1-6');
    expect(squareLabel(80, 10, 10)).toBe('Zhou, 10-10');
    expect(squareLabel(0, 1, 1)).toBe('empty, 19-1');
    setLang('ja');
    expect(squareLabel(54, 2, 8)).toBe('秦 騎、18八');
    expect(squareLabel(0, 17, 19)).toBe('空き、3十九');
  });

  it('draw with the artwork symbol of their kingdom and kind', () => {
    expect(pictureOf(59)).toBe('SOU_OHU');
    expect(pictureOf(10)).toBe('GI_GYO');
    expect(pictureOf(76)).toBe('KAN_HOU');
    expect(pictureOf(80)).toBe('SYU');
    expect(pictureOf(0)).toBe('');
    expect(pictureOf(85)).toBe('');
  });
});

describe('the move list', () => {
  it('words moves, captures, drop-outs and passes as the desktop does, each leading to its position', () => {
    setLang('en');
    const lines = moveList(['move 1 1 5 10 6 10 50 0', 'move 2 2 6 15 6 11 60 54', 'out 3', 'pass 4', 'lost']);
    expect(lines).toEqual([
      { entry: 1, text: '1 Qin Envoy 15-10 → 14-10' },
      { entry: 2, text: '2 Chu Envoy 14-15 → 14-11, takes Qin Horseman' },
      { entry: 2, text: '  Han drops out' },
      { entry: 2, text: '  Qi passes' },
    ]);
    setLang('ja');
    expect(moveList(['move 1 1 5 10 6 10 50 0'])[0].text).toBe('1 秦 行 15十→14十');
  });
});

describe('the marks of the moves since the viewer moved', () => {
  const record = [
    'move 1 1 5 10 6 10 50 0',
    'move 2 2 6 15 6 14 60 0',
    'move 3 3 14 15 14 14 70 0',
    'out 4',
    'move 4 5 15 6 14 6 10 0',
    'move 5 6 14 5 14 6 40 10',
    'move 6 7 6 5 6 6 20 0',
  ];
  it('number the others moves in order, from the viewer own last move on', () => {
    const marks = marksSince(record, 6, 1);
    expect(marks.map((m) => [m.number, m.seat, m.x, m.y])).toEqual([
      [1, 2, 6, 14],
      [2, 3, 14, 14],
      [4, 6, 14, 6],
      [5, 7, 6, 6],
    ]);
    // The square moved to twice keeps its later mark, which tells of the capture.
    expect(marks.find((m) => m.x === 14 && m.y === 6)?.captured).toBe(10);
  });
  it('follow the position shown, and nobody has marks without a viewer', () => {
    expect(marksSince(record, 2, 1).map((m) => m.seat)).toEqual([2]);
    expect(marksSince(record, 6, 0)).toEqual([]);
    expect(marksSince(record, 6, 7)).toEqual([]);
  });
  it('are seen by the seat to move, or the next human still in the game', () => {
    const humans = [true, false, true, false, false, false, false];
    expect(viewingHuman(1, humans, [17, 17, 17, 17, 17, 17, 17])).toBe(1);
    expect(viewingHuman(2, humans, [17, 17, 17, 17, 17, 17, 17])).toBe(3);
    expect(viewingHuman(4, humans, [17, 17, 0, 17, 17, 17, 17])).toBe(1);
    expect(viewingHuman(4, humans, [0, 17, 0, 17, 17, 17, 17])).toBe(0);
  });
});

describe('the keyboard cursor', () => {
  it('moves one square an arrow and never leaves the board', () => {
    let at: [number, number] = [1, 1];
    for (const key of ['ArrowLeft', 'ArrowUp']) at = moveCursor(...at, key);
    expect(at).toEqual([1, 1]);
    for (let i = 0; i < 30; i++) at = moveCursor(...at, 'ArrowRight');
    expect(at).toEqual([19, 1]);
    for (let i = 0; i < 30; i++) at = moveCursor(...at, 'ArrowDown');
    expect(at).toEqual([19, 19]);
    expect(moveCursor(7, 7, 'a')).toEqual([7, 7]);
  });
});

describe('server messages', () => {
  const seat = (s: number, extra: Partial<SeatInfo> = {}) => ({
    seat: s,
    kind: s === 1 ? 'human' : 'computer',
    level: 3,
    name: s === 1 ? 'ann' : '',
    open: false,
    connected: s === 1,
    playedBy: s === 1 ? 'player' : 'computer',
    ...extra,
  });
  const table = (over: Record<string, unknown> = {}) =>
    JSON.stringify({
      type: 'table',
      code: 'K7QMPA',
      status: 'playing',
      you: 1,
      level: 3,
      grace: 90,
      seats: [1, 2, 3, 4, 5, 6, 7].map((s) => seat(s)),
      turn: 1,
      moveNumber: 0,
      board: [],
      captured: [],
      kingsCaptured: [],
      record: [],
      result: '',
      ...over,
    });

  it('are taken when they are the server own', () => {
    expect(parseServerMessage(table())?.type).toBe('table');
    expect(
      parseServerMessage('{"type":"moved","n":3,"seat":2,"from":[6,15],"to":[6,14],"piece":60,"captured":0}'),
    ).toEqual({ type: 'line', line: 'move 3 2 6 15 6 14 60 0' });
    expect(parseServerMessage('{"type":"joined","code":"K7QMPA","seat":2,"token":"0123456789abcdef0123456789abcdef"}'))
      .toMatchObject({ seat: 2 });
    // A grace that is not whole seconds counts as the next whole second.
    const away = parseServerMessage(
      '{"type":"seat","seat":1,"kind":"human","level":3,"name":"a","open":false,"connected":false,"playedBy":"player","graceLeft":597.3}',
    );
    expect(away?.type === 'seat' && away.info.graceLeft).toBe(598);
    expect(parseServerMessage(table({ seats: [1, 2, 3, 4, 5, 6, 7].map((s) => seat(s, { graceLeft: 12.5 })) }))?.type).toBe('table');
    expect(parseServerMessage(table({ seats: [1, 2, 3, 4, 5, 6, 7].map((s) => seat(s, { graceLeft: -1 })) }))).toBeNull();
    expect(parseServerMessage('{"type":"game","code":"K7QMPA","finished":false,"text":"daro-game 1\\n"}')).toEqual({
      type: 'download',
      code: 'K7QMPA',
      finished: false,
      text: 'daro-game 1\n',
    });
  });

  it('are ignored when what they name could not be the server', () => {
    const bad = [
      'not json',
      '[]',
      '{"type":"created","code":"../../x"}',
      '{"type":"created","code":"k7qmpa"}',
      '{"type":"joined","code":"K7QMPA","seat":8}',
      '{"type":"joined","code":"K7QMPA","seat":2,"token":"short"}',
      '{"type":"moved","n":3,"seat":2,"from":[0,15],"to":[6,14],"piece":60,"captured":0}',
      '{"type":"moved","n":3,"seat":2,"from":[6,15],"to":[6,14,1],"piece":60,"captured":0}',
      '{"type":"out","seat":"3"}',
      '{"type":"seat","seat":9,"kind":"human","level":3,"name":"","open":true,"connected":false,"playedBy":"nobody"}',
      table({ you: 9 }),
      table({ seats: [1, 2, 3, 4, 5, 6].map((s) => seat(s)) }),
      table({ seats: [2, 1, 3, 4, 5, 6, 7].map((s) => seat(s)) }),
      table({ record: ['x'.repeat(100)] }),
      '{"type":"chat","seat":1,"name":"a","text":' + JSON.stringify('x'.repeat(1000)) + '}',
      '{"type":"error","code":"<b>"}',
      '{"type":"whatever"}',
      'x'.repeat(5 * 1024 * 1024),
    ];
    for (const text of bad) expect(parseServerMessage(text), text.slice(0, 80)).toBeNull();
  });

  it('that refuse are shown in words', () => {
    setLang('en');
    expect(refusalWords('not_your_turn')).toBe('Not your turn');
    expect(refusalWords('king_in_reach')).toBe('Your king may not move onto a square that another kingdom reaches.');
    expect(refusalWords('something_new')).toBe('The server refused: something_new');
  });

  it('of seats read as the desktop panel reads them', () => {
    setLang('en');
    const away = seat(1, { connected: false, playedBy: 'computer' }) as SeatInfo;
    expect(seatRow(away, 1, 42)).toBe('1st (Qin)  ann  away: 42 s left  (the computer plays)  ← you');
    expect(seatRow(seat(3) as SeatInfo, 1, 0)).toBe('3rd (Han)  Level 3');
    expect(seatRow(seat(1, { open: true, name: '' }) as SeatInfo, 0, 0)).toBe('1st (Qin)  (free)');
  });

  it('open a table from its invitation link only', () => {
    expect(codeFromPath('/t/K7QMPA')).toBe('K7QMPA');
    expect(codeFromPath('/t/k7qmpa/')).toBe('K7QMPA');
    expect(codeFromPath('/t/K7QMPA/../x')).toBe('');
    expect(codeFromPath('/')).toBe('');
  });
});
