// Analysis as the pupil types: once the text has rested for a while, it goes
// to "/api/analyze" and the findings mark the editor. Never during a run, and
// an answer that comes back after the text changed, or after an explicit
// "Analyser", is dropped: the newer result stays.

export const restMs = 600;

export class LiveAnalysis {
  // text() → the editor's text; analyze(text) → diagnostics or null
  // (failed); apply(diagnostics) marks the editor; isRunning() tells whether
  // a run is in progress.
  constructor({ text, analyze, apply, isRunning, delay = restMs, timers = globalThis }) {
    this.text = text;
    this.analyze = analyze;
    this.apply = apply;
    this.isRunning = isRunning;
    this.delay = delay;
    this.timers = timers;
    this.timer = null;
    this.version = 0;
    this.waiting = false;
  }

  // The text changed: wait for it to rest again.
  changed() {
    this.version++;
    this.cancelTimer();
    this.timer = this.timers.setTimeout(() => this.fire(), this.delay);
  }

  // An explicit analysis is under way: whatever is pending loses.
  explicit() {
    this.version++;
    this.cancelTimer();
  }

  // A run ended: a change that waited for it is analysed now.
  runEnded() {
    if (this.waiting) this.changed();
  }

  async fire() {
    this.timer = null;
    if (this.isRunning()) {
      this.waiting = true;
      return;
    }
    this.waiting = false;
    const version = this.version;
    const text = this.text();
    if (!text || !text.trim()) {
      this.apply([]);
      return;
    }
    const diagnostics = await this.analyze(text);
    if (diagnostics && version === this.version) this.apply(diagnostics);
  }

  cancelTimer() {
    if (this.timer !== null) this.timers.clearTimeout(this.timer);
    this.timer = null;
  }
}
