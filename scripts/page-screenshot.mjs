// node scripts/page-screenshot.mjs SITE OUT.png [FILE...]: serves the built page
// (build/web/site) on 127.0.0.1, opens it in headless Chromium and saves the page as it looks
// 120 frames after pressing keys: 1 and 3 (Cancan and Strut) on the dancer, or, with FILEs,
// 1 after choosing them as a person would (the README's pictures of the page).
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.join(path.dirname(fileURLToPath(import.meta.url)), '..');
const driver = await import(path.join(root, 'tests', 'node', 'page_driver.mjs'));

const [site, output, ...files] = process.argv.slice(2);
if (!output) {
    console.error('usage: node scripts/page-screenshot.mjs SITE OUT.png [FILE...]');
    process.exit(2);
}
const session = await driver.startPageSession(site);
try {
    const page = await driver.openPage(session);
    await page.setViewport({ width: 720, height: 820 });
    if (files.length > 0) await driver.chooseFiles(page, files);
    const problem = await driver.problemLine(page);
    if (problem !== '') throw new Error(problem);
    for (const key of files.length > 0 ? ['1'] : ['1', '3']) await page.keyboard.press(key);
    const start = await page.evaluate(() => Module.ccall('vorelFramesDrawn', 'number', [], []));
    await page.waitForFunction((first) => Module.ccall('vorelFramesDrawn', 'number', [], []) >= first + 120,
        { timeout: 60000 }, start);
    await page.screenshot({ path: output });
    console.log(`wrote ${output}`);
} finally {
    await session.close();
}
