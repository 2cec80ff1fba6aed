// What the person has learnt, per table (keyed by the table's content): the
// drill's progress and the finished runs of drill and text practice, kept in
// IndexedDB, exported to and imported from a JSON file.
'use strict';

const ProgressFormat = 'navo-progress';
const ProgressVersion = 1;
const SessionKinds = ['drill', 'practice'];

// The local day of a time, as YYYY-MM-DD.
function dayOf(date) {
  const two = (n) => String(n).padStart(2, '0');
  return `${date.getFullYear()}-${two(date.getMonth() + 1)}-${two(date.getDate())}`;
}

function isSession(s) {
  const count = (n) => Number.isInteger(n) && n >= 0;
  return !!s && typeof s === 'object' && SessionKinds.includes(s.kind) &&
    typeof s.day === 'string' && /^\d{4}-\d\d-\d\d$/.test(s.day) && count(s.characters) &&
    count(s.right) && s.right <= s.characters && Number.isFinite(s.ms) && s.ms >= 0 &&
    count(s.keystrokes);
}

// Per day, both kinds together: {day, characters, right, ms, perMinute, accuracy}, oldest first.
function dailyFigures(sessions) {
  const days = new Map();
  for (const s of sessions) {
    const day = days.get(s.day) || { day: s.day, characters: 0, right: 0, ms: 0 };
    day.characters += s.characters;
    day.right += s.right;
    day.ms += s.ms;
    days.set(s.day, day);
  }
  return [...days.values()].sort((a, b) => (a.day < b.day ? -1 : 1)).map((d) => ({ ...d,
    perMinute: d.ms > 0 ? d.characters / d.ms * 60000 : 0,
    accuracy: d.characters > 0 ? d.right / d.characters : 0 }));
}

// A progress file's text checked: {ok, record} or {ok: false, message}.
function readProgressFile(text, tableKey, isDrillProgress) {
  let data;
  try {
    data = JSON.parse(text);
  } catch (error) {
    return { ok: false, message: '这不是进度文件：不是 JSON。' };
  }
  if (!data || data.format !== ProgressFormat) return { ok: false, message: '这不是进度文件。' };
  if (data.version !== ProgressVersion) return { ok: false, message: `不认识的进度文件版本 ${data.version}。` };
  if (data.table !== tableKey) return { ok: false, message: '这是另一个码表的进度，与打开的码表不符。' };
  if ((data.drill !== null && !isDrillProgress(data.drill)) || !Array.isArray(data.sessions) ||
      !data.sessions.every(isSession)) {
    return { ok: false, message: '进度文件已损坏。' };
  }
  return { ok: true, record: { drill: data.drill, sessions: data.sessions } };
}

class ProgressStore {
  constructor(databaseName = 'navo-progress') {
    this.databaseName = databaseName;
    this.key = null;
    this.record = { drill: null, sessions: [] };
    this.listeners = [];
  }

  database() {
    return new Promise((resolve, reject) => {
      const request = indexedDB.open(this.databaseName, 1);
      request.onupgradeneeded = () => request.result.createObjectStore('progress');
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  }

  async request(mode, act) {
    const db = await this.database();
    try {
      return await new Promise((resolve, reject) => {
        const transaction = db.transaction('progress', mode);
        const request = act(transaction.objectStore('progress'));
        transaction.oncomplete = () => resolve(request.result);
        transaction.onerror = () => reject(transaction.error);
      });
    } finally {
      db.close();
    }
  }

  // The progress of the table with this key, or a fresh one.
  async open(key) {
    this.key = key;
    let stored = null;
    try {
      stored = await this.request('readonly', (store) => store.get(key));
    } catch (error) {
      // no IndexedDB (some private modes): progress lasts this visit
    }
    if (this.key !== key) return;  // another table opened meanwhile
    this.record = stored || { drill: null, sessions: [] };
    this.changed();
  }

  close() {
    this.key = null;
    this.record = { drill: null, sessions: [] };
    this.changed();
  }

  save() {
    if (this.key === null) return Promise.resolve();
    const key = this.key;
    const record = JSON.parse(JSON.stringify(this.record));
    this.saving = this.request('readwrite', (store) => store.put(record, key)).catch(() => {});
    return this.saving;
  }

  onChange(listener) {
    this.listeners.push(listener);
  }

  changed() {
    for (const listener of this.listeners) listener(this.record);
  }

  // A finished run: {kind: 'drill'|'practice', day, characters, right, ms,
  // keystrokes}; results, if given, [{character, right, ms}] a character.
  recordSession(session) {
    const { results, ...figures } = session;
    if (!isSession(figures)) throw new TypeError('recordSession: not a session');
    this.record.sessions.push(figures);
    if (results && this.recordResults) this.recordResults(results);
    this.save();
    this.changed();
  }

  // A drill answer: the day's drill run grows by it.
  addDrillAnswer(day, right, ms, keystrokes) {
    const sessions = this.record.sessions;
    let run = sessions.find((s) => s.kind === 'drill' && s.day === day);
    if (!run) {
      run = { kind: 'drill', day, characters: 0, right: 0, ms: 0, keystrokes: 0 };
      sessions.push(run);
    }
    run.characters += 1;
    run.right += right ? 1 : 0;
    run.ms += ms;
    run.keystrokes += keystrokes;
  }

  exportText() {
    return JSON.stringify({ format: ProgressFormat, version: ProgressVersion, table: this.key,
      drill: this.record.drill, sessions: this.record.sessions }, null, 1);
  }

  // The file's text read back; nothing changes unless it is right.
  importText(text, isDrillProgress) {
    const read = readProgressFile(text, this.key, isDrillProgress);
    if (!read.ok) return read;
    this.record = read.record;
    this.save();
    this.changed();
    return read;
  }
}

if (typeof module !== 'undefined') {
  module.exports = { ProgressStore, dailyFigures, readProgressFile, isSession, dayOf };
} else {
  window.navoProgress = new ProgressStore();
}
