// Builds the icon font of the "icône" builtin: one glyph per icon of the
// table, at its code point, drawn from the Material Design Icons SVG files
// (24 × 24, one filled path each). The path is scaled to the em and flipped
// (font coordinates grow upwards), so the icon stands on the baseline and
// fills one em above it: in a drawing, (x, y) is its lower left corner.

import fs from 'node:fs/promises';
import { createRequire } from 'node:module';
import path from 'node:path';
import svgpath from 'svgpath';
import svg2ttf from 'svg2ttf';
import fontverter from 'fontverter';

import { iconTable } from './table.mjs';

const require = createRequire(import.meta.url);
const MDI_FOLDER = path.join(path.dirname(require.resolve('@mdi/svg/package.json')), 'svg');
const SOURCE_SIZE = 24;
export const UNITS_PER_EM = 960;
// Fixed creation date, so that the same sources always give the same bytes.
const TIMESTAMP = 1767225600; // 2026-01-01

// The one path of an icon file, checked so that a changed icon set fails
// loudly instead of drawing something else.
export function iconPath(svgText, name) {
  if (!svgText.includes(`viewBox="0 0 ${SOURCE_SIZE} ${SOURCE_SIZE}"`)) throw new Error(`${name}: not a ${SOURCE_SIZE} × ${SOURCE_SIZE} icon`);
  const paths = [...svgText.matchAll(/<path\b[^>]*\sd="([^"]+)"/g)];
  if (paths.length !== 1 || /<(circle|rect|polygon|g)\b/.test(svgText)) throw new Error(`${name}: expected exactly one path`);
  return paths[0][1];
}

// The glyph outline in font units: scaled to the em, y flipped onto the baseline.
export function glyphOutline(d) {
  const scale = UNITS_PER_EM / SOURCE_SIZE;
  return svgpath(d).scale(scale, -scale).translate(0, UNITS_PER_EM).round(1).toString();
}

export function svgFont(glyphs) {
  const lines = glyphs.map(
    ({ source, code, d }) => `<glyph glyph-name="${source}" unicode="&#x${code.toString(16)};" horiz-adv-x="${UNITS_PER_EM}" d="${d}"/>`,
  );
  return `<?xml version="1.0" standalone="no"?>
<svg xmlns="http://www.w3.org/2000/svg"><defs><font id="MirelonIcons" horiz-adv-x="${UNITS_PER_EM}">
<font-face font-family="Mirelon Icons" units-per-em="${UNITS_PER_EM}" ascent="${UNITS_PER_EM}" descent="0"/>
<missing-glyph horiz-adv-x="0"/>
${lines.join('\n')}
</font></defs></svg>`;
}

// { ttf, woff2 } buffers of the icon font.
export async function buildIconFont() {
  const glyphs = [];
  for (const icon of iconTable()) {
    const text = await fs.readFile(path.join(MDI_FOLDER, `${icon.source}.svg`), 'utf8');
    glyphs.push({ ...icon, d: glyphOutline(iconPath(text, icon.source)) });
  }
  const ttf = Buffer.from(
    svg2ttf(svgFont(glyphs), {
      ts: TIMESTAMP,
      copyright: 'Icons: Material Design Icons (Pictogrammers), Apache License 2.0',
      description: 'Icon font of the Mirelon workbench',
      url: 'https://pictogrammers.com/library/mdi/',
    }).buffer,
  );
  const woff2 = await fontverter.convert(ttf, 'woff2');
  return { ttf, woff2 };
}
