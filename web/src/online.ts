// Play at a daro server: create, join by code or link, watch, chat, leave.
// The page's own copy of the game follows the announced lines as the
// desktop's panel does; a seat's token stays in the browser's storage per
// table, so a reload or a dropped connection takes the seat back.
import { isProblem, type Game, type Position, type SeatToken, type TableEvent } from './game/engine';
import { kingdom, levelName, seatName, t, type TextKey } from './i18n';
import { h, LobbyView, MineView } from './lobby';
import {
  isTableCode,
  parseServerMessage,
  seatTokensOf,
  serverAddress,
  type SeatInfo,
  type ServerMessage,
  type TableState,
} from './protocol';
import { clockText, isMyTurn, moveSecondsOf, newlyMyTurn, pageTitle, type MoveUnit, type MyTable } from './tables';

export interface OnlineHooks {
  table(p: Position): void;
  line(line: string, events: TableEvent[]): void;
  status(): void;
  left(): void;
  refused(code: string): void;
}

type Tr = (e: HTMLElement, key: TextKey, how?: 'text' | 'aria' | 'placeholder') => HTMLElement;

const refusals: Record<string, TextKey> = {
  no_such_table: 'errNoSuchTable',
  seat_taken: 'errSeatTaken',
  no_free_seat: 'errNoFreeSeat',
  game_over: 'errGameOver',
  table_full: 'errTableFull',
  bad_token: 'errBadToken',
  replaced: 'errReplaced',
  not_your_turn: 'notYourTurn',
  not_your_piece: 'errNotYourPiece',
  illegal_move: 'errIllegalMove',
  king_in_reach: 'kingInReach',
  game_not_over: 'errGameNotOver',
  rate_limited: 'errRateLimited',
  too_many_connections: 'errTooMany',
  server_full: 'errTooMany',
  too_many_tables: 'errTooMany',
  bad_text: 'errBadText',
  storage_failed: 'errStorage',
};

// A server's refusal in words; a code the page does not know is named as it came.
export function refusalWords(code: string): string {
  const key = refusals[code];
  return key ? t(key) : t('refused', code);
}

// One row of the seat panel, as the desktop's panel words it.
export function seatRow(info: SeatInfo, you: number, graceLeft: number): string {
  let row = `${seatName(info.seat)}  `;
  if (info.kind === 'computer') row += levelName(info.level);
  else if (info.open) row += t('free');
  else row += info.name;
  if (info.kind === 'human' && !info.open) {
    if (info.connected) row += `  ${t('connected')}`;
    else if (graceLeft > 0) row += `  ${t('awayLeft', graceLeft)}`;
    else row += `  ${t('away')}`;
    if (info.abandoned) row += `  ${t('abandoned')}`;
    else if (info.playedBy === 'computer') row += `  ${t('standIn')}`;
    if (!info.abandoned && info.missed) row += `  ${t('missed', info.missed)}`;
  }
  if (info.seat === you) row += `  ${t('you')}`;
  return row;
}

const tokenKey = (code: string) => `daro.seat.${code}`;

export function keptSeat(code: string): { seat: number; token: string } | null {
  let text: string | null = null;
  try {
    text = localStorage.getItem(tokenKey(code));
  } catch {
    return null;
  }
  const m = text ? /^([1-7]) ([A-Za-z0-9]{32})$/.exec(text) : null;
  return m ? { seat: Number(m[1]), token: m[2] } : null;
}
function keepSeat(code: string, seat: number, token: string): void {
  try {
    localStorage.setItem(tokenKey(code), `${seat} ${token}`);
  } catch {
    /* the seat is not kept */
  }
}
function forgetSeat(code: string): void {
  try {
    localStorage.removeItem(tokenKey(code));
  } catch {
    /* nothing kept */
  }
}

// Every seat the page holds a token for, for `mine`; at most as many as one
// message may ask about.
export function keptSeats(): { code: string; seat: number; token: string }[] {
  const out: { code: string; seat: number; token: string }[] = [];
  try {
    for (let i = 0; i < localStorage.length; i++) {
      const key = localStorage.key(i) ?? '';
      const code = key.startsWith('daro.seat.') ? key.slice(10) : '';
      const kept = isTableCode(code) ? keptSeat(code) : null;
      if (kept) out.push({ code, ...kept });
    }
  } catch {
    return [];
  }
  out.sort((a, b) => (a.code < b.code ? -1 : 1));
  return out.slice(0, 100);
}

