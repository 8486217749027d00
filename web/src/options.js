// The workbench's options: defaults, the server's copy ("/api/options") or the
// browser's ("MirelonOptions" in local storage), each member checked.

export const defaultOptions = Object.freeze({
  showBackground: true,
  showLineNumbers: true,
  fontSize: 12,
  wordWrap: false,
  animateOutput: true,
  autoComplete: true,
  darkMode: false,
  showDebug: true,
  autoExtendConsole: false,
  autoResizeImage: false,
});
const storageKey = 'MirelonOptions';

// Members of the right type are taken (the font size rounded into 8 to 32);
// anything else keeps its default.
export function mergeOptions(stored) {
  const merged = { ...defaultOptions };
  if (!stored || typeof stored !== 'object' || Array.isArray(stored)) return merged;
  for (const [name, fallback] of Object.entries(defaultOptions)) {
    const value = stored[name];
    if (typeof fallback === 'boolean' && typeof value === 'boolean') merged[name] = value;
    if (typeof fallback === 'number' && typeof value === 'number' && Number.isFinite(value)) {
      merged[name] = Math.min(32, Math.max(8, Math.round(value)));
    }
  }
  return merged;
}

export async function loadOptions(fetchJson, storage = globalThis.localStorage) {
  try {
    return mergeOptions(await fetchJson('/api/options'));
  } catch {
    try {
      return mergeOptions(JSON.parse(storage.getItem(storageKey)));
    } catch {
      return { ...defaultOptions };
    }
  }
}

// Every change keeps the whole object in the browser and posts it to the server;
// failures are ignored (the next change sends everything again).
export function saveOptions(options, post, storage = globalThis.localStorage) {
  try { storage.setItem(storageKey, JSON.stringify(options)); } catch { /* storage full or off */ }
  post('/api/options', options).catch(() => {});
}
