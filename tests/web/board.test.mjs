// The board page in headless chromium against the browser engine: whole games
// by clicking, undo, pasted positions against the native engine, bad input, the
// move list and its files, a phone window.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { fromPsq } from '../../web/psq.js';

const {
  ZOMAR_WEB_URL: URL, ZOMAR_NATIVE_ENGINE: NATIVE, ZOMAR_WEB_SCREENSHOT: SCREENSHOT, ZOMAR_WEB_PHONE_SCREENSHOT: PHONE_SCREENSHOT,
  ZOMAR_WEB_ANALYSIS_SCREENSHOT: ANALYSIS_SCREENSHOT,
} = process.env;
const LINES = [[1, 0], [0, 1], [1, 1], [1, -1]];
const SIZE = 15;

const profile = mkdtempSync(join(tmpdir(), 'zomar-chromium-'));
let browser;
before(async () => {
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true, userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run'],
  });
});
after(async () => {
  await browser?.close();
  rmSync(profile, { recursive: true, force: true });
});

const settled = (page) => page.waitForFunction(() => ['ready', 'won', 'draw'].includes(document.body.dataset.state),
  { timeout: 120000 });
const state = (page) => page.$eval('body', (body) => body.dataset.state);
const setValue = (page, selector, value) => page.$eval(selector, (input, v) => { input.value = v; }, value);
const text = (page, selector) => page.$eval(selector, (node) => node.textContent);
const listed = (page) => page.$$eval('#moves button', (all) => all.slice(1).map((b) => [b.textContent, b.classList.contains('later')]));

// A new 15 x 15 game (freestyle unless told) at a fixed depth, the person (black) to move.
async function openGame(depth, rule = 0, viewport = { width: 1200, height: 820 }) {
  const page = await browser.newPage();
  page.on('dialog', (dialog) => dialog.accept());
  await page.setViewport(viewport);
  await page.goto(URL);
  await settled(page);
  await setValue(page, '#time', '100000');
  await setValue(page, '#depth', String(depth));
  await setValue(page, '#rule', String(rule));
  await page.click('#new');
  await settled(page);
  return page;
}

// The stones shown: "x,y" -> 1 (black) or 2 (white); and the highlighted ones.
async function shown(page) {
  const stones = await page.$$eval('circle.stone', (all) => all.map((c) =>
    [`${c.dataset.x},${c.dataset.y}`, c.classList.contains('black') ? 1 : 2, c.classList.contains('five')]));
  return { board: new Map(stones.map(([key, colour]) => [key, colour])), five: stones.filter((s) => s[2]).map((s) => s[0]).sort() };
}

async function click(page, [x, y]) {
  await page.click(`rect.hit[data-x="${x}"][data-y="${y}"]`);
  await settled(page);
  return (await shown(page)).board;
}

// The longest run of one colour through a point.
function longestRun(board, [x, y]) {
  const colour = board.get(`${x},${y}`);
  return LINES.map(([dx, dy]) => [1, -1].flatMap((sign) => {
    const run = [];
    for (let k = sign === 1 ? 0 : 1; board.get(`${x + sign * k * dx},${y + sign * k * dy}`) === colour; k++) {
      run.push(`${x + sign * k * dx},${y + sign * k * dy}`);
    }
    return run;
  })).reduce((best, run) => (run.length > best.length ? run : best)).sort();
}

// Checks that `after` is `before` with the click in the mover's colour and at
// most one reply on an empty point in the other colour; returns the reply.
function reply(before, after, clicked) {
  const mover = before.size % 2 ? 2 : 1;
  const added = [...after.keys()].filter((key) => !before.has(key) && key !== clicked.join());
  assert.equal(after.get(clicked.join()), mover);
  assert.ok(!before.has(clicked.join()) && added.length <= 1 && after.size === before.size + 1 + added.length);
  for (const [key, colour] of before) assert.equal(after.get(key), colour);
  if (!added.length) return null;
  const point = added[0].split(',').map(Number);
  assert.ok(point.every((v) => v < SIZE) && after.get(added[0]) === 3 - mover, `reply ${added[0]}`);
  return point;
}

