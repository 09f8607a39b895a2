// The page: a board, its controls, the move list and the network panel,
// driving one table of the game library. Alone it plays the computers in a
// worker; at a server it follows the server's game as the desktop does.
import { BoardView } from './board';
import { isProblem, type Game, type Position, type Problem, type SeatToken, type Square, type TableEvent } from './game/engine';
import {
  droppedOutText,
  kingdom,
  lang,
  levelName,
  seatName,
  setLang,
  squareName,
  t,
  winText,
  type Lang,
  type TextKey,
} from './i18n';
import { marksSince, moveCursor, moveList, parseMoveLine, seatOfCode, viewingHuman } from './logic';
import { Online, refusalWords } from './online';
import type { ThinkAnswer } from './worker';

export type Pace = 'classic' | 'fast' | 'fastest';

const keys = {
  autosave: 'daro.autosave',
  lang: 'daro.lang',
  pace: 'daro.pace',
  marks: 'daro.marks',
  check: 'daro.check',
  name: 'daro.name',
};

// Storage may be full or switched off; the game plays on without it.
export const store = {
  get(key: string): string | null {
    try {
      return localStorage.getItem(key);
    } catch {
      return null;
    }
  },
  set(key: string, value: string): void {
    try {
      localStorage.setItem(key, value);
    } catch {
      /* nothing kept */
    }
  },
  remove(key: string): void {
    try {
      localStorage.removeItem(key);
    } catch {
      /* nothing kept */
    }
  },
};

function h<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  attrs: Record<string, string> = {},
  ...children: (Node | string)[]
): HTMLElementTagNameMap[K] {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, v);
  e.append(...children);
  return e;
}

const seatChoices: SeatToken[] = ['human', 'level1', 'level2', 'level3', 'level4', 'level5'];

// Stats a benchmark and the tests read: how long each computer move and
// each hint took in a worker, and how often the page thought itself
// because a worker's answer did not fit.
export const stats = { thinkMs: [] as number[], hintMs: [] as number[], thoughtHere: 0 };

// A hint is for one position: the game's generation and move number when asked.
interface Hint {
  at: string;
  from: Square;
  to: Square;
}

export class App {
  private readonly board: BoardView;
  private position!: Position;
  private selected: [number, number] | null = null;
  private destinations: [number, number][] = [];
  private cursor: [number, number] = [10, 10];
  private keyboardOn = false;
  private pointing = false;
  private viewing: number | null = null;
  private generation = 0;
  private thinking = 0;
  private busy = false;
  private pace: Pace;
  private showMarks: boolean;
  private showCheck: boolean;
  private readonly online: Online;
  private worker: Worker | null = null;
  private thinkId = 0;
  private readonly answers = new Map<number, (a: ThinkAnswer) => void>();
  // Hints think in a worker of their own, ended when a hint is no longer wanted.
  private hintWorker: Worker | null = null;
  private hintAsked = '';
  private hint: Hint | null = null;
  private autosaveOn = false;
  private readonly texts: [HTMLElement, TextKey, 'text' | 'aria' | 'placeholder'][] = [];

  private readonly ui = {
    title: h('h1'),
    turn: h('p', { id: 'turn', 'aria-live': 'polite' }),
    lang: h('button', { id: 'lang', type: 'button' }),
    status: h('p', { id: 'status', role: 'status' }),
    offer: h('div', { id: 'offer', hidden: '' }),
    moves: h('ol', { id: 'moves' }),
    backToNow: h('button', { id: 'back-to-now', type: 'button', hidden: '' }),
    playOn: h('button', { id: 'play-on', type: 'button', hidden: '' }),
    back: h('button', { id: 'back', type: 'button' }),
    forward: h('button', { id: 'forward', type: 'button' }),
    save: h('button', { id: 'save', type: 'button' }),
    open: h('button', { id: 'open', type: 'button' }),
    hint: h('button', { id: 'hint', type: 'button', 'aria-keyshortcuts': 'H' }),
    file: h('input', { id: 'file', type: 'file', accept: '.daro,text/plain', hidden: '' }),
    newGame: h('details', { id: 'new-game' }),
    seats: [] as HTMLSelectElement[],
    start: h('button', { id: 'start', type: 'button' }),
    marks: h('input', { id: 'marks', type: 'checkbox' }),
    check: h('input', { id: 'check', type: 'checkbox' }),
    paceChoice: h('select', { id: 'pace' }),
    checkLabel: h('p', { id: 'check-label', hidden: '' }),
    net: h('details', { id: 'net' }),
  };

