// The editor and the panels in Chromium: the language mode's colours, analysis
// as you type, completion and hover help, stored programs (the deleted id
// included), every option and its survival across a reload, files in and
// out, the help and the pickers, and an accessibility check of each panel in
// both themes.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { setProgram, screenshot, waitForTexts, workbenchTests } from './harness.mjs';
import { programs } from './programs.mjs';

const { workbenchTest } = workbenchTests();
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

const editorBox = (page) => page.getByRole('textbox', { name: 'Éditeur de code' });
const toolbarButton = (page, name) => page.locator('.toolbar').getByRole('button', { name, exact: true });
const dialog = (page, name) => page.getByRole('dialog', { name });
const editorText = (page) => page.evaluate(() => window.Mirelon.editor.text());

// Requests to one route, with their bodies and times.
function watchRequests(page, path) {
  const seen = [];
  page.on('request', (request) => {
    if (new URL(request.url()).pathname === path) seen.push({ at: Date.now(), method: request.method(), body: request.postData() });
  });
  return seen;
}

// The classes of each piece of each line, as the editor shows them (a token
// may sit inside the underline of a finding).
async function coloured(page) {
  return page.locator('.cm-content').evaluate((content) => [...content.querySelectorAll('.cm-line')].map((line) => {
    const pieces = [];
    let last = null;
    const walker = document.createTreeWalker(line, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const token = node.parentElement.closest('[class*="mir-"]');
      const owner = token && line.contains(token) ? token : node;
      if (owner === last) pieces[pieces.length - 1][0] += node.textContent;
      else pieces.push([node.textContent, token ? [...token.classList].filter((c) => c.startsWith('mir-')).join(' ') : '']);
      last = owner;
    }
    return pieces.map(([text, kind]) => [text.trim(), kind]).filter(([text]) => text);
  }));
}

workbenchTest('the language mode gives every kind of token its class', async ({ open }) => {
  const { page } = await open();
  await setProgram(page, [
    "// note {pas un bloc}",
    "si âge est plus grand que 17 alors",
    "  affiche 'l''été' + longueur(\"abc\") + 3,5",
    "fin   si",
    "{ un commentaire",
    "  sur deux lignes } c est un nombre",
    "fonction carré(n)",
    "  retourne n * n mod 7 <> $1F",
    "fin fonction",
    "tant que vrai et non faux",
    "couleur('#FF8800') ; U+1F600",
  ].join('\n'));
  await page.waitForTimeout(200);
  assert.deepEqual(await coloured(page), [
    [['// note {pas un bloc}', 'mir-comment']],
    [['si', 'mir-keyword'], ['âge', 'mir-name'], ['est', 'mir-keyword'], ['plus grand', 'mir-operator-word'],
      ['que', 'mir-name'], ['17', 'mir-number'], ['alors', 'mir-keyword']],
    [['affiche', 'mir-keyword'], ["'l''été'", 'mir-string'], ['+', 'mir-operator'], ['longueur', 'mir-builtin'],
      ['(', 'mir-bracket'], ['"abc"', 'mir-string'], [')', 'mir-bracket'], ['+', 'mir-operator'], ['3,5', 'mir-number']],
    [['fin   si', 'mir-keyword']],
    [['{ un commentaire', 'mir-comment']],
    [['sur deux lignes }', 'mir-comment'], ['c', 'mir-name'], ['est', 'mir-keyword'], ['un', 'mir-keyword'], ['nombre', 'mir-type']],
    [['fonction', 'mir-keyword'], ['carré', 'mir-definition'], ['(', 'mir-bracket'], ['n', 'mir-name'], [')', 'mir-bracket']],
    [['retourne', 'mir-keyword'], ['n', 'mir-name'], ['*', 'mir-operator'], ['n', 'mir-name'], ['mod', 'mir-operator-word'],
      ['7', 'mir-number'], ['<>', 'mir-operator'], ['$1F', 'mir-number']],
    [['fin fonction', 'mir-keyword']],
    [['tant que', 'mir-keyword'], ['vrai', 'mir-atom'], ['et', 'mir-operator-word'], ['non', 'mir-operator-word'], ['faux', 'mir-atom']],
    [['couleur', 'mir-keyword'], ['(', 'mir-bracket'], ["'#FF8800'", 'mir-string'], [')', 'mir-bracket'], [';', 'mir-invalid'],
      ['U+1F600', 'mir-special']],
  ]);
  // Brackets match, and Enter after an opening line indents the block.
  await page.evaluate(() => window.Mirelon.editor.setText('pour i de 1 à 3'));
  await editorBox(page).press('Control+End');
  await page.keyboard.press('Enter');
  await page.keyboard.type('affiche (i)');
  await page.keyboard.press('Enter');
  await page.keyboard.type('fin pour');
  assert.equal(await editorText(page), 'pour i de 1 à 3\n  affiche (i)\nfin pour');
  await page.keyboard.press('ArrowUp');
  await page.keyboard.press('End');
  await page.keyboard.press('ArrowLeft');
  assert.equal(await page.locator('.cm-matchingBracket').count(), 2);
});

