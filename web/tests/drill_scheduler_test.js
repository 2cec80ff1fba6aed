// The drill's scheduler and the progress kept, under node's test runner:
// a clock the test sets and a seeded random source; expected figures worked out by hand.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const path = require('path');
const { DrillRules, DrillLevels, DrillScheduler, answerUnfamiliarity, isDrillProgress } =
  require(path.join(__dirname, '..', 'drill_scheduler.js'));
const { ProgressStore, dailyFigures, readProgressFile } = require(path.join(__dirname, '..', 'progress_store.js'));

function seeded(seed) {  // mulberry32
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6D2B79F5) >>> 0;
    let t = Math.imul(a ^ (a >>> 15), 1 | a);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// A scheduler over one level of the given characters, with its clock.
function drillOf(characters, progress = null, seed = 7) {
  const clock = { t: 0 };
  const levels = new DrillLevels([...characters], '', () => true);
  const scheduler = new DrillScheduler(levels, progress, { now: () => clock.t, random: seeded(seed) });
  return { scheduler, clock };
}

// The shown character answered after ms, right or not.
function answerAfter(drill, ms, right) {
  drill.clock.t += ms;
  return drill.scheduler.answer(right);
}

test('an answer\'s unfamiliarity: its time against 3 s, capped at 10 s; an error above all', () => {
  for (const [right, ms, want] of [[true, 1500, 0.5], [true, 3000, 1], [true, 100, 0.1],
    [true, 9000, 3], [true, 60000, 10 / 3], [false, 400, 5], [false, 60000, 5]]) {
    assert.strictEqual(Number(answerUnfamiliarity(right, ms).toFixed(6)), Number(want.toFixed(6)),
      `${right} ${ms}`);
  }
});

test('an item\'s unfamiliarity: the new answer and the past, half each', () => {
  const { scheduler } = drillOf('工');
  assert.strictEqual(scheduler.unfamiliarity('工'), 3, 'never answered');
  for (const [right, ms, want] of [[false, 500, 5], [true, 1500, 2.75], [true, 1500, 1.625],
    [true, 6000, 1.8125]]) {
    scheduler.record('工', right, ms);
    assert.strictEqual(scheduler.unfamiliarity('工'), want, `${right} ${ms}`);
  }
  assert.deepStrictEqual(scheduler.progress.items['工'], { u: 1.8125, seen: 4, wrong: 1, right: true, ms: 6000 });
});

test('levels: the one-letter characters once, then the held common ones, made as needed', () => {
  const rules = { ...DrillRules, levelSize: 3, levelCharacters: 7 };
  const asked = [];
  const holds = (c) => {
    asked.push(c);
    return c !== '是';
  };
  const levels = new DrillLevels(['工', '了', '工', '', '中国', '以'], '的了我是在你和有不就都也', holds, rules);
  assert.deepStrictEqual(levels.level(0), ['工', '了', '以']);
  assert.deepStrictEqual(asked, [], 'nothing asked for the first level');
  assert.deepStrictEqual(levels.level(1), ['的', '我', '在']);
  assert.deepStrictEqual(asked, ['的', '我', '是', '在'], '了 is a one-letter one; no further than needed');
  assert.deepStrictEqual(levels.level(2), ['你', '和', '有']);
  assert.deepStrictEqual(levels.level(3), ['不'], 'seven in all');
  assert.strictEqual(levels.level(4), null);
});

test('wrong and slow items come back sooner and more often than right and fast ones', () => {
  const characters = '工了以在有地一上不是';
  const drill = drillOf(characters);
  const how = { 以: [false, 1200], 地: [true, 8000] };  // 以 always wrong, 地 always slow
  let previous = null;
  for (let i = 0; i < 300; i++) {
    const shown = drill.scheduler.next();
    assert.notStrictEqual(shown, previous, 'never the same twice in a row');
    previous = shown;
    const [right, ms] = how[shown] || [true, 900];
    answerAfter(drill, ms, right);
  }
  // Unfamiliarity now: 以 5, 地 8/3, each fast one 0.3: out of 5 + 2.67 + 8 * 0.3 = 10.07.
  const counts = {};
  const gaps = {};
  const last = {};
  for (let i = 0; i < 20000; i++) {
    const shown = drill.scheduler.next();
    counts[shown] = (counts[shown] || 0) + 1;
    if (shown in last) (gaps[shown] = gaps[shown] || []).push(i - last[shown]);
    last[shown] = i;
  }
  const fast = [...characters].filter((c) => !(c in how));
  const meanGap = (c) => gaps[c].reduce((a, b) => a + b, 0) / gaps[c].length;
  for (const c of fast) {
    assert.ok(counts['以'] > 8 * counts[c], `wrong 以 ${counts['以']} against ${c} ${counts[c]}`);
    assert.ok(counts['地'] > 4 * counts[c], `slow 地 ${counts['地']} against ${c} ${counts[c]}`);
    assert.ok(meanGap('以') * 4 < meanGap(c), `以 back after ${meanGap('以')}, ${c} after ${meanGap(c)}`);
    assert.ok(meanGap('地') * 2 < meanGap(c), `地 back after ${meanGap('地')}, ${c} after ${meanGap(c)}`);
  }
  assert.ok(counts['以'] > counts['地'], 'wrong before slow');
});

