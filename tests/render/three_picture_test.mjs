// node three_picture_test.mjs EXPORT RENDER DANCER_FOLDER WORK_FOLDER
//
// The picture checked against a renderer Vorel did not write: the default dancer exported by
// vorel-export is loaded, posed and drawn by three.js in headless Chromium with the viewer's
// camera (eye at (0, 200, 200) looking along -z, a vertical field of view of 75 degrees, near
// 1 and far 1000, 640 x 480), its turn about the y axis (n - 1 degrees at frame n) and its
// light (OpenGL's default light 0 from the eye, diffuse 0.75 0.85 0.9, OpenGL's default
// material: diffuse 0.8, and ambient 0.2 lit by the default scene ambient 0.2), given to
// three.js as a Lambert material. Each frame is compared with vorel-render's:
// - the silhouette (every pixel that is not the white background) pixel for pixel, but for
//   pixels next to an edge of either picture, where two rasterisers may round differently;
// - the shading of the pixels inside both silhouettes and away from their edges: OpenGL lights
//   the corners and blends the colours across a face, three.js lights every pixel, so the two
//   differ a little inside faces and not at all in the colours they give a face.
// Prints the measured differences; exits 1 when a frame is off.
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { launchChromium } from '../node/chromium.mjs';
import { readPngPixels } from '../node/png_pixels.mjs';

const [exportTool, renderTool, dancerFolder, workFolder] = process.argv.slice(2);
if (!workFolder) {
    console.error('usage: node three_picture_test.mjs EXPORT RENDER DANCER_FOLDER WORK_FOLDER');
    process.exit(2);
}
const here = path.dirname(fileURLToPath(import.meta.url));
const threeFolder = path.join(here, '..', 'node', 'node_modules', 'three');
const Width = 640;
const Height = 480;
const TimeStep = Math.fround(0.01);

// The rest pose at the start and turned, and frames of three dances, each started at frame 1.
const Cases = [
    { dance: null, frame: 1 },
    { dance: null, frame: 136 },
    { dance: 'Cancan', frame: 150 },
    { dance: 'Strut', frame: 300 },
    { dance: 'HighKick', frame: 90 },
    { dance: 'Salute', frame: 200 },
];

// Limits, from the differences measured (tests/golden/README.md): silhouette pixels off that
// are not next to an edge, and the shading of the inner pixels in 8-bit levels.
const MostSilhouettePixelsOff = 0;
const MostMeanLevels = 3;
const MostLevelsAt99Percent = 16;

// The local time of a dance started at frame 1, at frame n: n - 1 steps of the float clock.
function localTime(frame) {
    let time = 0;
    for (let k = 1; k < frame; ++k) time = Math.fround(time + TimeStep);
    return time;
}

function renderedFrame({ dance, frame }) {
    const folder = path.join(workFolder, `render-${dance ?? 'rest'}-${frame}`);
    mkdirSync(folder, { recursive: true });
    execFileSync(renderTool, ['-f', String(frame), ...(dance ? ['-d', `${dance}@1`] : []), '-o', folder,
        path.join(dancerFolder, 'vorel.txt')]);
    return readPngPixels(path.join(folder, `frame-${String(frame).padStart(4, '0')}.png`));
}

