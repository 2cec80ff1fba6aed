// The lookup module (the lookup tool's core as WebAssembly) seen from
// JavaScript: opening a table, the input box, the history's lines, texts and
// words, the reports; and GBK shown as text. Used by the page and by node.
'use strict';

const HanRanges = [[0x3007, 0x3007], [0x3400, 0x4DBF], [0x4E00, 0x9FFF], [0xF900, 0xFAFF],
  [0x20000, 0x3134F]];

// After the codes of a list the core had to cut, as the terminal tool shows it.
const CutCodesMark = '  \u2026';

// Before the codes of a line that the window's rule leaves out.
const ShortCodesLabel = '\u7b80\u7801';  // 简码

// The characters a learner wants the codes of, as the terminal tool takes them.
function isHanCharacter(codePoint) {
  return HanRanges.some(([first, last]) => codePoint >= first && codePoint <= last);
}

class NavoLookup {
  // instance: the module, instantiated with no imports.
  constructor(instance) {
    this.x = instance.exports;
    this.x._initialize();
    this.scratchSize = this.x.navo_scratch_size();
    this.leftOutOfLine = new Map();  // a pane line's codes left out, for the open table
  }

  static async fromBytes(bytes) {
    const { instance } = await WebAssembly.instantiate(bytes, {});
    return new NavoLookup(instance);
  }

  bytesAt(pointer, length) {
    return new Uint8Array(this.x.memory.buffer, pointer, length);
  }

  // A NUL-terminated string of the module as bytes; null for nullptr.
  cString(pointer) {
    if (pointer === 0) return null;
    const memory = new Uint8Array(this.x.memory.buffer);
    let end = pointer;
    while (memory[end] !== 0) end++;
    return memory.slice(pointer, end);
  }

  // Text (UTF-16) to GBK as code page 936 gives it, "?" for what it cannot hold.
  encode(text) {
    const units = Math.min(text.length, this.scratchSize / 2 - 1);
    const wide = new Uint16Array(this.x.memory.buffer, this.x.navo_scratch(), units);
    for (let i = 0; i < units; i++) wide[i] = text.charCodeAt(i);
    const length = this.x.navo_encode_scratch(units);
    return this.bytesAt(this.x.navo_scratch(), length).slice();
  }

  // GBK bytes as text: characters decoded, printable ASCII as it is (unless
  // in escaped), every other byte as \xHH, as the terminal tool shows them.
  display(bytes, escaped = '') {
    let out = '';
    for (let i = 0; i < bytes.length;) {
      const byte = bytes[i];
      const unit = byte >= 0x81 && byte <= 0xFE && i + 1 < bytes.length ?
        this.x.navo_unicode_of_gbk(byte, bytes[i + 1]) : 0;
      if (byte >= 0x20 && byte <= 0x7E && !escaped.includes(String.fromCharCode(byte))) {
        out += String.fromCharCode(byte);
        i += 1;
      } else if (unit !== 0) {
        out += String.fromCharCode(unit);
        i += 2;
      } else {
        out += '\\x' + byte.toString(16).toUpperCase().padStart(2, '0');
        i += 1;
      }
    }
    return out;
  }

  // The reports of the last call: {beep} or {text, caption} (caption null:
  // the system's default), texts GBK bytes.
  reports() {
    const list = [];
    for (let i = 0; i < this.x.navo_report_count(); i++) {
      const text = this.x.navo_report_text(i);
      if (text === 0) break;  // beyond the reports the module keeps
      if (this.x.navo_report_is_beep(i)) list.push({ beep: true });
      else list.push({ text: this.cString(text), caption: this.cString(this.x.navo_report_caption(i)) });
    }
    return list;
  }

  // Whether the bytes are a table the core can take, asked before they replace
  // the open one: a file too short, or whose indexes name blocks beyond its end, is none.
  isTable(bytes) {
    const from = this.x.navo_index_space_offset();
    const indexes = bytes.subarray(from, from + this.x.navo_index_space_size());
    this.bytesAt(this.x.navo_index_space(), indexes.length).set(indexes);
    return this.x.navo_file_is_table(bytes.length) === 1;
  }

  closeTable() {
    this.x.navo_close_table();
    this.leftOutOfLine.clear();
  }

  // bytes null: the file could not be read. Returns {opened, candidates, reports}.
  openTable(name, bytes) {
    if (bytes) {
      const space = this.x.navo_table_space(bytes.length);
      if (space === 0) return { opened: false, candidates: -1, reports: [], outOfMemory: true };
      this.bytesAt(space, bytes.length).set(bytes);
    }
    const gbkName = this.encode(name);
    this.bytesAt(this.x.navo_scratch(), gbkName.length + 1).set([...gbkName, 0]);
    const opened = this.x.navo_open_table(bytes ? 0 : -1) === 1;
    this.leftOutOfLine.clear();
    const reports = this.reports();
    return { opened, candidates: this.x.navo_table_candidates(), reports };
  }

  // The input box's whole text after a change, as the window's box has it.
  // Returns {lookedUp, emptied, reports}.
  inputChanged(text) {
    const gbk = this.encode(text);
    const size = this.x.navo_input_size();
    const kept = gbk.slice(0, size - 1);
    this.bytesAt(this.x.navo_input_text(), kept.length + 1).set([...kept, 0]);
    const outcome = this.x.navo_input_changed();
    return { lookedUp: (outcome & 3) === 2, emptied: (outcome & 4) !== 0,
      reports: this.reports() };
  }