const notifyKey = 'daro.notify';
const mineEvery = 30_000;

export class Online {
  private socket: WebSocket | null = null;
  private first: Record<string, unknown> | null = null;
  private code = '';
  private mySeat = 0;
  private token = '';
  private atTable = false;
  private reconnecting = false;
  private leaving = false;
  private fromLink = false;
  private seats: SeatInfo[] = [];
  private graceUntil: number[] = [0, 0, 0, 0, 0, 0, 0, 0];
  private countdown: number | null = null;
  private retry: number | null = null;
  private retries = 0;
  private onDownload: ((text: string, code: string) => void) | null = null;
  private statusKey: TextKey | null = null;
  private statusArgs: (string | number)[] = [];
  private welcomed = false;
  private lobbyWanted = false;
  private lobbyRetry: number | null = null;
  private lobbyRetries = 0;
  private mine: MyTable[] = [];
  private mineTimer: number | null = null;
  private myTurns = new Set<string>();
  private status: TableState['status'] = 'waiting';
  private turn = 0;
  private turnUntil = 0;
  private clockTimer: number | null = null;
  private rematchCode = '';
  private hints = false;
  private lobby: LobbyView;
  private mineView: MineView;

  private panel: HTMLElement | null = null;
  private readonly ui = {
    name: h('input', { id: 'net-name', maxlength: '32', autocomplete: 'nickname' }),
    seatKinds: [] as HTMLSelectElement[],
    level: h('select', { id: 'net-level' }),
    grace: h('input', { id: 'net-grace', type: 'number', min: '0', max: '3600', value: '90' }),
    create: h('button', { id: 'net-create', type: 'button' }),
    code: h('input', { id: 'net-code', maxlength: '6', autocapitalize: 'characters', spellcheck: 'false' }),
    seatChoice: h('select', { id: 'net-seat' }),
    join: h('button', { id: 'net-join', type: 'button' }),
    watch: h('button', { id: 'net-watch', type: 'button' }),
    leave: h('button', { id: 'net-leave', type: 'button', hidden: '' }),
    status: h('p', { id: 'net-status', role: 'status' }),
    link: h('input', { id: 'net-link', readonly: '' }),
    copy: h('button', { id: 'net-copy', type: 'button' }),
    linkRow: h('div', { id: 'net-invite', hidden: '' }),
    seatList: h('ul', { id: 'net-seats' }),
    chatLog: h('ol', { id: 'net-chat-log', 'aria-live': 'polite' }),
    chat: h('input', { id: 'net-chat', maxlength: '200' }),
    isPublic: h('input', { id: 'net-public', type: 'checkbox' }),
    pace: h('select', { id: 'net-pace' }),
    moveTime: h('input', { id: 'net-move-time', type: 'number', min: '1', max: '168', value: '1' }),
    moveUnit: h('select', { id: 'net-move-unit' }),
    moveRow: h('label', { id: 'net-move-row', hidden: '' }),
    hints: h('input', { id: 'net-hints', type: 'checkbox' }),
    quick: h('button', { id: 'net-quick', type: 'button' }),
    notify: h('input', { id: 'net-notify', type: 'checkbox' }),
    clock: h('p', { id: 'net-clock', hidden: '' }),
    rematch: h('button', { id: 'net-rematch', type: 'button', hidden: '' }),
    rematchNote: h('p', { id: 'net-rematch-note', hidden: '' }),
  };

  constructor(
    private readonly game: Game,
    private readonly hooks: OnlineHooks,
  ) {
    this.lobby = new LobbyView(
      this.ui.quick,
      (code) => this.joinCode(code, 0),
      (code) => this.connect({ type: 'spectate', code }),
    );
    this.mineView = new MineView(
      h('label', {}, this.ui.notify, h('span', { class: 'notify-text' })),
      (code) => this.joinCode(code, 0),
      () => (this.atTable ? this.code : ''),
    );
  }