  constructor(
    private readonly root: HTMLElement,
    private readonly game: Game,
    private readonly makeWorker: () => Worker,
    tableCode: string,
  ) {
    this.pace = (['classic', 'fast', 'fastest'] as const).find((p) => p === store.get(keys.pace)) ?? 'fast';
    this.showMarks = store.get(keys.marks) !== 'off';
    this.showCheck = store.get(keys.check) !== 'off';
    this.board = new BoardView(
      (x, y) => this.clicked(x, y),
      (e, x, y) => this.key(e, x, y),
    );
    this.online = new Online(this.game, {
      table: (p) => this.followed(p),
      line: (line, events) => void this.presentFollowed(line, events),
      status: () => this.refresh(),
      left: () => this.startDefault(),
      refused: (code) => this.say(refusalWords(code)),
    });
    this.build();
    this.position = this.game.position();
    this.board.setBoard(this.position.board);
    this.refresh();
    if (tableCode) {
      this.ui.net.open = true;
      this.online.openLink(tableCode);
    } else this.offerKeptGame();
  }

  // ------------------------------------------------------------------ the page

  private tr(e: HTMLElement, key: TextKey, how: 'text' | 'aria' | 'placeholder' = 'text'): HTMLElement {
    this.texts.push([e, key, how]);
    return e;
  }

