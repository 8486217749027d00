// Preparing program texts, seeds, prompts and answers: the pure rules of a run.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { normalizeProgram, prepareRun, prepareAnalysis, newSeed } from '../../src/prepare.js';
import { parsePrompt, answerForKey, isPressable } from '../../src/prompt.js';
import { readAnswer, errorLineOf, formatRunTime, formatRemaining } from '../../src/answers.js';

test('escapes are reduced level by level, at most six rounds', () => {
  assert.equal(normalizeProgram('si a &amp;amp;lt; b'), 'si a < b');
  assert.equal(normalizeProgram('a &LT;&GT; b, c &lt;= d, e &Gt;= f, &amp; ≤ ≥'), 'a <> b, c <= d, e >= f, & <= >=');
  // Seven levels of "&amp;": six rounds leave one "&amp;amp;", which decodes to "&amp;".
  assert.equal(normalizeProgram(`&${'amp;'.repeat(7)}lt;`), '&lt;');
});

test('a breakpoint keeps the lines before it, ignored lines are blanked, numbers stay', () => {
  const text = 'affiche 1\naffiche 2\naffiche 3\naffiche 4';
  assert.equal(prepareRun(text, { breakpoint: 3 }), 'affiche 1\naffiche 2');
  assert.equal(prepareRun(text, { ignored: [2, 4] }), 'affiche 1\n\naffiche 3');
  assert.equal(prepareRun(text, { breakpoint: 1 }), '');
  assert.equal(prepareRun('\n\n  affiche 1 / 0  \n\n'), '\n\n  affiche 1 / 0', 'line 3 stays line 3');
  assert.equal(prepareRun(' \n\t\n'), '');
  assert.equal(prepareAnalysis(text), text, 'analysis checks every line');
});

test('the seed is the time XOR a random value, as a signed 32-bit integer', () => {
  assert.equal(newSeed(0x1_2345_6789, () => 0), 0x23456789);
  assert.equal(newSeed(0, () => 0.9999999999), 2147483646);
  assert.equal(newSeed(0xffffffff, () => 0), -1);
});

test('prompts: questions, choices, keys', () => {
  assert.deepEqual(parsePrompt('Ton âge ?'), { kind: 'text', question: 'Ton âge ?' });
  assert.deepEqual(parsePrompt('\u0001CHOISIR\u0001A\u0001B\u0001C'), { kind: 'choice', options: ['A', 'B', 'C'] });
  assert.deepEqual(parsePrompt('\u0001APPUYER\u0001Z\u0001soleil\u0001\u0001😀x'), { kind: 'keys', keys: ['z', 's', '', '😀'] });
  assert.deepEqual(parsePrompt('x\u0001CHOISIR\u0001A'), { kind: 'text', question: 'x\u0001CHOISIR\u0001A' });
});

test('keys are compared without case; shortcuts and unpressable keys never answer', () => {
  const keys = ['z', '1', ' ', '', '?'];
  assert.equal(answerForKey(keys, { key: 'Z', shiftKey: true }), 1);
  assert.equal(answerForKey(keys, { key: '1' }), 2);
  assert.equal(answerForKey(keys, { key: ' ' }), 3);
  assert.equal(answerForKey(keys, { key: '?', ctrlKey: true, altKey: true }), 5, 'AltGr types characters');
  assert.equal(answerForKey(keys, { key: 'z', ctrlKey: true }), 0);
  assert.equal(answerForKey(keys, { key: 'Shift' }), 0);
  assert.equal(answerForKey(keys, { key: 'a' }), 0);
  assert.equal(isPressable('\ud83d'), false);
  assert.equal(isPressable('\u0007'), false);
});

test('answers: every outcome of a turn', () => {
  assert.deepEqual(readAnswer(401, '{"error":"Session invalide. Relance Mirelon."}'), { kind: 'unauthorized' });
  assert.deepEqual(readAnswer(200, '{"aborted":true,"output":"a\\r\\n"}'), { kind: 'aborted', output: 'a\r\n' });
  assert.deepEqual(readAnswer(400, '{"error":"Ligne 3: Division par zéro","errorLine":3,"output":"x\\r\\n"}'),
    { kind: 'error', message: 'Ligne 3: Division par zéro', line: 3, output: 'x\r\n' });
  assert.deepEqual(readAnswer(200, '{"error":"Interprétation expirée (limite : 2 minute(s))."}'),
    { kind: 'error', message: 'Interprétation expirée (limite : 2 minute(s)).', line: 0, output: '' });
  assert.deepEqual(readAnswer(200, '{"needInput":true,"prompt":"Nom ?","output":""}'), { kind: 'question', prompt: 'Nom ?', output: '' });
  assert.deepEqual(readAnswer(200, '{"done":true,"output":"4\\r\\n"}'), { kind: 'done', output: '4\r\n' });
  assert.deepEqual(readAnswer(413, '{"error":"Payload too large"}'), { kind: 'error', message: 'Payload too large', line: 0, output: '' });
});

test('answers that are not a JSON object are errors that say what came', () => {
  assert.equal(readAnswer(500, 'JSON invalide').message, 'Erreur du serveur (statut 500) : JSON invalide');
  assert.equal(readAnswer(502, '').message, 'Erreur du serveur (statut 502).');
  assert.equal(readAnswer(200, '[1]').kind, 'error');
  assert.equal(readAnswer(200, '{}').message, 'Réponse inattendue du serveur (statut 200).');
});

test('error lines and time texts', () => {
  assert.equal(errorLineOf(undefined, 'Erreur ligne 12 : x'), 12);
  assert.equal(errorLineOf(0, 'Ligne 4: y'), 4);
  assert.equal(errorLineOf(7, 'Ligne 4: y'), 7);
  assert.equal(errorLineOf(undefined, 'Récursion trop profonde'), 0);
  assert.equal(formatRunTime(42.4), 'Interprété en 0,042 seconde');
  assert.equal(formatRunTime(1500), 'Interprété en 1,500 seconde');
  assert.equal(formatRemaining(120000), '2:00');
  assert.equal(formatRemaining(59001), '1:00');
  assert.equal(formatRemaining(-5), '0:00');
});
