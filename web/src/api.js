// The server's JSON API as the page uses it. Every call carries the session
// cookie (same origin); none is cached.

async function send(path, { method = 'GET', body, signal, keepalive = false } = {}) {
  const response = await fetch(path, {
    method,
    signal,
    keepalive,
    cache: 'no-store',
    credentials: 'same-origin',
    headers: body === undefined ? undefined : { 'Content-Type': 'application/json' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  return { status: response.status, ok: response.ok, text: await response.text() };
}

export const api = {
  execute: (body, signal) => send('/api/execute', { method: 'POST', body, signal }),
  abort: () => send('/api/abort', { method: 'POST' }),
  analyze: (code) => send('/api/analyze', { method: 'POST', body: { code } }),
  // "list" is a GET; the other four actions post their object.
  projects: (action, body) => (action === 'list'
    ? send('/api/projects/list')
    : send(`/api/projects/${action}`, { method: 'POST', body })),
};

export async function getJson(path) {
  const answer = await send(path);
  if (!answer.ok) throw new Error(`statut ${answer.status}`);
  return JSON.parse(answer.text);
}

export async function postJson(path, body) {
  const answer = await send(path, { method: 'POST', body, keepalive: true });
  if (!answer.ok) throw new Error(`statut ${answer.status}`);
  return answer;
}
