// Analysis as you type, on a fake clock: it waits for the text to rest, never
// analyses during a run, and never lets an older answer replace a newer one.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { LiveAnalysis, restMs } from '../../src/live-analysis.js';
import { restoreWork, keepWork } from '../../src/work-storage.js';

function fakeClock() {
  let now = 0;
  const timers = new Map();
  let next = 1;
  return {
    setTimeout: (fn, ms) => { timers.set(next, { fn, at: now + ms }); return next++; },
    clearTimeout: (id) => timers.delete(id),
    advance(ms) {
      now += ms;
      for (const [id, timer] of [...timers]) if (timer.at <= now) { timers.delete(id); timer.fn(); }
    },
  };
}

function setup({ running = false } = {}) {
  const clock = fakeClock();
  const state = { text: 'affiche 1', running, asked: [], applied: [], answers: [] };
  const live = new LiveAnalysis({
    text: () => state.text,
    analyze: (text) => new Promise((resolve) => { state.asked.push(text); state.answers.push(resolve); }),
    apply: (found) => state.applied.push(found),
    isRunning: () => state.running,
    timers: clock,
  });
  return { clock, state, live };
}
const settle = () => new Promise((done) => setImmediate(done));

test('waits for the text to rest at least half a second; a burst of keys is one analysis', async () => {
  assert.ok(restMs >= 500);
  const { clock, state, live } = setup();
  for (let i = 0; i < 10; i++) { live.changed(); clock.advance(restMs - 1); }
  assert.equal(state.asked.length, 0);
  clock.advance(1);
  assert.deepEqual(state.asked, ['affiche 1']);
  state.answers[0]([{ line: 1, msg: 'x', fatal: true }]);
  await settle();
  assert.deepEqual(state.applied, [[{ line: 1, msg: 'x', fatal: true }]]);
});

test('an answer for an older text, or older than an explicit analysis, is dropped', async () => {
  const { clock, state, live } = setup();
  live.changed();
  clock.advance(restMs);
  live.changed(); // typed while the first answer was on its way
  state.answers[0](['ancien']);
  await settle();
  assert.deepEqual(state.applied, []);
  clock.advance(restMs);
  live.explicit();
  state.answers[1](['avant Analyser']);
  await settle();
  assert.deepEqual(state.applied, [], '"Analyser" keeps its own result');
  live.changed();
  live.explicit();
  clock.advance(restMs * 2);
  assert.equal(state.asked.length, 2, 'an explicit analysis cancels the pending one');
});

test('never during a run: the change waits for the run to end; a failed analysis changes nothing', async () => {
  const { clock, state, live } = setup({ running: true });
  live.changed();
  clock.advance(restMs * 3);
  assert.equal(state.asked.length, 0);
  state.running = false;
  live.runEnded();
  clock.advance(restMs);
  assert.equal(state.asked.length, 1);
  state.answers[0](null);
  await settle();
  assert.deepEqual(state.applied, []);
  live.runEnded();
  clock.advance(restMs);
  assert.equal(state.asked.length, 1, 'nothing waited, nothing more is asked');
  state.text = '   ';
  live.changed();
  clock.advance(restMs);
  assert.deepEqual(state.applied, [[]], 'an empty text clears the marks without asking');
});

test('the kept work: text, current program and saved state come back; anything malformed is ignored', () => {
  const memory = new Map();
  const storage = { getItem: (k) => memory.get(k) ?? null, setItem: (k, v) => memory.set(k, v) };
  assert.deepEqual(restoreWork(storage), { text: null, current: null, saved: false });
  keepWork({ text: 'affiche 1', current: { id: 3, title: 'jeu', category: 'programme' }, saved: true }, storage);
  assert.deepEqual(restoreWork(storage), { text: 'affiche 1', current: { id: 3, title: 'jeu', category: 'programme' }, saved: true });
  memory.set('MirelonProgram', JSON.stringify({ text: 'x', current: { id: 0, title: 'zéro' }, saved: 'oui' }));
  assert.deepEqual(restoreWork(storage), { text: 'x', current: null, saved: false });
  memory.set('MirelonProgram', '{pas du json');
  assert.deepEqual(restoreWork(storage), { text: null, current: null, saved: false });
  const full = { getItem: () => null, setItem: () => { throw new Error('QuotaExceededError'); } };
  assert.doesNotThrow(() => keepWork({ text: 'x', current: null, saved: false }, full));
});