test('a level is passed exactly when each item was last answered right within 3 s', () => {
  const cases = [  // last answer per item: [right, ms]; passed?
    [{ 工: [true, 3000], 了: [true, 100], 以: [true, 2999] }, true],
    [{ 工: [true, 3001], 了: [true, 100], 以: [true, 2999] }, false],
    [{ 工: [true, 1000], 了: [false, 500], 以: [true, 1000] }, false],
  ];
  for (const [last, passed] of cases) {
    const drill = drillOf('工了以');
    const levels = drill.scheduler.levels;
    levels.rules = { ...DrillRules, levelSize: 2, levelCharacters: 2 };
    levels.common = ['的', '我'];
    const done = new Set();
    let outcome = null;
    while (done.size < 3) {
      const shown = drill.scheduler.next();
      if (done.has(shown)) continue;
      done.add(shown);
      outcome = answerAfter(drill, last[shown][1], last[shown][0]);
    }
    assert.strictEqual(outcome.passed, passed, JSON.stringify(last));
    assert.strictEqual(drill.scheduler.level, passed ? 1 : 0, 'the next level opens');
    const mastered = Object.values(last).filter(([r, ms]) => r && ms <= 3000).length;
    assert.strictEqual(drill.scheduler.mastered(0), mastered);
    if (passed) assert.deepStrictEqual(drill.scheduler.pool(), ['的', '我']);
  }
});

test('progress to JSON and back: the same progress, the same draws', () => {
  const drill = drillOf('工了以在有');
  for (const ms of [800, 4000, 1500, 700, 12000, 2500]) {
    drill.scheduler.next();
    answerAfter(drill, ms, ms !== 1500);
  }
  const saved = JSON.parse(JSON.stringify(drill.scheduler.toJSON()));
  assert.ok(isDrillProgress(saved));
  assert.strictEqual(Object.values(saved.items).reduce((n, item) => n + item.seen, 0), 6);
  const again = drillOf('工了以在有', saved, 99);
  const first = drillOf('工了以在有', drill.scheduler.toJSON(), 99);
  assert.deepStrictEqual(again.scheduler.toJSON(), drill.scheduler.toJSON());
  const draws = (d) => Array.from({ length: 50 }, () => d.scheduler.next()).join('');
  assert.strictEqual(draws(again), draws(first));
  for (const broken of [null, { level: -1, items: {} }, { level: 0, items: [] },
    { level: 0, items: { 工: { u: 'x', seen: 1, wrong: 0, right: true, ms: 1 } } },
    { level: 0, items: { 工: { u: 1, seen: 0, wrong: 0, right: true, ms: 1 } } }]) {
    assert.strictEqual(isDrillProgress(broken), false, JSON.stringify(broken));
  }
});

test('per day: characters a minute and accuracy over both kinds of run', () => {
  const days = dailyFigures([
    { kind: 'drill', day: '2026-12-08', characters: 10, right: 5, ms: 30000, keystrokes: 40 },
    { kind: 'drill', day: '2026-12-07', characters: 30, right: 27, ms: 60000, keystrokes: 100 },
    { kind: 'practice', day: '2026-12-07', characters: 90, right: 81, ms: 120000, keystrokes: 300 },
  ]);
  assert.deepStrictEqual(days.map((d) => [d.day, d.characters, d.perMinute, d.accuracy]),
    [['2026-12-07', 120, 40, 0.9], ['2026-12-08', 10, 20, 0.5]]);
});

test('a progress file is taken only when it is one, of the open table', () => {
  const store = new ProgressStore();
  store.key = 'T1';
  store.record.drill = { level: 1, items: { 工: { u: 0.5, seen: 2, wrong: 1, right: true, ms: 1200 } } };
  store.recordSession({ kind: 'practice', day: '2026-12-08', characters: 20, right: 18, ms: 50000,
    keystrokes: 70 });
  store.addDrillAnswer('2026-12-08', true, 1200, 3);
  store.addDrillAnswer('2026-12-08', false, 4000, 5);
  assert.deepStrictEqual(store.record.sessions[1],
    { kind: 'drill', day: '2026-12-08', characters: 2, right: 1, ms: 5200, keystrokes: 8 });
  assert.throws(() => store.recordSession({ kind: 'drill', day: '8.12.2026', characters: 1, right: 1,
    ms: 1, keystrokes: 1 }));
  const text = store.exportText();
  const good = JSON.parse(text);
  for (const [file, message] of [
    ['{"format"', '不是 JSON'], ['{"format": "other"}', '不是进度文件'],
    [JSON.stringify({ ...good, version: 2 }), '版本'], [JSON.stringify({ ...good, table: 'T2' }), '另一个码表'],
    [JSON.stringify({ ...good, sessions: [{ ...good.sessions[0], right: 21 }] }), '损坏'],
    [JSON.stringify({ ...good, drill: { level: 0 } }), '损坏']]) {
    const read = store.importText(file, isDrillProgress);
    assert.strictEqual(read.ok, false, file);
    assert.ok(read.message.includes(message), read.message);
    assert.strictEqual(store.exportText(), text, 'nothing changed');
  }
  store.record = { drill: null, sessions: [] };
  assert.strictEqual(store.importText(text, isDrillProgress).ok, true);
  assert.strictEqual(store.exportText(), text, 'exported and imported back: the same');
});
