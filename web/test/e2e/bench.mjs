// Measures the workbench in headless Chromium (figures in bench/README.md):
//   - navigation from the sign-in address to an editor that accepts input;
//   - a click on "Exécuter" to "Fin du programme" for a one-line program;
//   - a program printing 10,000 lines, from the click to the last line shown,
//     and the longest task that blocked the page meanwhile;
//   - typing in a 5000-line program: the time of one keystroke, from the
//     change to the editor's updated layout;
//   - opening the programs panel with 500 stored programs;
//   - opening the help panel and searching it;
//   - the gzip size of the first load (every file the page loads, minified as
//     the server sends it).
// Run: node web/test/e2e/bench.mjs   (MIRELON_BINARY=build/mirelon for the real server)

import { gzipSync } from 'node:zlib';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { launchBrowser, startServer, openPage, setProgram, serverKind } from './harness.mjs';
import { programs } from './programs.mjs';
import { minifyScript, minifyStyleSheet } from '../support/state-machine-minifier.mjs';

const rounds = 5;
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

// One untimed round first: the stand-in server minifies each file on its first request.
async function timeNavigation(browser) {
  const times = [];
  for (let i = 0; i <= rounds; i++) {
    const server = await startServer();
    const { context, page } = await openPage(browser);
    const started = Date.now();
    await page.goto(server.authUrl);
    const editor = page.getByRole('textbox', { name: 'Éditeur de code' });
    await editor.press('x');
    await page.waitForFunction(() => window.Mirelon.editor.text().includes('x'));
    if (i > 0) times.push(Date.now() - started);
    await context.close();
    await server.close();
  }
  return median(times);
}

// Times from the click to a console text, measured inside the page.
async function timeRun(page, program, untilText, count) {
  const times = [];
  for (let i = 0; i < count; i++) {
    await setProgram(page, program.code);
    times.push(await page.evaluate((awaited) => new Promise((resolve) => {
      const log = document.querySelector('.console');
      const started = performance.now();
      const watcher = new MutationObserver(() => {
        if (log.textContent.includes(awaited)) {
          watcher.disconnect();
          resolve(performance.now() - started);
        }
      });
      watcher.observe(log, { childList: true, subtree: true, characterData: true });
      document.querySelector('button.primary').click();
    }), untilText));
    await page.waitForFunction(() => !window.Mirelon.controller.running);
  }
  return median(times);
}

// Keystrokes typed into the middle of a 5000-line program, each measured from
// the change to a forced layout of the editor.
async function timeTyping(page) {
  const lines = Array.from({ length: 5000 }, (_, i) => (i % 5 === 0 ? `si x${i} > ${i} alors` : i % 5 === 4 ? 'fin si' : `  affiche 'ligne ${i}' + longueur(t) // note`));
  await setProgram(page, lines.join('\n'));
  return page.evaluate(async () => {
    const { view } = window.Mirelon.editor;
    const middle = view.state.doc.line(2500).to;
    view.dispatch({ selection: { anchor: middle }, scrollIntoView: true });
    view.focus();
    await new Promise((done) => setTimeout(done, 300));
    const times = [];
    for (const character of "  x vaut longueur('abc') + 1".repeat(3)) {
      const started = performance.now();
      const head = view.state.selection.main.head;
      view.dispatch({ changes: { from: head, insert: character }, selection: { anchor: head + 1 }, userEvent: 'input.type' });
      view.contentDOM.getBoundingClientRect();
      void view.contentDOM.offsetHeight;
      times.push(performance.now() - started);
      await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
    }
    times.sort((a, b) => a - b);
    return { median: times[Math.floor(times.length / 2)], worst: times[times.length - 1], p95: times[Math.floor(times.length * 0.95)] };
  });
}

// 500 programs stored through the API, then the panel opened until its list shows them.
async function timeProgramsPanel(page) {
  await page.evaluate(async () => {
    for (let i = 0; i < 500; i++) {
      await fetch('/api/projects/save', { method: 'POST', headers: { 'Content-Type': 'application/json' },
        body: JSON.stringify({ titre: `Programme ${i}`, code: `affiche ${i}`, categorie: i % 5 ? 'programme' : 'bibliotheque' }) });
    }
  });
  const times = [];
  for (let i = 0; i < rounds; i++) {
    times.push(await page.evaluate(() => new Promise((resolve) => {
      const started = performance.now();
      const watcher = new MutationObserver(() => {
        if (document.querySelectorAll('.program').length >= 500) {
          watcher.disconnect();
          resolve(performance.now() - started);
        }
      });
      watcher.observe(document.body, { childList: true, subtree: true });
      document.querySelector('.toolbar').querySelectorAll('button')[5].click();
    })));
    await page.keyboard.press('Escape');
  }
  return median(times);
}

