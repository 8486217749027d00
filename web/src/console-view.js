// The console: renders the output stream of a run, its questions and answers,
// its end and its errors. Everything that comes from a program or the server is
// set as text, except restricted HTML and drawings, which pass the sanitisers.

import { parseOutput, splitColorRuns, isHexColor, defaultColor } from './stream.js';
import { renderDrawing, renderAnimation } from './drawings.js';
import { h, icon, icons } from './dom.js';
import { downloadSvg, downloadPng } from './files.js';

// Beyond this many lines, the oldest leave the page behind a count.
const maxLines = 20000;
// Output is kept in chunks of this many entries; a full chunk is sealed: the
// browser skips its layout while it is out of view, which keeps thousands of
// lines fluid. Its placeholder height is estimated from what it holds.
const chunkEntries = 200;
const lineHeight = 21;
const otherHeight = 120;

export class ConsoleView {
  constructor(element, { sanitizers, options, onGoToLine, drawingActions = true }) {
    this.element = element;
    this.drawingActions = drawingActions;
    this.sanitizers = sanitizers;
    this.options = options;
    this.onGoToLine = onGoToLine;
    this.animations = [];
    this.block = null;
  }

  clear() {
    for (const animation of this.animations) animation.stop();
    this.animations = [];
    this.element.replaceChildren();
    this.block = null;
  }

  // A new run clears the console and opens its block with a separator (none
  // for the help's examples).
  beginRun({ separator = true } = {}) {
    this.clear();
    const time = new Date().toLocaleTimeString('fr-FR');
    this.color = defaultColor;
    this.lineCount = 0;
    this.hiddenLines = 0;
    this.debugNotes = [];
    this.chunks = [];
    this.block = {
      hidden: h('p', { class: 'hidden-lines', hidden: true }),
      output: h('div', { class: 'run-output' }),
      debug: h('section', { class: 'debug-card', 'aria-label': 'Débogage', hidden: true }),
      closing: h('div', { class: 'run-closing' }),
    };
    if (separator) this.element.append(h('div', { class: 'run-separator' }, h('span', {}, `Exécution — ${time}`)));
    this.element.append(this.block.hidden, this.block.output, this.block.debug, this.block.closing);
  }

  // One turn's output, appended to what the run has shown so far.
  output(text) {
    const stick = this.atBottom();
    const entries = parseOutput(text);
    // Lines that would be dropped at once are not built: only their colour
    // changes and debug notes count.
    let skip = Math.max(0, entries.filter((entry) => entry.kind === 'text').length - maxLines);
    for (const entry of entries) {
      if (skip > 0 && entry.kind !== 'color' && entry.kind !== 'debug') {
        if (entry.kind === 'text') {
          skip--;
          this.hiddenLines++;
        }
        continue;
      }
      this.renderEntry(entry);
    }
    this.trimLines();
    this.showDebugNotes();
    if (stick) this.scrollToEnd();
  }

  append(node, isLine) {
    let chunk = this.chunks[this.chunks.length - 1];
    if (!chunk || chunk.entries >= chunkEntries) {
      if (chunk) this.seal(chunk);
      chunk = { element: h('div', { class: 'out-chunk' }), entries: 0, lines: 0 };
      this.chunks.push(chunk);
      this.block.output.append(chunk.element);
    }
    chunk.element.append(node);
    chunk.entries++;
    if (isLine) {
      chunk.lines++;
      this.lineCount++;
    }
  }

  seal(chunk) {
    const estimate = chunk.lines * lineHeight + (chunk.entries - chunk.lines) * otherHeight;
    chunk.element.classList.add('sealed');
    chunk.element.style.containIntrinsicSize = `auto ${estimate}px`;
  }

  renderEntry(entry) {
    switch (entry.kind) {
      case 'color':
        if (entry.color !== undefined) this.color = entry.color;
        return;
      case 'debug':
        this.debugNotes.push(entry.text);
        return;
      case 'html':
        this.append(h('div', { class: 'out-html' }, this.sanitizers.html(entry.html)), false);
        return;
      case 'svg':
        this.append(this.withActions(renderDrawing(this.sanitizers.svg, entry.svg, { fit: this.options.autoResizeImage }), 'dessin'), false);
        return;
      case 'animation': {
        const animation = renderAnimation(this.sanitizers.svg, entry, {
          fit: this.options.autoResizeImage, animate: this.options.animateOutput,
        });
        this.animations.push(animation);
        this.append(this.withActions(animation.card, 'animation'), false);
        return;
      }
      default:
        this.append(this.textLine(entry.text), true);
    }
  }