  private build(): void {
    const ui = this.ui;
    this.tr(ui.title, 'title');
    ui.lang.addEventListener('click', () => this.switchLang(lang() === 'ja' ? 'en' : 'ja'));
    const header = h('header', {}, ui.title, ui.turn, ui.lang);

    const boardWrap = h('div', { id: 'board-wrap' }, this.board.svg);
    this.tr(this.board.svg as unknown as HTMLElement, 'board', 'aria');
    // The cursor shows for the keyboard only; a tap focuses without it.
    this.board.svg.addEventListener('focusin', () => {
      this.keyboardOn = !this.pointing;
      this.look();
    });
    this.board.svg.addEventListener('focusout', (e) => {
      if (!this.board.svg.contains(e.relatedTarget as Node | null)) {
        this.keyboardOn = false;
        this.look();
      }
    });
    this.board.svg.addEventListener('pointerdown', () => {
      this.pointing = true;
      this.keyboardOn = false;
    });
    this.board.svg.addEventListener('keydown', () => {
      this.pointing = false;
    });

    for (const [b, key] of [
      [ui.back, 'back'],
      [ui.forward, 'forward'],
      [ui.playOn, 'playOn'],
      [ui.backToNow, 'backToNow'],
      [ui.save, 'save'],
      [ui.open, 'open'],
      [ui.hint, 'hint'],
      [ui.start, 'start'],
    ] as const)
      this.tr(b, key);
    ui.back.addEventListener('click', () => this.step(-1));
    ui.forward.addEventListener('click', () => this.step(1));
    ui.playOn.addEventListener('click', () => this.playOn());
    ui.backToNow.addEventListener('click', () => this.showEntry(null));
    ui.save.addEventListener('click', () => this.save());
    ui.open.addEventListener('click', () => ui.file.click());
    ui.file.addEventListener('change', () => void this.openChosen());
    ui.hint.addEventListener('click', () => this.askHint());
    document.addEventListener('keydown', (e) => this.pageKey(e));

    // A new game: each seat human or a computer level.
    const seatRows = h('div', { class: 'seat-choices' });
    for (let s = 1; s <= 7; s++) {
      const select = h('select', { id: `seat-${s}` });
      for (const c of seatChoices) select.append(h('option', { value: c }));
      select.value = s === 1 ? 'human' : 'level3';
      const label = h('label', {}, h('span', { class: 'seat-name', 'data-seat': String(s) }), select);
      ui.seats.push(select);
      seatRows.append(label);
    }
    ui.start.addEventListener('click', () => {
      this.ui.newGame.open = false;
      this.newGame(this.ui.seats.map((s) => s.value as SeatToken));
    });
    const summary = this.tr(h('summary'), 'newGame');
    ui.newGame.append(summary, seatRows, ui.start);

    ui.marks.checked = this.showMarks;
    ui.check.checked = this.showCheck;
    ui.marks.addEventListener('change', () => {
      this.showMarks = ui.marks.checked;
      store.set(keys.marks, this.showMarks ? 'on' : 'off');
      this.look();
    });
    ui.check.addEventListener('change', () => {
      this.showCheck = ui.check.checked;
      store.set(keys.check, this.showCheck ? 'on' : 'off');
      this.look();
    });
    for (const [p, key] of [
      ['classic', 'paceClassic'],
      ['fast', 'paceFast'],
      ['fastest', 'paceFastest'],
    ] as const)
      ui.paceChoice.append(this.tr(h('option', { value: p }), key));
    ui.paceChoice.value = this.pace;
    ui.paceChoice.addEventListener('change', () => {
      this.pace = ui.paceChoice.value as Pace;
      store.set(keys.pace, this.pace);
    });
    const options = h(
      'div',
      { class: 'options' },
      h('label', {}, ui.marks, this.tr(h('span'), 'showMoves')),
      h('label', {}, ui.check, this.tr(h('span'), 'showCheck')),
      h('label', {}, this.tr(h('span'), 'pace'), ui.paceChoice),
    );
    this.tr(ui.checkLabel, 'check');

    const controls = h(
      'div',
      { class: 'controls' },
      ui.back,
      ui.forward,
      ui.playOn,
      ui.backToNow,
      ui.save,
      ui.open,
      ui.file,
      ui.hint,
    );
    this.tr(this.ui.moves, 'moveList', 'aria');
    const side = h(
      'aside',
      {},
      ui.offer,
      ui.status,
      ui.checkLabel,
      controls,
      ui.newGame,
      ui.net,
      options,
      h('h2', {}, this.tr(h('span'), 'moveList')),
      ui.moves,
    );
    this.online.build(ui.net, (e, key, how) => this.tr(e, key, how));
    this.root.replaceChildren(header, h('main', {}, boardWrap, side));
    this.applyTexts();
  }

  private applyTexts(): void {
    document.documentElement.lang = lang();
    document.title = t('title');
    for (const [e, key, how] of this.texts) {
      if (how === 'aria') e.setAttribute('aria-label', t(key));
      else if (how === 'placeholder') e.setAttribute('placeholder', t(key));
      else e.textContent = t(key);
    }
    this.ui.lang.textContent = lang() === 'ja' ? 'English' : '日本語';
    for (const span of this.root.querySelectorAll<HTMLElement>('.seat-name'))
      span.textContent = seatName(Number(span.dataset.seat));
    for (const select of this.root.querySelectorAll<HTMLSelectElement>('select.seat-kind, #new-game select'))
      for (const o of select.options) o.textContent = o.value === 'human' ? t('human') : t('comLevel', o.value.slice(5));
    this.online.applyTexts();
  }

  switchLang(l: Lang): void {
    setLang(l);
    store.set(keys.lang, l);
    this.applyTexts();
    this.board.relabel(this.shownBoard());
    this.refresh();
  }

  // ------------------------------------------------------------------ games

  private offerKeptGame(): void {
    const kept = store.get(keys.autosave);
    if (!kept) {
      this.startDefault();
      return;
    }
    const offer = this.ui.offer;
    const go = this.tr(h('button', { type: 'button', id: 'continue' }), 'continueLast');
    const fresh = this.tr(h('button', { type: 'button', id: 'fresh' }), 'newGame');
    offer.replaceChildren(this.tr(h('p'), 'saved'), go, fresh);
    this.applyTexts();
    offer.hidden = false;
    go.addEventListener('click', () => {
      offer.hidden = true;
      const opened = this.game.open(kept);
      if (isProblem(opened)) {
        this.say(t('cannotOpenLast', this.reason(opened)));
        this.startDefault();
        return;
      }
      this.took(opened);
    });
    fresh.addEventListener('click', () => {
      offer.hidden = true;
      this.startDefault();
    });
  }

