// Compares two scripts or two style sheets by their syntax trees, positions left
// out, and names the first difference. The guard uses it to prove that the
// server's minifier kept the meaning of every shipped file.

import * as acorn from 'acorn';
import * as csstree from 'css-tree';

const positionKeys = new Set(['start', 'end', 'loc', 'range']);

export function firstScriptDifference(original, minified) {
  const parse = (code) => acorn.parse(code, { ecmaVersion: 'latest', sourceType: 'script', allowHashBang: true });
  let after;
  try {
    after = parse(minified);
  } catch (error) {
    return `the minified script does not parse: ${error.message} near …${around(minified, error.pos)}…`;
  }
  const before = parse(original);
  const path = firstDifference(before, after, '');
  if (path === null) return null;
  return `the trees differ at ${path.where}: ${path.what}; in the source near …${around(original, path.near)}…`;
}

export function firstStyleDifference(original, minified) {
  const before = styleItems(original);
  const after = styleItems(minified);
  for (let i = 0; i < Math.max(before.length, after.length); i++) {
    if (before[i] !== after[i]) {
      return `item ${i + 1} differs: source "${before[i] ?? '(none)'}", minified "${after[i] ?? '(none)'}"`;
    }
  }
  return null;
}

// Every rule's selector, every at-rule's name and prelude and every declaration,
// in order, each generated again so that only its meaning counts, not its spacing.
function styleItems(css) {
  const items = [];
  csstree.walk(csstree.parse(css), (node) => {
    if (node.type === 'Rule') items.push(`rule ${csstree.generate(node.prelude)}`);
    else if (node.type === 'Atrule') items.push(`@${node.name} ${node.prelude ? csstree.generate(node.prelude) : ''}`);
    else if (node.type === 'Declaration') items.push(declarationText(node));
  });
  return items;
}

// A custom property's value is kept raw by the parser; it is read again as a
// value, so that only spacing that changes its tokens counts.
function declarationText(node) {
  if (node.value.type !== 'Raw') return csstree.generate(node);
  const value = csstree.generate(csstree.parse(node.value.value.trim(), { context: 'value' }));
  return `${node.property}:${value}${node.important ? '!important' : ''}`;
}

function firstDifference(a, b, where) {
  if (a === b) return null;
  const near = a && typeof a.start === 'number' ? a.start : undefined;
  if (typeof a !== 'object' || typeof b !== 'object' || a === null || b === null) {
    return { where: where || '(root)', what: `${JSON.stringify(a)} became ${JSON.stringify(b)}`, near };
  }
  if (Array.isArray(a) !== Array.isArray(b) || (Array.isArray(a) && a.length !== b.length)) {
    return { where, what: `a list of ${a.length} became one of ${b.length}`, near };
  }
  const keys = new Set([...Object.keys(a), ...Object.keys(b)].filter((key) => !positionKeys.has(key)));
  for (const key of keys) {
    if (a[key] instanceof RegExp || b[key] instanceof RegExp) continue; // compared through "regex"
    const inner = firstDifference(a[key], b[key], `${where}${Array.isArray(a) ? `[${key}]` : `.${key}`}`);
    if (inner) return { ...inner, near: inner.near ?? near };
  }
  return null;
}

function around(text, position) {
  if (typeof position !== 'number') return '';
  return text.slice(Math.max(0, position - 50), position + 50).replace(/\s+/g, ' ');
}
