import { test } from 'node:test';
import assert from 'node:assert/strict';

import { buildEmojiData, emojiData, NEWEST_VERSION } from '../emoji/build-emoji.mjs';

const messages = {
  groups: [
    { key: 'smileys-emotion', message: 'smileys et émotion', order: 0 },
    { key: 'component', message: 'composants', order: 2 },
    { key: 'flags', message: 'drapeaux', order: 9 },
  ],
};
const record = (emoji, label, group, order, version = 1, tags = []) => ({ emoji, label, group, order, version, tags });

test('emoji are grouped in order, with French titles and keywords other than the name', () => {
  const data = emojiData(
    [
      record('🙂', 'visage souriant', 0, 5, 1, ['sourire', 'visage']),
      record('😀', 'visage rieur', 0, 1, 1, ['content', 'rieur']),
      record('🏻', 'peau claire', 2, 3),
      record('🇫🇷', 'drapeau : France', 9, 9, 2, ['drapeau']),
      record('🫩', 'visage avec des cernes', 0, 2, NEWEST_VERSION + 1),
      record('🇦', 'indicateur régional A', undefined, 0),
    ],
    messages,
  );
  assert.deepEqual(data.groups.map((g) => [g.id, g.title]), [['smileys-emotion', 'Smileys et émotion'], ['flags', 'Drapeaux']]);
  assert.deepEqual(data.groups[0].emoji, [['😀', 'visage rieur', 'content'], ['🙂', 'visage souriant', 'sourire']]);
  assert.deepEqual(data.groups[1].emoji, [['🇫🇷', 'drapeau : France', '']]);
});

test('the real data has every group but components, no skin-tone variant, and French names', async () => {
  const { groups } = await buildEmojiData();
  assert.equal(groups.length, 9);
  assert.ok(!groups.some((g) => g.id === 'component'));
  const all = groups.flatMap((g) => g.emoji);
  assert.ok(all.length > 1500, `${all.length} emoji`);
  assert.ok(!all.some(([e]) => /[\u{1F3FB}-\u{1F3FF}]/u.test(e)), 'skin tones are left to the pupil');
  const smile = all.find(([e]) => e === '😀');
  assert.equal(smile[1], 'visage rieur');
  assert.equal(new Set(all.map(([e]) => e)).size, all.length, 'each emoji once');
});