workbenchTest('analysis as you type: after a rest, errors and warnings marked, never during a run, never over "Analyser"', async ({ open }) => {
  const { page } = await open();
  const analyses = watchRequests(page, '/api/analyze');
  await setProgram(page, '');
  await page.waitForTimeout(800);
  analyses.length = 0;
  await editorBox(page).click();
  const typed = Date.now();
  await page.keyboard.type('affiche 1\nsi vrai alors\naffiche 2', { delay: 20 });
  const lastKey = Date.now();
  assert.equal(await editorText(page), programs.missingEnd.code);
  await page.locator('.cm-lintRange-error').waitFor();
  assert.ok(analyses.length >= 1);
  assert.ok(analyses.every((request) => request.at - lastKey >= 450 || request.at - typed < 0), 'no analysis before the text rested');
  assert.equal(analyses.length, 1, 'one analysis for one burst of typing');
  assert.equal(await page.locator('.cm-lint-marker-error').count(), 1);
  assert.equal(await page.locator('.cm-line').nth(1).locator('.cm-lintRange-error').count(), 1, 'the error is on line 2');
  assert.equal(await page.locator('.diagnostics').isHidden(), true, 'typing does not fill the Diagnostics strip');

  await setProgram(page, '');
  await editorBox(page).click();
  await page.keyboard.type('essayer\naffiche 2\nfin essayer');
  assert.equal(await editorText(page), programs.tryWithoutCatch.code);
  await page.locator('.cm-lintRange-warning').waitFor();
  assert.equal(await page.locator('.cm-lintRange-error').count(), 0);
  await page.locator('.cm-lint-marker-warning').hover();
  await page.locator('.cm-tooltip').getByText('Attention : "essayer" sans "attraper" correspondant').waitFor();

  // "Analyser" shows its result; a typing analysis then only marks the editor.
  await setProgram(page, programs.analysis.code);
  await page.getByRole('button', { name: 'Analyser' }).click();
  const strip = page.getByRole('list', { name: 'Diagnostics' });
  await strip.getByRole('button', { name: /Erreur.*Ligne 2/ }).waitFor();
  await setProgram(page, `${programs.analysis.code}\nfin si`);
  await page.waitForTimeout(1200);
  await strip.getByRole('button', { name: /Erreur.*Ligne 2/ }).waitFor();

  // During a run nothing is analysed.
  await setProgram(page, programs.longRun.code);
  await page.getByRole('button', { name: 'Exécuter', exact: true }).click();
  await page.waitForTimeout(100);
  analyses.length = 0;
  await page.waitForTimeout(1200);
  assert.equal(analyses.length, 0);
  await page.getByRole('button', { name: 'Arrêter', exact: true }).click();
});

