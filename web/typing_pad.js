// The typing pad (打字): letters typed on the keyboard or tapped on the
// on-screen one make a code; the core gives its candidates (exact ones in
// the table's order, then hints with the letters still to type); the chosen
// one grows the text. The pad only routes keys: what a code holds is asked
// of the core each time.
'use strict';

const PadPageSize = 9;  // 1-9 choose on a page
const PadHintsShown = 9;
const PadMaxLetters = 7;
const PadKeyboardRows = ['qwertyuiop', 'asdfghjkl', 'zxcvbnm'];

// The candidates of a code, asked of the module: {ok, exact: [text],
// hints: [{text, rest}], cut, reports}.
function codeCandidates(lookup, code) {
  const scratch = lookup.bytesAt(lookup.x.navo_scratch(), code.length + 1);
  scratch.set([...code].map((c) => c.charCodeAt(0)).concat([0]));
  const ok = lookup.x.navo_look_up_code() === 1;
  const exact = [];
  const hints = [];
  const count = ok ? lookup.x.navo_candidate_count() : 0;
  const exactCount = ok ? lookup.x.navo_candidate_exact_count() : 0;
  for (let i = 0; i < count; i++) {
    const text = lookup.display(lookup.cString(lookup.x.navo_candidate_text(i)));
    if (i < exactCount) exact.push(text);
    else hints.push({ text, rest: lookup.display(lookup.cString(lookup.x.navo_candidate_rest(i))) });
  }
  return { ok, exact, hints, cut: ok && lookup.x.navo_candidates_cut() === 1,
    reports: lookup.reports() };
}

class TypingPad {
  constructor(root) {
    this.lookup = null;
    this.code = '';
    this.page = 0;
    this.found = { exact: [], hints: [], cut: false };
    this.listeners = { commit: [], keystroke: [] };  // for what watches the typing
    this.field = root.querySelector('#pad-code');
    this.list = root.querySelector('#pad-candidates');
    this.hintList = root.querySelector('#pad-hints');
    this.pageLabel = root.querySelector('#pad-page');
    this.text = root.querySelector('#pad-text');
    this.keyboard = root.querySelector('#pad-keyboard');
    this.field.addEventListener('keydown', (event) => this.onKey(event));
    this.buildKeyboard();
    document.addEventListener('navo-table-forgotten', () => this.tableForgotten());
    root.querySelector('#pad-copy').addEventListener('click', () => this.copy(root));
    this.render();
  }

  // callback(text) for each text committed; callback(key) for each key
  // the pad takes, pressed or tapped.
  onCommit(callback) {
    this.listeners.commit.push(callback);
  }

  onKeystroke(callback) {
    this.listeners.keystroke.push(callback);
  }

  tell(kind, value) {
    for (const callback of this.listeners[kind]) callback(value);
  }

  // A table was opened: the keys show its one-letter characters.
  tableOpened(lookup) {
    this.useTable(lookup);
  }

  // The table was forgotten: no candidates, and keys with letters only.
  tableForgotten() {
    this.useTable(null);
  }

  useTable(lookup) {
    this.lookup = lookup;
    this.setCode('');
    for (const key of this.keyboard.querySelectorAll('[data-letter]')) {
      const letter = key.dataset.letter;
      const root = lookup ? codeCandidates(lookup, letter).exact[0] || '' : '';
      key.querySelector('.pad-root').textContent = root;
      key.setAttribute('aria-label', `${letter} ${root}`.trim());
    }
  }

  buildKeyboard() {
    const addKey = (row, label, action, className) => {
      const key = document.createElement('button');
      key.type = 'button';
      key.tabIndex = -1;  // the code field takes the keyboard; keys are for pointers
      key.className = className;
      key.innerHTML = label;
      key.addEventListener('mousedown', (event) => event.preventDefault());  // keep the field's focus
      key.addEventListener('click', () => {
        this.tell('keystroke', label);
        action();
        this.field.focus();
      });
      row.append(key);
      return key;
    };
    PadKeyboardRows.forEach((letters, r) => {
      const row = document.createElement('div');
      row.className = 'pad-row';
      for (const letter of letters) {
        const key = addKey(row, `<span class="pad-letter">${letter.toUpperCase()}</span>` +
          '<span class="pad-root"></span>', () => this.typeLetter(letter), 'pad-key');
        key.dataset.letter = letter;
      }
      if (r === 2) addKey(row, '⌫', () => this.backspace(), 'pad-key pad-wide').setAttribute('aria-label', '退格');
      this.keyboard.append(row);
    });
    const row = document.createElement('div');
    row.className = 'pad-row';
    addKey(row, '清除', () => this.setCode(''), 'pad-key pad-wide');
    addKey(row, '空格', () => this.choose(0), 'pad-key pad-space');
    addKey(row, '回车', () => this.commitLetters(), 'pad-key pad-wide');
    this.keyboard.append(row);
  }