  build(container: HTMLElement, tr: Tr): void {
    const ui = this.ui;
    this.panel = container;
    try {
      ui.name.value = localStorage.getItem('daro.name') ?? '';
    } catch {
      /* no name kept */
    }
    ui.name.addEventListener('change', () => {
      try {
        localStorage.setItem('daro.name', ui.name.value.trim().slice(0, 32));
      } catch {
        /* not kept */
      }
      // The name goes with `hello`: a connection that only follows the
      // lists starts again under the new one.
      if (this.socket && !this.atTable && !this.first) {
        const old = this.socket;
        this.socket = null;
        this.welcomed = false;
        this.stopMine();
        old.close();
        this.follow();
      }
    });
    const create = h('div', { class: 'net-create seat-choices' });
    for (let s = 1; s <= 7; s++) {
      const select = h('select', { id: `net-seat-${s}`, class: 'seat-kind' });
      for (const c of ['human', 'level1', 'level2', 'level3', 'level4', 'level5']) select.append(h('option', { value: c }));
      select.value = s === 1 ? 'human' : 'level4';
      ui.seatKinds.push(select);
      create.append(h('label', {}, h('span', { class: 'seat-name', 'data-seat': String(s) }), select));
    }
    for (let l = 1; l <= 4; l++) ui.level.append(h('option', { value: String(l), class: 'level-option' }));
    ui.level.value = '3';
    for (const [v, key] of [
      ['live', 'paceLive'],
      ['turn', 'paceTurn'],
    ] as const)
      ui.pace.append(tr(h('option', { value: v }), key));
    for (const [v, key] of [
      ['minutes', 'unitMinutes'],
      ['hours', 'unitHours'],
      ['days', 'unitDays'],
    ] as const)
      ui.moveUnit.append(tr(h('option', { value: v }), key));
    ui.moveUnit.value = 'days';
    ui.moveRow.append(tr(h('span'), 'moveTime'), ui.moveTime, ui.moveUnit);
    ui.pace.addEventListener('change', () => (ui.moveRow.hidden = ui.pace.value !== 'turn'));
    create.append(
      h('label', {}, tr(h('span'), 'level'), ui.level),
      h('label', {}, tr(h('span'), 'grace'), ui.grace),
      h('label', {}, tr(h('span'), 'tablePace'), ui.pace),
      ui.moveRow,
      h('label', {}, ui.isPublic, tr(h('span'), 'publicTable')),
      h('label', {}, ui.hints, tr(h('span'), 'hintsAllowed')),
      ui.create,
    );
    tr(ui.quick, 'quickPlay');
    tr(ui.rematch, 'rematch');
    try {
      ui.notify.checked = localStorage.getItem(notifyKey) === 'on' && Notification.permission === 'granted';
    } catch {
      ui.notify.checked = false;
    }
    ui.notify.addEventListener('change', () => void this.askToNotify());
    ui.seatChoice.append(tr(h('option', { value: '0' }), 'firstFree'));
    for (let s = 1; s <= 7; s++) ui.seatChoice.append(h('option', { value: String(s), class: 'seat-option' }));
    tr(ui.create, 'createTable');
    tr(ui.join, 'join');
    tr(ui.watch, 'watch');
    tr(ui.leave, 'leave');
    tr(ui.copy, 'copyLink');
    tr(ui.code, 'code', 'placeholder');
    tr(ui.chat, 'chat', 'placeholder');
    tr(ui.link, 'invitation', 'aria');
    ui.linkRow.append(tr(h('span'), 'invitation'), ui.link, ui.copy);
    container.append(
      tr(h('summary'), 'netTitle'),
      h('label', {}, tr(h('span'), 'name'), ui.name),
      create,
      h('div', { class: 'net-join' }, ui.code, ui.seatChoice, ui.join, ui.watch),
      ui.status,
      ui.clock,
      ui.rematchNote,
      ui.rematch,
      ui.linkRow,
      ui.seatList,
      ui.leave,
      this.mineView.root,
      this.lobby.root,
      ui.chatLog,
      ui.chat,
    );

    ui.create.addEventListener('click', () => {
      const grace = Math.max(0, Math.min(3600, Math.floor(Number(ui.grace.value) || 0)));
      const request: Record<string, unknown> = {
        type: 'create',
        seats: ui.seatKinds.map((s) => s.value as SeatToken),
        level: Number(ui.level.value),
        grace,
        public: ui.isPublic.checked,
        hints: ui.hints.checked,
      };
      if (ui.pace.value === 'turn') {
        request.pace = 'turn';
        request.moveSeconds = moveSecondsOf(Number(ui.moveTime.value), ui.moveUnit.value as MoveUnit);
      }
      this.connect(request);
    });
    ui.quick.addEventListener('click', () => {
      const request: Record<string, unknown> = { type: 'quick', level: Number(ui.level.value) };
      if (ui.pace.value === 'turn') {
        request.pace = 'turn';
        request.moveSeconds = moveSecondsOf(Number(ui.moveTime.value), ui.moveUnit.value as MoveUnit);
      }
      this.connect(request);
    });
    ui.rematch.addEventListener('click', () => {
      ui.rematch.hidden = true;
      this.send({ type: 'rematch' });
    });
    // The lists are followed while the panel is open, and the player's own
    // tables whenever the page holds a seat.
    container.addEventListener('toggle', () => {
      this.lobbyWanted = (container as HTMLDetailsElement).open;
      if (this.lobbyWanted) this.follow();
      else this.send({ type: 'lobby', subscribe: false });
    });
    if (keptSeats().length > 0) window.setTimeout(() => this.follow(), 0);
    // Back at the page: the tables are asked about at once.
    document.addEventListener('visibilitychange', () => {
      if (!document.hidden && this.welcomed) this.askMine();
    });
    ui.join.addEventListener('click', () => this.joinCode(ui.code.value.trim().toUpperCase(), Number(ui.seatChoice.value)));
    ui.watch.addEventListener('click', () => {
      const code = ui.code.value.trim().toUpperCase();
      if (isTableCode(code)) this.connect({ type: 'spectate', code });
    });
    ui.leave.addEventListener('click', () => this.leave());
    ui.copy.addEventListener('click', () => void this.copyLink());
    ui.chat.addEventListener('keydown', (e) => {
      if (e.key !== 'Enter') return;
      const text = ui.chat.value.trim();
      if (text === '' || !this.atTable) return;
      this.send({ type: 'chat', text: text.slice(0, 200) });
      ui.chat.value = '';
    });
  }

