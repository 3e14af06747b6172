// The page's controller: the game and its record, the person's clicks, keys
// and buttons, what the page remembers, and the conversation with the engine.
import { AnalysisStream } from './analysis-stream.js';
import { BoardView } from './board-view.js';
import { EngineClient } from './engine-client.js';
import { GameRecord } from './game-record.js';
import { LIMITS, checkLimit } from './limits.js';
import { MoveList } from './move-list.js';
import { BLACK, WHITE, Position, pointName } from './position.js';
import { fromPsq, isPsq, toPsq } from './psq.js';
import { RULES, ruleById } from './rules.js';
import { loadSaved, save } from './saved.js';
import { BANDS, THREAT_WORDS } from './threat-names.js';
import { describeValue } from './value-words.js';

const $ = (id) => document.getElementById(id);
const MOVE_LINE = /^(\d+),(\d+)$/;
// The page has no match clock: every move gets the full time per move.
const TIME_LEFT = 1000000000;
const SIZES = [15, 20];
// What the engine writes while it searches: live marks and a block a completed iteration.
const DETAIL = 'info show_detail 3';
const SEARCH_WORDS = { move: "The engine's move", analyse: 'Analysis', hint: 'Hint' };

const engine = new EngineClient();
const view = new BoardView($('board'), { onPlay: (x, y) => pointChosen(x, y), onInspect: (x, y, tapped) => describe(x, y, tapped) });
const moveList = new MoveList($('moves'), (index) => step(() => record.jump(index)));
let record = new GameRecord();
let game;
let humanColour = BLACK;
// The engine's request under way: { kind, started, stream, toMove, notation },
// kind 'move', 'analyse' or 'hint' for a search, 'quiet' for one that is not;
// null when the engine is idle.
let think = null;
// The last search, running or not, whose figures and marks are shown.
let search = null;
// Analyse mode: the engine searches the position on the board until stopped,
// and starts again on every change to it.
let analysing = false;
// The moves the engine's board holds, or null when it holds another position
// (after a step back, a load or a swap) and must be sent the game whole.
let engineLine = null;
// The engine's threat map per position (by notation), from positions it held.
let threatMaps = new Map();
// When the side to move got the turn, for the time a move took.
let moveClock = performance.now();
// The limits in force: a refused value leaves the last good one.
const limits = { time: LIMITS.time.fallback, depth: LIMITS.depth.fallback, nbest: LIMITS.nbest.fallback };
// The time a search has run, under the status (which screen readers hear once).
setInterval(() => {
  $('clock').textContent = think && think.kind !== 'quiet' ? `${((performance.now() - think.started) / 1000).toFixed(1)} s` : '';
}, 100);

for (const rule of RULES) $('rule').add(new Option(rule.name, rule.id));
$('key').replaceChildren(...BANDS.map(({ name }, band) => {
  const item = document.createElement('li');
  item.innerHTML = `<span class="swatch black band-${band}"></span><span class="swatch white band-${band}"></span>`;
  item.append(name);
  return item;
}));
$('new').onclick = () => newGame();
$('undo').onclick = () => step(() => record.back());
$('redo').onclick = () => step(() => record.forward());
$('go').onclick = () => engineTakesTurn();
$('swap').onclick = () => swapSides();
$('stop').onclick = () => stop();
$('analyse').onclick = () => (analysing ? stop() : startAnalysis());
$('hint').onclick = () => giveHint();
$('first').onchange = () => {
  if (($('first').value === 'human') !== (humanColour === BLACK)) swapSides();
};
$('rule').onchange = $('size').onchange = (event) => changeBoard(event.target.id);
$('time').oninput = $('depth').oninput = $('nbest').oninput = (event) => checkField(event.target.id);
$('copy').onclick = () => copyPosition();
$('paste').onclick = () => pasteButton();
$('pos').onkeydown = (event) => {
  if (event.key !== 'Enter') return;
  event.preventDefault();
  loadText($('pos').value, 'paste');
};
document.addEventListener('paste', (event) => {
  if (event.target.closest?.('input')) return;
  event.preventDefault();
  loadText(event.clipboardData.getData('text'), 'paste');
});
$('save-psq').onclick = () => download('game.psq', toPsq(game.size, record.line));
$('save-text').onclick = () => download('game.txt', `${record.line.map(({ x, y }) => pointName(x, y)).join('')}\n`);
$('load').onchange = async () => {
  const file = $('load').files[0];
  $('load').value = '';
  if (file) loadText(await file.text(), 'file');
};
$('numbers').onchange = $('threats').onchange = () => redraw();
document.addEventListener('keydown', (event) => {
  if (event.key === 'Escape' && think) {
    stop();
    return;
  }
  if (!(event.ctrlKey || event.metaKey) || event.target.closest?.('input, select, textarea')) return;
  const key = event.key.toLowerCase();
  if (key === 'z' && !event.shiftKey) $('undo').click();
  else if (key === 'y' || key === 'z') $('redo').click();
  else return;
  event.preventDefault();
});

