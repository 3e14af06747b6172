// The page's controller: the game, the person's clicks and buttons, and the
// conversation with the engine.
import { BoardView } from './board-view.js';
import { EngineClient } from './engine-client.js';
import { BLACK, WHITE, Position } from './position.js';
import { RULES, ruleById } from './rules.js';

const $ = (id) => document.getElementById(id);
const MOVE_LINE = /^(\d+),(\d+)$/;
// The page has no match clock: every move gets the full time per move.
const TIME_LEFT = 1000000000;

const engine = new EngineClient();
const view = new BoardView($('board'), (x, y) => humanMove(x, y));
let game;
let humanColour = BLACK;
let busy = false;
// How many moves of the game the engine's own board holds; -1 when it holds
// another position (after undo, paste or swap) and must be sent it whole.
let engineMoves = -1;
// The engine's threat map per number of moves, from positions it held.
let threatMaps = new Map();

for (const rule of RULES) $('rule').add(new Option(rule.name, rule.id));
$('new').onclick = () => newGame();
$('undo').onclick = () => undo();
$('swap').onclick = () => swapSides();
$('copy').onclick = () => copyPosition();
$('paste').onclick = () => pastePosition();
$('numbers').onchange = $('threats').onchange = () => redraw();

function settings() {
  return {
    rule: Number($('rule').value),
    size: Number($('size').value),
    time: Math.max(100, Number($('time').value) || 2000),
    depth: Math.max(0, Number($('depth').value) || 0),
  };
}

function engineColour() { return WHITE + BLACK - humanColour; }

function notice(text = '') { $('notice').textContent = text; }

// The empty points black may not play now, as "x,y", from the engine's map.
function forbiddenPoints() {
  const map = game.toMove() === BLACK ? threatMaps.get(game.moves.length) : null;
  const points = new Set();
  map?.forEach(([, , forbidden], p) => forbidden && points.add(`${p % game.size},${Math.floor(p / game.size)}`));
  return points;
}

function redraw() {
  const map = threatMaps.get(game.moves.length) ?? null;
  const threats = $('threats').checked ? map : null;
  view.draw(game, { numbers: $('numbers').checked, threats, forbidden: forbiddenPoints() });
  $('pos').value = game.toNotation();
  let status;
  if (game.winner) status = `${game.winner === humanColour ? 'You win' : 'The engine wins'} (${game.winner === BLACK ? 'black' : 'white'} five).`;
  else if (game.full()) status = 'Draw: the board is full.';
  else if (busy) status = 'Engine thinking';
  else if (game.toMove() !== humanColour) status = 'The engine is to move: click the board to ask it again.';
  else status = `Your move (${humanColour === BLACK ? 'black' : 'white'}).`;
  $('status').textContent = status;
  document.body.classList.toggle('thinking', busy);
  document.body.dataset.state = game.winner ? 'won' : game.full() ? 'draw' : busy ? 'thinking' : 'ready';
}

async function ask(...lines) {
  busy = true;
  redraw();
  try {
    return await engine.send(...lines);
  } finally {
    busy = false;
  }
}

// Shows what the engine said beside its move; returns its move, if any.
function readAnswer(lines) {
  let move = null;
  for (const line of lines) {
    const moveMatch = MOVE_LINE.exec(line);
    if (moveMatch) move = { x: Number(moveMatch[1]), y: Number(moveMatch[2]) };
    else if (line.startsWith('MESSAGE ')) $('messages').textContent += line.slice(8) + '\n';
    else if (line.startsWith('ERROR ')) notice(`Engine: ${line.slice(6)}`);
    else if (line.startsWith('DEBUG deep = ')) $('info-depth').textContent = line.slice(13);
    else if (line.startsWith('DEBUG value = ')) $('info-value').textContent = line.slice(14);
    else if (line.startsWith('DEBUG AB: ')) $('info-speed').textContent = line.slice(10);
  }
  $('messages').scrollTop = $('messages').scrollHeight;
  return move;
}

