// A small element builder: h('button', { class: 'x', onclick: f }, 'Texte').
// Strings become text nodes, never markup.

const svgNamespace = 'http://www.w3.org/2000/svg';

export function h(tag, props = {}, ...children) {
  const element = document.createElement(tag);
  applyProps(element, props);
  element.append(...children.flat().filter((child) => child !== null && child !== undefined && child !== false));
  return element;
}

function applyProps(element, props) {
  for (const [name, value] of Object.entries(props)) {
    if (value === undefined || value === null || value === false) continue;
    if (name.startsWith('on') && typeof value === 'function') element.addEventListener(name.slice(2), value);
    else if (name === 'hidden' || name === 'disabled') element[name] = Boolean(value);
    else element.setAttribute(name, value === true ? '' : String(value));
  }
}

// A decorative icon from one or more path outlines (24×24), hidden from
// assistive technologies so that a button's name is its word alone.
export function icon(...paths) {
  const svg = document.createElementNS(svgNamespace, 'svg');
  svg.setAttribute('viewBox', '0 0 24 24');
  svg.setAttribute('aria-hidden', 'true');
  svg.setAttribute('focusable', 'false');
  svg.setAttribute('class', 'icon');
  for (const d of paths) {
    const path = document.createElementNS(svgNamespace, 'path');
    path.setAttribute('d', d);
    svg.append(path);
  }
  return svg;
}

export const icons = {
  run: 'M8 5.5v13l11-6.5z',
  stop: 'M7 7h10v10H7z',
  check: 'M5 12.5l4.5 4.5L19 7.5',
  file: 'M7 3h7l5 5v13H7zM14 3v5h5',
  save: 'M5 4h11l3 3v13H5zM8 4v5h7V4M8 14h8v6H8z',
  folder: 'M3 6h6l2 2h10v11H3z',
  gear: 'M12 8.5a3.5 3.5 0 1 0 0 7a3.5 3.5 0 1 0 0-7zM12 2v3M12 19v3M2 12h3M19 12h3M4.9 4.9l2.1 2.1M17 17l2.1 2.1M4.9 19.1L7 17M17 7l2.1-2.1',
  help: 'M12 21a9 9 0 1 0 0-18a9 9 0 1 0 0 18zM9.5 9.5a2.5 2.5 0 1 1 3.5 2.3c-.7.3-1 .9-1 1.7v.5M12 17h.01',
  error: 'M12 3l9.5 17h-19zM12 10v4.5M12 17.5h.01',
  warning: 'M12 3a9 9 0 1 0 0 18a9 9 0 1 0 0-18zM12 7.5v5.5M12 16.5h.01',
  close: 'M6 6l12 12M18 6L6 18',
  smile: 'M12 21a9 9 0 1 0 0-18a9 9 0 1 0 0 18zM8.5 14.5c1.8 2 5.2 2 7 0M9 9.5h.01M15 9.5h.01',
  star: 'M12 3l2.7 5.6 6.1.9-4.4 4.3 1 6.1L12 17l-5.4 2.9 1-6.1-4.4-4.3 6.1-.9z',
  download: 'M12 4v11M7 10l5 5 5-5M5 20h14',
  upload: 'M12 20V9M7 14l5-5 5 5M5 4h14',
  copy: 'M9 9h11v11H9zM5 15H4V4h11v1',
  insert: 'M12 5v14M5 12h14',
};