function engineColour() { return WHITE + BLACK - humanColour; }
function colourName(colour) { return colour === BLACK ? 'black' : 'white'; }
function notice(text = '') { $('notice').textContent = text; }
const sameMoves = (a, b) => a.length === b.length && a.every((move, i) => move.x === b[i].x && move.y === b[i].y);

// Checks a limit field, says why a value is refused beside it, and returns
// the limit in force.
function checkField(name) {
  const { value, error } = checkLimit(name, $(name).value);
  if (!error) limits[name] = value;
  $(`${name}-error`).textContent = error ? `${error} The engine keeps ${limits[name]}.` : '';
  $(name).setAttribute('aria-invalid', String(Boolean(error)));
  return limits[name];
}

function threatMap() { return threatMaps.get(game.toNotation()) ?? null; }

// The empty points black may not play now, as "x,y", from the engine's map.
function forbiddenPoints() {
  const map = game.toMove() === BLACK ? threatMap() : null;
  const points = new Set();
  map?.forEach(([, , forbidden], p) => forbidden && points.add(`${p % game.size},${Math.floor(p / game.size)}`));
  return points;
}

// Says what is on a point, for the eye and for screen readers; said again
// when the board changes under it.
let described = null;
function describe(x, y, tapped = false) {
  described = { x, y };
  const index = game.moves.findIndex((move) => move.x === x && move.y === y);
  let text = `${pointName(x, y)}: `;
  if (index >= 0) text += `${colourName(game.colourOf(index))} stone, move ${index + 1}`;
  else {
    text += 'empty';
    const pair = $('threats').checked ? threatMap()?.[y * game.size + x] : null;
    if (pair) text += `; black: ${THREAT_WORDS[pair[0]]}, white: ${THREAT_WORDS[pair[1]]}`;
    if (forbiddenPoints().has(`${x},${y}`)) text += '; forbidden for black';
    if (tapped) text += '. Tap again to play here';
  }
  $('point-info').textContent = `${text}.`;
}

function status() {
  if (game.winner) return `${game.winner === humanColour ? 'You win' : 'The engine wins'} (${colourName(game.winner)} five).`;
  if (game.full()) return 'Draw: the board is full.';
  if (think) {
    const doing = { move: 'Engine thinking', analyse: `Analysing, ${colourName(think.toMove)} to move`, hint: 'Looking for a hint', quiet: 'Engine thinking' };
    return doing[think.kind];
  }
  if (game.toMove() !== humanColour) return `The engine (${colourName(engineColour())}) is to move: press Engine move, or place its stone yourself.`;
  return `Your move (${colourName(humanColour)}).`;
}

// The search's marks while they belong to the position on the board: its best
// line ahead while it runs (and after an analysis), a finished hint's
// candidates with their values.
function searchMarks() {
  if (!search || search.notation !== game.toNotation() || (search.kind === 'move' && search !== think)) return {};
  const ghosts = (search.stream.main?.line ?? []).map(({ x, y }, i) => ({ x, y, colour: i % 2 ? 3 - search.toMove : search.toMove }));
  if (search.kind !== 'hint' || search === think) return { ghosts };
  const candidates = search.stream.candidates.filter((block) => block?.line.length).map((block) => ({
    ...block.line[0], label: block.index + 1, value: describeValue(block, search.toMove, humanColour).text,
  }));
  if (!candidates.length && search.answer) candidates.push({ ...search.answer, label: 1 });
  return { candidates };
}

