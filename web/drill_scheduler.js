// The drill's scheduler: which character comes next, how unfamiliar each
// one is, and the levels. Plain data in and out (progress is JSON), no DOM;
// the clock and the random source are given, so that a test can set them.
'use strict';

const DrillRules = {
  passMs: 3000,        // a level is passed when each of its items was last answered right within this
  capMs: 10000,        // an answer's time counts up to this (a pause is no slower answer)
  unseen: 3,           // unfamiliarity of an item never answered
  wrong: 5,            // a wrong answer's: above the slowest right one (capMs / passMs)
  floor: 0.1,          // the least unfamiliarity, so that a known item still comes back
  levelSize: 100,
  levelCharacters: 3500,  // the common characters drilled after the one-letter ones
};

// An answer's unfamiliarity on its own: its time against the level's time, or wrong.
function answerUnfamiliarity(right, ms, rules = DrillRules) {
  if (!right) return rules.wrong;
  return Math.max(rules.floor, Math.min(ms, rules.capMs) / rules.passMs);
}

// The levels, made as they are needed (whether the table holds a character
// is asked of the core, which is not free): level 0 the one-letter
// characters, each once; then the common characters the table holds, in
// order, levelSize a level, levelCharacters in all.
class DrillLevels {
  constructor(oneLetter, common, holds, rules = DrillRules) {
    this.rules = rules;
    this.first = [];
    for (const text of oneLetter) {
      if (text && [...text].length === 1 && !this.first.includes(text)) this.first.push(text);
    }
    this.common = [...common];
    this.holds = holds;
    this.taken = [];  // common characters the table holds, in order
    this.scanned = 0;
  }

  // The characters of level index, or null past the last level.
  level(index) {
    if (index === 0) return this.first.length ? this.first.slice() : null;
    const size = this.rules.levelSize;
    const wanted = Math.min(index * size, this.rules.levelCharacters);
    while (this.taken.length < wanted && this.scanned < this.common.length) {
      const character = this.common[this.scanned++];
      if (!this.first.includes(character) && this.holds(character)) this.taken.push(character);
    }
    const start = (index - 1) * size;
    if (start >= Math.min(this.taken.length, this.rules.levelCharacters)) return null;
    return this.taken.slice(start, Math.min(start + size, this.taken.length, this.rules.levelCharacters));
  }
}

function emptyProgress() {
  return { level: 0, items: {} };
}

class DrillScheduler {
  // levels: DrillLevels; progress: as toJSON() gave it, or null;
  // now(): milliseconds; random(): [0, 1).
  constructor(levels, progress, { now, random, rules = DrillRules }) {
    this.levels = levels;
    this.progress = progress ? JSON.parse(JSON.stringify(progress)) : emptyProgress();
    this.now = now;
    this.random = random;
    this.rules = rules;
    this.shown = null;
    this.shownAt = 0;
    if (!this.levels.level(this.progress.level)) this.progress.level = 0;
  }

  get level() {
    return this.progress.level;
  }

  pool() {
    return this.levels.level(this.progress.level) || [];
  }

  unfamiliarity(character) {
    const item = this.progress.items[character];
    return item ? item.u : this.rules.unseen;
  }

  // The next character, drawn in proportion to unfamiliarity; never the
  // one just shown while another is there.
  next() {
    let pool = this.pool();
    if (pool.length > 1 && this.shown !== null) pool = pool.filter((c) => c !== this.shown);
    if (pool.length === 0) return null;
    const weights = pool.map((c) => this.unfamiliarity(c));
    let at = this.random() * weights.reduce((a, b) => a + b, 0);
    let chosen = pool[pool.length - 1];
    for (let i = 0; i < pool.length; i++) {
      at -= weights[i];
      if (at < 0) {
        chosen = pool[i];
        break;
      }
    }
    this.shown = chosen;
    this.shownAt = this.now();
    return chosen;
  }

  // The shown character answered: {character, right, ms, passed, level};
  // passed when this answer passed the level (the next one is then open).
  answer(right) {
    const ms = Math.max(0, this.now() - this.shownAt);
    const character = this.shown;
    this.record(character, right, ms);
    const level = this.progress.level;
    const passed = this.levelPassed(level);
    if (passed && this.levels.level(level + 1)) this.progress.level = level + 1;
    return { character, right, ms, passed, level };
  }

  // One answer to a character (from the drill or from elsewhere).
  record(character, right, ms) {
    const sample = answerUnfamiliarity(right, ms, this.rules);
    const item = this.progress.items[character];
    if (item) {
      item.u = (item.u + sample) / 2;  // the past counts half: a known item recovers in a few answers
      item.seen += 1;
      item.wrong += right ? 0 : 1;
      item.right = right;
      item.ms = ms;
    } else {
      this.progress.items[character] = { u: sample, seen: 1, wrong: right ? 0 : 1, right, ms };
    }
  }

  isMastered(character) {
    const item = this.progress.items[character];
    return !!item && item.right && item.ms <= this.rules.passMs;
  }

  mastered(index) {
    return (this.levels.level(index) || []).filter((c) => this.isMastered(c)).length;
  }

  levelPassed(index) {
    const items = this.levels.level(index);
    return !!items && items.every((c) => this.isMastered(c));
  }

  // The characters answered, least familiar first.
  weakest(count) {
    return Object.keys(this.progress.items)
      .sort((a, b) => this.progress.items[b].u - this.progress.items[a].u)
      .slice(0, count);
  }

  toJSON() {
    return JSON.parse(JSON.stringify(this.progress));
  }
}

// Whether data is drill progress as toJSON() gives it.
function isDrillProgress(data) {
  if (!data || typeof data !== 'object' || !Number.isInteger(data.level) || data.level < 0) return false;
  if (!data.items || typeof data.items !== 'object' || Array.isArray(data.items)) return false;
  return Object.values(data.items).every((item) => item && typeof item === 'object' &&
    Number.isFinite(item.u) && item.u >= 0 && Number.isInteger(item.seen) && item.seen > 0 &&
    Number.isInteger(item.wrong) && item.wrong >= 0 && typeof item.right === 'boolean' &&
    Number.isFinite(item.ms) && item.ms >= 0);
}

if (typeof module !== 'undefined') {
  module.exports = { DrillRules, DrillLevels, DrillScheduler, answerUnfamiliarity, isDrillProgress };
}