  applyTexts(): void {
    for (const o of this.ui.seatChoice.querySelectorAll<HTMLOptionElement>('.seat-option'))
      o.textContent = seatName(Number(o.value));
    for (const o of this.ui.level.querySelectorAll<HTMLOptionElement>('.level-option'))
      o.textContent = levelName(Number(o.value));
    if (this.statusKey) this.ui.status.textContent = t(this.statusKey, ...this.statusArgs);
    const notifyText = this.mineView.notify.querySelector('.notify-text');
    if (notifyText) notifyText.textContent = t('notify');
    this.showSeats();
    this.lobby.render();
    this.mineView.render();
    this.showClock();
    this.showRematch();
    this.showTitle();
  }

  active(): boolean {
    return this.atTable;
  }
  seat(): number {
    return this.atTable ? this.mySeat : 0;
  }
  // Whether the table was created allowing hints.
  hintsAllowed(): boolean {
    return this.atTable && this.hints;
  }

  // An invitation link: the seat kept for that table is taken back, else a
  // free one is joined; a full or finished table is watched.
  openLink(code: string): void {
    this.fromLink = true;
    this.ui.code.value = code;
    this.joinCode(code, 0);
  }

  private joinCode(code: string, seat: number): void {
    if (!isTableCode(code)) {
      this.setStatus('errNoSuchTable');
      return;
    }
    const kept = keptSeat(code);
    if (kept) {
      this.code = code;
      this.mySeat = kept.seat;
      this.token = kept.token;
      this.reconnecting = true;
      this.connect({ type: 'reconnect', code, seat: kept.seat, token: kept.token });
      return;
    }
    const request: Record<string, unknown> = { type: 'join', code };
    if (seat >= 1 && seat <= 7) request.seat = seat;
    this.connect(request);
  }