// The last search while the board shows its position, or the engine's move
// played on it; null once the board shows another.
function searchShown() {
  const notation = game.toNotation();
  return search && (search.notation === notation || search.after === notation) ? search : null;
}

// The figures of the shown search, from the person's side; none from a search
// of another position or from an answer given without a search.
function showFigures() {
  const shown = searchShown();
  const main = shown?.stream.main;
  const running = shown && shown === think;
  let depth = '–';
  if (main) depth = `${main.depth} (deepest line ${main.selDepth})`;
  else if (running) depth = 'searching…';
  else if (shown?.stopped) depth = 'stopped before a first iteration ended';
  else if (shown) depth = 'no search: the engine answered at once';
  const value = main ? describeValue(main, shown.toMove, humanColour) : null;
  $('search-caption').textContent = shown ? `${SEARCH_WORDS[shown.kind]}, ${colourName(shown.toMove)} to move${running ? '' : ' (ended)'}` : '';
  $('info-depth').textContent = depth;
  $('info-value').textContent = value ? `${value.text} for you (${colourName(humanColour)})` : '–';
  $('info-word').textContent = value ? value.word : '–';
  const best = shown?.stream.best;
  $('info-best').textContent = best ? pointName(best.x, best.y) : '–';
  $('info-line').textContent = main?.line.map(({ x, y }) => pointName(x, y)).join(' ') || '–';
  $('info-speed').textContent = main ? `${Math.round(main.speed / 1000)}k nodes/s, ${main.totalNodes} nodes in ${(main.time / 1000).toFixed(1)} s` : '–';
}

function drawBoard() {
  const map = threatMap();
  view.draw(game, { numbers: $('numbers').checked, threats: $('threats').checked ? map : null, forbidden: forbiddenPoints(), ...searchMarks() });
}

function redraw() {
  drawBoard();
  showFigures();
  moveList.draw(record, (index) => game.colourOf(index), false);
  if (described && game.inside(described.x, described.y)) describe(described.x, described.y);
  $('pos').value = game.toNotation();
  $('status').textContent = status();
  const searching = Boolean(think && think.kind !== 'quiet');
  $('stop').disabled = !searching;
  $('analyse').setAttribute('aria-pressed', String(analysing));
  $('undo').disabled = record.cursor === 0;
  $('redo').disabled = record.cursor === record.line.length;
  // The selectors always say what the board is.
  $('rule').value = game.rule.id;
  $('size').value = game.size;
  $('first').value = humanColour === BLACK ? 'human' : 'engine';
  document.body.classList.toggle('thinking', Boolean(think));
  document.body.dataset.state = think ? 'thinking' : game.winner ? 'won' : game.full() ? 'draw' : 'ready';
  save({
    rule: game.rule.id, size: game.size, human: humanColour, time: $('time').value, depth: $('depth').value, nbest: $('nbest').value,
    numbers: $('numbers').checked, threats: $('threats').checked,
    line: record.line.map(({ x, y, t }) => [x, y, t]), cursor: record.cursor,
  });
}

// The game and settings the page had when it was last left; false if none.
function restore() {
  const saved = loadSaved();
  if (!saved) return false;
  try {
    const rule = ruleById(saved.rule);
    const size = SIZES.includes(saved.size) ? saved.size : SIZES[0];
    const line = saved.line.map(([x, y, t]) => ({ x, y, t }));
    Position.fromMoves(size, rule, line, { finished: true });
    record = new GameRecord(line, Math.min(line.length, Math.max(0, saved.cursor)) || 0);
    game = Position.fromMoves(size, rule, record.moves, { finished: true });
  } catch {
    return false;
  }
  humanColour = saved.human === WHITE ? WHITE : BLACK;
  $('time').value = saved.time ?? LIMITS.time.fallback;
  $('depth').value = saved.depth ?? LIMITS.depth.fallback;
  $('nbest').value = saved.nbest ?? LIMITS.nbest.fallback;
  $('numbers').checked = Boolean(saved.numbers);
  $('threats').checked = Boolean(saved.threats);
  checkField('time');
  checkField('depth');
  checkField('nbest');
  return true;
}