const PageHtml = `<!doctype html>
<html><body style="margin:0">
<canvas id="canvas" width="${Width}" height="${Height}"></canvas>
<script type="importmap">{ "imports": { "three": "/three/build/three.module.js",
  "three/addons/": "/three/examples/jsm/" } }</script>
<script type="module">
import * as THREE from 'three';
import { GLTFLoader } from 'three/addons/loaders/GLTFLoader.js';

// OpenGL's fixed-function lighting works on the colours as they are: no colour space.
THREE.ColorManagement.enabled = false;
const renderer = new THREE.WebGLRenderer({ canvas: document.getElementById('canvas'), antialias: false });
renderer.outputColorSpace = THREE.LinearSRGBColorSpace;
renderer.setPixelRatio(1);
renderer.setSize(${Width}, ${Height}, false);
renderer.setClearColor(new THREE.Color(1, 1, 1), 1);

const camera = new THREE.PerspectiveCamera(75, ${Width} / ${Height}, 1, 1000);
camera.position.set(0, 200, 200);
const scene = new THREE.Scene();
// A directional light from the eye; three.js divides a Lambert surface's light by pi.
const light = new THREE.DirectionalLight(new THREE.Color(0.75, 0.85, 0.9), Math.PI);
light.position.set(0, 0, 1);
scene.add(light);
// OpenGL's default material: diffuse 0.8, and ambient 0.2 under the scene's ambient 0.2.
const material = new THREE.MeshLambertMaterial({ color: new THREE.Color(0.8, 0.8, 0.8),
  emissive: new THREE.Color(0.04, 0.04, 0.04) });

const gltf = await new Promise((done, failed) => new GLTFLoader().load('/figure.glb', done, undefined, failed));
const turn = new THREE.Group();
turn.add(gltf.scene);
scene.add(turn);
gltf.scene.traverse((object) => { if (object.isMesh) object.material = material; });
const mixer = new THREE.AnimationMixer(gltf.scene);

// Draws the figure turned by DEGREES, posed by ANIMATION at TIME (none: the rest pose), and
// gives the canvas as RGBA, bottom row first.
window.drawFigure = (degrees, animation, time) => {
  mixer.stopAllAction();
  if (animation) {
    const clip = gltf.animations.find((c) => c.name === animation);
    if (!clip) throw new Error('no animation named ' + animation);
    const action = mixer.clipAction(clip);
    action.setLoop(THREE.LoopOnce, 1);
    action.clampWhenFinished = true;
    action.reset().play();
    mixer.setTime(time);
  }
  turn.rotation.y = degrees * Math.PI / 180;
  renderer.render(scene, camera);
  const gl = renderer.getContext();
  const pixels = new Uint8Array(${Width} * ${Height} * 4);
  gl.readPixels(0, 0, ${Width}, ${Height}, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
  return Array.from(pixels);
};
window.figureReady = true;
</script></body></html>`;

// Serves the page, three.js and the exported figure to the page from memory and disk.
async function servePage(page, glbPath) {
    await page.setRequestInterception(true);
    page.on('request', (request) => {
        const address = new URL(request.url());
        const send = (contentType, body) => request.respond({ status: 200, contentType, body });
        if (address.pathname === '/') return send('text/html', PageHtml);
        if (address.pathname === '/figure.glb') return send('model/gltf-binary', readFileSync(glbPath));
        if (address.pathname.startsWith('/three/')) {
            const file = path.join(threeFolder, ...address.pathname.slice('/three/'.length).split('/'));
            if (file.startsWith(threeFolder + path.sep)) return send('text/javascript', readFileSync(file));
        }
        return request.respond({ status: 404, body: '' });
    });
    const errors = [];
    page.on('pageerror', (error) => errors.push(String(error)));
    await page.setViewport({ width: Width, height: Height, deviceScaleFactor: 1 });
    await page.goto('http://vorel.invalid/');
    await page.waitForFunction(() => window.figureReady === true, { timeout: 60000 }).catch(() => {
        throw new Error(`the page did not draw: ${errors.join('; ') || 'no error reported'}`);
    });
}

// 1 where a pixel shows the figure (anything but the white background), rows from the top.
function figureMask(pixel, count) {
    const mask = new Uint8Array(count);
    for (let i = 0; i < count; ++i) mask[i] = pixel(i).some((value) => value !== 255) ? 1 : 0;
    return mask;
}

