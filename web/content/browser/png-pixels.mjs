// Reads the pixels of an 8-bit, non-interlaced PNG (what Chromium's
// screenshots are), undoing the five row filters.

import zlib from 'node:zlib';

export function decodePng(png) {
  let width, height, channels;
  const data = [];
  for (let at = 8; at < png.length; ) {
    const length = png.readUInt32BE(at);
    const type = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('only 8-bit non-interlaced PNG');
      channels = { 2: 3, 6: 4 }[body[9]];
      if (!channels) throw new Error(`colour type ${body[9]} not read`);
    } else if (type === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const out = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; x++) {
      const byte = raw[y * (stride + 1) + 1 + x];
      const a = x >= channels ? out[y * stride + x - channels] : 0;
      const b = y > 0 ? out[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? out[(y - 1) * stride + x - channels] : 0;
      const p = a + b - c;
      const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      const predicted = [0, a, b, (a + b) >> 1, paeth][filter];
      out[y * stride + x] = (byte + predicted) & 0xff;
    }
  }
  // The grey level of a pixel (0 black, 255 white).
  const grey = (x, y) => {
    const at = y * stride + x * channels;
    return (out[at] + out[at + 1] + out[at + 2]) / 3;
  };
  return { width, height, grey };
}
