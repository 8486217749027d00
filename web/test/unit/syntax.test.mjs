// The editor's tokenizer: what each piece of a program is coloured as, and the
// block depth that indentation reads.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { tokenize, indentSteps, startState, readToken } from '../../src/syntax.js';

const names = { builtins: new Set(['longueur', 'icône', 'hasard']), types: new Set(['nombre', 'texte']) };
const kinds = (text) => tokenize(text, names).tokens.map(([, , , type, source]) => [source, type]);

test('keywords ignore ASCII case only; multi-word forms are one token on one line', () => {
  assert.deepEqual(kinds('AFFICHE Répète RÉPÈTE'), [['AFFICHE', 'keyword'], ['Répète', 'keyword'], ['RÉPÈTE', 'variableName']]);
  assert.deepEqual(kinds('fin si FIN   SI fin tant que Fin Répète'),
    [['fin si', 'keyword'], ['FIN   SI', 'keyword'], ['fin tant que', 'keyword'], ['Fin Répète', 'keyword']]);
  assert.deepEqual(kinds('tant que x\ntant'), [['tant que', 'keyword'], ['x', 'variableName'], ['tant', 'variableName']]);
  assert.deepEqual(kinds('sinon si sinon selon sinon afficher'),
    [['sinon si', 'keyword'], ['sinon selon', 'keyword'], ['sinon', 'keyword'], ['afficher', 'variableName']]);
  // "fin" at the end of a line does not join the "si" of the next line.
  assert.deepEqual(kinds('fin\nsi'), [['fin', 'keyword'], ['si', 'keyword']]);
  assert.deepEqual(kinds('fin tant x'), [['fin', 'keyword'], ['tant', 'variableName'], ['x', 'variableName']]);
  assert.deepEqual(kinds('a à de pas'), [['a', 'keyword'], ['à', 'keyword'], ['de', 'keyword'], ['pas', 'keyword']]);
});

test('texts: both quotes, doubled quotes, no backslash escape, across lines', () => {
  assert.deepEqual(kinds("affiche 'l''été' + \"dit \\\" + 1"),
    [['affiche', 'keyword'], ["'l''été'", 'string'], ['+', 'operator'], ['"dit \\"', 'string'], ['+', 'operator'], ['1', 'number']]);
  const { tokens, state } = tokenize("x vaut 'un\ndeux' + 1\n'ouvert");
  assert.deepEqual(tokens.map(([line, from, to, type]) => [line, from, to, type]),
    [[1, 0, 1, 'variableName'], [1, 2, 6, 'keyword'], [1, 7, 10, 'string'], [2, 0, 5, 'string'],
      [2, 6, 7, 'operator'], [2, 8, 9, 'number'], [3, 0, 7, 'string']]);
  assert.equal(state.quote, "'", 'an unterminated text stays open to the end');
});

test('comments: to the end of the line, and braces across lines without nesting', () => {
  assert.deepEqual(kinds('affiche 1 // fin si\n{ si\nfin si } x { a { b } c'),
    [['affiche', 'keyword'], ['1', 'number'], ['// fin si', 'lineComment'], ['{ si', 'blockComment'],
      ['fin si }', 'blockComment'], ['x', 'variableName'], ['{ a { b }', 'blockComment'], ['c', 'variableName']]);
  assert.equal(tokenize('{ jamais fermé\nsi').state.comment, true);
});

test('numbers, colour codes, Unicode characters and lone symbols', () => {
  assert.deepEqual(kinds('3,14 3.14 1,2,3 3. $1F $ 1e5'),
    [['3,14', 'number'], ['3.14', 'number'], ['1,2', 'number'], [',', 'separator'], ['3', 'number'],
      ['3', 'number'], ['.', 'separator'], ['$1F', 'number'], ['$', 'invalid'], ['1', 'number'], ['e5', 'variableName']]);
  assert.deepEqual(kinds('#FF8800 #0 #65 #fff'),
    [['#FF8800', 'string.special'], ['#0', 'string.special'], ['#', 'operator'], ['65', 'number'],
      ['#', 'operator'], ['fff', 'variableName']]);
  assert.deepEqual(kinds('U+1F600 U+1234567 Ux'),
    [['U+1F600', 'string.special'], ['U', 'variableName'], ['+', 'operator'], ['1234567', 'number'], ['Ux', 'variableName']]);
  assert.deepEqual(kinds('x <> y <= 2 >= 3 % 4 ^ 5 ? 😀'),
    [['x', 'variableName'], ['<>', 'operator'], ['y', 'variableName'], ['<=', 'operator'], ['2', 'number'],
      ['>=', 'operator'], ['3', 'number'], ['%', 'operator'], ['4', 'number'], ['^', 'operator'], ['5', 'number'],
      ['?', 'invalid'], ['😀', 'invalid']]);
});

