// The messages the interpreter can raise, read from its C++ sources: every
// UTF-16 string literal (adjacent literals joined), as a template whose "%s"
// and "%d" stand for any text and any integer.

import fs from 'node:fs';
import path from 'node:path';

function sourceFiles(folder) {
  return fs.readdirSync(folder, { withFileTypes: true }).flatMap((item) => {
    const full = path.join(folder, item.name);
    if (item.isDirectory()) return sourceFiles(full);
    return /\.(cpp|h)$/.test(item.name) ? [full] : [];
  });
}

const ESCAPES = { n: '\n', t: '\t', '"': '"', "'": "'", '\\': '\\' };

// u"…" literals, with u"a" u"b" (blanks and line breaks between) joined.
export function stringLiterals(source) {
  const literals = [];
  const run = /u"((?:[^"\\\n]|\\.)*)"(?:\s*u"(?:[^"\\\n]|\\.)*")*/g;
  for (const match of source.matchAll(run)) {
    const parts = [...match[0].matchAll(/u"((?:[^"\\\n]|\\.)*)"/g)].map((m) => m[1]);
    literals.push(parts.join('').replace(/\\(.)/g, (all, c) => ESCAPES[c] ?? all));
  }
  return literals;
}

export function messageTemplates(folder) {
  const templates = new Set();
  for (const file of sourceFiles(folder))
    for (const literal of stringLiterals(fs.readFileSync(file, 'utf8'))) if (literal.length > 3) templates.add(literal);
  return [...templates];
}

// Whether a concrete message (as a pupil reads it) is an instance of a template.
export function matchesTemplate(message, template) {
  const pattern = template
    .split(/(%[sd%])/)
    .map((part) => ({ '%s': '.*', '%d': '-?\\d+', '%%': '%' })[part] ?? part.replace(/[.*+?^${}()|[\]\\]/g, '\\$&'))
    .join('');
  return new RegExp(`^${pattern}$`, 's').test(message);
}
