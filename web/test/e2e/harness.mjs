// Starts a server (the real "mirelon serve" when MIRELON_BINARY names a program
// that has that command, otherwise the stand-in of ../support/mock-server.mjs),
// drives Debian's Chromium with playwright-core, and opens the workbench.

import { spawn, spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, mkdirSync, existsSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';
import { startMockServer } from '../support/mock-server.mjs';
import { allPrograms } from './programs.mjs';

const repoDir = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..', '..');
export const screenshotDir = join(repoDir, 'build', 'screenshots');
const chromiumPath = process.env.CHROMIUM ?? '/usr/bin/chromium';

// "real" when the tests run against mirelon serve, "stand-in" otherwise.
export const serverKind = (await canServe(process.env.MIRELON_BINARY)) ? 'real' : 'stand-in';

// A program that has the serve command keeps running; one without it says so
// and exits at once.
async function canServe(binary) {
  if (!binary) return false;
  const home = mkdtempSync(join(tmpdir(), 'mirelon-probe-'));
  const probe = spawnSync(binary, ['serve', `--port=${await freePort()}`, '--offline'], {
    encoding: 'utf8', timeout: 1500, env: { ...process.env, HOME: home },
  });
  rmSync(home, { recursive: true, force: true });
  return !/pas encore disponible/.test(`${probe.stdout}${probe.stderr}`);
}

function freePort() {
  return new Promise((resolvePort, reject) => {
    const probe = createServer();
    probe.once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolvePort(port));
    });
  });
}

// The real server, with a home of its own, waits for "Ouvre http://…/auth?token=…".
async function startRealServer() {
  const home = mkdtempSync(join(tmpdir(), 'mirelon-e2e-home-'));
  mkdirSync(join(home, 'Documents'), { recursive: true });
  const port = await freePort();
  const child = spawn(process.env.MIRELON_BINARY, ['serve', `--port=${port}`, '--offline'], {
    env: { ...process.env, HOME: home, XDG_CONFIG_HOME: join(home, '.config'), XDG_DOCUMENTS_DIR: join(home, 'Documents') },
    stdio: ['ignore', 'pipe', 'pipe'],
  });
  let log = '';
  const authUrl = await new Promise((resolveUrl, reject) => {
    const timer = setTimeout(() => reject(new Error(`mirelon serve did not start:\n${log}`)), 15000);
    const read = (chunk) => {
      log += chunk;
      const match = /Ouvre (http:\/\/localhost:\d+\/auth\?token=[0-9a-f]+)/.exec(log);
      if (match) { clearTimeout(timer); resolveUrl(match[1]); }
    };
    child.stdout.on('data', read);
    child.stderr.on('data', read);
    child.once('exit', (code) => { clearTimeout(timer); reject(new Error(`mirelon serve exited with ${code}:\n${log}`)); });
  });
  return {
    authUrl,
    origin: new URL(authUrl).origin,
    log: () => log,
    async close() {
      child.kill('SIGTERM');
      await new Promise((done) => (child.exitCode !== null ? done() : child.once('exit', done)));
      rmSync(home, { recursive: true, force: true });
    },
  };
}

// The stand-in answers "/api/analyze" for programs it does not know with
// mirelon's own analyser when a build is there ("mirelon analyze FILE").
function commandLineAnalyzer() {
  const binary = process.env.MIRELON_BINARY ?? join(repoDir, 'build', 'mirelon');
  if (!existsSync(binary)) return null;
  return (code) => {
    const folder = mkdtempSync(join(tmpdir(), 'mirelon-analyze-'));
    try {
      writeFileSync(join(folder, 'programme.mir'), code);
      const result = spawnSync(binary, ['analyze', join(folder, 'programme.mir')], { encoding: 'utf8', timeout: 10000 });
      return JSON.parse(result.stdout).diagnostics ?? [];
    } catch {
      return [];
    } finally {
      rmSync(folder, { recursive: true, force: true });
    }
  };
}

export function startServer(options = {}) {
  if (serverKind === 'real') return startRealServer();
  return startMockServer({ assetsDir: join(repoDir, 'assets'), programs: allPrograms, analyzer: commandLineAnalyzer(), ...options });
}

export function launchBrowser() {
  return chromium.launch({
    executablePath: chromiumPath,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run'],
  });
}

// A fresh browser context (its own cookies) with a page that records console
// errors, page errors and policy violations.
export async function openPage(browser, { width = 1366, height = 768 } = {}) {
  const context = await browser.newContext({ viewport: { width, height }, locale: 'fr-FR' });
  const page = await context.newPage();
  const problems = [];
  page.on('console', (message) => { if (message.type() === 'error') problems.push(`console: ${message.text()}`); });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  await page.addInitScript(() => {
    document.addEventListener('securitypolicyviolation', (event) => {
      console.error(`policy violation: ${event.violatedDirective} ${event.blockedURI}`);
    });
  });
  return { context, page, problems };
}

// Authenticates and waits until the editor accepts input.
export async function openWorkbench(browser, server, size) {
  const opened = await openPage(browser, size);
  await opened.page.goto(server.authUrl);
  await opened.page.getByRole('textbox', { name: 'Éditeur de code' }).waitFor();
  return opened;
}

// Replaces the editor's text (the editor is CodeMirror: select all, then type
// is slow for long texts, so the text goes in through the editor's own API).
export async function setProgram(page, text) {
  await page.evaluate((value) => window.Mirelon.editor.setText(value), text);
}

// The texts of the elements a locator finds, once they equal the expected
// ones: lists are redrawn after the server answers, so a check made at once
// may still see the list before the change. Fails with the last texts seen.
export async function waitForTexts(locator, expected, timeoutMs = 5000) {
  const deadline = Date.now() + timeoutMs;
  let texts;
  do {
    texts = await locator.allTextContents();
    if (JSON.stringify(texts) === JSON.stringify(expected)) return;
    await new Promise((resolve) => setTimeout(resolve, 50));
  } while (Date.now() < deadline);
  assert.deepEqual(texts, expected);
}

export async function screenshot(page, name) {
  mkdirSync(screenshotDir, { recursive: true });
  await page.screenshot({ path: join(screenshotDir, `${name}.png`) });
}

// One browser for a test file; workbenchTest(name, body, { allow }) gives each
// test its own server and browser contexts (open(size) opens the workbench),
// and fails on any console error or policy violation not allowed.
export function workbenchTests() {
  let browser;
  before(async () => {
    browser = await launchBrowser();
    console.log(`# end-to-end tests against the ${serverKind} server`);
  });
  after(() => browser?.close());
  function workbenchTest(name, body, { allow = [] } = {}) {
    test(name, async () => {
      const server = await startServer();
      const opened = { contexts: [] };
      try {
        const open = async (size) => {
          const result = await openWorkbench(browser, server, size);
          opened.contexts.push(result);
          return result;
        };
        await body({ server, open, opened, browser });
        for (const { problems } of opened.contexts) {
          assert.deepEqual(problems.filter((problem) => !allow.some((pattern) => pattern.test(problem))), []);
        }
      } finally {
        for (const { context } of opened.contexts) await context.close();
        await server.close();
      }
    });
  }
  return { workbenchTest, browser: () => browser };
}
