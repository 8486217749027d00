// The workbench in Chromium against a server: start-up and its notices, runs
// turn by turn, questions, stopping, errors, markers, and that nothing a
// program prints can run script or restyle the page.

import assert from 'node:assert/strict';
import { openPage, screenshot, setProgram, workbenchTests } from './harness.mjs';
import { programs } from './programs.mjs';

const { workbenchTest, browser: currentBrowser } = workbenchTests();

const consoleLog = (page) => page.getByRole('log', { name: 'Console' });
const runButton = (page) => page.getByRole('button', { name: 'Exécuter', exact: true });
const stopButton = (page) => page.getByRole('button', { name: 'Arrêter', exact: true });

async function run(page, program) {
  await setProgram(page, program.code);
  await runButton(page).click();
}

async function waitForEnd(page) {
  await consoleLog(page).getByText('Fin du programme').waitFor();
}

function executeRequests(page) {
  const bodies = [];
  page.on('request', (request) => {
    if (request.method() === 'POST' && new URL(request.url()).pathname === '/api/execute') bodies.push(JSON.parse(request.postData()));
  });
  return bodies;
}

// Clicks the marker gutter of a line: once for a breakpoint, twice to ignore it.
async function clickMarkerGutter(page, line, times) {
  const cell = page.locator('.cm-marks-gutter .cm-gutterElement').nth(line);
  for (let i = 0; i < times; i++) await cell.click();
}

workbenchTest('start-up: the page loads its files in order, a second tab is refused, a tab without a session is told', async ({ server, open, opened }) => {
  const loads = [];
  const browser = currentBrowser();
  const first = await openPage(browser);
  opened.contexts.push(first);
  first.page.on('request', (request) => loads.push(new URL(request.url()).pathname));
  await first.page.goto(server.authUrl);
  await first.page.getByRole('textbox', { name: 'Éditeur de code' }).waitFor();
  const referenced = await first.page.evaluate(() => [...document.querySelectorAll('link[href], script[src]')]
    .map((element) => element.getAttribute('href') ?? element.getAttribute('src')).filter((url) => url.startsWith('/')));
  assert.deepEqual(referenced, ['/fonts.css', '/favicon.ico', '/app.css', '/help.js', '/emoji.js', '/icons.js', '/auth.js']);
  assert.ok(loads.indexOf('/app.js') > loads.indexOf('/api/ping'), 'app.js comes after a successful ping');
  assert.equal(loads.filter((path) => path === '/app.js').length, 1);
  await screenshot(first.page, 'start');

  const second = await openPage(browser);
  opened.contexts.push(second);
  await second.page.goto(server.authUrl);
  await second.page.getByRole('heading', { name: 'Mirelon est déjà ouvert' }).waitFor();
  await second.page.getByText("L'interface est déjà utilisée dans un autre onglet ou une autre fenêtre.").waitFor();
  await second.page.getByText('Ferme les autres onglets, puis recharge cette page.').waitFor();
  assert.equal(await second.page.getByRole('textbox', { name: 'Éditeur de code' }).count(), 0);
  await screenshot(second.page, 'already-open');

  const release = first.page.waitForRequest((request) => request.method() === 'POST' &&
    new URL(request.url()).pathname === '/api/release', { timeout: 5000 });
  await first.page.evaluate(() => window.dispatchEvent(new PageTransitionEvent('pagehide')));
  const instanceId = await first.page.evaluate(() => window.MirelonSession.instanceId);
  assert.equal(new URL((await release).url()).searchParams.get('instanceId'), instanceId);

  // Closed without a release (a crashed tab, say), the first tab keeps the
  // workbench until 15 seconds after its last heartbeat; the server must then
  // accept the second tab's ping within 16 seconds of that heartbeat.
  let lastHeartbeat = Date.now();
  first.page.on('response', (response) => {
    if (new URL(response.url()).pathname === '/api/ping' && response.status() === 200) lastHeartbeat = Date.now();
  });
  await first.page.waitForResponse((response) => new URL(response.url()).pathname === '/api/ping', { timeout: 7000 });
  await first.context.close();
  let accepted = null;
  second.page.on('response', (response) => {
    if (accepted === null && new URL(response.url()).pathname === '/api/ping' && response.status() === 200) accepted = Date.now();
  });
  const editor = second.page.getByRole('textbox', { name: 'Éditeur de code' });
  const refused = second.page.getByRole('heading', { name: 'Mirelon est déjà ouvert' });
  while (accepted === null) {
    await second.page.reload();
    await Promise.race([editor.waitFor({ timeout: 30000 }), refused.waitFor({ timeout: 30000 })]);
    assert.ok(accepted !== null || Date.now() - lastHeartbeat < 17000, 'refused more than 16 seconds after the last heartbeat');
    if (accepted === null) await second.page.waitForTimeout(1000);
  }
  assert.ok(accepted - lastHeartbeat <= 17000, 'the second tab is accepted within 16 seconds');
  await editor.waitFor();

  const stranger = await openPage(browser);
  opened.contexts.push(stranger);
  stranger.page.on('console', () => {});
  await stranger.page.goto(server.origin + '/');
  await stranger.page.getByRole('heading', { name: 'Session invalide' }).waitFor();
  await stranger.page.getByText(/Go ! Mirelon/).waitFor();
  stranger.problems.length = 0; // the refused ping is logged by the browser
}, { allow: [/status of 409/] });

