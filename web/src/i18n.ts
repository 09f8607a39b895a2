// The page's texts. Japanese is the game's own language; the English is the
// desktop's translation of the same source, so each text names its context
// (and comment) in translations/daro_en.ts, and a test holds the two equal.
// The few texts only the page has say so with `page: true`.

export type Lang = 'ja' | 'en';

interface Text {
  ctx: string;
  ja: string;
  en: string;
  comment?: string;
  page?: true;
}

const kingdomsJa = ['秦', '楚', '韓', '斉', '魏', '趙', '燕'];
const kingdomsEn = ['Qin', 'Chu', 'Han', 'Qi', 'Wei', 'Zhao', 'Yan'];
const seatJa = ['１番目(秦)', '2番目(楚)', '3番目(韓)', '4番目(斉)', '5番目(魏)', '6番目(趙)', '7番目(燕)'];
const seatEn = ['1st (Qin)', '2nd (Chu)', '3rd (Han)', '4th (Qi)', '5th (Wei)', '6th (Zhao)', '7th (Yan)'];
const kindsJa = ['行', '刀', '剣', '弩', '騎', '弓', '砲', '偏', '裨', '王'];
const kindsEn = ['Envoy', 'Saber', 'Sword', 'Crossbow', 'Horseman', 'Bow', 'Cannon', 'Lieutenant', 'Adjutant', 'King'];
const rowsJa = ['一', '二', '三', '四', '五', '六', '七', '八', '九', '十', '十一', '十二', '十三', '十四', '十五', '十六', '十七', '十八', '十九'];

