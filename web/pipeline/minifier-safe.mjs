// Rewrites a script so that the server's minifier keeps its meaning.
//
// The server shrinks every script with a one-pass state machine that is not a
// parser: it drops every line break and every space that does not sit between
// two word characters, and it decides whether "/" starts a regular expression
// from the last character it wrote. This pass parses the script with acorn and
// puts each form that such a pass would break into a shape it keeps:
//   - a regular expression after a word character, ")", "]", "}" or "/" is
//     wrapped in parentheses, and a "/" inside one of its classes is escaped;
//   - a division whose left side ends with a character after which the minifier
//     expects a regular expression gets its left side wrapped;
//   - "+ +x", "- -x", "a + ++b", "< !--x" get their second operand wrapped;
//   - an integer literal before "." is wrapped ("1 .toFixed" would become "1.toFixed");
//   - every semicolon that automatic insertion would supply is written out.
// Forms that no wrapping can save (an identifier escape or a combining mark
// that would glue two names together) stop the build with their position.

import * as acorn from 'acorn';

// After these characters the minifier reads "/" as a division.
const divisionAfter = /^[$)\]}_0-9A-Za-z]$/;
// What the minifier counts as a word character, and what JavaScript does.
const minifierWord = /^[\p{L}\p{Nd}_$]$/u;
const scriptWord = /^[\p{ID_Continue}$\\\u200c\u200d]$/u;

const parseOptions = { ecmaVersion: 'latest', sourceType: 'script', allowHashBang: true };

export function makeMinifierSafe(code) {
  const tokens = [];
  const semicolons = [];
  const ast = acorn.parse(code, {
    ...parseOptions,
    onToken: tokens,
    onInsertedSemicolon: (end) => semicolons.push(end),
  });
  const edits = new Edits();
  // Before "}" or at the end, a semicolon is supplied without a line break too.
  for (const end of semicolons) {
    const next = skipSpace(code, end);
    if (next < code.length && code[next] !== '}') edits.insert(end, ';', 0);
  }
  const startsAt = indexNodesByStart(ast);
  checkTokens(code, tokens, startsAt, edits);
  return edits.apply(code);
}

// Looks at each token with the one before it and records the edits it needs.
function checkTokens(code, tokens, startsAt, edits) {
  const leftOf = indexDivisionsByOperator(tokens, startsAt.binaries);
  for (let i = 0; i < tokens.length; i++) {
    const token = tokens[i];
    if (token.type === acorn.tokTypes.eof) break;
    const before = i > 0 ? tokens[i - 1] : null;
    const lastChar = before ? lastCodePoint(code.slice(before.start, before.end)) : '';
    if (token.type === acorn.tokTypes.regexp) {
      if (divisionAfter.test(lastChar) || lastChar === '/') edits.wrap(token.start, token.end);
      const fixed = escapeSlashesInClasses(code.slice(token.start, token.end));
      if (fixed !== code.slice(token.start, token.end)) edits.replace(token.start, token.end, fixed);
    } else if (isDivision(token) && !divisionAfter.test(lastChar)) {
      const left = leftOf.get(token.start);
      if (!left) throw new Error(`division without a left operand at ${token.start}`);
      edits.wrap(left.start, left.end);
    } else if (before && gluesToPrevious(code, before, token)) {
      const operand = startsAt.unaries.get(token.start);
      if (!operand) throw stuck(code, token.start, 'two operators that the minifier would join');
      edits.wrap(operand.start, operand.end);
    }
    if (isBareInteger(code, token) && tokens[i + 1] && tokens[i + 1].type === acorn.tokTypes.dot) {
      edits.wrap(token.start, token.end);
    }
    if (before && token.start > before.end) checkSpace(code, before, token);
  }
}

// "+" then "+" or "++", "-" then "-" or "--", and "<" then "!--": written without
// the space between them, they read as other operators ("++", "--", "<!--").
function gluesToPrevious(code, before, token) {
  const previous = code.slice(before.start, before.end);
  const current = code.slice(token.start, token.end);
  if (before.type === acorn.tokTypes.string || before.type === acorn.tokTypes.template) return false;
  // "++ +" and "-- -" read back the same way: the longest operator is taken first.
  if (previous === '+' && current.startsWith('+')) return true;
  if (previous === '-' && current.startsWith('-')) return true;
  return previous === '<' && current === '!' && code.startsWith('--', skipSpace(code, token.end));
}