// Next to the person's last stone where possible, else the first empty point.
function chooseClick(board, last) {
  const near = last ? LINES.flatMap(([dx, dy]) => [[last[0] + dx, last[1] + dy], [last[0] - dx, last[1] - dy]]) : [];
  const all = Array.from({ length: SIZE * SIZE }, (_, i) => [(7 + i) % SIZE, (7 + Math.floor(i / SIZE)) % SIZE]);
  return [...near, ...all].find(([x, y]) => x >= 0 && y >= 0 && x < SIZE && y < SIZE && !board.has(`${x},${y}`));
}

test('a whole game by clicking ends at the first five, highlighted; bad clicks change nothing', async () => {
  const page = await openGame(2);
  let board = new Map();
  let mine = null;
  let last = null;
  for (let turn = 0; (await state(page)) === 'ready'; turn++) {
    const point = chooseClick(board, mine);
    const before = board;
    board = await click(page, point);
    last = reply(before, board, point) ?? point;
    mine = point;
    assert.equal(await state(page), longestRun(board, last).length >= 5 ? 'won' : 'ready', 'the game ends at the first five');
    if (turn === 1) {
      assert.deepEqual(await click(page, point), board, 'an occupied point is refused');
      // Two clicks at once: the second comes while the engine thinks.
      await page.$$eval('rect.hit', (hits) => [hits[0], hits.at(-1)].forEach((hit) => hit.dispatchEvent(new MouseEvent('click'))));
      await settled(page);
      const previous = board;
      board = (await shown(page)).board;
      last = reply(previous, board, [0, 0]);
    }
  }
  const { five } = await shown(page);
  assert.deepEqual(five, longestRun(board, last), 'the five is highlighted');
  assert.match(await page.$eval('#status', (s) => s.textContent), board.get(last.join()) === 1 ? /black five/ : /white five/);
  assert.deepEqual(await click(page, chooseClick(board, null)), board, 'no move after the game is over');
  await page.close();
});

test('undo takes back one move at a time; the engine then answers the position sent whole', async () => {
  const page = await openGame(2);
  const boards = [new Map()];
  for (let turn = 0; turn < 3; turn++) boards.push(await click(page, chooseClick(boards.at(-1), null)));
  for (const expected of [boards[2], boards[1]]) {
    for (const stones of [expected.size + 1, expected.size]) {
      await page.click('#undo');
      await settled(page);
      assert.equal((await shown(page)).board.size, stones);
    }
    assert.deepEqual((await shown(page)).board, expected);
  }
  const point = chooseClick(boards[1], null);
  assert.ok(reply(boards[1], await click(page, point), point));
  await page.close();
});

// The native engine's move at a fixed depth, the engine to move.
async function nativeMove(moves, depth) {
  const brain = spawn(NATIVE, [], { stdio: ['pipe', 'pipe', 'inherit'] });
  const stones = moves.map(([x, y], i) => `${x},${y},${(moves.length - i) % 2 ? 2 : 1}`);
  brain.stdin.write([`START ${SIZE}`, `INFO max_depth ${depth}`, 'INFO timeout_turn 100000', 'INFO time_left 1000000000',
    'BOARD', ...stones, 'DONE', ''].join('\r\n'));
  let text = '';
  for await (const chunk of brain.stdout) {
    const move = /^(\d+,\d+)\r?$/m.exec(text += chunk);
    if (move) {
      brain.stdin.end('END\r\n');
      return move[1];
    }
  }
  throw new Error(`no move from the native engine: ${text}`);
}

