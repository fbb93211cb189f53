// Poses a glTF or FBX file with three.js, as a library for the Node scripts: loads the file
// with GLTFLoader or FBXLoader, plays one animation with three.js's own AnimationMixer, and
// gives every mesh primitive's vertices where three.js's skinning puts them in the world (and,
// when asked, every skin joint's world origin, or every skinned bone's skinning matrix), so
// Vorel's own posing can be compared with an implementation it did not write. Morph targets
// are left at zero: Vorel's figures have none. Failures throw.
import { readFileSync } from 'node:fs';
import { dirname, resolve } from 'node:path';
import * as THREE from 'three';
import { FBXLoader } from 'three/examples/jsm/loaders/FBXLoader.js';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';

// three.js's FileLoader reports progress with ProgressEvent while it reads a data-URI buffer
// (every buffer of a .gltf, once inlined below); Node has Event but no ProgressEvent.
globalThis.ProgressEvent ??= class ProgressEvent extends Event {
  constructor(type, init = {}) {
    super(type);
    Object.assign(this, init);
  }
};

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

// FBXLoader builds cameras from the window's size and loads textures through TextureLoader,
// neither of which Node has: a window of a fixed size, and textures that stay empty (only
// positions are compared).
function prepareFbxLoader() {
  globalThis.window ??= { innerWidth: 640, innerHeight: 480 };
  THREE.TextureLoader.prototype.load = () => new THREE.Texture();
}

function isFbx(bytes) {
  const head = bytes.subarray(0, 1024).toString('latin1');
  return head.startsWith('Kaydara FBX Binary') || /^\s*(;[^\n]*\n\s*)*FBXHeaderExtension/.test(head);
}

// The scene in the file's own axes: FBXLoader turns a z-up file's root to y up, which is
// undone here (Vorel's comparison turns the file's axes into its own). Nothing maps objects
// to file indices: every mesh reports node, mesh and primitive -1.
function loadFbx(path, bytes) {
  prepareFbxLoader();
  let scene;
  try {
    scene = new FBXLoader().parse(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength), '');
  } catch (error) {
    throw new Error(`${path}: ${error.message ?? error}`);
  }
  scene.rotation.set(0, 0, 0);
  scene.updateMatrixWorld(true);
  return { scene, animations: scene.animations, parser: { associations: new Map(), json: { nodes: [] } } };
}

async function loadScene(path) {
  const bytes = readFileSync(path);
  return isFbx(bytes) ? loadFbx(path, bytes) : loadGltf(path, bytes);
}

async function loadGltf(path, bytes) {
  const isBinary = bytes.subarray(0, 4).toString('latin1') === 'glTF';
  const data = isBinary
    ? bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength)
    : inlineExternalBuffers(path, bytes);
  try {
    return await new Promise((done, failed) => new GLTFLoader().parse(data, '', done, failed));
  } catch (error) {
    throw new Error(`${path}: ${error.message ?? error}`);
  }
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

// The animation played once and held at its end.
function actionFor(gltf, name) {
  if (name === '-') return null;
  const clip = gltf.animations.find((c) => c.name === name);
  if (!clip) throw new Error(`no animation named "${name}"`);
  const action = new THREE.AnimationMixer(gltf.scene).clipAction(clip);
  action.setLoop(THREE.LoopOnce, 1);
  action.clampWhenFinished = true;
  action.play();
  return action;
}

