// Text practice (文章练习): a text pasted or taken from those offered is
// typed through the pad; each committed character is marked against it
// (scorePractice), a hint gives the next character's best code as the core
// finds it, and a finished run goes to the progress kept per table.
'use strict';

const PracticeTexts = [  // public domain, simplified characters, all in GBK
  { title: '静夜思（李白）', text: '床前明月光，疑是地上霜。举头望明月，低头思故乡。' },
  { title: '春晓（孟浩然）', text: '春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。' },
  { title: '论语·学而（开篇）',
    text: '子曰：学而时习之，不亦说乎？有朋自远方来，不亦乐乎？人不知而不愠，不亦君子乎？' },
  { title: '道德经·第一章',
    text: '道可道，非常道；名可名，非常名。无名天地之始，有名万物之母。故常无欲，以观其妙；' +
      '常有欲，以观其徼。此两者同出而异名，同谓之玄。玄之又玄，众妙之门。' },
];
const PracticeHintKey = '?';  // the pad takes no '?'
const PracticeMaxCharacters = 3000;

function practiceDay(date) {
  const two = (n) => String(n).padStart(2, '0');
  return `${date.getFullYear()}-${two(date.getMonth() + 1)}-${two(date.getDate())}`;
}

function practiceTime(ms) {
  const seconds = ms / 1000;
  if (seconds < 60) return `${seconds.toFixed(1)} 秒`;
  return `${Math.floor(seconds / 60)} 分 ${(seconds % 60).toFixed(0)} 秒`;
}

// Said to screen readers, not shown: the marks are seen as lines and boxes.
function hidden(text) {
  const span = document.createElement('span');
  span.className = 'visually-hidden';
  span.textContent = text;
  return span;
}

class TextPractice {
  constructor(root, pad) {
    this.pad = pad;
    this.lookup = null;
    this.run = null;  // {target, typeable: Set, events, score, finished}
    const $ = (id) => root.querySelector('#' + id);
    this.choice = $('practice-choice');
    this.source = $('practice-source');
    this.status = $('practice-status');
    this.textView = $('practice-text');
    this.progress = $('practice-progress');
    this.hintView = $('practice-hint-text');
    this.result = $('practice-result');
    PracticeTexts.forEach((item, i) => this.choice.add(new Option(item.title, String(i))));
    this.choice.add(new Option('自己粘贴的文章', ''));
    this.source.value = PracticeTexts[0].text;
    this.choice.addEventListener('change', () => {
      const item = PracticeTexts[Number(this.choice.value)];
      this.source.value = this.choice.value === '' ? '' : item.text;
      if (this.choice.value === '') this.source.focus();
    });
    this.source.addEventListener('input', () => { this.choice.value = ''; });
    $('practice-start').addEventListener('click', () => this.start());
    $('practice-hint').addEventListener('click', () => {
      this.hint();
      if (this.running()) this.pad.field.focus();  // typing goes on where it was
    });
    pad.onCommit((text) => this.record({ type: 'commit', text }));
    pad.onKeystroke(() => this.record({ type: 'key' }));
    pad.field.addEventListener('keydown', (event) => {
      if (event.key === PracticeHintKey && this.running()) {
        event.preventDefault();
        this.hint();
      }
    });
    document.addEventListener('navo-table-opened', (event) => {
      const changed = this.running();
      this.lookup = event.detail.lookup;
      this.run = null;
      this.render();
      this.status.textContent = changed ? '码表已更换，请重新开始。' : '选好文章后按“开始”。';
    });
    document.addEventListener('navo-table-forgotten', () => {
      const changed = this.running();
      this.lookup = null;
      this.run = null;
      this.render();
      this.status.textContent = changed ? '码表已忘记，这次练习结束。' : '';
    });
    this.render();
  }

  running() {
    return this.run !== null && !this.run.finished;
  }

  // Han characters the open table holds a code for; the rest is skipped.
  typeableOf(text) {
    const typeable = new Set();
    for (const ch of new Set(text)) {
      const gbk = this.lookup.encode(ch);
      if (isHanCharacter(ch.codePointAt(0)) && gbk.length === 2 && this.lookup.everyCode(gbk).ok) {
        typeable.add(ch);
      }
    }
    return typeable;
  }

