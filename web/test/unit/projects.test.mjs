// Stored programs: the title filter, the panel's groups, and the save flow
// against a fake server that behaves like the real one (ids reused after a
// delete of the highest, titles unique per category ignoring ASCII case).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { filterTitle, groupPrograms, readProjectAnswer, StoredPrograms, projectMessages } from '../../src/projects.js';

test('title filter: allowed characters only, upper-case accents removed, trimmed, 50 characters', () => {
  assert.equal(filterTitle('  Mon jeu : devinette !  '), 'Mon jeu  devinette');
  assert.equal(filterTitle('Élève été ÇA œuvre æ'), 'lève été A œuvre æ');
  assert.equal(filterTitle('tab\there\nnew_line-2'), 'tabherenew_line-2');
  assert.equal(filterTitle('😀🎉'), '');
  assert.equal(filterTitle(null), '');
  assert.equal(filterTitle('a'.repeat(60)), 'a'.repeat(50));
  assert.equal(filterTitle(`${'b'.repeat(49)} c`), 'b'.repeat(49), 'a cut that ends on a blank is trimmed');
  assert.equal(filterTitle(`   ${'d'.repeat(50)}x`), 'd'.repeat(50), 'trimmed before the cut');
});

test('groups: programs, then snippets, then other categories; sorted by title; searched without accents', () => {
  const entries = [
    { id: 3, titre: 'zèbre', categorie: 'programme' },
    { id: 1, titre: 'Étoile', categorie: '' },
    { id: 2, titre: 'abeille' },
    { id: 4, titre: 'boucle', categorie: 'bibliotheque' },
    { id: 5, titre: 'x', categorie: ' perso ' },
    { id: 6, titre: 'Jeu 10' }, { id: 7, titre: 'Jeu 9' },
  ];
  const groups = groupPrograms(entries);
  assert.deepEqual(groups.map((g) => [g.category, g.entries.map((e) => e.title)]),
    [['programme', ['abeille', 'Étoile', 'Jeu 9', 'Jeu 10', 'zèbre']], ['bibliotheque', ['boucle']], ['perso', ['x']]]);
  assert.deepEqual(groupPrograms(entries, 'ETOI')[0].entries.map((e) => e.id), [1]);
  assert.deepEqual(groupPrograms(entries, 'zzz').map((g) => g.entries.length), [0, 0]);
  assert.deepEqual(groupPrograms(null), [{ category: 'programme', entries: [] }, { category: 'bibliotheque', entries: [] }]);
});

test('answers: "ok" false or a failing status is an error with the server\'s text', () => {
  assert.deepEqual(readProjectAnswer(200, '{"ok":true,"id":2}'), { ok: true, body: { ok: true, id: 2 } });
  assert.deepEqual(readProjectAnswer(200, '{"ok":false,"error":"non"}'), { ok: false, status: 200, error: 'non' });
  assert.deepEqual(readProjectAnswer(404, '{"ok":false,"error":"Programme introuvable"}'), { ok: false, status: 404, error: 'Programme introuvable' });
  assert.equal(readProjectAnswer(500, 'boom').error, 'Erreur du serveur (statut 500).');
  assert.equal(readProjectAnswer(200, '[1]').ok, false);
});

// The storage of the projects API, in memory.
function fakeServer() {
  const entries = [];
  const sent = [];
  const answer = (status, body) => ({ status, text: JSON.stringify(body) });
  const fail = (status, error) => answer(status, { ok: false, error });
  const taken = (title, category, except) => entries.some((e) => e.id !== except && e.categorie === category &&
    e.titre.trim().toLowerCase() === title.trim().toLowerCase());
  const request = async (action, body = {}) => {
    sent.push([action, body]);
    const index = entries.findIndex((e) => e.id === body.id);
    switch (action) {
      case 'list': return answer(200, { ok: true, programmes: entries.map(({ id, titre, categorie }) => ({ id, titre, categorie })) });
      case 'load': return index < 0 ? fail(404, 'Programme introuvable') : answer(200, { ok: true, ...entries[index] });
      case 'del':
        if (index < 0) return fail(404, 'Programme introuvable');
        entries.splice(index, 1);
        return answer(200, { ok: true });
      case 'rem':
        if (index < 0) return fail(404, 'Programme introuvable');
        if (taken(body.titre, entries[index].categorie, body.id)) return fail(409, 'Un élément porte déjà ce titre.');
        entries[index].titre = body.titre.trim();
        return answer(200, { ok: true, id: body.id, titre: entries[index].titre });
      default: {
        if ((body.id ?? 0) >= 1) {
          if (index < 0) return fail(404, 'Programme introuvable');
          entries[index].code = body.code;
          return answer(200, { ok: true, id: body.id, titre: entries[index].titre, categorie: entries[index].categorie });
        }
        const categorie = (body.categorie ?? '').trim() || 'programme';
        if (taken(body.titre, categorie, 0)) return fail(409, 'Un élément porte déjà ce titre.');
        const id = Math.max(0, ...entries.map((e) => e.id)) + 1;
        entries.push({ id, titre: body.titre.trim(), categorie, code: body.code });
        return answer(200, { ok: true, id, titre: body.titre.trim(), categorie });
      }
    }
  };
  return { entries, sent, request };
}

