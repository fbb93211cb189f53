// node check_export_clients.mjs EXPORT INSPECT IMPORT DANCER_FOLDER ROBOT_GLB WORK_FOLDER
//
// vorel-export's files checked by glTF clients Vorel did not write:
// - the Khronos validator (tests/node/validate.mjs) must report no error and no warning for the
//   default dancer's export, a baked session, and RobotExpressive imported and exported again;
// - three.js (tests/node/skinned_positions.mjs) must skin every vertex within 1e-4 of the
//   figure's height of where the figure puts it (vorel-inspect pose --obj) at frames 1, 2, 50,
//   150 and the last of every dance, and of the baked session;
// - vorel-import --fit none of the dancer's export must pose within the same bound of the
//   original at every tenth frame of every dance.
// Prints the validator's counts and the largest distances; exits 1 on any failure.
// The validator and three.js run inside this one Node process, each file loaded once per
// animation, and the figure's meshes come from one vorel-inspect run per dance and set.
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, rmSync } from 'node:fs';
import path from 'node:path';

import { validateFile } from '../node/gltf_validation.mjs';
import { skinnedPoses } from '../node/three_skinning.mjs';

const [exportTool, inspectTool, importTool, dancerFolder, robotGlb, workFolder] = process.argv.slice(2);
if (!workFolder) {
    console.error('usage: node check_export_clients.mjs EXPORT INSPECT IMPORT DANCER_FOLDER ROBOT_GLB WORK_FOLDER');
    process.exit(2);
}
const Tolerance = 1e-4;
// The viewer's time step, and the float it accumulates local times in.
const TimeStep = Math.fround(0.01);
const SessionDances = ['Cancan@1', 'Strut@30', 'HighKick@120', 'Salute@200', 'Cancan@260'];
const SessionFrames = 400;
let failures = 0;

function run(program, args) {
    return execFileSync(program, args, { encoding: 'utf8', maxBuffer: 1 << 30 });
}

function fail(message) {
    console.log(`FAIL: ${message}`);
    ++failures;
}

async function validate(file) {
    try {
        const { text, passed } = await validateFile(file);
        process.stdout.write(text);
        if (!passed) fail(`the validator does not pass ${file}`);
    } catch (failure) {
        fail(`the validator cannot read ${file}: ${failure.message ?? failure}`);
    }
}

// The positions of an OBJ written by vorel-inspect pose --obj, as x, y, z triples. It writes
// every 'v' line before the normals, so only the bytes before the first 'vn' are read as text.
function readObjPositions(bytes) {
    const normalsStart = bytes.indexOf('\nvn ');
    const positions = [];
    for (const line of bytes.toString('latin1', 0, normalsStart < 0 ? bytes.length : normalsStart).split('\n')) {
        if (line.startsWith('v ')) {
            const words = line.split(' ');
            positions.push(Number(words[1]), Number(words[2]), Number(words[3]));
        }
    }
    return Float64Array.from(positions);
}

// The face corners' position and normal indices of such an OBJ.
function readObjCorners(text) {
    const corners = [];
    for (const line of text.split('\n')) {
        if (line.startsWith('f ')) {
            for (const corner of line.split(' ').slice(1)) corners.push(corner.split('//').map((n) => Number(n) - 1));
        }
    }
    return corners;
}

// The Vorel position behind each glTF vertex: one vertex per distinct (position, normal)
// pair of the face corners, in the order the corners first use it.
function vertexSources(corners) {
    const seen = new Map();
    const sources = [];
    for (const [position, normal] of corners) {
        const key = position * 4294967296 + normal;
        if (!seen.has(key)) {
            seen.set(key, sources.length);
            sources.push(position);
        }
    }
    return sources;
}

