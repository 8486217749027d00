// The page's frame: toolbar, editor and console side by side (one above the
// other on narrow screens), the diagnostics strip, the status bar, and the
// side sheet that panels open in.

import { h, icon, icons } from './dom.js';

function button(name, iconPath, props = {}) {
  return h('button', { type: 'button', ...props }, iconPath ? icon(iconPath) : null, h('span', {}, name));
}

export function buildLayout(root) {
  const parts = {
    run: button('Exécuter', icons.run, { class: 'primary', title: 'Exécuter (Ctrl+Entrée)' }),
    stop: button('Arrêter', icons.stop, { class: 'danger', title: 'Arrêter (Échap)', disabled: true }),
    analyze: button('Analyser', icons.check, { title: 'Analyser le programme sans l’exécuter' }),
    newProgram: button('Nouveau', icons.file, { title: 'Nouveau programme', class: 'compact' }),
    save: button('Enregistrer', icons.save),
    programs: button('Programmes', icons.folder),
    emoji: button('Emoji', icons.smile, { title: 'Insérer un emoji', class: 'compact' }),
    iconPicker: button('Icônes', icons.star, { title: 'Insérer une icône dans un dessin', class: 'compact' }),
    options: button('Options', icons.gear, { title: 'Options', class: 'compact' }),
    help: button('Aide', icons.help, { title: 'Aide (F1)', class: 'compact' }),
    editorHost: h('div', { class: 'editor-host' }),
    diagnostics: h('details', { class: 'diagnostics', hidden: true },
      h('summary', {}, 'Diagnostics'), h('ul', { 'aria-label': 'Diagnostics' })),
    divider: h('div', {
      class: 'divider', role: 'separator', 'aria-orientation': 'vertical', 'aria-label': 'Largeur de l’éditeur',
      tabindex: '0', 'aria-valuemin': '20', 'aria-valuemax': '80', 'aria-valuenow': '50',
    }),
    console: h('div', { class: 'console', role: 'log', 'aria-label': 'Console', tabindex: '0' }),
    copyConsole: h('button', { type: 'button', class: 'small', title: 'Copier le texte de la console' }, icon(icons.copy), h('span', {}, 'Copier')),
    consoleStatus: h('span', { class: 'console-status', role: 'status' }),
    question: h('div', { class: 'question', hidden: true }),
    panel: h('aside', { class: 'panel', hidden: true }),
    status: h('span', { class: 'status-run' }, 'Prêt'),
    cursor: h('span', { class: 'status-line' }, 'Ligne 1'),
    program: h('span', { class: 'status-program' }, 'Nouveau programme'),
    message: h('span', { class: 'status-message', role: 'status' }),
  };
  parts.panes = h('main', { class: 'panes' },
    h('section', { class: 'editor-pane', 'aria-label': 'Programme' }, parts.editorHost, parts.diagnostics),
    parts.divider,
    h('section', { class: 'console-pane', 'aria-label': 'Sortie' },
      h('div', { class: 'console-head' }, h('span', { class: 'console-title' }, 'Console'), parts.consoleStatus, parts.copyConsole),
      parts.console, parts.question, parts.panel));
  root.replaceChildren(
    h('header', { class: 'toolbar' },
      h('span', { class: 'brand' }, 'Mirelon'),
      h('div', { class: 'group' }, parts.run, parts.stop, parts.analyze),
      h('div', { class: 'group' }, parts.newProgram, parts.save, parts.programs),
      h('div', { class: 'group' }, parts.emoji, parts.iconPicker),
      h('div', { class: 'spacer' }),
      h('div', { class: 'group' }, parts.options, parts.help)),
    parts.panes,
    h('footer', { class: 'statusbar' }, parts.status, parts.cursor, parts.program, parts.message));
  makeDividerDraggable(parts.divider, parts.panes);
  return parts;
}

// The divider sets the editor's share of the width, by pointer or arrow keys.
function makeDividerDraggable(divider, panes) {
  const setShare = (percent) => {
    const share = Math.min(80, Math.max(20, Math.round(percent)));
    panes.style.setProperty('--editor-share', `${share}%`);
    divider.setAttribute('aria-valuenow', String(share));
  };
  divider.addEventListener('pointerdown', (event) => {
    divider.setPointerCapture(event.pointerId);
    const move = (e) => {
      const box = panes.getBoundingClientRect();
      setShare(((e.clientX - box.left) / box.width) * 100);
    };
    const up = () => {
      divider.removeEventListener('pointermove', move);
      divider.removeEventListener('pointerup', up);
    };
    divider.addEventListener('pointermove', move);
    divider.addEventListener('pointerup', up);
  });
  divider.addEventListener('keydown', (event) => {
    const now = Number(divider.getAttribute('aria-valuenow'));
    if (event.key === 'ArrowLeft') setShare(now - 5);
    else if (event.key === 'ArrowRight') setShare(now + 5);
    else return;
    event.preventDefault();
  });
}

// The side sheet: panels (Programmes, Options, Aide …) open here over the
// console as non-modal dialogs; the editor and the toolbar stay usable. Échap
// or the close button closes it, and focus goes back where it came from.
export class SidePanel {
  constructor(element) {
    this.element = element;
    this.title = null;
    this.onClose = null;
    element.setAttribute('role', 'dialog');
    element.setAttribute('aria-modal', 'false');
    element.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && !event.defaultPrevented) {
        event.preventDefault();
        this.close();
      }
    });
  }

  get open() {
    return !this.element.hidden;
  }

  // body: a node; focus: the element to focus, else the close button.
  show(title, body, { focus, onClose } = {}) {
    if (this.open) this.close({ restoreFocus: false });
    this.returnFocus = document.activeElement;
    const close = h('button', { type: 'button', class: 'icon-button', 'aria-label': 'Fermer', title: 'Fermer (Échap)', onclick: () => this.close() }, icon(icons.close));
    this.element.replaceChildren(h('div', { class: 'panel-head' }, h('h2', {}, title), close), h('div', { class: 'panel-body' }, body));
    this.element.setAttribute('aria-label', title);
    this.element.hidden = false;
    this.title = title;
    this.onClose = onClose ?? null;
    (focus ?? close).focus();
  }

  toggle(title, build) {
    if (this.title === title && this.open) this.close();
    else build();
  }

  close({ restoreFocus = true } = {}) {
    if (!this.open) return;
    const onClose = this.onClose;
    this.element.hidden = true;
    this.element.replaceChildren();
    this.title = null;
    this.onClose = null;
    onClose?.();
    if (restoreFocus && this.returnFocus?.isConnected) this.returnFocus.focus();
  }
}
