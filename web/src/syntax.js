// The tokens of a Mirelon program as the editor colours them, read one line at
// a time so that the editor can restart anywhere. Pure: no CodeMirror here.
//
// A state carries what crosses line ends: an open "{ … }" comment, an open
// text (texts may span lines), the block depth for indentation, and whether
// the next name is being defined (after "fonction", "procédure", "classe").

// Single words that are keywords, compared after lowering ASCII letters only:
// "Répète" is the keyword, "RÉPÈTE" a name.
const keywords = new Set([
  'est', 'un', 'une', 'tableau', 'vaut', 'ajoute', 'soustrait', 'supprime', 'vide', 'affiche', 'deboguer',
  'déboguer', 'couleur', 'html', 'demande', 'choisir', 'appuyer', 'arrete', 'arrête', 'continue', 'terminer',
  'si', 'alors', 'sinon', 'selon', 'cas', 'répète', 'repete', 'fois', 'essayer', 'attraper', 'pour', 'de',
  'pas', 'a', 'à', 'dans', 'fonction', 'procédure', 'procedure', 'retourne', 'appelle', 'constante', 'classe',
]);
const operatorWords = new Set(['et', 'ou', 'non', 'mod']);
// Words of the comparison phrases ("est plus grand que", "différent de"),
// compared with accents folded as the lexer does.
const comparisonWords = new Set(['egal', 'egale', 'different', 'differente', 'inferieur', 'superieur']);
const comparisonAfterPlus = new Set(['petit', 'grand']);
const atoms = new Set(['vrai', 'faux']);
// The second word after "fin" (a third, "que", after "fin tant").
const endWords = new Set(['si', 'repete', 'répète', 'pour', 'fonction', 'procedure', 'procédure', 'selon',
  'essayer', 'classe']);

// Blocks for indentation: a line that starts with an opener indents the next
// lines; a line that starts with a closer or a middle word stands one step out.
const openers = new Set(['si', 'tant que', 'répète', 'repete', 'pour', 'selon', 'essayer', 'fonction',
  'procédure', 'procedure', 'classe']);
const middles = new Set(['sinon', 'sinon si', 'sinon selon', 'attraper', 'cas']);
const definers = new Set(['fonction', 'procédure', 'procedure', 'classe']);

export function asciiLower(text) {
  return text.replace(/[A-Z]/g, (c) => c.toLowerCase());
}

const plainLetters = { à: 'a', á: 'a', â: 'a', ä: 'a', ç: 'c', è: 'e', é: 'e', ê: 'e', ë: 'e', î: 'i', ï: 'i',
  ô: 'o', ö: 'o', ù: 'u', û: 'u', ü: 'u' };
function foldWord(text) {
  return asciiLower(text).replace(/[àáâäçèéêëîïôöùûü]/g, (c) => plainLetters[c]);
}

// A word starts with a letter, "_" or a character from À to ÿ (× and ÷ too);
// digits may follow. Characters above 255 are never part of a word.
export function isWordStart(c) {
  if (!c) return false;
  const code = c.charCodeAt(0);
  return (code >= 65 && code <= 90) || (code >= 97 && code <= 122) || code === 95 || (code >= 192 && code <= 255);
}
function isWordChar(c) {
  return isWordStart(c) || isDigit(c);
}
function isDigit(c) {
  return c >= '0' && c <= '9' && c.length === 1;
}
function isHexDigit(c) {
  return /^[0-9A-Fa-f]$/.test(c ?? '');
}

export function startState() {
  return { comment: false, quote: null, depth: 0, defining: false, lineFirst: true };
}

export function copyState(state) {
  return { ...state };
}

// The word at pos (pos is a word start), and the position after it.
function wordAt(line, pos) {
  let end = pos;
  while (end < line.length && isWordChar(line[end])) end++;
  return { word: line.slice(pos, end), end };
}

// The next word after blanks on the same line, or null.
function nextWordAt(line, pos) {
  let at = pos;
  while (line[at] === ' ' || line[at] === '\t' || line[at] === '\r') at++;
  if (at === pos || !isWordStart(line[at])) return null;
  return wordAt(line, at);
}

