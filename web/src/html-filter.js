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
