// The workbench, started by auth.js once the server has accepted this tab:
// wires the editor, the console, the questions, runs and analysis together.

import { buildLayout, openPanel, closePanel } from './layout.js';
import { createEditor } from './editor.js';
import { ConsoleView } from './console-view.js';
import { QuestionView } from './question-view.js';
import { DiagnosticsView } from './diagnostics-view.js';
import { RunController } from './run-controller.js';
import { createSanitizers } from './sanitize.js';
import { api, getJson, postJson } from './api.js';
import { loadOptions, saveOptions, defaultOptions } from './options.js';
import { prepareRun, prepareAnalysis } from './prepare.js';
import { parsePrompt } from './prompt.js';
import { formatRemaining, parseObject } from './answers.js';
import { h } from './dom.js';

const firstProgram = "// Bienvenue dans Mirelon !\n// Écris ton programme ici, puis clique sur « Exécuter ».\naffiche 'Bonjour !'\n";

function start() {
  const session = window.MirelonSession ?? {};
  const timeLimitMs = session.timeLimitMs ?? 2 * 60 * 1000;
  const options = { ...defaultOptions };
  const parts = buildLayout(document.getElementById('app'));
  const sanitizers = createSanitizers(window);

  const editor = createEditor(parts.editorHost, {
    text: firstProgram,
    fontSize: options.fontSize,
    actions: {
      run: () => runProgram(),
      onCursorLine: (line) => { parts.cursor.textContent = `Ligne ${line}`; },
    },
  });
  const consoleView = new ConsoleView(parts.console, { sanitizers, options, onGoToLine: (line) => editor.moveToLine(line) });
  const diagnostics = new DiagnosticsView(parts.diagnostics, { onGoToLine: (line) => editor.moveToLine(line) });
  const question = new QuestionView(parts.question, {
    onAnswer: (value, shown) => controller.answer(value, shown),
    onCancel: () => controller.cancelQuestion(),
  });

  const controller = new RunController({
    api,
    timeLimitMs,
    view: {
      beginRun: () => consoleView.beginRun(),
      output: (text) => consoleView.output(text),
      notice: (text) => consoleView.notice(text),
      end: (text) => consoleView.end(text),
      error(message, line) {
        consoleView.error(message, line);
        if (line > 0) editor.moveToLine(line);
      },
      ask(parsed) {
        question.show(parsed);
        parts.status.textContent = '● Question en attente';
      },
      answered: (prompt, shown) => consoleView.answered(promptLabel(prompt), String(shown)),
      closeQuestion: () => question.close(),
      countdown(remaining) {
        if (remaining !== null) parts.status.textContent = `● En cours — ${formatRemaining(remaining)} restantes`;
      },
      setRunning(running) {
        parts.run.disabled = running;
        parts.analyze.disabled = running;
        parts.stop.disabled = !running;
        parts.stop.classList.toggle('primary', running);
        parts.run.classList.toggle('primary', !running);
        document.body.classList.toggle('running', running);
        editor.setReadOnly(running);
        if (!running) {
          parts.status.textContent = 'Prêt';
          editor.focus();
        }
      },
    },
  });

  function runProgram() {
    if (controller.running) return;
    const code = prepareRun(editor.text(), editor.markers());
    if (code) controller.start(code);
  }

  async function analyzeProgram() {
    if (controller.running) return;
    const code = prepareAnalysis(editor.text());
    if (!code) return;
    parts.analyze.disabled = true;
    try {
      const answer = await api.analyze(code);
      const body = parseObject(answer.text);
      if (!body) diagnostics.showError(`Erreur du serveur (statut ${answer.status})`);
      else if (body.error !== undefined) diagnostics.showError(body.error);
      else diagnostics.showResult(body.diagnostics);
    } catch (error) {
      diagnostics.showError(`Erreur de connexion : ${error.message}`);
    } finally {
      parts.analyze.disabled = controller.running;
    }
  }

  function newProgram() {
    if (controller.running) return;
    if (editor.text().trim() && !window.confirm('Effacer le programme pour en commencer un nouveau ?')) return;
    editor.setText('');
    editor.focus();
  }

  parts.run.addEventListener('click', runProgram);
  parts.stop.addEventListener('click', () => controller.stop());
  parts.analyze.addEventListener('click', analyzeProgram);
  parts.newProgram.addEventListener('click', newProgram);
  for (const [control, title] of [[parts.save, 'Enregistrer'], [parts.programs, 'Programmes'], [parts.options, 'Options'], [parts.help, 'Aide']]) {
    control.addEventListener('click', () => openPanel(parts.panel, title, h('p', {}, 'Ce panneau arrive dans une prochaine version de Mirelon.')));
  }

  // Ctrl+Entrée runs from anywhere; Échap closes the panel, else stops the run
  // (the editor and the question handle their own Échap first).
  window.addEventListener('keydown', (event) => {
    if (event.defaultPrevented) return;
    if (event.key === 'Enter' && (event.ctrlKey || event.metaKey)) {
      event.preventDefault();
      runProgram();
    } else if (event.key === 'Escape') {
      if (!parts.panel.hidden) closePanel(parts.panel);
      else if (controller.running && !question.open) controller.stop();
    }
  });

  loadOptions(getJson).then((loaded) => {
    Object.assign(options, loaded);
    applyOptions(options, editor);
  });
  // The page's parts, for the panels to come and for the end-to-end tests.
  window.Mirelon = { editor, controller, options, saveOptions: () => saveOptions(options, postJson) };
  document.body.classList.add('ready');
  editor.focus();
}

function applyOptions(options, editor) {
  document.documentElement.classList.toggle('dark', options.darkMode);
  document.documentElement.classList.toggle('no-background', !options.showBackground);
  editor.setFontSize(options.fontSize);
}

// What stays in the console of a question once it is answered.
function promptLabel(prompt) {
  const parsed = parsePrompt(prompt);
  if (parsed.kind === 'choice') return 'Choix :';
  if (parsed.kind === 'keys') return 'Touche :';
  return parsed.question;
}

start();
