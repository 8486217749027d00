// A stand-in for "mirelon serve" for the page's tests: the same routes, cookie,
// single-tab guard and page policy, serving assets/ minified by the port of the
// server's minifier. It cannot interpret programs: each program the tests run
// comes with the turns the real server answers for it (see e2e/programs.mjs).

import { createServer } from 'node:http';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { randomBytes } from 'node:crypto';
import { minifyScript, minifyStyleSheet } from './state-machine-minifier.mjs';

export const pagePolicy = "default-src 'none'; script-src 'self' blob:; style-src 'self' 'unsafe-inline'; " +
  "img-src 'self' data: blob: http: https:; font-src 'self' data:; connect-src 'self'; base-uri 'none'; " +
  "form-action 'none'; frame-ancestors 'none'";

const files = {
  '/': ['app.html', 'text/html; charset=utf-8'],
  '/app.html': ['app.html', 'text/html; charset=utf-8'],
  '/fonts.css': ['fonts.css', 'text/css; charset=utf-8'],
  '/pattern.svg': ['pattern.svg', 'image/svg+xml'],
  '/app.css': ['app.css', 'text/css; charset=utf-8'],
  '/favicon.ico': ['favicon.ico', 'image/x-icon'],
  '/auth.js': ['auth.js', 'application/javascript; charset=utf-8'],
  '/help.js': ['help.js', 'application/javascript; charset=utf-8'],
  '/emoji.js': ['emoji.js', 'application/javascript; charset=utf-8'],
  '/icons.js': ['icons.js', 'application/javascript; charset=utf-8'],
  '/app.js': ['app.js', 'application/javascript; charset=utf-8'],
  '/background.svg': ['background.svg', 'image/svg+xml'],
};

// Minified once per file and process, as the real server caches them.
const minified = new Map();
function minifiedFile(path, minify) {
  if (!minified.has(path)) minified.set(path, minify(readFileSync(path, 'utf8')));
  return minified.get(path);
}

// The projects API on an in-memory storage, with the real server's answers:
// statuses, messages and the order of members.
const bodyLimit = 524288;
const taken = (entries, title, category, exceptId) => {
  const fold = (text) => text.trim().replace(/[A-Z]/g, (c) => c.toLowerCase());
  const wanted = fold(category) || 'programme';
  return entries.some((entry) => !(exceptId !== 0 && (Number.isInteger(entry.id) ? entry.id : -1) === exceptId) &&
    (fold(entry.categorie ?? '') || 'programme') === wanted && typeof entry.titre === 'string' && fold(entry.titre) === fold(title));
};
const categoryOf = (entry) => (typeof entry.categorie === 'string' && entry.categorie.trim() ? entry.categorie : 'programme');