// The keyword that a word begins, with the two- and three-word forms joined
// ("fin si", "tant que", "sinon si"): { form, end } or null.
function keywordAt(line, pos, word, end) {
  const lower = asciiLower(word);
  if (lower === 'fin') {
    const second = nextWordAt(line, end);
    if (!second) return { form: 'fin', end };
    const secondLower = asciiLower(second.word);
    if (endWords.has(secondLower)) return { form: `fin ${secondLower}`, end: second.end };
    if (secondLower === 'tant') {
      const third = nextWordAt(line, second.end);
      if (third && asciiLower(third.word) === 'que') return { form: 'fin tant que', end: third.end };
    }
    return { form: 'fin', end };
  }
  if (lower === 'tant') {
    const second = nextWordAt(line, end);
    return second && asciiLower(second.word) === 'que' ? { form: 'tant que', end: second.end } : null;
  }
  if (lower === 'sinon') {
    const second = nextWordAt(line, end);
    const secondLower = second ? asciiLower(second.word) : '';
    if (secondLower === 'si' || secondLower === 'selon') return { form: `sinon ${secondLower}`, end: second.end };
    return { form: 'sinon', end };
  }
  return keywords.has(lower) ? { form: lower, end } : null;
}

// Reads the token that starts at pos in line (blanks are a token of type null)
// and returns { end, type }, updating the state. names: { builtins, types } as
// sets of lower-case names.
export function readToken(line, pos, state, names) {
  if (state.comment) return readBlockComment(line, pos, state);
  if (state.quote) return readText(line, pos, state, state.quote);
  const c = line[pos];
  if (c === ' ' || c === '\t' || c === '\r') {
    let end = pos;
    while (line[end] === ' ' || line[end] === '\t' || line[end] === '\r') end++;
    return { end, type: null };
  }
  if (c === '/' && line[pos + 1] === '/') return { end: line.length, type: 'lineComment' };
  if (c === '{') {
    state.comment = true;
    return readBlockComment(line, pos + 1, state, pos);
  }
  const first = state.lineFirst;
  state.lineFirst = false;
  if (c === "'" || c === '"') {
    state.quote = c;
    return readText(line, pos + 1, state, c, pos);
  }
  if (c === '$') {
    let end = pos + 1;
    while (isHexDigit(line[end])) end++;
    return { end, type: end > pos + 1 ? 'number' : 'invalid' };
  }
  if (c === '#') return readColour(line, pos);
  if ((c === 'U' || c === 'u') && line[pos + 1] === '+' && isHexDigit(line[pos + 2])) {
    let end = pos + 2;
    while (isHexDigit(line[end])) end++;
    if (end - pos - 2 <= 6) return { end, type: 'string.special' };
  }
  if (isDigit(c)) return readNumber(line, pos);
  if (isWordStart(c)) return readWord(line, pos, state, names, first);
  return readSymbol(line, pos);
}

function readBlockComment(line, pos, state, start = pos) {
  const close = line.indexOf('}', pos);
  if (close < 0) return { end: Math.max(line.length, start + 1), type: 'blockComment' };
  state.comment = false;
  return { end: close + 1, type: 'blockComment' };
}

// A text runs to its closing quote; a doubled quote stands for itself. A text
// left open goes on at the next line.
function readText(line, pos, state, quote, start = pos) {
  let at = pos;
  while (at < line.length) {
    if (line[at] === quote) {
      if (line[at + 1] === quote) { at += 2; continue; }
      state.quote = null;
      return { end: at + 1, type: 'string' };
    }
    at++;
  }
  return { end: Math.max(line.length, start + 1), type: 'string' };
}

// "#0" and "#RRGGBB" are colour texts; any other "#" is a lone symbol (the
// character code "#65" is "#" then a number).
function readColour(line, pos) {
  let end = pos + 1;
  while (isHexDigit(line[end])) end++;
  const digits = line.slice(pos + 1, end);
  if (digits === '0' || digits.length === 6) return { end, type: 'string.special' };
  return { end: pos + 1, type: 'operator' };
}

