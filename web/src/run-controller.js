// Runs a program turn by turn: each turn posts the code, the seed and the answer
// to the last question; the server answers with the output printed meanwhile
// and, when the program asks something, the question. The console keeps the
// whole run: each turn's output goes after the question and its answer.

import { readAnswer, messages, formatRunTime } from './answers.js';
import { newSeed } from './prepare.js';
import { parsePrompt } from './prompt.js';

const countdownStep = 1000;

export class RunController {
  // api: execute(body, signal) → {status, text}, abort(); view: the console and
  // status operations listed in console-view.js; clock() → milliseconds.
  constructor({ api, view, timeLimitMs, clock = () => performance.now(), timers = globalThis }) {
    this.api = api;
    this.view = view;
    this.timeLimitMs = timeLimitMs;
    this.clock = clock;
    this.timers = timers;
    this.run = null;
  }

  get running() {
    return this.run !== null;
  }

  // Starts a run of an already prepared, non-empty text; refused while one runs.
  start(code) {
    if (this.running || !code) return false;
    this.run = { code, seed: newSeed(), inputs: [], request: null, question: null };
    this.view.beginRun();
    this.view.setRunning(true);
    this.turn(this.run);
    return true;
  }

  // The stop button: cancels the pending turn, asks the server to stop.
  stop() {
    if (this.running && !this.run.ending) this.finishWithAbort(messages.aborted);
  }

  // "Annuler" beside a question, or Échap in its answer field.
  cancelQuestion() {
    if (this.running && this.run.question && !this.run.ending) this.finishWithAbort(messages.cancelled);
  }

  // The answer to the open question: typed text, or the number of an option or key.
  answer(value, shown = value) {
    const run = this.run;
    if (!run || !run.question) return;
    this.view.answered(run.question.prompt, shown);
    run.question = null;
    run.inputs = [String(value)];
    this.turn(run);
  }

  async turn(run) {
    const request = new AbortController();
    run.request = request;
    const started = this.clock();
    this.startCountdown(run);
    let answer;
    try {
      answer = await this.api.execute({ code: run.code, inputs: run.inputs, seed: run.seed }, request.signal);
    } catch (error) {
      if (request.signal.aborted || this.run !== run) return; // stopped: ends silently
      this.view.error(messages.connection + (error && error.message ? error.message : String(error)), 0);
      return this.finish(run);
    } finally {
      this.stopCountdown(run);
    }
    if (this.run !== run) return;
    run.request = null;
    this.act(run, readAnswer(answer.status, answer.text), this.clock() - started);
  }

  act(run, outcome, elapsed) {
    if (outcome.output) this.view.output(outcome.output);
    switch (outcome.kind) {
      case 'unauthorized':
        this.view.error(messages.unauthorized, 0);
        return this.finish(run);
      case 'aborted':
        this.view.notice(messages.aborted);
        this.view.end(messages.end);
        return this.finish(run);
      case 'error':
        this.view.error(outcome.message, outcome.line);
        return this.finish(run);
      case 'done':
        this.view.end(messages.end);
        this.view.end(formatRunTime(elapsed));
        return this.finish(run);
      default:
        run.question = { prompt: outcome.prompt, parsed: parsePrompt(outcome.prompt) };
        this.view.ask(run.question.parsed);
    }
  }

  async finishWithAbort(message) {
    const run = this.run;
    run.ending = true;
    if (run.request) run.request.abort();
    this.stopCountdown(run);
    this.view.closeQuestion();
    this.view.notice(message);
    this.view.end(messages.end);
    run.question = null;
    // The next run may start only once the server has been told to stop this one.
    try { await this.api.abort(); } catch { /* the run ends on the page anyway */ }
    this.finish(run);
  }

  finish(run) {
    if (this.run !== run) return;
    this.stopCountdown(run);
    this.view.closeQuestion();
    this.run = null;
    this.view.setRunning(false);
  }

  // The status shows the time left for the turn, counting down every second;
  // at 0:00 it waits for the server's time-out answer.
  startCountdown(run) {
    const deadline = this.clock() + this.timeLimitMs;
    this.view.countdown(this.timeLimitMs);
    run.countdown = this.timers.setInterval(() => this.view.countdown(deadline - this.clock()), countdownStep);
  }

  stopCountdown(run) {
    if (run.countdown === undefined) return;
    this.timers.clearInterval(run.countdown);
    run.countdown = undefined;
    this.view.countdown(null);
  }
}