test('a pasted position is answered as the native engine answers it; a bad one changes nothing', async () => {
  const depth = 4;
  const page = await openGame(depth);
  for (const position of ['h8i9h9i8g7', 'h8h9i8g8j8k8i9', 'g7h8i7h7h6i9j10g6f5', 'a1a3b1b3c1c3d1']) {
    await setValue(page, '#pos', position);
    await page.click('#paste');
    await settled(page);
    const moves = [...position.matchAll(/([a-z])(\d+)/g)].map(([, c, r]) => [c.charCodeAt(0) - 97, Number(r) - 1]);
    const board = (await shown(page)).board;
    moves.forEach(([x, y], i) => assert.equal(board.get(`${x},${y}`), i % 2 + 1, position));
    const added = [...board.keys()].filter((key) => !moves.some((m) => m.join() === key));
    assert.deepEqual(added, [await nativeMove(moves, depth)], position);
  }
  // White's a3-c3 gains a four on d3: the threats view shows it in white's half.
  await page.click('#threats');
  assert.ok(await page.$eval('rect.threat.white[data-x="3"][data-y="2"]', (r) => Number(r.dataset.category) <= 7));
  const kept = (await shown(page)).board;
  for (const bad of ['h8h8', 'z99', 'h8 i9?', 'a1b1a2b2a3b3a4b4a5b5']) {
    await setValue(page, '#pos', bad);
    await page.click('#paste');
    assert.match(await page.$eval('#notice', (n) => n.textContent), /unchanged/, bad);
    assert.deepEqual((await shown(page)).board, kept, bad);
  }
  await page.close();
});

test('renju: black may not play a crossed point, neither the person nor the engine', async () => {
  const page = await openGame(4, 4);
  // White must block black's c-column four; h8 then makes two threes for black.
  await setValue(page, '#pos', 'f8c2g8n1h6n4h7a13c3a10c4e13c5l15c6');
  await page.click('#paste');
  await settled(page);
  const crosses = () => page.$$eval('path.forbidden', (all) => all.map((c) => `${c.dataset.x},${c.dataset.y}`));
  assert.ok((await crosses()).includes('7,7'));
  const kept = (await shown(page)).board;
  assert.deepEqual(await click(page, [7, 7]), kept, 'a forbidden point is refused');
  assert.match(await page.$eval('#notice', (n) => n.textContent), /forbidden/);
  await page.reload();
  await settled(page);
  assert.ok((await crosses()).includes('7,7'), 'the crosses are back after a reload');
  // Swapping sides makes the engine play black where the crosses were drawn.
  for (let round = 0; round < 3 && (await state(page)) === 'ready'; round++) {
    const forbidden = await crosses();
    const before = (await shown(page)).board;
    await page.click('#swap');
    await settled(page);
    const added = [...(await shown(page)).board.keys()].filter((key) => !before.has(key));
    assert.ok(added.length === 1 && !forbidden.includes(added[0]), `black's ${added} among ${forbidden}`);
    await page.click('#swap');
    await settled(page);
  }
  await page.close();
});

test('the move list steps back, forward and branches; a game saved as .psq loads back; the page remembers it', async () => {
  const page = await openGame(2);
  await page.$eval('#board', (board) => board.focus());
  for (const key of ['ArrowLeft', 'ArrowUp', 'Enter']) await page.keyboard.press(key);
  await settled(page);
  let board = (await shown(page)).board;
  assert.equal(board.get('6,6'), 1, 'the keyboard cursor played g7');
  for (let turn = 0; turn < 2; turn++) board = await click(page, chooseClick(board, null));
  const full = await listed(page);
  assert.equal(full.length, 6);
  await page.keyboard.down('Control');
  await page.keyboard.press('z');
  await page.keyboard.up('Control');
  await page.click('#undo');
  assert.deepEqual((await listed(page)).map(([, later]) => later), [false, false, false, false, true, true]);
  await page.click('#redo');
  assert.equal((await shown(page)).board.size, 5);
  await page.click('#moves button[data-index="2"]');
  assert.equal((await shown(page)).board.size, 2);
  // Not the third move played before: that would keep the line.
  const atTwo = (await shown(page)).board;
  board = await click(page, chooseClick(new Map([...atTwo, [chooseClick(atTwo, null).join(), 1]]), null));
  const branch = await listed(page);
  assert.ok(branch.length === 4 && branch.every(([, later]) => !later) && branch[1][0] === full[1][0] && branch[2][0] !== full[2][0]);

  const saved = await page.evaluate(() => new Promise((resolve) => {
    HTMLAnchorElement.prototype.click = function () { fetch(this.href).then((r) => r.text()).then(resolve); };
    document.getElementById('save-psq').click();
  }));
  assert.deepEqual(fromPsq(saved).moves.map(({ x, y }) => `${x},${y}`).sort(), [...board.keys()].sort());
  await page.click('#new');
  await settled(page);
  const file = join(profile, 'game.psq');
  writeFileSync(file, saved);
  await (await page.$('#load')).uploadFile(file);
  await page.waitForFunction(() => document.querySelectorAll('circle.stone').length === 4);
  assert.deepEqual(await listed(page), branch);
  await page.reload();
  await settled(page);
  assert.deepEqual(await listed(page), branch, 'remembered across a reload');
  assert.deepEqual((await shown(page)).board, board);
  if (SCREENSHOT) {
    for (let turn = 0; turn < 4 && (await state(page)) === 'ready'; turn++) board = await click(page, chooseClick(board, [7, 7]));
    await page.$eval('#threats', (box) => { box.checked = true; box.dispatchEvent(new Event('change')); });
    for (const id of ['#undo', '#undo']) await page.click(id);
    await page.screenshot({ path: SCREENSHOT });
  }
  await page.close();
});

