// The game record and its file format, in node: random games survive a save
// and a load; stepping back and forward and branching keep the line.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { GameRecord } from '../../web/game-record.js';
import { fromPsq, isPsq, toPsq } from '../../web/psq.js';

function randomGame(size, length) {
  const points = Array.from({ length: size * size }, (_, p) => ({ x: p % size, y: Math.floor(p / size) }));
  for (let i = points.length - 1; i > 0; i--) {
    const j = Math.floor(Math.random() * (i + 1));
    [points[i], points[j]] = [points[j], points[i]];
  }
  return points.slice(0, length).map((point) => ({ ...point, t: Math.floor(Math.random() * 100000) }));
}

test('a .psq record reads back the moves it was written from; the lines after the moves are skipped', () => {
  for (const size of [15, 20]) {
    for (const length of [0, 1, 37, size * size]) {
      const moves = randomGame(size, length);
      const text = toPsq(size, moves);
      assert.ok(isPsq(text));
      assert.deepEqual(fromPsq(text), { width: size, height: size, moves });
      assert.deepEqual(fromPsq(`${text.replaceAll('\r\n', '\n')}Player one\nPlayer two\n-1\n`).moves, moves);
    }
  }
  assert.equal(toPsq(15, [{ x: 0, y: 14, t: 12 }]).split('\r\n')[1], '1,15,12', 'counted from 1');
  assert.throws(() => fromPsq('h8i9\n8,8,0'), /starts with a line/);
  assert.throws(() => fromPsq('Piskvorky 15x15, 11:11, 0\n16,1,0'), /off the 15 x 15 board/);
});

test('stepping back and forward keeps the line; a move played back there starts a new one', () => {
  const line = randomGame(15, 30);
  const record = new GameRecord();
  line.forEach((move) => record.play(move));
  for (let i = 0; i < 200; i++) {
    const cursor = Math.floor(Math.random() * 40) - 5;
    record.jump(cursor);
    assert.equal(record.cursor, Math.max(0, Math.min(30, cursor)));
    assert.deepEqual(record.moves, line.slice(0, record.cursor));
    record[Math.random() < 0.5 ? 'back' : 'forward']();
    assert.deepEqual(record.line, line);
  }
  record.jump(10);
  record.play(line[10]);
  assert.deepEqual(record.line, line, 'the move already next keeps the line');
  record.jump(10);
  const other = { x: line[29].x, y: line[29].y, t: 5 };
  record.play(other);
  assert.deepEqual(record.line, [...line.slice(0, 10), other]);
  assert.equal(record.cursor, 11);
});
