// Fixed-depth search speed of the browser engine (in headless chromium)
// beside the native engine, on the same positions: each position is searched
// by both in turn, several rounds, and the median times are compared. Usage:
//   node bench/web/speed.mjs URL NATIVE_ENGINE [depth] [positions] [rounds]
import { spawn } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const require = createRequire(new URL('../../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const [url, nativeEngine, depth = '6', count = '12', rounds = '3'] = process.argv.slice(2);

// Openings of the test data, centred on a 20 x 20 board.
const positions = ['a', 'b'].map((file) => readFileSync(
  new URL(`../../tests/data/openings/freestyle_20x20_${file}.txt`, import.meta.url), 'utf8')).join('\n')
  .split('\n').filter((line) => line.trim()).slice(0, Number(count))
  .map((line) => line.split(',').map(Number).reduce((points, v, i, all) =>
    (i % 2 ? points : [...points, [all[i] + 10, all[i + 1] + 10]]), []));

// Both sides get the smallest transposition table (max_memory 1) and run the
// same searches in the same order, so they search the same trees.
function commands(moves) {
  const fields = moves.map(([x, y], i) => `${x},${y},${(moves.length - i) % 2 === 0 ? 1 : 2}`);
  return ['start 20', 'info max_memory 1', `info max_depth ${depth}`, 'info timeout_turn 100000000', 'info time_left 1000000000',
    'board', ...fields, 'done'];
}

const nodesOf = (text) => Number(/DEBUG AB: (\d+) nodes/.exec(text)?.[1] ?? NaN);

// One native process for all searches, as the browser keeps one worker.
const brain = spawn(nativeEngine, [], { stdio: ['pipe', 'pipe', 'inherit'] });
brain.stdout.setEncoding('utf8');
let pending = '';
let waiting = null;
brain.stdout.on('data', (chunk) => {
  pending += chunk;
  if (waiting && /^\d+,\d+\r?$/m.test(pending)) {
    const done = waiting;
    waiting = null;
    done(pending);
    pending = '';
  }
});

// The settings first; the clock runs from the position to the move.
async function native(moves) {
  const lines = commands(moves);
  const board = lines.indexOf('board');
  brain.stdin.write([...lines.slice(0, board), 'about', ''].join('\n'));
  await new Promise((resolve) => {
    const check = () => (pending.includes('name=') ? resolve() : setTimeout(check, 5));
    check();
  });
  pending = '';
  const start = process.hrtime.bigint();
  const text = await new Promise((resolve) => {
    waiting = resolve;
    brain.stdin.write([...lines.slice(board), ''].join('\n'));
  });
  return { ms: Number(process.hrtime.bigint() - start) / 1e6, nodes: nodesOf(text) };
}

const profile = mkdtempSync(join(tmpdir(), 'zomar-chromium-'));
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-first-run'],
});
const page = await browser.newPage();
await page.goto(url);
await page.evaluate(() => {
  const worker = new Worker('engine-worker.js');
  let id = 0;
  window.benchSend = (lines) => new Promise((resolve) => {
    const mine = ++id;
    worker.addEventListener('message', function answer({ data }) {
      if (data.id !== mine) return;
      worker.removeEventListener('message', answer);
      resolve(data.answer);
    });
    worker.postMessage({ id: mine, lines });
  });
});

async function browserSearch(moves) {
  return page.evaluate(async (lines) => {
    const board = lines.indexOf('board');
    await window.benchSend(lines.slice(0, board));
    const start = performance.now();
    const text = await window.benchSend(lines.slice(board));
    return { ms: performance.now() - start, text };
  }, commands(moves)).then(({ ms, text }) => ({ ms, nodes: nodesOf(text) }));
}

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
let totals = { native: 0, web: 0, nativeNodes: 0, webNodes: 0, nativeMs: 0, webMs: 0 };
// Both sides allocate their transposition table on the first search.
await native(positions[0]);
await browserSearch(positions[0]);
console.log('position  nodes(native)  nodes(web)  native ms  web ms  web/native');
for (const [index, moves] of positions.entries()) {
  const runs = { native: [], web: [] };
  let nodes = {};
  for (let round = 0; round < Number(rounds); round++) {
    const n = await native(moves);
    const w = await browserSearch(moves);
    runs.native.push(n.ms);
    runs.web.push(w.ms);
    nodes = { native: n.nodes, web: w.nodes };
  }
  const n = median(runs.native);
  const w = median(runs.web);
  // Searches under 50 ms report no count and stay out of the speeds.
  const counted = nodes.native > 0 && nodes.web > 0;
  totals = { native: totals.native + n, web: totals.web + w,
    nativeNodes: totals.nativeNodes + (counted ? nodes.native : 0), webNodes: totals.webNodes + (counted ? nodes.web : 0),
    nativeMs: totals.nativeMs + (counted ? n : 0), webMs: totals.webMs + (counted ? w : 0) };
  console.log(`${String(index + 1).padStart(8)}  ${String(nodes.native).padStart(13)}  ${String(nodes.web).padStart(10)}  ` +
    `${n.toFixed(0).padStart(9)}  ${w.toFixed(0).padStart(6)}  ${(w / n).toFixed(2).padStart(10)}`);
}
console.log(`total: native ${totals.native.toFixed(0)} ms, web ${totals.web.toFixed(0)} ms, ` +
  `web/native ${(totals.web / totals.native).toFixed(2)}; stones placed per ms: native ` +
  `${(totals.nativeNodes / totals.nativeMs).toFixed(0)}, web ${(totals.webNodes / totals.webMs).toFixed(0)}`);
await browser.close();
rmSync(profile, { recursive: true, force: true });
brain.stdin.end('end\n');
