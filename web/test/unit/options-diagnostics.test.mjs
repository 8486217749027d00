// Options read from the server or the browser, and the analyser's findings.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mergeOptions, defaultOptions, loadOptions } from '../../src/options.js';
import { summarizeDiagnostics, countText } from '../../src/diagnostics-view.js';

test('options: members of the right type are taken, the font size clamped, the rest defaulted', () => {
  assert.deepEqual(mergeOptions(null), defaultOptions);
  assert.deepEqual(mergeOptions([true]), defaultOptions);
  const merged = mergeOptions({ darkMode: true, showDebug: 'non', fontSize: 99, wordWrap: 1, extra: 3 });
  assert.equal(merged.darkMode, true);
  assert.equal(merged.showDebug, true);
  assert.equal(merged.fontSize, 32);
  assert.equal(merged.wordWrap, false);
  assert.equal('extra' in merged, false);
  assert.equal(mergeOptions({ fontSize: 3.4 }).fontSize, 8);
  assert.equal(mergeOptions({ fontSize: 13.6 }).fontSize, 14);
  assert.equal(mergeOptions({ fontSize: Number.NaN }).fontSize, 12);
});

test('options: the browser copy when the server fails, defaults when both fail', async () => {
  const storage = (value) => ({ getItem: () => value });
  const failing = async () => { throw new Error('hors ligne'); };
  assert.equal((await loadOptions(async () => ({ fontSize: 20 }), storage(null))).fontSize, 20);
  assert.equal((await loadOptions(failing, storage('{"fontSize":16}'))).fontSize, 16);
  assert.deepEqual(await loadOptions(failing, storage('pas du JSON')), defaultOptions);
});

test('diagnostics: errors first, counted apart from warnings, malformed items kept readable', () => {
  const summary = summarizeDiagnostics([
    { line: 4, msg: 'variable jamais utilisée', fatal: false },
    { line: 2, msg: '"fin si" manquant', fatal: true },
    { line: 'x', msg: 7 },
  ]);
  assert.equal(summary.errors, 1);
  assert.equal(summary.warnings, 2);
  assert.deepEqual(summary.items.map((item) => [item.line, item.message, item.fatal]),
    [[2, '"fin si" manquant', true], [4, 'variable jamais utilisée', false], [0, '7', false]]);
  assert.deepEqual(summarizeDiagnostics(undefined), { errors: 0, warnings: 0, items: [] });
  assert.equal(countText(1, 2), '1 erreur, 2 avertissements');
  assert.equal(countText(0, 1), '0 erreur, 1 avertissement');
});
