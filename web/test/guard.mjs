// The guard of the shipped files: minifies every script and style sheet of
// assets/ with the server's own minifier ("mirelon minify js|css FILE") and
// fails unless each minified script has the same syntax tree as its source
// (positions left out) and passes "node --check", and each minified style sheet
// gives the same rules. Names the first difference.
//
//   node web/test/guard.mjs --mirelon build/mirelon [--assets assets]
//   node web/test/guard.mjs --js-port            (the test port of the minifier)

import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { firstScriptDifference, firstStyleDifference } from '../pipeline/same-tree.mjs';
import { minifyScript, minifyStyleSheet } from './support/state-machine-minifier.mjs';

const repoDir = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..');
const scripts = ['auth.js', 'help.js', 'emoji.js', 'icons.js', 'app.js'];
const styleSheets = ['fonts.css', 'app.css'];

function option(args, name) {
  const index = args.indexOf(name);
  return index >= 0 ? args[index + 1] : undefined;
}

function minifierFrom(args) {
  if (args.includes('--js-port')) {
    return (kind, path) => (kind === 'js' ? minifyScript : minifyStyleSheet)(readFileSync(path, 'utf8'));
  }
  const binary = option(args, '--mirelon');
  if (!binary) throw new Error('give --mirelon PATH (the built mirelon program) or --js-port');
  return (kind, path) => execFileSync(resolve(binary), ['minify', kind, path], { encoding: 'utf8', maxBuffer: 64 << 20 });
}

// A mirelon built before its minify command existed cannot guard anything.
function lacksMinifyCommand(args) {
  const binary = option(args, '--mirelon');
  if (!binary) return false;
  const probe = spawnSync(resolve(binary), ['minify', 'js', join(repoDir, 'assets', 'auth.js')], { encoding: 'utf8' });
  return probe.status !== 0 && /commande inconnue "minify"/.test(`${probe.stdout}${probe.stderr}`);
}

function nodeCheck(text, scratch, name) {
  const path = join(scratch, name);
  writeFileSync(path, text);
  try {
    execFileSync(process.execPath, ['--check', path], { stdio: 'pipe' });
    return null;
  } catch (error) {
    return `node --check refuses it: ${String(error.stderr).trim().split('\n').slice(0, 5).join(' | ')}`;
  }
}

function main(args) {
  const minify = minifierFrom(args);
  const assetsDir = resolve(repoDir, option(args, '--assets') ?? 'assets');
  const scratch = mkdtempSync(join(tmpdir(), 'mirelon-guard-'));
  const failures = [];
  try {
    for (const name of scripts) {
      const path = join(assetsDir, name);
      const minified = minify('js', path);
      const problem = firstScriptDifference(readFileSync(path, 'utf8').replace(/^\uFEFF/, ''), minified) ??
        nodeCheck(minified, scratch, name);
      report(name, problem, failures);
    }
    for (const name of styleSheets) {
      const path = join(assetsDir, name);
      report(name, firstStyleDifference(readFileSync(path, 'utf8').replace(/^\uFEFF/, ''), minify('css', path)), failures);
    }
  } finally {
    rmSync(scratch, { recursive: true, force: true });
  }
  console.log(`${scripts.length + styleSheets.length - failures.length} passed, ${failures.length} failed`);
  return failures.length ? 1 : 0;
}

function report(name, problem, failures) {
  if (problem) {
    failures.push(name);
    console.log(`not ok ${name}: ${problem}`);
  } else {
    console.log(`ok ${name}`);
  }
}

try {
  if (lacksMinifyCommand(process.argv.slice(2))) {
    console.log('guard: skipped, this mirelon has no "minify" command yet');
    process.exitCode = 77;
  } else {
    process.exitCode = main(process.argv.slice(2));
  }
} catch (error) {
  console.error(`guard: ${error.message}`);
  process.exitCode = 2;
}