  // The lists need a connection, but no table.
  private follow(): void {
    if (this.socket) {
      if (this.welcomed) this.askLists();
      return;
    }
    this.open();
  }

  private askLists(): void {
    if (this.lobbyWanted) this.send({ type: 'lobby', subscribe: true });
    this.askMine();
  }

  private askMine(): void {
    const kept = keptSeats();
    if (kept.length === 0) {
      this.showMine([]);
      return;
    }
    this.send({ type: 'mine', tables: kept });
  }

  private connect(first: Record<string, unknown>): void {
    this.first = first;
    this.leaving = false;
    if (this.socket && this.socket.readyState === WebSocket.OPEN && this.welcomed) {
      // A seat held here is kept, not given up: going elsewhere closes this
      // connection, as a player who goes away does, and the seat waits.
      if (this.atTable && this.mySeat > 0 && this.token !== '') {
        this.atTable = false;
        this.open();
        return;
      }
      if (this.atTable) this.send({ type: 'leave' });
      this.atTable = false;
      this.send(first);
      return;
    }
    // A connection on its way sends the request once the server greets it.
    if (this.socket && this.socket.readyState <= WebSocket.OPEN) return;
    this.open();
  }

  private open(): void {
    const old = this.socket;
    this.socket = null;
    old?.close();
    this.welcomed = false;
    if (this.first) this.setStatus('connecting');
    let socket: WebSocket;
    try {
      socket = new WebSocket(serverAddress(location));
    } catch {
      this.setStatus('noServer');
      return;
    }
    this.socket = socket;
    socket.onopen = () => {
      const hello: Record<string, unknown> = { type: 'hello', version: 1 };
      const name = this.ui.name.value.trim().slice(0, 32);
      if (name) hello.name = name;
      this.send(hello);
    };
    socket.onmessage = (e) => {
      if (socket === this.socket && typeof e.data === 'string') this.received(parseServerMessage(e.data));
    };
    socket.onclose = () => {
      if (socket !== this.socket) return;
      this.welcomed = false;
      this.stopMine();
      this.lost();
    };
  }

  private send(message: Record<string, unknown>): void {
    if (this.socket?.readyState === WebSocket.OPEN) this.socket.send(JSON.stringify(message));
  }

  private received(m: ServerMessage | null): void {
    // A message that is not the server's is ignored, as the desktop does.
    if (m === null) return;
    switch (m.type) {
      case 'welcome':
        this.welcomed = true;
        this.lobbyRetries = 0;
        if (!this.first && (this.statusKey === 'noServer' || this.statusKey === 'lostConnection')) {
          this.statusKey = null;
          this.ui.status.textContent = '';
        }
        this.askLists();
        this.startMine();
        if (this.first) this.send(this.first);
        break;
      case 'lobby':
        this.lobby.show(m.listing);
        break;
      case 'mine':
        this.onMine(m.tables);
        break;
      case 'rematch':
        this.onRematch(m.code, m.seat);
        break;
      case 'created': {
        this.code = m.code;
        this.ui.code.value = m.code;
        const anyHuman = this.ui.seatKinds.some((s) => s.value === 'human');
        this.send(anyHuman ? { type: 'join', code: m.code } : { type: 'spectate', code: m.code });
        break;
      }
      case 'joined':
        this.code = m.code;
        this.mySeat = m.seat;
        if (m.token) {
          this.token = m.token;
          keepSeat(m.code, m.seat, m.token);
        }
        break;
      case 'table':
        this.onTable(m.table);
        break;
      case 'seat':
        this.seats[m.info.seat - 1] = m.info;
        this.setGrace(m.info);
        this.showSeats();
        this.showClock();
        break;
      case 'chat': {
        const line = m.notice ? h('li', { class: 'notice' }, this.noticeText(m.notice, m.noticeSeat, m.text)) : h('li', {}, h('bdi', {}, m.name), `: ${m.text}`);
        this.ui.chatLog.append(line);
        while (this.ui.chatLog.children.length > 500) this.ui.chatLog.firstElementChild?.remove();
        break;
      }
      case 'error':
        // A server that keeps no lists does without them, and says nothing.
        if (m.about === 'mine' || m.about === 'lobby') break;
        this.onError(m.code);
        break;
      case 'left':
        this.atTable = false;
        this.ui.leave.hidden = true;
        if (this.leaving) this.hooks.left();
        break;
      case 'line': {
        if (!this.atTable) break;
        const why = this.game.followLine(m.line);
        // A game that no longer follows is fetched whole again.
        if (why !== '') {
          this.socket?.close();
          break;
        }
        this.hooks.line(m.line, this.game.events());
        break;
      }
      case 'turn':
        this.onTurn(m.seat, m.left);
        this.hooks.status();
        break;
      case 'over':
        this.setStatus('netOver');
        this.status = 'over';
        this.onTurn(0, undefined);
        this.showRematch();
        this.hooks.status();
        break;
      case 'download':
        this.onDownload?.(m.text, m.code);
        this.onDownload = null;
        break;
      case 'started':
        this.status = 'playing';
        break;
      case 'pong':
        break;
    }
  }

