// launchChromium(): Debian's headless Chromium through puppeteer-core (which never downloads a
// browser), on SwiftShader's software GL, with a fresh profile that the returned close removes.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const ChromiumPath = process.env.VOREL_CHROMIUM || '/usr/bin/chromium';

export async function launchChromium() {
    const profile = mkdtempSync(path.join(tmpdir(), 'vorel-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: ChromiumPath,
        headless: true,
        // NOTE: --no-sandbox because the tests run as root on CI, where Chromium's sandbox
        // refuses to start; the pages are the project's own, served from 127.0.0.1.
        args: [
            '--no-sandbox',
            '--use-angle=swiftshader',
            '--enable-unsafe-swiftshader',
            '--disable-background-networking',
            '--disable-component-update',
            '--disable-sync',
            '--no-first-run',
            `--user-data-dir=${profile}`,
        ],
    });
    return {
        browser,
        async close() {
            await browser.close();
            rmSync(profile, { recursive: true, force: true });
        },
    };
}
