// Drawings and animations, each inside its own open shadow root: a drawing's
// style sheet and ids reach neither the page nor another drawing. The card
// around the shadow host contains its paint, so not even a fixed position can
// lay a drawing over the page.

const shadowSheetText = ':host{display:block}svg{display:block}:host(.fit) svg{max-width:100%;height:auto}';
let shadowSheet = null;

function sheet() {
  if (!shadowSheet) {
    shadowSheet = new CSSStyleSheet();
    shadowSheet.replaceSync(shadowSheetText);
  }
  return shadowSheet;
}

function drawingCard(label, fit) {
  const card = document.createElement('figure');
  card.className = 'drawing';
  card.setAttribute('role', 'img');
  card.setAttribute('aria-label', label);
  const host = document.createElement('div');
  host.className = fit ? 'drawing-host fit' : 'drawing-host';
  const root = host.attachShadow({ mode: 'open' });
  root.adoptedStyleSheets = [sheet()];
  card.append(host);
  return { card, root };
}

export function renderDrawing(sanitizeSvg, svg, { fit }) {
  const { card, root } = drawingCard('Dessin', fit);
  root.append(sanitizeSvg(svg));
  return card;
}

// The frame shown at each step of an animation of n frames played 1 + repeat
// times: steps 0 … n × (1 + repeat) − 1; after the last one it stays there.
export function animationSteps(frameCount, repeat) {
  return frameCount <= 1 ? 1 : frameCount * (1 + repeat);
}

// Shows the first frame at once and the next one every delay; stops on the
// last frame, or shows it at once when animations are off. Returns the card
// and a stop function for when the console is cleared.
export function renderAnimation(sanitizeSvg, { delay, repeat, frames }, { fit, animate, timers = globalThis }) {
  const { card, root } = drawingCard('Animation', fit);
  const sanitized = frames.map((frame) => sanitizeSvg(frame));
  const steps = animationSteps(sanitized.length, repeat);
  const show = (index) => {
    root.replaceChildren(sanitized[index].cloneNode(true));
  };
  if (!sanitized.length) return { card, stop() {}, finish() {} };
  const last = () => show(sanitized.length - 1);
  if (!animate || steps === 1) {
    if (animate) show(0);
    else last();
    return { card, stop() {}, finish: last };
  }
  let step = 0;
  let timer = null;
  show(0);
  const advance = () => {
    step++;
    show(step % sanitized.length);
    timer = step + 1 < steps ? timers.setTimeout(advance, delay) : null;
  };
  timer = timers.setTimeout(advance, delay);
  const stop = () => { if (timer !== null) timers.clearTimeout(timer); timer = null; };
  // Animations switched off: the last frame at once.
  const finish = () => { if (timer !== null) { stop(); last(); } };
  return { card, stop, finish };
}