test('save: a new program needs a title, then saves under its id; modified follows the text', async () => {
  const server = fakeServer();
  const store = new StoredPrograms(server.request);
  assert.equal(store.isModified('  '), false);
  assert.equal(store.isModified('affiche 1'), true);
  assert.deepEqual(await store.save('affiche 1'), { ok: false, needTitle: true });
  assert.equal(server.sent.length, 0);
  const created = await store.saveAs(' Mon jeu ! ', 'affiche 1');
  assert.equal(created.ok, true);
  assert.deepEqual(server.sent.at(-1), ['save', { titre: 'Mon jeu', code: 'affiche 1' }]);
  assert.deepEqual(store.current, { id: 1, title: 'Mon jeu', category: 'programme' });
  assert.equal(store.isModified('affiche 1'), false);
  assert.equal((await store.save('affiche 2')).ok, true);
  assert.deepEqual(server.sent.at(-1), ['save', { id: 1, code: 'affiche 2' }]);
  assert.equal(server.entries[0].code, 'affiche 2');
  assert.deepEqual(await store.saveAs('MON JEU', 'x'), { ok: false, error: projectMessages.titleTaken, status: 409, title: 'MON JEU' });
  assert.deepEqual(await store.saveAs('!!!', 'x'), { ok: false, error: projectMessages.titleEmpty, title: '' });
  assert.equal(server.sent.length, 3, 'an empty title is never sent');
});

test('a snippet goes to "bibliotheque" and leaves the current program alone', async () => {
  const server = fakeServer();
  const store = new StoredPrograms(server.request);
  await store.saveAs('jeu', 'affiche 1');
  const snippet = await store.saveAs('jeu', 'pour i de 1 à 3', 'bibliotheque');
  assert.equal(snippet.ok, true, 'the same title in another category is free');
  assert.deepEqual(server.sent.at(-1), ['save', { titre: 'jeu', code: 'pour i de 1 à 3', categorie: 'bibliotheque' }]);
  assert.equal(store.current.id, 1);
});

test('the deleted id: deleting the current program forgets it, so the next save cannot overwrite a newer entry', async () => {
  const server = fakeServer();
  const store = new StoredPrograms(server.request);
  await store.saveAs('premier', 'affiche 1');
  assert.equal((await store.remove(1)).ok, true);
  assert.equal(store.current, null);
  // Another entry now gets id 1 on the server.
  await new StoredPrograms(server.request).saveAs('autre', 'affiche "autre"');
  assert.deepEqual(await store.save('affiche 1 modifié'), { ok: false, needTitle: true });
  assert.equal(server.entries[0].code, 'affiche "autre"');
});

test('the deleted id: a save answered 404 becomes a save under a new title', async () => {
  const server = fakeServer();
  const store = new StoredPrograms(server.request);
  await store.saveAs('ancien', 'affiche 1');
  server.entries.length = 0; // deleted by another tool meanwhile
  const saved = await store.save('affiche 2');
  assert.deepEqual(saved, { ok: false, needTitle: true, error: projectMessages.gone });
  assert.equal(store.current, null);
  assert.equal((await store.saveAs('nouveau', 'affiche 2')).entry.id, 1);
  assert.equal(store.current.title, 'nouveau');
});

test('open, rename and delete: the current program follows', async () => {
  const server = fakeServer();
  const store = new StoredPrograms(server.request);
  await store.saveAs('a', 'affiche 1');
  await store.saveAs('b', 'affiche 2');
  const opened = await store.open(1);
  assert.deepEqual([opened.code, store.current.title, store.isModified('affiche 1')], ['affiche 1', 'a', false]);
  assert.deepEqual(await store.rename(1, 'A'), { ok: true, title: 'A' }, 'its own title in another case is free');
  assert.equal(store.current.title, 'A');
  assert.equal((await store.rename(1, 'B')).error, projectMessages.titleTaken);
  assert.equal((await store.rename(2, 'c')).ok, true);
  assert.equal(store.current.title, 'A', 'renaming another entry leaves the current one');
  assert.equal((await store.remove(2)).ok, true);
  assert.equal(store.current.id, 1);
  assert.equal((await store.open(9)).error, 'Programme introuvable');
  assert.equal(store.current.id, 1, 'a failed open keeps the current program');
  server.entries.length = 0;
  assert.equal((await store.remove(1)).ok, false);
  assert.equal(store.current, null, 'an entry the server no longer has is forgotten');
});

test('a network failure is an error answer, never a throw, and keeps the current program', async () => {
  const server = fakeServer();
  const store = new StoredPrograms(server.request);
  await store.saveAs('jeu', 'affiche 1');
  store.request = async () => { throw new TypeError('Failed to fetch'); };
  assert.deepEqual(await store.save('affiche 2'), { ok: false, error: 'Erreur de connexion : Failed to fetch', status: 0 });
  assert.equal((await store.remove(1)).ok, false);
  assert.equal(store.current.id, 1, 'not forgotten: the server may still have it');
  assert.equal((await store.list()).error, 'Erreur de connexion : Failed to fetch');
});
