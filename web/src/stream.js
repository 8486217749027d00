// Reads the output stream of a run: one entry per line, markers recognised.
// Pure: the console view turns the entries into elements.

export const defaultColor = null;

const hexColor = /^#[0-9A-Fa-f]{6}$/;
const colorLine = /^__COLOR__(.+)__$/s;
const debugLine = /^__DEBUG__(.+)__$/s;
const animationLine = /^__ANIM__(\d+)__(\d+)__(.*)__$/s;

export function isHexColor(value) {
  return typeof value === 'string' && hexColor.test(value);
}

// Splits a turn's output into lines (line feeds; trailing white space removed;
// a final empty line dropped) and reads each one.
export function parseOutput(text) {
  if (!text) return [];
  const lines = text.split('\n').map((line) => line.replace(/\s+$/u, ''));
  if (lines.length && lines[lines.length - 1] === '') lines.pop();
  return lines.map(parseLine);
}

// First match wins: colour, debug note, HTML, animation, drawing, plain text.
export function parseLine(line) {
  let match = colorLine.exec(line);
  if (match) return { kind: 'color', color: readColor(match[1]) };
  match = debugLine.exec(line);
  if (match) return { kind: 'debug', text: match[1] };
  if (line.length >= 10 && line.startsWith('__HTML__') && line.endsWith('__')) {
    return { kind: 'html', html: line.slice(8, -2) };
  }
  match = animationLine.exec(line);
  if (match) {
    return {
      kind: 'animation',
      delay: clampWhole(match[1], 10, 60000, 100),
      repeat: clampWhole(match[2], 0, 20, 0),
      frames: match[3].split('||FRAME||').filter((frame) => frame.trim() !== ''),
    };
  }
  if (line.length >= 9 && line.startsWith('__SVG__') && line.endsWith('__')) {
    return { kind: 'svg', svg: line.slice(7, -2) };
  }
  return { kind: 'text', text: line };
}

// "reset", "défaut" and "defaut" in any case return to the default colour; a
// value without "#" gets one. Only "#RRGGBB" is ever used as a colour: anything
// else leaves the current colour as it was (undefined).
function readColor(raw) {
  const value = raw.trim();
  if (/^(reset|d[ée]faut)$/i.test(value)) return defaultColor;
  const withHash = value.startsWith('#') ? value : `#${value}`;
  return isHexColor(withHash) ? withHash : undefined;
}

function clampWhole(text, low, high, fallback) {
  const value = Number.parseInt(text, 10);
  if (!Number.isFinite(value)) return fallback;
  return Math.min(high, Math.max(low, value));
}

// Cuts a plain line at its inline colour markers: "\x02#RRGGBB\x03" opens a
// colour, "\x02/\x03" closes the innermost one, other marked contents (and a
// "\x02" that is never closed) are dropped. Each run of text gets the colour at
// the top of the stack, or the console's colour when the stack is empty.
export function splitColorRuns(line, baseColor = defaultColor) {
  if (!line.includes('\u0002')) return line ? [{ text: line, color: baseColor }] : [];
  const runs = [];
  const stack = [];
  let at = 0;
  const emit = (text) => {
    if (text) runs.push({ text, color: stack.length ? stack[stack.length - 1] : baseColor });
  };
  while (at < line.length) {
    const open = line.indexOf('\u0002', at);
    if (open < 0) { emit(line.slice(at)); break; }
    emit(line.slice(at, open));
    const close = line.indexOf('\u0003', open + 1);
    if (close < 0) { emit(line.slice(open + 1)); break; }
    const marker = line.slice(open + 1, close);
    if (marker === '/') stack.pop();
    else if (isHexColor(marker)) stack.push(marker);
    at = close + 1;
  }
  return runs;
}
