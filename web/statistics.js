// The statistics (统计): characters a minute and accuracy per day, drawn as
// an SVG and given as a table too; the twenty least familiar characters with
// their codes.
'use strict';

const StatsDaysShown = 14;
const SvgNamespace = 'http://www.w3.org/2000/svg';

function svgElement(name, attributes, text) {
  const element = document.createElementNS(SvgNamespace, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, value);
  if (text !== undefined) element.textContent = text;
  return element;
}

// Two bar charts one above the other, one bar a day: characters a minute, accuracy.
function drawDailyChart(svg, days) {
  const width = 400;
  const rowHeight = 110;
  const left = 44;
  const step = (width - left - 8) / Math.max(days.length, 7);
  svg.replaceChildren();
  svg.setAttribute('viewBox', `0 0 ${width} ${rowHeight * 2 + 50}`);
  svg.append(svgElement('title', { id: 'stats-chart-title' }, '每天的每分钟字数和正确率'),
    svgElement('desc', { id: 'stats-chart-desc' }, days.length ? days.map((d) =>
      `${d.day}：每分钟 ${d.perMinute.toFixed(1)} 字，正确率 ${Math.round(d.accuracy * 100)}%`).join('；') :
      '还没有练习记录。'));
  const top = Math.max(10, ...days.map((d) => d.perMinute));
  const rows = [
    { label: '每分钟字数', value: (d) => d.perMinute, max: top, text: (d) => d.perMinute.toFixed(0), y: 18 },
    { label: '正确率 %', value: (d) => d.accuracy * 100, max: 100, text: (d) => Math.round(d.accuracy * 100), y: rowHeight + 36 },
  ];
  for (const row of rows) {
    const base = row.y + rowHeight - 20;
    const height = rowHeight - 50;
    svg.append(svgElement('text', { x: 0, y: row.y, class: 'stats-axis' }, row.label),
      svgElement('line', { x1: left, y1: base, x2: width - 4, y2: base, class: 'stats-base' }));
    days.forEach((d, i) => {
      const h = Math.max(1, row.value(d) / row.max * height);
      const x = left + i * step + step * 0.15;
      svg.append(svgElement('rect', { x, y: base - h, width: step * 0.7, height: h, class: 'stats-bar' }),
        svgElement('text', { x: x + step * 0.35, y: base - h - 3, class: 'stats-value' }, String(row.text(d))),
        svgElement('text', { x: x + step * 0.35, y: base + 14, class: 'stats-day' }, d.day.slice(5)));
    });
  }
}

function renderStatistics(root, record, drill) {
  const days = dailyFigures(record ? record.sessions : []).slice(-StatsDaysShown);
  drawDailyChart(root.querySelector('#stats-chart'), days);
  const body = root.querySelector('#stats-days tbody');
  body.replaceChildren(...days.slice().reverse().map((d) => {
    const row = document.createElement('tr');
    for (const text of [d.day, d.characters, d.perMinute.toFixed(1), `${Math.round(d.accuracy * 100)}%`]) {
      const cell = document.createElement('td');
      cell.textContent = String(text);
      row.append(cell);
    }
    return row;
  }));
  root.querySelector('#stats-empty').hidden = days.length > 0;
  const weakest = root.querySelector('#stats-weakest');
  const scheduler = drill && drill.scheduler;
  const items = scheduler ? scheduler.weakest(20) : [];
  weakest.replaceChildren(...items.map((character) => {
    const item = document.createElement('li');
    const every = drill.codesOf(character);
    const state = scheduler.progress.items[character];
    const big = document.createElement('span');
    big.className = 'stats-character';
    big.textContent = character;
    item.append(big, ` ${every.codes.replace(/\s+/g, ' ').trim()}`,
      `（最佳 ${every.best}；答 ${state.seen} 次，错 ${state.wrong} 次）`);
    return item;
  }));
  root.querySelector('#stats-weakest-empty').hidden = items.length > 0;
}

window.navoProgress.onChange((record) => {
  renderStatistics(document.getElementById('stats'), record, window.navoDrill);
});
renderStatistics(document.getElementById('stats'), null, window.navoDrill);
