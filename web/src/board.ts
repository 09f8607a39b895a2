// The board as SVG: one element a square, each with data-square="X,Y" and
// a name a screen reader says, drawn with the artwork's own symbols.
import { columnLabel, rowLabel } from './i18n';
import { pictureOf, squareLabel, boardSize, type Mark } from './logic';

const svgNS = 'http://www.w3.org/2000/svg';
const cell = 31;
// Room for the numbers along the top edge and the numerals down the right.
const top = 16;
const right = 26;

// The QBColor nearest each kingdom's pieces, by seat, as the desktop marks them.
const seatColour = ['#000', '#fff', '#ff5555', '#ff55ff', '#5555ff', '#55ff55', '#aa00aa', '#000'];

function el<K extends keyof SVGElementTagNameMap>(name: K, attrs: Record<string, string | number> = {}) {
  const e = document.createElementNS(svgNS, name);
  for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, String(v));
  return e;
}

export interface BoardLook {
  selected?: [number, number] | null;
  destinations?: [number, number][];
  marks?: Mark[];
  danger?: [number, number] | null;
  cursor?: [number, number] | null;
  latest?: [number, number] | null;
  // A suggested move: an arrow from the piece to its square.
  hint?: { from: [number, number]; to: [number, number] } | null;
}

// From the centre of one square to the edge of the other, with its head
// there, so the piece it points at stays in sight; the piece's square is
// ringed.
function hintArrow(from: [number, number], to: [number, number]): SVGGElement {
  const centre = (s: [number, number]) => [(s[0] - 0.5) * cell, (s[1] - 0.5) * cell];
  const [x1, y1] = centre(from);
  const [cx, cy] = centre(to);
  const length = Math.hypot(cx - x1, cy - y1) || 1;
  const [ux, uy] = [(cx - x1) / length, (cy - y1) / length];
  const [x2, y2] = [cx - ux * cell * 0.3, cy - uy * cell * 0.3];
  const head = 9;
  const [bx, by] = [x2 - ux * head, y2 - uy * head];
  const g = el('g', { class: 'hint', 'data-from': from.join(','), 'data-to': to.join(',') });
  g.append(
    el('circle', { cx: x1, cy: y1, r: cell * 0.42, class: 'hint-ring' }),
    el('line', { x1, y1, x2: bx, y2: by, class: 'hint-line' }),
    el('polygon', {
      points: `${x2},${y2} ${bx - uy * head * 0.6},${by + ux * head * 0.6} ${bx + uy * head * 0.6},${by - ux * head * 0.6}`,
      class: 'hint-head',
    }),
  );
  return g;
}

export class BoardView {
  readonly svg: SVGSVGElement;
  private readonly squares: SVGGElement[] = [];
  private readonly pieces: SVGUseElement[] = [];
  private readonly shown: number[] = [];
  private readonly overlay: SVGGElement;
  private readonly flying: SVGGElement;
  private readonly edge: SVGGElement;
  private labelsOf: (code: number, x: number, y: number) => string = squareLabel;

  constructor(onSquare: (x: number, y: number) => void, onKey: (e: KeyboardEvent, x: number, y: number) => void) {
    const size = cell * boardSize;
    this.svg = el('svg', { viewBox: `0 ${-top} ${size + right} ${size + top}`, class: 'board', role: 'grid' });
    this.edge = el('g', { class: 'edge', 'aria-hidden': 'true' });
    const squares = el('g', { class: 'squares' });
    for (let y = 1; y <= boardSize; y++) {
      const row = el('g', { role: 'row' });
      for (let x = 1; x <= boardSize; x++) {
        const g = el('g', {
          'data-square': `${x},${y}`,
          role: 'gridcell',
          tabindex: x === 10 && y === 10 ? 0 : -1,
          transform: `translate(${(x - 1) * cell} ${(y - 1) * cell})`,
        });
        g.append(el('use', { href: '#KARA_MASU', width: cell, height: cell }));
        const piece = el('use', { width: cell, height: cell, class: 'piece' });
        g.append(piece);
        g.append(el('rect', { x: 0.25, y: 0.25, width: cell - 0.5, height: cell - 0.5, class: 'grid' }));
        g.addEventListener('click', () => onSquare(x, y));
        g.addEventListener('keydown', (e) => onKey(e, x, y));
        row.append(g);
        this.squares[(x - 1) * boardSize + (y - 1)] = g;
        this.pieces[(x - 1) * boardSize + (y - 1)] = piece;
        this.shown[(x - 1) * boardSize + (y - 1)] = -1;
      }
      squares.append(row);
    }
    this.overlay = el('g', { class: 'overlay', 'pointer-events': 'none' });
    this.flying = el('g', { class: 'flying', 'pointer-events': 'none' });
    this.svg.append(this.edge, squares, this.overlay, this.flying);
    this.labelEdges();
  }

