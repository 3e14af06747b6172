// Draws the board as SVG, one unit per point: grid, edge coordinates, stones
// (numbered on request), the last move, the winning run, the threat shading,
// and a search's marks: its best line as numbered ghost stones, candidates.
// Takes the person's points from the mouse, taps and the keyboard cursor.
import { BLACK } from './position.js';
import { THREAT_WORDS, bandOf } from './threat-names.js';

const SVG = 'http://www.w3.org/2000/svg';
const MARGIN = 1.2;
const STEPS = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

function element(name, attributes, parent) {
  const node = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  parent?.appendChild(node);
  return node;
}

export class BoardView {
  // onPlay(x, y): the person chose a point; onInspect(x, y, tapped): the person
  // looks at a point (hover, cursor, a first tap) and wants it described.
  constructor(svg, { onPlay, onInspect }) {
    this.svg = svg;
    this.onPlay = onPlay;
    this.onInspect = onInspect;
    this.size = 0;
    this.cursor = null;
    this.cursorShown = false;
    // With threats shown, a tap first selects a point to read its names; a
    // second tap on it plays it.
    this.tapToRead = false;
    this.touch = false;
    svg.addEventListener('pointerdown', (event) => { this.touch = event.pointerType === 'touch'; });
    svg.addEventListener('pointerover', (event) => {
      const point = this.pointOf(event);
      if (point && event.pointerType === 'mouse') this.onInspect(...point);
    });
    svg.addEventListener('keydown', (event) => this.key(event));
    svg.addEventListener('blur', () => this.cursorNode && this.moveCursor(this.cursor.x, this.cursor.y, false));
  }

  pointOf(event) {
    const hit = event.target.closest?.('.hit');
    return hit ? [Number(hit.dataset.x), Number(hit.dataset.y)] : null;
  }

  clicked(event) {
    const point = this.pointOf(event);
    if (!point) return;
    const selected = this.cursorShown && this.cursor.x === point[0] && this.cursor.y === point[1];
    const reading = this.touch && this.tapToRead && !selected;
    this.moveCursor(...point, reading);
    if (reading) this.onInspect(...point, true);
    else this.onPlay(...point);
  }

  key(event) {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    const step = STEPS[event.key];
    if (step) {
      const { x, y } = this.cursor;
      this.moveCursor(Math.max(0, Math.min(this.size - 1, x + step[0])), Math.max(0, Math.min(this.size - 1, y + step[1])), true);
      this.onInspect(this.cursor.x, this.cursor.y);
    } else if (event.key === 'Enter' || event.key === ' ') {
      this.moveCursor(this.cursor.x, this.cursor.y, true);
      this.onPlay(this.cursor.x, this.cursor.y);
    } else return;
    event.preventDefault();
  }

  moveCursor(x, y, shown) {
    this.cursor = { x, y };
    this.cursorShown = shown;
    this.cursorNode.setAttribute('x', x - 0.5);
    this.cursorNode.setAttribute('y', y - 0.5);
    this.cursorNode.classList.toggle('shown', shown);
  }