// Sends the engine a request and awaits its answer, showing a search's
// progress as the engine writes it; null when the request was cancelled.
async function request(kind, lines) {
  const current = { kind, started: performance.now(), stream: new AnalysisStream(), toMove: game.toMove(), notation: game.toNotation() };
  think = current;
  if (kind !== 'quiet') search = current;
  redraw();
  const answer = await engine.send(lines, (line) => {
    if (current.stream.feed(line) && think === current) {
      drawBoard();
      showFigures();
    }
  });
  if (think !== current) return null;
  think = null;
  return answer;
}

// Ends the engine's request at once, its answer never to come; the fresh
// engine is sent the whole game with the next request.
function cancel() {
  if (!think) return;
  engine.restart();
  think = null;
  engineLine = null;
}

// Ends the engine's request and the analysis before the engine is asked for
// something new; false (the board redrawn) when the game is over.
function interrupt() {
  cancel();
  analysing = false;
  if (!game.over()) return true;
  redraw();
  return false;
}

// The lines that set a search's limits.
function limitLines(time, depth) {
  return [DETAIL, `info timeout_turn ${time}`, `info time_left ${TIME_LEFT}`, `info max_depth ${depth}`];
}

// The game's stones as BOARD lines, field 1 for the stones of `own`.
function stoneLines(own) {
  return game.moves.map(({ x, y }, i) => `${x},${y},${game.colourOf(i) === own ? 1 : 2}`);
}

// Logs what the engine said beside its move; returns its move, if any.
function readAnswer(lines) {
  let move = null;
  for (const line of lines) {
    const moveMatch = MOVE_LINE.exec(line);
    if (moveMatch) move = { x: Number(moveMatch[1]), y: Number(moveMatch[2]) };
    // The search's own lines are shown as figures, not logged.
    else if (!/^(INFO |MESSAGE REALTIME )/.test(line)) $('log').textContent += `${line}\n`;
    if (line.startsWith('ERROR ')) notice(`Engine: ${line.slice(6)}`);
  }
  $('log').scrollTop = $('log').scrollHeight;
  return move;
}

// The engine's categories as [black, white, forbidden for black] per point;
// black's letter is upper case where black may not play.
async function fetchThreats() {
  // An engine that lost the game (restarted) is given the position again,
  // unsearched, as the side to move sees it: its own colour is then that side's.
  const held = engineLine && sameMoves(engineLine, game.moves);
  const own = held ? engineColour() : game.toMove();
  const setup = held ? [] : [`info rule ${game.rule.id}`, `start ${game.size}`, 'yxboard', ...stoneLines(own), 'done'];
  const answer = await request('quiet', [...setup, 'threats']);
  if (!answer) return;
  // Set up as the person's side, the engine must be sent the game whole to play.
  engineLine = own === engineColour() ? game.moves : null;
  const line = answer.find((text) => text.startsWith('THREATS '));
  if (!line) return;
  const letters = line.slice(8);
  const map = [];
  for (let i = 0; i < letters.length; i += 2) {
    const [mine, other] = [letters[i], letters[i + 1]].map((letter) => letter.toLowerCase().charCodeAt(0) - 97);
    const [black, white] = own === BLACK ? [mine, other] : [other, mine];
    map.push([black, white, /[A-Z]/.test(letters[i] + letters[i + 1])]);
  }
  threatMaps.set(game.toNotation(), map);
}

// The crosses and threat letters of a position the engine has not held yet:
// after a reload, a loaded file or a step through the moves.
async function showThreats() {
  if (!threatMap() && !think && !game.over()) await fetchThreats();
  redraw();
}

function sync() {
  game = Position.fromMoves(game.size, game.rule, record.moves, { finished: true });
  moveClock = performance.now();
}

// The engine plays the side to move: told the last move when its board holds
// all before it, otherwise the whole game from a fresh start (which also
// mends an engine that restarted after an error).
async function engineMove() {
  const moves = game.moves;
  let lines;
  if (engineLine && moves.length && sameMoves(engineLine, moves.slice(0, -1))) lines = [`turn ${moves.at(-1).x},${moves.at(-1).y}`];
  else {
    const start = [`info rule ${game.rule.id}`, `start ${game.size}`];
    lines = moves.length ? [...start, 'board', ...stoneLines(engineColour()), 'done'] : [...start, 'begin'];
  }
  const started = performance.now();
  const answer = await request('move', [...limitLines(checkField('time'), checkField('depth')), ...lines]);
  if (!answer) return;
  const move = readAnswer(answer);
  if (!move || !game.inside(move.x, move.y) || game.at(move.x, move.y)) {
    engineLine = null;
    notice('The engine gave no playable move: press Engine move to ask again.');
    return;
  }
  record.play({ ...move, t: Math.round(performance.now() - started) });
  sync();
  search.after = game.toNotation();
  engineLine = game.moves;
  await fetchThreats();
}

