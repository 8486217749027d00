// Keeps the help database true to the language:
// - every builtin of the interpreter and every keyword has an entry, and no
//   entry names a builtin, keyword, type or operator that does not exist;
// - every error an entry lists is a message the interpreter can raise;
// - every example runs through `mirelon run` and prints exactly its output.
// Run by CTest:
//   node help-check.mjs --mirelon BIN --vocabulary BIN --sources REPO
// Without --mirelon and --vocabulary only the database's own shape is checked.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { parseArgs } from 'node:util';

import { helpDatabase } from '../help/index.mjs';
import { checkShape } from '../help/shape.mjs';
import { messageTemplates, matchesTemplate } from './messages.mjs';

const { values: options } = parseArgs({
  options: { mirelon: { type: 'string' }, vocabulary: { type: 'string' }, sources: { type: 'string' } },
});

for (const key of ['mirelon', 'vocabulary', 'sources']) if (options[key]) options[key] = path.resolve(options[key]);

const help = helpDatabase();
const DEFAULT_SEED = 2026;

test('the database has the documented shape', () => {
  assert.deepEqual(checkShape(help), []);
});

const fold = (name) => name.toLowerCase();
const entriesOfKind = (...kinds) => help.entries.filter((e) => kinds.includes(e.kind));

const vocabulary = options.vocabulary
  ? JSON.parse(execFileSync(options.vocabulary, { encoding: 'utf8' }))
  : null;

// The tokens of each text, as the interpreter's lexer reads them.
function lex(texts) {
  const out = execFileSync(options.vocabulary, ['--lex'], { input: texts.join('\n') + '\n', encoding: 'utf8' });
  return JSON.parse(out);
}

const NOT_KEYWORDS = new Set(['identifiant', 'nombre', 'texte', 'inconnu', 'fin de ligne']);

test('builtins and their entries match one to one', { skip: !vocabulary }, () => {
  const functions = entriesOfKind('fonction');
  const byName = new Map();
  for (const entry of functions) for (const name of entry.names) byName.set(fold(name), entry);
  const known = new Set(vocabulary.builtins.flat());
  const problems = [];
  for (const entry of functions)
    for (const name of entry.names)
      if (!known.has(fold(name))) problems.push(`"${name}" is documented but is no builtin`);
  for (const group of vocabulary.builtins) {
    const entries = new Set(group.map((name) => byName.get(name)));
    if (entries.has(undefined)) problems.push(`builtin ${group.join('/')} has no entry`);
    else if (entries.size > 1) problems.push(`aliases ${group.join('/')} are split across entries`);
    else {
      const [entry] = entries;
      if (entry.names.length !== group.length) problems.push(`entry ${entry.id} names more than ${group.join('/')}`);
    }
  }
  assert.equal(vocabulary.builtins.length, vocabulary.builtinCount);
  assert.deepEqual(problems, []);
});

test('keywords, multi-word forms and operators all have an entry', { skip: !vocabulary }, () => {
  const names = help.entries.flatMap((entry) => entry.names.map((name) => ({ entry, name })));
  const tokens = lex(names.map(({ name }) => name));
  const strict = new Set(['instruction', 'mot-clé', 'opérateur']);
  const covered = new Set();
  const documented = new Set(names.map(({ name }) => name));
  const problems = [];
  names.forEach(({ entry, name }, i) => {
    const read = tokens[i];
    const oneKeyword = Array.isArray(read) && read.length === 1 && !NOT_KEYWORDS.has(read[0].type);
    if (oneKeyword) covered.add(read[0].type);
    else if (strict.has(entry.kind))
      problems.push(`"${name}" (${entry.id}) does not read as one keyword or operator: ${JSON.stringify(read)}`);
  });
  for (const [word, type] of Object.entries(vocabulary.keywords)) {
    const [alone] = lex([word]);
    // "tant" is in the table but reads as a name unless "que" follows.
    if (alone.length === 1 && alone[0].type === type && !documented.has(word))
      problems.push(`keyword "${word}" is not a name of any entry`);
  }
  const operators = lex(['+', '-', '*', '/', '^', '%', '=', '<>', '<', '>', '<=', '>=']).map((t) => t[0].type);
  for (const type of [...vocabulary.keywordTypes, ...operators])
    if (!covered.has(type)) problems.push(`no entry reads as ${type}`);
  assert.deepEqual(problems, []);
});

test('errors listed by the entries are messages of the interpreter', { skip: !options.sources }, () => {
  const templates = messageTemplates(path.join(options.sources, 'core'));
  const problems = [];
  for (const entry of help.entries)
    for (const error of entry.errors ?? [])
      if (!templates.some((t) => matchesTemplate(error, t))) problems.push(`${entry.id}: ${error}`);
  assert.deepEqual(problems, []);
});

// Runs one program in a fresh folder (examples may write files) and returns
// its exit code and standard output.
function runProgram(code, { inputs = [], seed = DEFAULT_SEED } = {}) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'mirelon-help-'));
  fs.writeFileSync(path.join(folder, 'exemple.mir'), code);
  return new Promise((resolve) => {
    const child = spawn(options.mirelon, ['run', 'exemple.mir', `--seed=${seed}`], { cwd: folder });
    let out = '';
    let err = '';
    child.stdout.setEncoding('utf8').on('data', (d) => (out += d));
    child.stderr.setEncoding('utf8').on('data', (d) => (err += d));
    const timer = setTimeout(() => child.kill('SIGKILL'), 20000);
    child.on('error', (error) => resolve({ status: -1, out, err: error.message }));
    child.on('close', (status) => {
      clearTimeout(timer);
      fs.rmSync(folder, { recursive: true, force: true });
      resolve({ status, out, err });
    });
    // A program that ends before reading its answers closes its input early.
    child.stdin.on('error', () => {});
    child.stdin.end(inputs.map((a) => a + '\n').join(''));
  });
}

const withoutFinalNewline = (text) => text.replace(/\n$/, '');

test('every example prints the output its entry shows', { skip: !options.mirelon }, async (t) => {
  for (const category of help.categories) {
    await t.test(category.id, async () => {
      const problems = [];
      const entries = help.entries.filter((e) => e.category === category.id);
      const results = await Promise.all(entries.map((e) => runProgram(e.example.code, e.example)));
      entries.forEach((entry, i) => {
        const { status, out, err } = results[i];
        if (status !== 0) problems.push(`${entry.id}: exit ${status}: ${err.trim().split('\n').pop()}`);
        else if (withoutFinalNewline(out) !== entry.example.output)
          problems.push(`${entry.id}: printed\n${out}\ninstead of\n${entry.example.output}\n`);
      });
      assert.deepEqual(problems, []);
    });
  }
});

// Type and value entries name words that the lexer reads as plain names; the
// interpreter itself tells whether they exist.
test('types and values named by the entries exist', { skip: !options.mirelon }, async () => {
  const problems = [];
  for (const entry of entriesOfKind('type'))
    for (const name of entry.names) {
      const { status, err } = await runProgram(`x est un ${name}\naffiche type_de(x)\n`);
      if (status !== 0) problems.push(`type ${name}: ${err.trim()}`);
    }
  for (const entry of entriesOfKind('valeur'))
    for (const name of entry.names) {
      const { out } = await runProgram(`affiche type_de(${name})\n`);
      if (out !== 'booléen\n') problems.push(`value ${name}: ${out}`);
    }
  assert.deepEqual(problems, []);
});
