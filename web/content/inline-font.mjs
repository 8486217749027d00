// Puts the icon font inside an SVG drawing, for the console's "télécharger
// SVG / PNG" actions: a drawing saved to a file, or drawn on a canvas through
// an <img>, cannot see the page's fonts.css, so its icons would fall back to
// empty boxes. Pure string work, plus one function that reads the font's data
// URL from the page's style sheets.
//
//   import { inlineIconFont } from './inline-font.mjs';
//   const saved = inlineIconFont(svgText);           // uses document.styleSheets
//
// The drawing is returned unchanged when it writes no text in the icon family.

export const ICON_FAMILY = 'Segoe MDL2 Assets';

// Whether the SVG text names the icon family (as "icône" writes it).
export function usesFamily(svg, family = ICON_FAMILY) {
  return svg.includes(`font-family="${family}"`) || svg.includes(`font-family='${family}'`);
}

// The SVG with a <style> holding the @font-face right after its opening tag.
// fontUrl is a data: URL (any other URL would not load inside an image).
export function embedFontFace(svg, fontUrl, family = ICON_FAMILY) {
  if (!/^data:font\/woff2;base64,[A-Za-z0-9+/=]+$/.test(fontUrl)) throw new Error('the icon font must be a WOFF2 data URL');
  const open = /<svg\b[^>]*>/i.exec(svg);
  if (!open) throw new Error('not an SVG drawing');
  const style = `<defs><style>@font-face{font-family:"${family}";src:url(${fontUrl}) format("woff2");}</style></defs>`;
  const at = open.index + open[0].length;
  return svg.slice(0, at) + style + svg.slice(at);
}

// The data URL of the font of a family in a CSS text such as fonts.css.
export function fontUrlInCss(cssText, family = ICON_FAMILY) {
  for (const face of cssText.split('@font-face').slice(1)) {
    const name = /font-family\s*:\s*(["']?)([^;"']+)\1/.exec(face);
    const src = /url\(\s*["']?(data:[^)"']+)["']?\s*\)/.exec(face);
    if (name && src && name[2].trim() === family) return src[1];
  }
  return null;
}

// The same from the page's loaded style sheets.
export function fontUrlInDocument(doc = document, family = ICON_FAMILY) {
  for (const sheet of Array.from(doc.styleSheets)) {
    let rules;
    try {
      rules = sheet.cssRules;
    } catch {
      continue; // a sheet from another origin cannot be read
    }
    const text = Array.from(rules, (rule) => rule.cssText).join('\n');
    const url = fontUrlInCss(text, family);
    if (url) return url;
  }
  return null;
}

export function inlineIconFont(svg, doc = document) {
  if (!usesFamily(svg)) return svg;
  const url = fontUrlInDocument(doc);
  return url ? embedFontFace(svg, url) : svg;
}
