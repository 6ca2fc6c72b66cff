'use strict';
// The page around the game: the command line from the URL, the program's
// download with its progress and its failures, the start screen, the
// picture's size, the touch controls and the name field, full screen, the
// sound button, and replays for players. What the browser test reads
// (window.velloria) is in inspect.js.
//
// URL parameters, as the headless runner's options: seed=N frames=N
// start=S-L[:P] music-volume=N sound-volume=N soak=N, the flags mute
// autopilot invulnerable headless, input=FILE (a file beside the page), and
// shot=F[,F...] to keep the 8-bit picture presented after frame F. A
// headless run starts at once and runs its frames as fast as it can.
// hall-run=ID (a page served by a hall of fame) watches that run's replay
// at the first gesture instead of starting a game. A page served by a hall
// offers the player's runs to that hall when the settings name none.
const VelloriaPage = (() => {
  const kWidth = 640;
  const kHeight = 480;
  // The player's settings, kept by the program; the page's sound and fit
  // buttons change two of them. Earlier pages kept those two under keys of
  // their own, read once into the settings and then removed.
  const kSettingsKey = 'KorvaGames/Velloria/settings.ini';
  const kOldKeys = {mute: 'KorvaGames/Velloria/page-mute', fit: 'KorvaGames/Velloria/page-fit'};
  // A key the page sends (a touch control, a typed character) is held at
  // least this long, so the game, which reads the keys once a frame (40 ms
  // apart), sees every tap; typed characters leave a gap between them.
  const kTapMs = 90;
  const kGapMs = 60;
  const $ = id => document.getElementById(id);
  const canvas = $('canvas');
  const stage = $('stage');
  const bar = $('bar');
  const message = $('message');
  const notice = $('notice');
  const again = $('again');
  const start = $('start');
  const startText = $('start-text');
  const retry = $('retry');
  const typing = $('typing');
  const context2d = canvas.getContext('2d', {alpha: false, desynchronized: true});
  let image = null;
  const params = new URLSearchParams(location.search);
  const headless = params.has('headless');
  const wantedPictures = new Set();
  const pictures = new Map();
  // From the page's start until the run ends (or cannot begin).
  let running = true;
  let programReady = false;
  let hallRun = null;  // a hall's replay to watch at the first gesture
  let ownHall = '';  // the address of the hall that served the page
  let playerReady = headless;  // the first gesture came (a headless run needs none)
  let failed = false;
  let recordFile = '';
  let fitMode = 'auto';
  let muted = false;

  function showMessage(text) {
    message.textContent = text;
    fit();
  }

  // Each notice is given once a page.
  const noticeShown = new Set();
  function showNotice(text) {
    if (noticeShown.has(text)) return;
    noticeShown.add(text);
    notice.textContent = text;
    fit();
  }

  // A choice an earlier page kept under its own key goes into the settings
  // where they hold none yet, and its key goes.
  function takeOldSettings() {
    let text;
    const found = {};
    try {
      text = localStorage.getItem(kSettingsKey) || '';
      for (const [setting, key] of Object.entries(kOldKeys)) found[setting] = localStorage.getItem(key);
    } catch (e) {
      return;  // told once the program reads the settings
    }
    const values = {mute: found.mute === '1' ? 'on' : 'off', fit: found.fit === 'fill' ? 'fill' : 'whole'};
    let added = '';
    for (const setting of Object.keys(kOldKeys)) {
      if (found[setting] === null || new RegExp(`^\\s*${setting}\\s*=`, 'm').test(text)) continue;
      added += `${setting}=${values[setting]}\n`;
    }
    try {
      if (added) localStorage.setItem(kSettingsKey, text + (text && !text.endsWith('\n') ? '\n' : '') + added);
      for (const key of Object.values(kOldKeys)) localStorage.removeItem(key);
    } catch (e) {
      storageFailed(e.name === 'QuotaExceededError');
    }
  }

  // One of the player's settings changed by the page: the program applies
  // and keeps it (between runs it is kept for the next). Until the program
  // is there the page shows it and hands it over once it is.
  const pendingSettings = new Map();
  function changeSetting(key, value) {
    if (programReady) {
      Module.ccall('velloria_set_setting', 'number', ['string', 'string'], [key, value]);
    } else {
      pendingSettings.set(key, value);
    }
  }

  // The settings the program holds, as "key=value" lines.
  function programSettings() {
    const settings = {};
    for (const line of Module.UTF8ToString(Module._velloria_settings()).split('\n')) {
      const eq = line.indexOf('=');
      if (eq > 0) settings[line.slice(0, eq)] = line.slice(eq + 1);
    }
    return settings;
  }

  // full: the browser keeps what it held, but nothing more fits.
  function storageFailed(full) {
    if (full) {
      showNotice('The browser\'s storage for this page is full: new results and settings are not kept, ' +
                 'and what was kept before stays as it was.');
      return;
    }
    showNotice('This browser does not let the page keep anything: the ranking and settings will be lost ' +
               'when the page closes.');
  }

  // ---- failures while loading: a short word and a way to try again ----

  function fail(text) {
    if (failed) return;
    failed = true;
    running = false;
    start.hidden = false;
    $('progress').hidden = true;
    startText.textContent = text;
    retry.hidden = false;
  }

  function cannotStart(text) {
    running = false;
    showMessage(text);
  }

  // ---- the picture's size ----
  //
  // The picture always fits the space the page leaves it: a whole factor
  // (every pixel the same size, sharp) where 1x or more fits, else the
  // largest size that fits; FILL takes the largest size that fits always,
  // keeping the shape. Left to the screen (no fit setting), the program
  // says which, by the rule the desktop's window keeps.
  function fills(width, height) {
    if (fitMode === 'auto') return programReady && Module._velloria_auto_fills(width, height) === 1;
    return fitMode === 'fill';
  }

  function pictureSize(width, height) {
    const scale = Math.min(width / kWidth, height / kHeight);
    const factor = fills(width, height) || scale < 1 ? scale : Math.floor(scale);
    return [Math.max(1, Math.floor(kWidth * factor)), Math.max(1, Math.floor(kHeight * factor))];
  }

  // The side columns' narrowest width while the bar stands in them
  // (velloria.css). Where they would leave the picture narrower than the
  // phone is wide upright, the page lies "tight": the bar goes over the
  // picture and the columns narrow.
  const kThumbColumn = 112;

  function fit() {
    const width = window.innerWidth;
    const height = window.innerHeight;
    const touch = document.body.classList.contains('touch');
    const upright = height >= width;
    const tight = touch && !upright && width - 2 * kThumbColumn < height;
    document.body.classList.toggle('portrait', upright);
    document.body.classList.toggle('landscape', !upright);
    document.body.classList.toggle('tight', tight);
    let room = [width, height];
    const above = bar.offsetHeight + $('info').offsetHeight + 16;
    if (document.fullscreenElement === stage) {
      room = [stage.clientWidth, stage.clientHeight];
    } else if (touch && !upright) {
      // The pads stand beside the picture; the bar and the messages too,
      // or over and under it when tight.
      room[0] -= $('pad-move').offsetWidth + $('pad-act').offsetWidth;
      if (tight) room[1] -= above;
    } else {
      room[1] -= above + (touch ? $('pad-move').scrollHeight + 8 : 0);
    }
    const [w, h] = pictureSize(Math.max(room[0], 1), Math.max(room[1], 1));
    canvas.style.width = w + 'px';
    canvas.style.height = h + 'px';
  }

  function setFit(mode) {
    fitMode = mode === 'fill' || mode === 'whole' ? mode : 'auto';
    const button = $('fit');
    button.setAttribute('aria-pressed', String(fitMode === 'fill'));
    fit();
  }

  // With a keyboard the picture alone goes full screen; with the touch
  // controls out the whole page does, so they stay under the thumbs.
  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
      return;
    }
    const touch = document.body.classList.contains('touch');
    const target = touch ? document.documentElement : stage;
    if (target.requestFullscreen) target.requestFullscreen().catch(() => {}).then(() => canvas.focus());
  }

  // ---- focus: the canvas and the name field are the game's ----

  const gameFocused = () => document.hasFocus() && (document.activeElement === canvas || document.activeElement === typing);
  const isGameElement = element => element === canvas || element === typing;
  let lastFocus = null;
  function tellFocus(focused) {
    if (focused === lastFocus || !window.Module || !Module.calledRun) return;
    lastFocus = focused;
    Module._velloria_game_focus(focused ? 1 : 0);
  }
  document.addEventListener('focusin', event => tellFocus(isGameElement(event.target)));
  document.addEventListener('focusout', event => tellFocus(isGameElement(event.relatedTarget)));

  // ---- keys the page sends: the touch controls and the name field ----

  // The program's calls work only once it runs (before, they throw).
  const programUp = () => Boolean(window.Module && Module.calledRun);

  function sendKey(code, key, down) {
    canvas.dispatchEvent(new KeyboardEvent(down ? 'keydown' : 'keyup', {code, key, bubbles: true, cancelable: true}));
  }

  // A touch button's key is the game's own (Fire is Left Ctrl whatever the
  // player gave fire on the keyboard): the program is told while it comes.
  function sendButtonKey(code, key, down) {
    const tell = programUp();
    if (tell) Module._velloria_button_keys(1);
    try {
      sendKey(code, key, down);
    } finally {
      if (tell) Module._velloria_button_keys(0);
    }
  }

  // Typed characters one after another, each held long enough to count.
  const typed = [];
  let typingBusy = false;
  function typeNext() {
    if (typingBusy || typed.length === 0) return;
    typingBusy = true;
    const [code, key] = typed.shift();
    sendKey(code, key, true);
    setTimeout(() => {
      sendKey(code, key, false);
      setTimeout(() => {
        typingBusy = false;
        typeNext();
      }, kGapMs);
    }, kTapMs);
  }
  function typeKey(code, key) {
    typed.push([code, key]);
    typeNext();
  }

  function pressTouchKey(button, down) {
    button.classList.toggle('held', down);
    if (down) {
      button.pressedAt = performance.now();
      sendButtonKey(button.dataset.code, button.dataset.key, true);
      return;
    }
    const left = button.pressedAt + kTapMs - performance.now();
    const up = () => {
      if (!button.classList.contains('held')) sendButtonKey(button.dataset.code, button.dataset.key, false);
    };
    if (left > 0) setTimeout(up, left); else up();
  }

  for (const button of document.querySelectorAll('.key')) {
    const pointers = new Set();
    button.tabIndex = -1;
    button.addEventListener('pointerdown', event => {
      event.preventDefault();  // the canvas keeps the focus
      button.setPointerCapture(event.pointerId);
      if (pointers.size === 0) pressTouchKey(button, true);
      pointers.add(event.pointerId);
      VelloriaSound.unlock();
    });
    const release = event => {
      if (!pointers.delete(event.pointerId) || pointers.size > 0) return;
      pressTouchKey(button, false);
    };
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
    button.addEventListener('contextmenu', event => event.preventDefault());
  }
  for (const pad of document.querySelectorAll('.pad')) {
    pad.addEventListener('touchstart', event => event.preventDefault(), {passive: false});
  }

  // The overlay's hints name the touch buttons while they are out.
  function touchButtonsShown(on) {
    if (programUp()) Module._velloria_touch_controls(on ? 1 : 0);
  }

  // The touch controls show at the first touch and go at the next key press.
  document.addEventListener('pointerdown', event => {
    if (event.pointerType !== 'touch' || document.body.classList.contains('touch')) return;
    document.body.classList.add('touch');
    touchButtonsShown(true);
    fit();
  }, true);
  document.addEventListener('keydown', event => {
    if (!event.isTrusted || event.target === typing || !document.body.classList.contains('touch')) return;
    document.body.classList.remove('touch');
    touchButtonsShown(false);
    fit();
  }, true);

  // The name field: what a phone's keyboard types goes to the game as keys.
  // It always holds one space, so that a deletion shows even in an empty name.
  typing.value = ' ';
  typing.addEventListener('input', () => {
    const text = typing.value;
    typing.value = ' ';
    if (text.length === 0) {
      typeKey('Backspace', 'Backspace');
      return;
    }
    for (const c of text.slice(1).toUpperCase()) {
      if (c >= 'A' && c <= 'Z') typeKey('Key' + c, c.toLowerCase());
      if (c >= '0' && c <= '9') typeKey('Digit' + c, c);
    }
  });
  typing.addEventListener('keydown', event => {
    if (event.key === 'Enter') {
      event.preventDefault();
      typeKey('Enter', 'Enter');
    }
  });

  function naming(on) {
    const row = $('naming');
    const wanted = on && document.body.classList.contains('touch');
    if (row.hidden === !wanted) return;
    row.hidden = !wanted;
    if (!wanted && document.activeElement === typing) canvas.focus();
    fit();
  }

  // ---- sound ----

  function setMuted(on) {
    muted = on;
    const button = $('mute');
    button.setAttribute('aria-pressed', String(on));
    button.textContent = on ? 'Sound off' : 'Sound on';
    VelloriaSound.setMuted(on);
  }

  // The browser may hold sound back after a start by the pad: say what turns it on.
  function checkSound() {
    if (params.has('mute') || headless) return;
    if (VelloriaSound.running()) {
      if (notice.dataset.sound) notice.textContent = '';
      delete notice.dataset.sound;
      return;
    }
    notice.dataset.sound = '1';
    notice.textContent = 'Sound is held back by the browser: click or tap the picture, or press a key, to hear it.';
    fit();
  }
  VelloriaSound.onStateChange(() => checkSound());

  // ---- the start screen ----

  function playerGesture() {
    if (playerReady || failed) return;
    playerReady = true;
    VelloriaSound.unlock();
    start.hidden = true;
    canvas.focus();
    beginIfReady();
  }

  function beginIfReady() {
    if (!programReady || !playerReady || failed) return;
    if (hallRun) {
      const bytes = hallRun;
      hallRun = null;
      return watchBytes(bytes);
    }
    start.hidden = true;
    if (!canvas.matches(':focus') && !headless) canvas.focus();
    touchButtonsShown(document.body.classList.contains('touch'));  // shown before the program ran
    Module._velloria_begin();
    setTimeout(checkSound, 500);
  }

  start.addEventListener('pointerdown', event => {
    if (event.target === retry) return;
    event.preventDefault();
    playerGesture();
  });
  document.addEventListener('keydown', event => {
    if (!start.hidden && !failed && event.isTrusted) {
      event.preventDefault();
      playerGesture();
    }
  });
  // Pads are read once the browser has reported one (it does at the first
  // press of a button).
  let padsSeen = false;
  window.addEventListener('gamepadconnected', () => {
    padsSeen = true;
  });
  // A pad's button starts the game too; looked at only while the screen shows.
  function watchPads() {
    if (playerReady || failed) return;
    const pads = navigator.getGamepads ? Array.from(navigator.getGamepads()) : [];
    if (pads.some(pad => pad && pad.connected && pad.buttons.some(b => b.pressed))) {
      playerGesture();
      return;
    }
    setTimeout(watchPads, 100);
  }
  retry.addEventListener('click', () => location.reload());

  // ---- loading the program ----

  function commandLine(inputName) {
    const args = [];
    for (const name of ['seed', 'frames', 'start', 'music-volume', 'sound-volume', 'soak']) {
      if (params.has(name)) args.push('--' + name, params.get(name));
    }
    for (const name of ['mute', 'autopilot', 'invulnerable', 'headless']) {
      if (params.has(name)) args.push('--' + name);
    }
    if (inputName !== null) args.push('--input', '/input/' + inputName);
    return args;
  }

  // The bar shows a share where the length is known, else it sweeps.
  function showProgress(loaded, total) {
    const share = total > 0 ? Math.min(1, loaded / total) : 0;
    $('progress').classList.toggle('unknown', total === 0);
    $('progress-bar').style.width = total > 0 ? (share * 100).toFixed(1) + '%' : '';
    startText.textContent = total > 0 ? `Loading… ${Math.floor(share * 100)} %` : `Loading… ${Math.round(loaded / 1024)} KB`;
  }

  // A hall serves the page under its /play/ and answers its list beside it;
  // any other server has no such list there.
  async function servedByHall() {
    try {
      const response = await fetch('../api/runs?episode=1&limit=1', {cache: 'no-store'});
      const json = (response.headers.get('Content-Type') || '').startsWith('application/json');
      const answer = response.ok && json ? await response.json() : null;
      return answer && Array.isArray(answer.runs) ? new URL('..', location.href).href : '';
    } catch (e) {
      return '';
    }
  }

  async function boot() {
    for (const frame of (params.get('shot') || '').split(',')) {
      if (/^\d+$/.test(frame)) wantedPictures.add(Number(frame));
    }
    if (self.origin === 'null') {
      return fail('The game cannot run inside this sandboxed frame. Open it in a tab of its own.');
    }
    if (typeof DecompressionStream === 'undefined' || typeof WebAssembly === 'undefined') {
      return fail('This browser is too old for the game. Please try again in a current browser.');
    }
    // A run of the hall this page is served by, from beside the page's folder.
    const hallId = params.get('hall-run');
    if (hallId !== null) {
      if (!/^\d{1,18}$/.test(hallId)) return cannotStart('hall-run= names a run by its number');
      const response = await fetch('../api/runs/' + hallId + '/replay').catch(() => null);
      if (!response || !response.ok) return cannotStart('Cannot read run ' + hallId + ' of the hall of fame');
      hallRun = new Uint8Array(await response.arrayBuffer());
    }
    const hall = headless ? Promise.resolve('') : servedByHall();
    const inputName = params.get('input');
    let input = null;
    if (inputName !== null) {
      // Only a file beside the page.
      if (!/^\w[\w.-]*$/.test(inputName)) return cannotStart('input= names a file beside the page');
      const response = await fetch(inputName).catch(() => null);
      if (!response || !response.ok) return cannotStart('Cannot read ' + inputName);
      input = new Uint8Array(await response.arrayBuffer());
    }
    let wasm;
    try {
      wasm = await VelloriaDownload.read('velloria.wasm', showProgress);
    } catch (error) {
      return fail(error.message);
    }
    ownHall = await hall;
    startText.textContent = headless ? 'Starting…' : 'Tap, click or press a key to play';
    $('progress').hidden = true;
    // The title's tune comes while the player looks at the start screen
    // and the logo (which a key may skip).
    if (!headless) VelloriaSound.fetchAhead();
    window.Module = {
      arguments: commandLine(inputName),
      wasmBinary: wasm.buffer,
      preRun: [() => {
        Module.FS.mkdir('/input');
        Module.FS.mkdir('/replay');
        if (input) Module.FS.writeFile('/input/' + inputName, input);
      }],
      print: text => console.log(text),
      printErr: text => console.warn(text),
      onAbort: () => fail('The game arrived damaged and cannot start. Try again.'),
    };
    // Once the page has said what went wrong, the program's own complaint
    // about it is not an error of the page.
    window.addEventListener('unhandledrejection', event => {
      if (failed) event.preventDefault();
    });
    window.addEventListener('error', event => {
      if ((event.filename || '').endsWith('velloria.js')) fail('The game arrived damaged and cannot start. Try again.');
    });
    const script = document.createElement('script');
    script.src = 'velloria.js';
    script.onerror = () => fail('The game could not be downloaded. Check the network and try again.');
    document.body.appendChild(script);
  }

  // ---- replays for players ----

  function saveReplay() {
    if (!recordFile || !window.Module) return;
    let bytes;
    try {
      bytes = Module.FS.readFile(recordFile);
    } catch (e) {
      return;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'text/plain'}));
    link.download = 'velloria-replay.txt';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  }

  // A file is looked at before the run in progress ends for it: one above
  // the program's cap for input files (docs/formats.md) is not even read,
  // and one the program cannot play is told here with the program's reason.
  const kInputFileCap = 16 * 1024 * 1024;
  const kWatchedFile = '/input/watched.txt';
  const kLongestComplaint = 200;
  let fileRefused = false;

  function refuseFile(text) {
    showMessage(text.length > kLongestComplaint ? text.slice(0, kLongestComplaint) + '…' : text);
    fileRefused = true;
  }

  async function watchReplay(file) {
    if (!programReady || !file) return;
    if (file.size > kInputFileCap) {
      const megabytes = Math.round(file.size / (1024 * 1024));
      return refuseFile(`${file.name} is ${megabytes} MB, larger than the 16 MB a Velloria replay may be.`);
    }
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (e) {
      return refuseFile(`${file.name} could not be read.`);
    }
    watchBytes(bytes, file.name);
  }

  function watchBytes(bytes, name = 'the replay') {
    Module.FS.writeFile(kWatchedFile, bytes);
    const reason = Module.UTF8ToString(Module.ccall('velloria_check_input', 'number', ['string'], [kWatchedFile]));
    if (reason) {
      Module.FS.unlink(kWatchedFile);
      // The program names the file it read ("input file line 1: ...", or
      // its path first): the page says which file itself.
      const told = reason.replace(/^input file /, '').replace(new RegExp(`^${kWatchedFile}:? `), '')
                       .split(kWatchedFile).join(name);
      return refuseFile(`This is not a Velloria replay: ${told}`);
    }
    playerReady = true;
    start.hidden = true;
    again.hidden = true;
    canvas.classList.remove('ended');
    showMessage('');
    fileRefused = false;
    running = true;
    canvas.focus();
    Module.ccall('velloria_watch', null, ['string'], [kWatchedFile]);
  }

  // ---- wiring ----

  const fullScreenButton = $('fullscreen');
  fullScreenButton.addEventListener('click', toggleFullScreen);
  // The page's buttons leave the focus (and so the game running) with the canvas.
  for (const button of bar.querySelectorAll('button')) button.addEventListener('mousedown', event => event.preventDefault());
  $('fit').addEventListener('click', () => {
    setFit(fitMode === 'fill' ? 'whole' : 'fill');
    changeSetting('fit', fitMode);
  });
  $('mute').addEventListener('click', () => {
    setMuted(!muted);
    changeSetting('mute', muted ? 'on' : 'off');
    VelloriaSound.unlock();
  });
  $('save-replay').addEventListener('click', saveReplay);
  const replayFile = $('replay-file');
  $('watch-replay').addEventListener('click', () => replayFile.click());
  replayFile.addEventListener('change', () => {
    watchReplay(replayFile.files[0]);
    replayFile.value = '';
  });
  document.addEventListener('dragover', event => event.preventDefault());
  document.addEventListener('drop', event => {
    event.preventDefault();
    watchReplay(event.dataTransfer.files[0]);
  });
  again.addEventListener('click', () => {
    again.hidden = true;
    canvas.classList.remove('ended');
    showMessage('');
    running = true;
    canvas.focus();
    Module._velloria_begin();
  });
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  if (!headless) takeOldSettings();
  if (headless) start.hidden = true;
  fit();
  boot().then(watchPads);

  return {
    fit,
    programUp,
    showMessage,
    showNotice,
    cannotStart,
    toggleFullScreen,
    setFit,
    setMuted,
    programSettings,
    storageFailed,
    naming,
    gameFocused,
    padsSeen: () => padsSeen,
    setTitle: title => {
      document.title = title;
    },
    showCursor: show => {
      canvas.style.cursor = show ? '' : 'none';
    },
    // The program's picture in its own memory, of which the part that
    // changed goes to the canvas.
    showPicture(memory, rgba, width, height, x, y, w, h) {
      if (!image || image.data.buffer !== memory || image.data.byteOffset !== rgba || image.width !== width) {
        image = new ImageData(new Uint8ClampedArray(memory, rgba, width * height * 4), width, height);
      }
      context2d.putImageData(image, 0, 0, x, y, w, h);
    },
    // The resources come gzip-compressed inside the program; the browser's
    // own decompressor unpacks them into the program's buffer.
    unpack(packed, out, outSize) {
      const stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
      new Response(stream).arrayBuffer().then(buffer => {
        const ok = buffer.byteLength === outSize;
        if (ok) Module.HEAPU8.set(new Uint8Array(buffer), out);
        Module._velloria_resources_unpacked(ok ? 1 : 0);
      }, () => Module._velloria_resources_unpacked(0));
    },
    programReady() {
      programReady = true;
      lastFocus = null;
      for (const [key, value] of pendingSettings) changeSetting(key, value);
      pendingSettings.clear();
      if (ownHall) Module.ccall('velloria_own_hall', null, ['string'], [ownHall]);
      if (!headless) {
        const settings = programSettings();
        setFit(settings.fit);
        setMuted(settings.mute === 'on');
      }
      beginIfReady();
    },
    runStarted(file) {
      recordFile = file;
      $('save-replay').disabled = !file;
      lastFocus = gameFocused();
    },
    runEnded(code) {
      running = false;
      canvas.classList.add('ended');
      canvas.style.cursor = '';
      document.title = 'Velloria';
      if (document.fullscreenElement) document.exitFullscreen();
      if (!message.textContent || fileRefused) {
        showMessage(code === 0 ? 'The game has ended.' : 'The game could not start.');
      }
      fileRefused = false;
      again.hidden = false;
      again.focus();
    },
    wantsPicture: frame => wantedPictures.has(frame),
    keepPicture(frame, indices, width, height, palette) {
      pictures.set(frame, {frame, width, height, indices, palette});
    },
    isRunning: () => running,
    pictures,
    // The game's picture as it stands, without the shell's layer.
    gamePicture() {
      const frame = Module._velloria_keep_picture();
      const kept = pictures.get(frame);
      if (!wantedPictures.has(frame)) pictures.delete(frame);
      return kept || null;
    },
    // Stored text as bytes and back, every character kept: UTF-8, with a
    // lone surrogate written as the three bytes its number makes.
    textToBytes(text) {
      const bytes = [];
      for (let i = 0; i < text.length; ++i) {
        let c = text.charCodeAt(i);
        const next = text.charCodeAt(i + 1);
        if (c >= 0xD800 && c < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
          c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
          ++i;
        }
        if (c < 0x80) bytes.push(c);
        else if (c < 0x800) bytes.push(0xC0 | (c >> 6), 0x80 | (c & 63));
        else if (c < 0x10000) bytes.push(0xE0 | (c >> 12), 0x80 | ((c >> 6) & 63), 0x80 | (c & 63));
        else bytes.push(0xF0 | (c >> 18), 0x80 | ((c >> 12) & 63), 0x80 | ((c >> 6) & 63), 0x80 | (c & 63));
      }
      return Uint8Array.from(bytes);
    },
    bytesToText(bytes) {
      let text = '';
      for (let i = 0; i < bytes.length;) {
        const b = bytes[i];
        const more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        let c = more ? b & (0x3F >> more) : b;
        for (let k = 1; k <= more; ++k) c = (c << 6) | (bytes[i + k] & 63);
        i += more + 1;
        if (c >= 0x10000) {
          c -= 0x10000;
          text += String.fromCharCode(0xD800 + (c >> 10), 0xDC00 + (c & 0x3FF));
        } else {
          text += String.fromCharCode(c);
        }
      }
      return text;
    },
  };
})();
