// The lookup page: the table chosen and remembered, the input box as the
// window's, texts and words, the reports as text, the root charts.
'use strict';

const $ = (id) => document.getElementById(id);
const box = $('box');
let lookup = null;      // NavoLookup, once the module is ready
let tableOpen = false;  // a table was chosen and handed to the core
// When things happened, for the benchmark and the tests.
window.navoTimes = {};

async function loadModule() {
  const packed = Uint8Array.from(atob(NAVO_MODULE_GZIP_BASE64), (c) => c.charCodeAt(0));
  const stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
  return NavoLookup.fromBytes(await new Response(stream).arrayBuffer());
}

// --- Remembering the table (IndexedDB) ---------------------------------
function openStore() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('navo-lookup', 1);
    request.onupgradeneeded = () => request.result.createObjectStore('tables');
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function storeTable(name, bytes) {
  const db = await openStore();
  await new Promise((resolve, reject) => {
    const transaction = db.transaction('tables', 'readwrite');
    transaction.objectStore('tables').put({ name, bytes: bytes.buffer.slice(0) }, 'current');
    transaction.oncomplete = resolve;
    transaction.onerror = () => reject(transaction.error);
  });
  db.close();
}

async function forgetStoredTable() {
  const db = await openStore();
  await new Promise((resolve, reject) => {
    const transaction = db.transaction('tables', 'readwrite');
    transaction.objectStore('tables').delete('current');
    transaction.oncomplete = resolve;
    transaction.onerror = () => reject(transaction.error);
  });
  db.close();
}

