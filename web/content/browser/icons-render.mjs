// Draws every icon of icons.js through a real program (`mirelon run`), shows
// the SVG drawings in Chromium with fonts.css, and checks that each glyph is
// drawn: some ink, unlike the rendering of a code point that has no icon,
// and unlike every other icon. A second pass saves the drawings the way the
// page exports PNG files (font inlined, SVG drawn as an image onto a canvas).
//   node browser/icons-render.mjs --mirelon build/mirelon [--chromium /usr/bin/chromium] [--screenshot FILE]

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import { chromium } from 'playwright-core';

import { buildContent } from '../build.mjs';
import { readDataScript } from '../lib/generated.mjs';
import { decodePng } from './png-pixels.mjs';

const HERE = path.dirname(fileURLToPath(import.meta.url));
const { values: options } = parseArgs({
  options: {
    mirelon: { type: 'string' },
    chromium: { type: 'string', default: '/usr/bin/chromium' },
    screenshot: { type: 'string' }, // where to keep the page of icons, to look at it
  },
});
const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
  '--disable-component-update', '--disable-sync', '--no-first-run'];
const UNASSIGNED = 'E6FF';
const CELL = 40;

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'mirelon-icons-'));
await buildContent(work);
const icons = readDataScript(fs.readFileSync(path.join(work, 'icons.js'), 'utf8'), 'MirelonIcons').icons;
const fontsCss = fs.readFileSync(path.join(work, 'fonts.css'), 'utf8');

// One 40 × 40 canvas per icon, the unassigned code point last.
function drawingProgram(codes) {
  return [
    `codes vaut [${codes.map((c) => `'${c}'`).join(', ')}]`,
    'pour i de 0 à longueur(codes) - 1',
    '  t est une toile',
    `  dimension(t, ${CELL}, ${CELL})`,
    `  icône(t, 4, ${CELL - 4}, codes[i], '#000000', 32)`,
    '  affiche t',
    'fin pour',
  ].join('\n');
}

function runDrawings(codes) {
  const file = path.join(work, 'icones.mir');
  fs.writeFileSync(file, drawingProgram(codes));
  const out = execFileSync(path.resolve(options.mirelon), ['run', file, '--seed=1'], { encoding: 'utf8' });
  return out.trim().split('\n').map((line) => {
    assert.match(line, /^__SVG__<svg .*<\/svg>__$/);
    return line.slice('__SVG__'.length, -2);
  });
}

// Dark pixels and a fingerprint of the cell at (left, top) of a screenshot.
function cellPixels(shot, left, top) {
  let ink = 0;
  let print = '';
  for (let y = 0; y < CELL; y++)
    for (let x = 0; x < CELL; x++) {
      const dark = shot.grey(left + x, top + y) < 128;
      ink += dark;
      print += dark ? '1' : '0';
    }
  return { ink, print };
}

const svgs = runDrawings([...icons.map((i) => i.code), UNASSIGNED]);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'mirelon-chromium-'));
const context = await chromium.launchPersistentContext(profile, { executablePath: options.chromium, headless: true, args: FLAGS });
const page = await context.newPage();

test.after(async () => {
  await context.close();
  fs.rmSync(profile, { recursive: true, force: true });
  fs.rmSync(work, { recursive: true, force: true });
});

test('the program writes one drawing per icon, in the icon family', () => {
  assert.equal(svgs.length, icons.length + 1);
  assert.ok(svgs.every((svg) => svg.includes('font-family="Segoe MDL2 Assets"')));
});

test('every icon is drawn by the icon font, none as an empty box', async () => {
  await page.setViewportSize({ width: 20 * CELL, height: 1000 });
  await page.setContent(`<!doctype html><html><head><meta charset="utf-8"><style>${fontsCss}
    body { margin: 0; background: #fff; } .cells { display: flex; flex-wrap: wrap; width: ${20 * CELL}px; }
    .cells > div { width: ${CELL}px; height: ${CELL}px; line-height: 0; }</style></head>
    <body><div class="cells">${svgs.map((svg) => `<div>${svg}</div>`).join('')}</div></body></html>`);
  await page.evaluate(async () => {
    await document.fonts.load('32px "Segoe MDL2 Assets"', '\uE700');
    await document.fonts.ready;
  });
  const boxes = await page.$$eval('.cells > div', (cells) => cells.map((c) => [c.offsetLeft, c.offsetTop]));
  const png = await page.screenshot({ fullPage: true });
  if (options.screenshot) fs.writeFileSync(options.screenshot, png);
  const shot = decodePng(png);
  const cells = boxes.map(([left, top]) => cellPixels(shot, left, top));
  const reference = cells.pop();
  const problems = [];
  const seen = new Map();
  cells.forEach((cell, i) => {
    const { name, code } = icons[i];
    if (cell.ink < 20) problems.push(`${code} ${name}: almost nothing drawn (${cell.ink} dark pixels)`);
    else if (cell.print === reference.print) problems.push(`${code} ${name}: drawn like an unassigned code point`);
    else if (seen.has(cell.print)) problems.push(`${code} ${name}: drawn like ${seen.get(cell.print)}`);
    seen.set(cell.print, `${code} ${name}`);
  });
  assert.deepEqual(problems, []);
});

test('exported drawings carry the font: an icon drawn as an image still shows', async () => {
  const module = fs.readFileSync(path.join(HERE, '..', 'inline-font.mjs'), 'utf8');
  await page.addScriptTag({ type: 'module', content: `${module}\nwindow.inlineIconFont = inlineIconFont;` });
  await page.waitForFunction(() => typeof window.inlineIconFont === 'function');
  const ink = await page.evaluate(async (drawings) => {
    const inkOf = async (svg) => {
      const img = new Image();
      img.src = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(svg)}`;
      await img.decode();
      const canvas = document.createElement('canvas');
      canvas.width = img.width;
      canvas.height = img.height;
      const g = canvas.getContext('2d');
      g.fillStyle = '#fff';
      g.fillRect(0, 0, canvas.width, canvas.height);
      g.drawImage(img, 0, 0);
      const { data } = g.getImageData(0, 0, canvas.width, canvas.height);
      let dark = 0;
      for (let i = 0; i < data.length; i += 4) dark += data[i] + data[i + 1] + data[i + 2] < 384;
      return dark;
    };
    return Promise.all(drawings.map((svg) => inkOf(window.inlineIconFont(svg))));
  }, [svgs[0], svgs[icons.findIndex((i) => i.name === 'soleil')]]);
  assert.ok(ink.every((dark) => dark >= 20), `dark pixels: ${ink}`);
});
