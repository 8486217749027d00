// A JavaScript port of the server's script and style-sheet minifiers, used only by
// the tests of the build's rewrite pass while the real `mirelon minify` command is
// not at hand. The guard itself always runs the real binary.

const wordChar = /^[\p{L}\p{Nd}_$]$/u;
const space = /^[\t\n\v\f\r \u0085\u00a0\p{Zs}\p{Zl}\p{Zp}]$/u;
const cssWordChar = /^[\p{L}\p{Nd}\-_%#.+]$/u;
const cssPunctuation = new Set('(),:;>[]{}~');
const noRegexAfter = /^[$)\]}_0-9A-Za-z]$/;

function scriptMinifier(text) {
  const chars = Array.from(text);
  let out = '';
  let lastChar = '';
  let pendingSpace = false;
  let state = 'code';
  const stack = [];
  const append = (c) => { out += c; lastChar = c; };
  const push = (next) => { stack.push({ state, braces: 0 }); state = next; };
  const pop = () => { state = stack.length ? stack.pop().state : 'code'; };
  const plain = (c) => {
    if (pendingSpace && wordChar.test(lastChar) && wordChar.test(c)) append(' ');
    pendingSpace = false;
    append(c);
  };
  for (let i = 0; i < chars.length; i++) {
    const c = chars[i];
    const next = chars[i + 1];
    if (state === 'code') {
      const top = stack[stack.length - 1];
      if (c === '/' && next === '/') { state = 'line'; i++; }
      else if (c === '/' && next === '*') { state = 'block'; i++; }
      else if (c === "'" || c === '"' || c === '`') {
        pendingSpace = false; append(c);
        push(c === "'" ? 'squote' : c === '"' ? 'dquote' : 'template');
      } else if (c === '/' && !noRegexAfter.test(lastChar)) { pendingSpace = false; append(c); push('regex'); }
      else if (top && top.state === 'template' && c === '{') { top.braces++; plain(c); }
      else if (top && top.state === 'template' && c === '}' && top.braces < 1) { pendingSpace = false; append(c); pop(); }
      else if (top && top.state === 'template' && c === '}') { top.braces--; plain(c); }
      else if (space.test(c)) pendingSpace = true;
      else plain(c);
    } else if (state === 'line') {
      if (c === '\n' || c === '\r') { pendingSpace = true; state = 'code'; }
    } else if (state === 'block') {
      if (c === '*' && next === '/') { i++; pendingSpace = true; state = 'code'; }
    } else if (state === 'template') {
      if (c === '$' && next === '{') { append(c); append(next); i++; push('code'); }
      else if (c === '\\' && next !== undefined) { append(c); append(next); i++; }
      else { append(c); if (c === '`') pop(); }
    } else {
      const closing = state === 'squote' ? "'" : state === 'dquote' ? '"' : '/';
      if (c === '\\' && next !== undefined) { append(c); append(next); i++; }
      else { append(c); if (c === closing) pop(); }
    }
  }
  return out;
}

function styleMinifier(text) {
  const chars = Array.from(text);
  let out = '';
  let lastChar = '';
  let pendingSpace = false;
  let inUrl = false;
  let state = 'code';
  const append = (c) => { out += c; lastChar = c; };
  const spaceBeforeQuote = () => {
    if (pendingSpace && cssWordChar.test(lastChar)) out += ' ';
    pendingSpace = false;
  };
  for (let i = 0; i < chars.length; i++) {
    const c = chars[i];
    const next = chars[i + 1];
    if (state === 'comment') {
      if (c === '*' && next === '/') { i++; pendingSpace = true; state = 'code'; }
    } else if (state === 'squote' || state === 'dquote') {
      if (c === '\\' && next !== undefined) { append(c); append(next); i++; }
      else { append(c); if (c === (state === 'squote' ? "'" : '"')) state = 'code'; }
    } else if (c === '/' && next === '*') { state = 'comment'; i++; }
    else if (c === "'" || c === '"') { spaceBeforeQuote(); append(c); state = c === "'" ? 'squote' : 'dquote'; }
    else if (!inUrl && chars.slice(i, i + 4).join('').toLowerCase() === 'url(') {
      spaceBeforeQuote(); for (const u of 'url(') append(u); inUrl = true; i += 3;
    } else if (inUrl) {
      if (space.test(c)) continue;
      if (c === ')') inUrl = false;
      append(c);
    } else if (space.test(c)) pendingSpace = true;
    else if (cssPunctuation.has(c)) {
      pendingSpace = false;
      if (c === '}' && lastChar === ';') out = out.slice(0, -1);
      append(c);
    } else {
      if (pendingSpace && cssWordChar.test(c) && (cssWordChar.test(lastChar) || lastChar === ')')) out += ' ';
      pendingSpace = false;
      append(c);
    }
  }
  return out;
}

const stripMark = (text) => (text.charCodeAt(0) === 0xfeff ? text.slice(1) : text);
export const minifyScript = (text) => scriptMinifier(stripMark(text));
export const minifyStyleSheet = (text) => styleMinifier(stripMark(text));
