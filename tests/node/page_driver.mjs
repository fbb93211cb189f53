// What the page's test, its benchmark and the README's screenshot share to drive the built
// page: serving the site on 127.0.0.1 with headless Chromium beside it, opening the page,
// choosing files, drawing exact frames and comparing them with vorel-render's.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { launchChromium } from './chromium.mjs';
import { readPngPixels } from './png_pixels.mjs';

const root = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
const { serveSite } = await import(path.join(root, 'web', 'serve.mjs'));

export const TestData = path.join(root, 'tests', 'data');
export const CanvasWidth = 640;
export const CanvasHeight = 480;
export const PixelCount = CanvasWidth * CanvasHeight;
// A channel more than 2 % of full scale off makes a pixel differ.
const ChannelTolerance = 0.02 * 255;

// The site served on a free port of 127.0.0.1 and a fresh headless Chromium; close() ends both.
export async function startPageSession(site) {
    const server = await serveSite(site);
    let chromium;
    try {
        chromium = await launchChromium();
    } catch (failure) {
        server.close();
        throw failure;
    }
    return {
        browser: chromium.browser,
        address: `http://127.0.0.1:${server.address().port}/`,
        async close() {
            await chromium.close();
            server.close();
        },
    };
}

// A new page at the site's address (with QUERY), once it shows the dancer or a problem line.
// The page's uncaught errors are collected in page.vorelErrors.
export async function openPage(session, query = '') {
    const page = await session.browser.newPage();
    page.vorelErrors = [];
    page.on('pageerror', (error) => page.vorelErrors.push(String(error)));
    await page.goto(session.address + query);
    await page.waitForFunction(() => window.vorelReady === true || !document.getElementById('problem').hidden,
        { timeout: 60000 });
    return page;
}

// The page's problem line, '' when none is shown.
export function problemLine(page) {
    return page.$eval('#problem', (element) => (element.hidden ? '' : element.textContent));
}

export function buttonNames(page) {
    return page.$$eval('#dances button', (buttons) => buttons.map((button) => button.textContent));
}

// Calls the module's exported function NAME with number arguments; resolves to its number.
export function call(page, name, ...args) {
    return page.evaluate((fn, values) => Module.ccall(fn, 'number', values.map(() => 'number'), values),
        name, args);
}

// Resolves once the page has drawn more than COUNT frames after this call.
export async function waitForFrames(page, count) {
    const before = await call(page, 'vorelFramesDrawn');
    await page.waitForFunction((n, more) => Module.ccall('vorelFramesDrawn', 'number', [], []) > n + more, {},
        before, count);
}

// Drops one file NAME holding BYTES (an array of numbers) on the page, as a person drops it.
export function dropFile(page, name, bytes) {
    return page.evaluate((fileName, content) => {
        const files = new DataTransfer();
        files.items.add(new File([new Uint8Array(content)], fileName));
        document.dispatchEvent(new DragEvent('drop', { dataTransfer: files, bubbles: true, cancelable: true }));
    }, name, bytes);
}

// A scratch folder holding FILES ({ name: content }), handed to BODY and removed after it.
export async function withFiles(files, body) {
    const folder = mkdtempSync(path.join(tmpdir(), 'vorel-page-test-'));
    try {
        for (const [name, content] of Object.entries(files)) writeFileSync(path.join(folder, name), content);
        return await body(folder);
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
}

// Chooses FILES with the page's file chooser and waits until the import has shown its set (the
// first button names something else than FIRST_BUTTON) or a problem line.
export async function chooseFiles(page, files, firstButton = '1 Cancan') {
    const chooser = await page.$('#file');
    await chooser.uploadFile(...files);
    await page.waitForFunction((before) => document.querySelector('#dances button')?.textContent !== before ||
        !document.getElementById('problem').hidden, { timeout: 60000 }, firstButton);
}

// Shows the default set afresh on a paused page (clock, turn and dances as at start-up),
// presses the keys before frame 1, draws frames 1..frame and reads the canvas back in the
// same task, bottom row first, as RGBA.
export function pageFrame(page, keys, frame) {
    return page.evaluate((keyCodes, count, width, height) => {
        const problem = Module.ccall('vorelShowManifest', 'string', ['string', 'number'], ['/dancer/vorel.txt', 0]);
        if (problem !== '') throw new Error(problem);
        for (const key of keyCodes) Module.ccall('vorelPressKey', null, ['number'], [key]);
        Module.ccall('vorelDrawFrames', null, ['number'], [count]);
        const gl = document.getElementById('canvas').getContext('webgl');
        const pixels = new Uint8Array(width * height * 4);
        gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
        return Array.from(pixels);
    }, keys, frame, CanvasWidth, CanvasHeight);
}

// vorel-render's frame of the native build's default set with DANCES (NAME@FRAME), as pixels.
export function renderFrame(nativeBuild, dances, frame) {
    const folder = mkdtempSync(path.join(tmpdir(), 'vorel-page-frame-'));
    try {
        execFileSync(path.join(nativeBuild, 'tools', 'render', 'vorel-render'),
            ['-f', String(frame), ...dances.flatMap((dance) => ['-d', dance]), '-o', folder,
                path.join(nativeBuild, 'dancer', 'vorel.txt')]);
        return readPngPixels(path.join(folder, `frame-${String(frame).padStart(4, '0')}.png`));
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
}

// Pixels of the page's frame (bottom row first) with a channel more than 2 % off the PNG's.
export function countDifferingPixels(pageRgba, png) {
    let differing = 0;
    for (let y = 0; y < CanvasHeight; ++y) {
        const pageRow = (CanvasHeight - 1 - y) * CanvasWidth * 4;
        const pngRow = y * CanvasWidth * png.channels;
        for (let x = 0; x < CanvasWidth; ++x) {
            for (let c = 0; c < 3; ++c) {
                const delta = pageRgba[pageRow + x * 4 + c] - png.data[pngRow + x * png.channels + c];
                if (Math.abs(delta) > ChannelTolerance) {
                    ++differing;
                    break;
                }
            }
        }
    }
    return differing;
}

// Clicks "Download .glb" and resolves to what the browser saved: { name, bytes }. Rejects with
// the page's problem line when it shows one instead.
export async function downloadShownSet(page) {
    const folder = mkdtempSync(path.join(tmpdir(), 'vorel-page-download-'));
    const client = await page.createCDPSession();
    try {
        await client.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder, eventsEnabled: true });
        const named = new Promise((done) => client.once('Browser.downloadWillBegin', (event) => done(event.suggestedFilename)));
        const saved = new Promise((done, fail) => client.on('Browser.downloadProgress', (event) => {
            if (event.state === 'completed') done();
            if (event.state === 'canceled') fail(new Error('the browser cancelled the download'));
        }));
        const refused = page.waitForSelector('#problem:not([hidden])', { timeout: 60000 })
            .then(async () => { throw new Error(await problemLine(page)); });
        await page.click('#download');
        await Promise.race([saved, refused]);
        const name = await named;
        return { name, bytes: readFileSync(path.join(folder, name)) };
    } finally {
        await client.detach();
        rmSync(folder, { recursive: true, force: true });
    }
}
