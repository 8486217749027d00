// Mirelon's favicon: a calm blue-green tile with a white prompt chevron and a
// warm cursor bar, at 16, 32 and 48 pixels.

import { rasterise } from './raster.mjs';
import { encodeIco, encodePng } from './png.mjs';

export const FAVICON_SIZES = [16, 32, 48];

export const FAVICON_SHAPES = [
  { kind: 'roundedSquare', inset: 0.02, radius: 0.22, color: '#1F6F8B' },
  { kind: 'stroke', points: [[0.26, 0.29], [0.48, 0.5], [0.26, 0.71]], width: 0.13, color: '#FFFFFF' },
  { kind: 'stroke', points: [[0.56, 0.71], [0.76, 0.71]], width: 0.13, color: '#FFC857' },
];

export function buildFavicon() {
  return encodeIco(FAVICON_SIZES.map((size) => ({ size, png: encodePng(rasterise(FAVICON_SHAPES, size), size, size) })));
}