workbenchTest('a run with two questions: three requests, same code and seed, all output kept', async ({ open }) => {
  const { page } = await open();
  const bodies = executeRequests(page);
  await run(page, programs.twoQuestions);
  const answer = page.getByRole('textbox', { name: 'Réponse' });
  await answer.waitFor();
  await screenshot(page, 'question');
  await answer.fill('Ada');
  await answer.press('Enter');
  await page.getByRole('button', { name: 'Vert', exact: true }).click();
  await waitForEnd(page);
  const log = consoleLog(page);
  const text = await log.innerText();
  for (const expected of ['Début', 'Ton prénom ?', 'Ada', 'Salut Ada', 'Vert', 'Choix 2', 'Fin du programme']) {
    assert.ok(text.includes(expected), `the console keeps "${expected}"`);
  }
  assert.ok(text.indexOf('Début') < text.indexOf('Salut Ada') && text.indexOf('Salut Ada') < text.indexOf('Choix 2'));
  assert.match(text, /Interprété en \d+,\d{3} seconde/);
  assert.equal(bodies.length, 3);
  assert.deepEqual(bodies.map((body) => body.inputs), [[], ['Ada'], ['2']]);
  assert.ok(bodies.every((body) => body.code === programs.twoQuestions.code && body.seed === bodies[0].seed));
  assert.ok(Number.isInteger(bodies[0].seed));
});

workbenchTest('a key wait ignores case and offers each key as a button', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.keys);
  await page.getByRole('button', { name: 'Espace' }).waitFor();
  await page.keyboard.press('x');
  await page.keyboard.press('Shift+Q');
  await consoleLog(page).getByText('Touche 2').waitFor();
  await waitForEnd(page);
});

workbenchTest('stop during a long run: the editor is locked meanwhile and free again after', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.longRun);
  await page.getByText(/En cours — \d:\d\d restantes/).waitFor();
  assert.equal(await runButton(page).isDisabled(), true);
  assert.equal(await page.getByRole('button', { name: 'Analyser' }).isDisabled(), true);
  await page.getByRole('textbox', { name: 'Éditeur de code' }).press('x');
  assert.equal(await page.evaluate(() => window.Mirelon.editor.text()), programs.longRun.code, 'read-only during a run');
  await runButton(page).click({ force: true });
  await stopButton(page).click();
  await consoleLog(page).getByText("Exécution interrompue par l'utilisateur.").waitFor();
  await waitForEnd(page);
  await page.waitForFunction(() => !document.querySelector('button.primary[disabled]'));
  assert.equal(await runButton(page).isDisabled(), false);
});