// The engine's categories as [black, white, forbidden for black] per point;
// black's letter is upper case where black may not play.
async function fetchThreats() {
  const line = (await ask('threats')).find((answer) => answer.startsWith('THREATS '));
  if (!line) return;
  const letters = line.slice(8);
  const map = [];
  for (let i = 0; i < letters.length; i += 2) {
    const [own, other] = [letters[i], letters[i + 1]].map((letter) => letter.toLowerCase().charCodeAt(0) - 97);
    const [black, white] = engineColour() === BLACK ? [own, other] : [other, own];
    map.push([black, white, /[A-Z]/.test(letters[i] + letters[i + 1])]);
  }
  threatMaps.set(game.moves.length, map);
}

// The engine plays the side to move: told the last move when its board holds
// all before it, otherwise the whole game from a fresh start (which also
// mends an engine that restarted after an error).
async function engineMove() {
  const { time, depth } = settings();
  const limits = [`info timeout_turn ${time}`, `info time_left ${TIME_LEFT}`, `info max_depth ${depth}`];
  const moves = game.moves;
  let request;
  if (engineMoves >= 0 && engineMoves === moves.length - 1) request = [`turn ${moves.at(-1).x},${moves.at(-1).y}`];
  else {
    const start = [`info rule ${game.rule.id}`, `start ${game.size}`];
    const stones = moves.map(({ x, y }, i) => `${x},${y},${game.colourOf(i) === engineColour() ? 1 : 2}`);
    request = moves.length ? [...start, 'board', ...stones, 'done'] : [...start, 'begin'];
  }
  const move = readAnswer(await ask(...limits, ...request));
  if (!move || !game.inside(move.x, move.y) || game.at(move.x, move.y)) {
    engineMoves = -1;
    notice('The engine gave no playable move.');
    redraw();
    return;
  }
  game.play(move.x, move.y);
  engineMoves = game.moves.length;
  await fetchThreats();
  redraw();
}

async function newGame() {
  if (busy) return;
  const { rule, size } = settings();
  game = new Position(size, ruleById(rule));
  humanColour = $('first').value === 'engine' ? WHITE : BLACK;
  threatMaps = new Map();
  notice();
  $('messages').textContent = '';
  readAnswer(await ask(`info rule ${rule}`, `start ${size}`));
  engineMoves = 0;
  if (humanColour === BLACK) await fetchThreats();
  else await engineMove();
  redraw();
}

async function humanMove(x, y) {
  if (busy || game.over()) return;
  if (game.toMove() !== humanColour) {
    // The engine failed to move: a click asks it again.
    await engineMove();
    redraw();
    return;
  }
  if (game.at(x, y)) {
    notice('That point is taken.');
    return;
  }
  if (forbiddenPoints().has(`${x},${y}`)) {
    notice('That point is forbidden for black under renju (overline, double four or double three).');
    return;
  }
  notice();
  game.play(x, y);
  if (!game.over()) await engineMove();
  redraw();
}

async function undo() {
  if (busy || game.moves.length === 0) return;
  notice();
  game.undo();
  while (game.moves.length && game.toMove() !== humanColour) game.undo();
  engineMoves = -1;
  if (game.toMove() !== humanColour) await engineMove();
  redraw();
}

async function swapSides() {
  if (busy || game.over()) return;
  humanColour = engineColour();
  engineMoves = -1;
  notice();
  await engineMove();
  redraw();
}

async function copyPosition() {
  $('pos').value = game.toNotation();
  try {
    await navigator.clipboard.writeText($('pos').value);
    notice('Position copied.');
  } catch {
    $('pos').select();
  }
}

// The pasted position replaces the game; the engine takes the side to move.
async function pastePosition() {
  if (busy) return;
  let pasted;
  try {
    pasted = Position.fromNotation($('pos').value, game.size, game.rule);
  } catch (error) {
    notice(`${error.message} The game is unchanged.`);
    $('pos').value = game.toNotation();
    return;
  }
  game = pasted;
  humanColour = WHITE + BLACK - game.toMove();
  threatMaps = new Map();
  engineMoves = -1;
  notice();
  await engineMove();
  redraw();
}

newGame();