// The figure's mesh at each of the frames (ascending), from one run of vorel-inspect pose;
// each OBJ is removed once read, so the run leaves no gigabytes of them behind.
function poseObjs(manifest, frames, dances, name) {
    const file = path.join(workFolder, `${name}.obj`);
    const last = frames[frames.length - 1];
    run(inspectTool, ['pose', '--obj', file, '--obj-frames', frames.join(','), manifest, String(last),
                      ...dances.filter((dance) => Number(dance.split('@').pop()) <= last)]);
    const poses = frames.map((frame) => {
        const frameFile = file.replace(/\.obj$/, `-${frame}.obj`);
        const positions = readObjPositions(readFileSync(frameFile));
        rmSync(frameFile);
        return positions;
    });
    rmSync(file);
    return poses;
}

function heightOf(positions) {
    let low = Infinity;
    let high = -Infinity;
    for (let y = 1; y < positions.length; y += 3) {
        low = Math.min(low, positions[y]);
        high = Math.max(high, positions[y]);
    }
    return high - low;
}

// three.js's skinned vertices of every mesh, one after the other as x, y, z triples, per time.
async function threePositions(file, animation, times) {
    const poses = await skinnedPoses(file, animation, times);
    return poses.map((pose) => {
        const points = new Float64Array(pose.meshes.reduce((sum, mesh) => sum + mesh.positions.length, 0));
        let at = 0;
        for (const mesh of pose.meshes) {
            points.set(mesh.positions, at);
            at += mesh.positions.length;
        }
        return points;
    });
}

// The largest distance from points (x, y, z triples, one per glTF vertex) to the positions
// their sources name; infinite when the vertex counts differ.
function largestDistance(points, sources, positions) {
    if (points.length !== 3 * sources.length) return Infinity;
    let largest = 0;
    sources.forEach((source, vertex) => {
        const [p, e] = [3 * vertex, 3 * source];
        largest = Math.max(largest, Math.hypot(points[p] - positions[e], points[p + 1] - positions[e + 1],
                                               points[p + 2] - positions[e + 2]));
    });
    return largest;
}

// How many frames a dance of this duration plays: local times 0, 0.01, ... in float, while
// not past the duration.
function frameCount(duration) {
    let frames = 0;
    for (let t = 0; t <= duration; t = Math.fround(t + TimeStep)) ++frames;
    return frames;
}

function localTime(frame) {
    let t = 0;
    for (let k = 1; k < frame; ++k) t = Math.fround(t + TimeStep);
    return t;
}

function danceDurations(manifest) {
    const durations = new Map();
    const summary = run(inspectTool, [manifest]);
    for (const match of summary.matchAll(/animation '([^']+)'\s+path '([^']+)'/g)) {
        const animation = run(inspectTool, [match[2]]);
        durations.set(match[1], Number(/duration ([^,]+),/.exec(animation)[1]));
    }
    return durations;
}

async function compareWithThree(file, animation, frames, timeOf, figurePoses, label) {
    const poses = await threePositions(file, animation, frames.map(timeOf));
    let largest = 0;
    frames.forEach((frame, index) => {
        const distance = largestDistance(poses[index], sources, figurePoses[index]);
        largest = Math.max(largest, distance);
        if (!(distance <= Tolerance * height)) fail(`${label} frame ${frame}: three.js is ${distance} from the figure`);
    });
    console.log(`three.js ${label}: frames ${frames.join(' ')}: largest distance ${largest.toExponential(3)} ` +
                `(${(largest / height).toExponential(3)} of the height)`);
    return largest;
}

function checkedFrames(last, wanted) {
    return [...new Set(wanted.filter((frame) => frame <= last).concat([last]))].sort((a, b) => a - b);
}

rmSync(workFolder, { recursive: true, force: true });
mkdirSync(workFolder, { recursive: true });
const manifest = path.join(dancerFolder, 'vorel.txt');
const dancerGlb = path.join(workFolder, 'dancer.glb');
const sessionGlb = path.join(workFolder, 'session.glb');
const robotSet = path.join(workFolder, 'robot');
const robotExport = path.join(workFolder, 'robot.glb');
process.stdout.write(run(exportTool, [manifest, dancerGlb]));
process.stdout.write(run(exportTool, ['--bake', ...SessionDances, '--frames', String(SessionFrames), manifest, sessionGlb]));
run(importTool, ['--fit', 'none', robotGlb, robotSet]);
process.stdout.write(run(exportTool, [path.join(robotSet, 'vorel.txt'), robotExport]));
for (const file of [dancerGlb, sessionGlb, robotExport]) await validate(file);