const fixed = {
  title: { ctx: 'Title', ja: '七国将棋', en: 'Seven Kingdoms' },
  otherLanguage: { ctx: 'Language', ja: '日本語', en: 'English' },
  back: { ctx: 'Menu', ja: '戻', en: 'Back' },
  forward: { ctx: 'Menu', ja: '進', en: 'Forward' },
  save: { ctx: 'Menu', ja: '保存...', en: 'Save...' },
  open: { ctx: 'Menu', ja: '開く...', en: 'Open...' },
  newGame: { ctx: 'Menu', ja: '新しい対局', en: 'New game' },
  continueLast: { ctx: 'Menu', ja: '前回の続き', en: 'Continue last game' },
  moveList: { ctx: 'Menu', ja: '棋譜', en: 'Move list' },
  showMoves: { ctx: 'Menu', ja: '手の表示', en: 'Show recent moves' },
  showCheck: { ctx: 'Menu', ja: '王手の表示', en: 'Show check' },
  pace: { ctx: 'Menu', ja: '速さ', en: 'Pace' },
  paceClassic: { ctx: 'Menu', ja: '標準', en: 'Classic' },
  paceFast: { ctx: 'Menu', ja: '速い', en: 'Fast' },
  paceFastest: { ctx: 'Menu', ja: '最速', en: 'Fastest' },
  netGame: { ctx: 'Menu', ja: 'ネット対局...', en: 'Network game...' },
  hint: { ctx: 'Menu', ja: 'ヒント', en: 'Hint' },
  freeSeating: { ctx: 'FreeSeatsDialog', ja: '自由対局', en: 'Free seating' },
  human: { ctx: 'FreeSeatsDialog', ja: '人間', en: 'Human' },
  comLevel: { ctx: 'FreeSeatsDialog', ja: 'COM LEVEL%1', en: 'Computer, level %1' },
  start: { ctx: 'FreeSeatsDialog', ja: '開始', en: 'Start' },
  cancel: { ctx: 'FreeSeatsDialog', ja: '取消', en: 'Cancel' },
  playOn: { ctx: 'Game', ja: '再開', en: 'Play on', comment: 'title' },
  notYourTurn: { ctx: 'Game', ja: '手番が違います', en: 'Not your turn', comment: 'title' },
  gameOver: { ctx: 'Game', ja: '終了', en: 'Game over', comment: 'title' },
  lost: { ctx: 'Game', ja: 'あなたの負けです', en: 'You have lost.', comment: 'box' },
  noKingdomCanMove: { ctx: 'Game', ja: 'どの国も動けません', en: 'No kingdom can move.', comment: 'box' },
  noHumanLeft: { ctx: 'Game', ja: '人間の国はすべて脱落しました', en: 'Every human kingdom has dropped out.', comment: 'box' },
  kingInReach: {
    ctx: 'Game',
    ja: '自殺はできません',
    en: 'Your king may not move onto a square that another kingdom reaches.',
    comment: 'box: a king may not move where another kingdom reaches',
  },
  noEarlier: { ctx: 'Game', ja: 'できません', en: 'There is no earlier position.', comment: '戻る' },
  noLater: { ctx: 'Game', ja: 'できません', en: 'There is no later position.', comment: '進む' },
  thinking: { ctx: 'Game', ja: '思考中', en: 'Playing', comment: 'label while a computer kingdom thinks' },
  check: { ctx: 'Game', ja: '王手', en: 'Check', comment: "label: another kingdom can take the human's king" },
  cannotOpenLast: {
    ctx: 'Game',
    ja: '前回の対局を開けません: %1',
    en: 'The game kept from last time cannot be opened: %1',
    comment: 'box: %1 why the game kept from last time cannot be opened',
  },
  square: {
    ctx: 'MoveList',
    ja: '%1%2',
    en: '%1-%2',
    comment: "a square: %1 the column's number, %2 the row's numeral",
  },
  moveLine: {
    ctx: 'MoveList',
    ja: '%1 %2 %3 %4→%5',
    en: '%1 %2 %3 %4 → %5',
    comment: 'a move: %1 its number, %2 the kingdom, %3 the piece, %4 from, %5 to',
  },
  tookLine: {
    ctx: 'MoveList',
    ja: ' ×%1%2',
    en: ', takes %1 %2',
    comment: 'after a move: %1 the kingdom, %2 the piece it took',
  },
  outLine: { ctx: 'MoveList', ja: '  %1 脱落', en: '  %1 drops out', comment: 'a kingdom drops out: %1 the kingdom' },
  passLine: { ctx: 'MoveList', ja: '  %1 パス', en: '  %1 passes', comment: 'a kingdom passes: %1 the kingdom' },
  netTitle: { ctx: 'NetWindow', ja: 'ネット対局', en: 'Network game' },
  server: { ctx: 'NetWindow', ja: 'サーバー', en: 'Server' },
  name: { ctx: 'NetWindow', ja: '名前', en: 'Name' },
  createTable: { ctx: 'NetWindow', ja: '卓を作る', en: 'Create a table' },
  code: { ctx: 'NetWindow', ja: 'コード', en: 'Code' },
  firstFree: { ctx: 'NetWindow', ja: '空いている席', en: 'First free seat' },
  join: { ctx: 'NetWindow', ja: '参加', en: 'Join' },
  watch: { ctx: 'NetWindow', ja: '観戦', en: 'Watch' },
  chat: { ctx: 'NetWindow', ja: 'チャット', en: 'Chat' },
  connecting: { ctx: 'NetWindow', ja: '接続中…', en: 'Connecting…' },
  watching: { ctx: 'NetWindow', ja: '観戦中: %1', en: 'Watching %1' },
  atTable: { ctx: 'NetWindow', ja: '卓 %1: あなたは%2', en: 'Table %1: you are %2' },
  netOver: { ctx: 'NetWindow', ja: '対局は終わりました', en: 'The game is over' },
  refused: { ctx: 'NetWindow', ja: 'サーバーが断りました: %1', en: 'The server refused: %1' },
  lostConnection: { ctx: 'NetWindow', ja: '接続が切れました', en: 'The connection was lost' },
  reconnecting: { ctx: 'Page', ja: '再接続中…', en: 'Reconnecting…', page: true },
  free: { ctx: 'NetWindow', ja: '(空席)', en: '(free)' },
  connected: { ctx: 'NetWindow', ja: '接続中', en: 'connected' },
  awayLeft: { ctx: 'NetWindow', ja: '切断: あと%1秒', en: 'away: %1 s left' },
  away: { ctx: 'NetWindow', ja: '切断', en: 'away' },
  standIn: { ctx: 'NetWindow', ja: '(COMが代打ち)', en: '(the computer plays)' },
  you: { ctx: 'NetWindow', ja: '← あなた', en: '← you' },
  toMove: { ctx: 'NetWindow', ja: '手番: %1', en: 'To move: %1' },
  // Only the page has these.
  backToNow: { ctx: 'NetWindow', ja: '今の局面へ', en: 'Back to now' },
  copyLink: { ctx: 'Page', ja: 'リンクをコピー', en: 'Copy link', page: true },
  copied: { ctx: 'Page', ja: 'コピーしました', en: 'Copied', page: true },
  invitation: { ctx: 'Page', ja: '招待リンク', en: 'Invitation link', page: true },
  leave: { ctx: 'Page', ja: '退席', en: 'Leave', page: true },
  seatBack: { ctx: 'Page', ja: '席に戻りました: %1', en: 'Back at your seat: %1', page: true },
  level: { ctx: 'Page', ja: '代打ちのレベル', en: 'Stand-in level', page: true },
  grace: { ctx: 'Page', ja: '待ち時間 (秒)', en: 'Grace (seconds)', page: true },
  localGame: { ctx: 'Page', ja: 'COMと対局', en: 'Play the computer', page: true },
  centre: { ctx: 'Page', ja: '周', en: 'Zhou', page: true },
  empty: { ctx: 'Page', ja: '空き', en: 'empty', page: true },
  board: { ctx: 'Page', ja: '盤', en: 'Board', page: true },
  saved: { ctx: 'Page', ja: '前回の対局があります', en: 'A game was kept from last time', page: true },
  badServerMessage: { ctx: 'Page', ja: 'サーバーの知らない答えを無視しました', en: 'An answer from the server was ignored', page: true },
  errNoSuchTable: { ctx: 'Page', ja: 'その卓はありません', en: 'There is no such table', page: true },
  errSeatTaken: { ctx: 'Page', ja: 'その席はふさがっています', en: 'That seat is taken', page: true },
  errNoFreeSeat: { ctx: 'Page', ja: '空いている席がありません', en: 'No seat is free', page: true },
  errGameOver: { ctx: 'Page', ja: 'その対局は終わっています', en: 'That game is over', page: true },
  errTableFull: { ctx: 'Page', ja: '観戦の席がいっぱいです', en: 'The table has no room for more watchers', page: true },
  errBadToken: { ctx: 'Page', ja: 'この席にはもう戻れません', en: 'This seat can no longer be taken back', page: true },
  errReplaced: { ctx: 'Page', ja: 'ほかの画面がこの席に着きました', en: 'Another window took this seat', page: true },
  errNotYourPiece: { ctx: 'Page', ja: '自分の駒ではありません', en: 'That is not your piece', page: true },
  errIllegalMove: { ctx: 'Page', ja: 'そこへは動けません', en: 'The piece cannot go there', page: true },
  errRateLimited: { ctx: 'Page', ja: '送るのが速すぎます', en: 'Too many messages at once', page: true },
  errTooMany: { ctx: 'Page', ja: 'サーバーが混んでいます', en: 'The server is too busy', page: true },
  errBadText: { ctx: 'Page', ja: '名前かチャットの文字が使えません', en: 'That name or chat line cannot be used', page: true },
  errStorage: { ctx: 'Page', ja: 'サーバーが記録できませんでした', en: 'The server could not store it', page: true },
  noServer: { ctx: 'Page', ja: 'サーバーにつながりません', en: 'The server cannot be reached', page: true },
  lobbyTitle: { ctx: 'Page', ja: '公開の卓', en: 'Public tables', page: true },
  lobbyWaiting: { ctx: 'Page', ja: '参加者を待つ卓 (%1)', en: 'Waiting for players (%1)', page: true },
  lobbyPlaying: { ctx: 'Page', ja: '対局中の卓 (%1)', en: 'Games being played (%1)', page: true },
  lobbyNone: { ctx: 'Page', ja: '今はありません', en: 'None at the moment', page: true },
  quickPlay: { ctx: 'Page', ja: 'すぐに対局', en: 'Quick play', page: true },
  publicTable: { ctx: 'NetWindow', ja: '公開の卓にする', en: 'List the table in the lobby' },
  tablePace: { ctx: 'NetWindow', ja: '進め方', en: 'Pace' },
  paceLive: { ctx: 'NetWindow', ja: 'その場で', en: 'Live' },
  paceTurn: { ctx: 'NetWindow', ja: '手番ごと', en: 'Turn-based' },
  moveTime: { ctx: 'NetWindow', ja: '一手の時間', en: 'Time per move' },
  unitMinutes: { ctx: 'Page', ja: '分', en: 'minutes', page: true },
  unitHours: { ctx: 'Page', ja: '時間', en: 'hours', page: true },
  unitDays: { ctx: 'Page', ja: '日', en: 'days', page: true },
  hintsAllowed: { ctx: 'NetWindow', ja: 'ヒントを許す', en: 'Allow hints' },
  freeOf: { ctx: 'Page', ja: '空席 %1', en: '%1 free', page: true },
  computers: { ctx: 'Page', ja: 'COM %1', en: '%1 computers', page: true },
  perMove: { ctx: 'Page', ja: '一手 %1', en: '%1 a move', page: true },
  agoNow: { ctx: 'Page', ja: 'たった今', en: 'just now', page: true },
  agoMinutes: { ctx: 'Page', ja: '%1分前', en: '%1 min ago', page: true },
  agoHours: { ctx: 'Page', ja: '%1時間前', en: '%1 h ago', page: true },
  agoDays: { ctx: 'Page', ja: '%1日前', en: '%1 d ago', page: true },
  daysClock: { ctx: 'Page', ja: '%1日 %2', en: '%1 d %2', page: true },
  yourTables: { ctx: 'Page', ja: 'あなたの卓', en: 'Your tables', page: true },
  yourTurn: { ctx: 'Page', ja: 'あなたの番', en: 'Your turn', page: true },
  waitingPlayers: { ctx: 'NetWindow', ja: '参加者を待っています', en: 'waiting for players' },
  tableOver: { ctx: 'NetWindow', ja: '終局', en: 'over' },
  tableGone: { ctx: 'Page', ja: 'もうありません', en: 'No longer there', page: true },
  goToTable: { ctx: 'Page', ja: '卓へ', en: 'Go to the table', page: true },
  notify: { ctx: 'Page', ja: '手番を通知する', en: 'Tell me when it is my turn', page: true },
  notifyTurn: { ctx: 'Page', ja: '卓 %1: あなたの番です', en: 'Table %1: your turn', page: true },
  timeLeft: { ctx: 'NetWindow', ja: '残り %1', en: '%1 left' },
  rematch: { ctx: 'Page', ja: 'もう一局', en: 'Rematch', page: true },
  rematchOffered: { ctx: 'Page', ja: '%1がもう一局を申し込みました', en: '%1 offers a rematch', page: true },
  rematchAccept: { ctx: 'Page', ja: 'もう一局を受ける', en: 'Accept the rematch', page: true },
  rematchSent: { ctx: 'Page', ja: 'もう一局を申し込みました', en: 'Rematch offered', page: true },
  errGameNotOver: { ctx: 'NetWindow', ja: '対局はまだ終わっていません', en: 'The game is not over yet' },
  noticeAbandoned: {
    ctx: 'NetWindow',
    ja: '― %1は3手続けて時間切れでした。プレイヤーが戻るまでコンピュータが指します',
    en: '― %1 ran out of time three moves in a row; the computer plays it until its player comes back',
  },
  noticeBack: { ctx: 'NetWindow', ja: '― %1はまたプレイヤーが指します', en: '― %1 is played by its player again' },
  missed: { ctx: 'NetWindow', ja: '時間切れ %1回', en: 'out of time %1×' },
  abandoned: { ctx: 'Page', ja: '(放棄: COMが指します)', en: '(abandoned: the computer plays)', page: true },
  oneMinute: { ctx: 'NetWindow', ja: '1分', en: '1 minute' },
  nMinutes: { ctx: 'NetWindow', ja: '%1分', en: '%1 minutes' },
  oneHour: { ctx: 'NetWindow', ja: '1時間', en: '1 hour' },
  nHours: { ctx: 'NetWindow', ja: '%1時間', en: '%1 hours' },
  oneDay: { ctx: 'NetWindow', ja: '1日', en: '1 day' },
  nDays: { ctx: 'NetWindow', ja: '%1日', en: '%1 days' },
  errNoHints: {
    ctx: 'Game',
    ja: 'この卓ではヒントは使えません',
    en: 'Hints are off at this table: it was created without them.',
    comment: 'box: the server table was created without hints',
  },
  hintThinking: { ctx: 'Page', ja: 'ヒントを考えています…', en: 'Working out a hint…', page: true },
  hintMove: { ctx: 'Page', ja: 'ヒント: %1→%2', en: 'Hint: %1 → %2', page: true },
  noHintNow: { ctx: 'Page', ja: 'ヒントはあなたの番に出せます', en: 'A hint is given when it is your move', page: true },
} satisfies Record<string, Text>;

