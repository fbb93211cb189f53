// node page_test.mjs SITE NATIVE_BUILD: the page in headless Chromium, served from 127.0.0.1.
// It loads and draws; its frames match vorel-render's pixel for pixel but for edges (more
// than 2 % off in at most 0.1 % of the pixels); key 1 and the Cancan button start the dance;
// space stops the clock; Escape ends the frame loop and says so; a chosen BVH capture is
// imported and plays on its button, and so does RobotExpressive.glb's Dance; a dropped truncated
// GLB or lying BVH shows one line and the dancer dances on; the CMU capture retargets onto her;
// ?file=URL imports a file by address; a bone map chosen with a file is the one retargeting
// uses, and a bad one says what is wrong in vorel-retarget's one line; "Download .glb" saves
// what is shown, as vorel-export writes it, as a .glb the Khronos validator passes.
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const driver = await import(path.join(here, '..', 'node', 'page_driver.mjs'));
const { validateBytes } = await import(path.join(here, '..', 'node', 'gltf_validation.mjs'));
const { buttonNames, call, chooseFiles, dropFile, PixelCount, problemLine, TestData: testData, waitForFrames,
    withFiles } = driver;

const [site, nativeBuild] = process.argv.slice(2);
if (!nativeBuild) {
    console.error('usage: node page_test.mjs SITE NATIVE_BUILD');
    process.exit(2);
}
const MostDifferingPixels = 0.001 * PixelCount;

let session;

before(async () => {
    session = await driver.startPageSession(site);
});

after(async () => {
    await session?.close();
});

// A new page showing the dancer, with no problem line and no uncaught error.
async function openPage(query = '') {
    const page = await driver.openPage(session, query);
    assert.equal(await problemLine(page), '', 'the page shows a problem');
    assert.deepEqual(page.vorelErrors, []);
    return page;
}

function figurePixels(rgba) {
    let count = 0;
    for (let i = 0; i < rgba.length; i += 4) if (rgba[i] !== 255 || rgba[i + 2] !== 255) ++count;
    return count;
}

