// The error check of the help test is only as good as its reading of the
// interpreter's messages: a template that matched anything would let any
// made-up error through.
import { test } from 'node:test';
import assert from 'node:assert/strict';

import { matchesTemplate, stringLiterals } from './messages.mjs';

test('placeholders stand for texts and integers, everything else must match exactly', () => {
  const t = 'Index hors limites : %s[%d]';
  assert.ok(matchesTemplate('Index hors limites : t[5]', t));
  assert.ok(matchesTemplate('Index hors limites : notes[-1]', t));
  assert.ok(!matchesTemplate('Index hors limites : t[x]', t));
  assert.ok(!matchesTemplate('Index hors limite : t[5]', t));
  assert.ok(!matchesTemplate('Erreur. Index hors limites : t[5]', t), 'anchored at both ends');
  assert.ok(matchesTemplate('(x) + 100 %', '(%s) + %d %%'), 'regular-expression characters are literal');
  assert.ok(!matchesTemplate('(x) + 100 %', '(%s) + %d'));
});

test('string literals are read with their escapes, adjacent literals joined', () => {
  const source = 'M.Fail(u"Nom \\"%s\\" inconnu");\nthrow E(u"Valeur non valide.  Doit " \n   u"être <= 5");\nint x = 3; // u"commentaire"';
  assert.deepEqual(stringLiterals(source), ['Nom "%s" inconnu', 'Valeur non valide.  Doit être <= 5', 'commentaire']);
});
