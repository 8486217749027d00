// What the editor learns from the help database (window.MirelonHelp): the
// builtin and type names it colours, the completion entries and hover help.
// Works with an empty or missing database (no builtin names, keywords only).

import { helpIndex, entryForWord } from '../content/help-search.mjs';

// Keywords and multi-word forms offered by completion even without help.
const keywordForms = [
  'affiche', 'demande', 'dans', 'choisir', 'appuyer', 'si', 'alors', 'sinon', 'sinon si', 'fin si', 'tant que',
  'fin tant que', 'répète', 'fois', 'fin répète', 'pour', 'de', 'à', 'pas', 'fin pour', 'selon', 'cas',
  'sinon selon', 'fin selon', 'essayer', 'attraper', 'fin essayer', 'fonction', 'fin fonction', 'procédure',
  'fin procédure', 'retourne', 'appelle', 'classe', 'fin classe', 'constante', 'vaut', 'ajoute', 'soustrait',
  'supprime', 'vide', 'est', 'un', 'une', 'tableau', 'couleur', 'html', 'déboguer', 'arrête', 'continue',
  'terminer', 'et', 'ou', 'non', 'mod', 'vrai', 'faux',
];

const completionTypes = { fonction: 'function', type: 'type', valeur: 'constant', opérateur: 'keyword' };

export function readHelp(help) {
  const entries = Array.isArray(help?.entries) ? help.entries : [];
  const database = { entries, categories: Array.isArray(help?.categories) ? help.categories : [] };
  const namesOf = (kind) => new Set(entries.filter((e) => e.kind === kind).flatMap((e) => e.names.map((n) => n.toLowerCase())));
  return {
    database,
    notices: help?.notices ?? null,
    index: helpIndex(database),
    names: { builtins: namesOf('fonction'), types: namesOf('type') },
    completions: completionOptions(entries),
  };
}

// One option per name: a function's label is its name, its detail the
// signature's first line, its info the summary. Keywords without an entry
// come last.
export function completionOptions(entries) {
  const seen = new Set();
  const options = [];
  for (const entry of entries) {
    for (const name of entry.names) {
      const key = name.toLowerCase();
      if (seen.has(key) || !/^[\p{L}_][\p{L}\p{N}_ ]*$/u.test(name)) continue;
      seen.add(key);
      options.push({
        label: name,
        type: completionTypes[entry.kind] ?? 'keyword',
        detail: String(entry.signature ?? '').split('\n')[0],
        info: entry.summary ?? '',
        apply: entry.kind === 'fonction' ? `${name}(` : name,
        boost: name === entry.names[0] ? 1 : 0,
      });
    }
  }
  for (const word of keywordForms) {
    if (!seen.has(word)) options.push({ label: word, type: 'keyword' });
  }
  return options;
}

export function helpForWord(help, word) {
  return word ? entryForWord(help.index, word) : null;
}

// The completion source: the word before the cursor, or the last two words
// when they begin a multi-word form ("fin s" → "fin si", "tant" → "tant que").
export function completionSource(options) {
  const firstWords = new Set(options.filter((o) => o.label.includes(' ')).map((o) => o.label.split(' ')[0].toLowerCase()));
  return (context) => {
    const two = context.matchBefore(/[\p{L}_]+ [\p{L}_]*$/u);
    if (two && firstWords.has(two.text.split(' ')[0].toLowerCase())) {
      return { from: two.from, options, validFor: /^[\p{L}_]+ [\p{L}\p{N}_]*$/u };
    }
    const word = context.matchBefore(/[\p{L}_][\p{L}\p{N}_]*$/u);
    if (!word && !context.explicit) return null;
    return { from: word ? word.from : context.pos, options, validFor: /^[\p{L}\p{N}_]*$/u };
  };
}
