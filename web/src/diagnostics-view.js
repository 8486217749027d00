// The result of "Analyser": a strip under the editor with the list labelled
// "Diagnostics", errors first, each leading to its line.

import { h, icon, icons } from './dom.js';

// Orders and counts the analyser's findings: fatal ones are errors.
export function summarizeDiagnostics(diagnostics) {
  const list = Array.isArray(diagnostics) ? diagnostics : [];
  const items = list.map((d) => ({
    line: Number.isInteger(d?.line) ? d.line : 0,
    message: String(d?.msg ?? ''),
    fatal: d?.fatal === true,
  }));
  const errors = items.filter((d) => d.fatal);
  const warnings = items.filter((d) => !d.fatal);
  return { errors: errors.length, warnings: warnings.length, items: [...errors, ...warnings] };
}

export function countText(errors, warnings) {
  const part = (n, word) => `${n} ${word}${n > 1 ? 's' : ''}`;
  return `${part(errors, 'erreur')}, ${part(warnings, 'avertissement')}`;
}

export class DiagnosticsView {
  constructor(element, { onGoToLine }) {
    this.element = element;
    this.onGoToLine = onGoToLine;
    this.summary = element.querySelector('summary');
    this.list = element.querySelector('ul');
  }

  showError(message) {
    this.render(`Analyse impossible`, [h('li', { class: 'diagnostic error' }, icon(icons.error), h('span', {}, String(message)))]);
  }

  showResult(diagnostics) {
    const { errors, warnings, items } = summarizeDiagnostics(diagnostics);
    if (!items.length) {
      this.render('Aucun problème', [h('li', { class: 'diagnostic ok' }, icon(icons.check), h('span', {}, 'Le code est syntaxiquement correct.'))]);
      return;
    }
    this.render(countText(errors, warnings), items.map((item) => h('li', {},
      h('button', {
        type: 'button', class: `diagnostic ${item.fatal ? 'error' : 'warning'}`,
        onclick: () => this.onGoToLine(item.line),
      },
      icon(item.fatal ? icons.error : icons.warning),
      h('strong', {}, item.fatal ? 'Erreur' : 'Attention'),
      item.line > 0 ? h('span', { class: 'diagnostic-line' }, `Ligne ${item.line}`) : null,
      h('span', {}, item.message)))));
  }

  render(summaryText, items) {
    this.summary.replaceChildren(h('span', {}, 'Diagnostics'), h('span', { class: 'diagnostic-count' }, summaryText));
    this.list.replaceChildren(...items);
    this.element.hidden = false;
    this.element.open = true;
  }
}
