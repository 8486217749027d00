// The code editor: CodeMirror 6 with the Mirelon mode, line numbers, undo,
// search and replace, completion and hover help from the help database, the
// analyser's findings, and the two markers that runs use — one breakpoint and
// any number of ignored lines — in a gutter of their own. A click on that
// gutter cycles a line through none, breakpoint and ignored; Ctrl+B sets or
// clears the breakpoint on the cursor's line.

import { EditorState, StateField, StateEffect, RangeSet, Compartment, Prec } from '@codemirror/state';
import {
  EditorView, keymap, lineNumbers, gutter, GutterMarker, Decoration, drawSelection,
  highlightActiveLine, highlightActiveLineGutter, hoverTooltip,
} from '@codemirror/view';
import { history, historyKeymap, defaultKeymap, indentWithTab } from '@codemirror/commands';
import { search, searchKeymap, highlightSelectionMatches } from '@codemirror/search';
import {
  autocompletion, completionKeymap, closeBrackets, closeBracketsKeymap, closeCompletion, completionStatus, selectedCompletion,
} from '@codemirror/autocomplete';
import { setDiagnostics, lintGutter, lintKeymap } from '@codemirror/lint';
import { syntaxTree } from '@codemirror/language';
import { mirelonLanguage } from './mirelon-language.js';
import { helpForWord, completionSource } from './help-data.js';

class MarkMarker extends GutterMarker {
  constructor(kind) {
    super();
    this.kind = kind;
  }
  eq(other) { return other.kind === this.kind; }
  toDOM() {
    const mark = document.createElement('span');
    mark.className = `cm-mark cm-mark-${this.kind}`;
    mark.textContent = this.kind === 'breakpoint' ? '●' : '⊘';
    mark.title = this.kind === 'breakpoint' ? "Point d'arrêt : le programme s'arrête avant cette ligne" : 'Ligne ignorée';
    return mark;
  }
}
const breakpointMark = new MarkMarker('breakpoint');
const ignoredMark = new MarkMarker('ignored');

// Effects: set a line's mark (null clears it), or clear every mark.
const setMark = StateEffect.define({ map: (value, changes) => ({ ...value, pos: changes.mapPos(value.pos) }) });
const clearMarks = StateEffect.define();

const marksField = StateField.define({
  create: () => RangeSet.empty,
  update(marks, transaction) {
    let next = marks.map(transaction.changes);
    for (const effect of transaction.effects) {
      if (effect.is(clearMarks)) next = RangeSet.empty;
      if (!effect.is(setMark)) continue;
      const lineStart = transaction.state.doc.lineAt(effect.value.pos).from;
      const kept = [];
      next.between(0, transaction.state.doc.length, (from, to, mark) => {
        if (from === lineStart) return;
        if (effect.value.mark === breakpointMark && mark === breakpointMark) return; // one breakpoint at most
        kept.push(mark.range(from));
      });
      if (effect.value.mark) kept.push(effect.value.mark.range(lineStart));
      next = RangeSet.of(kept, true);
    }
    return next;
  },
});

// Lines with a mark get a tint, so the mark is seen on the code too.
const markedLines = EditorView.decorations.compute([marksField], (state) => {
  const ranges = [];
  state.field(marksField).between(0, state.doc.length, (from, to, mark) => {
    ranges.push(Decoration.line({ class: `cm-line-${mark.kind}` }).range(from));
  });
  return Decoration.set(ranges, true);
});

// The line that the last jump went to, lit until the next change.
const setFlash = StateEffect.define();
const flashField = StateField.define({
  create: () => Decoration.none,
  update(flash, transaction) {
    for (const effect of transaction.effects) {
      if (effect.is(setFlash)) return Decoration.set([Decoration.line({ class: 'cm-line-flash' }).range(effect.value)]);
    }
    return transaction.docChanged ? Decoration.none : flash;
  },
  provide: (field) => EditorView.decorations.from(field),
});

function markAt(state, lineStart) {
  let found = null;
  state.field(marksField).between(lineStart, lineStart, (from, to, mark) => {
    if (from === lineStart) found = mark;
  });
  return found;
}

function cycleMark(view, lineStart) {
  const current = markAt(view.state, lineStart);
  const next = current === null ? breakpointMark : current === breakpointMark ? ignoredMark : null;
  view.dispatch({ effects: setMark.of({ pos: lineStart, mark: next }) });
  return true;
}

function toggleBreakpoint(view) {
  const lineStart = view.state.doc.lineAt(view.state.selection.main.head).from;
  const mark = markAt(view.state, lineStart) === breakpointMark ? null : breakpointMark;
  view.dispatch({ effects: setMark.of({ pos: lineStart, mark }) });
  return true;
}

