// node fbx_page_test.mjs SITE NATIVE_BUILD: FBX files on the page in headless Chromium. A binary
// FBX character with deflated arrays (written by the native build's vorel-fbx-page-character)
// chosen on the page becomes the set vorel-import writes, bit for bit, its animations play on
// their buttons, and its download is vorel-export's file of that set byte for byte; its key-1
// animation retargets onto the dancer as vorel-retarget puts it there, and so does the same
// motion chosen without a mesh, which leaves the dancer shown; a truncated FBX file and one
// whose deflated array is damaged show vorel-import's one line and the dancer dances on.
import { execFileSync, spawnSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const driver = await import(path.join(here, '..', 'node', 'page_driver.mjs'));
const { buttonNames, call, chooseFiles, dropFile, problemLine, waitForFrames, withFiles } = driver;

const [site, nativeBuildArgument] = process.argv.slice(2);
if (!nativeBuildArgument) {
    console.error('usage: node fbx_page_test.mjs SITE NATIVE_BUILD');
    process.exit(2);
}
// Absolute, since the native tools run in scratch folders.
const nativeBuild = path.resolve(nativeBuildArgument);
const tool = (folder, name) => path.join(nativeBuild, 'tools', folder, name);

// The character and its motion alone as the native build writes them, once for every check.
const [character, motion] = await withFiles({}, (folder) => {
    execFileSync(path.join(nativeBuild, 'tests', 'web', 'vorel-fbx-page-character'), [folder]);
    return ['character.fbx', 'motion.fbx'].map((name) => readFileSync(path.join(folder, name)));
});

let session;

before(async () => {
    session = await driver.startPageSession(site);
});

after(async () => {
    await session?.close();
});

async function openPage() {
    const page = await driver.openPage(session);
    assert.equal(await problemLine(page), '', 'the page shows a problem');
    return page;
}

// Every file of FOLDER in the page's file system: { name: Buffer }.
async function pageFolder(page, folder) {
    const files = await page.evaluate((name) => Object.fromEntries(Module.FS.readdir(name)
        .filter((entry) => entry !== '.' && entry !== '..')
        .map((entry) => [entry, Array.from(Module.FS.readFile(`${name}/${entry}`))])), folder);
    return Object.fromEntries(Object.entries(files).map(([name, bytes]) => [name, Buffer.from(bytes)]));
}

// Every file of a folder on this machine: { name: Buffer }.
function nativeFolder(folder) {
    return Object.fromEntries(readdirSync(folder).sort().map((name) => [name, readFileSync(path.join(folder, name))]));
}

function assertSameFiles(pageFiles, nativeFiles, what) {
    console.log(`# ${what}: ${Object.keys(nativeFiles).join(', ')}`);
    assert.deepEqual(Object.keys(pageFiles).sort(), Object.keys(nativeFiles).sort(), `${what}: the same files`);
    for (const [name, bytes] of Object.entries(nativeFiles))
        assert.ok(pageFiles[name].equals(bytes), `${what}: ${name} differs from the native one`);
}

// Runs a native tool in FOLDER, so that it names files as the page does, and fails on its failure.
function runIn(folder, program, args) {
    execFileSync(program, args, { cwd: folder, stdio: ['ignore', 'ignore', 'pipe'] });
}

test('a chosen binary FBX character becomes the set vorel-import writes, bit for bit, plays on its '
    + 'buttons and downloads as vorel-export writes that set', async () => {
    await withFiles({ 'character.fbx': character }, async (folder) => {
        runIn(folder, tool('import', 'vorel-import'), ['character.fbx', 'set']);
        runIn(folder, tool('export', 'vorel-export'), ['set/vorel.txt', 'character.glb']);
        const page = await openPage();
        await chooseFiles(page, [path.join(folder, 'character.fbx')]);
        assert.equal(await problemLine(page), '');
        assert.deepEqual(await buttonNames(page), ['1 Walk', '2 Nod']);
        assertSameFiles(await pageFolder(page, '/imported'), nativeFolder(path.join(folder, 'set')),
            'the imported set');

        await page.keyboard.press('1');
        await page.click('#dances button[data-key="50"]');
        assert.equal(await call(page, 'vorelPlayingCount'), 2);
        const clock = await call(page, 'vorelAnimationClock');
        await waitForFrames(page, 3);
        assert.ok(await call(page, 'vorelAnimationClock') > clock, 'Walk and Nod play');

        const download = await driver.downloadShownSet(page);
        assert.equal(download.name, 'character.glb');
        assert.ok(download.bytes.equals(readFileSync(path.join(folder, 'character.glb'))),
            "the page's download is vorel-export's file of the native set, byte for byte");
        await page.close();
    });
});

// Chooses the motion-only FBX file FILE and waits until the page says it holds motion alone.
async function chooseMotion(page, file) {
    await (await page.$('#file')).uploadFile(file);
    await page.waitForFunction(() => /motion alone/.test(document.getElementById('status').textContent) ||
        !document.getElementById('problem').hidden, { timeout: 60000 });
    assert.equal(await problemLine(page), '');
    assert.deepEqual((await buttonNames(page))[0], '1 Cancan', 'the dancer stays shown');
}

test("the FBX character's Walk, and the same motion without a mesh, retarget onto the dancer as "
    + 'vorel-retarget puts them there', async () => {
    for (const { name, bytes, choose } of [
        { name: 'character.fbx', bytes: character, choose: (page, file) => chooseFiles(page, [file]) },
        { name: 'motion.fbx', bytes: motion, choose: chooseMotion },
    ]) {
        await withFiles({ [name]: bytes }, async (folder) => {
            runIn(folder, tool('retarget', 'vorel-retarget'), ['--animation', 'Walk', '--as', 'Cancan', name,
                path.join(nativeBuild, 'dancer', 'vorel.txt'), 'retargeted']);
            const page = await openPage();
            await choose(page, path.join(folder, name));
            await retargetOntoDancer(page, path.join(folder, 'retargeted'));
            await page.close();
        });
    }
});

// Retargets what the page imported last and checks the set it shows against NATIVE_SET.
async function retargetOntoDancer(page, nativeSet) {
    await page.click('#retarget');
    await page.waitForFunction(() => document.querySelector('#dances button')?.textContent === '1 Walk on the dancer' ||
        !document.getElementById('problem').hidden, { timeout: 60000 });
    assert.equal(await problemLine(page), '');
    assertSameFiles(await pageFolder(page, '/retargeted'), nativeFolder(nativeSet), 'the retargeted set');
    await page.keyboard.press('1');
    const clock = await call(page, 'vorelAnimationClock');
    await waitForFrames(page, 3);
    assert.ok(await call(page, 'vorelAnimationClock') > clock, 'the retargeted Walk plays');
}

// The character with every byte of its vertices' deflated stream after the two-byte zlib header
// set, which makes the first block of a type deflate does not have. A binary array property is
// its type byte, then three little-endian 32-bit words: count, encoding (1: deflated), length.
function damagedDeflate(bytes) {
    const record = bytes.indexOf('Vertices');
    assert.ok(record > 0, 'the character holds its vertices');
    const type = record + 'Vertices'.length;
    assert.equal(String.fromCharCode(bytes[type]), 'd');
    assert.equal(bytes.readUInt32LE(type + 5), 1, 'the vertices are deflated');
    const length = bytes.readUInt32LE(type + 9);
    const damaged = Buffer.from(bytes);
    damaged.fill(0xff, type + 13 + 2, type + 13 + length);
    return damaged;
}

// vorel-import's one line for FILE (named as given) holding BYTES.
function nativeProblem(name, bytes) {
    return withFiles({ [name]: bytes }, (folder) => {
        const run = spawnSync(tool('import', 'vorel-import'), [name, 'set'], { cwd: folder, encoding: 'utf8' });
        assert.equal(run.status, 1, `vorel-import refuses ${name}`);
        return run.stderr.trimEnd();
    });
}

test('a dropped truncated FBX file and one with a damaged deflated array show vorel-import\'s one '
    + 'line and the dancer dances on', async () => {
    for (const { name, bytes, says } of [
        { name: 'truncated.fbx', bytes: character.subarray(0, Math.floor(character.length / 2)), says: /^truncated\.fbx: / },
        { name: 'damaged.fbx', bytes: damagedDeflate(character), says: /^damaged\.fbx: .*compressed array/ },
    ]) {
        const expected = await nativeProblem(name, bytes);
        console.log(`# ${expected}`);
        assert.match(expected, says);
        const page = await openPage();
        await page.keyboard.press('1');
        await dropFile(page, name, [...bytes]);
        await page.waitForSelector('#problem:not([hidden])', { timeout: 30000 });
        assert.equal(await problemLine(page), expected);
        assert.equal((await buttonNames(page))[0], '1 Cancan');
        const clock = await call(page, 'vorelAnimationClock');
        await waitForFrames(page, 3);
        assert.ok(await call(page, 'vorelAnimationClock') > clock, `the dancer dances on after ${name}`);
        assert.deepEqual(page.vorelErrors, []);
        await page.close();
    }
});
