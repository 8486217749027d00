// Reads the server's answer to one turn of a run. Pure: the run controller acts
// on the outcome, the console shows it.

export const messages = {
  unauthorized: 'Accès refusé : Session expirée ou invalide.',
  aborted: "Exécution interrompue par l'utilisateur.",
  cancelled: "Saisie annulée par l'utilisateur.",
  end: 'Fin du programme',
  connection: 'Erreur de connexion : ',
};

// One of: unauthorized; aborted, error, question, done (each with the turn's
// output). An answer that is not a JSON object is an error that says what came.
export function readAnswer(status, text) {
  if (status === 401) return { kind: 'unauthorized' };
  const body = parseObject(text);
  if (!body) return { kind: 'error', message: describeUnreadable(status, text), line: 0, output: '' };
  const output = typeof body.output === 'string' ? body.output : '';
  if (body.aborted === true) return { kind: 'aborted', output };
  if (body.error !== undefined) {
    const message = String(body.error);
    return { kind: 'error', message, line: errorLineOf(body.errorLine, message), output };
  }
  if (body.needInput === true) return { kind: 'question', prompt: String(body.prompt ?? ''), output };
  if (body.done === true) return { kind: 'done', output };
  return { kind: 'error', message: `Réponse inattendue du serveur (statut ${status}).`, line: 0, output };
}

// The JSON object of an answer's body, or null for anything else.
export function parseObject(text) {
  try {
    const value = JSON.parse(text);
    return value && typeof value === 'object' && !Array.isArray(value) ? value : null;
  } catch {
    return null;
  }
}

function describeUnreadable(status, text) {
  const shown = String(text ?? '').trim().slice(0, 300);
  return `Erreur du serveur (statut ${status})${shown ? ` : ${shown}` : '.'}`;
}

// The error's line: "errorLine" when it is a positive whole number, otherwise
// the number after "Ligne" or "ligne" in the message, otherwise 0.
export function errorLineOf(errorLine, message) {
  if (Number.isInteger(errorLine) && errorLine > 0) return errorLine;
  const match = /[Ll]igne\s*(\d+)/.exec(message);
  return match ? Number(match[1]) : 0;
}

// "Interprété en 0,042 seconde": the turn's time in seconds, three decimals, a comma.
export function formatRunTime(milliseconds) {
  return `Interprété en ${(milliseconds / 1000).toFixed(3).replace('.', ',')} seconde`;
}

// "1:52": minutes and seconds left, never below 0:00.
export function formatRemaining(milliseconds) {
  const seconds = Math.max(0, Math.ceil(milliseconds / 1000));
  return `${Math.floor(seconds / 60)}:${String(seconds % 60).padStart(2, '0')}`;
}
