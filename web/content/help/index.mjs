// The help database: one module per category, in the order the "Aide" panel
// lists them. Each module exports { id, title, intro, entries } and may give
// a kind that its entries share (kind: 'fonction'); the shape of
// an entry is described in ../README.md and checked by ../test/help-check.mjs.

import variables from './variables.mjs';
import console_ from './console.mjs';
import conditions from './conditions.mjs';
import boucles from './boucles.mjs';
import fonctions from './fonctions.mjs';
import operateurs from './operateurs.mjs';
import nombres from './nombres.mjs';
import textes from './textes.mjs';
import tableaux from './tableaux.mjs';
import dates from './dates.mjs';
import dessin from './dessin.mjs';
import fichiers from './fichiers.mjs';
import { iconTable } from '../icons/table.mjs';

export const categories = [
  variables, console_, conditions, boucles, fonctions, operateurs,
  nombres, textes, tableaux, dates, dessin, fichiers,
];

// Lower case without accents: the id of an entry comes from its first name.
export function entryId(name) {
  return name
    .normalize('NFD')
    .replace(/[\u0300-\u036f]/g, '')
    .toLowerCase()
    .replace(/[^a-z0-9_]+/g, '-')
    .replace(/^-|-$/g, '') || 'symbole';
}

const SYMBOL_IDS = { '+': 'plus', '-': 'moins', '*': 'fois-op', '/': 'division', '^': 'puissance-op',
  '=': 'egal', '<>': 'different', '<': 'inferieur', '>': 'superieur', '<=': 'inferieur-egal',
  '>=': 'superieur-egal', '//': 'commentaire' };

// The icons that "icône" draws, shown with its entry.
function iconsTable() {
  return { columns: ['Icône', 'Nom', 'Code'], rows: iconTable().map((i) => [String.fromCodePoint(i.code), i.name, i.hex]) };
}

// The database as help.js carries it: categories without their entries, and
// every entry with its id and category.
export function helpDatabase() {
  const entries = [];
  for (const category of categories) {
    for (const entry of category.entries) {
      const first = entry.names[0];
      const id = SYMBOL_IDS[first] ?? entryId(first);
      entries.push({ id, category: category.id, kind: category.kind, ...entry, ...(id === 'icone' ? { table: iconsTable() } : {}) });
    }
  }
  return {
    version: 1,
    categories: categories.map(({ id, title, intro }) => ({ id, title, intro })),
    entries,
  };
}