// Stop ends the search at once. The engine's move is then its best so far
// (the last one it reported, else the page's own pick); an analysis or a hint
// keeps what it found.
function stop() {
  const current = think;
  if (!current || current.kind === 'quiet') return;
  cancel();
  analysing = false;
  current.stopped = true;
  if (current.kind === 'move' && current.notation === game.toNotation() && !game.over()) {
    const move = playable(current.stream.best) ?? pageMove();
    record.play({ ...move, t: Math.round(performance.now() - current.started) });
    sync();
    current.after = game.toNotation();
    redraw();
    // The fresh engine is given the position once the move is on the board.
    setTimeout(() => fetchThreats().then(redraw));
    return;
  }
  redraw();
}

function playable(move) {
  return move && game.inside(move.x, move.y) && !game.at(move.x, move.y) && !forbiddenPoints().has(`${move.x},${move.y}`) ? move : null;
}

// A move when the engine reported none: the empty point with the strongest
// threat for either side (the mover's first), else the one nearest the centre.
function pageMove() {
  const own = game.toMove() === BLACK ? 0 : 1;
  const centre = (game.size - 1) / 2;
  let best = null;
  let bestKey = Infinity;
  for (let y = 0; y < game.size; y++) {
    for (let x = 0; x < game.size; x++) {
      const pair = threatMap()?.[y * game.size + x];
      const threat = pair ? Math.min(pair[own], pair[1 - own] + 0.5) : THREAT_WORDS.length;
      const key = threat * 1000 + Math.abs(x - centre) + Math.abs(y - centre);
      if (playable({ x, y }) && key < bestKey) [best, bestKey] = [{ x, y }, key];
    }
  }
  return best;
}

// Analysis: the engine searches the side to move for as long as it may,
// until stopped or changed; it is sent the whole position each time.
function startAnalysis() {
  cancel();
  if (game.over()) {
    notice('The game is over: there is nothing to analyse.');
    redraw();
    return;
  }
  analysing = true;
  notice();
  analyse();
}

async function analyse() {
  const lines = [...limitLines(LIMITS.time.max, 0), `info rule ${game.rule.id}`, `start ${game.size}`, 'board', ...stoneLines(game.toMove()), 'done'];
  const answer = await request('analyse', lines);
  if (!answer) return;
  readAnswer(answer);
  analysing = false;
  engineLine = null;
  notice('The analysis ended: the engine finished its search.');
  redraw();
}

// After a change to the position in Analyse mode, the analysis starts again on it.
function resumeAnalysis() {
  if (!analysing) return;
  if (game.over()) analysing = false;
  else analyse();
}

// A hint: the engine's usual think on the side to move, its best moves (as
// many as asked) marked on the board, none played.
async function giveHint() {
  if (!interrupt()) return;
  notice();
  const lines = [...limitLines(checkField('time'), checkField('depth')), `info rule ${game.rule.id}`, `start ${game.size}`,
    'yxboard', ...stoneLines(game.toMove()), 'done', `yxnbest ${checkField('nbest')}`];
  const answer = await request('hint', lines);
  if (!answer) return;
  search.answer = readAnswer(answer);
  engineLine = null;
  redraw();
}

async function newGame() {
  cancel();
  analysing = false;
  const rule = ruleById(Number($('rule').value));
  const size = Number($('size').value);
  humanColour = $('first').value === 'engine' ? WHITE : BLACK;
  checkField('time');
  checkField('depth');
  checkField('nbest');
  record = new GameRecord();
  game = new Position(size, rule);
  threatMaps = new Map();
  notice();
  $('log').textContent = '';
  search = null;
  const answer = await request('quiet', [`info rule ${rule.id}`, `start ${size}`]);
  if (!answer) return;
  readAnswer(answer);
  engineLine = [];
  moveClock = performance.now();
  if (humanColour === BLACK) await fetchThreats();
  else await engineMove();
  redraw();
}

