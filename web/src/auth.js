// Start-up of the workbench: the tab asks the server whether it may own the
// workbench, then loads the main script with the session cookie and runs it.
// A heartbeat keeps the ownership every 5 seconds; leaving the page releases it.

const heartbeatMs = 5000;
const instanceId = typeof crypto !== 'undefined' && typeof crypto.randomUUID === 'function'
  ? crypto.randomUUID()
  : `${Date.now()}${Math.random().toString(36).slice(2)}`;
const pingUrl = `/api/ping?instanceId=${encodeURIComponent(instanceId)}`;

function ping() {
  return fetch(pingUrl, { cache: 'no-store', credentials: 'same-origin' });
}

// Replaces the whole page with a notice: a title and its paragraphs, as text.
function showNotice(title, paragraphs) {
  const box = document.createElement('main');
  box.className = 'notice';
  const heading = document.createElement('h1');
  heading.textContent = title;
  box.append(heading);
  for (const text of paragraphs) {
    const paragraph = document.createElement('p');
    paragraph.textContent = text;
    box.append(paragraph);
  }
  document.title = `${title} — Mirelon`;
  document.body.className = 'notice-page';
  document.body.replaceChildren(box);
}

function showAlreadyOpen() {
  showNotice('Mirelon est déjà ouvert', [
    "L'interface est déjà utilisée dans un autre onglet ou une autre fenêtre.",
    'Ferme les autres onglets, puis recharge cette page.',
  ]);
}

function showInvalidSession() {
  showNotice('Session invalide', [
    'Cette page n’a pas de session authentifiée.',
    'Clique sur « Go ! Mirelon » dans l’application pour ouvrir une session authentifiée.',
  ]);
}

let heartbeat = null;

function startHeartbeat() {
  heartbeat = setInterval(async () => {
    try {
      const answer = await ping();
      if (answer.status === 409) {
        clearInterval(heartbeat);
        showAlreadyOpen();
      }
    } catch { /* a missed heartbeat is retried at the next one */ }
  }, heartbeatMs);
}

// The main script is fetched with the cookie and run once from a blob: URL,
// which the page's policy allows for scripts.
async function loadApp() {
  let text;
  try {
    const answer = await fetch('/app.js', { cache: 'no-store', credentials: 'same-origin' });
    if (!answer.ok) return showInvalidSession();
    text = await answer.text();
  } catch {
    return showInvalidSession();
  }
  const url = URL.createObjectURL(new Blob([text], { type: 'application/javascript' }));
  const script = document.createElement('script');
  script.src = url;
  script.addEventListener('load', () => URL.revokeObjectURL(url));
  document.head.append(script);
}

async function startUp() {
  let answer;
  try {
    answer = await ping();
  } catch {
    return showInvalidSession();
  }
  if (answer.status === 409) return showAlreadyOpen();
  if (!answer.ok) return showInvalidSession();
  let minutes = 2;
  try {
    const body = await answer.json();
    if (Number.isFinite(body.stoppingMinutes) && body.stoppingMinutes > 0) minutes = body.stoppingMinutes;
  } catch { /* the default limit applies */ }
  window.MirelonSession = { instanceId, stoppingMinutes: minutes, timeLimitMs: minutes * 60 * 1000 };
  startHeartbeat();
  await loadApp();
}

window.addEventListener('pagehide', () => {
  navigator.sendBeacon(`/api/release?instanceId=${encodeURIComponent(instanceId)}`);
});

startUp();