  private onTable(table: TableState): void {
    const followed = this.game.follow(seatTokensOf(table), table.record);
    if (isProblem(followed)) return;
    this.game.events();
    this.atTable = true;
    this.code = table.code;
    this.mySeat = table.you;
    this.seats = table.seats;
    for (const s of table.seats) this.setGrace(s);
    this.ui.leave.hidden = false;
    const link = `${location.origin}/t/${table.code}`;
    this.ui.link.value = link;
    this.ui.linkRow.hidden = false;
    if (location.pathname !== `/t/${table.code}`) history.replaceState(null, '', `/t/${table.code}`);
    if (this.reconnecting && table.you > 0) this.setStatus('seatBack', table.code);
    else if (table.you === 0) this.setStatus('watching', table.code);
    else this.setStatus('atTable', table.code, seatName(table.you));
    if (table.status === 'over') this.setStatus('netOver');
    this.reconnecting = false;
    this.status = table.status;
    this.rematchCode = table.rematch;
    this.hints = table.hints;
    this.ui.rematchNote.hidden = true;
    this.onTurn(table.status === 'playing' ? table.turn : 0, table.turnLeft);
    this.showRematch();
    this.showSeats();
    this.hooks.table(followed);
  }

  // ------------------------------------------------------------ turns and clocks

  private onTurn(seat: number, left: number | undefined): void {
    this.turn = seat;
    this.turnUntil = left !== undefined ? performance.now() + left * 1000 : 0;
    if (this.atTable && this.mySeat > 0) {
      const mine = this.mine.find((e) => e.code === this.code);
      const now: MyTable = { code: this.code, seat: this.mySeat, status: this.status, turn: seat, timeLeft: left };
      if (mine) Object.assign(mine, now);
      else this.mine.push(now);
      this.showMine(this.mine);
    }
    this.showClock();
  }

  // The time the seat to move has left: its move time at a turn-based
  // table, the grace of an absent player at a live one.
  private showClock(): void {
    const clock = this.ui.clock;
    // A player who drops in the middle of a live turn is told of by a seat
    // event: the turn's clock is then that seat's grace.
    const away = this.seats[this.turn - 1];
    const until = this.turnUntil || (away && !away.connected ? this.graceUntil[this.turn] : 0);
    const left = (until - performance.now()) / 1000;
    const running = this.atTable && this.turn > 0 && until > 0;
    clock.hidden = !running;
    if (running) clock.textContent = `${kingdom(this.turn)}: ${t('timeLeft', clockText(left))}`;
    if (running && left > 0 && this.clockTimer === null) this.clockTimer = window.setInterval(() => this.showClock(), 1000);
    if ((!running || left <= 0) && this.clockTimer !== null) {
      clearInterval(this.clockTimer);
      this.clockTimer = null;
    }
  }

  // ------------------------------------------------------------ your tables

  private startMine(): void {
    this.stopMine();
    this.mineTimer = window.setInterval(() => this.askMine(), mineEvery);
  }
  private stopMine(): void {
    if (this.mineTimer !== null) clearInterval(this.mineTimer);
    this.mineTimer = null;
  }