  private startDefault(): void {
    this.newGame(this.ui.seats.map((s) => s.value as SeatToken));
  }

  newGame(seats: SeatToken[]): void {
    this.online.leaveQuietly();
    const levels = seats.filter((s) => s !== 'human').map((s) => Number(s.slice(5)));
    const level = levels.length > 0 ? levels[0] : 3;
    const started = this.game.start(seats, level);
    if (isProblem(started)) {
      this.say(this.reason(started));
      return;
    }
    this.game.events();
    this.took(started);
  }

  // A game was started or opened here: play goes on from its position.
  private took(p: Position): void {
    this.dropHint();
    this.ui.offer.hidden = true;
    this.generation++;
    this.autosaveOn = true;
    this.viewing = null;
    this.clearPick();
    this.position = p;
    this.board.setBoard(p.board);
    this.say('');
    this.keep();
    this.refresh();
    void this.advance();
  }

  private keep(): void {
    if (this.autosaveOn && !this.online.active()) store.set(keys.autosave, this.game.gameFile());
  }

  private reason(p: Problem): string {
    const why = lang() === 'ja' ? p.errorJa : p.error;
    return p.line > 0 ? `line ${p.line}: ${why}` : why;
  }

  // Plays the computers, the drop-outs and the passes until a human is to move.
  private async advance(): Promise<void> {
    const generation = ++this.generation;
    if (this.online.active()) return;
    while (generation === this.generation) {
      const step = this.game.next();
      if (step.kind === 'human' || step.kind === 'none') break;
      if (step.kind === 'paused') {
        this.game.resume();
        continue;
      }
      if (step.kind === 'computerMove') {
        this.thinking = step.seat;
        this.refresh();
        const answer = await this.think(this.game.snapshot());
        this.thinking = 0;
        if (generation !== this.generation) return;
        if (!this.game.commit(step.seat, answer.chosen)) {
          // A worker that answers nonsense is not trusted: the computer thinks here.
          stats.thoughtHere++;
          this.game.step();
        }
      } else {
        this.game.step();
      }
      await this.present(this.game.events(), generation);
    }
    if (generation === this.generation) this.refresh();
  }

  private think(snapshot: string): Promise<ThinkAnswer> {
    this.worker ??= this.startWorker();
    const id = ++this.thinkId;
    return new Promise((resolve) => {
      this.answers.set(id, resolve);
      this.worker!.postMessage({ id, snapshot });
    });
  }

  private startWorker(): Worker {
    const w = this.makeWorker();
    w.onmessage = (e: MessageEvent<ThinkAnswer>) => {
      stats.thinkMs.push(e.data.ms);
      const resolve = this.answers.get(e.data.id);
      this.answers.delete(e.data.id);
      resolve?.(e.data);
    };
    return w;
  }

  // The events of one step, shown in order: the piece moves, then the board.
  private async present(events: TableEvent[], generation: number): Promise<void> {
    for (const e of events) {
      if (generation !== this.generation) return;
      if (e.type === 'moved') {
        this.clearPick();
        this.busy = true;
        this.board.hideAt(e.from[0], e.from[1], true);
        await this.board.animate(e.from, e.to, e.piece, this.pace);
        this.board.hideAt(e.from[0], e.from[1], false);
        this.busy = false;
        if (generation !== this.generation) return;
      } else if (e.type === 'out') {
        this.say(droppedOutText(e.seat));
      } else if (e.type === 'pass') {
        this.say(t('passLine', kingdom(e.seat)).trim());
      } else if (e.type === 'over') {
        this.say(this.outcomeText());
      }
      this.position = this.game.position();
      this.board.setBoard(this.position.board);
      this.refresh();
    }
    this.keep();
  }