// 1 for pixels with a neighbour (of the eight) on the other side of the mask's edge.
function edgePixels(mask) {
    const edge = new Uint8Array(mask.length);
    for (let y = 0; y < Height; ++y) {
        for (let x = 0; x < Width; ++x) {
            const i = y * Width + x;
            for (let dy = -1; dy <= 1 && !edge[i]; ++dy) {
                for (let dx = -1; dx <= 1; ++dx) {
                    const nx = x + dx;
                    const ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= Width || ny >= Height) continue;
                    if (mask[ny * Width + nx] !== mask[i]) {
                        edge[i] = 1;
                        break;
                    }
                }
            }
        }
    }
    return edge;
}

function compare(threeRgba, png) {
    const count = Width * Height;
    const threePixel = (i) => {
        const row = Height - 1 - Math.floor(i / Width);
        const at = (row * Width + (i % Width)) * 4;
        return [threeRgba[at], threeRgba[at + 1], threeRgba[at + 2]];
    };
    const pngPixel = (i) => {
        const at = i * png.channels;
        return [png.data[at], png.data[at + 1], png.data[at + 2]];
    };
    const threeMask = figureMask(threePixel, count);
    const vorelMask = figureMask(pngPixel, count);
    const threeEdge = edgePixels(threeMask);
    const vorelEdge = edgePixels(vorelMask);
    let figurePixels = 0;
    let silhouetteDiffering = 0;
    let silhouetteOff = 0;
    const levels = [];
    for (let i = 0; i < count; ++i) {
        figurePixels += vorelMask[i];
        const nearEdge = threeEdge[i] || vorelEdge[i];
        if (threeMask[i] !== vorelMask[i]) {
            ++silhouetteDiffering;
            if (!nearEdge) ++silhouetteOff;
        } else if (vorelMask[i] && !nearEdge) {
            const a = threePixel(i);
            const b = pngPixel(i);
            levels.push(Math.max(Math.abs(a[0] - b[0]), Math.abs(a[1] - b[1]), Math.abs(a[2] - b[2])));
        }
    }
    levels.sort((a, b) => a - b);
    const mean = levels.reduce((sum, value) => sum + value, 0) / Math.max(levels.length, 1);
    return {
        figurePixels,
        silhouetteDiffering,
        silhouetteOff,
        innerPixels: levels.length,
        mean,
        at99: levels[Math.floor(0.99 * (levels.length - 1))] ?? 0,
        largest: levels[levels.length - 1] ?? 0,
    };
}

mkdirSync(workFolder, { recursive: true });
const glb = path.join(workFolder, 'dancer.glb');
execFileSync(exportTool, [path.join(dancerFolder, 'vorel.txt'), glb]);

const chromium = await launchChromium();
let failures = 0;
try {
    const page = await chromium.browser.newPage();
    await servePage(page, glb);
    for (const entry of Cases) {
        const label = `${entry.dance ?? 'rest pose'}, frame ${entry.frame}`;
        const time = entry.dance ? localTime(entry.frame) : 0;
        const threeRgba = await page.evaluate((degrees, animation, t) => window.drawFigure(degrees, animation, t),
            entry.frame - 1, entry.dance, time);
        const measured = compare(threeRgba, renderedFrame(entry));
        console.log(`# ${label}: ${measured.figurePixels} figure pixels; silhouette: ` +
            `${measured.silhouetteDiffering} differ, ${measured.silhouetteOff} of them away from an edge; ` +
            `shading of ${measured.innerPixels} inner pixels: mean ${measured.mean.toFixed(2)}, ` +
            `99 % within ${measured.at99}, largest ${measured.largest} levels of 255`);
        const problems = [];
        if (measured.figurePixels < 10000) problems.push('vorel-render drew almost no figure');
        if (measured.silhouetteOff > MostSilhouettePixelsOff) problems.push('the silhouettes differ');
        if (measured.mean > MostMeanLevels || measured.at99 > MostLevelsAt99Percent) problems.push('the shading differs');
        for (const problem of problems) {
            console.log(`FAIL: ${label}: ${problem}`);
            ++failures;
        }
    }
} finally {
    await chromium.close();
}
if (failures > 0) process.exit(1);
console.log('PASS');