export type TextKey = keyof typeof fixed;

// Every text the page shows, for the test that holds them to the desktop's.
export function allTexts(): Text[] {
  const list: Text[] = Object.values(fixed);
  for (let i = 0; i < 7; i++) {
    list.push({ ctx: 'Game', ja: kingdomsJa[i], en: kingdomsEn[i], comment: 'kingdom' });
    list.push({ ctx: 'NetWindow', ja: kingdomsJa[i], en: kingdomsEn[i] });
    list.push({ ctx: 'NetWindow', ja: seatJa[i], en: seatEn[i] });
    list.push({ ctx: 'Game', ja: `${kingdomsJa[i]}の勝ちです`, en: `${kingdomsEn[i]} wins.`, comment: 'box' });
    list.push({ ctx: 'Game', ja: `${kingdomsJa[i]}は脱落しました`, en: `${kingdomsEn[i]} has dropped out.`, comment: 'box' });
  }
  for (let k = 0; k < 10; k++) list.push({ ctx: 'Guide', ja: kindsJa[k], en: kindsEn[k] });
  for (let r = 0; r < 19; r++) list.push({ ctx: 'Game', ja: rowsJa[r], en: String(r + 1), comment: 'row label' });
  for (let l = 1; l <= 5; l++) list.push({ ctx: 'Menu', ja: `LEVEL${l}`, en: `Level ${l}` });
  return list;
}

