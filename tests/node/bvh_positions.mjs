// node bvh_positions.mjs FILE.bvh FRAME...
// Reads a BVH file with three.js's BVHLoader and prints, for each FRAME (0-based), a line
// `frame F` and then one line `INDEX NAME x y z` per joint (End Sites included, in file order):
// the joint's world position with the bones posed from that frame's keys of the loader's clip.
// Exit 1 with a message when the file cannot be read or a frame is out of range.
import { readFileSync } from 'node:fs';
import { BVHLoader } from 'three/examples/jsm/loaders/BVHLoader.js';
import { Vector3 } from 'three';

function fail(message) {
  console.error(`bvh_positions: ${message}`);
  process.exit(1);
}

const [file, ...frameArguments] = process.argv.slice(2);
if (!file || frameArguments.length === 0) fail('usage: bvh_positions.mjs FILE.bvh FRAME...');

let result;
try {
  result = new BVHLoader().parse(readFileSync(file, 'utf8'));
} catch (error) {
  fail(`${file}: ${error.message}`);
}
const bones = result.skeleton.bones;
const tracks = new Map(result.clip.tracks.map((track) => [track.name, track]));
// The loader names every End Site 'ENDSITE' and gives it no tracks; joints' tracks are named
// after the joint, so each joint's keys are found by its name.
const frameCount = bones.length > 0 && tracks.size > 0 ? result.clip.tracks[0].times.length : 0;

function poseAtFrame(frame) {
  for (const bone of bones) {
    const position = tracks.get(`${bone.name}.position`);
    const rotation = tracks.get(`${bone.name}.quaternion`);
    if (bone.name === 'ENDSITE' || !position || !rotation) continue;
    bone.position.fromArray(position.values, 3 * frame);
    bone.quaternion.fromArray(rotation.values, 4 * frame);
  }
  bones[0].updateMatrixWorld(true);
}

const lines = [];
const world = new Vector3();
for (const argument of frameArguments) {
  const frame = Number(argument);
  if (!Number.isInteger(frame) || frame < 0 || frame >= frameCount) {
    fail(`frame '${argument}' is not one of the file's ${frameCount} frames`);
  }
  poseAtFrame(frame);
  lines.push(`frame ${frame}`);
  bones.forEach((bone, index) => {
    bone.getWorldPosition(world);
    lines.push(`${index} ${bone.name} ${world.x} ${world.y} ${world.z}`);
  });
}
process.stdout.write(lines.join('\n') + '\n');
