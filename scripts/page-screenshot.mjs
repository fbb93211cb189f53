// node scripts/page-screenshot.mjs SITE OUT.png: serves the built page (build/web/site) on
// 127.0.0.1, opens it in headless Chromium, starts Cancan and Strut, and saves the page as it
// looks 120 frames later (the README's picture of the page).
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const root = path.join(path.dirname(fileURLToPath(import.meta.url)), '..');
const { launchChromium } = await import(path.join(root, 'tests', 'node', 'chromium.mjs'));
const { serveSite } = await import(path.join(root, 'web', 'serve.mjs'));

const [site, output] = process.argv.slice(2);
if (!output) {
    console.error('usage: node scripts/page-screenshot.mjs SITE OUT.png');
    process.exit(2);
}
const server = await serveSite(site);
const chromium = await launchChromium();
try {
    const page = await chromium.browser.newPage();
    await page.setViewport({ width: 720, height: 760 });
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await page.waitForFunction(() => window.vorelReady === true, { timeout: 60000 });
    await page.keyboard.press('1');
    await page.keyboard.press('3');
    await page.waitForFunction(() => Module.ccall('vorelFramesDrawn', 'number', [], []) >= 120, { timeout: 60000 });
    await page.screenshot({ path: output });
    console.log(`wrote ${output}`);
} finally {
    await chromium.close();
    server.close();
}