workbenchTest('completion offers keywords and builtins with signature and definition; search and replace; hover and F1 give help', async ({ open }) => {
  const { page } = await open();
  await setProgram(page, '');
  await editorBox(page).click();
  await page.keyboard.type('x vaut longu');
  const list = page.locator('.cm-tooltip-autocomplete');
  await list.waitFor();
  const option = list.getByRole('option', { name: /longueur/ });
  await option.waitFor();
  assert.match(await option.innerText(), /longueur\(/);
  await page.locator('.cm-completionInfo').getByText(/./).first().waitFor();
  // The list ignores Entrée for a moment after it opens or changes, so that a
  // pupil typing fast never picks an entry by accident; wait past it.
  await page.waitForTimeout(200);
  await page.keyboard.press('Enter');
  assert.equal(await editorText(page), 'x vaut longueur(');
  // Entrée after a whole keyword breaks the line instead of taking the
  // completion that would change nothing.
  await page.keyboard.type(')\nsi vrai alors');
  await list.locator('.cm-completionLabel', { hasText: /^alors$/ }).waitFor();
  await page.waitForTimeout(200);
  await page.keyboard.press('Enter');
  assert.equal(await editorText(page), 'x vaut longueur()\nsi vrai alors\n  ');
  assert.equal(await list.count(), 0);
  await page.keyboard.type('fin si\ntant');
  await list.locator('.cm-completionLabel', { hasText: /^tant que$/ }).waitFor();
  await page.keyboard.press('Escape');
  assert.equal(await list.count(), 0, 'Échap closes the list first');
  await page.keyboard.type(" // longu 'longu");
  await page.waitForTimeout(400);
  assert.equal(await list.count(), 0, 'nothing offered inside a comment');

  // Search and replace, in French.
  await setProgram(page, "affiche 'chat'\naffiche 'chat'");
  await editorBox(page).press('Control+f');
  await page.getByRole('textbox', { name: 'Chercher dans le programme' }).fill('chat');
  await page.getByRole('textbox', { name: 'Remplacer par' }).fill('chien');
  await page.getByRole('button', { name: 'tout remplacer' }).click();
  assert.equal(await editorText(page), "affiche 'chien'\naffiche 'chien'");
  await page.getByRole('textbox', { name: 'Chercher dans le programme' }).press('Escape');
  assert.equal(await page.locator('.cm-search').count(), 0);

  await setProgram(page, "affiche 'x'");
  await page.locator('.cm-line').getByText('affiche').hover();
  await page.locator('.cm-help-tooltip').getByText(/affiche/).first().waitFor();

  await editorBox(page).press('Control+Home');
  await editorBox(page).press('F1');
  const help = dialog(page, 'Aide');
  await help.getByRole('article', { name: 'affiche' }).waitFor();
  await screenshot(page, 'help-entry');
});

async function openPrograms(page) {
  await toolbarButton(page, 'Programmes').click();
  return dialog(page, 'Programmes');
}

async function saveAs(panel, title) {
  await panel.getByRole('textbox', { name: 'Titre' }).fill(title);
  await panel.getByRole('button', { name: 'Enregistrer', exact: true }).click();
}

workbenchTest('stored programs: save, title in use, groups, search, open, rename, insert a snippet, delete', async ({ open }) => {
  const { page } = await open();
  page.on('dialog', (d) => d.accept());
  const saves = watchRequests(page, '/api/projects/save');
  await setProgram(page, "affiche 'zèbre'");
  await editorBox(page).press('Control+s');
  const panel = dialog(page, 'Programmes');
  const title = panel.getByRole('textbox', { name: 'Titre' });
  await title.waitFor();
  assert.equal(await page.evaluate(() => document.activeElement.id), 'program-title', 'a new program asks for its title');
  await title.fill('Zèbre : rayé !');
  await title.press('Enter');
  await panel.getByText('Programme « Zèbre  rayé » enregistré.').waitFor();
  assert.deepEqual(JSON.parse(saves.at(-1).body), { titre: 'Zèbre  rayé', code: "affiche 'zèbre'" });
  await page.getByText('Programme : « Zèbre  rayé »', { exact: true }).waitFor();

  await setProgram(page, "affiche 'abeille'");
  await page.getByText('Programme : « Zèbre  rayé » (modifié)').waitFor();
  await saveAs(panel, 'zèbre  RAYé');
  await panel.getByText('Ce titre est déjà utilisé : choisis-en un autre.').waitFor();
  await saveAs(panel, 'abeille');
  await panel.getByText('Programme « abeille » enregistré.').waitFor();
  await setProgram(page, 'pour i de 1 à 3\n  affiche i\nfin pour');
  await saveAs(panel, 'zèbre  rayé');
  await panel.getByText('Ce titre est déjà utilisé : choisis-en un autre.').waitFor();
  await page.evaluate(() => window.Mirelon.editor.view.dispatch({ selection: { anchor: 0, head: 15 } }));
  await panel.getByRole('button', { name: 'Ajouter à la bibliothèque' }).click();
  await panel.getByText('Extrait « zèbre  rayé » ajouté à la bibliothèque.').waitFor();
  assert.deepEqual(JSON.parse(saves.at(-1).body), { titre: 'zèbre  rayé', code: 'pour i de 1 à 3', categorie: 'bibliotheque' });

  const programsList = panel.getByRole('list', { name: 'Mes programmes' });
  await waitForTexts(programsList.locator('.program-open'), ['abeille', 'Zèbre  rayé']);
  await waitForTexts(panel.getByRole('list', { name: /Bibliothèque/ }).locator('.program-open'), ['zèbre  rayé']);
  await panel.getByRole('searchbox', { name: 'Rechercher' }).fill('ZEBRE');
  await waitForTexts(programsList.locator('.program-open'), ['Zèbre  rayé']);
  await panel.getByRole('searchbox', { name: 'Rechercher' }).fill('');

  // Opening never asks, clears the markers and can be undone.
  await page.evaluate(() => window.Mirelon.editor.setMarker(1, 'breakpoint'));
  await programsList.getByRole('button', { name: 'Zèbre  rayé', exact: true }).click();
  await panel.getByText('Programme « Zèbre  rayé » ouvert.').waitFor();
  assert.equal(await editorText(page), "affiche 'zèbre'");
  assert.deepEqual(await page.evaluate(() => window.Mirelon.editor.markers()), { breakpoint: null, ignored: [] });
  await editorBox(page).press('Control+z');
  assert.equal(await editorText(page), 'pour i de 1 à 3\n  affiche i\nfin pour');
  await editorBox(page).press('Control+y');

  // A snippet goes in at the cursor.
  await editorBox(page).press('Control+End');
  await page.keyboard.press('Enter');
  await panel.getByRole('button', { name: 'zèbre  rayé', exact: true }).click();
  await panel.getByText('Extrait « zèbre  rayé » inséré.').waitFor();
  assert.equal(await editorText(page), "affiche 'zèbre'\npour i de 1 à 3");

  // Renaming: a title in use is refused, the current program follows.
  await panel.getByRole('button', { name: 'Renommer Zèbre  rayé', exact: true }).click();
  const rename = panel.getByRole('textbox', { name: 'Nouveau titre' });
  await rename.fill('Abeille');
  await rename.press('Enter');
  await panel.getByText('Ce titre est déjà utilisé : choisis-en un autre.').waitFor();
  await rename.fill('Zèbre (rayé)');
  await rename.press('Enter');
  await panel.getByText('Renommé en « Zèbre rayé ».').waitFor();
  await page.getByText(/Programme : « Zèbre rayé »/).waitFor();
  await screenshot(page, 'programs-panel');

  await panel.getByRole('button', { name: 'Supprimer abeille' }).click();
  await panel.getByText('« abeille » supprimé.').waitFor();
  await waitForTexts(programsList.locator('.program-open'), ['Zèbre rayé']);
}, { allow: [/status of 409/] });

workbenchTest('the deleted id: a deleted current program is forgotten, and a save answered 404 asks for a title', async ({ open }) => {
  const { page } = await open();
  page.on('dialog', (d) => d.accept());
  const saves = watchRequests(page, '/api/projects/save');
  const panel = await openPrograms(page);
  await setProgram(page, "affiche 'premier'");
  await saveAs(panel, 'premier');
  await panel.getByText('Programme « premier » enregistré.').waitFor();
  const firstId = await page.evaluate(() => window.Mirelon.store.current.id);
  await panel.getByRole('button', { name: 'Supprimer premier' }).click();
  await panel.getByText('« premier » supprimé.').waitFor();
  await page.getByText('Nouveau programme (non enregistré)').waitFor();
  // Another entry takes the highest id again, which is the deleted one.
  const other = await page.evaluate(() => fetch('/api/projects/save', { method: 'POST', headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify({ titre: 'autre', code: "affiche 'autre'" }) }).then((r) => r.json()));
  assert.equal(other.id, firstId);
  await editorBox(page).press('Control+s');
  await page.waitForFunction(() => document.activeElement?.id === 'program-title');
  assert.equal(saves.filter((s) => JSON.parse(s.body).id !== undefined).length, 0, 'no save under the deleted id');
  const kept = await page.evaluate((id) => fetch('/api/projects/load', { method: 'POST', headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify({ id }) }).then((r) => r.json()), firstId);
  assert.equal(kept.code, "affiche 'autre'");

  // Deleted by someone else while current: the save's 404 asks for a title.
  await saveAs(panel, 'second');
  await panel.getByText('Programme « second » enregistré.').waitFor();
  const secondId = await page.evaluate(() => window.Mirelon.store.current.id);
  await page.evaluate((id) => fetch('/api/projects/del', { method: 'POST', headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify({ id }) }), secondId);
  await toolbarButton(page, 'Enregistrer').click();
  await panel.getByText('Ce programme n’existe plus sur le serveur : donne-lui un titre pour l’enregistrer à nouveau.').waitFor();
  await page.waitForFunction(() => document.activeElement?.id === 'program-title');
  assert.equal(await page.evaluate(() => window.Mirelon.store.current), null);
  await saveAs(panel, 'second');
  await panel.getByText('Programme « second » enregistré.').waitFor();
}, { allow: [/status of 404/] });

workbenchTest('"Nouveau" asks before discarding; the text and the current program survive a reload', async ({ open }) => {
  const { page } = await open();
  const panel = await openPrograms(page);
  await setProgram(page, "affiche 'gardé'");
  await saveAs(panel, 'gardé');
  await panel.getByText('Programme « gardé » enregistré.').waitFor();
  await setProgram(page, "affiche 'gardé'\naffiche 'en plus'");
  await page.getByText('Programme : « gardé » (modifié)').waitFor();
  await page.reload();
  await editorBox(page).waitFor();
  assert.equal(await editorText(page), "affiche 'gardé'\naffiche 'en plus'");
  await page.getByText('Programme : « gardé » (modifié)').waitFor();

  let asked = 0;
  page.on('dialog', (d) => { asked++; return asked === 1 ? d.dismiss() : d.accept(); });
  await page.evaluate(() => window.Mirelon.editor.setMarker(1, 'breakpoint'));
  await toolbarButton(page, 'Nouveau').click();
  assert.equal(asked, 1);
  assert.equal(await editorText(page), "affiche 'gardé'\naffiche 'en plus'", 'dismissed: nothing lost');
  await toolbarButton(page, 'Nouveau').click();
  assert.equal(asked, 2);
  assert.equal(await editorText(page), '');
  assert.deepEqual(await page.evaluate(() => window.Mirelon.editor.markers()), { breakpoint: null, ignored: [] });
  await page.getByText('Nouveau programme', { exact: true }).waitFor();
  await toolbarButton(page, 'Nouveau').click();
  assert.equal(asked, 2, 'an empty editor is cleared without a question');
});

// Each option, its effect on the page, given by its label.
const optionChecks = {
  'Afficher le fond': (page) => page.evaluate(() => getComputedStyle(document.body).backgroundImage.includes('background.svg')),
  'Numéros de ligne': (page) => page.locator('.cm-lineNumbers').count().then((n) => n > 0),
  'Retour à la ligne automatique': (page) => page.locator('.cm-content.cm-lineWrapping').count().then((n) => n > 0),
  'Mode sombre': (page) => page.evaluate(() => document.documentElement.classList.contains('dark') &&
    getComputedStyle(document.body).color === 'rgb(230, 233, 239)'),
  'Agrandir la console automatiquement': (page) => page.locator('.console').evaluate((c) => getComputedStyle(c).overflowY === 'visible'),
  'Redimensionner les images': (page) => page.locator('.drawing-host').first().evaluate((host) => host.classList.contains('fit')),
  'Afficher le débogage': (page) => page.getByRole('region', { name: 'Débogage' }).isVisible(),
  Animations: async (page) => {
    await page.getByRole('button', { name: 'Exécuter', exact: true }).click();
    await page.getByRole('log', { name: 'Console' }).getByText('Fin du programme').waitFor();
    const frame = await page.locator('.drawing-host').last().evaluate((host) => host.shadowRoot.textContent);
    return frame === 'un';
  },
  'Complétion automatique': async (page) => {
    await page.evaluate(() => window.Mirelon.editor.view.dispatch({ selection: { anchor: window.Mirelon.editor.view.state.doc.length } }));
    await editorBox(page).focus();
    await page.keyboard.type('\nlongu');
    await page.waitForTimeout(400);
    const shown = await page.locator('.cm-tooltip-autocomplete').count() > 0;
    if (shown) await page.keyboard.press('Escape');
    for (let i = 0; i < 6; i++) await page.keyboard.press('Backspace');
    return shown;
  },
};

workbenchTest('every option takes effect at once, is posted whole, and survives a reload', async ({ open }) => {
  const { page } = await open();
  const posts = watchRequests(page, '/api/options');
  // A drawing, an animation and a debug note for the options that change them.
  await setProgram(page, programs.debug.code);
  await page.getByRole('button', { name: 'Exécuter', exact: true }).click();
  await page.getByRole('log', { name: 'Console' }).getByText('Fin du programme').waitFor();
  assert.equal(await optionChecks['Afficher le débogage'](page), true);
  await setProgram(page, programs.animation.code);
  await page.getByRole('button', { name: 'Exécuter', exact: true }).click();
  await page.getByRole('log', { name: 'Console' }).getByText('Fin du programme').waitFor();
  await toolbarButton(page, 'Options').click();
  const panel = dialog(page, 'Options');
  for (const [label, check] of Object.entries(optionChecks)) {
    const box = panel.getByRole('checkbox', { name: label });
    const before = await box.isChecked();
    if (label !== 'Animations' && label !== 'Afficher le débogage') assert.equal(await check(page), before, `${label} before`);
    await box.click();
    if (label === 'Afficher le débogage') continue; // checked after the reload, with its card
    if (label === 'Animations') assert.equal(await check(page), false, 'animations off: the last frame at once');
    else assert.equal(await check(page), !before, `${label} after`);
  }
  const size = panel.getByRole('spinbutton', { name: 'Taille de police' });
  await size.fill('40');
  await size.press('Enter');
  assert.equal(await size.inputValue(), '32');
  assert.ok(Math.abs(parseFloat(await page.locator('.cm-editor').evaluate((e) => getComputedStyle(e).fontSize)) - (32 * 4) / 3) < 0.01, '32 points');
  await screenshot(page, 'options-changed');
  const posted = posts.filter((p) => p.method === 'POST').map((p) => JSON.parse(p.body));
  assert.equal(posted.length, 10, 'one post per change');
  assert.deepEqual(Object.keys(posted.at(-1)), ['showBackground', 'showLineNumbers', 'fontSize', 'wordWrap', 'animateOutput',
    'autoComplete', 'darkMode', 'showDebug', 'autoExtendConsole', 'autoResizeImage']);
  assert.deepEqual(posted.at(-1), { showBackground: false, showLineNumbers: false, fontSize: 32, wordWrap: true, animateOutput: false,
    autoComplete: false, darkMode: true, showDebug: false, autoExtendConsole: true, autoResizeImage: true });
  await page.waitForTimeout(300);

  await page.reload();
  await editorBox(page).waitFor();
  await page.waitForFunction(() => window.Mirelon.options.darkMode === true);
  await toolbarButton(page, 'Options').click();
  for (const label of Object.keys(optionChecks)) {
    assert.equal(await panel.getByRole('checkbox', { name: label }).isChecked(), !['Afficher le fond', 'Numéros de ligne',
      'Animations', 'Complétion automatique', 'Afficher le débogage'].includes(label), `${label} kept`);
  }
  assert.equal(await optionChecks['Mode sombre'](page), true);
  assert.equal(await optionChecks['Numéros de ligne'](page), false);
  assert.equal(await panel.getByRole('spinbutton', { name: 'Taille de police' }).inputValue(), '32');
  await setProgram(page, programs.debug.code);
  await page.getByRole('button', { name: 'Exécuter', exact: true }).click();
  await page.getByRole('log', { name: 'Console' }).getByText('Fin du programme').waitFor();
  assert.equal(await optionChecks['Afficher le débogage'](page), false);
  assert.equal(await optionChecks['Complétion automatique'](page), false);
});

workbenchTest('a bad options file: the browser copy is checked and clamped, anything else falls back to the defaults', async ({ open }) => {
  const { page, context } = await open();
  await context.route('**/api/options', (route) => (route.request().method() === 'GET'
    ? route.fulfill({ status: 200, contentType: 'application/json', body: '{"darkMode": tru' }) : route.continue()));
  await page.evaluate(() => localStorage.setItem('MirelonOptions', JSON.stringify({ darkMode: true, fontSize: 99, showLineNumbers: 'non', wordWrap: 1 })));
  await page.reload();
  await editorBox(page).waitFor();
  await page.waitForFunction(() => window.Mirelon.options.darkMode === true);
  assert.deepEqual(await page.evaluate(() => ({ ...window.Mirelon.options })), {
    showBackground: true, showLineNumbers: true, fontSize: 32, wordWrap: false, animateOutput: true,
    autoComplete: true, darkMode: true, showDebug: true, autoExtendConsole: false, autoResizeImage: false,
  });
  await page.evaluate(() => localStorage.setItem('MirelonOptions', '[1, 2]'));
  await page.reload();
  await editorBox(page).waitFor();
  await page.waitForTimeout(300);
  assert.equal(await page.evaluate(() => window.Mirelon.options.darkMode), false);
  assert.equal(await page.locator('.cm-editor').evaluate((e) => getComputedStyle(e).fontSize), '16px');
});

workbenchTest('files: a .mir file dropped on the editor opens as the program; downloads of the program and of a drawing', async ({ open }) => {
  const { page } = await open();
  await page.locator('.cm-content').evaluate((content) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File(['\uFEFFaffiche "déposé"\r\naffiche 2\r\n'], 'jeu.mir', { type: '' }));
    for (const type of ['dragenter', 'dragover', 'drop']) {
      content.dispatchEvent(new DragEvent(type, { dataTransfer: transfer, bubbles: true, cancelable: true }));
    }
  });
  await page.waitForFunction(() => window.Mirelon.editor.text().startsWith('affiche'));
  assert.equal(await editorText(page), 'affiche "déposé"\naffiche 2\n');
  await page.getByText('Fichier « jeu » ouvert : enregistre-le pour le garder dans tes programmes.').waitFor();

  const dropped = await editorText(page);
  await setProgram(page, programs.iconDrawing.code);
  await page.getByRole('button', { name: 'Exécuter', exact: true }).click();
  await page.getByRole('log', { name: 'Console' }).getByText('Fin du programme').waitFor();
  const [svg] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', { name: 'Télécharger SVG' }).click()]);
  assert.equal(svg.suggestedFilename(), 'dessin.svg');
  const svgText = readFileSync(await svg.path(), 'utf8');
  assert.match(svgText, /^<svg[^>]*xmlns="http:\/\/www\.w3\.org\/2000\/svg"/);
  assert.match(svgText, /@font-face\{font-family:"Segoe MDL2 Assets";src:url\(data:font\/woff2;base64,/);
  const [png] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', { name: 'Télécharger PNG' }).click()]);
  assert.equal(png.suggestedFilename(), 'dessin.png');
  const bytes = readFileSync(await png.path());
  assert.equal(bytes.subarray(1, 4).toString(), 'PNG');
  assert.deepEqual([bytes.readUInt32BE(16), bytes.readUInt32BE(20)], [60, 40]);

  await setProgram(page, dropped);
  const panel = await openPrograms(page);
  const [download] = await Promise.all([page.waitForEvent('download'), panel.getByRole('button', { name: 'Télécharger (.mir)' }).click()]);
  assert.equal(download.suggestedFilename(), 'programme.mir');
  assert.equal(readFileSync(await download.path(), 'utf8'), 'affiche "déposé"\naffiche 2\n');

  // The console copied as text, without its buttons.
  await page.keyboard.press('Escape'); // the panel lies over the console's head
  await page.context().grantPermissions(['clipboard-read', 'clipboard-write']);
  await setProgram(page, programs.twoQuestions.code);
  await page.getByRole('button', { name: 'Exécuter', exact: true }).click();
  await page.getByRole('textbox', { name: 'Réponse' }).fill('Ada');
  await page.getByRole('textbox', { name: 'Réponse' }).press('Enter');
  await page.getByRole('button', { name: 'Vert', exact: true }).click();
  await page.getByRole('log', { name: 'Console' }).getByText('Fin du programme').waitFor();
  await page.getByRole('button', { name: 'Copier' }).click();
  await page.getByText('Console copiée.').waitFor();
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  assert.match(copied, /^Début\nTon prénom \? Ada\nSalut Ada\nChoix : Vert\nChoix 2\nFin du programme\nInterprété en \d+,\d{3} seconde$/);
});

workbenchTest('help: opens and searches with accents ignored; an example goes into the editor; shortcuts and notices', async ({ open }) => {
  const { page } = await open();
  await toolbarButton(page, 'Aide').click();
  const help = dialog(page, 'Aide');
  const search = help.getByRole('searchbox', { name: 'Rechercher dans l’aide' });
  await search.fill('REPETE');
  const results = help.getByRole('list', { name: 'Résultats' });
  await results.getByRole('button', { name: /^répète/ }).first().click();
  const entry = help.getByRole('article', { name: 'répète' });
  await entry.waitFor();
  await entry.getByText('Hip ! Hip ! Hip ! Hourra !').waitFor();
  await entry.getByRole('button', { name: 'Mettre dans l’éditeur' }).click();
  assert.match(await editorText(page), /^cri vaut ''\nrépète 3 fois/);
  await search.fill('arrondi superieur');
  await results.locator('li').first().waitFor();
  await search.fill('zzzxq');
  await help.getByText(/Rien trouvé/).waitFor();
  await help.getByRole('button', { name: 'Raccourcis clavier' }).click();
  for (const keys of ['Ctrl+Entrée', 'Ctrl+S', 'Ctrl+O', 'Ctrl+F', 'F1', 'Ctrl+B', 'Ctrl+/']) await help.getByText(keys, { exact: true }).waitFor();
  await help.getByRole('button', { name: '← Retour' }).click();
  await help.getByRole('button', { name: 'À propos' }).click();
  await help.getByText('CodeMirror 6').waitFor();
  // Non-modal: the editor still takes keys; Échap closes the panel.
  await editorBox(page).press('Control+End');
  await page.keyboard.type('\n// ok.');
  assert.match(await editorText(page), /\/\/ ok\.$/);
  await page.waitForTimeout(300); // a completion still pending would take the first Échap
  await page.keyboard.press('Escape');
  assert.equal(await help.count(), 0);
});

workbenchTest('pickers: an emoji at the cursor, an icon as a ready call on the program\'s canvas', async ({ open }) => {
  const { page } = await open();
  await setProgram(page, 'Dessin est une toile\naffiche ');
  await editorBox(page).press('Control+End');
  await toolbarButton(page, 'Emoji').click();
  const emoji = dialog(page, 'Emoji');
  await emoji.getByRole('searchbox', { name: 'Rechercher un emoji' }).fill('chat qui pleure');
  await emoji.getByRole('button', { name: 'chat qui pleure', exact: true }).click();
  assert.equal(await editorText(page), 'Dessin est une toile\naffiche 😿');
  await screenshot(page, 'emoji-picker');
  await toolbarButton(page, 'Icônes').click();
  const icons = dialog(page, 'Icônes');
  await icons.getByRole('searchbox', { name: 'Rechercher une icône' }).fill('SOLEIL');
  await icons.getByRole('button', { name: /^soleil/ }).first().click();
  assert.equal(await editorText(page), "Dessin est une toile\naffiche 😿icône(Dessin, 10, 40, 'E722') // soleil");
});

// axe-core's serious and critical findings, by rule and element.
async function accessibilityProblems(page) {
  await page.evaluate(axeSource);
  return page.evaluate(async () => {
    const result = await window.axe.run(document, { resultTypes: ['violations'] });
    return result.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).slice(0, 5).join(', ')}`);
  });
}

for (const [width, height] of [[1366, 768], [1024, 768]]) {
  workbenchTest(`accessibility and screenshots at ${width}×${height}: the page and each panel, both themes`, async ({ open }) => {
    const { page } = await open({ width, height });
    await setProgram(page, programs.iconDrawing.code);
    await page.getByRole('button', { name: 'Exécuter', exact: true }).click();
    await page.getByRole('log', { name: 'Console' }).getByText('Fin du programme').waitFor();
    const problems = [];
    for (const theme of ['clair', 'sombre']) {
      await page.evaluate((darkMode) => window.Mirelon.setOptions({ darkMode }), theme === 'sombre');
      await page.evaluate(() => window.Mirelon.editor.showDiagnostics([{ line: 2, message: 'exemple', fatal: true }, { line: 3, message: 'exemple', fatal: false }]));
      for (const name of [null, 'Programmes', 'Options', 'Aide', 'Emoji', 'Icônes']) {
        if (name) await toolbarButton(page, name).click();
        if (name) await dialog(page, name).waitFor();
        await page.waitForTimeout(150);
        await screenshot(page, `${width}-${theme}-${name ?? 'page'}`.toLowerCase().normalize('NFD').replace(/[\u0300-\u036f]/g, ''));
        problems.push(...(await accessibilityProblems(page)).map((p) => `${theme} ${name ?? 'page'}: ${p}`));
        if (name) await page.keyboard.press('Escape');
      }
    }
    assert.deepEqual(problems, []);
    // At this width nothing of the toolbar is cut off.
    const overflow = await page.locator('.toolbar').evaluate((bar) => bar.scrollWidth - bar.clientWidth);
    assert.ok(overflow <= 0, `the toolbar overflows by ${overflow} px`);
  });
}