// Digits, then a "." or "," and more digits: "3,14" is one number, "1,2,3"
// is 1,2 then a comma and 3.
function readNumber(line, pos) {
  let end = pos;
  while (isDigit(line[end])) end++;
  if ((line[end] === '.' || line[end] === ',') && isDigit(line[end + 1])) {
    end++;
    while (isDigit(line[end])) end++;
  }
  return { end, type: 'number' };
}

function readWord(line, pos, state, names, first) {
  const { word, end } = wordAt(line, pos);
  const keyword = keywordAt(line, pos, word, end);
  const defining = state.defining;
  state.defining = false;
  if (keyword) {
    trackBlock(state, keyword.form, first);
    if (definers.has(keyword.form)) state.defining = true;
    return { end: keyword.end, type: 'keyword' };
  }
  const lower = asciiLower(word);
  const folded = foldWord(word);
  if (operatorWords.has(lower) || comparisonWords.has(folded)) return { end, type: 'operatorKeyword' };
  if (folded === 'plus') {
    const next = nextWordAt(line, end);
    if (next && comparisonAfterPlus.has(foldWord(next.word))) return { end: next.end, type: 'operatorKeyword' };
  }
  if (defining) return { end, type: 'variableName.definition' };
  if (atoms.has(lower)) return { end, type: 'bool' };
  const name = word.toLowerCase();
  if (names?.builtins?.has(name)) return { end, type: 'variableName.standard' };
  if (names?.types?.has(name)) return { end, type: 'typeName' };
  return { end, type: 'variableName' };
}

const symbolTypes = {
  '(': 'paren', ')': 'paren', '[': 'squareBracket', ']': 'squareBracket',
  ',': 'separator', ':': 'separator', '.': 'separator',
};

function readSymbol(line, pos) {
  const c = line[pos];
  const two = line.slice(pos, pos + 2);
  if (two === '<>' || two === '<=' || two === '>=') return { end: pos + 2, type: 'operator' };
  if ('+-*/^%=<>'.includes(c)) return { end: pos + 1, type: 'operator' };
  if (symbolTypes[c]) return { end: pos + 1, type: symbolTypes[c] };
  // A character outside the BMP is one token, both of its halves.
  const width = line.codePointAt(pos) > 0xffff ? 2 : 1;
  return { end: pos + width, type: 'invalid' };
}

// The block depth after a keyword: openers count at the start of a line, every
// closer counts (so "si x alors affiche 1 fin si" leaves the depth as it was).
function trackBlock(state, form, first) {
  if (form.startsWith('fin ')) state.depth = Math.max(0, state.depth - 1);
  else if (first && openers.has(form)) state.depth++;
}

// Called at each new line: the next word is the line's first.
export function startLine(state) {
  state.lineFirst = !state.comment && !state.quote;
}

// The indentation (in steps) of a line that starts with textAfter, when the
// state is the one after the previous line.
export function indentSteps(state, textAfter) {
  if (state.comment || state.quote) return null;
  const first = /^\s*([A-Za-zÀ-ÿ_]+)(?:[ \t]+([A-Za-zÀ-ÿ_]+))?/.exec(textAfter);
  let steps = state.depth;
  if (first) {
    const word = asciiLower(first[1]);
    const pair = first[2] ? `${word} ${asciiLower(first[2])}` : word;
    if (word === 'fin' || middles.has(word) || middles.has(pair)) steps--;
  }
  return Math.max(0, steps);
}

// The whole text as [line, from, to, type] tokens (blanks left out): for tests
// and tools; the editor reads line by line itself.
export function tokenize(text, names) {
  const state = startState();
  const tokens = [];
  text.split('\n').forEach((line, index) => {
    startLine(state);
    let pos = 0;
    while (pos < line.length) {
      const { end, type } = readToken(line, pos, state, names);
      if (type) tokens.push([index + 1, pos, end, type, line.slice(pos, end)]);
      pos = end;
    }
  });
  return { tokens, state };
}