const marksGutter = gutter({
  class: 'cm-marks-gutter',
  markers: (view) => view.state.field(marksField),
  initialSpacer: () => breakpointMark,
  renderEmptyElements: true,
  domEventHandlers: {
    mousedown(view, line) { return cycleMark(view, line.from); },
  },
});

// The editor's own words, in French: search and replace, completion, findings.
const frenchPhrases = EditorState.phrases.of({
  Find: 'Chercher dans le programme', Replace: 'Remplacer par', next: 'suivant', previous: 'précédent', all: 'tous',
  'match case': 'respecter la casse', regexp: 'expression régulière', 'by word': 'mot entier', replace: 'remplacer',
  'replace all': 'tout remplacer', close: 'fermer', 'current match': 'occurrence actuelle', 'on line': 'à la ligne',
  'replaced $ matches': '$ remplacements', 'replaced match on line $': 'remplacé à la ligne $', 'Go to line': 'Aller à la ligne',
  go: 'aller', Completions: 'Propositions', Diagnostics: 'Diagnostics', 'No diagnostics': 'Aucun diagnostic',
  'Selection deleted': 'Sélection supprimée', 'Control character': 'Caractère de contrôle', 'folded code': 'code replié',
  unfold: 'déplier', to: 'à',
});

const isWord = (c) => /[\p{L}\p{N}_]/u.test(c ?? '');

// The word (letters, digits, "_", accents) around a position, or null.
function wordAround(state, pos) {
  const line = state.doc.lineAt(pos);
  const at = pos - line.from;
  let from = at;
  let to = at;
  while (from > 0 && isWord(line.text[from - 1])) from--;
  while (to < line.text.length && isWord(line.text[to])) to++;
  return from === to ? null : { from: line.from + from, to: line.from + to, text: line.text.slice(from, to) };
}

// No completion inside texts and comments, unless asked with Ctrl+Espace.
function outsideTextsAndComments(source) {
  const quiet = new Set(['string', 'lineComment', 'blockComment']);
  return (context) => {
    const node = syntaxTree(context.state).resolveInner(context.pos, -1);
    return !context.explicit && quiet.has(node.name) ? null : source(context);
  };
}

// Entrée after a whole word ("alors") whose offered completion would change
// nothing closes the list and breaks the line, as the pupil meant; otherwise
// Entrée still takes the completion.
function enterAfterWholeWord(view) {
  const chosen = completionStatus(view.state) === 'active' && selectedCompletion(view.state);
  if (!chosen) return false;
  const inserted = (typeof chosen.apply === 'string' ? chosen.apply : chosen.label).toLowerCase();
  const head = view.state.selection.main.head;
  const from = head - inserted.length;
  if (from < 0 || view.state.sliceDoc(from, head).toLowerCase() !== inserted) return false;
  if (isWord(view.state.sliceDoc(Math.max(0, from - 1), from))) return false;
  closeCompletion(view);
  return false;
}

// Hover help: the signature and the summary of the entry a name belongs to.
function helpTooltip(help) {
  return hoverTooltip((view, pos) => {
    const word = wordAround(view.state, pos);
    const entry = word && helpForWord(help, word.text);
    if (!entry) return null;
    return {
      pos: word.from,
      end: word.to,
      above: true,
      create() {
        const dom = document.createElement('div');
        dom.className = 'cm-help-tooltip';
        const signature = document.createElement('pre');
        signature.textContent = entry.signature;
        const summary = document.createElement('p');
        summary.textContent = entry.summary;
        dom.append(signature, summary);
        return { dom };
      },
    };
  }, { hoverTime: 400 });
}

// The analyser's findings as marks: the line's text underlined, a gutter mark,
// and the French message with its word, "Erreur" or "Attention".
export function diagnosticsFor(doc, items) {
  return items.map((item) => {
    const line = doc.line(Math.min(Math.max(1, item.line), doc.lines));
    const start = line.from + (line.text.length - line.text.trimStart().length);
    return {
      from: start,
      to: Math.max(start, line.to),
      severity: item.fatal ? 'error' : 'warning',
      message: `${item.fatal ? 'Erreur' : 'Attention'} : ${item.message}`,
    };
  });
}