  onKey(event) {
    if (event.ctrlKey || event.altKey || event.metaKey || event.isComposing) return;
    const key = event.key;
    const handled = () => {
      event.preventDefault();
      this.tell('keystroke', key);
    };
    if (/^[a-zA-Z]$/.test(key)) {
      handled();
      this.typeLetter(key.toLowerCase());
    } else if (/^[1-9]$/.test(key)) {
      if (this.code) {
        handled();
        this.choose(Number(key) - 1);
      }
    } else if (key === ' ') {
      handled();
      if (this.code) this.choose(0);
    } else if (key === '-' || key === 'ArrowUp' || key === 'ArrowLeft' || key === 'PageUp') {
      if (this.code) {
        handled();
        this.turn(-1);
      }
    } else if (key === '=' || key === 'ArrowDown' || key === 'ArrowRight' || key === 'PageDown') {
      if (this.code) {
        handled();
        this.turn(1);
      }
    } else if (key === 'Backspace') {
      handled();
      this.backspace();
    } else if (key === 'Escape') {
      handled();
      this.setCode('');
    } else if (key === 'Enter') {
      handled();
      this.commitLetters();
    }
  }

  typeLetter(letter) {
    if (this.code.length < PadMaxLetters) this.setCode(this.code + letter);
  }

  backspace() {
    if (this.code) this.setCode(this.code.slice(0, -1));
    else this.text.value = [...this.text.value].slice(0, -1).join('');
  }

  // Enter: the letters as typed; on an empty code, a new line.
  commitLetters() {
    this.append(this.code || '\n');
    this.setCode('');
  }

  // The index-th candidate of the page shown.
  choose(index) {
    const at = this.page * PadPageSize + index;
    if (index >= PadPageSize || at >= this.found.exact.length) return;
    this.append(this.found.exact[at]);
    this.setCode('');
  }

  turn(step) {
    const pages = Math.max(1, Math.ceil(this.found.exact.length / PadPageSize));
    const page = Math.min(pages - 1, Math.max(0, this.page + step));
    if (page !== this.page) {
      this.page = page;
      this.render();
    }
  }

  append(text) {
    this.text.value += text;
    this.text.scrollTop = this.text.scrollHeight;
    this.tell('commit', text);
  }

  setCode(code) {
    this.code = code;
    this.page = 0;
    const empty = { exact: [], hints: [], cut: false };
    this.found = code && this.lookup ? codeCandidates(this.lookup, code) : empty;
    this.render();
  }

  render() {
    this.field.value = this.code;
    const first = this.page * PadPageSize;
    const shown = this.found.exact.slice(first, first + PadPageSize);
    const items = shown.map((text, i) => {
      const item = document.createElement('li');
      item.className = 'pad-candidate';
      const number = document.createElement('span');
      number.className = 'pad-number';
      number.textContent = String(i + 1);
      const word = document.createElement('span');
      word.className = 'pad-word';
      word.textContent = text;
      item.append(number, ' ', word);
      item.addEventListener('click', () => {
        this.tell('keystroke', String(i + 1));
        this.choose(i);
        this.field.focus();
      });
      return item;
    });
    this.list.replaceChildren(...items);
    const hints = this.found.hints.slice(0, PadHintsShown).map((hint) => {
      const item = document.createElement('li');
      item.className = 'pad-hint';
      item.append(hint.text, ' ');
      const rest = document.createElement('span');
      rest.className = 'pad-rest';
      rest.textContent = hint.rest;
      item.append(rest);
      return item;
    });
    this.hintList.replaceChildren(...hints);
    const pages = Math.ceil(this.found.exact.length / PadPageSize);
    let label = '';
    if (this.code && !this.lookup) label = '请先选择码表 navo.mb。';
    else if (this.code && this.found.exact.length === 0) label = `${this.code}：没有候选。`;
    else if (pages > 1) label = `第 ${this.page + 1}/${pages} 页（- = 翻页）`;
    this.pageLabel.textContent = label;
  }

  async copy(root) {
    const status = root.querySelector('#pad-copy-status');
    try {
      await navigator.clipboard.writeText(this.text.value);
      status.textContent = `已复制 ${[...this.text.value].length} 个字符。`;
    } catch (error) {
      status.textContent = '浏览器不允许复制。';
    }
  }
}

window.navoPad = new TypingPad(document.getElementById('pad'));
