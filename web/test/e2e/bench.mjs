// Measures the workbench in headless Chromium (figures in bench/README.md):
//   - navigation from the sign-in address to an editor that accepts input;
//   - a click on "Exécuter" to "Fin du programme" for a one-line program;
//   - a program printing 10,000 lines, from the click to the last line shown,
//     and the longest task that blocked the page meanwhile;
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

async function longestTask(page) {
  return page.evaluate(() => window.__longest ?? 0);
}

function firstLoadGzip(assetsDir) {
  const names = ['app.html', 'fonts.css', 'favicon.ico', 'app.css', 'help.js', 'emoji.js', 'icons.js', 'auth.js', 'app.js'];
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
  await context.close();
  await server.close();
  const { total, sizes } = firstLoadGzip(join(import.meta.dirname, '..', '..', '..', 'assets'));
  console.log(`first load, gzip: ${(total / 1024).toFixed(1)} KiB ${JSON.stringify(sizes)}`);
} finally {
  await browser.close();
}
