// Turns the editor's text into the program text that the server runs or analyses.

const escapeRounds = 6;

// Reduces doubled HTML escapes ("&amp;lt;" and the like) one level per round until
// nothing changes, then decodes the comparison escapes and the ≤ ≥ characters.
export function normalizeProgram(text) {
  let result = text;
  for (let round = 0; round < escapeRounds; round++) {
    const reduced = result.replace(/&amp;(lt|gt|amp);/gi, '&$1;');
    if (reduced === result) break;
    result = reduced;
  }
  return result
    .replace(/&lt;&gt;/gi, '<>')
    .replace(/&lt;=/gi, '<=')
    .replace(/&gt;=/gi, '>=')
    .replace(/&lt;/gi, '<')
    .replace(/&gt;/gi, '>')
    .replace(/&amp;/gi, '&')
    .replace(/≤/g, '<=')
    .replace(/≥/g, '>=');
}

// The text of a run: lines from the breakpoint on are cut off and ignored lines
// are blanked. Blanking instead of removing, and trimming only the end, keep
// every line at its number, so that an error's line is the line in the editor.
// Gives the empty text when nothing is left to run.
export function prepareRun(text, { breakpoint = null, ignored = [] } = {}) {
  let lines = normalizeProgram(text).split('\n');
  if (breakpoint !== null && breakpoint >= 1) lines = lines.slice(0, breakpoint - 1);
  const skipped = new Set(ignored);
  lines = lines.map((line, index) => (skipped.has(index + 1) ? '' : line));
  return keepIfNotBlank(lines.join('\n'));
}

// The text to analyse: every line, markers left out.
export function prepareAnalysis(text) {
  return keepIfNotBlank(normalizeProgram(text));
}

function keepIfNotBlank(text) {
  return text.trim() === '' ? '' : text.trimEnd();
}

// A new seed for each run: the time in milliseconds XOR a random value below
// 2^31 - 1, as a signed 32-bit integer.
export function newSeed(now = Date.now(), random = Math.random) {
  return (now ^ Math.floor(random() * 2147483647)) | 0;
}
