// node skinned_positions.mjs [--joints] FILE.glb|FILE.gltf ANIMATION TIME...
//
// Prints where three.js (three_skinning.mjs) puts every mesh primitive's vertices with
// ANIMATION ("-" for none: the rest pose) played to each TIME, for the C++ tests that compare
// Vorel's own posing with it.
//
// Output, for each TIME (seconds):
//   time T
//   mesh INDEX NAME COUNT node N gltf-mesh M primitive P   (per primitive, in scene order)
//   x y z                                                   (COUNT lines, in vertex order)
//   joint NODE NAME x y z      (with --joints: every skin joint's world origin, by node index)
// NAME is the node's name with spaces replaced by '_' ("-" when it has none).
import { skinnedPoses } from './three_skinning.mjs';

function fail(message) {
  console.error(`skinned_positions: ${message}`);
  process.exit(1);
}

function poseLines(pose) {
  const lines = [`time ${pose.time}`];
  for (const mesh of pose.meshes) {
    const count = mesh.positions.length / 3;
    lines.push(
      `mesh ${mesh.index} ${mesh.name} ${count} node ${mesh.node} ` +
        `gltf-mesh ${mesh.gltfMesh} primitive ${mesh.primitive}`,
    );
    for (let i = 0; i < count; ++i) {
      lines.push(`${mesh.positions[3 * i]} ${mesh.positions[3 * i + 1]} ${mesh.positions[3 * i + 2]}`);
    }
  }
  for (const joint of pose.joints) lines.push(`joint ${joint.node} ${joint.name} ${joint.x} ${joint.y} ${joint.z}`);
  return lines;
}

const args = process.argv.slice(2);
const withJoints = args[0] === '--joints';
const [path, animation, ...timeTexts] = withJoints ? args.slice(1) : args;
if (!path || !animation || timeTexts.length === 0) {
  fail('usage: skinned_positions.mjs [--joints] FILE ANIMATION TIME...');
}
const times = timeTexts.map(Number);
if (times.some((t) => !Number.isFinite(t))) fail(`a TIME is not a number: ${timeTexts}`);
try {
  for (const pose of await skinnedPoses(path, animation, times, withJoints)) {
    process.stdout.write(poseLines(pose).join('\n') + '\n');
  }
} catch (error) {
  fail(error.message ?? error);
}
