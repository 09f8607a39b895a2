// The start page's lists: the public tables of the lobby (join one that
// waits, watch one being played) and the tables the player holds a seat at,
// "your turn" first, each with its clock counting down.
import { seatName, t, type TextKey } from './i18n';
import type { ListedTable, Listing } from './protocol';
import { clockText, isMyTurn, listedNames, listedSummary, sortMine, type MyTable } from './tables';

export function h<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  attrs: Record<string, string> = {},
  ...children: (Node | string)[]
): HTMLElementTagNameMap[K] {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, v);
  e.append(...children);
  return e;
}

// Names are shown each in an isolate of its own, so a right-to-left name
// never reorders what stands beside it.
function namesOf(names: string[]): (Node | string)[] {
  const out: (Node | string)[] = [];
  names.forEach((n, i) => {
    if (i > 0) out.push(', ');
    out.push(h('bdi', {}, n));
  });
  return out;
}

export class LobbyView {
  readonly root = h('section', { id: 'net-lobby', hidden: '' });
  private readonly title = h('h3');
  private readonly waitingTitle = h('h4');
  private readonly playingTitle = h('h4');
  private readonly waiting = h('ul', { id: 'lobby-waiting' });
  private readonly playing = h('ul', { id: 'lobby-playing' });
  private listing: Listing | null = null;

  constructor(
    readonly quick: HTMLButtonElement,
    private readonly join: (code: string) => void,
    private readonly watch: (code: string) => void,
  ) {
    this.root.append(this.title, quick, this.waitingTitle, this.waiting, this.playingTitle, this.playing);
  }

  show(listing: Listing): void {
    this.listing = listing;
    this.root.hidden = false;
    this.render();
  }

  render(): void {
    this.title.textContent = t('lobbyTitle');
    const l = this.listing;
    this.waitingTitle.textContent = t('lobbyWaiting', l?.waitingCount ?? 0);
    this.playingTitle.textContent = t('lobbyPlaying', l?.playingCount ?? 0);
    this.fill(this.waiting, l?.waiting ?? [], 'join');
    this.fill(this.playing, l?.playing ?? [], 'watch');
  }

  private fill(list: HTMLUListElement, tables: ListedTable[], action: 'join' | 'watch'): void {
    // The list changes under the player's hands: a button that had the
    // keyboard's focus keeps it on its table's new line.
    const focused = list.contains(document.activeElement) ? (document.activeElement as HTMLElement).dataset.code : undefined;
    this.refill(list, tables, action);
    if (focused) list.querySelector<HTMLButtonElement>(`button[data-code="${focused}"]`)?.focus();
  }

  private refill(list: HTMLUListElement, tables: ListedTable[], action: 'join' | 'watch'): void {
    if (tables.length === 0) {
      list.replaceChildren(h('li', { class: 'none' }, t('lobbyNone')));
      return;
    }
    list.replaceChildren(
      ...tables.map((e) => {
        const button = h('button', { type: 'button', 'data-code': e.code }, t(action));
        button.addEventListener('click', () => (action === 'join' ? this.join(e.code) : this.watch(e.code)));
        const names = listedNames(e);
        const who = names.length > 0 ? [...namesOf(names), ' · '] : [];
        return h('li', { 'data-code': e.code }, h('span', { class: 'code' }, e.code), ' ', ...who, listedSummary(e), ' ', button);
      }),
    );
  }
}

export class MineView {
  readonly root = h('section', { id: 'net-mine', hidden: '' });
  private readonly title = h('h3');
  private readonly list = h('ul', { id: 'mine-list' });
  private tables: MyTable[] = [];
  private receivedAt = 0;
  private ticking: number | null = null;

  constructor(
    readonly notify: HTMLElement,
    private readonly go: (code: string) => void,
    private readonly current: () => string,
  ) {
    this.root.append(this.title, this.list, notify);
  }

  show(tables: MyTable[]): void {
    this.tables = sortMine(tables);
    this.receivedAt = performance.now();
    this.render();
  }

  render(): void {
    this.title.textContent = t('yourTables');
    this.root.hidden = this.tables.length === 0;
    const gone = (performance.now() - this.receivedAt) / 1000;
    const focused = this.list.contains(document.activeElement) ? (document.activeElement as HTMLElement).dataset.code : undefined;
    this.list.replaceChildren(
      ...this.tables.map((m) => {
        const state = this.stateText(m);
        const li = h('li', { 'data-code': m.code, class: isMyTurn(m) ? 'your-turn' : '' }, h('span', { class: 'code' }, m.code), ` ${seatName(m.seat)} · ${state}`);
        if (m.timeLeft !== undefined && m.status === 'playing')
          li.append(' · ', h('span', { class: 'clock' }, t('timeLeft', clockText(m.timeLeft - gone))));
        if (m.status !== 'gone' && m.code !== this.current()) {
          const button = h('button', { type: 'button', 'data-code': m.code }, t('goToTable'));
          button.addEventListener('click', () => this.go(m.code));
          li.append(' ', button);
        }
        return li;
      }),
    );
    if (focused) this.list.querySelector<HTMLButtonElement>(`button[data-code="${focused}"]`)?.focus();
    const counting = this.tables.some((m) => m.timeLeft !== undefined && m.status === 'playing');
    if (counting && this.ticking === null) this.ticking = window.setInterval(() => this.render(), 1000);
    if (!counting && this.ticking !== null) {
      clearInterval(this.ticking);
      this.ticking = null;
    }
  }

  private stateText(m: MyTable): string {
    const words: Record<MyTable['status'], TextKey> = {
      playing: 'toMove',
      waiting: 'waitingPlayers',
      over: 'tableOver',
      gone: 'tableGone',
    };
    if (isMyTurn(m)) return t('yourTurn');
    return m.status === 'playing' ? t('toMove', seatName(m.turn)) : t(words[m.status]);
  }
}