const restFile = path.join(workFolder, 'rest.obj');
run(inspectTool, ['pose', '--obj', restFile, manifest, '0']);
const restBytes = readFileSync(restFile);
const sources = vertexSources(readObjCorners(restBytes.toString('latin1')));
const height = heightOf(readObjPositions(restBytes));
console.log(`figure height ${height}; tolerance ${Tolerance * height}`);
const durations = danceDurations(manifest);
let largest = 0;
for (const [dance, duration] of durations) {
    const frames = checkedFrames(frameCount(duration), [1, 2, 50, 150]);
    const figurePoses = poseObjs(manifest, frames, [`${dance}@1`], dance);
    largest = Math.max(largest, await compareWithThree(dancerGlb, dance, frames, localTime, figurePoses, dance));
}
const sessionFrames = checkedFrames(SessionFrames, [1, 2, 50, 150]);
const sessionPoses = poseObjs(manifest, sessionFrames, SessionDances, 'session');
largest = Math.max(largest, await compareWithThree(sessionGlb, 'session', sessionFrames,
    (frame) => Math.fround((frame - 1) / 100), sessionPoses, 'session'));
console.log(`three.js: largest distance over every check ${largest.toExponential(3)} (${(largest / height).toExponential(3)} of the height)`);

// The position each glTF vertex became, primitive after primitive, from vorel-import's
// --vertex-map ('node primitive count binding' and then the positions, one line a primitive).
function importedPositionOfVertex(mapFile) {
    const positions = [];
    for (const line of readFileSync(mapFile, 'latin1').split('\n')) {
        if (line.length > 0) positions.push(...line.split(' ').slice(4).map(Number));
    }
    return positions;
}

// The imported figure's posed positions in glTF vertex order, as x, y, z triples.
function inVertexOrder(posed, positionOfVertex) {
    const points = new Float64Array(3 * positionOfVertex.length);
    positionOfVertex.forEach((position, vertex) => points.set(posed.subarray(3 * position, 3 * position + 3), 3 * vertex));
    return points;
}

// Round trip: the export imported back without a fit poses as the original does. The import
// welds equal positions, so its vertex map says which position each glTF vertex became.
const roundTrip = path.join(workFolder, 'round-trip');
const roundTripMap = path.join(workFolder, 'round-trip-vertices.txt');
run(importTool, ['--fit', 'none', '--vertex-map', roundTripMap, dancerGlb, roundTrip]);
const positionOfVertex = importedPositionOfVertex(roundTripMap);
const roundManifest = path.join(roundTrip, 'vorel.txt');
let roundLargest = 0;
for (const [dance, duration] of durations) {
    const frames = [];
    for (let frame = 1; frame <= frameCount(duration); frame += 10) frames.push(frame);
    const originals = poseObjs(manifest, frames, [`${dance}@1`], `original-${dance}`);
    const imported = poseObjs(roundManifest, frames, [`${dance}@1`], `imported-${dance}`);
    frames.forEach((frame, index) => {
        const distance = largestDistance(inVertexOrder(imported[index], positionOfVertex), sources, originals[index]);
        roundLargest = Math.max(roundLargest, distance);
        if (!(distance <= Tolerance * height)) fail(`round trip ${dance} frame ${frame}: ${distance} from the original`);
    });
}
console.log(`round trip: every tenth frame of every dance: largest distance ${roundLargest.toExponential(3)} ` +
            `(${(roundLargest / height).toExponential(3)} of the height)`);
process.exit(failures === 0 ? 0 : 1);
