// The reading of a search's progress, in node: the native engine's own lines
// at a fixed depth, cut anywhere, and values seen from either side.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { AnalysisStream } from '../../web/analysis-stream.js';
import { describeValue } from '../../web/value-words.js';

const { ZOMAR_NATIVE_ENGINE: NATIVE } = process.env;

test('the native engine\'s n-best lines read back as its candidates, and a cut block changes nothing', { skip: !NATIVE }, () => {
  const depth = 6;
  const input = ['START 15', 'INFO show_detail 3', `INFO max_depth ${depth}`, 'INFO timeout_turn 100000',
    'INFO time_left 1000000000', 'YXBOARD', '7,7,2', '8,8,1', '7,8,2', 'DONE', 'YXNBEST 3', 'END', ''].join('\r\n');
  const lines = spawnSync(NATIVE, { input, encoding: 'utf8' }).stdout.split(/\r?\n/).filter(Boolean);
  const stream = new AnalysisStream();
  const shown = [];
  for (const line of lines) {
    if (stream.feed(line)) shown.push(structuredClone(stream.candidates));
    else assert.deepEqual(stream.candidates, shown.at(-1) ?? [], `only a finished block shows: ${line}`);
  }
  assert.equal(stream.candidates.length, 3);
  const firsts = stream.candidates.map(({ line }) => line[0]);
  assert.deepEqual(stream.candidates.map((c) => c.depth), [depth, depth, depth]);
  assert.equal(new Set(firsts.map(({ x, y }) => `${x},${y}`)).size, 3, 'three different moves');
  assert.ok(!firsts.some(({ x, y }) => ['7,7', '8,8', '7,8'].includes(`${x},${y}`)));
  const answer = lines.find((line) => /^\d+,\d+$/.test(line));
  assert.equal(`${stream.best.x},${stream.best.y}`, answer, 'the best is the move the engine answers');
  // A live mark while a later candidate is searched is that candidate's, not the best.
  stream.feed(`MESSAGE REALTIME BEST ${firsts[2].x},${firsts[2].y}`);
  assert.equal(`${stream.best.x},${stream.best.y}`, answer);
});

test('a value reads the same from either side: the sign turns, the word names the same colour', () => {
  for (const block of [{ score: 0, winrate: 0.5 }, { score: 40, winrate: 0.56 }, { score: -300, winrate: 0.2 },
    { score: 900, winrate: 0.95 }, { mate: 3 }, { mate: -1 }]) {
    for (const toMove of [1, 2]) {
      const [mine, theirs] = [1, 2].map((viewer) => describeValue(block, toMove, viewer));
      assert.equal(mine.word, theirs.word);
      const flip = (text) => (text === '0' ? '0' : text.startsWith('+') ? `-${text.slice(1)}` : `+${text.slice(1)}`);
      assert.equal(flip(mine.text), theirs.text);
      if (block.mate) assert.match(mine.word, new RegExp(`^${(block.mate > 0) === (toMove === 1) ? 'black' : 'white'} wins`));
    }
  }
});