function projects(action, request, body, entries) {
  if (action === 'list') {
    return [200, { ok: true, programmes: entries.map((e) => ({ id: e.id ?? 0, titre: e.titre ?? '', categorie: categoryOf(e) })) }];
  }
  if (Number(request.headers['content-length'] ?? 0) > bodyLimit) return [413, { ok: false, error: 'Payload too large' }];
  let data;
  try { data = JSON.parse(body); } catch { return [400, { ok: false, error: 'JSON invalide' }]; }
  if (!data || typeof data !== 'object' || Array.isArray(data)) return [500, 'type must be object'];
  const hasId = Number.isInteger(data.id);
  const index = entries.findIndex((e) => e.id === data.id);
  const missing = (name) => [400, { ok: false, error: `Champ "${name}" manquant` }];
  const notFound = [404, { ok: false, error: 'Programme introuvable' }];
  const empty = [400, { ok: false, error: 'Le titre ne peut pas être vide.' }];
  const inUse = [409, { ok: false, error: 'Un élément porte déjà ce titre.' }];
  switch (action) {
    case 'load': {
      if (!hasId) return missing('id');
      if (index < 0) return notFound;
      const e = entries[index];
      return [200, { ok: true, id: e.id, titre: e.titre ?? '', categorie: categoryOf(e), code: e.code ?? '' }];
    }
    case 'del':
      if (!hasId) return missing('id');
      if (index < 0) return notFound;
      entries.splice(index, 1);
      return [200, { ok: true }];
    case 'rem': {
      if (!hasId) return missing('id');
      if (typeof data.titre !== 'string') return missing('titre');
      const title = data.titre.trim();
      if (!title) return empty;
      if (index < 0) return notFound;
      if (taken(entries, title, categoryOf(entries[index]), data.id)) return inUse;
      const { titre, ...rest } = entries[index];
      entries[index] = { ...rest, titre: title };
      return [200, { ok: true, id: data.id, titre: title }];
    }
    case 'save': {
      if (typeof data.code !== 'string') return missing('code');
      const id = hasId ? data.id : 0;
      if (id >= 1) {
        if (index < 0) return notFound;
        const { code, ...rest } = entries[index];
        entries[index] = { ...rest, code: data.code };
        return [200, { ok: true, id, titre: entries[index].titre, categorie: categoryOf(entries[index]) }];
      }
      if (typeof data.titre !== 'string') return missing('titre');
      const title = data.titre.trim();
      if (!title) return empty;
      const category = (typeof data.categorie === 'string' ? data.categorie.trim() : '') || 'programme';
      if (taken(entries, title, category, 0)) return inUse;
      const newId = Math.max(0, ...entries.map((e) => e.id ?? 0)) + 1;
      entries.push({ id: newId, titre: title, categorie: category, code: data.code });
      return [200, { ok: true, id: newId, titre: title, categorie: category }];
    }
    default:
      return [404, 'Not found'];
  }
}