// Poses the scene at the animation's time. The action is reset first: once it has reached its
// end three.js pauses it, and a paused action would stay at 0 for every later time, so each
// time is posed as by an action just started.
function playTo(action, time) {
  action.reset();
  action.getMixer().setTime(time);
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

// A name as one word: spaces replaced by '_', '-' when there is none.
function wordOf(name) {
  return (name || '-').replace(/\s/g, '_');
}

function posedJoints(gltf, joints) {
  const position = new THREE.Vector3();
  return joints.map(([node, bone]) => {
    position.setFromMatrixPosition(bone.matrixWorld);
    return { node, name: wordOf(gltf.parser.json.nodes[node].name), x: position.x, y: position.y, z: position.z };
  });
}

// Every skinned bone's skinning matrix in the world (bind-pose world to posed world, 16
// numbers column by column), by bone name, once per name.
function skinMatrices(meshes) {
  const byName = new Map();
  const toBind = new THREE.Matrix4();
  const matrix = new THREE.Matrix4();
  for (const mesh of meshes) {
    if (!mesh.isSkinnedMesh) continue;
    mesh.skeleton.update();
    toBind.copy(mesh.matrixWorld).invert();
    mesh.skeleton.bones.forEach((bone, i) => {
      if (byName.has(bone.name)) return;
      matrix
        .copy(mesh.matrixWorld)
        .multiply(mesh.bindMatrixInverse)
        .multiply(bone.matrixWorld)
        .multiply(mesh.skeleton.boneInverses[i])
        .multiply(mesh.bindMatrix)
        .multiply(toBind);
      byName.set(bone.name, [...matrix.elements]);
    });
  }
  return [...byName.entries()].map(([name, elements]) => ({ name: wordOf(name), elements }));
}

// Each primitive's vertices before skinning, placed by its object's world matrix: where a
// skinned mesh's vertices rest when every bone stands at its bind pose.
function bindMeshes(meshes) {
  const vertex = new THREE.Vector3();
  return meshes.map((mesh, index) => {
    const attribute = mesh.geometry.attributes.position;
    const positions = new Float64Array(3 * attribute.count);
    for (let i = 0; i < attribute.count; ++i) {
      vertex.fromBufferAttribute(attribute, i).applyMatrix4(mesh.matrixWorld);
      positions.set([vertex.x, vertex.y, vertex.z], 3 * i);
    }
    return { index, name: wordOf(mesh.name), node: -1, gltfMesh: -1, primitive: -1, positions };
  });
}

// Each primitive's world vertices as x, y, z triples in vertex order.
function posedMeshes(gltf, meshes) {
  const vertex = new THREE.Vector3();
  return meshes.map((mesh, index) => {
    if (mesh.morphTargetInfluences) mesh.morphTargetInfluences.fill(0);
    if (mesh.isSkinnedMesh) mesh.skeleton.update();
    const association = gltf.parser.associations.get(mesh) ?? {};
    const count = mesh.geometry.attributes.position.count;
    const positions = new Float64Array(3 * count);
    for (let i = 0; i < count; ++i) {
      mesh.getVertexPosition(i, vertex).applyMatrix4(mesh.matrixWorld);
      positions[3 * i] = vertex.x;
      positions[3 * i + 1] = vertex.y;
      positions[3 * i + 2] = vertex.z;
    }
    return {
      index,
      name: wordOf(mesh.name),
      node: nodeIndexOf(gltf.parser.associations, mesh),
      gltfMesh: association.meshes ?? -1,
      primitive: association.primitives ?? -1,
      positions,
    };
  });
}

// The file posed by ANIMATION ('-' for none: the rest pose) at each of the times, in order:
// { time, meshes: [{ index, name, node, gltfMesh, primitive, positions }], joints, skins },
// joints filled only when withJoints is set, skins (every skinned bone's { name, elements })
// only when withSkins is. With withBind, the list starts with { time: 'bind', meshes } (the
// vertices before skinning).
export async function skinnedPoses(path, animation, times, withJoints = false, withSkins = false, withBind = false) {
  const gltf = await loadScene(path);
  const meshes = meshesInSceneOrder(gltf.scene);
  const bind = withBind ? [{ time: 'bind', meshes: bindMeshes(meshes), joints: [], skins: [] }] : [];
  const action = actionFor(gltf, animation);
  const joints = withJoints ? jointsInNodeOrder(gltf, meshes) : [];
  return bind.concat(
    times.map((time) => {
      if (action) playTo(action, time);
      gltf.scene.updateMatrixWorld(true);
      return {
        time,
        meshes: posedMeshes(gltf, meshes),
        joints: posedJoints(gltf, joints),
        skins: withSkins ? skinMatrices(meshes) : [],
      };
    }),
  );
}