test('a phone plays by taps, reads threats by a first tap, with nothing to scroll sideways', async () => {
  const page = await openGame(2, 0, { width: 390, height: 844, hasTouch: true, isMobile: true });
  await page.$eval('#threats', (box) => { box.checked = true; box.dispatchEvent(new Event('change')); });
  let board = new Map();
  for (let turn = 0; turn < 4 && (await state(page)) === 'ready'; turn++) {
    const point = chooseClick(board, null);
    const hit = `rect.hit[data-x="${point[0]}"][data-y="${point[1]}"]`;
    await page.tap(hit);
    // With threats shown the first tap reads the point, the second plays it.
    assert.match(await text(page, '#point-info'), /Tap again/);
    assert.equal((await shown(page)).board.size, board.size);
    await page.tap(hit);
    await settled(page);
    const before = board;
    board = (await shown(page)).board;
    reply(before, board, point);
  }
  if (PHONE_SCREENSHOT) await page.screenshot({ path: PHONE_SCREENSHOT, fullPage: true });
  for (const width of [390, 360]) {
    await page.setViewport({ width, height: 844, hasTouch: true, isMobile: true });
    const [scroll, inner, spacing] = await page.evaluate(() => [document.documentElement.scrollWidth, innerWidth,
      document.querySelector('circle.stone').getBoundingClientRect().width / 0.92]);
    assert.ok(scroll <= inner && spacing >= 20, `${width}: scroll width ${scroll}, points ${spacing} px apart`);
  }
  await page.close();
});

test('a refused time, depth or empty paste says why beside it and changes nothing', async () => {
  const page = await openGame(2);
  for (const [field, value, message] of [['#time', '0', /milliseconds from 100/], ['#depth', 'x', /plies/]]) {
    await page.click(field, { clickCount: 3 });
    await page.type(field, value);
    assert.match(await text(page, `${field}-error`), message);
    assert.match(await text(page, `${field}-error`), /keeps (100000|2)\./);
  }
  const board = await click(page, [7, 7]);
  await page.click('#swap');
  await settled(page);
  assert.equal(await page.$eval('#first', (select) => select.value), 'engine', 'First move follows Swap sides');
  await page.click('#undo');
  page.removeAllListeners('dialog');
  page.once('dialog', (dialog) => dialog.dismiss());
  await page.select('#size', '20');
  assert.equal(await page.$eval('#size', (select) => select.value), '15', 'a refused new game keeps the selector');
  await setValue(page, '#pos', ' ');
  await page.click('#paste');
  assert.match(await text(page, '#notice'), /nothing to paste.*unchanged/);
  assert.deepEqual((await shown(page)).board, board);
  await page.close();
});

// The milliseconds from a click on `button` to a new stone on the board,
// measured in the page, and the best move shown at the click.
const stoneAfterClick = (page, button) => page.evaluate((id) => new Promise((resolve) => {
  const stones = () => document.querySelectorAll('circle.stone').length;
  const before = stones();
  const clicked = performance.now();
  const watch = new MutationObserver(() => {
    if (stones() > before) {
      watch.disconnect();
      resolve([performance.now() - clicked, best]);
    }
  });
  watch.observe(document.getElementById('board'), { childList: true });
  const best = document.getElementById('info-best').textContent;
  document.getElementById(id).click();
}), button);
const depthShown = (page) => page.waitForFunction(() => /^\d+/.test(document.getElementById('info-depth').textContent), { timeout: 60000 });

