// node bench/web_page.mjs SITE NATIVE_BUILD: the browser page's measured targets, in headless
// Chromium on SwiftShader (software GL), served from 127.0.0.1 (make web-bench):
// - picture: pixels more than 2 % off vorel-render's frame, frames 1, 60, 150 of the rest pose
//   and of Cancan started at frame 1;
// - frame rate with all seven dances playing, and the frame time split into update and
//   drawing (the median of three 3-second runs, each in a fresh page), beside the rate at
//   which the same browser runs animation frames on an empty page (what the machine allows);
// - the page's size gzipped, and the time from navigation to its first frame (median of five);
// - importing RobotExpressive.glb chosen in the page, up to its first set shown (median of five).
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const root = path.join(path.dirname(fileURLToPath(import.meta.url)), '..');
const { launchChromium } = await import(path.join(root, 'tests', 'node', 'chromium.mjs'));
const { readPngPixels } = await import(path.join(root, 'tests', 'node', 'png_pixels.mjs'));
const { serveSite } = await import(path.join(root, 'web', 'serve.mjs'));

const [site, nativeBuild] = process.argv.slice(2);
if (!nativeBuild) {
    console.error('usage: node bench/web_page.mjs SITE NATIVE_BUILD');
    process.exit(2);
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function openPage(browser, address, query = '') {
    const page = await browser.newPage();
    await page.goto(address + query);
    await page.waitForFunction(() => window.vorelReady === true, { timeout: 60000 });
    return page;
}

async function pageFrame(browser, address, keys, frame) {
    const page = await openPage(browser, address, '?paused');
    const rgba = await page.evaluate((keyCodes, count) => {
        for (const key of keyCodes) Module.ccall('vorelPressKey', null, ['number'], [key]);
        Module.ccall('vorelDrawFrames', null, ['number'], [count]);
        const gl = document.getElementById('canvas').getContext('webgl');
        const pixels = new Uint8Array(640 * 480 * 4);
        gl.readPixels(0, 0, 640, 480, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
        return Array.from(pixels);
    }, keys, frame);
    await page.close();
    return rgba;
}

function renderFrame(dances, frame) {
    const folder = mkdtempSync(path.join(tmpdir(), 'vorel-web-bench-'));
    try {
        execFileSync(path.join(nativeBuild, 'tools', 'render', 'vorel-render'),
            ['-f', String(frame), ...dances.flatMap((dance) => ['-d', dance]), '-o', folder,
                path.join(nativeBuild, 'dancer', 'vorel.txt')]);
        return readPngPixels(path.join(folder, `frame-${String(frame).padStart(4, '0')}.png`));
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
}

function differingPixels(rgba, png) {
    let count = 0;
    for (let y = 0; y < 480; ++y) {
        for (let x = 0; x < 640; ++x) {
            const pageAt = ((479 - y) * 640 + x) * 4;
            const pngAt = (y * 640 + x) * png.channels;
            if ([0, 1, 2].some((c) => Math.abs(rgba[pageAt + c] - png.data[pngAt + c]) > 0.02 * 255)) ++count;
        }
    }
    return count;
}

async function measurePictures(browser, address) {
    for (const [name, keys, dances] of [['rest pose', [], []], ['Cancan@1', [49], ['Cancan@1']]]) {
        for (const frame of [1, 60, 150]) {
            const count = differingPixels(await pageFrame(browser, address, keys, frame), renderFrame(dances, frame));
            console.log(`picture  ${name} frame ${frame}: ${count} of 307200 pixels differ by more than 2 %`);
        }
    }
}

async function measureEmptyFrameRate(browser) {
    const page = await browser.newPage();
    const fps = await page.evaluate(() => new Promise((done) => {
        let frames = 0;
        const start = performance.now();
        const tick = () => {
            ++frames;
            if (performance.now() - start < 3000) requestAnimationFrame(tick);
            else done(frames / ((performance.now() - start) / 1000));
        };
        requestAnimationFrame(tick);
    }));
    await page.close();
    console.log(`frames   an empty page: ${fps.toFixed(1)} animation frames per second`);
}

async function measureFrameRate(browser, address) {
    const runs = [];
    for (let run = 0; run < 3; ++run) {
        const page = await openPage(browser, address);
        runs.push(await page.evaluate(async () => {
            const read = (name) => Module.ccall(name, 'number', [], []);
            for (let key = 49; key <= 55; ++key) Module.ccall('vorelPressKey', null, ['number'], [key]);
            const start = [performance.now(), read('vorelFramesDrawn'), read('vorelUpdateMilliseconds'),
                read('vorelDrawMilliseconds')];
            await new Promise((done) => setTimeout(done, 3000));
            const frames = read('vorelFramesDrawn') - start[1];
            return {
                fps: frames / ((performance.now() - start[0]) / 1000),
                update: (read('vorelUpdateMilliseconds') - start[2]) / frames,
                draw: (read('vorelDrawMilliseconds') - start[3]) / frames,
            };
        }));
        await page.close();
    }
    const fps = median(runs.map((run) => run.fps));
    const chosen = runs.find((run) => run.fps === fps);
    console.log(`frames   all seven dances: ${fps.toFixed(1)} frames per second (runs ${runs.map((r) => r.fps.toFixed(1)).join(', ')}); ` +
        `update ${chosen.update.toFixed(2)} ms, drawing calls ${chosen.draw.toFixed(2)} ms per frame`);
}

function measureSizes() {
    const gzipped = (name) => gzipSync(readFileSync(path.join(site, name)), { level: 9 }).length;
    const pageFiles = readdirSync(site).filter((name) => /\.(html|js|css|wasm)$/.test(name));
    const total = pageFiles.reduce((sum, name) => sum + gzipped(name), 0);
    const dancer = readdirSync(path.join(site, 'dancer')).reduce((sum, name) => sum + gzipped(path.join('dancer', name)), 0);
    console.log(`size     page code ${(total / 1024).toFixed(1)} KiB gzipped (${pageFiles.join(', ')}); default set ${(dancer / 1024).toFixed(1)} KiB gzipped`);
}

async function measureFirstFrame(browser, address) {
    const times = [];
    for (let run = 0; run < 5; ++run) {
        const page = await browser.newPage();
        await page.goto(address);
        await page.waitForFunction(() => window.vorelFirstFrameMilliseconds !== undefined, { timeout: 60000 });
        times.push(await page.evaluate(() => window.vorelFirstFrameMilliseconds));
        await page.close();
    }
    console.log(`load     first frame ${median(times).toFixed(0)} ms after navigation (runs ${times.map((t) => t.toFixed(0)).join(', ')})`);
}

async function measureImport(browser, address) {
    const times = [];
    for (let run = 0; run < 5; ++run) {
        const page = await openPage(browser, address);
        const chooser = await page.$('#file');
        await chooser.uploadFile(path.join(root, 'tests', 'data', 'third_party', 'RobotExpressive.glb'));
        await page.waitForFunction(() => window.vorelImportMilliseconds !== undefined, { timeout: 60000 });
        times.push(await page.evaluate(() => window.vorelImportMilliseconds));
        await page.close();
    }
    console.log(`import   RobotExpressive.glb ${median(times).toFixed(0)} ms (runs ${times.map((t) => t.toFixed(0)).join(', ')})`);
}

const server = await serveSite(site);
const address = `http://127.0.0.1:${server.address().port}/`;
const chromium = await launchChromium();
try {
    measureSizes();
    await measureFirstFrame(chromium.browser, address);
    await measureImport(chromium.browser, address);
    await measureEmptyFrameRate(chromium.browser);
    await measureFrameRate(chromium.browser, address);
    await measurePictures(chromium.browser, address);
} finally {
    await chromium.close();
    server.close();
}