  private outcomeText(): string {
    const o = this.position.outcome;
    if (!o) return '';
    if (o.kind === 'win') return winText(o.seat);
    if (o.kind === 'humanGone') return t('lost');
    if (o.kind === 'noHumanLeft') return t('noHumanLeft');
    return t('noKingdomCanMove');
  }

  // ------------------------------------------------------------------ input

  private mySeatToMove(): number {
    const next = this.position.next;
    if (this.viewing !== null || this.busy || next.kind !== 'human') return 0;
    if (this.online.active()) return next.seat === this.online.seat() ? next.seat : 0;
    return next.seat;
  }

  clicked(x: number, y: number): void {
    this.cursor = [x, y];
    const seat = this.mySeatToMove();
    if (seat === 0) {
      if (this.position.next.kind === 'human' && this.viewing === null && !this.position.navigated)
        this.say(t('notYourTurn'));
      this.look();
      return;
    }
    const code = this.position.board[x - 1][y - 1];
    if (this.selected) {
      const [fx, fy] = this.selected;
      if (this.destinations.some(([dx, dy]) => dx === x && dy === y)) {
        this.move(seat, [fx, fy], [x, y]);
        return;
      }
      if (fx === x && fy === y) {
        this.clearPick();
        this.look();
        return;
      }
    }
    if (seatOfCode(code) === seat) {
      this.selected = [x, y];
      this.destinations = this.game.destinations(x, y);
      this.say('');
    } else {
      this.clearPick();
    }
    this.look();
  }

  private move(seat: number, from: [number, number], to: [number, number]): void {
    this.clearPick();
    this.dropHint();
    if (this.online.active()) {
      this.online.sendMove(from, to);
      this.look();
      return;
    }
    const refusal = this.game.submit(seat, from, to);
    if (refusal !== 'none') {
      this.say(refusal === 'kingSquareReached' ? t('kingInReach') : t('notYourTurn'));
      this.look();
      return;
    }
    const generation = this.generation;
    void this.present(this.game.events(), generation).then(() => {
      if (generation === this.generation) void this.advance();
    });
  }

  private clearPick(): void {
    this.selected = null;
    this.destinations = [];
  }

  key(e: KeyboardEvent, x: number, y: number): void {
    this.keyboardOn = true;
    if (e.key === 'Enter' || e.key === ' ') {
      e.preventDefault();
      this.clicked(x, y);
      this.board.focus(x, y);
      return;
    }
    if (e.key === 'Escape') {
      this.clearPick();
      this.dropHint();
      this.look();
      return;
    }
    const [nx, ny] = moveCursor(x, y, e.key);
    if (nx === x && ny === y) return;
    e.preventDefault();
    this.cursor = [nx, ny];
    this.board.focus(nx, ny);
    this.look();
  }

  // ------------------------------------------------------------------ hint

  // H anywhere but in a field that takes text; Esc drops the hint.
  private pageKey(e: KeyboardEvent): void {
    if (e.ctrlKey || e.metaKey || e.altKey || e.defaultPrevented) return;
    const target = e.target as HTMLElement | null;
    if (target && (target.isContentEditable || ['INPUT', 'TEXTAREA', 'SELECT'].includes(target.tagName))) return;
    if (e.key === 'h' || e.key === 'H') {
      e.preventDefault();
      this.askHint();
    } else if (e.key === 'Escape' && (this.hint || this.hintAsked)) {
      this.dropHint();
      this.look();
    }
  }

  private hintKey(): string {
    return `${this.generation}/${this.position.moveNumber}/${this.viewing ?? ''}`;
  }

