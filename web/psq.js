// Game records in the tournament manager's file format: a first line such as
// "Piskvorky 15x15, 11:11, 0" (width x height, two player fields, 0), then one
// "x,y,t" line a move, x and y counted from 1 and t the milliseconds the move
// took. The lines after the moves (player names, a result code) are not read.
const HEADER = /^\s*\S+\s+(\d+)\s*x\s*(\d+)\s*,/i;
const MOVE = /^\s*(\d+)\s*,\s*(\d+)\s*,\s*(-?\d+)\s*$/;

export function isPsq(text) { return HEADER.test(text.split(/\r?\n/, 1)[0]); }

export function toPsq(size, moves) {
  const lines = moves.map(({ x, y, t }) => `${x + 1},${y + 1},${Math.max(0, Math.round(t ?? 0))}`);
  return [`Piskvorky ${size}x${size}, 11:11, 0`, ...lines, ''].join('\r\n');
}

// { width, height, moves: [{ x, y, t }] } counted from 0; throws an Error with
// a message for the person when the text is not a game record.
export function fromPsq(text) {
  const [header, ...lines] = text.split(/\r?\n/);
  const size = HEADER.exec(header);
  if (!size) throw new Error('A game record starts with a line such as "Piskvorky 15x15, 11:11, 0".');
  const [width, height] = [Number(size[1]), Number(size[2])];
  const moves = [];
  for (const line of lines) {
    const move = MOVE.exec(line);
    if (!move) break;
    const [x, y, t] = move.slice(1).map(Number);
    if (x < 1 || y < 1 || x > width || y > height) {
      throw new Error(`Move ${moves.length + 1} (${x},${y}) is off the ${width} x ${height} board.`);
    }
    moves.push({ x: x - 1, y: y - 1, t });
  }
  return { width, height, moves };
}
