// The console's restricted HTML. A first pass turns every tag outside the
// allowed list into text (its "<" escaped), so that it shows as written; the
// sanitiser then keeps exactly the allowed elements and attributes.

export const allowedHtmlTags = ['h1', 'h2', 'h3', 'h4', 'h5', 'h6', 'ul', 'ol', 'li', 'strong', 'em', 'a', 'img'];
const allowedAttribute = { a: 'href', img: 'src' };
const blockedSchemes = new Set(['javascript', 'data', 'vbscript', 'file']);
const tagPattern = /^<\/?\s*([A-Za-z][A-Za-z0-9]*)\b[^>]*>/;

export function escapeDisallowedTags(html) {
  let out = '';
  let at = 0;
  while (at < html.length) {
    const open = html.indexOf('<', at);
    if (open < 0) { out += html.slice(at); break; }
    out += html.slice(at, open);
    const tag = tagPattern.exec(html.slice(open));
    if (tag && allowedHtmlTags.includes(tag[1].toLowerCase())) {
      out += tag[0];
      at = open + tag[0].length;
    } else {
      out += '&lt;';
      at = open + 1;
    }
  }
  return out;
}

// A URL is dropped when its scheme is javascript, data, vbscript or file. The
// browser ignores ASCII tabs, line breaks and leading control characters or
// spaces in a scheme, so they are ignored here too.
export function isAllowedUrl(url) {
  const cleaned = String(url).replace(/[\u0000-\u0020\u007f]+/g, '').toLowerCase();
  const scheme = /^([a-z][a-z0-9+.-]*):/.exec(cleaned);
  return !scheme || !blockedSchemes.has(scheme[1]);
}

export function isAllowedAttribute(tag, name, value) {
  return allowedAttribute[tag] === name && isAllowedUrl(value);
}

// In a drawing, a link may only point inside the drawing ("#id") or be a data URL.
export function isAllowedDrawingLink(value) {
  const cleaned = String(value).replace(/[\u0000-\u0020\u007f]+/g, '');
  return cleaned.startsWith('#') || /^data:/i.test(cleaned);
}

// Removes every event attribute ("on…") from the start tags of a markup text,
// reading tags as the browser's tokenizer does (quoted values may hold ">",
// "/" separates attributes like a space, a tag cut off by the end is dropped).
// The sanitiser would remove them anyway; doing it before the browser parses
// the text means the page's policy never has an inline handler to refuse.
export function stripEventAttributes(markup) {
  let out = '';
  let at = 0;
  for (;;) {
    const open = markup.slice(at).search(/<[A-Za-z]/);
    if (open < 0) return out + markup.slice(at);
    out += markup.slice(at, at + open);
    const tag = readStartTag(markup, at + open);
    if (!tag) return out;
    out += `<${tag.name}${tag.attributes.filter(([name]) => !/^on/i.test(name))
      .map(([name, value]) => (value === undefined ? ` ${name}` : ` ${name}="${value.replace(/"/g, '&quot;')}"`)).join('')}` +
      `${tag.selfClosing ? '/' : ''}>`;
    at = tag.end;
  }
}

const tagSpace = /[\t\n\f\r ]/;

// Reads the start tag at markup[start] ("<" and a letter): its name, its
// attributes as [name, raw value or undefined], whether it ends with "/>", and
// the position after its ">"; null when the text ends inside the tag.
function readStartTag(markup, start) {
  let at = start + 1;
  const nameEnd = markup.slice(at).search(/[\t\n\f\r />]/);
  if (nameEnd < 0) return null;
  const tag = { name: markup.slice(at, at + nameEnd), attributes: [], selfClosing: false, end: 0 };
  at += nameEnd;
  while (at < markup.length) {
    const c = markup[at];
    if (tagSpace.test(c)) { at++; continue; }
    if (c === '>') { tag.end = at + 1; return tag; }
    if (c === '/') {
      tag.selfClosing = markup[at + 1] === '>';
      at++;
      continue;
    }
    tag.selfClosing = false;
    let nameStop = at + 1;
    while (nameStop < markup.length && !/[\t\n\f\r />=]/.test(markup[nameStop])) nameStop++;
    const name = markup.slice(at, nameStop);
    at = nameStop;
    while (at < markup.length && tagSpace.test(markup[at])) at++;
    if (markup[at] !== '=') { tag.attributes.push([name, undefined]); continue; }
    at++;
    while (at < markup.length && tagSpace.test(markup[at])) at++;
    const quote = markup[at];
    let value;
    if (quote === '"' || quote === "'") {
      const close = markup.indexOf(quote, at + 1);
      if (close < 0) return null;
      value = markup.slice(at + 1, close);
      at = close + 1;
    } else {
      let stop = at;
      while (stop < markup.length && !/[\t\n\f\r >]/.test(markup[stop])) stop++;
      value = markup.slice(at, stop);
      at = stop;
    }
    tag.attributes.push([name, value]);
  }
  return null;
}