workbenchTest('stop and cancel during a question; a changed program then runs as changed', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.waitingQuestion);
  await page.getByRole('textbox', { name: 'Réponse' }).waitFor();
  await stopButton(page).click();
  await consoleLog(page).getByText("Exécution interrompue par l'utilisateur.").waitFor();
  assert.equal(await page.getByRole('textbox', { name: 'Réponse' }).count(), 0);

  await runButton(page).click();
  const answer = page.getByRole('textbox', { name: 'Réponse' });
  await answer.waitFor();
  await answer.press('Escape');
  await consoleLog(page).getByText("Saisie annulée par l'utilisateur.").waitFor();
  await page.waitForFunction(() => !window.Mirelon.controller.running);
  await run(page, programs.changedAfterCancel);
  await consoleLog(page).getByText('Version 2').waitFor();
  await waitForEnd(page);
});

workbenchTest('an error shows the output before it, then its message, and moves the editor to its line', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.error);
  const alert = consoleLog(page).getByRole('alert');
  await alert.waitFor();
  const text = await consoleLog(page).innerText();
  assert.ok(text.indexOf('avant') < text.indexOf('encore') && text.indexOf('encore') < text.indexOf('Division par zéro'));
  await page.locator('.status-line').filter({ hasText: /^Ligne 3$/ }).waitFor();
  assert.equal(await page.locator('.cm-line-flash').innerText(), 'x vaut 1 / 0');
  await screenshot(page, 'error');
  await page.getByRole('textbox', { name: 'Éditeur de code' }).press('Control+Home');
  await alert.getByRole('button', { name: 'Aller à la ligne 3' }).click();
  await page.locator('.status-line').filter({ hasText: /^Ligne 3$/ }).waitFor();
}, { allow: [/status of 400/] });

workbenchTest('a breakpoint on line 3 runs lines 1 and 2; analysis still checks every line', async ({ open }) => {
  const { page } = await open();
  const bodies = executeRequests(page);
  await setProgram(page, "affiche 'un'\naffiche 'deux'\naffiche 'trois'\naffiche 'quatre'");
  await clickMarkerGutter(page, 3, 1);
  assert.deepEqual(await page.evaluate(() => window.Mirelon.editor.markers()), { breakpoint: 3, ignored: [] });
  await runButton(page).click();
  await waitForEnd(page);
  const text = await consoleLog(page).innerText();
  assert.ok(text.includes('deux') && !text.includes('trois'));
  assert.equal(bodies[0].code, programs.breakpoint.code);
  await page.getByRole('button', { name: 'Analyser' }).click();
  await page.getByRole('list', { name: 'Diagnostics' }).getByText('Le code est syntaxiquement correct.').waitFor();
});

workbenchTest('ignored lines are left out of the run, line numbers kept', async ({ open }) => {
  const { page } = await open();
  const bodies = executeRequests(page);
  await setProgram(page, "affiche 'un'\naffiche 'deux'\naffiche 'trois'\naffiche 'quatre'");
  await clickMarkerGutter(page, 2, 2);
  await page.getByRole('textbox', { name: 'Éditeur de code' }).click();
  await page.keyboard.press('Control+End');
  await clickMarkerGutter(page, 4, 2);
  assert.deepEqual(await page.evaluate(() => window.Mirelon.editor.markers()), { breakpoint: null, ignored: [2, 4] });
  await page.keyboard.press('Control+Enter');
  await waitForEnd(page);
  assert.equal(bodies[0].code, programs.ignored.code);
  const lines = await consoleLog(page).locator('.out-line').allInnerTexts();
  assert.deepEqual(lines, ['un', 'trois']);
});

workbenchTest('colours: console colour, inline colours, and values that are not #RRGGBB ignored', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.colors);
  await waitForEnd(page);
  const colorOf = (text) => consoleLog(page).getByText(text, { exact: true }).evaluate((element) => getComputedStyle(element).color);
  const plain = await page.locator('.console').evaluate((element) => getComputedStyle(element).color);
  assert.equal(await colorOf('rouge'), 'rgb(255, 0, 0)');
  assert.equal(await colorOf('vert'), 'rgb(0, 170, 0)');
  assert.equal(await colorOf('après'), plain);
  assert.equal(await page.locator('.console [style*="background"]').count(), 0);
});

