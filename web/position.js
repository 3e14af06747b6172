// The game on the page: the stones in play order, the side to move, the win
// check and the "pos" notation (h8i9j10: columns a.., rows 1..).

export const BLACK = 1; // moves first
export const WHITE = 2;

const DIRECTIONS = [[1, 0], [0, 1], [1, 1], [1, -1]];

// A point as the notation and the board's edges name it: column letter, row number.
export function pointName(x, y) { return String.fromCharCode(97 + x) + (y + 1); }

export class Position {
  constructor(size, rule) {
    this.size = size;
    this.rule = rule;
    this.moves = [];
    this.cells = new Uint8Array(size * size);
    this.winner = 0;
    this.five = [];
  }

  colourOf(index) { return index % 2 === 0 ? BLACK : WHITE; }
  toMove() { return this.colourOf(this.moves.length); }
  at(x, y) { return this.cells[y * this.size + x]; }
  inside(x, y) { return x >= 0 && y >= 0 && x < this.size && y < this.size; }
  full() { return this.moves.length === this.size * this.size; }
  over() { return this.winner !== 0 || this.full(); }

  play(x, y) {
    const colour = this.toMove();
    this.moves.push({ x, y });
    this.cells[y * this.size + x] = colour;
    this.five = this.winningRun(x, y, colour);
    if (this.five.length) this.winner = colour;
  }

  undo() {
    const last = this.moves.pop();
    this.cells[last.y * this.size + last.x] = 0;
    this.winner = 0;
    this.five = [];
  }

  // The run through (x, y) that wins under the rule, or an empty list.
  winningRun(x, y, colour) {
    for (const [dx, dy] of DIRECTIONS) {
      const run = [{ x, y }];
      let blocked = 0; // ends on an opponent stone; the edge is none
      for (const sign of [1, -1]) {
        let cx = x + sign * dx;
        let cy = y + sign * dy;
        while (this.inside(cx, cy) && this.at(cx, cy) === colour) {
          run.push({ x: cx, y: cy });
          cx += sign * dx;
          cy += sign * dy;
        }
        if (this.inside(cx, cy) && this.at(cx, cy) === BLACK + WHITE - colour) blocked += 1;
      }
      if (this.rule.wins(run.length, colour, blocked)) return run;
    }
    return [];
  }

  toNotation() {
    return this.moves.map(({ x, y }) => pointName(x, y)).join('');
  }

  // The position after the moves; throws an Error with a message for the
  // person when a move cannot be played. A game record may end in a five, a
  // position to be played on may not.
  static fromMoves(size, rule, moves, { finished = false } = {}) {
    const position = new Position(size, rule);
    for (const { x, y } of moves) {
      const name = pointName(x, y);
      if (!position.inside(x, y)) throw new Error(`${name} is off the ${size} x ${size} board.`);
      if (position.at(x, y)) throw new Error(`${name} is played twice.`);
      if (position.over()) throw new Error(`The game is already over before ${name}.`);
      position.play(x, y);
    }
    if (position.over() && !finished) throw new Error('The game is already over in this position.');
    return position;
  }

  // A new position from notation; throws an Error with a message for the
  // person when the text is not a position on this board.
  static fromNotation(text, size, rule, options) {
    const compact = text.replace(/\s+/g, '').toLowerCase();
    if (!/^([a-z][0-9]+)*$/.test(compact)) {
      throw new Error('A position is a list of points such as h8i9j10.');
    }
    const moves = [...compact.matchAll(/([a-z])([0-9]+)/g)].map(([, letter, digits]) => ({ x: letter.charCodeAt(0) - 97, y: Number(digits) - 1 }));
    return Position.fromMoves(size, rule, moves, options);
  }
}
