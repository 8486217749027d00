import { test } from 'node:test';
import assert from 'node:assert/strict';

import { helpDatabase } from '../help/index.mjs';
import { entryForWord, fold, helpIndex, searchHelp } from '../help-search.mjs';

const index = helpIndex(helpDatabase());

test('searching ignores accents, case and underscores', () => {
  assert.equal(fold(' Répète_Texte  Œuf '), 'repete texte oeuf');
  assert.equal(searchHelp(index, 'repete')[0].id, 'repete');
  assert.equal(searchHelp(index, 'ARRONDI SUPERIEUR')[0].id, 'arrondi_superieur');
  assert.equal(searchHelp(index, 'décimal')[0].id, 'decimal');
});

test('an exact name comes before names that only start with the query', () => {
  const ids = searchHelp(index, 'hasard').map((e) => e.id);
  assert.equal(ids[0], 'hasard');
  assert.ok(ids.includes('hasardtexte'));
});

test('words of the definitions find entries too, every word must be there', () => {
  const ids = searchHelp(index, 'racine carrée').map((e) => e.id);
  assert.ok(ids.includes('racine'));
  assert.deepEqual(searchHelp(index, 'xylophone zébré'), []);
});

test('a word under the cursor finds its entry, a plain name finds none', () => {
  assert.equal(entryForWord(index, 'Affiche').id, 'affiche');
  assert.equal(entryForWord(index, 'sinon').id, 'si');
  assert.equal(entryForWord(index, 'monScore'), null);
});

test('the icon entry carries the whole icon table', () => {
  const icone = helpDatabase().entries.find((e) => e.id === 'icone');
  assert.deepEqual(icone.table.columns, ['Icône', 'Nom', 'Code']);
  assert.ok(icone.table.rows.length >= 150);
  assert.deepEqual(icone.table.rows.find((r) => r[2] === 'E722'), ['\uE722', 'soleil', 'E722']);
});
