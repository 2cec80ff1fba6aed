// The drill (练习): one character shown large, its code typed and answered
// with Space; right when the character is among that code's candidates,
// best when it is the first. What a code holds and every code of a
// character are asked of the core; which character comes next, of the scheduler.
'use strict';

const DrillMaxLetters = 7;

class Drill {
  constructor(root, store) {
    this.store = store;
    this.lookup = null;
    this.scheduler = null;
    this.codes = new Map();
    this.code = '';
    this.keystrokes = 0;
    this.character = root.querySelector('#drill-character');
    this.field = root.querySelector('#drill-code');
    this.levelLabel = root.querySelector('#drill-level');
    this.result = root.querySelector('#drill-result');
    this.progressStatus = root.querySelector('#progress-status');
    this.fileInput = root.querySelector('#progress-file');
    this.field.addEventListener('keydown', (event) => this.onKey(event));
    this.field.addEventListener('input', () => this.onInput());
    root.querySelector('#progress-export').addEventListener('click', () => this.exportProgress());
    root.querySelector('#progress-import').addEventListener('click', () => this.fileInput.click());
    this.fileInput.addEventListener('change', () => this.importProgress());
    store.recordResults = (results) => {
      if (!this.scheduler) return;
      for (const r of results) this.scheduler.record(r.character, r.right, r.ms);
      store.record.drill = this.scheduler.toJSON();
    };
    document.addEventListener('navo-table-opened', (event) => this.tableOpened(event.detail));
    document.addEventListener('navo-table-forgotten', () => this.tableForgotten());
    this.render();
  }

  // Whether the table holds the character under some code: the window's
  // lookup is quick and finds most; every code of it is asked only when that finds none.
  holds(character) {
    const gbk = this.lookup.encode(character);
    if (gbk.length !== 2 || gbk[0] < 0x81) return false;
    const x = this.lookup.x;
    if (x.navo_look_up_typed(gbk[0], gbk[1]) === 1 && x.navo_codes() && this.lookup.cString(x.navo_codes()).length) {
      return true;
    }
    const every = this.lookup.everyCode(gbk);
    return every.ok && every.codes.trim() !== '';
  }

  // Every code of a character, asked of the core once a table (it takes a
  // while: the answer and the statistics show them after each answer).
  codesOf(character) {
    if (!this.codes.has(character)) this.codes.set(character, this.lookup.everyCode(this.lookup.encode(character)));
    return this.codes.get(character);
  }

  async tableOpened({ lookup, key }) {
    this.lookup = lookup;
    this.codes = new Map();
    this.scheduler = null;
    this.render();
    await this.store.open(key);
    if (this.lookup !== lookup || this.store.key !== key) return;
    this.startScheduler(this.store.record.drill);
  }

  // The table is closed: nothing to drill until another is open; its progress stays stored.
  tableForgotten() {
    this.lookup = null;
    this.scheduler = null;
    this.setCode('');
    this.result.replaceChildren();
    this.store.close();
    this.render();
  }

  startScheduler(progress) {
    const oneLetter = [...'abcdefghijklmnopqrstuvwxyz'].map((letter) =>
      codeCandidates(this.lookup, letter).exact[0] || '');
    const levels = new DrillLevels(oneLetter, typeof NAVO_FREQUENT === 'string' ? NAVO_FREQUENT : '',
      (c) => this.holds(c));
    this.scheduler = new DrillScheduler(levels, progress,
      { now: () => performance.now(), random: Math.random });
    this.store.record.drill = this.scheduler.toJSON();
    this.setCode('');
    this.scheduler.next();
    this.render();
    this.store.changed();
  }