workbenchTest('HTML that tries to run script or restyle the page does neither', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.hostileHtml);
  await waitForEnd(page);
  await page.waitForTimeout(200);
  const log = consoleLog(page);
  assert.equal(await page.evaluate(() => document.body.dataset.pwned ?? null), null);
  assert.equal(await log.getByRole('heading', { name: 'Titre' }).count(), 1);
  assert.equal(await log.locator('script, style, [onerror], [onclick]').count(), 0);
  assert.equal(await log.getByRole('link', { name: 'mauvais' }).count(), 0, 'a javascript: link is no link');
  const good = log.getByRole('link', { name: 'bon' });
  assert.equal(await good.getAttribute('href'), 'https://exemple.fr/');
  assert.equal(await good.getAttribute('target'), '_blank');
  assert.equal(await good.getAttribute('rel'), 'noopener noreferrer');
  await log.getByText('<style>body{display:none}</style>', { exact: false }).waitFor();
  await log.getByText('<b>pas du html</b>').waitFor();
  assert.equal(await log.locator('b').count(), 0);
  assert.equal(await page.locator('body').isVisible(), true);
}, { allow: [/Failed to load resource/] });

workbenchTest('an SVG with a style sheet, event attributes and links is cleaned and contained', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.hostileSvg);
  await waitForEnd(page);
  await page.waitForTimeout(200);
  const inside = await page.locator('.drawing-host').evaluate((host) => {
    const root = host.shadowRoot;
    const rect = root.querySelector('rect');
    return {
      mode: root.mode,
      fill: getComputedStyle(rect).fill,
      dangerous: root.querySelectorAll('script, foreignObject, a, [onclick]').length,
      imageLink: root.querySelector('image')?.getAttribute('href') ?? null,
    };
  });
  assert.deepEqual(inside, { mode: 'open', fill: 'rgb(0, 0, 255)', dangerous: 0, imageLink: null });
  await page.locator('.drawing-host').click();
  assert.equal(await page.evaluate(() => document.body.dataset.pwned ?? null), null);
  assert.equal(await page.locator('.toolbar').evaluate((bar) => getComputedStyle(bar).position), 'static');
  assert.equal(await page.locator('body').evaluate((body) => getComputedStyle(body).display), 'block');
  assert.equal(await page.evaluate(() => document.querySelectorAll('rect').length), 0, 'the drawing stays in its shadow root');
});

workbenchTest('an animation plays its frames, then stays on the last one', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.animation);
  const frame = () => page.locator('.drawing-host').evaluate((host) => host.shadowRoot.textContent);
  await page.locator('.drawing-host').waitFor();
  const seen = new Set();
  const started = Date.now();
  while (Date.now() - started < 2500) {
    seen.add(await frame());
    await page.waitForTimeout(15);
  }
  assert.deepEqual([...seen].sort(), ['deux', 'un']);
  assert.equal(await frame(), 'deux');
});

workbenchTest('debug notes go to their own card', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.debug);
  await waitForEnd(page);
  await page.getByRole('region', { name: 'Débogage' }).getByText('x = 6').waitFor();
  const lines = await consoleLog(page).locator('.out-line').allInnerTexts();
  assert.deepEqual(lines, ['42']);
});

workbenchTest('analysis lists errors with their line; a click moves the editor there', async ({ open }) => {
  const { page } = await open();
  await setProgram(page, programs.analysis.code);
  await page.getByRole('button', { name: 'Analyser' }).click();
  const list = page.getByRole('list', { name: 'Diagnostics' });
  const item = list.getByRole('button', { name: /Erreur.*Ligne 2/ });
  await item.waitFor();
  await item.click();
  await page.locator('.status-line').filter({ hasText: /^Ligne 2$/ }).waitFor();
});

workbenchTest('a long console stays bounded and readable', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.manyLines);
  await waitForEnd(page);
  assert.equal(await consoleLog(page).locator('.out-line').count(), 10000);
  await screenshot(page, 'long-console');
});

workbenchTest('beyond 20,000 lines the oldest leave the page behind a count', async ({ open }) => {
  const { page } = await open();
  await run(page, programs.tooManyLines);
  await waitForEnd(page);
  const log = consoleLog(page);
  assert.equal(await log.locator('.out-line').count(), 20000);
  await log.getByText(/^… 10\s000 lignes plus haut$/).waitFor();
  assert.equal(await log.locator('.out-line').first().textContent(), 'Ligne 10001');
  assert.equal(await log.locator('.out-line').last().textContent(), 'Ligne 30000');
});
