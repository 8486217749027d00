// The code editor: CodeMirror 6 with line numbers, undo, and the two markers
// that runs use — one breakpoint and any number of ignored lines — in a gutter
// of their own. A click on that gutter cycles a line through none, breakpoint
// and ignored; Ctrl+B sets or clears the breakpoint on the cursor's line.

import { EditorState, StateField, StateEffect, RangeSet, Compartment, Prec } from '@codemirror/state';
import {
  EditorView, keymap, lineNumbers, gutter, GutterMarker, Decoration, drawSelection,
  highlightActiveLine, highlightActiveLineGutter,
} from '@codemirror/view';
import { history, historyKeymap, defaultKeymap, indentWithTab } from '@codemirror/commands';

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

// Creates the editor in parent. actions: run(), onCursorLine(n).
export function createEditor(parent, { text = '', fontSize = 12, actions }) {
  const readOnly = new Compartment();
  const size = new Compartment();
  const sizeTheme = (points) => EditorView.theme({ '&': { fontSize: `${points}pt` } });
  const view = new EditorView({
    parent,
    state: EditorState.create({
      doc: text,
      extensions: [
        Prec.highest(keymap.of([
          { key: 'Mod-Enter', run: () => { actions.run(); return true; } },
          { key: 'Mod-b', run: toggleBreakpoint },
        ])),
        marksField, markedLines, flashField, marksGutter,
        lineNumbers(), highlightActiveLineGutter(), highlightActiveLine(), drawSelection(), history(),
        keymap.of([...defaultKeymap, ...historyKeymap, indentWithTab]),
        readOnly.of([]),
        size.of(sizeTheme(fontSize)),
        EditorView.contentAttributes.of({ 'aria-label': 'Éditeur de code', spellcheck: 'false', autocorrect: 'off', autocapitalize: 'off' }),
        EditorView.updateListener.of((update) => {
          if (update.selectionSet || update.docChanged) {
            actions.onCursorLine(update.state.doc.lineAt(update.state.selection.main.head).number);
          }
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
    setFontSize(points) {
      view.dispatch({ effects: size.reconfigure(sizeTheme(points)) });
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
