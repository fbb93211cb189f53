// Runs the Khronos glTF validator on one file (a .gltf with its external buffers beside it), or
// on a .glb's bytes in memory, as a library for the Node scripts: the report's counts and every
// error or warning as text, and whether it passed (no error and no warning). A file that cannot
// be read throws.
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import validator from 'gltf-validator';

function noExternalResources(name) {
  return async (uri) => {
    throw new Error(`${name} names an external resource, ${uri}`);
  };
}

// NAME is what the report calls the file; readResource(uri) gives the bytes of an external
// buffer the file names (a .glb needs none).
export async function validateBytes(bytes, name, readResource = noExternalResources(name)) {
  const report = await validator.validateBytes(new Uint8Array(bytes), {
    uri: path.basename(name),
    maxIssues: 0,
    externalResourceFunction: async (uri) => new Uint8Array(await readResource(decodeURIComponent(uri))),
  });
  const issues = report.issues;
  const lines = [
    `${name}: errors ${issues.numErrors}  warnings ${issues.numWarnings}  ` +
      `infos ${issues.numInfos}  hints ${issues.numHints}`,
  ];
  for (const message of issues.messages) {
    if (message.severity <= 1) {
      const kind = message.severity === 0 ? 'error' : 'warning';
      lines.push(`  ${kind} ${message.code} at ${message.pointer ?? '-'}: ${message.message}`);
    }
  }
  return { text: lines.join('\n') + '\n', passed: issues.numErrors === 0 && issues.numWarnings === 0 };
}

export async function validateFile(file) {
  return validateBytes(await readFile(file), file,
    (uri) => readFile(path.join(path.dirname(file), uri)));
}
