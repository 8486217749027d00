// A tiny rasteriser for the favicon: shapes described in a unit square are
// sampled 4 × 4 times per pixel, so that edges are smooth at 16 pixels too.

// Distance from p to the segment a–b.
function segmentDistance(px, py, ax, ay, bx, by) {
  const dx = bx - ax, dy = by - ay;
  const t = Math.max(0, Math.min(1, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)));
  return Math.hypot(px - ax - t * dx, py - ay - t * dy);
}

// Shapes: { kind: 'roundedSquare', inset, radius, color } and
// { kind: 'stroke', points: [[x, y], …], width, color }, painted in order.
export function covers(shape, x, y) {
  if (shape.kind === 'roundedSquare') {
    const lo = shape.inset + shape.radius, hi = 1 - shape.inset - shape.radius;
    const cx = Math.min(Math.max(x, lo), hi), cy = Math.min(Math.max(y, lo), hi);
    return Math.hypot(x - cx, y - cy) <= shape.radius;
  }
  const p = shape.points;
  for (let i = 0; i + 1 < p.length; i++)
    if (segmentDistance(x, y, p[i][0], p[i][1], p[i + 1][0], p[i + 1][1]) <= shape.width / 2) return true;
  return false;
}

const parseColor = (hex) => [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16));

// RGBA pixels (top row first) of the shapes drawn on size × size pixels.
export function rasterise(shapes, size, samples = 4) {
  const pixels = new Uint8Array(size * size * 4);
  const colors = shapes.map((s) => parseColor(s.color));
  for (let py = 0; py < size; py++)
    for (let px = 0; px < size; px++) {
      let r = 0, g = 0, b = 0, a = 0;
      for (let sy = 0; sy < samples; sy++)
        for (let sx = 0; sx < samples; sx++) {
          const x = (px + (sx + 0.5) / samples) / size, y = (py + (sy + 0.5) / samples) / size;
          let top = -1;
          shapes.forEach((shape, i) => { if (covers(shape, x, y)) top = i; });
          if (top >= 0) { r += colors[top][0]; g += colors[top][1]; b += colors[top][2]; a += 1; }
        }
      const at = (py * size + px) * 4;
      if (a > 0) { pixels[at] = Math.round(r / a); pixels[at + 1] = Math.round(g / a); pixels[at + 2] = Math.round(b / a); }
      pixels[at + 3] = Math.round((a * 255) / (samples * samples));
    }
  return pixels;
}