  // A drawing with its two downloads (the current frame of an animation).
  withActions(card, name) {
    if (!this.drawingActions) return card;
    return h('div', { class: 'drawing-wrap' }, card,
      h('div', { class: 'drawing-actions' },
        h('button', { type: 'button', class: 'small', onclick: () => downloadSvg(card, name) }, icon(icons.download), h('span', {}, 'Télécharger SVG')),
        h('button', { type: 'button', class: 'small', onclick: () => downloadPng(card, name) }, icon(icons.download), h('span', {}, 'Télécharger PNG'))));
  }

  // Options that change what is already shown.
  applyOptions() {
    for (const host of this.element.querySelectorAll('.drawing-host')) host.classList.toggle('fit', this.options.autoResizeImage);
    if (!this.options.animateOutput) for (const animation of this.animations) animation.finish();
    if (this.block) this.showDebugNotes();
  }

  // The console's text as the pupil reads it, without its buttons.
  text() {
    return [...this.element.querySelectorAll('.out-line, .answer-pair, .run-error-text, .run-notice, .run-end')]
      .map((node) => (node.classList.contains('answer-pair') ? [...node.children].map((c) => c.textContent).join(' ') : node.textContent.replace(/\u200b/g, '')))
      .join('\n');
  }

  // A plain line: its inline colour runs, each colour set through the style
  // object and only when it is #RRGGBB.
  textLine(text) {
    const line = document.createElement('div');
    line.className = 'out-line';
    const runs = splitColorRuns(text, this.color);
    if (!runs.length) line.append('\u200b');
    for (const run of runs) {
      if (isHexColor(run.color)) {
        const span = document.createElement('span');
        span.style.color = run.color;
        span.textContent = run.text;
        line.append(span);
      } else {
        line.append(run.text);
      }
    }
    return line;
  }

  // Drops the oldest chunks while the console holds more than maxLines lines.
  trimLines() {
    while (this.chunks.length > 1 && this.lineCount - this.chunks[0].lines >= maxLines) {
      const oldest = this.chunks.shift();
      oldest.element.remove();
      this.lineCount -= oldest.lines;
      this.hiddenLines += oldest.lines;
    }
    this.block.hidden.hidden = this.hiddenLines === 0;
    this.block.hidden.textContent = `… ${this.hiddenLines.toLocaleString('fr-FR')} lignes plus haut`;
  }

  showDebugNotes() {
    const card = this.block.debug;
    if (!this.debugNotes.length || !this.options.showDebug) {
      card.hidden = true;
      return;
    }
    card.hidden = false;
    card.replaceChildren(h('h3', {}, 'Débogage'), h('ul', {}, this.debugNotes.map((note) => h('li', {}, note))));
  }

  // The question and the pupil's answer stay in the console as a pair.
  answered(prompt, answer) {
    this.append(h('div', { class: 'answer-pair' },
      h('span', { class: 'answer-prompt' }, prompt), h('span', { class: 'answer-text' }, answer)), false);
    this.scrollToEnd();
  }

  notice(text) {
    this.block.closing.append(h('p', { class: 'run-notice' }, text));
    this.scrollToEnd();
  }

  end(text) {
    this.block.closing.append(h('p', { class: 'run-end' }, text));
    this.scrollToEnd();
  }

  // An error: one line per line of its message, and a way to its line.
  error(message, line) {
    const card = h('div', { class: 'run-error', role: 'alert' },
      h('p', { class: 'run-error-title' }, icon(icons.error), 'Erreur'),
      String(message).split('\n').map((part) => h('p', { class: 'run-error-text' }, part)));
    if (line > 0) {
      card.append(h('button', { type: 'button', class: 'small', onclick: () => this.onGoToLine(line) }, `Aller à la ligne ${line}`));
    }
    if (!this.block) this.beginRun();
    this.block.closing.append(card);
    this.scrollToEnd();
  }

  atBottom() {
    const { scrollTop, scrollHeight, clientHeight } = this.element;
    return scrollHeight - scrollTop - clientHeight < 40;
  }

  // A console that grows with its content scrolls the page instead.
  scrollToEnd() {
    if (this.options.autoExtendConsole && document.scrollingElement) {
      document.scrollingElement.scrollTop = document.scrollingElement.scrollHeight;
    } else {
      this.element.scrollTop = this.element.scrollHeight;
    }
  }
}
