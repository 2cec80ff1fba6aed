// The drill's scheduler and the progress kept, under node's test runner:
// a clock the test sets and a seeded random source; figures worked out by hand.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { DrillRules, DrillLevels, DrillScheduler, isDrillProgress } = require('../drill_scheduler.js');
const { ProgressStore } = require('../progress_store.js');

// A small generator of the test's own: the same draws for the same seed.
function seeded(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6D2B79F5) >>> 0;
    let t = Math.imul(a ^ (a >>> 15), 1 | a);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// A scheduler over one level of these characters (then 的 我 a level), and its clock.
function drillOf(characters, progress = null, seed = 7) {
  const clock = { t: 0 };
  const rules = { ...DrillRules, levelSize: 2, levelCharacters: 2 };
  const levels = new DrillLevels([...characters], '的我', () => true, rules);
  const scheduler = new DrillScheduler(levels, progress, { now: () => clock.t, random: seeded(seed) });
  const answer = (ms, right) => {
    clock.t += ms;
    return scheduler.answer(right);
  };
  return { scheduler, answer };
}

test('unfamiliarity: time against 3 s, capped at 10 s, an error 5; the past counts half', () => {
  const { scheduler } = drillOf('工');
  assert.strictEqual(scheduler.unfamiliarity('工'), 3, 'never answered');
  for (const [right, ms, want] of [[false, 500, 5], [true, 1500, 2.75], [true, 1500, 1.625],
    [true, 60000, (1.625 + 10 / 3) / 2], [true, 100, ((1.625 + 10 / 3) / 2 + 0.1) / 2]]) {
    scheduler.record('工', right, ms);
    assert.strictEqual(scheduler.unfamiliarity('工').toFixed(9), want.toFixed(9), `${right} ${ms}`);
  }
  assert.deepStrictEqual({ ...scheduler.progress.items['工'], u: 0 }, { u: 0, seen: 5, wrong: 1, right: true, ms: 100 });
});

test('levels: the one-letter characters once, then the held common ones, asked as needed', () => {
  const asked = [];
  const holds = (c) => asked.push(c) && c !== '是';
  const levels = new DrillLevels(['工', '了', '工', '', '中国', '以'], '的了我是在你和有不就都也', holds,
    { ...DrillRules, levelSize: 3, levelCharacters: 7 });
  assert.deepStrictEqual([levels.level(0), asked], [['工', '了', '以'], []]);
  assert.deepStrictEqual([levels.level(1), asked], [['的', '我', '在'], ['的', '我', '是', '在']]);
  assert.deepStrictEqual([levels.level(2), levels.level(3), levels.level(4)], [['你', '和', '有'], ['不'], null]);
});

test('wrong and slow items come back sooner and more often than right and fast ones', () => {
  const characters = '工了以在有地一上不是';
  const { scheduler, answer } = drillOf(characters);
  const how = { 以: [false, 1200], 地: [true, 8000] };  // 以 always wrong, 地 always slow
  let previous = null;
  for (let i = 0; i < 300; i++) {
    const shown = scheduler.next();
    assert.notStrictEqual(shown, previous, 'never the same twice in a row');
    previous = shown;
    answer((how[shown] || [true, 900])[1], (how[shown] || [true])[0]);
  }
  // Now 以 5, 地 8/3, each fast one 0.3: drawn about 17 and 9 times as often.
  const counts = {};
  const gaps = {};
  const last = {};
  for (let i = 0; i < 20000; i++) {
    const shown = scheduler.next();
    counts[shown] = (counts[shown] || 0) + 1;
    if (shown in last) (gaps[shown] = gaps[shown] || []).push(i - last[shown]);
    last[shown] = i;
  }
  const meanGap = (c) => gaps[c].reduce((a, b) => a + b, 0) / gaps[c].length;
  for (const c of [...characters].filter((c) => !(c in how))) {
    assert.ok(counts['以'] > 8 * counts[c] && counts['地'] > 4 * counts[c], `${JSON.stringify(counts)}`);
    assert.ok(meanGap('以') * 4 < meanGap(c) && meanGap('地') * 2 < meanGap(c), `${c}'s gaps`);
  }
});

test('a level is passed exactly when each item was last answered right within 3 s', () => {
  for (const [last, passed] of [  // each item's last answer: [right, ms]
    [{ 工: [true, 3000], 了: [true, 100], 以: [true, 2999] }, true],
    [{ 工: [true, 3001], 了: [true, 100], 以: [true, 2999] }, false],
    [{ 工: [true, 1000], 了: [false, 500], 以: [true, 1000] }, false]]) {
    const { scheduler, answer } = drillOf('工了以');
    const done = new Set();
    let outcome = null;
    while (done.size < 3) {
      const shown = scheduler.next();
      if (!done.has(shown)) outcome = answer(last[shown][1], last[shown][0]);
      done.add(shown);
    }
    const mastered = Object.values(last).filter(([right, ms]) => right && ms <= 3000).length;
    assert.deepStrictEqual([outcome.passed, scheduler.mastered(0), scheduler.pool()],
      [passed, mastered, passed ? ['的', '我'] : ['工', '了', '以']], JSON.stringify(last));
  }
});

test('progress to JSON and back: the same progress, the same draws; broken progress refused', () => {
  const { scheduler, answer } = drillOf('工了以在有');
  for (const ms of [800, 4000, 1500, 700, 12000, 2500]) {
    scheduler.next();
    answer(ms, ms !== 1500);
  }
  const saved = JSON.parse(JSON.stringify(scheduler.toJSON()));
  const [again, first] = [drillOf('工了以在有', saved, 9), drillOf('工了以在有', scheduler.toJSON(), 9)];
  assert.deepStrictEqual(again.scheduler.toJSON(), scheduler.toJSON());
  const draws = (d) => Array.from({ length: 50 }, () => d.scheduler.next()).join('');
  assert.strictEqual(draws(again), draws(first));
  assert.ok(isDrillProgress(saved));
  for (const broken of [null, { level: -1, items: {} }, { level: 0, items: [] },
    { level: 0, items: { 工: { u: 'x', seen: 1, wrong: 0, right: true, ms: 1 } } },
    { level: 0, items: { 工: { u: 1, seen: 0, wrong: 0, right: true, ms: 1 } } }]) {
    assert.strictEqual(isDrillProgress(broken), false, JSON.stringify(broken));
  }
});

test('drill answers make the day\'s run; a progress file of another version or broken is refused', () => {
  const store = new ProgressStore();
  store.key = 'T1';
  store.record.drill = { level: 1, items: { 工: { u: 0.5, seen: 2, wrong: 1, right: true, ms: 1200 } } };
  store.addDrillAnswer('2026-12-08', true, 1200, 3);
  store.addDrillAnswer('2026-12-08', false, 4000, 5);
  assert.deepStrictEqual(store.record.sessions,
    [{ kind: 'drill', day: '2026-12-08', characters: 2, right: 1, ms: 5200, keystrokes: 8 }]);
  assert.throws(() => store.recordSession({ kind: 'drill', day: '8.12.2026', characters: 1, right: 1, ms: 1,
    keystrokes: 1 }));
  const text = store.exportText();
  const good = JSON.parse(text);
  for (const [file, message] of [[{ ...good, version: 2 }, '版本'], [{ ...good, drill: { level: 0 } }, '损坏'],
    [{ ...good, sessions: [{ ...good.sessions[0], right: 3 }] }, '损坏']]) {
    const read = store.importText(JSON.stringify(file), isDrillProgress);
    assert.deepStrictEqual([read.ok, read.message.includes(message), store.exportText()], [false, true, text]);
  }
});