test('the page loads, plays its frame loop and draws the dancer', async () => {
    const page = await openPage();
    await page.waitForFunction(() => Module.ccall('vorelFramesDrawn', 'number', [], []) >= 3);
    const rgba = await page.evaluate(() => {
        const gl = document.getElementById('canvas').getContext('webgl');
        const pixels = new Uint8Array(640 * 480 * 4);
        gl.readPixels(0, 0, 640, 480, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
        return Array.from(pixels);
    });
    assert.ok(figurePixels(rgba) > 10000, 'the dancer covers part of the canvas');
    await page.close();
});

test("the page's frames are vorel-render's but for edges, also after the set is shown again", async () => {
    const page = await openPage('?paused');
    // The rest pose at frame 60, then Cancan from frame 1 at frame 150 on the same page.
    for (const { name, keys, dances, frame } of [
        { name: 'rest pose', keys: [], dances: [], frame: 60 },
        { name: 'Cancan from frame 1', keys: [49], dances: ['Cancan@1'], frame: 150 },
    ]) {
        const differing = driver.countDifferingPixels(await driver.pageFrame(page, keys, frame),
            driver.renderFrame(nativeBuild, dances, frame));
        console.log(`# ${name}, frame ${frame}: ${differing} of ${PixelCount} pixels differ by more than 2 %`);
        assert.ok(differing <= MostDifferingPixels, `${name}, frame ${frame}: ${differing} pixels differ`);
    }
    await page.close();
});

test('key 1 and the Cancan button start Cancan; space stops and restarts the clock', async () => {
    const page = await openPage();
    await page.keyboard.press('1');
    assert.equal(await call(page, 'vorelPlayingCount'), 1);
    await page.click('#dances button[data-key="49"]');
    assert.equal(await call(page, 'vorelPlayingCount'), 2);
    await page.keyboard.press('Space');
    const stopped = await call(page, 'vorelAnimationClock');
    const framesBefore = await call(page, 'vorelFramesDrawn');
    await page.waitForFunction((n) => Module.ccall('vorelFramesDrawn', 'number', [], []) > n + 2, {}, framesBefore);
    assert.equal(await call(page, 'vorelAnimationClock'), stopped, 'the clock stands still');
    await page.click('#clock');
    const framesAfter = await call(page, 'vorelFramesDrawn');
    await page.waitForFunction((n) => Module.ccall('vorelFramesDrawn', 'number', [], []) > n + 2, {}, framesAfter);
    assert.ok(await call(page, 'vorelAnimationClock') > stopped, 'the clock runs again');
    await page.close();
});

// Resolves once the browser has run COUNT animation frames, each a chance for a running frame
// loop to draw.
function browserAnimationFrames(page, count) {
    return page.evaluate((n) => new Promise((done) => {
        const next = () => (--n <= 0 ? done() : requestAnimationFrame(next));
        requestAnimationFrame(next);
    }), count);
}

test('Escape ends the frame loop and the page says so', async () => {
    const page = await openPage();
    // How long this page takes to draw the frames the positive checks wait for: after Escape
    // the test waits twice that, however slow the build, before it says no frame came.
    const start = Date.now();
    await waitForFrames(page, 3);
    const framesTime = Date.now() - start;
    await page.keyboard.press('Escape');
    assert.equal(await call(page, 'vorelFrameLoopRunning'), 0);
    const frames = await call(page, 'vorelFramesDrawn');
    await browserAnimationFrames(page, 10);
    await new Promise((done) => setTimeout(done, 2 * framesTime));
    assert.equal(await call(page, 'vorelFramesDrawn'), frames, 'no frame after Escape');
    assert.match(await page.$eval('#status', (element) => element.textContent), /frame loop has ended/);
    await page.close();
});

test('a default set with a truncated model shows one line naming the file, and nothing crashes', async () => {
    const page = await session.browser.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(String(error)));
    await page.setRequestInterception(true);
    page.on('request', async (request) => {
        if (!request.url().endsWith('/dancer/dancer.ply')) {
            await request.continue();
            return;
        }
        const whole = Buffer.from(await (await fetch(request.url())).arrayBuffer());
        await request.respond({ status: 200, contentType: 'application/octet-stream', body: whole.subarray(0, 1000) });
    });
    await page.goto(session.address);
    await page.waitForSelector('#problem:not([hidden])', { timeout: 30000 });
    const line = await page.$eval('#problem', (element) => element.textContent);
    assert.match(line, /dancer\.ply: .+/);
    assert.doesNotMatch(line, /\n/);
    assert.deepEqual(problems, []);
    await page.close();
});

test('a chosen BVH capture and RobotExpressive.glb are imported as vorel-import imports them, '
    + 'and key 1 and its button play their first motion', async () => {
    for (const { file, buttons } of [
        { file: 'cmu-93_03.bvh', buttons: ['1 cmu-93_03'] },
        { file: 'RobotExpressive.glb', buttons: ['1 Dance', '2 Death', '3 Idle', '4 Jump', '5 No', '6 Punch', '7 Running'] },
    ]) {
        const page = await openPage();
        await chooseFiles(page, [path.join(testData, 'third_party', file)]);
        assert.equal(await problemLine(page), '');
        assert.deepEqual(await buttonNames(page), buttons);
        await page.keyboard.press('1');
        await page.click('#dances button[data-key="49"]');
        assert.equal(await call(page, 'vorelPlayingCount'), 2);
        const clock = await call(page, 'vorelAnimationClock');
        await waitForFrames(page, 3);
        assert.ok(await call(page, 'vorelAnimationClock') > clock, `${file}'s first motion plays`);
        await page.close();
    }
});