  // LEVEL5's move for the human to move, thought in a worker, shown and not
  // played. A server's table allows it only when it was created so.
  askHint(): void {
    if (this.online.active() && !this.online.hintsAllowed()) {
      this.say(t('errNoHints'));
      return;
    }
    const snapshot = this.mySeatToMove() === 0 ? 'none' : this.game.hintSnapshot();
    if (snapshot === 'none') {
      this.say(t('noHintNow'));
      return;
    }
    this.dropHint();
    const at = this.hintKey();
    this.hintAsked = at;
    this.say(t('hintThinking'));
    this.hintWorker ??= this.makeWorker();
    const worker = this.hintWorker;
    worker.onmessage = (e: MessageEvent<ThinkAnswer>) => {
      if (worker !== this.hintWorker || this.hintAsked !== at) return;
      stats.hintMs.push(e.data.ms);
      this.hintAsked = '';
      // A position that moved on meanwhile gets no hint of the old one.
      if (this.hintKey() !== at || !this.game.hintFits(e.data.chosen)) {
        this.unsayHintThinking();
        return;
      }
      const [fx, fy, tx, ty] = e.data.chosen.split(' ').map(Number);
      this.hint = { at, from: [fx, fy], to: [tx, ty] };
      this.say(t('hintMove', squareName(fx, fy), squareName(tx, ty)));
      this.look();
    };
    worker.postMessage({ id: 0, snapshot });
  }

  // A hint still thinking is stopped with its worker; one shown goes.
  private dropHint(): void {
    if (this.hintAsked && this.hintWorker) {
      this.hintWorker.terminate();
      this.hintWorker = null;
      this.unsayHintThinking();
    }
    this.hintAsked = '';
    this.hint = null;
  }

  private unsayHintThinking(): void {
    if (this.ui.status.textContent === t('hintThinking')) this.say('');
  }

  private shownHint(): Hint | null {
    return this.hint && this.hint.at === this.hintKey() ? this.hint : null;
  }

  // ------------------------------------------------------------------ record

  private step(direction: -1 | 1): void {
    if (this.online.active()) return;
    this.dropHint();
    this.generation++;
    this.thinking = 0;
    this.viewing = null;
    this.clearPick();
    const moved = direction < 0 ? this.game.back() : this.game.forward();
    if (!moved) this.say(direction < 0 ? t('noEarlier') : t('noLater'));
    else this.say('');
    this.position = this.game.position();
    this.board.setBoard(this.position.board);
    this.refresh();
  }

  private playOn(): void {
    this.game.playOn();
    this.position = this.game.position();
    this.keep();
    this.refresh();
    void this.advance();
  }

  private showEntry(n: number | null): void {
    this.viewing = n === null || n === this.position.moveNumber ? null : n;
    this.clearPick();
    this.board.setBoard(this.shownBoard());
    this.refresh();
  }

  private shownBoard(): number[][] {
    if (this.viewing === null) return this.position.board;
    return this.game.entry(this.viewing)?.board ?? this.position.board;
  }

  private save(): void {
    if (this.online.active()) {
      this.online.download((text, code) => this.offerFile(text, `daro-${code}.daro`));
      return;
    }
    const stamp = new Date().toISOString().slice(0, 16).replace(/[-:T]/g, '');
    this.offerFile(this.game.gameFile(), `daro-${stamp}.daro`);
  }

  private offerFile(text: string, name: string): void {
    const url = URL.createObjectURL(new Blob([text], { type: 'text/plain' }));
    const a = h('a', { href: url, download: name });
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }

  private async openChosen(): Promise<void> {
    const file = this.ui.file.files?.[0];
    this.ui.file.value = '';
    if (!file) return;
    // Looked at before it is read: the game's own limit for a game file.
    if (file.size > 16 * 1024 * 1024) {
      this.say(lang() === 'ja' ? 'ファイルが 16 MiB より大きいです' : 'the file is larger than 16 MiB');
      return;
    }
    const opened = this.game.open(await file.text());
    if (isProblem(opened)) {
      this.say(this.reason(opened));
      return;
    }
    this.online.leaveQuietly();
    this.took(opened);
  }

  // ------------------------------------------------------------------ online

  private followed(p: Position): void {
    this.dropHint();
    this.generation++;
    this.thinking = 0;
    this.viewing = null;
    this.clearPick();
    this.position = p;
    this.board.setBoard(p.board);
    this.refresh();
  }