// A space between two tokens survives only between two word characters of the
// minifier; where JavaScript needs it for other characters, nothing can replace it.
function checkSpace(code, before, token) {
  const left = lastCodePoint(code.slice(before.start, before.end));
  const right = String.fromCodePoint(code.codePointAt(token.start));
  if (before.type === acorn.tokTypes.string || token.type === acorn.tokTypes.string) return;
  if (scriptWord.test(left) && scriptWord.test(right) && !(minifierWord.test(left) && minifierWord.test(right))) {
    throw stuck(code, token.start, 'two names that only a space keeps apart');
  }
}

function isDivision(token) {
  return (token.type === acorn.tokTypes.slash) || (token.type === acorn.tokTypes.assign && token.value === '/=');
}

function isBareInteger(code, token) {
  return token.type === acorn.tokTypes.num && /^[0-9]+$/.test(code.slice(token.start, token.end));
}

// In a regular expression the minifier ends the literal at the first "/" that
// is not escaped, even inside a character class; "\/" means the same there.
export function escapeSlashesInClasses(literal) {
  const close = literal.lastIndexOf('/');
  let body = '';
  let inClass = false;
  for (let i = 1; i < close; i++) {
    const c = literal[i];
    if (c === '\\') { body += c + literal[++i]; continue; }
    if (inClass && c === '/') { body += '\\/'; continue; }
    if (c === '[') inClass = true;
    else if (c === ']') inClass = false;
    body += c;
  }
  return '/' + body + literal.slice(close);
}

// Maps the start of each unary or prefix update expression to the node, and
// gathers the divisions and "/=" assignments with their left operands.
function indexNodesByStart(ast) {
  const unaries = new Map();
  const binaries = [];
  visit(ast, (node) => {
    if (node.type === 'UnaryExpression' || (node.type === 'UpdateExpression' && node.prefix)) {
      if (!unaries.has(node.start)) unaries.set(node.start, node);
    } else if ((node.type === 'BinaryExpression' && node.operator === '/') ||
               (node.type === 'AssignmentExpression' && node.operator === '/=')) {
      binaries.push(node);
    }
  });
  return { unaries, binaries };
}

// The operator of a division is the first "/" token after its left operand
// (only closing parentheses can stand between them).
function indexDivisionsByOperator(tokens, divisions) {
  const byOperator = new Map();
  const starts = tokens.map((token) => token.start);
  for (const node of divisions) {
    let i = lowerBound(starts, node.left.end);
    while (i < tokens.length && !isDivision(tokens[i])) i++;
    if (i < tokens.length) byOperator.set(tokens[i].start, node.left);
  }
  return byOperator;
}

function visit(node, callback) {
  if (!node || typeof node.type !== 'string') return;
  callback(node);
  for (const key of Object.keys(node)) {
    const value = node[key];
    if (Array.isArray(value)) value.forEach((child) => visit(child, callback));
    else if (value && typeof value === 'object' && typeof value.type === 'string') visit(value, callback);
  }
}

function lowerBound(sorted, value) {
  let low = 0;
  let high = sorted.length;
  while (low < high) {
    const middle = (low + high) >> 1;
    if (sorted[middle] < value) low = middle + 1; else high = middle;
  }
  return low;
}

function skipSpace(code, position) {
  while (position < code.length && /\s/.test(code[position])) position++;
  return position;
}

function lastCodePoint(text) {
  const chars = Array.from(text);
  return chars.length ? chars[chars.length - 1] : '';
}

function stuck(code, position, what) {
  const line = code.slice(0, position).split('\n').length;
  const around = code.slice(Math.max(0, position - 40), position + 40);
  return new Error(`the minifier would break ${what} at line ${line}: …${around}…`);
}

// Insertions and replacements at positions of the original text, applied at once.
class Edits {
  constructor() { this.list = []; }
  // Rank orders edits at one position: a closing ")", a ";", an opening "(", then
  // the replaced text of a token that the "(" opens.
  insert(position, text, rank) { this.list.push({ start: position, end: position, text, rank }); }
  wrap(start, end) {
    this.insert(start, '(', 2);
    this.insert(end, ')', -1);
  }
  replace(start, end, text) { this.list.push({ start, end, text, rank: 3 }); }
  apply(code) {
    const sorted = this.list.slice().sort((a, b) => a.start - b.start || a.rank - b.rank);
    let out = '';
    let at = 0;
    for (const edit of sorted) {
      out += code.slice(at, edit.start) + edit.text;
      at = Math.max(at, edit.end);
    }
    return out + code.slice(at);
  }
}
