// Builds the content files by hand: node web/content/run-build.mjs [folder]
// (the repository's assets/ by default) and prints each file's size, raw and
// gzipped. With --notices it rewrites NOTICES.md instead.

import fs from 'node:fs/promises';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';

import { buildContent } from './build.mjs';
import { notices, noticesMarkdown } from './licences/notices.mjs';
import { writeAtomically } from './lib/generated.mjs';

const HERE = path.dirname(fileURLToPath(import.meta.url));
const args = process.argv.slice(2);

if (args.includes('--notices')) {
  await writeAtomically(path.join(HERE, 'NOTICES.md'), noticesMarkdown(await notices()));
  console.log('NOTICES.md written');
} else {
  const outDir = path.resolve(args[0] ?? path.join(HERE, '..', '..', 'assets'));
  const started = Date.now();
  const files = await buildContent(outDir);
  let total = 0;
  for (const { name } of files) {
    const content = await fs.readFile(path.join(outDir, name));
    const gzipped = zlib.gzipSync(content).length;
    total += gzipped;
    console.log(`${name.padEnd(16)} ${String(content.length).padStart(8)} B  gzip ${String(gzipped).padStart(7)} B`);
  }
  console.log(`${'total'.padEnd(16)} ${''.padStart(8)}    gzip ${String(total).padStart(7)} B   (${Date.now() - started} ms, into ${outDir})`);
}