  start() {
    this.hintView.textContent = '';
    this.result.replaceChildren();
    if (!this.lookup) {
      this.status.textContent = '请先选择码表 navo.mb，才能练习。';
      return;
    }
    const chars = [...this.source.value.trim()];
    if (chars.length === 0) {
      this.status.textContent = '请先粘贴文章，或选一篇。';
      return;
    }
    const target = chars.slice(0, PracticeMaxCharacters).join('');
    const typeable = this.typeableOf(target);
    if (typeable.size === 0) {
      this.status.textContent = '文章里没有这个码表能打的汉字。';
      return;
    }
    this.run = { target, typeable, events: [], finished: false };
    this.score();
    this.status.textContent = (chars.length > PracticeMaxCharacters ?
      `文章较长，只练习前 ${PracticeMaxCharacters} 个字符。` : '') +
      `开始：共 ${this.run.score.total} 个字，在“打字”的编码框里打。`;
    this.render();
    this.pad.setCode('');
    this.pad.field.focus();
  }

  score() {
    this.run.score = scorePractice(this.run.target, this.run.events,
      (ch) => this.run.typeable.has(ch));
  }

  record(event) {
    if (!this.running()) return;
    this.run.events.push({ ...event, t: performance.now() });
    if (event.type === 'key') return;  // keys change no mark
    this.score();
    if (event.type === 'commit') this.hintView.textContent = '';
    this.render();
    if (this.run.score.done) this.finish();
  }

  // The next character's best code: the shortest under which it comes first.
  hint() {
    if (!this.running()) {
      this.hintView.textContent = this.lookup ? '请先按“开始”。' : '请先选择码表 navo.mb。';
      return;
    }
    const { score, target } = this.run;
    const ch = [...target][score.next];
    const found = this.lookup.everyCode(this.lookup.encode(ch));
    this.hintView.textContent = found.best ? `提示：${ch} ${found.best}` :
      `提示：${ch} 没有首选的编码，键入 ${found.codes.split(/\s+/)[0]} 后选字`;
    this.run.events.push({ type: 'hint', t: performance.now() });
    this.score();
  }

  finish() {
    const s = this.run.score;
    this.run.finished = true;
    const figures = [
      ['字数', `${s.characters}（对 ${s.right}）`],
      ['错字', String(s.errors)],
      ['用时', practiceTime(s.ms)],
      ['速度', `${s.perMinute.toFixed(1)} 字/分`],
      ['击键', `${s.keysPerCharacter.toFixed(2)} 键/字（共 ${s.keystrokes} 键）`],
      ['提示', `${s.hints} 次`],
    ];
    this.result.replaceChildren(...figures.flatMap(([name, value]) => {
      const term = document.createElement('dt');
      term.textContent = name;
      const detail = document.createElement('dd');
      detail.textContent = value;
      detail.dataset.figure = name;
      return [term, detail];
    }));
    this.status.textContent = `练完了：${s.characters} 个字，错 ${s.errors} 个。`;
    const progress = window.navoProgress;
    if (progress && typeof progress.recordSession === 'function') {
      try {
        Promise.resolve(progress.recordSession({ kind: 'practice', day: practiceDay(new Date()),
          characters: s.characters, right: s.right, ms: Math.round(s.ms),
          keystrokes: s.keystrokes,
          // each character typed, so that the drill brings back the ones missed or slow
          results: s.marks.filter((m) => m.state === 'right' || m.state === 'wrong')
            .map((m) => ({ character: m.ch, right: m.state === 'right', ms: Math.round(m.ms) })) }))
          .catch(() => {});
      } catch (error) {
        // progress not kept: the run's figures are still shown
      }
    }
  }

  render() {
    if (!this.run) {
      this.textView.replaceChildren();
      this.progress.textContent = this.lookup ? '' : '请先选择码表 navo.mb，才能练习。';
      return;
    }
    const s = this.run.score;
    const spans = s.marks.map((mark, i) => {
      const span = document.createElement('span');
      span.textContent = mark.ch;
      span.className = 'practice-' + (i === s.next ? 'current' : mark.state);
      if (mark.state === 'wrong') {
        const typed = document.createElement('span');
        typed.className = 'practice-typed';
        typed.textContent = mark.typed;
        span.append(hidden('（错，打成 '), typed, hidden('）'));
      }
      if (i === s.next) span.setAttribute('aria-current', 'true');
      return span;
    });
    this.textView.replaceChildren(...spans);
    const last = [...s.marks].reverse().find((m) => m.state === 'right' || m.state === 'wrong');
    const said = last ? (last.state === 'right' ? `${last.ch} 对。` : `${last.ch} 错，打成 ${last.typed}。`) : '';
    const next = s.next >= 0 ? `下一个：${s.marks[s.next].ch}` : '';
    this.progress.textContent =
      `${said}已打 ${s.characters}/${s.total} 字，错 ${s.errors} 个。${next}`;
  }
}

window.navoPractice = new TextPractice(document.getElementById('practice'), window.navoPad);