export function startMockServer({ assetsDir, programs = [], stoppingMinutes = 2, analyzer = null }) {
  const token = randomBytes(32).toString('hex');
  const byCode = new Map(programs.map((program) => [program.code, program]));
  const state = { owner: '', lastPing: 0, session: null, options: '{}', entries: [] };

  const send = (response, status, body, type = 'application/json; charset=utf-8', headers = {}) => {
    response.writeHead(status, { 'Content-Type': type, 'X-Content-Type-Options': 'nosniff', 'X-Frame-Options': 'DENY',
      'Referrer-Policy': 'no-referrer', ...headers });
    response.end(body);
  };
  const authenticated = (request) => (request.headers.cookie ?? '').split(';')
    .some((piece) => piece.trim() === `mirelon_session=${token}`);

  function serveFile(request, response, route) {
    const [name, type] = files[route];
    if (route === '/app.js' && !authenticated(request)) {
      return send(response, 401, '{"error":"Session invalide. Relance Mirelon."}', undefined, { 'Cache-Control': 'no-store' });
    }
    const path = join(assetsDir, name);
    const body = name.endsWith('.js') ? minifiedFile(path, minifyScript)
      : name.endsWith('.css') ? minifiedFile(path, minifyStyleSheet) : readFileSync(path);
    const headers = { 'Cache-Control': 'no-store' };
    if (name === 'app.html') headers['Content-Security-Policy'] = pagePolicy;
    send(response, 200, body, type, headers);
  }

  function ping(url, response) {
    const id = url.searchParams.get('instanceId') ?? '';
    if (state.owner && Date.now() - state.lastPing > 15000) state.owner = '';
    if (!state.owner || state.owner === id) {
      state.owner = id;
      state.lastPing = Date.now();
      return send(response, 200, JSON.stringify({ ok: true, stoppingMinutes }));
    }
    send(response, 409, '{"error":"already_open"}');
  }

  // One turn: a resumed session takes the next scripted turn; otherwise the
  // code picks the program. A "hang" turn waits for an abort.
  function execute(body, response) {
    let request;
    try { request = JSON.parse(body); } catch { return send(response, 500, 'JSON invalide', 'text/plain; charset=utf-8'); }
    let session = state.session;
    if (!session || session.state !== 'waiting') {
      if (typeof request.code !== 'string') return send(response, 500, 'Champ "code" manquant', 'text/plain; charset=utf-8');
      const program = byCode.get(request.code);
      const turns = program ? program.turns : [{ error: 'Programme inconnu du serveur de test', output: '' }];
      session = state.session = { turns: [...turns], state: 'running', wake: null };
    }
    session.state = 'running';
    const turn = session.turns.shift() ?? { done: true, output: '' };
    const answer = () => {
      if (turn.error) return send(response, 400, JSON.stringify({ error: turn.error, ...(turn.errorLine ? { errorLine: turn.errorLine } : {}), output: turn.output ?? '' }));
      if (turn.prompt !== undefined) {
        session.state = 'waiting';
        return send(response, 200, JSON.stringify({ needInput: true, prompt: turn.prompt, output: turn.output ?? '' }));
      }
      state.session = null;
      send(response, 200, JSON.stringify({ done: true, output: turn.output ?? '' }));
    };
    if (!turn.hang) return answer();
    session.wake = () => {
      state.session = null;
      send(response, 200, JSON.stringify({ aborted: true, output: turn.output ?? '' }));
    };
  }

  function abort(response) {
    const session = state.session;
    if (session) {
      if (session.wake) session.wake();
      else session.state = 'aborted';
    }
    send(response, 200, '{"aborted":true}', 'application/json');
  }

  const server = createServer((request, response) => {
    const url = new URL(request.url, 'http://localhost');
    const chunks = [];
    request.on('data', (chunk) => chunks.push(chunk));
    request.on('end', () => {
      const body = Buffer.concat(chunks).toString('utf8');
      const route = `${request.method} ${url.pathname}`;
      if (route === 'GET /auth') {
        if (url.searchParams.get('token') !== token) return send(response, 403, '{"error":"Token invalide"}');
        return send(response, 302, '', 'text/plain', { Location: '/', 'Set-Cookie': `mirelon_session=${token}; Path=/; HttpOnly; SameSite=Lax` });
      }
      if (route === 'GET /api/ping' || route === 'POST /api/release') {
        if (!authenticated(request)) return send(response, 401, '{"error":"Non authentifié"}');
        if (route === 'GET /api/ping') return ping(url, response);
        if (url.searchParams.get('instanceId') === state.owner) state.owner = '';
        response.writeHead(204);
        return response.end();
      }
      if (request.method === 'GET' && files[url.pathname]) return serveFile(request, response, url.pathname);
      if (!authenticated(request)) return send(response, 401, '{"error":"Session invalide. Relance Mirelon."}');
      if (route === 'GET /api/options') return send(response, 200, state.options);
      if (route === 'POST /api/options') { state.options = body; return send(response, 200, '{"ok":true}'); }
      if (route === 'POST /api/execute') return execute(body, response);
      if (route === 'POST /api/abort') return abort(response);
      if (route === 'POST /api/analyze') {
        const code = JSON.parse(body).code;
        const diagnostics = byCode.get(code)?.diagnostics ?? (analyzer ? analyzer(code) : []);
        return send(response, 200, JSON.stringify({ diagnostics, ok: diagnostics.length === 0 }));
      }
      const project = /^\/api\/projects\/(list|save|rem|del|load)$/.exec(url.pathname);
      if (project && request.method === (project[1] === 'list' ? 'GET' : 'POST')) {
        const [status, answer] = projects(project[1], request, body, state.entries);
        if (typeof answer === 'string') return send(response, status, answer, 'text/plain; charset=utf-8');
        return send(response, status, JSON.stringify(answer));
      }
      send(response, 404, 'Not found', 'text/plain; charset=utf-8');
    });
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      resolve({
        origin: `http://localhost:${port}`,
        authUrl: `http://localhost:${port}/auth?token=${token}`,
        close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
      });
    });
  });
}
