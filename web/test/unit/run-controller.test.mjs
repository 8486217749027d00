// The turn loop against a scripted server: requests sent, what the console
// shows, and how stopping and cancelling end a run.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { RunController } from '../../src/run-controller.js';

function scriptedServer(answers) {
  const requests = [];
  let aborts = 0;
  const api = {
    async execute(body, signal) {
      requests.push(structuredClone(body));
      const next = answers.shift();
      if (next === 'hang') {
        return new Promise((resolve, reject) => signal.addEventListener('abort', () => reject(new Error('aborted'))));
      }
      if (next instanceof Error) throw next;
      return { status: next.status ?? 200, text: typeof next.body === 'string' ? next.body : JSON.stringify(next.body) };
    },
    async abort() { aborts++; },
  };
  return { api, requests, aborts: () => aborts };
}

function recordingView() {
  const shown = [];
  const view = { shown, question: null, running: [] };
  for (const name of ['beginRun', 'output', 'notice', 'end', 'error', 'answered', 'countdown', 'closeQuestion']) {
    view[name] = (...args) => { if (name !== 'countdown' && name !== 'closeQuestion') shown.push([name, ...args]); };
  }
  view.ask = (parsed) => { view.question = parsed; shown.push(['ask', parsed.kind]); };
  view.setRunning = (running) => view.running.push(running);
  return view;
}

const settle = () => new Promise((resolve) => setTimeout(resolve, 0));
const fakeTimers = { setInterval: () => 1, clearInterval: () => {} };

function controllerFor(answers) {
  const server = scriptedServer(answers);
  const view = recordingView();
  let now = 0;
  const controller = new RunController({ api: server.api, view, timeLimitMs: 120000, clock: () => (now += 5), timers: fakeTimers });
  return { controller, server, view };
}

test('two questions: three requests with the same code and seed, all output kept', async () => {
  const { controller, server, view } = controllerFor([
    { body: { needInput: true, prompt: 'Nom ?', output: 'Bonjour\r\n' } },
    { body: { needInput: true, prompt: '\u0001CHOISIR\u0001A\u0001B', output: 'Salut Ada\r\n' } },
    { body: { done: true, output: 'B choisi\r\n' } },
  ]);
  assert.equal(controller.start('demande nom\n...'), true);
  await settle();
  controller.answer('Ada');
  await settle();
  assert.equal(view.question.kind, 'choice');
  controller.answer(2, 'B');
  await settle();
  assert.equal(server.requests.length, 3);
  const [first, second, third] = server.requests;
  assert.deepEqual(first.inputs, []);
  assert.deepEqual(second.inputs, ['Ada']);
  assert.deepEqual(third.inputs, ['2']);
  assert.ok(server.requests.every((r) => r.code === first.code && r.seed === first.seed && Number.isInteger(r.seed)));
  assert.deepEqual(view.shown.filter(([kind]) => kind !== 'ask'), [
    ['beginRun'], ['output', 'Bonjour\r\n'], ['answered', 'Nom ?', 'Ada'],
    ['output', 'Salut Ada\r\n'], ['answered', '\u0001CHOISIR\u0001A\u0001B', 'B'],
    ['output', 'B choisi\r\n'], ['end', 'Fin du programme'], ['end', 'Interprété en 0,010 seconde'],
  ]);
  assert.deepEqual(view.running, [true, false]);
});

test('an error shows the output printed before it, then its message and line', async () => {
  const { controller, view } = controllerFor([
    { status: 400, body: { error: 'Ligne 3: Division par zéro', errorLine: 3, output: 'a\r\nb\r\n' } },
  ]);
  controller.start('x');
  await settle();
  assert.deepEqual(view.shown.slice(1), [['output', 'a\r\nb\r\n'], ['error', 'Ligne 3: Division par zéro', 3]]);
  assert.equal(controller.running, false);
});

test('no second run while one runs; an empty text starts nothing', async () => {
  const { controller, server } = controllerFor(['hang']);
  assert.equal(controller.start(''), false);
  assert.equal(controller.start('a'), true);
  assert.equal(controller.start('b'), false);
  await settle();
  assert.equal(server.requests.length, 1);
});

test('stop during a long turn cancels it silently and tells the server once', async () => {
  const { controller, server, view } = controllerFor(['hang']);
  controller.start('tant que vrai');
  await settle();
  controller.stop();
  controller.stop();
  await settle();
  assert.equal(server.aborts(), 1);
  assert.deepEqual(view.shown.slice(1), [['notice', "Exécution interrompue par l'utilisateur."], ['end', 'Fin du programme']]);
  assert.equal(controller.running, false);
});

test('cancelling a question aborts the run; the next run is a new one', async () => {
  const { controller, server, view } = controllerFor([
    { body: { needInput: true, prompt: 'Nom ?', output: '' } },
    { body: { done: true, output: '' } },
  ]);
  controller.start('v1');
  await settle();
  controller.cancelQuestion();
  assert.equal(controller.start('v2'), false, 'not before the server was told');
  await settle();
  assert.deepEqual(view.shown.slice(2), [['notice', "Saisie annulée par l'utilisateur."], ['end', 'Fin du programme']]);
  assert.equal(controller.start('v2'), true);
  await settle();
  assert.equal(server.requests[1].code, 'v2');
  assert.deepEqual(server.requests[1].inputs, []);
  assert.notEqual(server.requests[1].seed, undefined);
});

test('connection failures, refused sessions and answers that are not JSON end the run', async () => {
  for (const [answer, expected] of [
    [new TypeError('Failed to fetch'), ['error', 'Erreur de connexion : Failed to fetch', 0]],
    [{ status: 401, body: '{"error":"x"}' }, ['error', 'Accès refusé : Session expirée ou invalide.', 0]],
    [{ status: 500, body: 'JSON invalide' }, ['error', 'Erreur du serveur (statut 500) : JSON invalide', 0]],
    [{ body: { aborted: true, output: 'fin\r\n' } }, ['end', 'Fin du programme']],
  ]) {
    const { controller, view } = controllerFor([answer]);
    controller.start('x');
    await settle();
    assert.deepEqual(view.shown[view.shown.length - 1], expected);
    assert.equal(controller.running, false);
  }
});
