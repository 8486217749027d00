// The programs the end-to-end tests run, each with the turns that the real
// server answers for it (the stand-in server replays them; the real one runs
// the program). Texts are as the page sends them, markers applied.

const svgOpen = '<svg xmlns="http://www.w3.org/2000/svg" width="120" height="60" viewBox="0 0 120 60">';
const line = (...entries) => entries.map((entry) => `${entry}\r\n`).join('');

export const hostileSvg = `${svgOpen}<style>rect{fill:#0000ff} body{display:none} .toolbar{position:fixed;top:0;left:0;width:100vw;height:100vh}</style>` +
  '<rect id="r" width="120" height="60" onclick="document.body.dataset.pwned=\'svg-click\'"/>' +
  '<script>document.body.dataset.pwned=\'svg-script\'</script>' +
  '<foreignObject width="10" height="10"><div>dedans</div></foreignObject>' +
  '<a href="javascript:document.body.dataset.pwned=\'svg-link\'"><text x="8" y="36">lien</text></a>' +
  '<image href="https://exemple.invalid/x.png" width="1" height="1"/></svg>';

export const programs = {
  hello: { code: "affiche 'Bonjour !'", turns: [{ done: true, output: line('Bonjour !') }] },
  twoQuestions: {
    code: "affiche 'Début'\ndemande 'Ton prénom ?' dans prenom\naffiche 'Salut ' + prenom\n" +
      "c est un nombre\nchoisir ['Rouge', 'Vert', 'Bleu'] dans c\naffiche 'Choix ' + c",
    turns: [
      { output: line('Début'), prompt: 'Ton prénom ?' },
      { output: line('Salut Ada'), prompt: '\u0001CHOISIR\u0001Rouge\u0001Vert\u0001Bleu' },
      { done: true, output: line('Choix 2') },
    ],
  },
  keys: {
    code: "k est un nombre\nappuyer ['z', 'Q', '1', ' '] dans k\naffiche 'Touche ' + k",
    turns: [{ output: '', prompt: '\u0001APPUYER\u0001z\u0001q\u00011\u0001 ' }, { done: true, output: line('Touche 2') }],
  },
  longRun: {
    code: "affiche 'Je calcule'\nx vaut 0\nrépète 100000 fois\n  répète 100000 fois\n    x ajoute 1\n  fin répète\nfin répète",
    turns: [{ hang: true, output: line('Je calcule') }],
  },
  waitingQuestion: {
    code: "affiche 'Une question'\ndemande 'Tu es là ?' dans reponse\naffiche 'Oui : ' + reponse",
    turns: [{ output: line('Une question'), prompt: 'Tu es là ?' }],
  },
  changedAfterCancel: { code: "affiche 'Version 2'", turns: [{ done: true, output: line('Version 2') }] },
  error: {
    code: "affiche 'avant'\naffiche 'encore'\nx vaut 1 / 0\naffiche 'jamais'",
    turns: [{ error: 'Ligne 3: Division par zéro', errorLine: 3, output: line('avant', 'encore') }],
  },
  breakpoint: {
    code: "affiche 'un'\naffiche 'deux'",
    turns: [{ done: true, output: line('un', 'deux') }],
  },
  ignored: {
    code: "affiche 'un'\n\naffiche 'trois'",
    turns: [{ done: true, output: line('un', 'trois') }],
  },
  colors: {
    code: "couleur('#FF0000')\naffiche 'rouge'\ncouleur('reset')\naffiche couleur('#00AA00', 'vert') + ' et normal'\n" +
      "affiche '__COLOR__red;background:black__'\naffiche 'après'",
    turns: [{
      done: true,
      output: line('__COLOR__#FF0000__', 'rouge', '__COLOR__reset__', '\u0002#00AA00\u0003vert\u0002/\u0003 et normal',
        '__COLOR__red;background:black__', 'après'),
    }],
  },
  hostileHtml: {
    code: "html('<h1>Titre</h1><img src=x onerror=\"document.body.dataset.pwned=1\"><a href=\"javascript:alert(1)\">mauvais</a> " +
      "<a href=\"https://exemple.fr/\" onclick=\"x()\">bon</a>')\n" +
      "affiche '__HTML__<style>body{display:none}</style><script>document.body.dataset.pwned=2</script><em>fin</em>__'\n" +
      "affiche '<b>pas du html</b>'",
    turns: [{
      done: true,
      output: line('__HTML__<h1>Titre</h1><img src=x onerror="document.body.dataset.pwned=1"><a href="javascript:alert(1)">mauvais</a> ' +
        '<a href="https://exemple.fr/" onclick="x()">bon</a>__',
      '__HTML__<style>body{display:none}</style><script>document.body.dataset.pwned=2</script><em>fin</em>__',
      '<b>pas du html</b>'),
    }],
  },
  hostileSvg: {
    code: `affiche '__SVG__${hostileSvg.replace(/'/g, "''")}__'`,
    turns: [{ done: true, output: line(`__SVG__${hostileSvg}__`) }],
  },
  animation: {
    code: `affiche '__ANIM__400__1__${svgOpen}<text x="5" y="30">un</text></svg>||FRAME||${svgOpen}<text x="5" y="30">deux</text></svg>__'`,
    turns: [{
      done: true,
      output: line(`__ANIM__400__1__${svgOpen}<text x="5" y="30">un</text></svg>||FRAME||${svgOpen}<text x="5" y="30">deux</text></svg>__`),
    }],
  },
  debug: {
    code: "x vaut 6\ndéboguer 'x = ' + x\naffiche x * 7",
    turns: [{ done: true, output: line('__DEBUG__x = 6__', '42') }],
  },
  manyLines: {
    code: "pour i de 1 à 10000\n  affiche 'Ligne ' + i\nfin pour",
    turns: [{ done: true, output: Array.from({ length: 10000 }, (_, i) => `Ligne ${i + 1}\r\n`).join('') }],
  },
  tooManyLines: {
    code: "pour i de 1 à 30000\n  affiche 'Ligne ' + i\nfin pour",
    turns: [{ done: true, output: Array.from({ length: 30000 }, (_, i) => `Ligne ${i + 1}\r\n`).join('') }],
  },
  iconDrawing: {
    code: "MaToile est une toile\ndimension(MaToile, 60, 40)\nrectangle(MaToile, 0, 0, 60, 40, '#DDEEFF')\n" +
      "icône(MaToile, 10, 34, 'E722', '#FFB300', 28)\naffiche MaToile",
    turns: [{
      done: true,
      output: line('__SVG__<svg xmlns="http://www.w3.org/2000/svg" width="60" height="40" viewBox="0 0 60 40">' +
        '<rect x="0" y="0" width="60" height="40" fill="#DDEEFF"/>' +
        '<text x="10" y="34" fill="#FFB300" font-family="Segoe MDL2 Assets" font-size="28">\uE722</text></svg>__'),
    }],
  },
  // Typed key by key by the analysis-as-you-type test.
  missingEnd: {
    code: "affiche 1\nsi vrai alors\n  affiche 2",
    diagnostics: [{ line: 2, msg: '"fin si" manquant', fatal: true }],
  },
  tryWithoutCatch: {
    code: "essayer\n  affiche 2\nfin essayer",
    diagnostics: [{ line: 1, msg: '"essayer" sans "attraper" correspondant', fatal: false }],
  },
  analysis: {
    code: "affiche 'a'\nsi vrai alors\n  affiche 'b'",
    diagnostics: [{ line: 2, msg: '"fin si" manquant', fatal: true }],
  },
};

export const allPrograms = Object.values(programs);
