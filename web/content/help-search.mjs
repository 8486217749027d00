// Searching the help database (window.MirelonHelp) the way pupils type:
// accents, letter case and the underscore of builtin names do not matter,
// so "repete", "Répète" and "arrondi superieur" all find their entry.
//
//   import { helpIndex, searchHelp } from './help-search.mjs';
//   const index = helpIndex(window.MirelonHelp);     // once
//   searchHelp(index, 'arrondi');                     // entries, best first

// Accented letters of French (and their neighbours in Latin-1) and the
// ligatures, mapped through one table: much faster than Unicode
// normalisation over the whole database.
const PLAIN = { à: 'a', á: 'a', â: 'a', ã: 'a', ä: 'a', å: 'a', æ: 'ae', ç: 'c', è: 'e', é: 'e', ê: 'e', ë: 'e',
  ì: 'i', í: 'i', î: 'i', ï: 'i', ñ: 'n', ò: 'o', ó: 'o', ô: 'o', õ: 'o', ö: 'o', ø: 'o', ù: 'u', ú: 'u', û: 'u',
  ü: 'u', ý: 'y', ÿ: 'y', œ: 'oe', _: ' ' };
const FOLDED = new RegExp(`[${Object.keys(PLAIN).join('')}]`, 'g');

export function fold(text) {
  return text.toLowerCase().replace(FOLDED, (c) => PLAIN[c]).replace(/\s+/g, ' ').trim();
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
