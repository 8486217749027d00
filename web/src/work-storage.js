// The pupil's work survives a reload: the editor's text, the current stored
// program and whether the text is what was saved, kept in local storage
// under "MirelonProgram".

const key = 'MirelonProgram';

// { text (or null when nothing was kept), current ({ id, title, category } or null), saved }
export function restoreWork(storage = globalThis.localStorage) {
  try {
    const kept = JSON.parse(storage.getItem(key));
    if (!kept || typeof kept.text !== 'string') return { text: null, current: null, saved: false };
    const current = kept.current && Number.isInteger(kept.current.id) && kept.current.id >= 1 && typeof kept.current.title === 'string'
      ? { id: kept.current.id, title: kept.current.title, category: String(kept.current.category ?? 'programme') }
      : null;
    return { text: kept.text, current, saved: kept.saved === true };
  } catch {
    return { text: null, current: null, saved: false };
  }
}

export function keepWork({ text, current, saved }, storage = globalThis.localStorage) {
  try {
    storage.setItem(key, JSON.stringify({ text, current, saved }));
  } catch { /* storage full or off: the text stays in the editor */ }
}