test('Stop ends a 30 s think at once with its best move; Undo, Paste and New game cancel a think', async () => {
  const page = await openGame(0);
  await setValue(page, '#time', '30000');
  await setValue(page, '#pos', 'h8i9h9i8');
  await page.click('#paste');
  await depthShown(page);
  await page.waitForFunction(() => /^\d+\.\d s$/.test(document.getElementById('clock').textContent));
  const [latency, best] = await stoneAfterClick(page, 'stop');
  console.log(`Stop: the engine's move was on the board ${latency.toFixed(1)} ms after the click`);
  assert.ok(latency < 100, `${latency} ms`);
  const moves = await listed(page);
  assert.equal(moves.length, 5);
  assert.equal(moves[4][0], `5. ${best}`, 'the best move reported is played');
  await settled(page);
  // The fresh engine searches again; Undo, Paste and New game each cancel a think.
  const paste = async () => {
    await setValue(page, '#pos', 'h8i9h9i8');
    await page.click('#paste');
    await depthShown(page);
  };
  await paste();
  await page.click('#undo');
  await settled(page);
  assert.deepEqual((await listed(page)).map(([, later]) => later), [false, false, false, true]);
  await paste();
  await paste();
  assert.equal((await listed(page)).length, 4);
  await page.click('#new');
  await settled(page);
  // The engine has black here: its first move is at once.
  assert.ok((await shown(page)).board.size <= 1);
  await page.close();
});

test('Analyse shows successive depths and the best line, starts again after an edit; Hint marks the best moves', async () => {
  const page = await openGame(2);
  await setValue(page, '#pos', 'h8i9h9i8g7');
  await page.click('#paste');
  await settled(page);
  const stones = (await shown(page)).board.size;
  await page.$eval('#threats', (box) => { box.checked = false; box.dispatchEvent(new Event('change')); });
  await page.click('#analyse');
  const depths = new Set();
  while (depths.size < 2) {
    await depthShown(page);
    depths.add(parseInt(await text(page, '#info-depth'), 10));
  }
  assert.match(await text(page, '#info-word'), /black|white|even/);
  const [ghosts, line] = await page.evaluate(() => [document.querySelectorAll('circle.ghost').length, document.getElementById('info-line').textContent]);
  assert.equal(ghosts, line.split(' ').length, line);
  if (ANALYSIS_SCREENSHOT) await page.screenshot({ path: ANALYSIS_SCREENSHOT });
  const point = chooseClick((await shown(page)).board, null);
  const depthAfterEdit = await page.$eval(`rect.hit[data-x="${point[0]}"][data-y="${point[1]}"]`, (hit) => {
    hit.dispatchEvent(new MouseEvent('click', { bubbles: true }));
    return document.getElementById('info-depth').textContent;
  });
  assert.match(depthAfterEdit, /searching/, 'the figures of the position before are cleared');
  const board = (await shown(page)).board;
  assert.equal(board.size, stones + 1, 'an edit is not answered by the engine');
  await depthShown(page);
  await page.click('#stop');
  await settled(page);
  assert.deepEqual((await shown(page)).board, board);

  await setValue(page, '#nbest', '3');
  await page.click('#hint');
  await settled(page);
  const marks = await page.$$eval('circle.candidate', (all) => all.map((c) => `${c.dataset.x},${c.dataset.y}`));
  assert.ok(marks.length === 3 && marks.every((key) => !board.has(key)) && new Set(marks).size === 3, marks.join(' '));
  assert.equal(await page.$$eval('text.candidate-value', (all) => all.filter((t) => /^[+-]?(M?\d+)$/.test(t.textContent)).length), 3);
  assert.deepEqual((await shown(page)).board, board);
  // On the empty board the engine answers at once, and says so.
  await page.click('#new');
  await settled(page);
  await page.click('#hint');
  await settled(page);
  assert.match(await text(page, '#info-depth'), /no search/);
  assert.equal(await page.$$eval('circle.candidate', (all) => all.length), 1);
  await page.close();
});
