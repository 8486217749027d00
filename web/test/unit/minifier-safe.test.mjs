// The build's rewrite pass: each form that the server's minifier gets wrong must
// come out of the pass in a shape whose minified tree equals the source's.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { makeMinifierSafe, escapeSlashesInClasses } from '../../pipeline/minifier-safe.mjs';
import { firstScriptDifference, firstStyleDifference } from '../../pipeline/same-tree.mjs';
import { minifyScript, minifyStyleSheet } from '../support/state-machine-minifier.mjs';

const survives = (code) => firstScriptDifference(code, minifyScript(code));

const brokenByMinifier = {
  'regex after return': 'function f(s){return /x =y/.test(s)}',
  'regex after a closing parenthesis': 'if (a) /b =c/.test(d) && e()',
  'regex after a closing brace': 'function f(){} /a =b/g.exec("x")',
  'regex after typeof': 'var t = typeof /x =y/',
  'regex after a division': 'var q = a / /b =c/.source.length',
  'slash inside a class': 'var r = x.replace(/[/ ]+/g, "-")',
  'division after a string': 'var n = "abc" / 2 + \' / \'',
  'division after a postfix increment': 'var h = i++ / 2 + \' / \'',
  'division after a template': 'var k = `a` / 2 + \' / \'',
  'division after a regex without flags': 'var m = /a/ / 2 + \' / \'',
  'unary minus after minus': 'var p = a - -b',
  'unary plus after plus': 'var p = a + +b',
  'prefix increment after plus': 'var p = a + ++b',
  'prefix decrement after minus': 'var p = a - --b',
  'unary minus after postfix decrement': 'var p = a-- - -b',
  'html comment opener': 'var p = a < !--b',
  'integer before a dot': 'var s = 1 .toFixed(2)',
  'automatic semicolons': 'var a = 1\nvar b = a\n(b)\nlet c = 2\nreturn_()\nfunction return_(){ return\n 3 }',
  'class fields on their own lines': 'class A { x = 1\n y = 2\n static z\n m() {} }',
};

test('each hazard really breaks without the pass', () => {
  // A snippet that survives the minifier unchanged would test nothing.
  const unbroken = Object.entries(brokenByMinifier).filter(([, code]) => survives(code) === null);
  assert.deepEqual(unbroken.map(([name]) => name), []);
});

for (const [name, code] of Object.entries(brokenByMinifier)) {
  test(`the pass saves: ${name}`, () => {
    const safe = makeMinifierSafe(code);
    const sameMeaning = firstScriptDifference(code, safe);
    // Escaping a "/" in a class changes the literal's text, not what it matches.
    if (name !== 'slash inside a class') assert.equal(sameMeaning, null, 'the pass itself must not change the tree');
    assert.equal(survives(safe), null);
  });
}

test('templates with nested expressions, braces and strings come through', () => {
  const code = 'var t = `a ${ {b: 1}.b + `c ${ d ? "}" : \'{\' } e` } f ${ /}/.source }`;';
  const safe = makeMinifierSafe(code);
  assert.equal(survives(safe), null);
});

test('code the minifier already keeps is left as it is', () => {
  const code = 'var a=b/c,d=(e)/f,g=h[0]/2,r=/x/g.test(s);if(a){b()}';
  assert.equal(makeMinifierSafe(code), code);
});

test('slashes are escaped only inside classes, and the pattern matches the same', () => {
  const original = /[/"]+x[^/]/g;
  const escaped = new RegExp(escapeSlashesInClasses(original.toString()).slice(1, -2), 'g');
  assert.deepEqual('a/"/x?b'.match(escaped), 'a/"/x?b'.match(original));
  assert.equal(escapeSlashesInClasses('/a\\/[/\\]]b[^/]/gu'), '/a\\/[\\/\\]]b[^\\/]/gu');
  assert.equal(escapeSlashesInClasses('/[\\/]/'), '/[\\/]/');
});

test('names glued by a combining mark stop the build with their line', () => {
  assert.throws(() => makeMinifierSafe('var x = a\u0301 in b'), /line 1/);
  assert.throws(() => makeMinifierSafe('var \\u0061 = 1'), /only a space keeps apart/);
});

test('the tree comparison names the first difference', () => {
  const difference = firstScriptDifference('a - -b', 'a--b');
  assert.match(difference, /does not parse|differ/);
  assert.match(firstScriptDifference('f(1, 2)', 'f(1, 3)'), /arguments\[1\]\.value.*2 became 3/);
});

test('style sheets: a media query with "and (" is caught, plain rules pass', () => {
  const broken = '@media screen and (max-width: 600px) { a { color: red } }';
  assert.match(firstStyleDifference(broken, minifyStyleSheet(broken)), /@media/);
  const fine = 'a  .b > c , d:hover { margin : 0  auto ; background : url( "x y.png" ) no-repeat ; }\n' +
    '@media (max-width: 600px) { .x { width: calc(100% - 2px) } }';
  assert.equal(firstStyleDifference(fine, minifyStyleSheet(fine)), null);
});
