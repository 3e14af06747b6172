// Draws the board as SVG, one unit per point: grid, edge coordinates, stones
// (numbered on request), the last move, the winning run and the threat shading.
import { BLACK } from './position.js';

const SVG = 'http://www.w3.org/2000/svg';
const MARGIN = 1.2;

export const CATEGORY_NAMES = [
  'Win', '2xStraightFour', 'StraightFourFour', 'StraightFour', 'FourThree',
  'FourDevelopFour', 'FourDevelopThree', 'Four', '2xThree', 'ThreeDevelop',
  'Three', 'ThreeDef', '2xTwo', '2xTwoDef', 'Two', 'TwoDef', 'Other', 'Impossible',
];
// Categories from Two on are too weak to matter to a person and stay unshaded.
const SHADED_CATEGORIES = 14;

function element(name, attributes, parent) {
  const node = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  parent?.appendChild(node);
  return node;
}

export class BoardView {
  constructor(svg, onPointClick) {
    this.svg = svg;
    this.onPointClick = onPointClick;
  }

  // threats: per point [black category, white category], or null; forbidden:
  // the points black may not play, as "x,y", crossed.
  draw(position, { numbers, threats, forbidden }) {
    const { size } = position;
    const svg = this.svg;
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
    const last = position.moves.at(-1);
    if (last && !numbers) element('circle', { class: 'last', cx: last.x, cy: last.y, r: 0.14 }, svg);
    for (let y = 0; y < size; y++) {
      for (let x = 0; x < size; x++) {
        const hit = element('rect', { class: 'hit', x: x - 0.5, y: y - 0.5, width: 1, height: 1, 'data-x': x, 'data-y': y }, svg);
        hit.addEventListener('click', () => this.onPointClick(x, y));
        const pair = threats?.[y * size + x];
        if (pair && !position.at(x, y)) {
          element('title', {}, hit).textContent = `black: ${CATEGORY_NAMES[pair[0]]}, white: ${CATEGORY_NAMES[pair[1]]}`;
        }
      }
    }
  }

  // Left half of a point for black's category, right half for white's: the
  // stronger the threat, the deeper the shade.
  drawThreats(position, threats, svg) {
    threats.forEach(([black, white], p) => {
      const x = p % position.size;
      const y = Math.floor(p / position.size);
      if (position.at(x, y)) return;
      [[black, 'black', -0.5], [white, 'white', 0]].forEach(([category, colour, dx]) => {
        if (category >= SHADED_CATEGORIES) return;
        element('rect', {
          class: `threat ${colour}`, x: x + dx, y: y - 0.5, width: 0.5, height: 1,
          'fill-opacity': (0.1 + 0.85 * ((SHADED_CATEGORIES - 1 - category) / (SHADED_CATEGORIES - 1)) ** 2).toFixed(2),
          'data-category': category, 'data-x': x, 'data-y': y,
        }, svg);
      });
    });
  }
}
