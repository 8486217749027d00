// The workbench, started by auth.js once the server has accepted this tab:
// wires the editor, the console, the questions, runs, analysis, the stored
// programs, the options and the side panels together.

import { buildLayout, SidePanel } from './layout.js';
import { createEditor } from './editor.js';
import { ConsoleView } from './console-view.js';
import { QuestionView } from './question-view.js';
import { DiagnosticsView, summarizeDiagnostics } from './diagnostics-view.js';
import { RunController } from './run-controller.js';
import { createSanitizers } from './sanitize.js';
import { api, getJson, postJson } from './api.js';
import { loadOptions, saveOptions, defaultOptions } from './options.js';
import { prepareRun, prepareAnalysis } from './prepare.js';
import { parsePrompt } from './prompt.js';
import { formatRemaining, parseObject } from './answers.js';
import { readHelp } from './help-data.js';
import { LiveAnalysis } from './live-analysis.js';
import { StoredPrograms } from './projects.js';
import { ProgramsPanel } from './programs-panel.js';
import { optionsPanelBody } from './options-panel.js';
import { HelpPanel } from './help-panel.js';
import { emojiPicker, iconPicker, canvasName, iconCall } from './pickers.js';
import { downloadProgram, pickProgramFile, acceptDroppedFiles, copyText } from './files.js';
import { restoreWork, keepWork } from './work-storage.js';
import { h } from './dom.js';

const firstProgram = "// Bienvenue dans Mirelon !\n// Écris ton programme ici, puis clique sur « Exécuter ».\naffiche 'Bonjour !'\n";

