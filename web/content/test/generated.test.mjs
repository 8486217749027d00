import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import vm from 'node:vm';

import { dataScript, readDataScript, writeAtomically, GENERATED_NOTE } from '../lib/generated.mjs';

const tricky = {
  quotes: `l'été "cité" \`tick\``,
  slashes: 'a // b /* c */ \\ d /regex/',
  lines: 'un\ndeux\r\ntrois\u2028quatre',
  html: '</script><script>alert(1)</script>',
  emoji: '😀 \uE700 \u0002#FF0000\u0003',
};

test('a data script sets its global to exactly the data, whatever the texts hold', () => {
  const script = dataScript('MirelonTest', tricky);
  const seen = vm.runInNewContext(`${script}\nJSON.stringify(window.MirelonTest)`, { window: {} });
  assert.deepEqual(JSON.parse(seen), tricky);
  assert.deepEqual(readDataScript(script, 'MirelonTest'), tricky);
});

test('a data script is one commented statement the minifier can join onto one line', () => {
  const script = dataScript('MirelonTest', tricky);
  const [comment, statement, rest] = script.split('\n');
  assert.equal(comment, `/* ${GENERATED_NOTE} */`);
  assert.match(statement, /^window\.MirelonTest = \{.*\};$/);
  assert.equal(rest, '');
  assert.ok(!/<\/script/i.test(script), 'no closing script tag survives');
  assert.ok(!/[\u2028\u2029]/.test(script), 'no raw line separator');
});

test('data scripts refuse names that are not plain globals', () => {
  for (const name of ['a.b', 'x;alert(1)', '1abc', '']) assert.throws(() => dataScript(name, {}));
});

test('writing a file replaces it whole and leaves no temporary file', async () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'content-write-'));
  const file = path.join(folder, 'sub', 'help.js');
  await writeAtomically(file, 'first version, longer than the second');
  await writeAtomically(file, 'second');
  assert.equal(fs.readFileSync(file, 'utf8'), 'second');
  assert.deepEqual(fs.readdirSync(path.dirname(file)), ['help.js']);
  fs.rmSync(folder, { recursive: true });
});
