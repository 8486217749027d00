// Builds the workbench's content files into a folder. tools/build-web calls
//   import { buildContent } from '../web/content/build.mjs';
//   await buildContent('assets');
// and the files come out ready to embed: help.js, emoji.js, icons.js,
// fonts.css, pattern.svg, background.svg and favicon.ico.

import fs from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { dataScript, svgHeader, writeAtomically } from './lib/generated.mjs';
import { helpDatabase } from './help/index.mjs';
import { checkShape } from './help/shape.mjs';
import { buildEmojiData } from './emoji/build-emoji.mjs';
import { GROUPS, iconTable } from './icons/table.mjs';
import { buildIconFont } from './icons/build-font.mjs';
import { buildTextFonts } from './fonts/build-fonts.mjs';
import { fontsCss, ICON_FAMILY } from './fonts/fonts-css.mjs';
import { buildFavicon } from './images/favicon.mjs';
import { notices } from './licences/notices.mjs';

const HERE = path.dirname(fileURLToPath(import.meta.url));

export function iconsData() {
  return {
    family: ICON_FAMILY,
    groups: GROUPS.map(([id, title]) => ({ id, title })),
    icons: iconTable().map(({ name, hex, group }) => ({ name, code: hex, group })),
  };
}

async function helpScript() {
  const help = helpDatabase();
  const problems = checkShape(help);
  if (problems.length) throw new Error(`help database:\n${problems.join('\n')}`);
  return dataScript('MirelonHelp', { ...help, notices: await notices() });
}

async function svgFile(name) {
  return svgHeader() + (await fs.readFile(path.join(HERE, 'images', name), 'utf8'));
}

// Writes the seven files into outDir; returns their names and sizes in bytes.
export async function buildContent(outDir) {
  const [textFaces, iconFont, emoji, help] = await Promise.all([
    buildTextFonts(), buildIconFont(), buildEmojiData(), helpScript(),
  ]);
  const iconCodes = iconTable().map((i) => i.code);
  const files = {
    'help.js': help,
    'emoji.js': dataScript('MirelonEmoji', emoji),
    'icons.js': dataScript('MirelonIcons', iconsData()),
    'fonts.css': fontsCss(textFaces, { woff2: iconFont.woff2, codePoints: iconCodes }),
    'pattern.svg': await svgFile('pattern.svg'),
    'background.svg': await svgFile('background.svg'),
    'favicon.ico': buildFavicon(),
  };
  const written = [];
  for (const [name, content] of Object.entries(files)) {
    await writeAtomically(path.join(outDir, name), content);
    written.push({ name, bytes: Buffer.byteLength(content) });
  }
  return written;
}
