// readPngPixels(FILE): the pixels of an 8-bit RGB or RGBA PNG without interlacing (what
// vorel-render writes), as { width, height, channels, data } with rows from the top.
import { readFileSync } from 'node:fs';
import { inflateSync } from 'node:zlib';

function paeth(left, up, upLeft) {
    const estimate = left + up - upLeft;
    const toLeft = Math.abs(estimate - left);
    const toUp = Math.abs(estimate - up);
    const toUpLeft = Math.abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return left;
    return toUp <= toUpLeft ? up : upLeft;
}

function unfilter(raw, width, height, channels) {
    const stride = width * channels;
    const data = new Uint8Array(stride * height);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)];
        for (let x = 0; x < stride; ++x) {
            const value = raw[y * (stride + 1) + 1 + x];
            const left = x >= channels ? data[y * stride + x - channels] : 0;
            const up = y > 0 ? data[(y - 1) * stride + x] : 0;
            const upLeft = x >= channels && y > 0 ? data[(y - 1) * stride + x - channels] : 0;
            const predicted = [0, left, up, (left + up) >> 1, paeth(left, up, upLeft)][filter];
            data[y * stride + x] = (value + predicted) & 0xff;
        }
    }
    return data;
}

export function readPngPixels(file) {
    const bytes = readFileSync(file);
    let offset = 8;
    let width = 0;
    let height = 0;
    let channels = 0;
    const compressed = [];
    while (offset < bytes.length) {
        const length = bytes.readUInt32BE(offset);
        const type = bytes.toString('latin1', offset + 4, offset + 8);
        const body = bytes.subarray(offset + 8, offset + 8 + length);
        if (type === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            const colourType = body[9];
            if (body[8] !== 8 || body[12] !== 0 || (colourType !== 2 && colourType !== 6)) {
                throw new Error(`${file}: not an 8-bit RGB or RGBA PNG without interlacing`);
            }
            channels = colourType === 2 ? 3 : 4;
        } else if (type === 'IDAT') {
            compressed.push(body);
        }
        offset += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(compressed));
    return { width, height, channels, data: unfilter(raw, width, height, channels) };
}
