// Files on the pupil's disk: a program downloaded as a .mir file or opened
// from one (file picker or drag and drop), drawings downloaded as SVG or PNG
// (the icon font inlined, since a saved file cannot see the page's fonts),
// and the console's text copied.

import { inlineIconFont } from '../content/inline-font.mjs';

// The server takes program texts of up to 512 KiB.
export const maxProgramBytes = 512 * 1024;

// A file name from a title: letters, digits, "-", "_" and spaces kept.
export function fileNameFor(title, extension) {
  const base = String(title ?? '').replace(/[^\p{L}\p{N} _-]/gu, '').trim().slice(0, 60) || 'programme';
  return `${base}.${extension}`;
}

// Whether a file looks like a program the editor can take.
export function acceptsProgramFile(file) {
  if (file.size > maxProgramBytes) return 'Ce fichier est trop gros pour un programme (512 Ko au plus).';
  if (!/\.(mir|txt)$/i.test(file.name)) return 'Seuls les fichiers .mir (ou .txt) s’ouvrent comme programme.';
  return '';
}

// A text file's content as a program: a byte-order mark dropped, CR LF made LF.
export function programFromFileText(text) {
  return text.replace(/^\uFEFF/, '').replace(/\r\n?/g, '\n');
}

function saveBlob(blob, name) {
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

export function downloadProgram(title, text) {
  saveBlob(new Blob([text], { type: 'text/plain;charset=utf-8' }), fileNameFor(title, 'mir'));
}

// The SVG text of a drawing card, ready to stand alone.
export function drawingSvgText(card) {
  const svg = card.querySelector('.drawing-host')?.shadowRoot?.querySelector('svg');
  if (!svg) return null;
  const copy = svg.cloneNode(true);
  copy.setAttribute('xmlns', 'http://www.w3.org/2000/svg');
  return inlineIconFont(new XMLSerializer().serializeToString(copy));
}

export function downloadSvg(card, name) {
  const text = drawingSvgText(card);
  if (text) saveBlob(new Blob([text], { type: 'image/svg+xml' }), fileNameFor(name, 'svg'));
}

// The drawing drawn as an image on a canvas of its own size, on white.
export async function downloadPng(card, name) {
  const text = drawingSvgText(card);
  if (!text) return;
  const image = new Image();
  image.src = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(text)}`;
  await image.decode();
  const canvas = document.createElement('canvas');
  canvas.width = Math.max(1, image.naturalWidth || image.width);
  canvas.height = Math.max(1, image.naturalHeight || image.height);
  const context = canvas.getContext('2d');
  context.fillStyle = '#ffffff';
  context.fillRect(0, 0, canvas.width, canvas.height);
  context.drawImage(image, 0, 0);
  const blob = await new Promise((resolve) => canvas.toBlob(resolve, 'image/png'));
  if (blob) saveBlob(blob, fileNameFor(name, 'png'));
}

// Asks for a .mir file; open(text, name) receives its program, refuse(message) a refusal.
export function pickProgramFile({ open, refuse }) {
  const input = document.createElement('input');
  input.type = 'file';
  input.accept = '.mir,.txt,text/plain';
  input.hidden = true;
  input.addEventListener('change', () => {
    const file = input.files?.[0];
    input.remove();
    if (file) readProgramFile(file, { open, refuse });
  });
  document.body.append(input);
  input.click();
}

export async function readProgramFile(file, { open, refuse }) {
  const problem = acceptsProgramFile(file);
  if (problem) return refuse(problem);
  open(programFromFileText(await file.text()), file.name.replace(/\.(mir|txt)$/i, ''));
}

// Files dropped anywhere on the page open as the program.
export function acceptDroppedFiles(target, handlers) {
  const hasFiles = (event) => [...(event.dataTransfer?.types ?? [])].includes('Files');
  target.addEventListener('dragover', (event) => {
    if (!hasFiles(event)) return;
    event.preventDefault();
    event.dataTransfer.dropEffect = 'copy';
    document.body.classList.add('dropping');
  });
  target.addEventListener('dragleave', (event) => {
    if (event.target === target || !target.contains(event.relatedTarget)) document.body.classList.remove('dropping');
  });
  target.addEventListener('drop', (event) => {
    document.body.classList.remove('dropping');
    if (!hasFiles(event)) return;
    // Before the editor, which would paste the file's text where it fell.
    event.preventDefault();
    event.stopPropagation();
    const file = event.dataTransfer.files[0];
    if (file) readProgramFile(file, handlers);
  }, true);
}

// The console's text, one line per line, as the pupil sees it.
export async function copyText(text) {
  try {
    await navigator.clipboard.writeText(text);
    return true;
  } catch {
    const area = document.createElement('textarea');
    area.value = text;
    document.body.append(area);
    area.select();
    const done = document.execCommand('copy');
    area.remove();
    return done;
  }
}