  // threats: per point [black category, white category], or null; forbidden:
  // the points black may not play, as "x,y", crossed; ghosts: a line of moves
  // ahead as [{ x, y, colour }], drawn on empty points until one is taken;
  // candidates: [{ x, y, label, value }], ringed with their rank and value.
  draw(position, { numbers, threats, forbidden, ghosts = [], candidates = [] }) {
    const { size } = position;
    const svg = this.svg;
    if (size !== this.size) this.cursor = { x: size >> 1, y: size >> 1 };
    this.size = size;
    this.tapToRead = Boolean(threats);
    svg.replaceChildren();
    svg.setAttribute('viewBox', `${-MARGIN} ${-MARGIN} ${size - 1 + 2 * MARGIN} ${size - 1 + 2 * MARGIN}`);
    element('rect', { class: 'wood', x: -MARGIN, y: -MARGIN, width: size - 1 + 2 * MARGIN, height: size - 1 + 2 * MARGIN }, svg);
    for (let i = 0; i < size; i++) {
      element('line', { class: 'grid', x1: 0, y1: i, x2: size - 1, y2: i }, svg);
      element('line', { class: 'grid', x1: i, y1: 0, x2: i, y2: size - 1 }, svg);
      for (const [x, y, text] of [[i, -0.8, String.fromCharCode(97 + i)], [i, size - 0.2, String.fromCharCode(97 + i)],
        [-0.8, i, i + 1], [size - 0.2, i, i + 1]]) {
        element('text', { class: 'coord', x, y }, svg).textContent = text;
      }
    }
    if (threats) this.drawThreats(position, threats, svg);
    for (const key of forbidden) {
      const [x, y] = key.split(',').map(Number);
      const d = `M${x - 0.2} ${y - 0.2}L${x + 0.2} ${y + 0.2}M${x - 0.2} ${y + 0.2}L${x + 0.2} ${y - 0.2}`;
      element('path', { class: 'forbidden', d, 'data-x': x, 'data-y': y }, svg);
    }
    const five = new Set(position.five.map(({ x, y }) => y * size + x));
    position.moves.forEach(({ x, y }, index) => {
      const colour = position.colourOf(index) === BLACK ? 'black' : 'white';
      const stone = element('circle', { class: `stone ${colour}`, cx: x, cy: y, r: 0.46, 'data-x': x, 'data-y': y }, svg);
      if (five.has(y * size + x)) stone.classList.add('five');
      if (numbers) element('text', { class: `number ${colour}`, x, y }, svg).textContent = index + 1;
    });
    this.drawSearch(position, ghosts, candidates, svg);
    const last = position.moves.at(-1);
    if (last && !numbers) element('circle', { class: 'last', cx: last.x, cy: last.y, r: 0.14 }, svg);
    for (let y = 0; y < size; y++) {
      for (let x = 0; x < size; x++) {
        const hit = element('rect', { class: 'hit', x: x - 0.5, y: y - 0.5, width: 1, height: 1, 'data-x': x, 'data-y': y }, svg);
        hit.addEventListener('click', (event) => this.clicked(event));
        const pair = threats?.[y * size + x];
        if (pair && !position.at(x, y)) {
          element('title', {}, hit).textContent = `black: ${THREAT_WORDS[pair[0]]}, white: ${THREAT_WORDS[pair[1]]}`;
        }
      }
    }
    this.cursorNode = element('rect', { class: 'cursor', width: 1, height: 1 }, svg);
    this.moveCursor(this.cursor.x, this.cursor.y, this.cursorShown);
  }

  drawSearch(position, ghosts, candidates, svg) {
    const taken = new Set();
    for (const [index, { x, y, colour }] of ghosts.entries()) {
      if (!position.inside(x, y) || position.at(x, y) || taken.has(y * position.size + x)) break;
      taken.add(y * position.size + x);
      const name = colour === BLACK ? 'black' : 'white';
      element('circle', { class: `ghost ${name}`, cx: x, cy: y, r: 0.42, 'data-x': x, 'data-y': y }, svg);
      element('text', { class: `number ${name}`, x, y }, svg).textContent = index + 1;
    }
    for (const { x, y, label, value } of candidates) {
      if (!position.inside(x, y) || position.at(x, y)) continue;
      element('circle', { class: 'candidate', cx: x, cy: y, r: 0.4, 'data-x': x, 'data-y': y }, svg);
      element('text', { class: 'candidate-rank', x, y }, svg).textContent = label;
      if (value) element('text', { class: 'candidate-value', x, y: y + 0.62 }, svg).textContent = value;
    }
  }

  // Left half of a point for black's category, right half for white's, each
  // in its own colour, the stronger the threat the deeper.
  drawThreats(position, threats, svg) {
    threats.forEach(([black, white], p) => {
      const x = p % position.size;
      const y = Math.floor(p / position.size);
      if (position.at(x, y)) return;
      [[black, 'black', -0.5], [white, 'white', 0]].forEach(([category, colour, dx]) => {
        const band = bandOf(category);
        if (band < 0) return;
        element('rect', {
          class: `threat ${colour} band-${band}`, x: x + dx, y: y - 0.5, width: 0.5, height: 1,
          'data-category': category, 'data-x': x, 'data-y': y,
        }, svg);
      });
    });
  }
}
