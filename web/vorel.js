// The page's script: loads the default set into the module's file system, shows it, and
// turns buttons into the viewer's keys. The frame loop, keys and drawing live in the module.
'use strict';

const DanceKeys = ['Cancan', 'Joyous Walk', 'Strut', 'HighKick', 'MidKick', 'LowKick', 'Salute'];
const DefaultSet = ['vorel.txt', 'dancer.ply', 'cancan.anim', 'joyous_walk.anim', 'strut.anim',
    'high_kick.anim', 'mid_kick.anim', 'low_kick.anim', 'salute.anim'];
const query = new URLSearchParams(location.search);

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

function makeDanceButtons() {
    const box = document.getElementById('dances');
    DanceKeys.forEach((name, index) => {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = `${index + 1} ${name}`;
        button.dataset.key = String(49 + index);
        box.appendChild(button);
    });
    // A clicked button must not keep the focus: space would then press it a second time.
    for (const button of document.querySelectorAll('button[data-key]')) {
        button.addEventListener('click', () => {
            pressKey(Number(button.dataset.key));
            button.blur();
        });
    }
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
    // The loop's first frame runs in the next animation frame, just before this callback.
    if (play) requestAnimationFrame(() => { window.vorelFirstFrameMilliseconds = performance.now(); });
    say(play ? 'Keys 1 to 7 start the dances, space stops the clock, Escape ends the frame loop.'
        : 'Paused: no frame loop.');
    window.vorelReady = true;
}

var Module = {
    canvas: document.getElementById('canvas'),
    onFrameLoopEnded() {
        say('Escape: the frame loop has ended. Reload the page to start again.');
    },
    onRuntimeInitialized() {
        makeDanceButtons();
        openDefaultSet().catch((error) => {
            showProblem(String(error.message || error));
            say('The dancer could not be shown.');
        });
    },
};
