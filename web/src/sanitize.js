// DOMPurify configured for the two kinds of markup a program may print:
// restricted HTML and SVG drawings. Each kind has its own DOMPurify instance,
// so that their hooks never mix. Both return fragments of the page's document.

import createPurify from 'dompurify';
import { allowedHtmlTags, escapeDisallowedTags, stripEventAttributes, isAllowedAttribute, isAllowedDrawingLink } from './html-filter.js';

export const allowedSvgTags = [
  'svg', 'rect', 'circle', 'ellipse', 'line', 'polyline', 'polygon', 'path', 'text', 'g', 'defs',
  'linearGradient', 'radialGradient', 'stop', 'image', 'use', 'symbol', 'clipPath', 'mask', 'pattern',
  'title', 'tspan', 'style',
];
const linkAttributes = new Set(['href', 'xlink:href', 'src']);

export function createSanitizers(window) {
  const htmlPurify = createPurify(window);
  htmlPurify.addHook('uponSanitizeAttribute', (node, data) => {
    if (!isAllowedAttribute(node.nodeName.toLowerCase(), data.attrName, data.attrValue)) data.keepAttr = false;
  });
  const svgPurify = createPurify(window);
  svgPurify.addHook('uponSanitizeAttribute', (node, data) => {
    if (/^on/i.test(data.attrName)) data.keepAttr = false;
    else if (linkAttributes.has(data.attrName) && !isAllowedDrawingLink(data.attrValue)) data.keepAttr = false;
  });
  return {
    html(markup) {
      const fragment = htmlPurify.sanitize(stripEventAttributes(escapeDisallowedTags(markup)), {
        ALLOWED_TAGS: allowedHtmlTags,
        ALLOWED_ATTR: ['href', 'src'],
        ALLOW_DATA_ATTR: false,
        ALLOW_ARIA_ATTR: false,
        ALLOWED_URI_REGEXP: /^/,
        RETURN_DOM_FRAGMENT: true,
      });
      for (const link of fragment.querySelectorAll('a')) {
        link.target = '_blank';
        link.rel = 'noopener noreferrer';
      }
      return fragment;
    },
    svg(markup) {
      return svgPurify.sanitize(stripEventAttributes(markup), {
        ALLOWED_TAGS: allowedSvgTags,
        ALLOW_DATA_ATTR: false,
        RETURN_DOM_FRAGMENT: true,
      });
    },
  };
}
