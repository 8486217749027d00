// The pure helpers behind completion, the icon picker and files.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { completionOptions, completionSource, readHelp } from '../../src/help-data.js';
import { canvasName, iconCall } from '../../src/pickers.js';
import { fileNameFor, acceptsProgramFile, programFromFileText, maxProgramBytes } from '../../src/files.js';

const entries = [
  { names: ['longueur', 'taille'], kind: 'fonction', signature: 'longueur(texte)\n…', summary: 'Le nombre de caractères.' },
  { names: ['si', 'alors', 'fin si', 'sinon si'], kind: 'instruction', signature: 'si condition alors', summary: 'Un choix.' },
  { names: ['//', '{ }'], kind: 'syntaxe', signature: '// commentaire', summary: 'Un commentaire.' },
  { names: ['nombre'], kind: 'type', signature: 'x est un nombre', summary: 'Un nombre.' },
];

// A completion context on the text before the cursor.
function context(before, explicit = false) {
  return {
    pos: before.length,
    explicit,
    matchBefore(pattern) {
      const match = pattern.exec(before);
      return match ? { from: match.index, to: before.length, text: match[0] } : null;
    },
  };
}

test('completion: one option per name, symbols left out, functions open their parenthesis, keywords without help kept', () => {
  const options = completionOptions(entries);
  const byLabel = Object.fromEntries(options.map((o) => [o.label, o]));
  assert.deepEqual([byLabel.longueur.apply, byLabel.longueur.detail, byLabel.longueur.info, byLabel.longueur.type],
    ['longueur(', 'longueur(texte)', 'Le nombre de caractères.', 'function']);
  assert.equal(byLabel.taille.boost, 0);
  assert.equal(byLabel.longueur.boost, 1);
  assert.equal(byLabel['//'], undefined);
  assert.equal(byLabel.nombre.type, 'type');
  assert.equal(byLabel['tant que'].type, 'keyword', 'a keyword with no entry still completes');
  assert.equal(options.filter((o) => o.label === 'si').length, 1);
  const empty = readHelp(undefined);
  assert.equal(empty.names.builtins.size, 0);
  assert.ok(empty.completions.some((o) => o.label === 'affiche'));
});

test('completion source: the word before the cursor, or two words that begin a multi-word form', () => {
  const source = completionSource(completionOptions(entries));
  assert.equal(source(context('x vaut longu')).from, 7);
  assert.equal(source(context('fin s')).from, 0);
  assert.equal(source(context('  sinon s')).from, 2);
  assert.equal(source(context('x vaut ')), null, 'nothing typed, nothing asked');
  assert.equal(source(context('x vaut ', true)).from, 7, 'Ctrl+Espace asks anyway');
  assert.equal(source(context('affiche été')).from, 8, 'accented words are words');
});

test('icon picker: the call draws on the last canvas the program declares', () => {
  assert.equal(canvasName('affiche 1'), 'MaToile');
  assert.equal(canvasName('Fond est une toile\n  dessin EST UNE TOILE\nx est une toilette'), 'dessin');
  assert.equal(iconCall('t', { code: 'E722', name: 'soleil' }), "icône(t, 10, 40, 'E722') // soleil");
});

test('files: names, accepted files and their text', () => {
  assert.equal(fileNameFor('Mon jeu : v2/3', 'mir'), 'Mon jeu  v23.mir');
  assert.equal(fileNameFor('../', 'svg'), 'programme.svg');
  assert.equal(acceptsProgramFile({ name: 'a.MIR', size: 10 }), '');
  assert.match(acceptsProgramFile({ name: 'a.exe', size: 10 }), /\.mir/);
  assert.match(acceptsProgramFile({ name: 'a.mir', size: maxProgramBytes + 1 }), /trop gros/);
  assert.equal(programFromFileText('\uFEFFa\r\nb\rc\n'), 'a\nb\nc\n');
});
