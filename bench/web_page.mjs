// node bench/web_page.mjs SITE NATIVE_BUILD: the browser page's measured targets, in headless
// Chromium on SwiftShader (software GL), served from 127.0.0.1 (make web-bench):
// - picture: pixels more than 2 % off vorel-render's frame, frames 1, 60, 150 of the rest pose
//   and of Cancan started at frame 1;
// - frame rate with all seven dances playing, and the frame time split into update and
//   drawing (the median of three 3-second runs, each in a fresh page), beside the rate at
//   which the same browser runs animation frames on an empty page (what the machine allows);
// - the cost of one frame up to its last pixel, all seven dances playing: a frame drawn on a
//   paused page and one pixel read back, which waits for SwiftShader to finish it (the median
//   of five runs of 40 frames), split into the page's update and drawing calls;
// - the page's size gzipped, and the time from navigation to its first frame (median of five);
// - importing RobotExpressive.glb chosen in the page, up to its first set shown (median of five).
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const root = path.join(path.dirname(fileURLToPath(import.meta.url)), '..');
const driver = await import(path.join(root, 'tests', 'node', 'page_driver.mjs'));

const [site, nativeBuild] = process.argv.slice(2);
if (!nativeBuild) {
    console.error('usage: node bench/web_page.mjs SITE NATIVE_BUILD');
    process.exit(2);
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// A new page showing the dancer; a problem line fails the benchmark.
async function openPage(session, query = '') {
    const page = await driver.openPage(session, query);
    const problem = await driver.problemLine(page);
    if (problem !== '') throw new Error(problem);
    return page;
}

async function measurePictures(session) {
    const page = await openPage(session, '?paused');
    for (const [name, keys, dances] of [['rest pose', [], []], ['Cancan@1', [49], ['Cancan@1']]]) {
        for (const frame of [1, 60, 150]) {
            const count = driver.countDifferingPixels(await driver.pageFrame(page, keys, frame),
                driver.renderFrame(nativeBuild, dances, frame));
            console.log(`picture  ${name} frame ${frame}: ${count} of ${driver.PixelCount} pixels differ by more than 2 %`);
        }
    }
    await page.close();
}

async function measureEmptyFrameRate(session) {
    const page = await session.browser.newPage();
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

async function measureFrameRate(session) {
    const runs = [];
    for (let run = 0; run < 3; ++run) {
        const page = await openPage(session);
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

async function measureFrameCost(session) {
    const page = await openPage(session, '?paused');
    const runs = [];
    for (let run = 0; run < 5; ++run) {
        runs.push(await page.evaluate(() => {
            const read = (name) => Module.ccall(name, 'number', [], []);
            for (let key = 49; key <= 55; ++key) Module.ccall('vorelPressKey', null, ['number'], [key]);
            const gl = document.getElementById('canvas').getContext('webgl');
            const pixel = new Uint8Array(4);
            const before = [performance.now(), read('vorelUpdateMilliseconds'), read('vorelDrawMilliseconds')];
            for (let frame = 0; frame < 40; ++frame) {
                Module.ccall('vorelDrawFrames', null, ['number'], [1]);
                gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
            }
            return {
                frame: (performance.now() - before[0]) / 40,
                update: (read('vorelUpdateMilliseconds') - before[1]) / 40,
                draw: (read('vorelDrawMilliseconds') - before[2]) / 40,
            };
        }));
    }
    await page.close();
    const cost = median(runs.map((run) => run.frame));
    const chosen = runs.find((run) => run.frame === cost);
    console.log(`frames   one frame to its last pixel, all seven dances: ${cost.toFixed(2)} ms (runs ${runs.map((r) => r.frame.toFixed(1)).join(', ')}); ` +
        `update ${chosen.update.toFixed(2)} ms, drawing calls ${chosen.draw.toFixed(2)} ms`);
}

function measureSizes() {
    const gzipped = (name) => gzipSync(readFileSync(path.join(site, name)), { level: 9 }).length;
    const pageFiles = readdirSync(site).filter((name) => /\.(html|js|css|wasm)$/.test(name));
    const total = pageFiles.reduce((sum, name) => sum + gzipped(name), 0);
    const dancer = readdirSync(path.join(site, 'dancer')).reduce((sum, name) => sum + gzipped(path.join('dancer', name)), 0);
    console.log(`size     page code ${(total / 1024).toFixed(1)} KiB gzipped (${pageFiles.join(', ')}); default set ${(dancer / 1024).toFixed(1)} KiB gzipped`);
}

async function measureFirstFrame(session) {
    const times = [];
    for (let run = 0; run < 5; ++run) {
        const page = await session.browser.newPage();
        await page.goto(session.address);
        await page.waitForFunction(() => window.vorelFirstFrameMilliseconds !== undefined, { timeout: 60000 });
        times.push(await page.evaluate(() => window.vorelFirstFrameMilliseconds));
        await page.close();
    }
    console.log(`load     first frame ${median(times).toFixed(0)} ms after navigation (runs ${times.map((t) => t.toFixed(0)).join(', ')})`);
}

async function measureImport(session) {
    const times = [];
    for (let run = 0; run < 5; ++run) {
        const page = await openPage(session);
        await driver.chooseFiles(page, [path.join(driver.TestData, 'third_party', 'RobotExpressive.glb')]);
        await page.waitForFunction(() => window.vorelImportMilliseconds !== undefined, { timeout: 60000 });
        times.push(await page.evaluate(() => window.vorelImportMilliseconds));
        await page.close();
    }
    console.log(`import   RobotExpressive.glb ${median(times).toFixed(0)} ms (runs ${times.map((t) => t.toFixed(0)).join(', ')})`);
}

const session = await driver.startPageSession(site);
try {
    measureSizes();
    await measureFirstFrame(session);
    await measureImport(session);
    await measureEmptyFrameRate(session);
    await measureFrameRate(session);
    await measureFrameCost(session);
    await measurePictures(session);
} finally {
    await session.close();
}
