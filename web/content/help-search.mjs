// Searching the help database (window.MirelonHelp) the way pupils type:
// accents, letter case and the underscore of builtin names do not matter,
// so "repete", "Répète" and "arrondi superieur" all find their entry.
//
//   import { helpIndex, searchHelp } from './help-search.mjs';
//   const index = helpIndex(window.MirelonHelp);     // once
//   searchHelp(index, 'arrondi');                     // entries, best first

export function fold(text) {
  return text
    .toLowerCase()
    .normalize('NFD')
    .replace(/[\u0300-\u036f]/g, '')
    .replace(/œ/g, 'oe')
    .replace(/æ/g, 'ae')
    .replace(/_/g, ' ')
    .replace(/\s+/g, ' ')
    .trim();
}

// One record per entry with its folded names and words, built once.
export function helpIndex(help) {
  return help.entries.map((entry) => ({
    entry,
    names: entry.names.map(fold),
    words: fold([entry.signature, entry.summary, entry.details ?? ''].join(' ')),
  }));
}

// Entries whose name equals the query first, then names that start with it,
// then names that contain it, then entries whose text contains every word.
export function searchHelp(index, query, limit = 50) {
  const q = fold(query);
  if (!q) return index.slice(0, limit).map((r) => r.entry);
  const terms = q.split(' ');
  const scored = [];
  for (const record of index) {
    let score = 0;
    if (record.names.includes(q)) score = 4;
    else if (record.names.some((n) => n.startsWith(q))) score = 3;
    else if (record.names.some((n) => n.includes(q))) score = 2;
    else if (terms.every((t) => record.words.includes(t) || record.names.some((n) => n.includes(t)))) score = 1;
    if (score) scored.push({ score, record });
  }
  scored.sort((a, b) => b.score - a.score);
  return scored.slice(0, limit).map((s) => s.record.entry);
}

// The entry of a word of the editor (hover help, F1): exact name only.
export function entryForWord(index, word) {
  const w = fold(word);
  return index.find((record) => record.names.includes(w))?.entry ?? null;
}