test('?file=URL imports the file at that address, and an address that fails says so in one line', async () => {
    const robot = readFileSync(path.join(testData, 'third_party', 'RobotExpressive.glb'));
    for (const { query, check } of [
        { query: '?file=models/RobotExpressive.glb', check: async (page) => {
            await page.waitForFunction(() => document.querySelector('#dances button')?.textContent === '1 Dance' ||
                !document.getElementById('problem').hidden, { timeout: 30000 });
            assert.equal(await page.$eval('#problem', (element) => element.textContent), '');
        } },
        { query: '?file=models/missing.glb', check: async (page) => {
            await page.waitForSelector('#problem:not([hidden])', { timeout: 30000 });
            assert.match(await page.$eval('#problem', (element) => element.textContent), /^models\/missing\.glb: 404 /);
            assert.equal((await buttonNames(page))[0], '1 Cancan');
        } },
    ]) {
        const page = await session.browser.newPage();
        await page.setRequestInterception(true);
        page.on('request', async (request) => {
            if (request.url().endsWith('/models/RobotExpressive.glb')) {
                await request.respond({ status: 200, contentType: 'model/gltf-binary', body: robot });
            } else {
                await request.continue();
            }
        });
        await page.goto(session.address + query);
        await check(page);
        await page.close();
    }
});

test('the chosen CMU capture is retargeted onto the dancer and plays on key 1', async () => {
    const page = await openPage();
    await chooseFiles(page, [path.join(testData, 'third_party', 'cmu-93_03.bvh')]);
    await page.waitForSelector('#retarget:not([hidden])', { timeout: 30000 });
    await page.click('#retarget');
    await page.waitForFunction(() => document.querySelector('#dances button')?.textContent !== '1 cmu-93_03' ||
        !document.getElementById('problem').hidden, { timeout: 60000 });
    assert.equal(await page.$eval('#problem', (element) => element.hidden), true,
        await page.$eval('#problem', (element) => element.textContent));
    const names = await buttonNames(page);
    assert.deepEqual(names, ['1 cmu-93_03 on the dancer', '2 Joyous Walk', '3 Strut', '4 HighKick', '5 MidKick',
        '6 LowKick', '7 Salute']);
    await page.keyboard.press('1');
    assert.equal(await call(page, 'vorelPlayingCount'), 1);
    const clock = await call(page, 'vorelAnimationClock');
    await waitForFrames(page, 3);
    assert.ok(await call(page, 'vorelAnimationClock') > clock, 'the retargeted motion plays');
    await page.close();
});

// The header promises six values a frame; the one motion line holds four.
const LyingBvh = 'HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 6 Xposition Yposition Zposition ' +
    'Zrotation Xrotation Yrotation\n End Site\n {\n  OFFSET 0 10 0\n }\n}\n' +
    'MOTION\nFrames: 1\nFrame Time: 0.0333\n0 0 0 0\n';

test('a dropped truncated GLB and a lying BVH show their one line and the dancer keeps dancing', async () => {
    const robot = readFileSync(path.join(testData, 'third_party', 'RobotExpressive.glb'));
    for (const { name, bytes } of [
        { name: 'truncated.glb', bytes: [...robot.subarray(0, 20000)] },
        { name: 'lying.bvh', bytes: [...Buffer.from(LyingBvh)] },
    ]) {
        const page = await openPage();
        await page.keyboard.press('1');
        await dropFile(page, name, bytes);
        await page.waitForSelector('#problem:not([hidden])', { timeout: 30000 });
        const line = await page.$eval('#problem', (element) => element.textContent);
        assert.ok(line.startsWith(`${name}: `), line);
        assert.doesNotMatch(line, /\n/);
        assert.equal((await buttonNames(page))[0], '1 Cancan');
        assert.equal(await call(page, 'vorelPlayingCount'), 1);
        const clock = await call(page, 'vorelAnimationClock');
        await waitForFrames(page, 3);
        assert.ok(await call(page, 'vorelAnimationClock') > clock, `the dancer dances on after ${name}`);
        await page.close();
    }
});

