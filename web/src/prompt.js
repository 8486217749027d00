// Reads a question's prompt: a typed answer, a choice among options, or a wait
// for one of a few keys. The markers are "\x01CHOISIR\x01" and "\x01APPUYER\x01".

export function parsePrompt(prompt) {
  const parts = String(prompt ?? '').split('\u0001');
  if (parts.length >= 2 && parts[0] === '' && parts[1] === 'CHOISIR') {
    return { kind: 'choice', options: parts.slice(2) };
  }
  if (parts.length >= 2 && parts[0] === '' && parts[1] === 'APPUYER') {
    return { kind: 'keys', keys: parts.slice(2).map(firstCharacterLowered) };
  }
  return { kind: 'text', question: String(prompt ?? '') };
}

function firstCharacterLowered(text) {
  const first = text.codePointAt(0);
  return first === undefined ? '' : String.fromCodePoint(first).toLowerCase();
}

// A key that a keyboard can type: one character, not a control character nor
// half of a surrogate pair.
export function isPressable(key) {
  if (Array.from(key).length !== 1) return false;
  const code = key.codePointAt(0);
  if (code < 0x20 || (code >= 0x7f && code < 0xa0)) return false;
  return !(code >= 0xd800 && code <= 0xdfff);
}

// The answer for a key event: the position (from 1) of the first listed key
// equal to the typed character without regard to case, or 0. Shift and Caps
// Lock change only the case, so they do not matter. Ctrl alone and Meta make
// shortcuts, not answers; Ctrl with Alt is AltGr, which types characters.
export function answerForKey(keys, event) {
  if (event.metaKey || (event.ctrlKey && !event.altKey)) return 0;
  const typed = String(event.key ?? '');
  if (!isPressable(typed)) return 0;
  const index = keys.findIndex((key) => isPressable(key) && key === typed.toLowerCase());
  return index + 1;
}
