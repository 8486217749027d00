// The characters the page's fonts keep: what French pupils read and type.
// Anything else falls back to the system's fonts.

const range = (from, to) => Array.from({ length: to - from + 1 }, (_, i) => String.fromCodePoint(from + i)).join('');

// Letters, digits and signs of a French keyboard, every accent included
// (Latin-1 holds àâäçéèêëîïôöùûüÿ and their capitals), Œ œ Ÿ, typographic
// quotes, dashes, the ellipsis, the euro and the thin spaces of French text.
export const TEXT = [
  range(0x20, 0x7e),
  range(0xa0, 0xff),
  'ŒœŸ',
  '\u2009\u202f\u2011', // thin space, narrow no-break space, no-break hyphen
  '‘’‚“”„‹›«»–—…•·€™−',
].join('');

// The code font also draws the symbols of comparisons and arrows that pupils
// write in programs and comments (≤ and ≥ are read as <= and >=).
export const CODE = TEXT + '≤≥≠≈±×÷√∞π°²³←↑→↓↔⇒✓✗▶■□●○★☆♥♦♣♠';