function start() {
  const session = window.MirelonSession ?? {};
  const timeLimitMs = session.timeLimitMs ?? 2 * 60 * 1000;
  const options = { ...defaultOptions };
  const parts = buildLayout(document.getElementById('app'));
  const panel = new SidePanel(parts.panel);
  const sanitizers = createSanitizers(window);
  const help = readHelp(window.MirelonHelp);
  const store = new StoredPrograms((action, body) => api.projects(action, body));
  const work = restoreWork();
  if (work.current) {
    store.current = work.current;
    store.savedText = work.saved ? work.text : null;
  }

  const editor = createEditor(parts.editorHost, {
    text: work.text ?? firstProgram,
    fontSize: options.fontSize,
    help,
    actions: {
      run: () => runProgram(),
      save: () => saveProgram(),
      programs: () => togglePrograms(),
      help: (word) => helpPanel.show(word),
      onCursorLine: (line) => { parts.cursor.textContent = `Ligne ${line}`; },
      onChange: () => textChanged(),
    },
  });
  const consoleView = new ConsoleView(parts.console, { sanitizers, options, onGoToLine: (line) => editor.moveToLine(line) });
  const diagnostics = new DiagnosticsView(parts.diagnostics, { onGoToLine: (line) => editor.moveToLine(line) });
  const question = new QuestionView(parts.question, {
    onAnswer: (value, shown) => controller.answer(value, shown),
    onCancel: () => controller.cancelQuestion(),
  });
  const live = new LiveAnalysis({
    text: () => editor.text(),
    analyze: async (code) => {
      try {
        const body = parseObject((await api.analyze(prepareAnalysis(code) || code)).text);
        return body && Array.isArray(body.diagnostics) ? body.diagnostics : null;
      } catch {
        return null;
      }
    },
    apply: (found) => editor.showDiagnostics(summarizeDiagnostics(found).items),
    isRunning: () => controller.running,
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
          live.runEnded();
        }
      },
    },
  });

  const say = (text) => {
    parts.message.textContent = text;
    clearTimeout(say.timer);
    say.timer = setTimeout(() => { parts.message.textContent = ''; }, 6000);
  };

  // The status bar names the current program and says when it has changes.
  function programChanged() {
    const text = editor.text();
    const modified = store.isModified(text);
    parts.program.textContent = store.current
      ? `Programme : « ${store.current.title} »${modified ? ' (modifié)' : ''}`
      : `Nouveau programme${modified ? ' (non enregistré)' : ''}`;
    keepWork({ text, current: store.current, saved: !modified });
  }

  function textChanged() {
    live.changed();
    clearTimeout(textChanged.timer);
    textChanged.timer = setTimeout(programChanged, 250);
  }

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
    live.explicit();
    try {
      const answer = await api.analyze(code);
      const body = parseObject(answer.text);
      if (!body) diagnostics.showError(`Erreur du serveur (statut ${answer.status})`);
      else if (body.error !== undefined) diagnostics.showError(body.error);
      else {
        diagnostics.showResult(body.diagnostics);
        editor.showDiagnostics(summarizeDiagnostics(body.diagnostics).items);
      }
    } catch (error) {
      diagnostics.showError(`Erreur de connexion : ${error.message}`);
    } finally {
      parts.analyze.disabled = controller.running;
    }
  }

  // Another text in the editor that is no stored program (an example, a file,
  // "Nouveau"); the replaced text stays in the editor's undo history.
  function replaceProgram(text) {
    editor.setText(text);
    store.forget();
    editor.showDiagnostics([]);
    programChanged();
    editor.focus();
  }

  function newProgram() {
    if (controller.running) return;
    if (store.isModified(editor.text()) && !window.confirm('Effacer le programme pour en commencer un nouveau ? Ce qui n’est pas enregistré sera perdu.')) return;
    replaceProgram('');
    parts.diagnostics.hidden = true;
  }

  async function saveProgram() {
    const code = editor.text();
    if (!code.trim()) return say('Le programme est vide : rien à enregistrer.');
    const saved = await store.save(code);
    programChanged();
    if (saved.ok) {
      say(`Programme « ${saved.entry.title} » enregistré.`);
      if (programs.isOpen) programs.refresh();
    } else if (saved.needTitle) {
      programs.show({ askTitle: true, message: saved.error ?? '' });
    } else {
      say(saved.error);
    }
  }

  const files = {
    pick: () => pickProgramFile(fileHandlers),
    download: () => downloadProgram(store.current?.title ?? 'programme', editor.text()),
  };
  const fileHandlers = {
    open: (text, name) => {
      replaceProgram(text);
      say(`Fichier « ${name} » ouvert : enregistre-le pour le garder dans tes programmes.`);
    },
    refuse: (message) => say(message),
  };
  const programs = new ProgramsPanel({ panel, store, editor, files, changed: programChanged });
  const helpPanel = new HelpPanel({
    panel,
    help,
    renderOutput: (text) => exampleOutput(text, sanitizers),
    useExample: (code) => replaceProgram(code),
  });

  function togglePrograms() {
    panel.toggle('Programmes', () => programs.show());
  }

  function showOptions() {
    panel.show('Options', optionsPanelBody(options, changeOptions));
  }

  function showEmoji() {
    const { body, search } = emojiPicker(window.MirelonEmoji, (character) => editor.insert(character));
    panel.show('Emoji', body, { focus: search });
  }

  function showIcons() {
    const { body, search } = iconPicker(window.MirelonIcons, (icon) => editor.insert(iconCall(canvasName(editor.text()), icon)));
    panel.show('Icônes', body, { focus: search });
  }

  function changeOptions(next) {
    Object.assign(options, next);
    applyOptions();
    saveOptions(options, postJson);
  }

  function applyOptions() {
    const root = document.documentElement;
    root.classList.toggle('dark', options.darkMode);
    root.classList.toggle('no-background', !options.showBackground);
    root.classList.toggle('console-grows', options.autoExtendConsole);
    editor.configure(options);
    consoleView.applyOptions();
  }

  parts.run.addEventListener('click', runProgram);
  parts.stop.addEventListener('click', () => controller.stop());
  parts.analyze.addEventListener('click', analyzeProgram);
  parts.newProgram.addEventListener('click', newProgram);
  parts.save.addEventListener('click', saveProgram);
  parts.programs.addEventListener('click', togglePrograms);
  parts.options.addEventListener('click', () => panel.toggle('Options', showOptions));
  parts.help.addEventListener('click', () => panel.toggle('Aide', () => helpPanel.show()));
  parts.emoji.addEventListener('click', () => panel.toggle('Emoji', showEmoji));
  parts.iconPicker.addEventListener('click', () => panel.toggle('Icônes', showIcons));
  parts.copyConsole.addEventListener('click', async () => {
    const copied = await copyText(consoleView.text());
    parts.consoleStatus.textContent = copied ? 'Console copiée.' : 'Copie impossible.';
    setTimeout(() => { parts.consoleStatus.textContent = ''; }, 3000);
  });
  acceptDroppedFiles(document.body, fileHandlers);
  window.addEventListener('pagehide', programChanged);

  // Shortcuts from anywhere (the editor has its own): Ctrl+Entrée runs,
  // Ctrl+S saves, Ctrl+O opens the programs, F1 the help; Échap closes the
  // panel, else stops the run (the editor and the question handle their own
  // Échap first).
  window.addEventListener('keydown', (event) => {
    if (event.defaultPrevented) return;
    const mod = event.ctrlKey || event.metaKey;
    const act = (action) => { event.preventDefault(); action(); };
    if (event.key === 'Enter' && mod) act(runProgram);
    else if (mod && event.key.toLowerCase() === 's') act(saveProgram);
    else if (mod && event.key.toLowerCase() === 'o') act(togglePrograms);
    else if (event.key === 'F1') act(() => helpPanel.show());
    else if (event.key === 'Escape') {
      if (panel.open) panel.close();
      else if (controller.running && !question.open) controller.stop();
    }
  });

  loadOptions(getJson).then((loaded) => {
    Object.assign(options, loaded);
    applyOptions();
  });
  programChanged();
  live.changed();
  // The page's parts, for the end-to-end tests.
  window.Mirelon = { editor, controller, options, store, setOptions: (changes) => changeOptions({ ...options, ...changes }) };
  document.body.classList.add('ready');
  editor.focus();
}

// An example's output drawn by the console's own renderer.
function exampleOutput(text, sanitizers) {
  const host = h('div', { class: 'console example-console' });
  const view = new ConsoleView(host, {
    sanitizers, options: { ...defaultOptions, animateOutput: false, autoResizeImage: true }, onGoToLine() {}, drawingActions: false,
  });
  view.beginRun({ separator: false });
  view.output(text);
  return host;
}

// What stays in the console of a question once it is answered.
function promptLabel(prompt) {
  const parsed = parsePrompt(prompt);
  if (parsed.kind === 'choice') return 'Choix :';
  if (parsed.kind === 'keys') return 'Touche :';
  return parsed.question;
}

start();
