// Runs the Khronos glTF validator on one file (a .gltf with its external buffers beside it),
// as a library for the Node scripts: the report's counts and every error or warning as text,
// and whether it passed (no error and no warning). A file that cannot be read throws.
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import validator from 'gltf-validator';

export async function validateFile(file) {
  const bytes = new Uint8Array(await readFile(file));
  const report = await validator.validateBytes(bytes, {
    uri: path.basename(file),
    maxIssues: 0,
    externalResourceFunction: async (uri) =>
      new Uint8Array(await readFile(path.join(path.dirname(file), decodeURIComponent(uri)))),
  });
  const issues = report.issues;
  const lines = [
    `${file}: errors ${issues.numErrors}  warnings ${issues.numWarnings}  ` +
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
