// fonts.css: the page's fonts as WOFF2 data URLs (the server sends the
// eleven files only, so nothing is fetched beside them), with no local()
// source, so that every machine draws the same letters and icons.

import { cssHeader } from '../lib/generated.mjs';
import { unicodeRange } from './build-fonts.mjs';

// The family that the "icône" builtin writes in its SVG text elements.
export const ICON_FAMILY = 'Segoe MDL2 Assets';

function fontFace({ family, weight, woff2, codePoints, display = 'swap' }) {
  return [
    '@font-face {',
    `  font-family: "${family}";`,
    '  font-style: normal;',
    `  font-weight: ${weight};`,
    `  font-display: ${display};`,
    `  src: url(data:font/woff2;base64,${Buffer.from(woff2).toString('base64')}) format("woff2");`,
    `  unicode-range: ${unicodeRange(codePoints)};`,
    '}',
  ].join('\n');
}

// textFaces from buildTextFonts(), icons = { woff2, codePoints }.
export function fontsCss(textFaces, icons) {
  const faces = [
    ...textFaces.map(fontFace),
    fontFace({ family: ICON_FAMILY, weight: '100 900', display: 'block', ...icons }),
  ];
  const variables = [
    ':root {',
    '  --mirelon-font-ui: "Atkinson Hyperlegible", system-ui, sans-serif;',
    '  --mirelon-font-code: "JetBrains Mono", ui-monospace, "DejaVu Sans Mono", monospace;',
    `  --mirelon-font-icons: "${ICON_FAMILY}";`,
    '}',
  ].join('\n');
  return `${cssHeader()}${faces.join('\n')}\n${variables}\n`;
}
