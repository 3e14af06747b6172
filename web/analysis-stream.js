// Reads what the engine writes while it searches (with "info show_detail 3")
// into the figures the page shows: a block of INFO lines for every completed
// iteration of every candidate, and the live MESSAGE REALTIME BEST mark.
const POINT = /^(\d+),(\d+)$/;
const NUMBERS = { NUMPV: 'candidates', DEPTH: 'depth', SELDEPTH: 'selDepth', NODES: 'nodes', TOTALNODES: 'totalNodes',
  TOTALTIME: 'time', SPEED: 'speed', WINRATE: 'winrate' };

function point(text) {
  const match = POINT.exec(text);
  return match ? { x: Number(match[1]), y: Number(match[2]) } : null;
}

// "+M3" / "-M3" a proven win / loss in that many of the winner's moves,
// otherwise the value for the side to move.
export function parseEval(text) {
  const mate = /^([+-])M(\d+)$/.exec(text);
  return mate ? { mate: Number(`${mate[1]}${mate[2]}`) } : { score: Number(text) };
}

export class AnalysisStream {
  constructor() {
    // The last completed block of each candidate, by its index from 0.
    this.candidates = [];
    // The best move last reported, by a block of candidate 0 or a live mark.
    this.best = null;
    this.block = null;
  }

  // Whether any iteration completed: an engine that answers at once (a forced
  // or an opening move) writes none.
  get searched() { return this.candidates.length > 0; }

  // The main candidate's last block, or null.
  get main() { return this.candidates[0] ?? null; }

  // Takes one line; true when a figure changed.
  feed(line) {
    const [head, key, ...rest] = line.trim().split(/\s+/);
    if (head === 'MESSAGE' && key === 'REALTIME' && rest[0] === 'BEST') {
      // Under several candidates the mark is the one being searched: not the best.
      if (this.main?.candidates > 1) return false;
      this.best = point(rest[1] ?? '') ?? this.best;
      return true;
    }
    if (head !== 'INFO') return false;
    if (key === 'PV') {
      if (rest[0] === 'DONE') return this.close();
      this.block = { index: Number(rest[0]), line: [] };
    } else if (!this.block) return false;
    else if (key in NUMBERS) this.block[NUMBERS[key]] = Number(rest[0]);
    else if (key === 'EVAL') Object.assign(this.block, parseEval(rest[0] ?? ''));
    else if (key === 'BESTLINE') this.block.line = rest.map(point).filter(Boolean);
    return false;
  }

  close() {
    const block = this.block;
    this.block = null;
    if (!block || !(block.index >= 0)) return false;
    this.candidates[block.index] = block;
    if (block.index === 0 && block.line.length) this.best = block.line[0];
    return true;
  }
}
