import { test } from 'node:test';
import assert from 'node:assert/strict';
import zlib from 'node:zlib';

import { crc32, encodeIco, encodePng } from '../images/png.mjs';
import { rasterise } from '../images/raster.mjs';
import { buildFavicon, FAVICON_SIZES } from '../images/favicon.mjs';

function chunks(png) {
  const list = [];
  for (let at = 8; at < png.length; ) {
    const length = png.readUInt32BE(at);
    const type = png.toString('latin1', at + 4, at + 8);
    const data = png.subarray(at + 8, at + 8 + length);
    assert.equal(png.readUInt32BE(at + 8 + length), crc32(png.subarray(at + 4, at + 8 + length)), `${type} checksum`);
    list.push({ type, data });
    at += 12 + length;
  }
  return list;
}

test('crc32 matches the PNG reference value', () => {
  assert.equal(crc32(Buffer.from('IEND', 'latin1')), 0xae426082);
});

test('a PNG decodes back to the same pixels', () => {
  const pixels = new Uint8Array(3 * 2 * 4).map((_, i) => (i * 37) % 256);
  const png = encodePng(pixels, 3, 2);
  const [ihdr, idat, iend] = chunks(png);
  assert.deepEqual([ihdr.type, idat.type, iend.type], ['IHDR', 'IDAT', 'IEND']);
  assert.equal(ihdr.data.readUInt32BE(0), 3);
  assert.equal(ihdr.data.readUInt32BE(4), 2);
  const rows = zlib.inflateSync(idat.data);
  for (let y = 0; y < 2; y++) {
    assert.equal(rows[y * 13], 0, 'no filter');
    assert.deepEqual([...rows.subarray(y * 13 + 1, y * 13 + 13)], [...pixels.subarray(y * 12, y * 12 + 12)]);
  }
});

test('the icon file lists each image with its size and where it starts', () => {
  const images = [{ size: 16, png: Buffer.from('aaaa') }, { size: 256, png: Buffer.from('bbbbbb') }];
  const ico = encodeIco(images);
  assert.equal(ico.readUInt16LE(2), 1);
  assert.equal(ico.readUInt16LE(4), 2);
  assert.equal(ico[6], 16);
  assert.equal(ico[22], 0, '256 pixels is written as 0');
  assert.equal(ico.toString('latin1', ico.readUInt32LE(18), ico.readUInt32LE(18) + ico.readUInt32LE(14)), 'aaaa');
  assert.equal(ico.toString('latin1', ico.readUInt32LE(34), ico.readUInt32LE(34) + ico.readUInt32LE(30)), 'bbbbbb');
});

test('the favicon holds a PNG for each size, opaque in the middle and clear in the corners', () => {
  const ico = buildFavicon();
  assert.equal(ico.readUInt16LE(4), FAVICON_SIZES.length);
  FAVICON_SIZES.forEach((size, i) => {
    assert.equal(ico[6 + 16 * i], size);
    const png = ico.subarray(ico.readUInt32LE(6 + 16 * i + 12), ico.readUInt32LE(6 + 16 * i + 12) + ico.readUInt32LE(6 + 16 * i + 8));
    const rows = zlib.inflateSync(chunks(png)[1].data);
    const alpha = (x, y) => rows[y * (size * 4 + 1) + 1 + x * 4 + 3];
    assert.equal(alpha(0, 0), 0, 'rounded corner');
    assert.equal(alpha(size >> 1, size >> 2), 255, 'tile');
  });
});

test('rasterised edges are antialiased, not jagged', () => {
  const pixels = rasterise([{ kind: 'stroke', points: [[0, 0.5], [1, 0.5]], width: 0.3, color: '#000000' }], 10);
  const alphas = Array.from({ length: 10 }, (_, y) => pixels[(y * 10 + 5) * 4 + 3]);
  assert.equal(alphas[5], 255);
  assert.equal(alphas[0], 0);
  assert.ok(alphas.some((a) => a > 0 && a < 255), `a partly covered row: ${alphas}`);
});
