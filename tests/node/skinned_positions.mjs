// node skinned_positions.mjs [--joints] [--skins] [--bind] FILE.glb|FILE.gltf|FILE.fbx
//        ANIMATION TIME...
//
// Prints where three.js (three_skinning.mjs) puts every mesh primitive's vertices with
// ANIMATION ("-" for none: the rest pose) played to each TIME, for the C++ tests that compare
// Vorel's own posing with it. An FBX file is posed in its own axes and units.
//
// Output, for each TIME (seconds):
//   time T
//   mesh INDEX NAME COUNT node N gltf-mesh M primitive P   (per primitive, in scene order)
//   x y z                                                   (COUNT lines, in vertex order)
//   joint NODE NAME x y z      (with --joints: every skin joint's world origin, by node index)
//   skin NAME m0 ... m15       (with --skins: every skinned bone's skinning matrix in the
//                               world, column by column, by three.js's bone name)
// With --bind, a first block "time bind" gives every primitive's vertices before skinning.
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
  for (const skin of pose.skins) lines.push(`skin ${skin.name} ${skin.elements.join(' ')}`);
  return lines;
}

const args = process.argv.slice(2);
const flags = new Set();
while (['--joints', '--skins', '--bind'].includes(args[0])) flags.add(args.shift());
const [path, animation, ...timeTexts] = args;
if (!path || !animation || timeTexts.length === 0) {
  fail('usage: skinned_positions.mjs [--joints] [--skins] [--bind] FILE ANIMATION TIME...');
}
const times = timeTexts.map(Number);
if (times.some((t) => !Number.isFinite(t))) fail(`a TIME is not a number: ${timeTexts}`);
try {
  const poses = await skinnedPoses(path, animation, times, flags.has('--joints'), flags.has('--skins'), flags.has('--bind'));
  for (const pose of poses) {
    process.stdout.write(poseLines(pose).join('\n') + '\n');
  }
} catch (error) {
  fail(error.message ?? error);
}
