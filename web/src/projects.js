// The pupil's stored programs through "/api/projects/…": which program is
// current, saving it (under its id, or under a new title), opening, renaming,
// deleting, and the lists the panel shows. Pure apart from the request
// function it is given.
//
// The server gives the id of a deleted entry to the next entry it creates, so
// a page that kept a deleted id would overwrite someone else's program: the
// current program is forgotten when it is deleted, and a save under an id the
// server no longer knows asks for a title instead.

import { fold } from '../content/help-search.mjs';
import { messages } from './answers.js';

export const programCategory = 'programme';
export const snippetCategory = 'bibliotheque';
const titleLength = 50;

// A title as typed, reduced to what titles may hold: ASCII letters and digits,
// "_", "-", the space and the lower-case French accented letters; trimmed and
// cut to 50 characters.
export function filterTitle(typed) {
  const kept = String(typed ?? '').replace(/[^A-Za-z0-9_\- àâäéèêëùûüîïôöçœæ]/g, '');
  return kept.trim().slice(0, titleLength).trimEnd();
}

export function categoryOf(entry) {
  const category = typeof entry?.categorie === 'string' ? entry.categorie.trim() : '';
  return category || programCategory;
}

// The entries grouped by category (programs, then snippets, then any other),
// each group sorted by title, keeping those whose title contains the search
// text (accents and case ignored).
export function groupPrograms(entries, query = '') {
  const wanted = fold(query);
  const groups = new Map([[programCategory, []], [snippetCategory, []]]);
  for (const entry of Array.isArray(entries) ? entries : []) {
    const title = String(entry?.titre ?? '');
    if (wanted && !fold(title).includes(wanted)) continue;
    const category = categoryOf(entry);
    if (!groups.has(category)) groups.set(category, []);
    groups.get(category).push({ id: Number(entry.id) || 0, title, category });
  }
  const byTitle = (a, b) => a.title.localeCompare(b.title, 'fr', { sensitivity: 'base', numeric: true }) || a.id - b.id;
  const others = [...groups.keys()].filter((c) => c !== programCategory && c !== snippetCategory).sort();
  return [programCategory, snippetCategory, ...others].map((category) => ({ category, entries: groups.get(category).sort(byTitle) }));
}

// One answer of the projects API: { ok, body } or { ok: false, error,
// status }; "ok": false in the body, or a status that is not a success, is an
// error whose text is the body's "error".
export function readProjectAnswer(status, text) {
  let body = null;
  try { body = JSON.parse(text); } catch { /* read below as an error */ }
  const isObject = body && typeof body === 'object' && !Array.isArray(body);
  if (status >= 200 && status < 300 && isObject && body.ok !== false) return { ok: true, body };
  const error = isObject && typeof body.error === 'string' ? body.error : `Erreur du serveur (statut ${status}).`;
  return { ok: false, status, error };
}

export const projectMessages = {
  titleTaken: 'Ce titre est déjà utilisé : choisis-en un autre.',
  titleEmpty: 'Donne un titre (lettres, chiffres, espaces, - ou _).',
  gone: 'Ce programme n’existe plus sur le serveur : donne-lui un titre pour l’enregistrer à nouveau.',
};

function failure(outcome) {
  return { ok: false, error: outcome.status === 409 ? projectMessages.titleTaken : outcome.error, status: outcome.status };
}

export class StoredPrograms {
  // request(action, body) → { status, text } for "/api/projects/<action>".
  constructor(request) {
    this.request = request;
    this.current = null; // { id, title, category }
    this.savedText = null;
  }

  // A network failure is an answer too, so no action ever throws.
  async call(action, body) {
    try {
      const answer = await this.request(action, body);
      return readProjectAnswer(answer.status, answer.text);
    } catch (error) {
      return { ok: false, status: 0, error: messages.connection + (error?.message ?? String(error)) };
    }
  }

  isModified(text) {
    return this.savedText === null ? text.trim() !== '' : text !== this.savedText;
  }

  forget() {
    this.current = null;
    this.savedText = null;
  }

  async list() {
    const outcome = await this.call('list');
    if (!outcome.ok) return failure(outcome);
    return { ok: true, entries: Array.isArray(outcome.body.programmes) ? outcome.body.programmes : [] };
  }

  // Saves the current program under its id; without one (or when the server
  // no longer has it) the answer asks for a title.
  async save(code) {
    if (!this.current) return { ok: false, needTitle: true };
    const outcome = await this.call('save', { id: this.current.id, code });
    if (outcome.ok) {
      this.savedText = code;
      return { ok: true, entry: this.current };
    }
    if (outcome.status === 404) {
      this.forget();
      return { ok: false, needTitle: true, error: projectMessages.gone };
    }
    return failure(outcome);
  }

  // A new entry under a title as typed. A program becomes the current one; a
  // snippet (category "bibliotheque") leaves the current program as it is.
  async saveAs(typedTitle, code, category = programCategory) {
    const title = filterTitle(typedTitle);
    if (!title) return { ok: false, error: projectMessages.titleEmpty, title };
    const body = category === programCategory ? { titre: title, code } : { titre: title, code, categorie: category };
    const outcome = await this.call('save', body);
    if (!outcome.ok) return { ...failure(outcome), title };
    const entry = { id: outcome.body.id, title: String(outcome.body.titre ?? title), category: categoryOf(outcome.body) };
    if (category === programCategory) {
      this.current = entry;
      this.savedText = code;
    }
    return { ok: true, entry, title };
  }

  async load(id) {
    const outcome = await this.call('load', { id });
    if (!outcome.ok) return failure(outcome);
    const body = outcome.body;
    const entry = { id: body.id, title: String(body.titre ?? ''), category: categoryOf(body) };
    return { ok: true, entry, code: typeof body.code === 'string' ? body.code : '' };
  }

  // Opening a program makes it current; its code is what was last saved.
  async open(id) {
    const loaded = await this.load(id);
    if (loaded.ok) {
      this.current = loaded.entry;
      this.savedText = loaded.code;
    }
    return loaded;
  }

  async rename(id, typedTitle) {
    const title = filterTitle(typedTitle);
    if (!title) return { ok: false, error: projectMessages.titleEmpty, title };
    const outcome = await this.call('rem', { id, titre: title });
    if (!outcome.ok) return { ...failure(outcome), title };
    const newTitle = String(outcome.body.titre ?? title);
    if (this.current?.id === id) this.current = { ...this.current, title: newTitle };
    return { ok: true, title: newTitle };
  }

  async remove(id) {
    const outcome = await this.call('del', { id });
    // Gone either way: an entry the server no longer has is no current program.
    if (this.current?.id === id && (outcome.ok || outcome.status === 404)) this.forget();
    if (!outcome.ok) return failure(outcome);
    return { ok: true };
  }
}
