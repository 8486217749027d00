// Reads the character map of a TrueType/OpenType font (an sfnt buffer):
// the set of code points that the font draws. Formats 4 and 12 cover every
// font we ship; other formats are skipped.

// The sfnt tables by tag: offset and length in the buffer.
export function readTables(font) {
  const view = new DataView(font.buffer, font.byteOffset, font.byteLength);
  const count = view.getUint16(4);
  const tables = new Map();
  for (let i = 0; i < count; i++) {
    const at = 12 + i * 16;
    const tag = String.fromCharCode(font[at], font[at + 1], font[at + 2], font[at + 3]);
    tables.set(tag, { offset: view.getUint32(at + 8), length: view.getUint32(at + 12) });
  }
  return { view, tables };
}

function readFormat4(view, at, codePoints) {
  const segments = view.getUint16(at + 6) / 2;
  const ends = at + 14;
  const starts = ends + segments * 2 + 2;
  const deltas = starts + segments * 2;
  const ranges = deltas + segments * 2;
  for (let s = 0; s < segments; s++) {
    const end = view.getUint16(ends + s * 2);
    const start = view.getUint16(starts + s * 2);
    const delta = view.getUint16(deltas + s * 2);
    const rangeAt = ranges + s * 2;
    const rangeOffset = view.getUint16(rangeAt);
    for (let c = start; c <= end && c !== 0xffff; c++) {
      let glyph;
      if (rangeOffset === 0) glyph = (c + delta) & 0xffff;
      else {
        glyph = view.getUint16(rangeAt + rangeOffset + (c - start) * 2);
        if (glyph !== 0) glyph = (glyph + delta) & 0xffff;
      }
      if (glyph !== 0) codePoints.set(c, glyph);
    }
  }
}

function readFormat12(view, at, codePoints) {
  const groups = view.getUint32(at + 12);
  for (let g = 0; g < groups; g++) {
    const group = at + 16 + g * 12;
    const start = view.getUint32(group);
    const end = view.getUint32(group + 4);
    const glyph = view.getUint32(group + 8);
    for (let c = start; c <= end; c++) codePoints.set(c, glyph + c - start);
  }
}

// Map code point -> glyph index of every subtable the font carries.
export function readCmap(font) {
  const { view, tables } = readTables(font);
  const cmap = tables.get('cmap');
  if (!cmap) throw new Error('font has no cmap table');
  const codePoints = new Map();
  const subtables = view.getUint16(cmap.offset + 2);
  for (let i = 0; i < subtables; i++) {
    const at = cmap.offset + view.getUint32(cmap.offset + 4 + i * 8 + 4);
    const format = view.getUint16(at);
    if (format === 4) readFormat4(view, at, codePoints);
    else if (format === 12) readFormat12(view, at, codePoints);
  }
  return codePoints;
}

// The outline size in bytes of every glyph of a TrueType font, by glyph
// index: 0 means an empty glyph (nothing is drawn).
export function glyphLengths(font) {
  const { view, tables } = readTables(font);
  const head = tables.get('head');
  const loca = tables.get('loca');
  const maxp = tables.get('maxp');
  if (!head || !loca || !maxp) throw new Error('not a TrueType outline font');
  const longOffsets = view.getInt16(head.offset + 50) === 1;
  const count = view.getUint16(maxp.offset + 4);
  const offset = (i) => (longOffsets ? view.getUint32(loca.offset + i * 4) : view.getUint16(loca.offset + i * 2) * 2);
  return Array.from({ length: count }, (_, i) => offset(i + 1) - offset(i));
}
