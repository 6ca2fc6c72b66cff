'use strict';
// The page around the game: the command line from the URL, the resources'
// unpacking, the canvas's whole-factor size, full screen, the end of a run,
// and what the browser test reads (window.velloria).
//
// URL parameters, as the headless runner's options: seed=N frames=N
// start=S-L[:P] mute autopilot input=FILE (a file beside the page), and
// shot=F[,F...] to keep the 8-bit picture presented after frame F.
const VelloriaPage = (() => {
  const kWidth = 640;
  const kHeight = 480;
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const controls = document.getElementById('controls');
  const message = document.getElementById('message');
  const again = document.getElementById('again');
  const context2d = canvas.getContext('2d', {alpha: false});
  let image = null;
  const wantedPictures = new Set();
  const pictures = new Map();
  // From the page's start until the run ends (or cannot begin).
  let running = true;

  function showMessage(text) {
    message.textContent = text;
  }

  function cannotStart(text) {
    running = false;
    showMessage(text);
  }

  // The largest whole factor that fits the page (or the screen), so every
  // pixel of the picture stays the same size.
  function fit() {
    const full = document.fullscreenElement === stage;
    const width = full ? stage.clientWidth : document.documentElement.clientWidth;
    const height = full ? stage.clientHeight : window.innerHeight - controls.offsetHeight - message.offsetHeight - 24;
    const factor = Math.max(1, Math.floor(Math.min(width / kWidth, height / kHeight)));
    canvas.style.width = kWidth * factor + 'px';
    canvas.style.height = kHeight * factor + 'px';
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(() => {}).then(() => canvas.focus());
    }
  }

  function commandLine(params, inputName) {
    const args = [];
    for (const name of ['seed', 'frames', 'start']) {
      if (params.has(name)) args.push('--' + name, params.get(name));
    }
    for (const name of ['mute', 'autopilot']) {
      if (params.has(name)) args.push('--' + name);
    }
    if (inputName !== null) args.push('--input', '/input/' + inputName);
    return args;
  }

  async function boot() {
    const params = new URLSearchParams(location.search);
    for (const frame of (params.get('shot') || '').split(',')) {
      if (/^\d+$/.test(frame)) wantedPictures.add(Number(frame));
    }
    const inputName = params.get('input');
    let input = null;
    if (inputName !== null) {
      // Only a file beside the page.
      if (!/^\w[\w.-]*$/.test(inputName)) return cannotStart('input= names a file beside the page');
      const response = await fetch(inputName).catch(() => null);
      if (!response || !response.ok) return cannotStart('Cannot read ' + inputName);
      input = new Uint8Array(await response.arrayBuffer());
    }
    window.Module = {
      arguments: commandLine(params, inputName),
      preRun: [() => {
        if (!input) return;
        Module.FS.mkdir('/input');
        Module.FS.writeFile('/input/' + inputName, input);
      }],
      print: text => console.log(text),
      printErr: text => {
        console.warn(text);
        showMessage(text);
      },
    };
    canvas.focus();
    const script = document.createElement('script');
    script.src = 'velloria.js';
    document.body.appendChild(script);
  }

  const fullScreenButton = document.getElementById('fullscreen');
  fullScreenButton.addEventListener('click', toggleFullScreen);
  // The button leaves the focus (and so the game running) with the canvas.
  fullScreenButton.addEventListener('mousedown', event => event.preventDefault());
  again.addEventListener('click', () => {
    again.hidden = true;
    canvas.classList.remove('ended');
    showMessage('');
    running = true;
    canvas.focus();
    Module._velloria_play_again();
  });
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();
  boot();

  return {
    showMessage,
    cannotStart,
    toggleFullScreen,
    canvasFocused: () => document.activeElement === canvas && document.hasFocus(),
    showCursor: show => {
      canvas.style.cursor = show ? '' : 'none';
    },
    showPicture(rgba, width, height) {
      if (!image || image.width !== width || image.height !== height) image = context2d.createImageData(width, height);
      image.data.set(rgba);
      context2d.putImageData(image, 0, 0);
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
    runEnded(code) {
      running = false;
      canvas.classList.add('ended');
      canvas.style.cursor = '';
      if (document.fullscreenElement) document.exitFullscreen();
      if (!message.textContent) showMessage(code === 0 ? 'The game has ended.' : 'The game could not start.');
      again.hidden = false;
      again.focus();
    },
    wantsPicture: frame => wantedPictures.has(frame),
    keepPicture(frame, indices, width, height, palette) {
      pictures.set(frame, {frame, width, height, indices, palette});
    },
    isRunning: () => running,
    pictures,
  };
})();

// What the browser test reads.
window.velloria = {
  running: () => VelloriaPage.isRunning(),
  // The --stats line of the coming frame as numbers (a dash stays a string), and paused.
  status() {
    if (!window.Module || !Module.calledRun) return null;
    const fields = {};
    for (const pair of Module.UTF8ToString(Module._velloria_status()).split(' ')) {
      const [key, value] = pair.split('=');
      fields[key] = /^-?\d+$/.test(value) ? Number(value) : value;
    }
    return fields;
  },
  ranking() {
    const text = Module.UTF8ToString(Module._velloria_ranking());
    return text.trim().split('\n').map(line => {
      const comma = line.indexOf(',');
      return {score: Number(line.slice(0, comma)), name: line.slice(comma + 1)};
    });
  },
  // The picture kept after frame F (shot=F): indices and palette in base64.
  picture(frame) {
    const kept = VelloriaPage.pictures.get(frame);
    if (!kept) return null;
    const base64 = bytes => {
      let text = '';
      for (let i = 0; i < bytes.length; i += 4096) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 4096));
      return btoa(text);
    };
    return {width: kept.width, height: kept.height, indices: base64(kept.indices), palette: base64(kept.palette)};
  },
  music: () => VelloriaSound.musicState(),
  // Moves the sounding tune to a place, so a check need not wait for its end.
  seekMusic: seconds => VelloriaSound.musicSeek(seconds),
};