  onKey(event) {
    if (event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
    const key = event.key;
    if (/^[a-zA-Z]$/.test(key)) {
      event.preventDefault();
      this.keystrokes += 1;
      if (this.code.length < DrillMaxLetters) this.setCode(this.code + key.toLowerCase());
    } else if (key === ' ' || key === 'Enter') {
      event.preventDefault();
      this.keystrokes += 1;
      this.answer();
    } else if (key === 'Backspace') {
      event.preventDefault();
      this.keystrokes += 1;
      this.setCode(this.code.slice(0, -1));
    } else if (key === 'Escape') {
      event.preventDefault();
      this.keystrokes += 1;
      this.setCode('');
    }
  }

  // Text that came in another way (a phone's keyboard): letters kept, a space answers.
  onInput() {
    const value = this.field.value.toLowerCase();
    const letters = value.replace(/[^a-z]/g, '').slice(0, DrillMaxLetters);
    this.keystrokes += Math.max(0, letters.length - this.code.length);
    this.setCode(letters);
    if (/\s/.test(value)) this.answer();
  }

  setCode(code) {
    this.code = code;
    this.field.value = code;
  }

  answer() {
    const character = this.scheduler && this.scheduler.shown;
    if (!character || this.code === '') return;
    const code = this.code;
    const exact = codeCandidates(this.lookup, code).exact;
    const right = exact.includes(character);
    const outcome = this.scheduler.answer(right);
    const keystrokes = this.keystrokes;
    this.keystrokes = 0;
    this.store.record.drill = this.scheduler.toJSON();
    this.store.addDrillAnswer(dayOf(new Date()), right,
      Math.min(outcome.ms, DrillRules.capMs), keystrokes);
    this.setCode('');
    this.scheduler.next();
    this.render();
    this.showAnswer(character, code, exact, outcome);
    this.store.save();
    this.store.changed();
    window.navoTimes.drillAnswered = performance.now();
  }

  // The answer just given: right, best or wrong, and every code of the character.
  showAnswer(character, code, exact, outcome) {
    const every = this.codesOf(character);
    const verdict = document.createElement('p');
    verdict.className = 'drill-verdict';
    const place = exact.indexOf(character);
    if (outcome.right && place === 0) {
      verdict.classList.add('drill-right');
      verdict.textContent = `✓ 对：${code} 的第一个候选就是“${character}”。`;
    } else if (outcome.right) {
      verdict.classList.add('drill-right');
      verdict.textContent = `✓ 对，但“${character}”是 ${code} 的第 ${place + 1} 个候选，不是最佳编码。`;
    } else {
      verdict.classList.add('drill-wrong');
      verdict.textContent = `✗ 错：${code} 的候选中没有“${character}”。`;
    }
    verdict.dataset.outcome = !outcome.right ? 'wrong' : place === 0 ? 'best' : 'right';
    const codes = document.createElement('p');
    codes.className = 'drill-codes';
    codes.append(`“${character}”的编码（${(outcome.ms / 1000).toFixed(1)} 秒）：`);
    for (const each of every.codes.split(/\s+/).filter((c) => /^[a-z]+$/.test(c))) {
      const item = document.createElement(each === every.best ? 'strong' : 'span');
      item.className = each === every.best ? 'drill-code drill-best' : 'drill-code';
      item.textContent = each === every.best ? `${each}（最佳）` : each;
      codes.append(' ', item);
    }
    const parts = [verdict, codes];
    if (outcome.passed && this.scheduler.level > outcome.level) {
      const passed = document.createElement('p');
      passed.className = 'drill-passed';
      passed.textContent = `第 ${outcome.level + 1} 级通过！进入第 ${this.scheduler.level + 1} 级。`;
      parts.push(passed);
    }
    const next = document.createElement('p');
    next.className = 'visually-hidden';
    next.textContent = `下一个字：${this.scheduler.shown}`;
    this.result.replaceChildren(...parts, next);
  }

  render() {
    if (!this.lookup) {
      this.character.textContent = '';
      this.levelLabel.textContent = '请先选择码表 navo.mb，再开始练习。';
      return;
    }
    if (!this.scheduler) {
      this.character.textContent = '';
      this.levelLabel.textContent = '正在读取进度…';
      return;
    }
    const level = this.scheduler.level;
    const total = this.scheduler.pool().length;
    this.character.textContent = this.scheduler.shown || '';
    this.levelLabel.textContent = `第 ${level + 1} 级：${this.scheduler.mastered(level)}/${total} 已掌握` +
      `（${DrillRules.passMs / 1000} 秒内答对算掌握）`;
  }

  exportProgress() {
    if (!this.store.key) {
      this.progressStatus.textContent = '请先选择码表。';
      return;
    }
    const blob = new Blob([this.store.exportText()], { type: 'application/json' });
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = `navo-progress-${dayOf(new Date())}.json`;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
    this.progressStatus.textContent = `已导出进度：${link.download}`;
  }

  async importProgress() {
    const file = this.fileInput.files[0];
    this.fileInput.value = '';
    if (!file) return;
    if (!this.store.key) {
      this.progressStatus.textContent = '请先选择码表，再导入它的进度。';
      return;
    }
    let text;
    try {
      text = file.size > 16 * 1024 * 1024 ? '' : await file.text();
    } catch (error) {
      text = '';
    }
    const read = this.store.importText(text, isDrillProgress);
    if (!read.ok) {
      this.progressStatus.textContent = `没有导入 ${file.name}：${read.message}进度没有改变。`;
      this.progressStatus.classList.add('error');
      return;
    }
    this.progressStatus.classList.remove('error');
    this.progressStatus.textContent = `已导入进度：${file.name}。`;
    this.startScheduler(read.record.drill);
  }
}

window.navoDrill = new Drill(document.getElementById('drill'), window.navoProgress);
