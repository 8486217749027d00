// The third-party parts of the workbench and their licences: NOTICES.md lists
// them for the repository, and help.js carries this list (with the full
// licence texts) for the page's "À propos". Texts come from the packages
// themselves where they ship one, else from the copies in this folder.

import fs from 'node:fs/promises';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const HERE = path.dirname(fileURLToPath(import.meta.url));

const packageFile = (name, file) => path.join(path.dirname(require.resolve(`${name}/package.json`)), file);
const versionOf = (name) => require(`${name}/package.json`).version;

// What the workbench ships. The editor and the sanitizer are bundled by the
// page's own build; their versions are those its package.json pins.
const COMPONENTS = [
  {
    name: 'CodeMirror 6', licence: 'MIT', usedFor: 'l’éditeur de code',
    url: 'https://codemirror.net/', text: () => fs.readFile(path.join(HERE, 'codemirror-MIT.txt'), 'utf8'),
  },
  {
    name: 'DOMPurify', licence: 'Apache-2.0 OR MPL-2.0', usedFor: 'le nettoyage du HTML et des dessins affichés',
    url: 'https://github.com/cure53/DOMPurify', copyright: 'Copyright Dr.-Ing. Mario Heiderich, Cure53',
    text: () => fs.readFile(path.join(HERE, 'Apache-2.0.txt'), 'utf8'),
  },
  {
    name: 'Atkinson Hyperlegible', package: '@expo-google-fonts/atkinson-hyperlegible', licence: 'OFL-1.1',
    usedFor: 'la police de l’interface', url: 'https://www.brailleinstitute.org/freefont/',
    text: () => fs.readFile(packageFile('@expo-google-fonts/atkinson-hyperlegible', 'LICENSE_FONT'), 'utf8'),
  },
  {
    name: 'JetBrains Mono', package: '@expo-google-fonts/jetbrains-mono', licence: 'OFL-1.1',
    usedFor: 'la police du code et de la console', url: 'https://www.jetbrains.com/lp/mono/',
    text: () => fs.readFile(packageFile('@expo-google-fonts/jetbrains-mono', 'LICENSE_FONT'), 'utf8'),
  },
  {
    name: 'Material Design Icons', package: '@mdi/svg', licence: 'Apache-2.0',
    copyright: 'Copyright Pictogrammers (Austin Andrews et contributeurs)',
    usedFor: 'les icônes de la fonction icône()', url: 'https://pictogrammers.com/library/mdi/',
    text: async () => [await fs.readFile(packageFile('@mdi/svg', 'LICENSE'), 'utf8'), await fs.readFile(path.join(HERE, 'Apache-2.0.txt'), 'utf8')],
  },
  {
    name: 'Emojibase', package: 'emojibase-data', licence: 'MIT',
    usedFor: 'les noms et mots-clés français des emoji (issus des données Unicode CLDR)', url: 'https://emojibase.dev/',
    text: () => fs.readFile(packageFile('emojibase-data', 'LICENSE'), 'utf8'),
  },
];

// { components: [{ name, package, version, licence, usedFor, url, copyright, text }],
//   texts: [licence text, …] }: package is the npm package the files come
// from (empty for the page's own dependencies); text lists the indexes of the
// component's licence texts in texts, where identical texts are kept once.
export async function notices() {
  const components = [];
  const texts = [];
  for (const c of COMPONENTS) {
    const own = [await c.text()].flat().map((t) => t.replace(/\r\n/g, '\n').trim());
    const copyright = c.copyright ?? own[0].split('\n').find((line) => /^Copyright/i.test(line.trim()))?.trim() ?? '';
    for (const t of own) if (!texts.includes(t)) texts.push(t);
    components.push({
      name: c.name,
      package: c.package ?? '',
      version: c.package ? versionOf(c.package) : '',
      licence: c.licence,
      usedFor: c.usedFor,
      url: c.url,
      copyright,
      text: own.map((t) => texts.indexOf(t)),
    });
  }
  return { components, texts };
}

// The repository's NOTICES.md, made from the same list.
export function noticesMarkdown({ components }) {
  const rows = components.map((n) => `| ${n.name} | ${n.version ? `${n.package} ${n.version}` : 'voir web/package.json'} | ${n.licence} | ${n.usedFor} | ${n.copyright} |`);
  return [
    '# Composants tiers du poste de travail',
    '',
    'Généré par `node web/content/run-build.mjs --notices` ; le texte complet de chaque licence',
    'est aussi dans help.js (`MirelonHelp.notices`), que la page montre dans « À propos ».',
    '',
    '| composant | paquet npm | licence | sert à | droits |',
    '|---|---|---|---|---|',
    ...rows,
    '',
    'Les polices sont des sous-ensembles (caractères du français) des fichiers d’origine, sous la même',
    'licence SIL Open Font License 1.1 ; elles gardent leur nom. La police d’icônes est construite à partir',
    'des dessins SVG de Material Design Icons, placés à nos propres points de code (U+E700 et suivants).',
    '',
  ].join('\n');
}
