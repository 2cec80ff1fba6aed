// Scoring a text practised through the typing pad. Pure: the target text,
// what the pad committed and the keys pressed, each with its time (ms) as
// the caller measured it; which characters count is asked of the caller
// (those the open table can type), so that this file needs no table.
//
// - Each committed character takes the next counted character of the text,
//   right when it is the same; a word commits several at once. Committed
//   blanks (a new line) take nothing. A committed character is final: an
//   error stays an error.
// - Characters that do not count (punctuation, blanks, what the table
//   cannot type) are shown as they are and skipped.
// - Time runs from the first key pressed to the commit that fills the last
//   counted character; keys pressed after that are not the run's.
// - Hints asked for are counted apart, not as keystrokes.
// - A character's own time runs from the commit before it (the first key,
//   for the first) to its commit; a word's is shared among its characters.
'use strict';

function isBlank(ch) {
  return /^\s$/u.test(ch);
}

// target: a string; events: [{type: 'key'|'commit'|'hint', t, text}];
// counts(ch): whether the character is typed in this run.
function scorePractice(target, events, counts) {
  const marks = [...target].map((ch) => {
    const counted = !isBlank(ch) && counts(ch);
    return { ch, counted, state: counted ? 'pending' : 'skipped', typed: '' };
  });
  const order = marks.map((m, i) => i).filter((i) => marks[i].counted);
  let filled = 0;
  let keystrokes = 0;
  let hints = 0;
  let first = null;
  let last = null;
  for (const event of events) {
    if (filled === order.length) break;
    if (event.type === 'key') {
      keystrokes++;
      if (first === null) first = event.t;
    } else if (event.type === 'hint') {
      hints++;
    } else if (event.type === 'commit') {
      const before = filled;
      for (const ch of event.text) {
        if (isBlank(ch) || filled === order.length) continue;
        const mark = marks[order[filled++]];
        mark.typed = ch;
        mark.state = ch === mark.ch ? 'right' : 'wrong';
      }
      if (filled === before) continue;
      if (first === null) first = event.t;  // a candidate tapped before any key
      const share = (event.t - (last === null ? first : last)) / (filled - before);
      for (let i = before; i < filled; i++) marks[order[i]].ms = share;
      last = event.t;
    }
  }
  const characters = filled;
  const errors = marks.filter((m) => m.state === 'wrong').length;
  const ms = first !== null && last !== null ? Math.max(0, last - first) : 0;
  return {
    marks,
    next: filled < order.length ? order[filled] : -1,
    done: order.length > 0 && filled === order.length,
    total: order.length,
    characters,
    right: characters - errors,
    errors,
    keystrokes,
    hints,
    ms,
    perMinute: ms > 0 ? characters / ms * 60000 : 0,
    keysPerCharacter: characters > 0 ? keystrokes / characters : 0,
  };
}

if (typeof module !== 'undefined') module.exports = { scorePractice };