// The help panel opened, then searched for three words; each measured to its
// rendered result.
async function timeHelp(page) {
  return page.evaluate(async () => {
    const button = [...document.querySelectorAll('.toolbar button')].find((b) => b.textContent.trim() === 'Aide');
    const opening = [];
    const searching = [];
    for (let i = 0; i < 5; i++) {
      let started = performance.now();
      button.click();
      document.querySelector('.help-results').getBoundingClientRect();
      opening.push(performance.now() - started);
      const field = document.getElementById('help-search');
      for (const word of ['repete', 'arrondi superieur', 'toile']) {
        started = performance.now();
        field.value = word;
        field.dispatchEvent(new Event('input'));
        document.querySelector('.help-results').getBoundingClientRect();
        searching.push(performance.now() - started);
      }
      button.click();
      await new Promise((done) => setTimeout(done, 50));
    }
    const mid = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
    return { open: mid(opening), search: mid(searching), worst: Math.max(...opening, ...searching) };
  });
}

async function longestTask(page) {
  return page.evaluate(() => window.__longest ?? 0);
}

function firstLoadGzip(assetsDir) {
  const names = ['app.html', 'fonts.css', 'favicon.ico', 'app.css', 'help.js', 'emoji.js', 'icons.js', 'auth.js', 'app.js', 'background.svg'];
  let total = 0;
  const sizes = {};
  for (const name of names) {
    let bytes = readFileSync(join(assetsDir, name));
    if (name.endsWith('.js')) bytes = Buffer.from(minifyScript(bytes.toString('utf8')));
    else if (name.endsWith('.css')) bytes = Buffer.from(minifyStyleSheet(bytes.toString('utf8')));
    const size = name.endsWith('.js') || name.endsWith('.css') ? gzipSync(bytes).length : bytes.length;
    sizes[name] = size;
    total += size;
  }
  return { total, sizes };
}

const browser = await launchBrowser();
try {
  console.log(`server: ${serverKind}`);
  console.log(`navigation to an editor that accepts input: ${await timeNavigation(browser)} ms (median of ${rounds})`);
  const server = await startServer();
  const { context, page } = await openPage(browser);
  await page.addInitScript(() => {
    window.__longest = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) window.__longest = Math.max(window.__longest, entry.duration);
    }).observe({ type: 'longtask', buffered: true });
  });
  await page.goto(server.authUrl);
  await page.getByRole('textbox', { name: 'Éditeur de code' }).waitFor();
  console.log(`"Exécuter" to "Fin du programme", one line: ${(await timeRun(page, programs.hello, 'Fin du programme', 10)).toFixed(1)} ms (median of 10)`);
  await page.evaluate(() => { window.__longest = 0; });
  const lines = await timeRun(page, programs.manyLines, 'Ligne 10000', 3);
  console.log(`10,000 printed lines, click to the last line shown: ${lines.toFixed(0)} ms (median of 3); longest blocking task ${(await longestTask(page)).toFixed(0)} ms`);
  const typing = await timeTyping(page);
  console.log(`typing in a 5000-line program, one keystroke: median ${typing.median.toFixed(1)} ms, 95th percentile ${typing.p95.toFixed(1)} ms, worst ${typing.worst.toFixed(1)} ms`);
  const help = await timeHelp(page);
  console.log(`help panel: opening ${help.open.toFixed(1)} ms, one search ${help.search.toFixed(1)} ms (medians), worst ${help.worst.toFixed(1)} ms`);
  console.log(`programs panel with 500 stored programs, click to the list shown: ${(await timeProgramsPanel(page)).toFixed(0)} ms (median of ${rounds})`);
  await context.close();
  await server.close();
  const { total, sizes } = firstLoadGzip(join(import.meta.dirname, '..', '..', '..', 'assets'));
  console.log(`first load, gzip: ${(total / 1024).toFixed(1)} KiB ${JSON.stringify(sizes)}`);
} finally {
  await browser.close();
}