  private onMine(tables: MyTable[]): void {
    // A token the server no longer knows is of no use: it is forgotten.
    for (const m of tables) if (m.status === 'gone' && (m.error === 'bad_token' || m.error === 'no_such_table')) forgetSeat(m.code);
    const live = this.atTable ? this.mine.find((e) => e.code === this.code) : undefined;
    this.showMine(tables.filter((m) => m.status !== 'gone' || m.error === '').map((m) => (live && m.code === live.code ? live : m)));
  }

  private showMine(tables: MyTable[]): void {
    this.mine = tables;
    const fresh = newlyMyTurn(this.myTurns, tables);
    this.myTurns = new Set(tables.filter(isMyTurn).map((m) => m.code));
    for (const m of fresh) this.tellTurn(m.code);
    this.mineView.show(tables);
    this.showTitle();
  }

  private showTitle(): void {
    document.title = pageTitle(t('title'), this.myTurns.size);
  }

  // A system notice, only with the player's leave and only while the page is
  // out of sight; it goes nowhere but this browser.
  private tellTurn(code: string): void {
    if (!this.ui.notify.checked || !document.hidden || typeof Notification === 'undefined') return;
    if (Notification.permission !== 'granted') return;
    try {
      const n = new Notification(t('title'), { body: t('notifyTurn', code), tag: `daro-${code}` });
      n.onclick = () => {
        window.focus();
        if (!this.atTable || this.code !== code) this.joinCode(code, 0);
        n.close();
      };
    } catch {
      /* the browser shows none */
    }
  }

  private async askToNotify(): Promise<void> {
    const box = this.ui.notify;
    if (box.checked && typeof Notification !== 'undefined' && Notification.permission !== 'granted') {
      try {
        box.checked = (await Notification.requestPermission()) === 'granted';
      } catch {
        box.checked = false;
      }
    }
    if (typeof Notification === 'undefined') box.checked = false;
    try {
      localStorage.setItem(notifyKey, box.checked ? 'on' : 'off');
    } catch {
      /* not kept */
    }
  }

  // ------------------------------------------------------------ rematch

  private onRematch(code: string, seat: number): void {
    this.rematchCode = code;
    if (seat === this.mySeat) return;
    this.ui.rematchNote.textContent = t('rematchOffered', kingdom(seat));
    this.ui.rematchNote.hidden = false;
    this.showRematch();
  }

  // Offered to a seated player once the game is over: the first offers, the
  // others accept, and each follows to the new table.
  private showRematch(): void {
    const b = this.ui.rematch;
    const can = this.atTable && this.mySeat > 0 && this.status === 'over';
    b.hidden = !can;
    b.textContent = t(this.rematchCode ? 'rematchAccept' : 'rematch');
  }

  private noticeText(notice: string, seat: number, text: string): string {
    if (notice === 'abandoned' && seat > 0) return t('noticeAbandoned', kingdom(seat));
    if (notice === 'back' && seat > 0) return t('noticeBack', kingdom(seat));
    return text;
  }

  private onError(code: string): void {
    // A token that is no longer good is forgotten: only the one the refused
    // `reconnect` named, never the seat of a table a mistyped code was not.
    const first = this.first;
    if ((code === 'bad_token' || code === 'no_such_table') && first?.type === 'reconnect') {
      if (typeof first.code === 'string') forgetSeat(first.code);
      this.token = '';
      this.reconnecting = false;
      if (this.retry !== null) clearTimeout(this.retry);
      this.retry = null;
    }
    // A link to a table with no seat for us: watch it instead.
    if (this.fromLink && !this.atTable && ['no_free_seat', 'game_over', 'seat_taken', 'bad_token'].includes(code)) {
      this.fromLink = false;
      const code6 = this.ui.code.value.trim().toUpperCase();
      if (isTableCode(code6)) {
        this.send({ type: 'spectate', code: code6 });
        return;
      }
    }
    this.statusKey = null;
    this.ui.status.textContent = refusalWords(code);
    this.hooks.refused(code);
  }

