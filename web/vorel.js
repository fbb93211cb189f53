// The page's script: loads the default set into the module's file system, shows it, turns
// buttons into the viewer's keys, imports a dropped or chosen glTF or FBX file or BVH capture
// (with a bone map for retargeting it) and offers what is shown as a .glb download. The frame
// loop, keys and drawing live in the module.
'use strict';

const DefaultSet = ['vorel.txt', 'dancer.ply', 'cancan.anim', 'joyous_walk.anim', 'strut.anim',
    'high_kick.anim', 'mid_kick.anim', 'low_kick.anim', 'salute.anim'];
const query = new URLSearchParams(location.search);
// What the download of the shown set is named after: the dancer, an imported file, or the
// dancer with an imported motion; and the name of the file imported last.
let shownSetName = 'dancer';
let importedName = '';

function say(text) {
    document.getElementById('status').textContent = text;
}

function showProblem(line) {
    const problem = document.getElementById('problem');
    problem.textContent = line;
    problem.hidden = line === '';
}

function pressKey(code) {
    Module.ccall('vorelPressKey', null, ['number'], [code]);
}

function connectKeyButton(button) {
    // A clicked button must not keep the focus: space would then press it a second time.
    button.addEventListener('click', () => {
        pressKey(Number(button.dataset.key));
        button.blur();
    });
}

// One button per key the shown set binds, named after the animation it plays.
function showAnimationButtons() {
    const box = document.getElementById('dances');
    box.replaceChildren();
    const count = Module.ccall('vorelKeyCount', 'number', [], []);
    for (let index = 0; index < count; ++index) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = `${index + 1} ${Module.ccall('vorelKeyAnimationName', 'string', ['number'], [index])}`;
        button.dataset.key = String(49 + index);
        connectKeyButton(button);
        box.appendChild(button);
    }
}

// The file to import among those dropped or chosen together: the glTF, FBX or BVH file, the
// others being its buffers or its bone map.
function mainFile(files) {
    return files.find((file) => /\.(glb|gltf|fbx|bvh)$/i.test(file.name)) || files[0];
}

// A bone map for "Retarget onto the dancer" among them (SOURCE_BONE TARGET_BONE lines, as
// vorel-retarget --map reads them), or undefined.
function mapFile(files) {
    return files.find((file) => file !== mainFile(files) && /\.txt$/i.test(file.name));
}

function fileSystemName(file) {
    return file.name.replace(/[/\\]/g, '_');
}

// Each drop's files get a folder of their own: the folder of the file imported last stays while
// a later drop fails, since retargeting reads that file again.
let inputFolder = '';
let dropCount = 0;

function removeFolder(folder) {
    for (const name of Module.FS.readdir(folder)) {
        if (name !== '.' && name !== '..') Module.FS.unlink(`${folder}/${name}`);
    }
    Module.FS.rmdir(folder);
}

// Dropped or chosen files go into the module's file system, side by side as a .gltf and its
// .bin files must be, and the main one is imported as vorel-import imports it; a file that
// cannot be used leaves the shown set and says why in one line.
async function importFiles(files) {
    const contents = await Promise.all(files.map(async (file) => new Uint8Array(await file.arrayBuffer())));
    const folder = `/input-${++dropCount}`;
    Module.FS.mkdirTree(folder);
    files.forEach((file, index) => Module.FS.writeFile(`${folder}/${fileSystemName(file)}`, contents[index]));
    // Read by its plain name from its own folder, so that a problem line names the file as
    // the person knows it.
    Module.FS.chdir(folder);
    const main = mainFile(files);
    const map = mapFile(files);
    const started = performance.now();
    const problem = Module.ccall('vorelImportFile', 'string', ['string', 'string', 'string'],
        [fileSystemName(main), map ? fileSystemName(map) : '', '/imported']);
    // For the page's benchmark: the import, writing the set and showing it.
    window.vorelImportMilliseconds = performance.now() - started;
    showProblem(problem);
    if (problem !== '') {
        Module.FS.chdir(inputFolder || '/');
        removeFolder(folder);
        return;
    }
    if (inputFolder !== '') removeFolder(inputFolder);
    inputFolder = folder;
    document.getElementById('retarget').hidden = false;
    importedName = main.name.replace(/\.[^.]*$/, '');
    const mapped = map ? `; ${map.name} maps its bones onto the dancer's.` : '.';
    // Motion alone (a skeleton with its animation, no mesh) has nothing to show: the shown set stays.
    if (Module.ccall('vorelImportedMotionOnly', 'number', [], []) === 1) {
        say(`${main.name} holds motion alone, no mesh to show: "Retarget onto the dancer" puts it on her${mapped}`);
        return;
    }
    showAnimationButtons();
    shownSetName = importedName;
    say(`${main.name} is shown: the buttons and their keys play its animations${mapped}`);
}

