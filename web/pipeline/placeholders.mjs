// Small valid stand-ins for the content files, written when web/content has no
// generator yet: empty help, emoji and icon tables, no web fonts, plain pictures.

import { writeFileSync } from 'node:fs';
import { join } from 'node:path';

const texts = {
  'help.js': 'window.MirelonHelp = [];\n',
  'emoji.js': 'window.MirelonEmoji = [];\n',
  'icons.js': 'window.MirelonIcons = [];\n',
  'fonts.css': '/* No web fonts yet: the page falls back to the system fonts. */\n',
  'pattern.svg': '<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">' +
    '<circle cx="12" cy="12" r="1" fill="#cfd5de"/></svg>\n',
  'background.svg': '<svg xmlns="http://www.w3.org/2000/svg" width="1600" height="900" viewBox="0 0 1600 900">' +
    '<rect width="1600" height="900" fill="#eef1f5"/></svg>\n',
};

// A 16×16 icon of one colour: the icon directory, one 32-bit bitmap, its mask.
export function solidIcon([red, green, blue]) {
  const size = 16;
  const pixels = Buffer.alloc(size * size * 4);
  for (let i = 0; i < size * size; i++) pixels.set([blue, green, red, 255], i * 4);
  const mask = Buffer.alloc(size * 4);
  const header = Buffer.alloc(40);
  header.writeUInt32LE(40, 0);
  header.writeInt32LE(size, 4);
  header.writeInt32LE(size * 2, 8);
  header.writeUInt16LE(1, 12);
  header.writeUInt16LE(32, 14);
  header.writeUInt32LE(pixels.length + mask.length, 20);
  const image = Buffer.concat([header, pixels, mask]);
  const directory = Buffer.alloc(22);
  directory.writeUInt16LE(1, 2);
  directory.writeUInt16LE(1, 4);
  directory.set([size, size, 0, 0], 6);
  directory.writeUInt16LE(1, 10);
  directory.writeUInt16LE(32, 12);
  directory.writeUInt32LE(image.length, 14);
  directory.writeUInt32LE(22, 18);
  return Buffer.concat([directory, image]);
}

export function writePlaceholders(outDir) {
  for (const [name, text] of Object.entries(texts)) writeFileSync(join(outDir, name), text);
  writeFileSync(join(outDir, 'favicon.ico'), solidIcon([0x24, 0x57, 0xc5]));
}