// A rule or size other than the game's starts a new game, asked first when
// that would throw away moves; refused, the selector goes back to the game's.
function changeBoard(id) {
  if (record.line.length && !window.confirm(`A new ${id === 'rule' ? 'rule' : 'board size'} starts a new game. Start one?`)) redraw();
  else newGame();
}

// Steps through the record: nothing is played, the engine waits.
function step(change) {
  cancel();
  change();
  sync();
  notice();
  redraw();
  if (analysing) resumeAnalysis();
  else showThreats();
}

// A point for the side to move: the person's own colour is answered by the
// engine; the engine's colour (after a step back) is the person's to set.
// While the engine thinks on its move, points are not taken; an analysis or a
// hint gives way to the person's move (and the analysis goes on after it).
async function pointChosen(x, y) {
  if (think && (think.kind === 'move' || think.kind === 'quiet')) return;
  if (game.over()) notice('The game is over: step back in the moves, or start a new game.');
  else if (game.at(x, y)) notice('That point is taken.');
  else if (forbiddenPoints().has(`${x},${y}`)) notice('That point is forbidden for black under renju (overline, double four or double three).');
  else {
    notice();
    const mover = game.toMove();
    cancel();
    record.play({ x, y, t: Math.round(performance.now() - moveClock) });
    sync();
    if (analysing) resumeAnalysis();
    else if (mover === humanColour && !game.over()) await engineMove();
  }
  redraw();
}

// The engine plays the side to move, taking that colour if it was the person's.
async function engineTakesTurn() {
  if (!interrupt()) return;
  if (game.toMove() !== engineColour()) {
    humanColour = engineColour();
    engineLine = null;
  }
  notice();
  await engineMove();
  redraw();
}

async function swapSides() {
  cancel();
  analysing = false;
  humanColour = engineColour();
  engineLine = null;
  notice();
  if (!game.over() && game.toMove() === engineColour()) await engineMove();
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

// Paste takes the text typed into the field, or else the clipboard's.
async function pasteButton() {
  const typed = $('pos').value;
  if (typed.trim() !== game.toNotation()) {
    loadText(typed, 'paste');
    return;
  }
  try {
    loadText(await navigator.clipboard.readText(), 'paste');
  } catch {
    notice('The clipboard could not be read here: paste into the field and press Enter.');
  }
}

// The moves and board size of a game record or a position in notation.
function parseGame(text, finished) {
  if (!isPsq(text)) return { size: game.size, moves: Position.fromNotation(text, game.size, game.rule, { finished }).moves };
  const { width, height, moves } = fromPsq(text);
  if (width !== height || !SIZES.includes(width)) throw new Error(`The page plays 15 x 15 and 20 x 20 boards, not ${width} x ${height}.`);
  Position.fromMoves(width, game.rule, moves, { finished });
  return { size: width, moves };
}

// A pasted position replaces the game and the engine takes the side to move;
// a loaded file replaces the game and leaves the side to move to the person.
async function loadText(text, source) {
  let loaded;
  try {
    if (!text.trim()) throw new Error('There is nothing to paste: give a position such as h8i9j10 or a game record.');
    loaded = parseGame(text, source === 'file');
  } catch (error) {
    notice(`${error.message} The game is unchanged.`);
    $('pos').value = game.toNotation();
    return;
  }
  cancel();
  record = new GameRecord(loaded.moves.map(({ x, y, t }) => ({ x, y, t: t ?? 0 })));
  game = new Position(loaded.size, game.rule);
  sync();
  threatMaps = new Map();
  engineLine = null;
  notice(source === 'file' ? `Loaded a game of ${record.line.length} moves.` : '');
  if (analysing) resumeAnalysis();
  else if (source === 'paste') {
    humanColour = WHITE + BLACK - game.toMove();
    await engineMove();
  } else {
    if (!game.over()) humanColour = game.toMove();
    await showThreats();
  }
  redraw();
}

function download(name, text) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], { type: 'text/plain' }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

if (restore()) showThreats();
else newGame();
