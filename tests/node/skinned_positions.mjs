// node skinned_positions.mjs [--joints] FILE.glb|FILE.gltf ANIMATION TIME...
//
// Loads a glTF file with three.js, plays ANIMATION ("-" for none: the rest pose) with three.js's
// own AnimationMixer, and prints every mesh primitive's vertices where three.js's skinning puts
// them in the world, so Vorel's own posing can be compared with an implementation it did not
// write. Morph targets are left at zero: Vorel's figures have none.
//
// Output, for each TIME (seconds):
//   time T
//   mesh INDEX NAME COUNT node N gltf-mesh M primitive P   (per primitive, in scene order)
//   x y z                                                   (COUNT lines, in vertex order)
//   joint NODE NAME x y z      (with --joints: every skin joint's world origin, by node index)
// NAME is the node's name with spaces replaced by '_' ("-" when it has none).
import { readFileSync } from 'node:fs';
import { dirname, resolve } from 'node:path';
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';

// three.js's FileLoader reports progress with ProgressEvent while it reads a data-URI buffer
// (every buffer of a .gltf, once inlined below); Node has Event but no ProgressEvent.
globalThis.ProgressEvent ??= class ProgressEvent extends Event {
  constructor(type, init = {}) {
    super(type);
    Object.assign(this, init);
  }
};

function fail(message) {
  console.error(`skinned_positions: ${message}`);
  process.exit(1);
}

// GLTFLoader fetches external buffers by URL, which Node's fetch cannot do for local files;
// inlining them as data URIs lets the loader parse the file from memory.
function inlineExternalBuffers(path, bytes) {
  const json = JSON.parse(bytes.toString('utf8'));
  for (const buffer of json.buffers ?? []) {
    if (buffer.uri && !buffer.uri.startsWith('data:')) {
      const data = readFileSync(resolve(dirname(path), decodeURIComponent(buffer.uri)));
      buffer.uri = `data:application/octet-stream;base64,${data.toString('base64')}`;
    }
  }
  return JSON.stringify(json);
}

function loadGltf(path) {
  const bytes = readFileSync(path);
  const isBinary = bytes.subarray(0, 4).toString('latin1') === 'glTF';
  const data = isBinary
    ? bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength)
    : inlineExternalBuffers(path, bytes);
  return new Promise((done, failed) => new GLTFLoader().parse(data, '', done, failed));
}

// The glTF node an object came from: the object itself or, for the meshes of a primitive
// group, its parent.
function nodeIndexOf(associations, object) {
  for (let o = object; o; o = o.parent) {
    const found = associations.get(o);
    if (found && found.nodes !== undefined) return found.nodes;
  }
  return -1;
}

function meshesInSceneOrder(scene) {
  const meshes = [];
  scene.traverse((object) => {
    if (object.isMesh) meshes.push(object);
  });
  return meshes;
}

function mixerFor(gltf, name) {
  if (name === '-') return null;
  const clip = gltf.animations.find((c) => c.name === name);
  if (!clip) fail(`no animation named "${name}"`);
  const mixer = new THREE.AnimationMixer(gltf.scene);
  const action = mixer.clipAction(clip);
  action.setLoop(THREE.LoopOnce, 1);
  action.clampWhenFinished = true;
  action.play();
  return mixer;
}

// Every joint of every skin, once, in node order.
function jointsInNodeOrder(gltf, meshes) {
  const joints = new Map();
  for (const mesh of meshes) {
    if (!mesh.isSkinnedMesh) continue;
    for (const bone of mesh.skeleton.bones) joints.set(nodeIndexOf(gltf.parser.associations, bone), bone);
  }
  return [...joints.entries()].sort((a, b) => a[0] - b[0]);
}

function printJoints(gltf, joints) {
  const position = new THREE.Vector3();
  const lines = joints.map(([node, bone]) => {
    position.setFromMatrixPosition(bone.matrixWorld);
    const name = (gltf.parser.json.nodes[node].name || '-').replace(/\s/g, '_');
    return `joint ${node} ${name} ${position.x} ${position.y} ${position.z}`;
  });
  if (lines.length > 0) process.stdout.write(lines.join('\n') + '\n');
}

function printPose(gltf, meshes, time) {
  const lines = [`time ${time}`];
  const vertex = new THREE.Vector3();
  meshes.forEach((mesh, index) => {
    if (mesh.morphTargetInfluences) mesh.morphTargetInfluences.fill(0);
    if (mesh.isSkinnedMesh) mesh.skeleton.update();
    const association = gltf.parser.associations.get(mesh) ?? {};
    const count = mesh.geometry.attributes.position.count;
    const name = (mesh.name || '-').replace(/\s/g, '_');
    lines.push(
      `mesh ${index} ${name} ${count} node ${nodeIndexOf(gltf.parser.associations, mesh)} ` +
        `gltf-mesh ${association.meshes ?? -1} primitive ${association.primitives ?? -1}`,
    );
    for (let i = 0; i < count; ++i) {
      mesh.getVertexPosition(i, vertex).applyMatrix4(mesh.matrixWorld);
      lines.push(`${vertex.x} ${vertex.y} ${vertex.z}`);
    }
  });
  process.stdout.write(lines.join('\n') + '\n');
}

async function main() {
  const args = process.argv.slice(2);
  const withJoints = args[0] === '--joints';
  const [path, animation, ...timeTexts] = withJoints ? args.slice(1) : args;
  if (!path || !animation || timeTexts.length === 0) {
    fail('usage: skinned_positions.mjs [--joints] FILE ANIMATION TIME...');
  }
  const times = timeTexts.map(Number);
  if (times.some((t) => !Number.isFinite(t))) fail(`a TIME is not a number: ${timeTexts}`);
  const gltf = await loadGltf(path).catch((e) => fail(`${path}: ${e.message ?? e}`));
  const mixer = mixerFor(gltf, animation);
  const meshes = meshesInSceneOrder(gltf.scene);
  const joints = withJoints ? jointsInNodeOrder(gltf, meshes) : [];
  for (const time of times) {
    if (mixer) mixer.setTime(time);
    gltf.scene.updateMatrixWorld(true);
    printPose(gltf, meshes, time);
    printJoints(gltf, joints);
  }
}

main();