  // Each Chinese character of a text once, in order, looked up and put on
  // top of the history as a typed one is. Returns one entry a character:
  // {character, outside: true} when GBK cannot hold it, else {character, found, reports}.
  lookUpText(text, seen = new Set()) {
    const results = [];
    for (const character of text) {
      const codePoint = character.codePointAt(0);
      if (!isHanCharacter(codePoint) || seen.has(codePoint)) continue;
      seen.add(codePoint);
      const gbk = codePoint < 0x10000 ? this.x.navo_gbk_of_unicode(codePoint) : 0;
      if (gbk < 0x100) {
        results.push({ character, outside: true });
        continue;
      }
      results.push({ character, ...this.lookUpBytesIntoHistory(gbk >> 8, gbk & 0xFF) });
    }
    return results;
  }

  // Two GBK bytes looked up and put on top of the history: {found, reports}.
  lookUpBytesIntoHistory(lead, trail) {
    this.bytesAt(this.x.navo_scratch(), 3).set([lead, trail, 0]);
    const found = this.x.navo_look_up_into_history() === 1;
    return { found, reports: this.reports() };
  }

  // A word: {ok, outside, wordCode, codes, reports}; outside when GBK cannot
  // hold one of its characters.
  lookUpWord(word) {
    for (const character of word) {
      const codePoint = character.codePointAt(0);
      if (codePoint >= 0x10000 || (codePoint > 0x7F && this.x.navo_gbk_of_unicode(codePoint) === 0))
        return { ok: false, outside: true, reports: [] };
    }
    return { outside: false, ...this.lookUpWordBytes(this.encode(word)) };
  }

  // A word as GBK bytes: {ok, wordCode, codes, cut, reports}; the codes shown
  // as the terminal tool shows them (escaped: as in its batch lines).
  lookUpWordBytes(gbk, escaped = '') {
    this.bytesAt(this.x.navo_scratch(), gbk.length + 1).set([...gbk, 0]);
    const ok = this.x.navo_look_up_word() === 1;
    const cut = ok && this.x.navo_word_codes_cut() === 1;
    const codes = ok ? this.display(this.cString(this.x.navo_word_codes()), escaped) : '';
    return { ok, wordCode: this.display(this.cString(this.x.navo_word_code())),
      codes: cut ? codes + CutCodesMark : codes, cut, reports: this.reports() };
  }

  heading() {
    return this.display(this.cString(this.x.navo_pane_heading()));
  }

  // The pane's lines "字: codes", newest first, each followed by the codes
  // the window's rule leaves out: "工: aaa  aaaa  (简码 a)".
  historyLines() {
    const lines = [];
    for (let i = 0; ; i++) {
      const line = this.cString(this.x.navo_history_line(i));
      if (line === null) return lines;
      const shown = this.display(line);
      if (!this.leftOutOfLine.has(shown)) {
        const leftOut = this.cString(this.x.navo_history_codes_left_out(i));
        this.leftOutOfLine.set(shown, leftOut && leftOut.length ? this.display(leftOut) : '');
      }
      const leftOut = this.leftOutOfLine.get(shown);
      const gap = shown.endsWith(' ') ? '' : '  ';
      lines.push(leftOut ? `${shown}${gap}(${ShortCodesLabel} ${leftOut})` : shown);
    }
  }

  // Every code of a text as GBK bytes, short codes included: {ok, codes,
  // best, cut, reports}, shown as the terminal tool shows them.
  everyCode(gbk, escaped = '') {
    this.bytesAt(this.x.navo_scratch(), gbk.length + 1).set([...gbk, 0]);
    const ok = this.x.navo_look_up_every_code() === 1;
    const cut = ok && this.x.navo_every_cut() === 1;
    const codes = ok ? this.display(this.cString(this.x.navo_every_codes()), escaped) : '';
    return { ok, codes: cut ? codes + CutCodesMark : codes, cut, reports: this.reports(),
      best: ok ? this.display(this.cString(this.x.navo_every_best()), escaped) : '' };
  }

  // "box:TEXT/CAPTION" or "beep", as the terminal tool writes a report.
  reportText(report, fields) {
    if (report.beep) return 'beep';
    const escaped = fields ? '|/\\' : '';
    return 'box:' + this.display(report.text, escaped) + '/' +
      this.display(report.caption || new Uint8Array(0), escaped);
  }

  // The bytes typed, as a line of `nvcodefind --batch`: HEX, ok|fail, codes,
  // reports; two bytes are a typed character, more a word, whose line adds
  // its word code. every: as a line of `nvcodefind --all --batch`.
  batchLine(bytes, every = false) {
    const hex = [...bytes].map((b) => b.toString(16).toUpperCase().padStart(2, '0')).join('');
    const fields = (ok, codes, reports) => [hex, ok ? 'ok' : 'fail', codes,
      reports.map((r) => this.reportText(r, true)).join('|')].join('\t');
    if (every) {  // as with `--all`: the line ends with the best code
      const found = this.everyCode(bytes, '|/\\');
      return `${fields(found.ok, found.codes, found.reports)}\t${found.best}`;
    }
    if (bytes.length > 2) {
      const word = this.lookUpWordBytes(bytes, '|/\\');
      return `${fields(word.ok, word.codes, word.reports)}\t${word.ok ? word.wordCode : ''}`;
    }
    const ok = this.x.navo_look_up_typed(bytes[0], bytes[1]) === 1;
    const codes = ok ? this.display(this.cString(this.x.navo_codes()), '|/\\') : '';
    return fields(ok, codes, this.reports());
  }
}

if (typeof module !== 'undefined') module.exports = { NavoLookup, isHanCharacter };
