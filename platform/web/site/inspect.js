'use strict';
// What the browser test reads.
window.velloria = {
  running: () => VelloriaPage.isRunning(),
  // The --stats line of the coming frame as numbers (a dash stays a string),
  // then paused, options and hall (the hall of fame's question; 0 or 1).
  status() {
    if (!window.Module || !Module.calledRun) return null;
    const fields = {};
    for (const pair of Module.UTF8ToString(Module._velloria_status()).split(' ')) {
      const [key, value] = pair.split('=');
      fields[key] = /^-?\d+$/.test(value) ? Number(value) : value;
    }
    return fields;
  },
  // The notice the shell shows over the picture (empty when none).
  notice: () => Module.UTF8ToString(Module._velloria_notice()),
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
  // How many of the canvas's pixels differ from the game's own picture (the
  // shell's layer over it), of how many.
  overlaid() {
    const game = VelloriaPage.gamePicture();
    const canvas = document.getElementById('canvas');
    if (!game) return null;
    const copy = document.createElement('canvas');
    [copy.width, copy.height] = [canvas.width, canvas.height];
    const context = copy.getContext('2d');
    context.drawImage(canvas, 0, 0);
    const shown = context.getImageData(0, 0, canvas.width, canvas.height).data;
    // A held game shows dimmed round the shell's panels: those pixels are
    // counted apart, so differing is what the panels cover.
    const dim = v => Math.floor(v * 96 / 256);
    let differing = 0;
    let dimmed = 0;
    for (let i = 0; i < game.indices.length; ++i) {
      const c = game.indices[i] * 3;
      const [r, g, b] = [shown[i * 4], shown[i * 4 + 1], shown[i * 4 + 2]];
      if (r === game.palette[c] && g === game.palette[c + 1] && b === game.palette[c + 2]) continue;
      if (r === dim(game.palette[c]) && g === dim(game.palette[c + 1]) && b === dim(game.palette[c + 2])) {
        ++dimmed;
      } else {
        ++differing;
      }
    }
    return {differing, dimmed, of: game.indices.length};
  },
  // The kept runs as REPLAYS lists them, and whether they are being stored.
  keptRuns: () => Module.UTF8ToString(Module._velloria_kept_runs()).split('\n').filter(Boolean),
  keptRunsSaving: () => VelloriaKeptRuns.saving(),
  // The settings in effect (between runs the stored ones), by key.
  settings: () => VelloriaPage.programSettings(),
  music: () => VelloriaSound.musicState(),
  levels: () => VelloriaSound.levels(),
  forgetPictures: () => VelloriaPage.pictures.clear(),
  // Moves the sounding tune to a place, so a check need not wait for its end.
  seekMusic: seconds => VelloriaSound.musicSeek(seconds),
};
