import { test } from 'node:test';
import assert from 'node:assert/strict';

import { FIRST_CODE_POINT, iconTable } from '../icons/table.mjs';
import { buildIconFont, glyphOutline, iconPath, UNITS_PER_EM } from '../icons/build-font.mjs';
import { glyphLengths, readCmap } from '../lib/cmap.mjs';
import { iconsData } from '../build.mjs';

const icons = iconTable();

test('the table gives consecutive private-use code points and unique names', () => {
  assert.ok(icons.length >= 150);
  icons.forEach((icon, i) => assert.equal(icon.code, FIRST_CODE_POINT + i));
  assert.ok(icons.at(-1).code <= 0xf8ff, 'inside the Private Use Area');
  assert.equal(new Set(icons.map((i) => i.name)).size, icons.length);
  assert.equal(new Set(icons.map((i) => i.source)).size, icons.length, 'no glyph drawn twice');
  assert.equal(icons[0].hex, 'E700');
});

test('the first icons keep their code points', () => {
  // Pupils' programs name icons by code: these must never move.
  const fixed = { E700: 'flèche haut', E710: 'cercle', E722: 'soleil', E739: 'chat', E751: 'crayon', E77B: 'lecture' };
  for (const [hex, name] of Object.entries(fixed)) assert.equal(icons.find((i) => i.hex === hex)?.name, name, hex);
});

test('icon files with more than one shape are refused', () => {
  assert.throws(() => iconPath('<svg viewBox="0 0 24 24"><path d="M0 0h1"/><path d="M1 1h1"/></svg>', 'x'));
  assert.throws(() => iconPath('<svg viewBox="0 0 32 32"><path d="M0 0h1"/></svg>', 'x'));
  assert.equal(iconPath('<svg viewBox="0 0 24 24"><path d="M0 0h1"/></svg>', 'x'), 'M0 0h1');
});

test('outlines are scaled to the em and stand on the baseline', () => {
  assert.equal(glyphOutline('M0 0L24 24'), `M0 ${UNITS_PER_EM}L${UNITS_PER_EM} 0`);
});

test('the font draws a non-empty glyph at every code point of the table, and nothing else', async () => {
  const { ttf, woff2 } = await buildIconFont();
  assert.equal(woff2.toString('latin1', 0, 4), 'wOF2');
  const cmap = readCmap(ttf);
  assert.deepEqual([...cmap.keys()].sort((a, b) => a - b), icons.map((i) => i.code));
  const lengths = glyphLengths(ttf);
  const empty = icons.filter((i) => !(lengths[cmap.get(i.code)] > 0)).map((i) => i.name);
  assert.deepEqual(empty, []);
});

test('icons.js lists every icon with its group and code', () => {
  const data = iconsData();
  assert.equal(data.family, 'Segoe MDL2 Assets');
  assert.equal(data.icons.length, icons.length);
  const groups = new Set(data.groups.map((g) => g.id));
  assert.ok(data.icons.every((i) => groups.has(i.group) && /^E[0-9A-F]{3}$/.test(i.code)));
});
