#!/usr/bin/env node
// Compares PNG pictures pixel by pixel (8-bit RGBA or RGB, not interlaced):
//   node as3/compare-pictures.js DIR_A DIR_B NAME.png...
// Prints one line per picture; exit status 1 when any differs or is missing.
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

// {width, height, rgba: Buffer} of a PNG file.
function decode(file) {
  const png = fs.readFileSync(file);
  if (png.readUInt32BE(0) !== 0x89504e47) throw new Error('not a PNG');
  let at = 8, width = 0, height = 0, channels = 0;
  const data = [];
  while (at < png.length) {
    const length = png.readUInt32BE(at);
    const type = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const depth = body[8], colour = body[9], interlace = body[12];
      if (depth !== 8 || (colour !== 6 && colour !== 2) || interlace !== 0) throw new Error('unsupported PNG form');
      channels = colour === 6 ? 4 : 3;
    } else if (type === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? rows[y * stride + x - channels] : 0;
      const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      let v = line[x];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      rows[y * stride + x] = v & 0xff;
    }
  }
  const rgba = Buffer.alloc(width * height * 4);
  for (let i = 0; i < width * height; ++i) {
    for (let k = 0; k < 3; ++k) rgba[i * 4 + k] = rows[i * channels + k];
    rgba[i * 4 + 3] = channels === 4 ? rows[i * 4 + 3] : 255;
  }
  return { width, height, rgba };
}

function compare(a, b) {
  if (a.width !== b.width || a.height !== b.height) return `sizes differ: ${a.width}x${a.height} and ${b.width}x${b.height}`;
  for (let i = 0; i < a.rgba.length; i += 4) {
    if (a.rgba.readUInt32BE(i) !== b.rgba.readUInt32BE(i)) {
      const p = i / 4;
      return `pixel (${p % a.width}, ${Math.floor(p / a.width)}) differs: RGBA ${a.rgba.readUInt32BE(i).toString(16)} and ${b.rgba.readUInt32BE(i).toString(16)}`;
    }
  }
  return null;
}

const [dirA, dirB, ...names] = process.argv.slice(2);
if (!dirA || !dirB || names.length === 0) {
  console.error('usage: compare-pictures.js DIR_A DIR_B NAME.png...');
  process.exit(2);
}
let differ = 0;
for (const name of names) {
  let why;
  try {
    why = compare(decode(path.join(dirA, name)), decode(path.join(dirB, name)));
  } catch (e) {
    why = e.message;
  }
  if (why) ++differ;
  console.log(`${why ? 'DIFFERENT' : 'same pixels'}  ${name}${why ? ': ' + why : ''}`);
}
process.exitCode = differ ? 1 : 0;
