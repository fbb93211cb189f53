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
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, rmSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const [exportTool, inspectTool, importTool, dancerFolder, robotGlb, workFolder] = process.argv.slice(2);
if (!workFolder) {
    console.error('usage: node check_export_clients.mjs EXPORT INSPECT IMPORT DANCER_FOLDER ROBOT_GLB WORK_FOLDER');
    process.exit(2);
}
const nodeFolder = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'node');
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

function validate(file) {
    try {
        process.stdout.write(run('node', [path.join(nodeFolder, 'validate.mjs'), file]));
    } catch (failure) {
        process.stdout.write(failure.stdout ?? '');
        fail(`the validator does not pass ${file}`);
    }
}

// An OBJ as written by vorel-inspect pose --obj: positions, and (when asked for, since they
// never change) the face corners' position and normal indices.
function readObj(file, withCorners) {
    const positions = [];
    const corners = [];
    for (const line of readFileSync(file, 'utf8').split('\n')) {
        if (line.startsWith('v ')) {
            const words = line.split(' ');
            positions.push([Number(words[1]), Number(words[2]), Number(words[3])]);
        } else if (withCorners && line.startsWith('f ')) {
            for (const corner of line.split(' ').slice(1)) corners.push(corner.split('//').map((n) => Number(n) - 1));
        }
    }
    return { positions, corners };
}

// The Vorel position behind each glTF vertex: one vertex per distinct (position, normal)
// pair of the face corners, in the order the corners first use it.
function vertexSources(obj) {
    const seen = new Map();
    const sources = [];
    for (const [position, normal] of obj.corners) {
        const key = position * 4294967296 + normal;
        if (!seen.has(key)) {
            seen.set(key, sources.length);
            sources.push(position);
        }
    }
    return sources;
}

// The figure's mesh at each of the frames (ascending), from one run of vorel-inspect pose.
function poseObjs(manifest, frames, dances, name) {
    const file = path.join(workFolder, `${name}.obj`);
    const last = frames[frames.length - 1];
    run(inspectTool, ['pose', '--obj', file, '--obj-frames', frames.join(','), manifest, String(last),
                      ...dances.filter((dance) => Number(dance.split('@').pop()) <= last)]);
    return frames.map((frame) => readObj(file.replace(/\.obj$/, `-${frame}.obj`), false).positions);
}

function heightOf(positions) {
    const ys = positions.map((p) => p[1]);
    return Math.max(...ys) - Math.min(...ys);
}

// three.js's skinned vertices of the one mesh, per time.
function threePositions(file, animation, times) {
    const output = run('node', [path.join(nodeFolder, 'skinned_positions.mjs'), file, animation, ...times.map(String)]);
    const poses = [];
    let current = null;
    for (const line of output.split('\n')) {
        const words = line.split(' ');
        if (words[0] === 'time') poses.push((current = []));
        else if (words.length === 3 && current) current.push(words.map(Number));
    }
    return poses;
}

function largestDistance(points, sources, positions) {
    if (points.length !== sources.length) return Infinity;
    let largest = 0;
    points.forEach((point, vertex) => {
        const expected = positions[sources[vertex]];
        largest = Math.max(largest, Math.hypot(point[0] - expected[0], point[1] - expected[1], point[2] - expected[2]));
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

function compareWithThree(file, animation, frames, timeOf, figurePoses, label) {
    const poses = threePositions(file, animation, frames.map(timeOf));
    let largest = 0;
    frames.forEach((frame, index) => {
        const distance = largestDistance(poses[index] ?? [], sources, figurePoses[index]);
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
for (const file of [dancerGlb, sessionGlb, robotExport]) validate(file);

const restFile = path.join(workFolder, 'rest.obj');
run(inspectTool, ['pose', '--obj', restFile, manifest, '0']);
const rest = readObj(restFile, true);
const sources = vertexSources(rest);
const height = heightOf(rest.positions);
console.log(`figure height ${height}; tolerance ${Tolerance * height}`);
const durations = danceDurations(manifest);
let largest = 0;
for (const [dance, duration] of durations) {
    const frames = checkedFrames(frameCount(duration), [1, 2, 50, 150]);
    const figurePoses = poseObjs(manifest, frames, [`${dance}@1`], dance);
    largest = Math.max(largest, compareWithThree(dancerGlb, dance, frames, localTime, figurePoses, dance));
}
const sessionFrames = checkedFrames(SessionFrames, [1, 2, 50, 150]);
const sessionPoses = poseObjs(manifest, sessionFrames, SessionDances, 'session');
largest = Math.max(largest, compareWithThree(sessionGlb, 'session', sessionFrames,
    (frame) => Math.fround((frame - 1) / 100), sessionPoses, 'session'));
console.log(`three.js: largest distance over every check ${largest.toExponential(3)} (${(largest / height).toExponential(3)} of the height)`);

// Round trip: the export imported back without a fit poses as the original does. The import
// keeps one position per glTF vertex, in vertex order.
const roundTrip = path.join(workFolder, 'round-trip');
run(importTool, ['--fit', 'none', dancerGlb, roundTrip]);
const roundManifest = path.join(roundTrip, 'vorel.txt');
let roundLargest = 0;
for (const [dance, duration] of durations) {
    const frames = [];
    for (let frame = 1; frame <= frameCount(duration); frame += 10) frames.push(frame);
    const originals = poseObjs(manifest, frames, [`${dance}@1`], `original-${dance}`);
    const imported = poseObjs(roundManifest, frames, [`${dance}@1`], `imported-${dance}`);
    frames.forEach((frame, index) => {
        const distance = imported[index].length === sources.length
            ? largestDistance(imported[index], sources, originals[index]) : Infinity;
        roundLargest = Math.max(roundLargest, distance);
        if (!(distance <= Tolerance * height)) fail(`round trip ${dance} frame ${frame}: ${distance} from the original`);
    });
}
console.log(`round trip: every tenth frame of every dance: largest distance ${roundLargest.toExponential(3)} ` +
            `(${(roundLargest / height).toExponential(3)} of the height)`);
process.exit(failures === 0 ? 0 : 1);