let current: Lang = 'ja';

export function setLang(lang: Lang): void {
  current = lang;
}
export function lang(): Lang {
  return current;
}

// The browser's first language that is one of ours; Japanese otherwise.
export function langFromBrowser(languages: readonly string[]): Lang {
  for (const l of languages) {
    const tag = l.toLowerCase();
    if (tag.startsWith('ja')) return 'ja';
    if (tag.startsWith('en')) return 'en';
  }
  return 'ja';
}

export function t(key: TextKey, ...args: (string | number)[]): string {
  const text: Text = fixed[key];
  let s = current === 'ja' ? text.ja : text.en;
  // %1..%9 at once, so an argument holding "%2" is never replaced again.
  s = s.replace(/%([1-9])/g, (m, d: string) => {
    const a = args[Number(d) - 1];
    return a === undefined ? m : String(a);
  });
  return s;
}

export function kingdom(seat: number): string {
  const i = seat - 1;
  if (i < 0 || i > 6) return '';
  return current === 'ja' ? kingdomsJa[i] : kingdomsEn[i];
}
export function seatName(seat: number): string {
  const i = seat - 1;
  if (i < 0 || i > 6) return '';
  return current === 'ja' ? seatJa[i] : seatEn[i];
}
export function kindName(code: number): string {
  const k = code % 10;
  return current === 'ja' ? kindsJa[k] : kindsEn[k];
}
export function winText(seat: number): string {
  return current === 'ja' ? `${kingdom(seat)}の勝ちです` : `${kingdom(seat)} wins.`;
}
export function droppedOutText(seat: number): string {
  return current === 'ja' ? `${kingdom(seat)}は脱落しました` : `${kingdom(seat)} has dropped out.`;
}
export function levelName(level: number): string {
  return current === 'ja' ? `LEVEL${level}` : `Level ${level}`;
}
// Columns are numbered from the right, as on the board's edge: x = 1 is "19".
export function squareName(x: number, y: number): string {
  return t('square', columnLabel(x), rowLabel(y));
}
export function columnLabel(x: number): string {
  return String(20 - x);
}
export function rowLabel(y: number): string {
  return current === 'ja' ? rowsJa[y - 1] : String(y);
}
