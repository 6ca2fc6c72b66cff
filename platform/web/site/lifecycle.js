'use strict';
// The page beyond one run: the service worker that keeps it for play
// without the network, the notice that a newer build has arrived, and the
// question before a game in progress is left or reloaded.
(() => {
  const update = document.getElementById('update');

  // The worker serves the build the page was loaded from; a newer one on
  // the server installs beside it and takes over at once, but this page
  // runs on with the old program until it is loaded again.
  function newBuildArrived() {
    if (!update.hidden) return;
    update.hidden = false;
    VelloriaPage.fit();
  }

  document.getElementById('update-reload').addEventListener('click', () => location.reload());

  if ('serviceWorker' in navigator && location.protocol.startsWith('http') && self.origin !== 'null') {
    // A page that no worker served is the first visit: its worker is this build.
    const servedByWorker = Boolean(navigator.serviceWorker.controller);
    navigator.serviceWorker.addEventListener('controllerchange', () => {
      if (servedByWorker) newBuildArrived();
    });
    navigator.serviceWorker.register('sw.js').then(registration => {
      // A page left open for long looks for a new build when it is shown
      // again (where workers are blocked there is no registration).
      document.addEventListener('visibilitychange', () => {
        if (registration && document.visibilityState === 'visible') registration.update().catch(() => {});
      });
    }, () => {});
  }

  // Only while a game is under way: elsewhere leaving loses nothing.
  function gameInProgress() {
    try {
      return VelloriaPage.programUp() && Module._velloria_game_in_progress() !== 0;
    } catch (e) {
      return false;  // a program that failed holds no game
    }
  }
  window.addEventListener('beforeunload', event => {
    if (!gameInProgress()) return;
    event.preventDefault();
    event.returnValue = '';
  });
})();
