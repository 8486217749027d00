// The emoji picker's data, from emojibase-data's French locale: every emoji
// of the groups a pupil picks from, with its French name and keywords, in
// Unicode's order. Skin-tone variants and the "component" group (bare skin
// tones, hair styles) are left out, and so are emoji newer than Unicode's
// Emoji 15.0, which the colour emoji fonts of most pupils' machines (and
// Debian's fonts-noto-color-emoji) cannot draw yet.

import fs from 'node:fs/promises';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
export const NEWEST_VERSION = 15;
const COMPONENT_GROUP = 2;

const capitalised = (text) => text.charAt(0).toLocaleUpperCase('fr') + text.slice(1);

// { groups: [{ id, title, emoji: [[character, name, keywords], …] }] }:
// keywords are one text of words separated by blanks, the name excluded.
export function emojiData(records, messages) {
  const groups = messages.groups
    .filter((g) => g.order !== COMPONENT_GROUP)
    .sort((a, b) => a.order - b.order)
    .map((g) => ({ order: g.order, id: g.key, title: capitalised(g.message), emoji: [] }));
  const byOrder = new Map(groups.map((g) => [g.order, g]));
  const kept = records
    .filter((e) => byOrder.has(e.group) && e.version <= NEWEST_VERSION)
    .sort((a, b) => a.order - b.order);
  for (const e of kept) {
    const nameWords = new Set(e.label.toLocaleLowerCase('fr').split(/\s+/));
    const keywords = (e.tags ?? []).filter((t) => !nameWords.has(t.toLocaleLowerCase('fr')));
    byOrder.get(e.group).emoji.push([e.emoji, e.label, keywords.join(' ')]);
  }
  return { groups: groups.map(({ id, title, emoji }) => ({ id, title, emoji })) };
}

export async function buildEmojiData() {
  const read = async (file) => JSON.parse(await fs.readFile(require.resolve(`emojibase-data/fr/${file}`), 'utf8'));
  return emojiData(await read('data.json'), await read('messages.json'));
}