async function storedTable() {
  const db = await openStore();
  const value = await new Promise((resolve, reject) => {
    const request = db.transaction('tables').objectStore('tables').get('current');
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
  db.close();
  return value;
}

// --- What the core reports ----------------------------------------------
let audio = null;

function beep() {
  try {
    audio = audio || new AudioContext();
    const tone = audio.createOscillator();
    const gain = audio.createGain();
    tone.frequency.value = 880;
    gain.gain.value = 0.1;
    tone.connect(gain).connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + 0.12);
  } catch (error) {
    // no sound where audio is not allowed; the visible cue remains
  }
  box.classList.remove('beep');
  void box.offsetWidth;  // restart the cue on a second beep
  box.classList.add('beep');
  setTimeout(() => box.classList.remove('beep'), 400);
}

// Shows the reports (message boxes as text, beeps as sound and cue) in place
// of those of the last action.
function showReports(reports, notes = []) {
  const area = $('messages');
  area.textContent = '';
  for (const report of reports) {
    const message = document.createElement('div');
    message.className = 'message';
    if (report.beep) {
      message.classList.add('beep-cue');
      message.textContent = '（提示音）';
      beep();
    } else {
      const caption = document.createElement('strong');
      caption.textContent = report.caption ? lookup.display(report.caption) : '错误';
      message.append(caption, lookup.display(report.text));
    }
    area.append(message);
  }
  for (const note of notes) {
    const message = document.createElement('div');
    message.className = 'message';
    message.textContent = note;
    area.append(message);
  }
}

// A file or text the page refuses: said as an error, the table left as it was.
function showError(text) {
  showReports([], [text]);
  $('messages').lastChild.classList.add('error');
}

// What a text holds that cannot be looked up: characters outside GBK, and
// letters or digits that are no Chinese characters.
function notLookedUp(text) {
  const notes = [];
  const others = [];
  for (const character of text) {
    const codePoint = character.codePointAt(0);
    if (isHanCharacter(codePoint)) {
      if (codePoint >= 0x10000 || lookup.x.navo_gbk_of_unicode(codePoint) < 0x100)
        notes.push(`${character}：不在 GBK 中，无法查询。`);
    } else if (/[\p{L}\p{N}]/u.test(character)) {
      others.push(character);
    }
  }
  if (others.length) notes.push(`${others.join('')}：不是汉字，只能查询汉字。`);
  return notes;
}

// --- The pane -----------------------------------------------------------
let pastedLines = null;  // the lines of the last paste, in its reading order

function renderPane() {
  const lines = pastedLines || (lookup && tableOpen ? lookup.historyLines() : []);
  $('pane-lines').setAttribute('aria-label', pastedLines ? '粘贴文字的查询结果，按原文顺序' :
    '查询结果，最新的在最上面');
  $('pane-title').textContent = lines.length === 0 && lookup ? lookup.heading() : '';
  $('pane-title').hidden = lines.length !== 0;
  const list = $('pane-lines');
  list.textContent = '';
  for (const line of lines) {
    const item = document.createElement('li');
    item.textContent = line;
    list.append(item);
  }
  return lines;
}

function announce(text) {
  $('announce').textContent = text;
}

// --- The table ----------------------------------------------------------
// A table's content as a short key (its length and a 53-bit hash of its
// bytes): the same file gives the same key, whatever it is called.
function tableKey(bytes) {
  let h1 = 0xdeadbeef;
  let h2 = 0x41c6ce57;
  for (let i = 0; i < bytes.length; i++) {
    h1 = Math.imul(h1 ^ bytes[i], 2654435761);
    h2 = Math.imul(h2 ^ bytes[i], 1597334677);
  }
  h1 = Math.imul(h1 ^ (h1 >>> 16), 2246822507) ^ Math.imul(h2 ^ (h2 >>> 13), 3266489909);
  h2 = Math.imul(h2 ^ (h2 >>> 16), 2246822507) ^ Math.imul(h1 ^ (h1 >>> 13), 3266489909);
  const hash = 4294967296 * (2097151 & h2) + (h1 >>> 0);
  return `${bytes.length}-${hash.toString(16)}`;
}

function openTable(name, bytes, remember) {
  const opened = lookup.openTable(name, bytes);
  tableOpen = true;
  pastedLines = null;
  const size = bytes ? bytes.length : 0;
  let status;
  if (!opened.opened) {
    status = `没有打开码表 ${name}。`;
  } else if (opened.candidates < 0) {
    status = `已打开 ${name}（${size.toLocaleString()} 字节），但它不是码表：比码表的固定部分还短。`;
  } else {
    status = `已打开码表 ${name}（${size.toLocaleString()} 字节，${opened.candidates.toLocaleString()} 个候选）。`;
  }
  if (!remember) status = `上次打开的码表：${status}`;
  $('table-label').textContent = '换用其他码表：';
  $('forget-table').hidden = remember || !bytes;  // shown once it is remembered
  $('table-status').textContent = status;
  showReports(opened.reports);
  renderPane();
  if (opened.opened && window.navoPad) window.navoPad.tableOpened(lookup);
  // What else works with the table (drill, practice, progress) listens here;
  // progress is kept per table, keyed by its content.
  if (opened.opened) {
    document.dispatchEvent(new CustomEvent('navo-table-opened',
      { detail: { lookup, name, key: bytes ? tableKey(bytes) : '' } }));
  }
  window.navoTimes.tableOpened = performance.now();
  if (remember && bytes) storeTable(name, bytes).then(() => {
    $('forget-table').hidden = false;
  }).catch(() => {
    $('table-status').textContent += ' （浏览器未能记住它，下次需重新选择。）';
  });
}

// The file input then names no file beside the table still open.
function refuseFile(text) {
  showError(text);
  $('table-file').value = '';
}

// No table is near this; a larger file is refused before it is read.
const LargestTable = 64 * 1024 * 1024;

async function chooseFile(file) {
  window.navoTimes.chosen = performance.now();
  window.navoTimes.firstLine = undefined;
  if (!lookup) return;
  if (file.size > LargestTable) {
    refuseFile(`${file.name} 有 ${file.size.toLocaleString()} 字节，超过 64 MB，不是码表；仍使用原来的码表。`);
    return;
  }
  let bytes = null;
  try {
    bytes = new Uint8Array(await file.arrayBuffer());
    window.navoTimes.read = performance.now();
  } catch (error) {
    refuseFile(`无法读取 ${file.name}；仍使用原来的码表。`);
    return;
  }
  if (!lookup.isTable(bytes)) {
    refuseFile(`${file.name}（${bytes.length.toLocaleString()} 字节）不是码表：太短或已损坏；仍使用原来的码表。`);
    return;
  }
  openTable(file.name, bytes, true);
}

// --- The input box, as the window's ------------------------------------
function lookUpBox() {
  const value = box.value;
  if (value === '' || !lookup) return;  // the module may still be loading
  if (!tableOpen) {
    showReports([], ['请先选择码表 navo.mb。']);
    return;
  }
  const started = performance.now();
  const notes = notLookedUp(value);
  if (notes.length) {
    box.value = [...value].filter((c) => notLookedUp(c).length === 0).join('');
    if (![...box.value].some((c) => isHanCharacter(c.codePointAt(0)))) {
      box.value = '';
      showReports([], notes);
      return;
    }
  }
  const text = box.value;
  const before = lookup.historyLines()[0];
  pastedLines = null;
  let reports;
  if (lookup.encode(text).length > 2) {
    // More than one character at once (pasted, or a phrase committed): each
    // Chinese character once, in order, as `nvcodefind --text` does.
    box.value = '';
    reports = [];
    // One character at a time: the history keeps only the last ten lines.
    pastedLines = [];
    const seen = new Set();
    for (const character of text) {
      for (const result of lookup.lookUpText(character, seen)) {
        if (result.outside) continue;  // named above
        reports.push(...result.reports);
        if (result.found) pastedLines.push(lookup.historyLines()[0]);
      }
    }
  } else {
    const change = lookup.inputChanged(text);
    if (change.emptied) box.value = '';
    reports = change.reports;
  }
  showReports(reports, notes);
  const lines = renderPane();
  if (lines.length && lines[0] !== before) announce(lines[0]);
  window.navoTimes.lastLookup = performance.now() - started;
  if (lines.length && window.navoTimes.firstLine === undefined)
    window.navoTimes.firstLine = performance.now();
}

box.addEventListener('input', (event) => {
  if (!event.isComposing) lookUpBox();
});
box.addEventListener('compositionend', () => lookUpBox());

// --- Words ----------------------------------------------------------------
$('word-form').addEventListener('submit', (event) => {
  event.preventDefault();
  const word = $('word').value.trim();
  $('word-result').textContent = '';
  if (word === '' || !lookup) return;
  if (!tableOpen) {
    showReports([], ['请先选择码表 navo.mb。']);
    return;
  }
  if ([...word].length === 1) {
    box.value = word;
    lookUpBox();
    return;
  }
  if (![...word].every((c) => isHanCharacter(c.codePointAt(0)))) {
    showReports([], [...notLookedUp(word), `${word}：词组只能由汉字组成。`]);
    return;
  }
  const result = lookup.lookUpWord(word);
  showReports(result.reports || []);
  let text;
  if (result.outside) text = `${word}：不在 GBK 中，无法查询。`;
  else if (!result.ok) text = `${word}：查询失败。`;
  else {
    // The codes the table holds the word under, its word code said once.
    const others = result.codes.split(/\s+/).filter((c) => c && c !== result.wordCode);
    const held = result.codes.split(/\s+/).includes(result.wordCode);
    text = `${word}: 词组编码 ${result.wordCode}` + (held ? '' : '（码表中没有这个词组）') +
      (others.length ? `；码表中另有 ${others.join('  ')}` : '');
  }
  $('word-result').textContent = text;
});

// --- Copying ------------------------------------------------------------
$('copy').addEventListener('click', async () => {
  const lines = lookup ? lookup.historyLines() : [];
  const word = $('word-result').textContent;
  const copied = [...(pastedLines || lines), ...(word ? [word] : [])];
  try {
    await navigator.clipboard.writeText(copied.join('\n'));
    $('copy-status').textContent = `已复制 ${copied.length} 行。`;
  } catch (error) {
    $('copy-status').textContent = '浏览器不允许复制。';
  }
});

// --- Choosing the table -----------------------------------------------------
$('table-file').addEventListener('change', () => {
  const file = $('table-file').files[0];
  if (file) chooseFile(file);
});
// A file dropped anywhere on the page is taken as a table, never opened by
// the browser in the page's place.
const dropZone = $('drop-zone');
document.addEventListener('dragover', (event) => {
  event.preventDefault();
  dropZone.classList.add('dragging');
});
document.addEventListener('dragleave', (event) => {
  if (event.relatedTarget === null) dropZone.classList.remove('dragging');
});
document.addEventListener('drop', (event) => {
  event.preventDefault();
  dropZone.classList.remove('dragging');
  const file = event.dataTransfer.files[0];
  if (file) chooseFile(file);
});

$('forget-table').addEventListener('click', async () => {
  lookup.closeTable();
  tableOpen = false;
  pastedLines = null;
  $('forget-table').hidden = true;
  $('table-status').textContent = '已忘记码表；请重新选择码表 navo.mb。';
  $('table-label').textContent = '码表 navo.mb：';
  $('table-file').value = '';
  renderPane();
  document.dispatchEvent(new CustomEvent('navo-table-forgotten'));
  try {
    await forgetStoredTable();
  } catch (error) {
    // no IndexedDB: nothing was remembered
  }
});

// The sample table, where the page was built with it: a script beside the page.
window.navoSampleTable = (base64) => {
  const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
  openTable('navo.mb', bytes, true);
};
if (NAVO_SAMPLE_SCRIPT) {
  $('sample-table').hidden = false;
  $('sample-table').addEventListener('click', () => {
    window.navoTimes.chosen = performance.now();
    window.navoTimes.firstLine = undefined;
    const script = document.createElement('script');
    script.src = NAVO_SAMPLE_SCRIPT;
    script.onerror = () => showReports([], [`找不到示例码表 ${NAVO_SAMPLE_SCRIPT}。`]);
    document.body.append(script);
  });
}

// --- The charts ---------------------------------------------------------
function showChart(number) {
  $('chart').src = NAVO_CHARTS[number - 1];
  [$('chart').width, $('chart').height] = NAVO_CHART_SIZES[number - 1];  // no shift as it decodes
  $('chart').alt = `字根图 ${number}`;
  for (const button of document.querySelectorAll('.chart-switch'))
    button.setAttribute('aria-pressed', String(button.dataset.chart === String(number)));
}
for (const button of document.querySelectorAll('.chart-switch'))
  button.addEventListener('click', () => showChart(Number(button.dataset.chart)));
showChart(1);

// --- Start ----------------------------------------------------------------
(async () => {
  lookup = await loadModule();
  window.navoTimes.moduleReady = performance.now();
  renderPane();
  try {
    const stored = await storedTable();
    const bytes = stored ? new Uint8Array(stored.bytes) : null;
    if (bytes && !tableOpen && lookup.isTable(bytes)) openTable(stored.name, bytes, false);
  } catch (error) {
    // no IndexedDB (some private modes): the table is chosen each visit
  }
  document.body.dataset.ready = 'true';
})().catch((error) => {
  showReports([], [`页面无法运行查询模块：${error}`]);
});
