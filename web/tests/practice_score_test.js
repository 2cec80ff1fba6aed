// The scoring of a practised text, under node's test runner, with the
// times the test sets; every expected figure is worked out by hand below.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { scorePractice } = require('../practice_score.js');

const typeable = new Set('我们是中国人你好吗');
const counts = (ch) => typeable.has(ch);
const keys = (...times) => times.map((t) => ({ type: 'key', t }));
const commit = (t, text) => ({ type: 'commit', t, text });

// 我们是中国人，你好吗？ : 9 characters count; ， and ？ are skipped.
const TEXT = '我们是中国人，你好吗？';
const RUN = [
  ...keys(1000, 1100, 1200), commit(1200, '我'),        // right, 3 keys
  ...keys(1500, 1600, 1700), commit(1700, '门'),        // 们 wrong, 3 keys
  { type: 'hint', t: 2000 },                            // a hint: no keystroke
  ...keys(2100, 2200), commit(2200, '是'),              // right, 2 keys
  ...keys(2500, 2600, 2700, 2800, 2900), commit(2900, '中国'),  // a word: 2 right, 5 keys
  ...keys(3000), commit(3000, '\n'),                    // Enter: a blank takes nothing, 1 key
  ...keys(3300, 3400), commit(3400, '人'),              // right, 2 keys
  ...keys(3600, 3700, 3800), commit(3800, '尔'),        // 你 wrong, 3 keys
  ...keys(4000, 4100), commit(4100, '好'),              // right, 2 keys
  ...keys(4400, 4500), commit(4500, '吗'),              // right, 2 keys: the last one
  ...keys(4700), commit(4800, '了'),                    // after the end: not the run's
];

test('a run with two wrong characters, a word and skipped punctuation', () => {
  const s = scorePractice(TEXT, RUN, counts);
  // keys 3+3+2+5+1+2+3+2+2 = 23; time 4500 - 1000 = 3500 ms;
  // 9 characters in 3.5 s = 9 / 3500 * 60000 = 154.2857 a minute; 23 / 9 keys each.
  assert.deepStrictEqual(
    { characters: s.characters, right: s.right, errors: s.errors, keystrokes: s.keystrokes,
      hints: s.hints, ms: s.ms, done: s.done, next: s.next, total: s.total },
    { characters: 9, right: 7, errors: 2, keystrokes: 23, hints: 1, ms: 3500, done: true,
      next: -1, total: 9 });
  assert.ok(Math.abs(s.perMinute - 154.2857) < 1e-4, String(s.perMinute));
  assert.ok(Math.abs(s.keysPerCharacter - 2.5556) < 1e-4, String(s.keysPerCharacter));
  assert.deepStrictEqual(s.marks.map((m) => `${m.ch}${m.state[0]}${m.typed}`), [
    '我r我', '们w门', '是r是', '中r中', '国r国', '人r人', '，s', '你w尔', '好r好', '吗r吗', '？s']);
  // Each character's time: 我 1000 (first key) to 1200; 们 1200 to 1700; 是 to 2200;
  // 中国 2200 to 2900 shared, 350 each; 人 2900 to 3400 (Enter's blank is no commit
  // of a character); 你 to 3800; 好 to 4100; 吗 to 4500. They add up to the 3500.
  assert.deepStrictEqual(s.marks.filter((m) => m.counted).map((m) => m.ms),
    [200, 500, 500, 350, 350, 500, 400, 300, 400]);
});

test('part of the run: the next character to type and the figures so far', () => {
  const cases = [
    // [events, next, characters, errors, keystrokes, ms]
    [[], 0, 0, 0, 0, 0],
    [RUN.slice(0, 3), 0, 0, 0, 3, 0],             // keys but no commit yet: no time
    [RUN.slice(0, 4), 1, 1, 0, 3, 200],
    [RUN.slice(0, 8), 2, 2, 1, 6, 700],
    [RUN.slice(0, 20), 5, 5, 1, 14, 1900],        // the word filled 中 and 国; Enter's blank nothing
    [RUN.slice(0, 26), 7, 6, 1, 19, 2400],        // after 人 the next is 你: ， is skipped
  ];
  for (const [events, next, characters, errors, keystrokes, ms] of cases) {
    const s = scorePractice(TEXT, events, counts);
    assert.deepStrictEqual([s.next, s.characters, s.errors, s.keystrokes, s.ms, s.done],
      [next, characters, errors, keystrokes, ms, false], `after ${events.length} events`);
  }
});

test('texts at their edges', () => {
  // Leading punctuation and blanks are skipped: the first to type is 你 at 2.
  assert.strictEqual(scorePractice('“ 你好”', [], counts).next, 2);
  // A word longer than what is left fills only what is left.
  const tail = scorePractice('好', [commit(50, '好吗'), commit(90, '你')], counts);
  assert.deepStrictEqual([tail.characters, tail.errors, tail.done, tail.ms], [1, 0, true, 0]);
  // Nothing the table types: nothing to do, never done.
  const none = scorePractice('abc，𠀀', [commit(10, 'a')], counts);
  assert.deepStrictEqual([none.total, none.next, none.done, none.characters], [0, -1, false, 0]);
  // Characters outside the table are shown as given.
  assert.deepStrictEqual(scorePractice('𠀀我', [], counts).marks.map((m) => m.state),
    ['skipped', 'pending']);
});