// Creates the editor in parent. actions: run(), onCursorLine(n), onChange(),
// help(word), and the shortcuts save() and programs(). help: readHelp().
export function createEditor(parent, { text = '', fontSize = 12, actions, help }) {
  const readOnly = new Compartment();
  const size = new Compartment();
  const numbers = new Compartment();
  const wrap = new Compartment();
  const completion = new Compartment();
  const sizeTheme = (points) => EditorView.theme({ '&': { fontSize: `${points}pt` } });
  const completer = (activateOnTyping) => autocompletion({
    override: [outsideTextsAndComments(completionSource(help.completions))], activateOnTyping, icons: false,
  });
  const shortcut = (action) => () => { action(); return true; };
  const view = new EditorView({
    parent,
    state: EditorState.create({
      doc: text,
      extensions: [
        Prec.highest(keymap.of([
          { key: 'Mod-Enter', run: shortcut(actions.run) },
          { key: 'Enter', run: enterAfterWholeWord },
          { key: 'Mod-b', run: toggleBreakpoint },
          { key: 'Mod-s', run: shortcut(actions.save), preventDefault: true },
          { key: 'Mod-o', run: shortcut(actions.programs), preventDefault: true },
          { key: 'F1', run: (v) => { actions.help(wordAround(v.state, v.state.selection.main.head)?.text ?? ''); return true; } },
        ])),
        marksField, markedLines, flashField, marksGutter, lintGutter(),
        numbers.of(lineNumbers()), highlightActiveLineGutter(), highlightActiveLine(), drawSelection(), history(),
        mirelonLanguage(help.names), closeBrackets(), highlightSelectionMatches(), search({ top: true }),
        completion.of(completer(true)), helpTooltip(help),
        keymap.of([...closeBracketsKeymap, ...defaultKeymap, ...searchKeymap, ...historyKeymap, ...completionKeymap,
          ...lintKeymap, indentWithTab]),
        readOnly.of([]),
        frenchPhrases,
        size.of(sizeTheme(fontSize)),
        wrap.of([]),
        EditorView.contentAttributes.of({ 'aria-label': 'Éditeur de code', spellcheck: 'false', autocorrect: 'off', autocapitalize: 'off' }),
        EditorView.updateListener.of((update) => {
          if (update.selectionSet || update.docChanged) {
            actions.onCursorLine(update.state.doc.lineAt(update.state.selection.main.head).number);
          }
          if (update.docChanged) actions.onChange();
        }),
      ],
    }),
  });

  return {
    view,
    text: () => view.state.doc.toString(),
    setText(value) {
      view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: value }, effects: clearMarks.of(null) });
    },
    // The markers as line numbers: {breakpoint: n or null, ignored: [n, ...]}.
    markers() {
      const found = { breakpoint: null, ignored: [] };
      view.state.field(marksField).between(0, view.state.doc.length, (from, to, mark) => {
        const line = view.state.doc.lineAt(from).number;
        if (mark === breakpointMark) found.breakpoint = line;
        else found.ignored.push(line);
      });
      return found;
    },
    setMarker(line, kind) {
      const position = view.state.doc.line(line).from;
      view.dispatch({ effects: setMark.of({ pos: position, mark: kind === 'breakpoint' ? breakpointMark : kind === 'ignored' ? ignoredMark : null }) });
    },
    setReadOnly(locked) {
      view.dispatch({ effects: readOnly.reconfigure(locked ? [EditorState.readOnly.of(true), EditorView.editorAttributes.of({ class: 'cm-locked' })] : []) });
    },
    // Display options: font size, line numbers, word wrap, completion as you type.
    configure({ fontSize: points, showLineNumbers, wordWrap, autoComplete }) {
      view.dispatch({ effects: [
        size.reconfigure(sizeTheme(points)),
        numbers.reconfigure(showLineNumbers ? lineNumbers() : []),
        wrap.reconfigure(wordWrap ? EditorView.lineWrapping : []),
        completion.reconfigure(completer(autoComplete)),
      ] });
    },
    // Replaces the analyser's marks ({line, message, fatal} items).
    showDiagnostics(items) {
      view.dispatch(setDiagnostics(view.state, diagnosticsFor(view.state.doc, items)));
    },
    // Puts text at the cursor (replacing the selection) and selects nothing.
    insert(value) {
      const { from, to } = view.state.selection.main;
      view.dispatch({ changes: { from, to, insert: value }, selection: { anchor: from + value.length }, scrollIntoView: true });
      view.focus();
    },
    selectedText() {
      const { from, to } = view.state.selection.main;
      return view.state.sliceDoc(from, to);
    },
    // Puts the cursor at the start of a line, scrolls to it and lights it.
    moveToLine(number) {
      if (!(number >= 1)) return;
      const line = view.state.doc.line(Math.min(number, view.state.doc.lines));
      view.dispatch({
        selection: { anchor: line.from },
        effects: [setFlash.of(line.from), EditorView.scrollIntoView(line.from, { y: 'center' })],
      });
      view.focus();
    },
    focus: () => view.focus(),
  };
}
