// Reading the output stream: markers, colours, restricted HTML's first pass.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { parseOutput, parseLine, splitColorRuns } from '../../src/stream.js';
import { escapeDisallowedTags, isAllowedUrl, isAllowedAttribute, isAllowedDrawingLink } from '../../src/html-filter.js';

test('lines are split at line feeds, trailing blanks removed, a final empty line dropped', () => {
  assert.deepEqual(parseOutput('a  \r\n\r\nb\t\r\n').map((e) => e.text), ['a', '', 'b']);
  assert.deepEqual(parseOutput(''), []);
  assert.deepEqual(parseOutput('x').map((e) => e.text), ['x']);
});

test('colour lines: reset words, a missing "#", and values that are not #RRGGBB', () => {
  assert.deepEqual(parseLine('__COLOR__#ff8800__'), { kind: 'color', color: '#ff8800' });
  assert.deepEqual(parseLine('__COLOR__ 00FF00 __'), { kind: 'color', color: '#00FF00' });
  for (const word of ['reset', 'RESET', 'défaut', 'Defaut']) assert.equal(parseLine(`__COLOR__${word}__`).color, null);
  assert.equal(parseLine('__COLOR__red__').color, undefined);
  assert.equal(parseLine('__COLOR__#fff;background:url(x)__').color, undefined);
});

test('markers are recognised only on whole lines, first match wins', () => {
  assert.deepEqual(parseLine('__DEBUG__x = 3__'), { kind: 'debug', text: 'x = 3' });
  assert.deepEqual(parseLine('__HTML__<em>a</em>__'), { kind: 'html', html: '<em>a</em>' });
  assert.deepEqual(parseLine('__HTML____'), { kind: 'html', html: '' });
  assert.deepEqual(parseLine('__SVG__<svg></svg>__'), { kind: 'svg', svg: '<svg></svg>' });
  assert.equal(parseLine('avant __SVG__<svg></svg>__').kind, 'text');
  assert.equal(parseLine('__DEBUG____').kind, 'text', 'a debug note needs a text');
  assert.equal(parseLine('__COLOR____').kind, 'text');
});

test('animations: frames split and cleaned, delay and repetitions clamped', () => {
  assert.deepEqual(parseLine('__ANIM__5__99__<svg>1</svg>||FRAME|| ||FRAME||<svg>2</svg>__'),
    { kind: 'animation', delay: 10, repeat: 20, frames: ['<svg>1</svg>', '<svg>2</svg>'] });
  assert.equal(parseLine('__ANIM__99999999999999999999__0__<svg/>__').delay, 60000);
  assert.equal(parseLine('__ANIM__x__0__<svg/>__').kind, 'text');
});

test('inline colours: a stack of #RRGGBB, other markers dropped', () => {
  assert.deepEqual(splitColorRuns('\u0002#FF0000\u0003rouge\u0002/\u0003 et noir'),
    [{ text: 'rouge', color: '#FF0000' }, { text: ' et noir', color: null }]);
  assert.deepEqual(splitColorRuns('a\u0002#111111\u0003b\u0002#222222\u0003c\u0002/\u0003d\u0002/\u0003\u0002/\u0003e', '#333333'),
    [{ text: 'a', color: '#333333' }, { text: 'b', color: '#111111' }, { text: 'c', color: '#222222' },
      { text: 'd', color: '#111111' }, { text: 'e', color: '#333333' }]);
  assert.deepEqual(splitColorRuns('\u0002red\u0003x\u0002#12345\u0003y'), [{ text: 'x', color: null }, { text: 'y', color: null }]);
  assert.deepEqual(splitColorRuns('a\u0002#FF0000 unclosed'), [{ text: 'a', color: null }, { text: '#FF0000 unclosed', color: null }]);
});

test('tags outside the allowed list become text, allowed ones stay', () => {
  assert.equal(escapeDisallowedTags('<h1 class="t">T</h1><p>x</p>'), '<h1 class="t">T</h1>&lt;p>x&lt;/p>');
  assert.equal(escapeDisallowedTags('<script>alert(1)</script>'), '&lt;script>alert(1)&lt;/script>');
  assert.equal(escapeDisallowedTags('a < b <!-- c --> <STRONG>d</ STRONG>'), 'a &lt; b &lt;!-- c --> <STRONG>d</ STRONG>');
  assert.equal(escapeDisallowedTags('<a href="x"><img src=y>'), '<a href="x"><img src=y>');
  assert.equal(escapeDisallowedTags('<svg><style>*{}</style>'), '&lt;svg>&lt;style>*{}&lt;/style>');
  assert.equal(escapeDisallowedTags('<emx>'), '&lt;emx>', 'a longer name is another tag');
});

test('URLs: blocked schemes, however they are disguised', () => {
  for (const url of ['javascript:alert(1)', ' JavaScript:x', 'java\tscript:x', '\u0001javascript:x', 'data:text/html,x',
    'vbscript:x', 'file:///etc/passwd']) assert.equal(isAllowedUrl(url), false, url);
  for (const url of ['https://exemple.fr/a', 'http://x', '/page', 'page#x', 'mailto:a@b']) assert.equal(isAllowedUrl(url), true, url);
  assert.equal(isAllowedAttribute('a', 'href', 'https://x'), true);
  assert.equal(isAllowedAttribute('a', 'src', 'https://x'), false);
  assert.equal(isAllowedAttribute('em', 'href', 'https://x'), false);
  assert.equal(isAllowedAttribute('img', 'src', 'data:image/png;base64,AA'), false);
  assert.equal(isAllowedDrawingLink('#grad'), true);
  assert.equal(isAllowedDrawingLink('data:image/png;base64,AA'), true);
  assert.equal(isAllowedDrawingLink('https://x/y.svg#a'), false);
  assert.equal(isAllowedDrawingLink('javascript:x'), false);
});

test('event attributes are removed as the browser would read the tags', async () => {
  const { stripEventAttributes } = await import('../../src/html-filter.js');
  assert.equal(stripEventAttributes('<img src=x onerror="a()">'), '<img src="x">');
  assert.equal(stripEventAttributes('<rect/onclick=a() width=2/>'), '<rect width="2/">');
  assert.equal(stripEventAttributes('<rect width="2"/>t'), '<rect width="2"/>t');
  assert.equal(stripEventAttributes('<a title="x>y" ONCLICK=\'b("1")\' href=\'q"r\'>z</a>'), '<a title="x>y" href="q&quot;r">z</a>');
  assert.equal(stripEventAttributes('<a x="1"onclick="b()">'), '<a x="1">', 'no space needed after a quoted value');
  assert.equal(stripEventAttributes('a &lt;b onclick=1> <em onmouseover'), 'a &lt;b onclick=1> ', 'a tag cut off by the end is dropped');
  assert.equal(stripEventAttributes('<svg><text x="1">1 < 2</text></svg>'), '<svg><text x="1">1 < 2</text></svg>');
  assert.equal(stripEventAttributes('<input disabled onfocus=x autofocus>'), '<input disabled autofocus>');
});
