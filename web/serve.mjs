// serve.mjs SITE [PORT]: serves the site folder on 127.0.0.1 as any static host would (make web
// runs it; the page's tests import serveSite). Only GET and HEAD of files inside the folder.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const Types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.wasm': 'application/wasm',
    '.png': 'image/png',
    '.txt': 'text/plain; charset=utf-8',
};

// The file a request names, or a status to answer with instead.
function fileOf(root, request) {
    if (request.method !== 'GET' && request.method !== 'HEAD') return { status: 405 };
    let path;
    try {
        path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch {
        return { status: 400 };
    }
    const file = resolve(join(root, path));
    if (file !== root && !file.startsWith(root + sep)) return { status: 403 };
    return { file };
}

async function answer(root, request, response) {
    let { file, status } = fileOf(root, request);
    if (status) {
        response.writeHead(status).end();
        return;
    }
    try {
        if ((await stat(file)).isDirectory()) file = join(file, 'index.html');
        const body = await readFile(file);
        const type = Types[extname(file)] || 'application/octet-stream';
        response.writeHead(200, { 'Content-Type': type, 'Content-Length': body.length });
        response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
        response.writeHead(404).end();
    }
}

// Resolves to the listening server once it listens; port 0 takes any free port.
export function serveSite(folder, port = 0) {
    const root = resolve(folder);
    const server = createServer((request, response) => {
        answer(root, request, response).catch(() => response.writeHead(500).end());
    });
    return new Promise((done, fail) => {
        server.once('error', fail);
        server.listen(port, '127.0.0.1', () => done(server));
    });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [folder, port = '8000'] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node serve.mjs SITE [PORT]');
        process.exit(2);
    }
    const server = await serveSite(folder, Number(port)).catch((error) => {
        console.error(`serve.mjs: cannot listen on 127.0.0.1:${port}: ${error.code || error.message}` +
            ' (another port: WEB_PORT=8080 make web)');
        process.exit(1);
    });
    console.log(`Vorel's page: open http://127.0.0.1:${server.address().port}/ (Ctrl-C stops)`);
}
