import { test } from 'node:test';
import assert from 'node:assert/strict';

import { embedFontFace, fontUrlInCss, inlineIconFont, usesFamily } from '../inline-font.mjs';
import { fontsCss } from '../fonts/fonts-css.mjs';

const DRAWING = '<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">'
  + '<text x="0" y="48" fill="#000" font-family="Segoe MDL2 Assets" font-size="48">\uE722</text></svg>';
const URL = 'data:font/woff2;base64,d09GMgABAAA=';

test('the font face goes right after the opening tag, the drawing is otherwise unchanged', () => {
  const svg = embedFontFace(DRAWING, URL);
  const open = DRAWING.indexOf('>') + 1;
  assert.equal(svg.slice(0, open), DRAWING.slice(0, open));
  assert.ok(svg.slice(open).startsWith(`<defs><style>@font-face{font-family:"Segoe MDL2 Assets";src:url(${URL}) format("woff2");}</style></defs>`));
  assert.ok(svg.endsWith(DRAWING.slice(open)));
});

test('only a WOFF2 data URL is embedded, and only into an SVG', () => {
  assert.throws(() => embedFontFace(DRAWING, 'https://exemple.fr/font.woff2'));
  assert.throws(() => embedFontFace(DRAWING, 'data:font/woff2;base64,AAA")}</style><script>'));
  assert.throws(() => embedFontFace('<p>pas un dessin</p>', URL));
});

test('the icon font is found in fonts.css among the other faces', () => {
  const face = { woff2: Buffer.from('text'), codePoints: [0x41] };
  const css = fontsCss([{ family: 'JetBrains Mono', weight: 400, ...face }], { woff2: Buffer.from('icons!'), codePoints: [0xe700] });
  assert.equal(fontUrlInCss(css), `data:font/woff2;base64,${Buffer.from('icons!').toString('base64')}`);
  assert.equal(fontUrlInCss(css, 'Absente'), null);
});

test('drawings without icons are left alone', () => {
  const plain = '<svg xmlns="http://www.w3.org/2000/svg"><circle r="3"/></svg>';
  assert.equal(usesFamily(plain), false);
  assert.equal(inlineIconFont(plain, { styleSheets: [] }), plain);
  assert.equal(usesFamily(DRAWING), true);
  const doc = { styleSheets: [{ cssRules: [{ cssText: `@font-face { font-family: "Segoe MDL2 Assets"; src: url("${URL}") format("woff2"); }` }] }] };
  assert.ok(inlineIconFont(DRAWING, doc).includes(URL));
});
