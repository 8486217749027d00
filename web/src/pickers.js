// The emoji and icon pickers, searchable in French: an emoji goes into the
// editor at the cursor; an icon as a ready call of "icône" on the program's
// canvas.

import { h } from './dom.js';
import { fold } from '../content/help-search.mjs';

const resultLimit = 400;

// The canvas the call draws on: the last one the program declares
// ("MaToile est une toile"), else "MaToile".
export function canvasName(programText) {
  const declared = [...programText.matchAll(/^[ \t]*([A-Za-zÀ-ÿ_][A-Za-zÀ-ÿ0-9_]*)[ \t]+est[ \t]+une[ \t]+toile\b/gim)];
  return declared.length ? declared[declared.length - 1][1] : 'MaToile';
}

export function iconCall(canvas, icon) {
  return `icône(${canvas}, 10, 40, '${icon.code}') // ${icon.name}`;
}

// A picker: a search field, one section per group, a grid of buttons.
function picker({ searchLabel, groups, matches, button, emptyText }) {
  const search = h('input', { type: 'search', id: 'picker-search', autocomplete: 'off', spellcheck: 'false' });
  const results = h('div', { class: 'picker-results' });
  const render = () => {
    const wanted = fold(search.value);
    let shown = 0;
    const sections = [];
    for (const group of groups) {
      const items = group.items.filter((item) => !wanted || matches(item, wanted)).slice(0, resultLimit - shown);
      shown += items.length;
      if (items.length) {
        sections.push(h('section', { class: 'picker-group' },
          h('h3', {}, group.title), h('div', { class: 'picker-grid', role: 'group', 'aria-label': group.title }, items.map(button))));
      }
    }
    results.replaceChildren(...(sections.length ? sections : [h('p', { class: 'empty' }, emptyText)]));
  };
  search.addEventListener('input', render);
  render();
  return {
    search,
    body: h('div', { class: 'picker' },
      h('div', { class: 'field-row' }, h('label', { for: 'picker-search', class: 'field-label' }, searchLabel), search), results),
  };
}

export function emojiPicker(data, insert) {
  const groups = (data?.groups ?? []).map((group) => ({
    title: group.title,
    items: group.emoji.map(([character, name, keywords]) => ({ character, name, words: fold(`${name} ${keywords ?? ''}`) })),
  }));
  return picker({
    searchLabel: 'Rechercher un emoji',
    groups,
    matches: (item, wanted) => wanted.split(' ').every((word) => item.words.includes(word)),
    button: (item) => h('button', { type: 'button', class: 'emoji', title: item.name, 'aria-label': item.name, onclick: () => insert(item.character) }, item.character),
    emptyText: 'Aucun emoji ne correspond.',
  });
}

export function iconPicker(data, insertIcon) {
  const icons = Array.isArray(data?.icons) ? data.icons : [];
  const groups = (data?.groups ?? []).map((group) => ({
    title: group.title,
    items: icons.filter((icon) => icon.group === group.id).map((icon) => ({ ...icon, words: fold(`${icon.name} ${icon.code}`) })),
  }));
  return picker({
    searchLabel: 'Rechercher une icône',
    groups,
    matches: (item, wanted) => wanted.split(' ').every((word) => item.words.includes(word)),
    button: (item) => h('button', { type: 'button', class: 'icon-choice', title: `${item.name} (${item.code})`, onclick: () => insertIcon(item) },
      h('span', { class: 'icon-glyph', 'aria-hidden': 'true' }, String.fromCodePoint(parseInt(item.code, 16))),
      h('span', { class: 'icon-name' }, item.name)),
    emptyText: 'Aucune icône ne correspond.',
  });
}