test('a bone map chosen with RobotExpressive.glb retargets its Dance onto the dancer; a bad map says '
    + 'what is wrong in one line', async () => {
    const robot = path.join(testData, 'third_party', 'RobotExpressive.glb');
    const page = await openPage();
    await chooseFiles(page, [robot, path.join(testData, 'robot_expressive_map.txt')]);
    assert.equal(await problemLine(page), '');
    await page.click('#retarget');
    await page.waitForFunction(() => document.querySelector('#dances button')?.textContent !== '1 Dance' ||
        !document.getElementById('problem').hidden, { timeout: 60000 });
    assert.equal(await problemLine(page), '');
    assert.equal((await buttonNames(page))[0], '1 Dance on the dancer');
    await page.keyboard.press('1');
    const clock = await call(page, 'vorelAnimationClock');
    await waitForFrames(page, 3);
    assert.ok(await call(page, 'vorelAnimationClock') > clock, "the robot's Dance plays on the dancer");

    await withFiles({ 'my-map.txt': '# CMU joints\nHips pelvis\nLeftElbow forearm_l\n' }, async (folder) => {
        await chooseFiles(page, [path.join(testData, 'third_party', 'cmu-93_03.bvh'), path.join(folder, 'my-map.txt')],
            '1 Dance on the dancer');
        assert.equal((await buttonNames(page))[0], '1 cmu-93_03');
        await page.click('#retarget');
        await page.waitForSelector('#problem:not([hidden])', { timeout: 60000 });
        assert.equal(await problemLine(page), "my-map.txt: line 3: the source has no bone named 'LeftElbow'");
        assert.equal((await buttonNames(page))[0], '1 cmu-93_03', 'the capture stays shown');
    });
    await page.close();
});

test('Download .glb saves the shown set as vorel-export writes it, named after it, and the Khronos '
    + 'validator passes it; the dances on screen play on', async () => {
    const page = await openPage();
    await page.keyboard.press('1');
    const dancer = await driver.downloadShownSet(page);
    assert.equal(dancer.name, 'dancer.glb');
    assert.equal(await call(page, 'vorelPlayingCount'), 1, 'Cancan still plays');
    const native = await withFiles({}, (folder) => {
        const output = path.join(folder, 'dancer.glb');
        execFileSync(path.join(nativeBuild, 'tools', 'export', 'vorel-export'),
            [path.join(nativeBuild, 'dancer', 'vorel.txt'), output]);
        return readFileSync(output);
    });
    assert.ok(dancer.bytes.equals(native), "the page's download is vorel-export's file, byte for byte");

    await chooseFiles(page, [path.join(testData, 'third_party', 'RobotExpressive.glb')]);
    const robot = await driver.downloadShownSet(page);
    assert.equal(robot.name, 'RobotExpressive.glb');
    for (const { name, bytes } of [dancer, robot]) {
        const { text, passed } = await validateBytes(bytes, name);
        console.log(text.trimEnd().replace(/^/gm, '# '));
        assert.ok(passed, text);
    }
    await page.close();
});

test('a file that cannot be used, dropped after a capture, leaves that capture to retarget', async () => {
    const page = await openPage();
    await chooseFiles(page, [path.join(testData, 'third_party', 'cmu-93_03.bvh')]);
    await dropFile(page, 'broken.glb', [1, 2, 3]);
    await page.waitForSelector('#problem:not([hidden])', { timeout: 30000 });
    assert.match(await problemLine(page), /^broken\.glb: /);
    await page.click('#retarget');
    await page.waitForFunction(() => document.querySelector('#dances button')?.textContent === '1 cmu-93_03 on the dancer' ||
        document.getElementById('problem').textContent.startsWith('cmu'), { timeout: 60000 });
    assert.equal(await problemLine(page), '');
    assert.equal((await buttonNames(page))[0], '1 cmu-93_03 on the dancer');
    await page.close();
});
