// The moves of a game as one line and a place in it. Stepping back keeps the
// later moves for stepping forward; another move played there starts a new
// line from that point. A move is { x, y, t }, t the milliseconds it took.
export class GameRecord {
  constructor(line = [], cursor = line.length) {
    this.line = line;
    this.cursor = cursor;
  }

  get moves() { return this.line.slice(0, this.cursor); }

  play(move) {
    const next = this.line[this.cursor];
    if (!next || next.x !== move.x || next.y !== move.y) this.line = [...this.moves, move];
    this.cursor++;
  }

  jump(index) { this.cursor = Math.max(0, Math.min(this.line.length, index)); }
  back() { this.jump(this.cursor - 1); }
  forward() { this.jump(this.cursor + 1); }
}
