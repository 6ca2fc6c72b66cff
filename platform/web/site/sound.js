'use strict';
// Effects and tunes through Web Audio. Browsers let sound start only after
// the page's first key or click (unlock); until then nothing sounds and the
// game goes on exactly the same.
//
// The mix is the desktop's: effects at a quarter of full scale (several
// sound at once over the music, and their sum with the music's peaks stays
// below full scale), the recorded tunes at full scale. Each side passes its
// own gain (the volume, 0 when muted) on the way to the speakers.
const VelloriaSound = (() => {
  const kEffectRate = 22050;
  const kEffectGain = 0.25;
  let context = null;
  const voices = [];
  const level = {effects: 1, music: 1, muted: false};
  let effectsOut = null;
  let musicOut = null;

  function applyLevels() {
    if (!context) return;
    effectsOut.gain.value = level.muted ? 0 : level.effects;
    musicOut.gain.value = level.muted ? 0 : level.music;
  }

  const running = () => context !== null && context.state === 'running';

  // ---- effects: one buffer per voice, a new source for every restart ----

  function createVoice(bytes) {
    const samples = new Float32Array(bytes.length);
    for (let i = 0; i < bytes.length; ++i) samples[i] = ((bytes[i] - 128) / 128) * kEffectGain;
    voices.push({samples, buffer: null, source: null});
    return voices.length - 1;
  }

  function stopVoice(voice) {
    if (!voice.source) return;
    voice.source.onended = null;
    voice.source.stop();
    voice.source = null;
  }

  function restart(index, loop) {
    const voice = voices[index];
    if (!voice) return;
    stopVoice(voice);
    if (!running()) return;
    if (!voice.buffer) {
      voice.buffer = context.createBuffer(1, voice.samples.length, kEffectRate);
      voice.buffer.getChannelData(0).set(voice.samples);
    }
    const source = context.createBufferSource();
    source.buffer = voice.buffer;
    source.loop = loop;
    source.connect(effectsOut);
    source.onended = () => {
      if (voice.source === source) voice.source = null;
    };
    source.start();
    voice.source = source;
  }

  function releaseAll() {
    voices.forEach(stopVoice);
    voices.length = 0;
  }

  // ---- music: the open tune loops on the audio clock ----
  //
  // While a play sounds, its source loops the whole tune, so the join is
  // exact to the sample. The end of a play is reported (takeEnd) once the
  // audio clock has passed it; the game's replay that follows adopts the
  // play the loop already began instead of starting the tune again.
  const tunes = new Map();  // file -> {bytes: Promise, buffer, decoding, failed}
  const music = {
    file: null,
    playing: false,  // a play is under way (it sounds once the audio runs)
    position: 0,     // seconds into the play while it does not sound
    source: null,
    playStart: 0,    // audio time at which the sounding play stood at 0
    ended: false,    // the current play passed its end
    plays: 0,
    joins: 0,        // plays that followed the last one without a restart
  };

  function tune() {
    return music.file ? tunes.get(music.file) : null;
  }

  function duration() {
    const t = tune();
    return t && t.buffer ? t.buffer.duration : 0;
  }

  function position() {
    return music.source ? context.currentTime - music.playStart : music.position;
  }

  // Starts the sound of the play under way once everything it needs is there.
  function sound() {
    const t = tune();
    if (!music.playing || music.source || !running() || !t) return;
    if (!t.buffer) {
      // A tune that did not come waits to be wanted again (want).
      if (t.decoding || t.failed) return;
      t.decoding = true;
      t.bytes.then(bytes => (bytes ? context.decodeAudioData(bytes) : null))
          .then(buffer => {
            t.decoding = false;
            t.buffer = buffer;
            // A tune that did not come (the network was down) is fetched
            // again the next time it is wanted, not silent for the session.
            t.failed = !buffer;
            sound();
          }, () => {
            t.decoding = false;
            t.failed = true;
          });
      return;
    }
    const source = context.createBufferSource();
    source.buffer = t.buffer;
    source.loop = true;
    source.connect(musicOut);
    const offset = Math.min(music.position, t.buffer.duration);
    source.start(0, offset);
    music.source = source;
    music.playStart = context.currentTime - offset;
  }

  function silence() {
    if (!music.source) return;
    music.position = position();
    music.source.stop();
    music.source = null;
  }

  function musicOpen(file) {
    musicClose();
    music.file = file;
    want(file);
    return true;
  }

  // Fetches a tune unless it is here or on its way; one whose fetch failed
  // is fetched again.
  function want(file) {
    const known = tunes.get(file);
    if (known && !known.failed) return;
    const entry = {bytes: null, buffer: null, decoding: false, failed: false};
    entry.bytes = fetch(file).then(r => (r.ok ? r.arrayBuffer() : null)).catch(() => null).then(bytes => {
      if (!bytes) entry.failed = true;
      return bytes;
    });
    tunes.set(file, entry);
  }

  function musicPlayFromStart() {
    if (!music.file) return false;
    music.plays += 1;
    if (music.ended && music.source) {
      // The loop carries on into this play: it began at the last whole turn.
      const d = duration();
      music.playStart += d * Math.floor((context.currentTime - music.playStart) / d);
      music.ended = false;
      music.joins += 1;
      return true;
    }
    if (music.source) {
      music.source.stop();
      music.source = null;
    }
    music.position = 0;
    music.ended = false;
    music.playing = true;
    want(music.file);
    sound();
    return true;
  }

  function musicPause() {
    if (!music.file) return false;
    silence();
    // A play that came to its end before it was stopped starts again when
    // resumed, as the end of its play would have made it.
    if (duration() > 0 && music.position >= duration()) music.ended = true;
    music.playing = false;
    return true;
  }

  function musicResume() {
    if (!music.file) return false;
    if (music.ended) return musicPlayFromStart();
    music.playing = true;
    want(music.file);
    sound();
    return true;
  }

  function musicClose() {
    silence();
    music.file = null;
    music.playing = false;
    music.ended = false;
    music.position = 0;
  }

  function musicTakeEnd() {
    if (!music.playing || !music.source || music.ended) return false;
    if (context.currentTime - music.playStart < duration()) return false;
    music.ended = true;
    return true;
  }

  function unlock() {
    if (!context) {
      const AudioContextClass = window.AudioContext || window.webkitAudioContext;
      if (!AudioContextClass) return;
      context = new AudioContextClass();
      context.onstatechange = () => {
        sound();
        if (onStateChange) onStateChange(context.state);
      };
      effectsOut = context.createGain();
      musicOut = context.createGain();
      effectsOut.connect(context.destination);
      musicOut.connect(context.destination);
      applyLevels();
    }
    if (context.state === 'suspended') context.resume();
  }

  let onStateChange = null;

  return {
    unlock,
    // Volumes 0..100 as the command line's.
    setVolumes(effects, musicVolume) {
      level.effects = effects / 100;
      level.music = musicVolume / 100;
      applyLevels();
    },
    // The page's sound button: music and effects both.
    setMuted(muted) {
      level.muted = muted;
      applyLevels();
    },
    running,
    // The gains in use, for the browser test.
    levels: () => (context ? {effects: effectsOut.gain.value, music: musicOut.gain.value} : null),
    onStateChange: callback => {
      onStateChange = callback;
    },
    createVoice,
    restart,
    releaseAll,
    // Every effect sounding stops (a skipped logo's jingle).
    stopEffects: () => voices.forEach(stopVoice),
    musicOpen,
    musicPlayFromStart,
    musicPause,
    musicResume,
    musicClose,
    musicTakeEnd,
    musicState: () => ({
      file: music.file,
      playing: music.playing,
      sounding: music.source !== null,
      position: position(),
      duration: duration(),
      plays: music.plays,
      joins: music.joins,
      audio: context ? context.state : 'none',
    }),
    musicSeek(seconds) {
      if (!music.source) return false;
      silence();
      music.position = seconds;
      sound();
      return true;
    },
  };
})();
