// The "Aide" panel: the help database searched as the pupil types (accents and
// case ignored), each entry with its signature, explanation, likely errors and
// an example that one button puts in the editor; the keyboard shortcuts; and
// « À propos » with the notices of every bundled component.

import { h, icon, icons } from './dom.js';
import { searchHelp } from '../content/help-search.mjs';

export const shortcuts = [
  ['Ctrl+Entrée', 'Exécuter le programme'],
  ['Échap', 'Arrêter l’exécution (ou fermer le panneau ouvert)'],
  ['Ctrl+S', 'Enregistrer le programme'],
  ['Ctrl+O', 'Ouvrir le panneau des programmes'],
  ['Ctrl+F', 'Chercher (et remplacer) dans le programme'],
  ['F1', 'Aide sur le mot sous le curseur'],
  ['Ctrl+B', 'Point d’arrêt sur la ligne du curseur'],
  ['Ctrl+/', 'Mettre en commentaire les lignes choisies (ou les rétablir)'],
  ['Ctrl+Espace', 'Proposer les mots possibles (complétion)'],
  ['Tab / Maj+Tab', 'Décaler les lignes choisies'],
  ['Ctrl+Z / Ctrl+Y', 'Annuler / rétablir'],
];

export class HelpPanel {
  // help: readHelp(); renderOutput(text) → node; useExample(code).
  constructor({ panel, help, renderOutput, useExample }) {
    this.panel = panel;
    this.help = help;
    this.renderOutput = renderOutput;
    this.useExample = useExample;
  }

  show(query = '') {
    this.search = h('input', { type: 'search', id: 'help-search', autocomplete: 'off', spellcheck: 'false', value: query });
    this.results = h('div', { class: 'help-results' });
    this.search.addEventListener('input', () => this.list());
    const body = h('div', { class: 'help' },
      h('div', { class: 'field-row' }, h('label', { for: 'help-search', class: 'field-label' }, 'Rechercher dans l’aide'), this.search),
      h('div', { class: 'button-row' },
        h('button', { type: 'button', class: 'small', onclick: () => this.showShortcuts() }, 'Raccourcis clavier'),
        h('button', { type: 'button', class: 'small', onclick: () => this.showAbout() }, 'À propos')),
      this.results);
    this.panel.show('Aide', body, { focus: this.search });
    const exact = query ? searchHelp(this.help.index, query, 1)[0] : null;
    if (exact && exact.names.some((name) => name.toLowerCase() === query.toLowerCase())) this.showEntry(exact);
    else this.list();
  }

  // Without a query: the categories with their entries; with one: the matches.
  list() {
    const query = this.search.value;
    if (!query.trim()) {
      this.results.replaceChildren(...this.help.database.categories.map((category) => {
        const entries = this.help.database.entries.filter((entry) => entry.category === category.id);
        return h('section', { class: 'help-category' },
          h('h3', {}, category.title), h('p', { class: 'help-intro' }, category.intro),
          h('ul', { class: 'help-list' }, entries.map((entry) => this.link(entry))));
      }));
      return;
    }
    const found = searchHelp(this.help.index, query);
    this.results.replaceChildren(found.length
      ? h('ul', { class: 'help-list found', 'aria-label': 'Résultats' }, found.map((entry) => this.link(entry, true)))
      : h('p', { class: 'empty' }, 'Rien trouvé. Essaie un autre mot, par exemple « boucle » ou « texte ».'));
  }

  link(entry, withSummary = false) {
    return h('li', {},
      h('button', { type: 'button', class: 'help-link', onclick: () => this.showEntry(entry) },
        h('code', {}, entry.names[0]), withSummary ? h('span', { class: 'help-summary' }, entry.summary) : null));
  }

  back() {
    return h('button', { type: 'button', class: 'small', onclick: () => { this.list(); this.search.focus(); } }, '← Retour');
  }

  showEntry(entry) {
    const example = entry.example;
    this.results.replaceChildren(h('article', { class: 'help-entry', 'aria-label': entry.names[0] },
      this.back(),
      h('h3', {}, entry.names[0]),
      entry.names.length > 1 ? h('p', { class: 'help-names' }, 'Aussi : ', entry.names.slice(1).join(', ')) : null,
      h('pre', { class: 'help-signature' }, entry.signature),
      h('p', {}, entry.summary),
      entry.details ? h('p', {}, entry.details) : null,
      entry.errors?.length ? h('div', { class: 'help-errors' }, h('h4', {}, 'Erreurs fréquentes'),
        h('ul', {}, entry.errors.map((error) => h('li', {}, error)))) : null,
      entry.table ? this.table(entry.table) : null,
      example ? h('div', { class: 'help-example' },
        h('h4', {}, 'Exemple'),
        h('pre', { class: 'help-code' }, example.code),
        h('button', { type: 'button', class: 'small', onclick: () => this.useExample(example.code) }, icon(icons.insert), h('span', {}, 'Mettre dans l’éditeur')),
        example.inputs?.length ? h('p', { class: 'help-inputs' }, 'Réponses tapées : ', example.inputs.join(', ')) : null,
        h('h4', {}, 'Ce qu’il affiche'),
        h('div', { class: 'help-output' }, this.renderOutput(example.output))) : null,
      entry.see?.length ? h('p', { class: 'help-see' }, 'Voir aussi : ', entry.see.flatMap((name, i) => {
        const target = this.help.index.find((record) => record.entry.names.includes(name))?.entry;
        const link = target ? h('button', { type: 'button', class: 'link', onclick: () => this.showEntry(target) }, name) : name;
        return i ? [', ', link] : [link];
      })) : null));
    this.results.scrollTop = 0;
  }

  table({ columns, rows }) {
    return h('table', { class: 'help-table' },
      h('thead', {}, h('tr', {}, columns.map((c) => h('th', { scope: 'col' }, c)))),
      h('tbody', {}, rows.map((row) => h('tr', {}, row.map((cell, i) => h('td', { class: i === 0 ? 'icon-glyph' : undefined }, cell))))));
  }

  showShortcuts() {
    this.results.replaceChildren(h('section', { class: 'help-entry' }, this.back(),
      h('h3', {}, 'Raccourcis clavier'),
      h('table', { class: 'help-table' }, h('tbody', {}, shortcuts.map(([keys, what]) => h('tr', {}, h('th', { scope: 'row' }, h('kbd', {}, keys)), h('td', {}, what)))))));
  }

  showAbout() {
    const notices = this.help.notices;
    const components = Array.isArray(notices?.components) ? notices.components : [];
    this.results.replaceChildren(h('section', { class: 'help-entry', 'aria-label': 'À propos' }, this.back(),
      h('h3', {}, 'À propos de Mirelon'),
      h('p', {}, 'Mirelon fonctionne entièrement sur ton ordinateur. Il utilise ces composants libres :'),
      h('ul', { class: 'notices' }, components.map((c) => h('li', {},
        h('strong', {}, c.name), ` ${c.version ?? ''} — ${c.licence ?? ''}`, c.usedFor ? h('span', { class: 'help-summary' }, c.usedFor) : null,
        c.copyright ? h('span', { class: 'help-summary' }, c.copyright) : null,
        (c.text ?? []).map((index) => h('details', {}, h('summary', {}, 'Texte de la licence'), h('pre', { class: 'licence' }, notices.texts?.[index] ?? ''))))))));
  }
}