  private lost(): void {
    // A seat we hold (a token for it) is taken back, however often the
    // connection fails meanwhile: the seat waits for us during its grace.
    const holding = this.mySeat > 0 && this.token !== '' && this.code !== '' && !this.leaving;
    const wasAt = this.atTable;
    this.atTable = false;
    this.socket = null;
    this.onTurn(0, undefined);
    this.showRematch();
    if (!holding) {
      this.setStatus(wasAt || this.first ? 'lostConnection' : 'noServer');
      this.hooks.status();
      this.retryLists();
      return;
    }
    this.setStatus('reconnecting');
    this.reconnecting = true;
    this.retries = wasAt ? 0 : this.retries + 1;
    const wait = Math.min(10000, 2000 * 2 ** Math.min(this.retries, 3));
    if (this.retry !== null) clearTimeout(this.retry);
    this.retry = window.setTimeout(() => {
      this.retry = null;
      this.connect({ type: 'reconnect', code: this.code, seat: this.mySeat, token: this.token });
    }, wait);
    this.hooks.status();
  }

  // The lists come back by themselves when the server does.
  private retryLists(): void {
    if (this.lobbyRetry !== null || (!this.lobbyWanted && keptSeats().length === 0)) return;
    // Sooner at first, then once a minute: a page served without a server
    // does not knock all day.
    const wait = Math.min(60_000, 5000 * 2 ** Math.min(this.lobbyRetries, 4));
    this.lobbyRetries++;
    this.lobbyRetry = window.setTimeout(() => {
      this.lobbyRetry = null;
      if (!this.socket) this.follow();
    }, wait);
  }

  private leave(): void {
    this.leaving = true;
    if (this.code) forgetSeat(this.code);
    this.token = '';
    this.send({ type: 'leave' });
    this.ui.linkRow.hidden = true;
    if (location.pathname !== '/') history.replaceState(null, '', '/');
  }

  // Another game starts here: the table is left, the seat kept for later.
  leaveQuietly(): void {
    if (!this.atTable && !this.socket) return;
    this.leaving = true;
    if (this.retry !== null) clearTimeout(this.retry);
    this.retry = null;
    this.atTable = false;
    this.first = null;
    const s = this.socket;
    this.socket = null;
    s?.close();
    this.ui.leave.hidden = true;
    this.ui.linkRow.hidden = true;
    this.seats = [];
    this.showSeats();
    this.statusKey = null;
    this.ui.status.textContent = '';
    this.onTurn(0, undefined);
    this.showRematch();
    if (location.pathname !== '/') history.replaceState(null, '', '/');
    if (this.lobbyWanted || keptSeats().length > 0) this.follow();
  }

  sendMove(from: [number, number], to: [number, number]): void {
    this.send({ type: 'move', from, to });
  }

  download(then: (text: string, code: string) => void): void {
    this.onDownload = then;
    this.send({ type: 'download', code: this.code });
  }

  private async copyLink(): Promise<void> {
    try {
      await navigator.clipboard.writeText(this.ui.link.value);
    } catch {
      this.ui.link.select();
      document.execCommand?.('copy');
    }
    this.setStatus('copied');
  }

  private setStatus(key: TextKey, ...args: (string | number)[]): void {
    this.statusKey = key;
    this.statusArgs = args;
    this.ui.status.textContent = t(key, ...args);
  }

  private setGrace(s: SeatInfo): void {
    this.graceUntil[s.seat] = s.graceLeft ? performance.now() + s.graceLeft * 1000 : 0;
  }

  // The grace countdown ticks only while a seat's grace runs.
  private showSeats(): void {
    // At a table the forms to create and join give way to the table.
    this.panel?.classList.toggle('at-table', this.atTable);
    const now = performance.now();
    const rows = this.seats.map((s) => {
      const left = Math.max(0, Math.ceil((this.graceUntil[s.seat] - now) / 1000));
      return h('li', { 'data-seat': String(s.seat) }, seatRow(s, this.mySeat, s.connected ? 0 : left));
    });
    this.ui.seatList.replaceChildren(...rows);
    const running = this.graceUntil.some((u) => u > now);
    if (running && this.countdown === null) this.countdown = window.setInterval(() => this.showSeats(), 1000);
    if (!running && this.countdown !== null) {
      clearInterval(this.countdown);
      this.countdown = null;
    }
  }
}