  // The game file's reader keeps its events to itself: the announced line
  // says what happened.
  private async presentFollowed(line: string, events: TableEvent[]): Promise<void> {
    if (events.length === 0) {
      const m = parseMoveLine(line);
      const step = /^(out|pass) ([1-7])$/.exec(line);
      if (m)
        events = [
          {
            type: 'moved',
            n: m.n,
            seat: m.seat,
            from: [m.fromX, m.fromY],
            to: [m.toX, m.toY],
            piece: m.piece,
            captured: m.captured,
            line,
          },
        ];
      else if (step) events = [{ type: step[1] as 'out' | 'pass', seat: Number(step[2]), line }];
    }
    await this.present(events, this.generation);
  }

  // ------------------------------------------------------------------ showing

  say(text: string): void {
    this.ui.status.textContent = text;
  }

  private viewer(): number {
    if (this.online.active()) return this.online.seat();
    const humans = this.position.seats.map((s) => s === 'human');
    return viewingHuman(this.position.turn, humans, this.position.pieces);
  }

  private look(): void {
    const p = this.position;
    const viewer = this.viewer();
    const now = this.viewing === null;
    const marks = this.showMarks && now && !p.navigated ? marksSince(p.record, p.moveNumber, viewer) : [];
    let danger: [number, number] | null = null;
    if (this.showCheck && now && viewer !== 0 && p.kingDanger.includes(viewer)) {
      const king = p.board.flatMap((col, x) => col.map((c, y) => [c, x + 1, y + 1] as const)).find(
        ([c]) => seatOfCode(c) === viewer && c % 10 === 9,
      );
      if (king) danger = [king[1], king[2]];
    }
    let latest: [number, number] | null = null;
    const last = [...p.record].reverse().map(parseMoveLine).find((m) => m !== null);
    if (now && !p.navigated && last && last.seat !== viewer) latest = [last.toX, last.toY];
    this.ui.checkLabel.hidden = danger === null;
    this.board.look({
      selected: this.selected,
      destinations: this.destinations,
      marks,
      danger,
      latest,
      cursor: this.keyboardOn ? this.cursor : null,
      hint: this.shownHint(),
    });
  }

  refresh(): void {
    const p = this.position;
    const ui = this.ui;
    const online = this.online.active();
    if (p.outcome && this.viewing === null) {
      ui.turn.textContent = `${t('gameOver')}: ${this.outcomeText()}`;
      ui.turn.dataset.seat = '0';
    } else if (p.turn >= 1) {
      let text = t('toMove', kingdom(p.turn));
      const seatKind = p.seats[p.turn - 1];
      if (seatKind && seatKind !== 'human') text += ` (${levelName(Number(seatKind.slice(5)))})`;
      if (this.thinking === p.turn) text += ` ${t('thinking')}`;
      ui.turn.textContent = text;
      ui.turn.dataset.seat = String(p.turn);
    } else {
      ui.turn.textContent = '';
    }
    ui.back.disabled = online;
    ui.forward.disabled = online;
    ui.playOn.hidden = !p.navigated || online;
    ui.backToNow.hidden = this.viewing === null;
    this.board.svg.classList.toggle('past', this.viewing !== null || p.navigated);
    this.listMoves();
    this.look();
  }

  private listMoves(): void {
    const lines = moveList(this.position.record);
    const list = this.ui.moves;
    // Only new lines are added; a changed game or language builds it again.
    const kept = list.children.length;
    const lastKept = kept > 0 ? list.children[kept - 1].textContent : null;
    if (list.dataset.lang !== lang() || kept > lines.length || (kept > 0 && lastKept !== lines[kept - 1].text))
      list.replaceChildren();
    list.dataset.lang = lang();
    for (let i = list.children.length; i < lines.length; i++) {
      const b = h('button', { type: 'button', 'data-entry': String(lines[i].entry) }, lines[i].text);
      b.addEventListener('click', () => this.showEntry(Number(b.dataset.entry)));
      list.append(h('li', {}, b));
    }
    for (const b of list.querySelectorAll<HTMLButtonElement>('button'))
      b.classList.toggle('shown', this.viewing !== null && Number(b.dataset.entry) === this.viewing);
    if (this.viewing === null) list.lastElementChild?.scrollIntoView?.({ block: 'nearest' });
  }
}

export const prefs = keys;
