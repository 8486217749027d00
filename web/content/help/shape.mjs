// The shape of the help database (documented in ../README.md). The build
// refuses a database that breaks it, and the help test reports every problem.

export const KINDS = ['instruction', 'mot-clé', 'opérateur', 'fonction', 'type', 'valeur', 'syntaxe'];

const isText = (v) => typeof v === 'string' && v.trim() !== '';
const isTextList = (v) => Array.isArray(v) && v.every(isText);

function entryProblems(entry, categoryIds) {
  const problems = [];
  const where = entry.id ?? JSON.stringify(entry.names);
  const need = (ok, what) => ok || problems.push(`${where}: ${what}`);
  need(isText(entry.id), 'id must be a text');
  need(categoryIds.has(entry.category), `unknown category ${entry.category}`);
  need(isTextList(entry.names) && entry.names.length > 0, 'names must be a non-empty list of texts');
  need(KINDS.includes(entry.kind), `kind must be one of ${KINDS.join(', ')}`);
  need(isText(entry.signature), 'signature must be a text');
  need(isText(entry.summary), 'summary must be a text');
  need(entry.details === undefined || isText(entry.details), 'details must be a text');
  need(entry.errors === undefined || isTextList(entry.errors), 'errors must be a list of texts');
  need(entry.see === undefined || isTextList(entry.see), 'see must be a list of names');
  const table = entry.table;
  need(table === undefined || (isTextList(table.columns) && Array.isArray(table.rows)
    && table.rows.every((row) => isTextList(row) && row.length === table.columns.length)),
    'table must have columns and rows of as many texts');
  const example = entry.example ?? {};
  need(isText(example.code), 'example.code must be a text');
  need(typeof example.output === 'string', 'example.output must be a text');
  need(example.inputs === undefined || (Array.isArray(example.inputs) && example.inputs.every((a) => typeof a === 'string')),
    'example.inputs must be a list of texts');
  need(example.seed === undefined || Number.isInteger(example.seed), 'example.seed must be an integer');
  const known = new Set(['id', 'category', 'names', 'kind', 'signature', 'summary', 'details', 'errors', 'example', 'see', 'table']);
  for (const key of Object.keys(entry)) need(known.has(key), `unknown member ${key}`);
  return problems;
}

// Every problem of the database, as readable lines; empty when it is sound.
export function checkShape(help) {
  const problems = [];
  const categoryIds = new Set();
  for (const c of help.categories) {
    if (!isText(c.id) || !isText(c.title) || !isText(c.intro)) problems.push(`category ${c.id}: id, title and intro are texts`);
    if (categoryIds.has(c.id)) problems.push(`category ${c.id} appears twice`);
    categoryIds.add(c.id);
  }
  const ids = new Set();
  const names = new Map();
  for (const entry of help.entries) {
    problems.push(...entryProblems(entry, categoryIds));
    if (ids.has(entry.id)) problems.push(`id ${entry.id} appears twice`);
    ids.add(entry.id);
    for (const name of entry.names ?? []) {
      const key = name.toLowerCase();
      if (names.has(key)) problems.push(`name "${name}" is in ${names.get(key)} and ${entry.id}`);
      names.set(key, entry.id);
    }
  }
  for (const entry of help.entries)
    for (const name of entry.see ?? [])
      if (!names.has(name.toLowerCase())) problems.push(`${entry.id}: see "${name}" names no entry`);
  return problems;
}