test('names: builtins by letter case, types, definitions, booleans, operator and comparison words', () => {
  assert.deepEqual(kinds('LONGUEUR(t) Icône ICÔNE hasard_x'),
    [['LONGUEUR', 'variableName.standard'], ['(', 'paren'], ['t', 'variableName'], [')', 'paren'],
      ['Icône', 'variableName.standard'], ['ICÔNE', 'variableName.standard'], ['hasard_x', 'variableName']]);
  assert.deepEqual(kinds('fonction carré(n)\nc est un nombre'),
    [['fonction', 'keyword'], ['carré', 'variableName.definition'], ['(', 'paren'], ['n', 'variableName'],
      [')', 'paren'], ['c', 'variableName'], ['est', 'keyword'], ['un', 'keyword'], ['nombre', 'typeName']]);
  assert.deepEqual(kinds('si x est plus grand que 3 et non Vrai ou y différent de FAUX'),
    [['si', 'keyword'], ['x', 'variableName'], ['est', 'keyword'], ['plus grand', 'operatorKeyword'],
      ['que', 'variableName'], ['3', 'number'], ['et', 'operatorKeyword'], ['non', 'operatorKeyword'],
      ['Vrai', 'bool'], ['ou', 'operatorKeyword'], ['y', 'variableName'], ['différent', 'operatorKeyword'],
      ['de', 'keyword'], ['FAUX', 'bool']]);
  assert.deepEqual(kinds('x mod 2 plus'), [['x', 'variableName'], ['mod', 'operatorKeyword'], ['2', 'number'], ['plus', 'variableName']]);
});

test('block depth: openers at the start of a line, closers anywhere, one-line blocks balanced', () => {
  const depth = (text) => tokenize(text).state.depth;
  assert.equal(depth('si x alors'), 1);
  assert.equal(depth('si x alors\n  pour i de 1 à 3\n    tant que vrai'), 3);
  assert.equal(depth('si x alors\n  affiche 1\nfin si'), 0);
  assert.equal(depth('si x alors affiche 1 fin si'), 0);
  assert.equal(depth('affiche 1 si'), 0, 'si that does not start a line opens nothing');
  assert.equal(depth('fin si\nfin pour'), 0, 'extra closers never go below zero');
  assert.equal(depth('// si x alors\n{ répète\n 3 fois }'), 0, 'comments open nothing');
  assert.equal(depth("affiche 'si'\nfonction f()\nselon x\ncas 1 :"), 2);
});

test('indentation: the body one step in, closing and middle words one step out', () => {
  const after = (text) => tokenize(text).state;
  assert.equal(indentSteps(after('si x alors'), 'affiche 1'), 1);
  assert.equal(indentSteps(after('si x alors\n  affiche 1'), 'sinon si y alors'), 0);
  assert.equal(indentSteps(after('si x alors\n  affiche 1'), 'sinon'), 0);
  assert.equal(indentSteps(after('si x alors\n  affiche 1'), 'fin si'), 0);
  assert.equal(indentSteps(after('selon x'), 'cas 1 :'), 0);
  assert.equal(indentSteps(after('selon x\ncas 1 :'), 'affiche 1'), 1);
  assert.equal(indentSteps(after('essayer\n  affiche 1'), 'attraper e'), 0);
  assert.equal(indentSteps(after('pour i de 1 à 2\n  si x alors'), 'FIN SI'), 1);
  assert.equal(indentSteps(after('{ ouvert'), 'x'), null, 'inside a comment the text is left as it is');
  assert.equal(indentSteps(startState(), 'fin si'), 0);
});

test('every read advances, whatever the character', () => {
  for (const line of ['\u0000', '\uFFFF', '\uD83D', '{', "'", '"', '#', 'U+', '$', '//', '\t \r']) {
    const state = startState();
    let pos = 0;
    while (pos < line.length) {
      const { end } = readToken(line, pos, state, names);
      assert.ok(end > pos, `progress in ${JSON.stringify(line)}`);
      pos = end;
    }
  }
});