// The motion on key 1 of the file imported last, put on the dancer with the bone map that came
// with it or else the built-in ones, as vorel-retarget puts it, and played by key 1.
function retargetOntoDancer() {
    const problem = Module.ccall('vorelRetargetOntoDancer', 'string', ['string', 'string'],
        ['/dancer/vorel.txt', '/retargeted']);
    showProblem(problem);
    if (problem !== '') return;
    showAnimationButtons();
    shownSetName = `${importedName} on the dancer`;
    say('The dancer is shown with the motion on key 1.');
}

// What is shown, written by vorel-export's code into the module's file system, then handed to
// the person whole as a download named after it.
function downloadShownSet() {
    const output = '/export/shown.glb';
    Module.FS.mkdirTree('/export');
    const problem = Module.ccall('vorelExportShownSet', 'string', ['string'], [output]);
    showProblem(problem);
    if (problem !== '') return;
    const bytes = Module.FS.readFile(output);
    Module.FS.unlink(output);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'model/gltf-binary' }));
    link.download = `${shownSetName}.glb`;
    link.click();
    // The browser reads the blob after this task; a minute is ample before letting it go.
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

function importReporting(fileList) {
    const files = Array.from(fileList);
    if (files.length === 0) return;
    importFiles(files).catch((error) => showProblem(`${mainFile(files).name}: ${error.message || error}`));
}

// ?file=URL: the file at that address, fetched and imported as if dropped; its name is the
// address's last part. A .gltf comes without its .bin files this way.
async function importFromAddress(address) {
    const url = new URL(address, location.href);
    const name = decodeURIComponent(url.pathname.split('/').pop()) || 'file';
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
    await importFiles([new File([await response.arrayBuffer()], name)]);
}

function connectButton(id, action) {
    const button = document.getElementById(id);
    button.addEventListener('click', () => {
        action();
        button.blur();
    });
}

function acceptFiles() {
    connectButton('retarget', retargetOntoDancer);
    connectButton('download', downloadShownSet);
    const chooser = document.getElementById('file');
    chooser.addEventListener('change', () => {
        importReporting(chooser.files);
        chooser.value = '';
    });
    document.addEventListener('dragover', (event) => event.preventDefault());
    document.addEventListener('drop', (event) => {
        event.preventDefault();
        importReporting(event.dataTransfer.files);
    });
}

async function fetchInto(folder, names) {
    Module.FS.mkdirTree(folder);
    await Promise.all(names.map(async (name) => {
        const response = await fetch(`dancer/${name}`);
        if (!response.ok) throw new Error(`dancer/${name}: ${response.status} ${response.statusText}`);
        Module.FS.writeFile(`${folder}/${name}`, new Uint8Array(await response.arrayBuffer()));
    }));
}

async function openDefaultSet() {
    await fetchInto('/dancer', DefaultSet);
    // ?paused: no frame loop; the tests draw exact frames through vorelDrawFrames.
    const play = query.has('paused') ? 0 : 1;
    const problem = Module.ccall('vorelShowManifest', 'string', ['string', 'number'],
        ['/dancer/vorel.txt', play]);
    if (problem !== '') throw new Error(problem);
    showAnimationButtons();
    // The loop's first frame runs in the next animation frame, just before this callback.
    if (play) requestAnimationFrame(() => { window.vorelFirstFrameMilliseconds = performance.now(); });
    say(play ? 'Keys 1 to 7 start the dances, space stops the clock, Escape ends the frame loop.'
        : 'Paused: no frame loop.');
    window.vorelReady = true;
    if (query.has('file')) {
        const address = query.get('file');
        importFromAddress(address).catch((error) => showProblem(`${address}: ${error.message || error}`));
    }
}

var Module = {
    canvas: document.getElementById('canvas'),
    onFrameLoopEnded() {
        say('Escape: the frame loop has ended. Reload the page to start again.');
    },
    onRuntimeInitialized() {
        document.querySelectorAll('button[data-key]').forEach(connectKeyButton);
        acceptFiles();
        openDefaultSet().catch((error) => {
            showProblem(String(error.message || error));
            say('The dancer could not be shown.');
        });
    },
};
