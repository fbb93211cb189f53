// node validate.mjs FILE.glb|FILE.gltf: runs the Khronos glTF validator on one file (a .gltf
// with its external buffers beside it, see gltf_validation.mjs), prints its counts and every
// error or warning, and exits 1 when there is any error or warning, 0 otherwise.
import { validateFile } from './gltf_validation.mjs';

const file = process.argv[2];
if (!file || process.argv.length !== 3) {
    console.error('usage: node validate.mjs FILE.glb|FILE.gltf');
    process.exit(2);
}

try {
    const { text, passed } = await validateFile(file);
    process.stdout.write(text);
    process.exit(passed ? 0 : 1);
} catch (failure) {
    console.error(`${file}: ${failure.message ?? failure}`);
    process.exit(1);
}