  // The column numbers and row numerals, in the language shown.
  labelEdges(): void {
    const size = cell * boardSize;
    this.edge.replaceChildren();
    for (let x = 1; x <= boardSize; x++) {
      const n = el('text', { x: (x - 0.5) * cell, y: -4, 'text-anchor': 'middle' });
      n.textContent = columnLabel(x);
      this.edge.append(n);
    }
    for (let y = 1; y <= boardSize; y++) {
      const n = el('text', { x: size + right / 2, y: (y - 0.5) * cell + 4, 'text-anchor': 'middle' });
      n.textContent = rowLabel(y);
      if (n.textContent.length > 1) n.setAttribute('textLength', String(right - 4));
      this.edge.append(n);
    }
  }

  square(x: number, y: number): SVGGElement {
    return this.squares[(x - 1) * boardSize + (y - 1)];
  }

  focus(x: number, y: number): void {
    for (const g of this.squares) if (g.getAttribute('tabindex') === '0') g.setAttribute('tabindex', '-1');
    const g = this.square(x, y);
    g.setAttribute('tabindex', '0');
    g.focus();
  }

  // Only the squares that changed are touched.
  setBoard(board: number[][], relabel = false): void {
    for (let x = 1; x <= boardSize; x++)
      for (let y = 1; y <= boardSize; y++) {
        const i = (x - 1) * boardSize + (y - 1);
        const code = board[x - 1][y - 1];
        if (this.shown[i] === code && !relabel) continue;
        this.shown[i] = code;
        const picture = pictureOf(code);
        if (picture) this.pieces[i].setAttribute('href', `#${picture}`);
        else this.pieces[i].removeAttribute('href');
        this.squares[i].setAttribute('aria-label', this.labelsOf(code, x, y));
      }
  }

  relabel(board: number[][]): void {
    this.labelEdges();
    this.setBoard(board, true);
  }

  look(look: BoardLook): void {
    this.overlay.replaceChildren();
    const at = (x: number, y: number) => ({ x: (x - 1) * cell, y: (y - 1) * cell });
    for (const m of look.marks ?? []) {
      const p = at(m.x, m.y);
      this.overlay.append(
        el('rect', { x: p.x + 4, y: p.y + 4, width: cell - 8, height: cell - 8, class: 'mark', stroke: seatColour[m.seat] }),
      );
      const n = el('text', { x: p.x + 5, y: p.y + 12, class: 'mark-number', fill: seatColour[m.seat] });
      n.textContent = String(m.number);
      this.overlay.append(n);
    }
    if (look.latest) {
      const p = at(...look.latest);
      this.overlay.append(el('rect', { x: p.x + 0.5, y: p.y + 0.5, width: cell - 1, height: cell - 1, class: 'latest' }));
    }
    if (look.danger) {
      const p = at(...look.danger);
      for (const inset of [1, 2.5])
        this.overlay.append(
          el('rect', { x: p.x + inset, y: p.y + inset, width: cell - 2 * inset, height: cell - 2 * inset, class: 'danger' }),
        );
    }
    if (look.hint) this.overlay.append(hintArrow(look.hint.from, look.hint.to));
    if (look.selected) {
      const p = at(...look.selected);
      this.overlay.append(el('rect', { x: p.x + 1, y: p.y + 1, width: cell - 2, height: cell - 2, class: 'selected' }));
    }
    for (const [x, y] of look.destinations ?? []) {
      const p = at(x, y);
      this.overlay.append(el('circle', { cx: p.x + cell / 2, cy: p.y + cell / 2, r: 4.5, class: 'destination' }));
    }
    if (look.cursor) {
      const p = at(...look.cursor);
      this.overlay.append(el('rect', { x: p.x + 1.5, y: p.y + 1.5, width: cell - 3, height: cell - 3, class: 'cursor' }));
    }
    for (const g of this.squares) g.removeAttribute('aria-selected');
    if (look.selected) this.square(...look.selected).setAttribute('aria-selected', 'true');
  }

  // The moving piece: it blinks on its square at the classic pace, or slides.
  async animate(from: [number, number], to: [number, number], piece: number, pace: string): Promise<void> {
    if (pace === 'fastest' || document.hidden) return;
    const picture = pictureOf(piece);
    if (!picture) return;
    const use = el('use', { href: `#${picture}`, width: cell, height: cell });
    const g = el('g', { transform: `translate(${(from[0] - 1) * cell} ${(from[1] - 1) * cell})` });
    g.append(use);
    this.flying.replaceChildren(g);
    const wait = (ms: number) => new Promise((r) => setTimeout(r, ms));
    if (pace === 'classic') {
      for (let i = 0; i < 4; i++) {
        g.style.opacity = i % 2 === 0 ? '0.2' : '1';
        await wait(110);
      }
      g.style.opacity = '1';
    }
    const ms = pace === 'classic' ? 220 : 160;
    const dx = (to[0] - from[0]) * cell;
    const dy = (to[1] - from[1]) * cell;
    const anim = g.animate(
      [{ translate: '0 0' }, { translate: `${dx}px ${dy}px` }],
      { duration: ms, easing: 'ease-out', fill: 'forwards' },
    );
    await anim.finished.catch(() => undefined);
    this.flying.replaceChildren();
  }

  // While a piece flies, its target square still shows what was there.
  hideAt(x: number, y: number, hidden: boolean): void {
    this.pieces[(x - 1) * boardSize + (y - 1)].style.visibility = hidden ? 'hidden' : '';
  }
}
