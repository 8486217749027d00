// The page's two text families, subset to the characters of charset.mjs and
// compressed as WOFF2: Atkinson Hyperlegible for the interface (designed for
// readers with low vision, clear letter shapes) and JetBrains Mono for code
// (0/O, 1/l/I told apart), both under the SIL Open Font License.

import fs from 'node:fs/promises';
import { createRequire } from 'node:module';
import subsetFont from 'subset-font';
import fontverter from 'fontverter';

import { CODE, TEXT } from './charset.mjs';
import { readCmap } from '../lib/cmap.mjs';

const require = createRequire(import.meta.url);

// Kerning and accent placement stay; the code font drops its ligatures, so
// that "<>", "<=" or "->" show as the characters the pupil typed.
const TEXT_FEATURES = ['kern', 'liga', 'ccmp', 'locl', 'mark', 'mkmk'];
const CODE_FEATURES = ['ccmp', 'locl', 'mark', 'mkmk'];

export const FACES = [
  { family: 'Atkinson Hyperlegible', weight: 400, file: '@expo-google-fonts/atkinson-hyperlegible/400Regular/AtkinsonHyperlegible_400Regular.ttf', text: TEXT, features: TEXT_FEATURES },
  { family: 'Atkinson Hyperlegible', weight: 700, file: '@expo-google-fonts/atkinson-hyperlegible/700Bold/AtkinsonHyperlegible_700Bold.ttf', text: TEXT, features: TEXT_FEATURES },
  { family: 'JetBrains Mono', weight: 400, file: '@expo-google-fonts/jetbrains-mono/400Regular/JetBrainsMono_400Regular.ttf', text: CODE, features: CODE_FEATURES },
  { family: 'JetBrains Mono', weight: 700, file: '@expo-google-fonts/jetbrains-mono/700Bold/JetBrainsMono_700Bold.ttf', text: CODE, features: CODE_FEATURES },
];

// "U+20-7E,U+A0-FF": the ranges of a set of code points, for unicode-range,
// so that the browser asks the next font for anything this one lacks.
export function unicodeRange(codePoints) {
  const sorted = [...codePoints].sort((a, b) => a - b);
  const parts = [];
  for (let i = 0; i < sorted.length; ) {
    let j = i;
    while (j + 1 < sorted.length && sorted[j + 1] === sorted[j] + 1) j++;
    const hex = (c) => c.toString(16).toUpperCase();
    parts.push(i === j ? `U+${hex(sorted[i])}` : `U+${hex(sorted[i])}-${hex(sorted[j])}`);
    i = j + 1;
  }
  return parts.join(',');
}

// Each face as { family, weight, woff2, codePoints }: only the wanted
// characters that the font really draws are listed.
export async function buildTextFonts() {
  const faces = [];
  for (const face of FACES) {
    const source = await fs.readFile(require.resolve(face.file));
    const woff2 = await subsetFont(source, face.text, { targetFormat: 'woff2', keepFeatures: face.features });
    const drawn = readCmap(await fontverter.convert(woff2, 'sfnt'));
    const codePoints = [...drawn.keys()].filter((c) => c >= 0x20);
    faces.push({ family: face.family, weight: face.weight, woff2, codePoints });
  }
  return faces;
}
