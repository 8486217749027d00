// The "Options" panel: one control per option, each change applied at once
// and saved (local storage and "/api/options").

import { h } from './dom.js';
import { mergeOptions } from './options.js';

export const optionLabels = [
  ['showBackground', 'Afficher le fond'],
  ['showLineNumbers', 'Numéros de ligne'],
  ['fontSize', 'Taille de police'],
  ['wordWrap', 'Retour à la ligne automatique'],
  ['animateOutput', 'Animations'],
  ['autoComplete', 'Complétion automatique'],
  ['darkMode', 'Mode sombre'],
  ['showDebug', 'Afficher le débogage'],
  ['autoExtendConsole', 'Agrandir la console automatiquement'],
  ['autoResizeImage', 'Redimensionner les images'],
];

const hints = {
  fontSize: 'De 8 à 32 points, pour l’éditeur.',
  animateOutput: 'Sans animations, un dessin animé montre tout de suite sa dernière image.',
  autoExtendConsole: 'La console grandit avec son contenu au lieu de défiler.',
  autoResizeImage: 'Les dessins trop larges sont réduits à la largeur de la console.',
};

// change(options): the whole object after one control changed.
export function optionsPanelBody(options, change) {
  const rows = optionLabels.map(([name, label]) => {
    const id = `option-${name}`;
    const hint = hints[name] ? h('span', { class: 'option-hint', id: `${id}-hint` }, hints[name]) : null;
    if (name === 'fontSize') {
      const field = h('input', { type: 'number', id, min: '8', max: '32', step: '1', value: String(options.fontSize), 'aria-describedby': `${id}-hint` });
      field.addEventListener('change', () => {
        const size = Number(field.value);
        const merged = mergeOptions({ ...options, fontSize: Number.isFinite(size) && field.value !== '' ? size : options.fontSize });
        field.value = String(merged.fontSize);
        change(merged);
      });
      return h('div', { class: 'option option-number' }, h('label', { for: id }, label), field, hint);
    }
    const box = h('input', { type: 'checkbox', id, 'aria-describedby': hint ? `${id}-hint` : undefined });
    box.checked = options[name];
    box.addEventListener('change', () => change({ ...options, [name]: box.checked }));
    return h('div', { class: 'option' }, box, h('label', { for: id }, label), hint);
  });
  return h('form', { class: 'options', onsubmit: (event) => event.preventDefault() }, rows);
}
