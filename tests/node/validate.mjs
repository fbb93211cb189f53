// node validate.mjs FILE.glb|FILE.gltf: runs the Khronos glTF validator on one file (a .gltf
// with its external buffers beside it), prints its counts and every error or warning, and
// exits 1 when there is any error or warning, 0 otherwise.
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import validator from 'gltf-validator';

const file = process.argv[2];
if (!file || process.argv.length !== 3) {
    console.error('usage: node validate.mjs FILE.glb|FILE.gltf');
    process.exit(2);
}

try {
    const bytes = new Uint8Array(await readFile(file));
    const report = await validator.validateBytes(bytes, {
        uri: path.basename(file),
        maxIssues: 0,
        externalResourceFunction: async (uri) =>
            new Uint8Array(await readFile(path.join(path.dirname(file), decodeURIComponent(uri)))),
    });
    const issues = report.issues;
    console.log(`${file}: errors ${issues.numErrors}  warnings ${issues.numWarnings}  ` +
                `infos ${issues.numInfos}  hints ${issues.numHints}`);
    for (const message of issues.messages) {
        if (message.severity <= 1) {
            const kind = message.severity === 0 ? 'error' : 'warning';
            console.log(`  ${kind} ${message.code} at ${message.pointer ?? '-'}: ${message.message}`);
        }
    }
    process.exit(issues.numErrors === 0 && issues.numWarnings === 0 ? 0 : 1);
} catch (failure) {
    console.error(`${file}: ${failure.message ?? failure}`);
    process.exit(1);
}
