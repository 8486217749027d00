// The "Programmes" panel: the title field "Titre" with "Enregistrer" (a new
// program, or a snippet for the library), the search field "Rechercher", the
// stored programs grouped and sorted with their actions (open, insert,
// rename, delete), and the .mir files of the disk (open, download).

import { h, icon, icons } from './dom.js';
import { groupPrograms, programCategory, snippetCategory } from './projects.js';

const groupTitles = { [programCategory]: 'Mes programmes', [snippetCategory]: 'Bibliothèque (extraits à insérer)' };

export class ProgramsPanel {
  // store: StoredPrograms; editor; files: { pick(), download() };
  // changed(): the current program or its saved state changed;
  // canReplace(): whether the editor may take another text now.
  constructor({ panel, store, editor, files, changed }) {
    this.panel = panel;
    this.store = store;
    this.editor = editor;
    this.files = files;
    this.changed = changed;
    this.entries = [];
  }

  get isOpen() {
    return this.panel.open && this.panel.title === 'Programmes';
  }

  // Opens the panel; with askTitle, the title field takes the focus and the
  // message says why.
  async show({ askTitle = false, message = '' } = {}) {
    this.title = h('input', { type: 'text', id: 'program-title', maxlength: '80', autocomplete: 'off', spellcheck: 'false' });
    this.search = h('input', { type: 'search', id: 'program-search', autocomplete: 'off', spellcheck: 'false' });
    this.status = h('p', { class: 'panel-status', role: 'status' });
    this.lists = h('div', { class: 'program-groups' });
    this.currentLine = h('p', { class: 'program-current' });
    const save = h('button', { type: 'button', class: 'primary', onclick: () => this.saveAs(programCategory) }, 'Enregistrer');
    this.title.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && !event.isComposing) { event.preventDefault(); this.saveAs(programCategory); }
    });
    this.search.addEventListener('input', () => this.render());
    const body = h('div', { class: 'programs' },
      this.currentLine,
      h('div', { class: 'field-row' },
        h('label', { for: 'program-title', class: 'field-label' }, 'Titre'), this.title, save),
      h('div', { class: 'button-row' },
        h('button', { type: 'button', class: 'small', onclick: () => this.saveAs(snippetCategory), title: 'La sélection de l’éditeur (ou tout le programme) devient un extrait à insérer' },
          icon(icons.insert), h('span', {}, 'Ajouter à la bibliothèque')),
        h('button', { type: 'button', class: 'small', onclick: () => this.files.pick() }, icon(icons.upload), h('span', {}, 'Ouvrir un fichier .mir')),
        h('button', { type: 'button', class: 'small', onclick: () => this.files.download() }, icon(icons.download), h('span', {}, 'Télécharger (.mir)'))),
      this.status,
      h('div', { class: 'field-row' }, h('label', { for: 'program-search', class: 'field-label' }, 'Rechercher'), this.search),
      this.lists);
    this.panel.show('Programmes', body, { focus: askTitle ? this.title : this.search });
    this.describeCurrent();
    if (message) this.say(message, true);
    await this.refresh();
  }

  say(text, isError = false) {
    if (!this.isOpen) return;
    this.status.textContent = text;
    this.status.classList.toggle('error', isError);
  }

  describeCurrent() {
    if (!this.isOpen) return;
    const current = this.store.current;
    this.currentLine.textContent = current
      ? `Programme ouvert : « ${current.title} ». « Enregistrer » ci-dessous le copie sous un nouveau titre.`
      : 'Ce programme n’est pas encore enregistré : donne-lui un titre.';
  }

  async refresh() {
    const listed = await this.store.list();
    if (!this.isOpen) return;
    if (!listed.ok) {
      this.say(listed.error, true);
      return;
    }
    this.entries = listed.entries;
    this.render();
  }

  render() {
    const groups = groupPrograms(this.entries, this.search.value);
    this.lists.replaceChildren(...groups.map(({ category, entries }) => {
      const heading = groupTitles[category] ?? category;
      const id = `group-${category.replace(/[^a-z0-9]/gi, '-')}`;
      return h('section', { class: 'program-group', 'aria-labelledby': id },
        h('h3', { id }, heading, h('span', { class: 'count' }, ` (${entries.length})`)),
        entries.length
          ? h('ul', { class: 'program-list', 'aria-label': heading }, entries.map((entry) => this.item(entry)))
          : h('p', { class: 'empty' }, this.search.value ? 'Aucun titre ne correspond.' : 'Rien ici pour l’instant.'));
    }));
  }

  item(entry) {
    const isSnippet = entry.category === snippetCategory;
    const main = isSnippet
      ? h('button', { type: 'button', class: 'program-open', title: 'Insérer cet extrait au curseur', onclick: () => this.insert(entry) }, icon(icons.insert), h('span', {}, entry.title))
      : h('button', { type: 'button', class: 'program-open', title: 'Ouvrir ce programme', onclick: () => this.open(entry) }, h('span', {}, entry.title));
    const current = !isSnippet && this.store.current?.id === entry.id;
    return h('li', { class: current ? 'program current' : 'program' },
      main,
      current ? h('span', { class: 'badge' }, 'ouvert') : null,
      h('button', { type: 'button', class: 'small', 'aria-label': `Renommer ${entry.title}`, title: 'Renommer', onclick: (event) => this.startRename(entry, event.currentTarget.closest('li')) }, 'Renommer'),
      h('button', { type: 'button', class: 'small danger-text', 'aria-label': `Supprimer ${entry.title}`, title: 'Supprimer', onclick: () => this.remove(entry) }, 'Supprimer'));
  }

  async saveAs(category) {
    const code = category === snippetCategory ? (this.editor.selectedText() || this.editor.text()) : this.editor.text();
    if (!code.trim()) return this.say('Le programme est vide : rien à enregistrer.', true);
    const saved = await this.store.saveAs(this.title.value, code, category);
    if (saved.title !== undefined) this.title.value = saved.title;
    if (!saved.ok) {
      this.say(saved.error, true);
      this.title.focus();
      return;
    }
    this.title.value = '';
    this.say(category === snippetCategory ? `Extrait « ${saved.entry.title} » ajouté à la bibliothèque.` : `Programme « ${saved.entry.title} » enregistré.`);
    this.changed();
    this.describeCurrent();
    await this.refresh();
  }

  async open(entry) {
    const opened = await this.store.open(entry.id);
    if (!opened.ok) return this.say(opened.error, true);
    this.editor.setText(opened.code);
    this.changed();
    this.say(`Programme « ${opened.entry.title} » ouvert.`);
    this.describeCurrent();
    this.render();
  }

  async insert(entry) {
    const loaded = await this.store.load(entry.id);
    if (!loaded.ok) return this.say(loaded.error, true);
    this.editor.insert(loaded.code);
    this.say(`Extrait « ${entry.title} » inséré.`);
  }

  // The entry's line becomes a field "Nouveau titre" with "Valider" and "Annuler".
  startRename(entry, row) {
    const field = h('input', { type: 'text', value: entry.title, 'aria-label': 'Nouveau titre', autocomplete: 'off', spellcheck: 'false' });
    const confirm = async () => {
      const renamed = await this.store.rename(entry.id, field.value);
      if (!renamed.ok) {
        if (renamed.title !== undefined) field.value = renamed.title;
        this.say(renamed.error, true);
        field.focus();
        return;
      }
      this.say(`Renommé en « ${renamed.title} ».`);
      this.changed();
      this.describeCurrent();
      await this.refresh();
    };
    field.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && !event.isComposing) { event.preventDefault(); confirm(); }
      if (event.key === 'Escape') { event.preventDefault(); this.render(); }
    });
    row.replaceChildren(field,
      h('button', { type: 'button', class: 'small primary', onclick: confirm }, 'Valider'),
      h('button', { type: 'button', class: 'small', onclick: () => this.render() }, 'Annuler'));
    field.focus();
    field.select();
  }

  async remove(entry) {
    if (!window.confirm(`Supprimer « ${entry.title} » ? Cela ne peut pas être annulé.`)) return;
    const removed = await this.store.remove(entry.id);
    this.changed();
    this.describeCurrent();
    if (!removed.ok) this.say(removed.error, true);
    else this.say(`« ${entry.title} » supprimé.`);
    await this.refresh();
  }
}
