'use strict';
// The player's kept runs in the browser's IndexedDB: the program keeps them
// as files in a folder of its memory, as the desktop keeps them on disk; the
// page fills the folder from the database before the first run and writes
// the folder's changes back each time the program says it changed. Each
// file is one record under its name. A database that cannot be used or is
// full is told once; the runs are then kept until the page closes.
const VelloriaKeptRuns = (() => {
  const kDatabase = 'KorvaGames/Velloria/replays';
  const kStore = 'files';
  let database = null;
  // What the database holds, by name: the file's signature when written.
  const written = new Map();
  let writing = false;
  let writeAgain = false;
  let failed = false;

  function tell(error) {
    console.warn('velloria: the kept runs are not stored:', error);
    if (failed) return;
    failed = true;
    VelloriaPage.showNotice(error && error.name === 'QuotaExceededError'
        ? 'The browser\'s storage for this page is full: runs played now are kept only until the page closes.'
        : 'This browser does not let the page keep replays: runs played now are kept only until the page closes.');
  }

  function open() {
    if (!database) {
      database = new Promise((resolve, reject) => {
        const request = indexedDB.open(kDatabase, 1);
        request.onupgradeneeded = () => request.result.createObjectStore(kStore);
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
      });
    }
    return database;
  }

  // Resolved once the transaction is on disk; rejected with its error.
  const finished = transaction => new Promise((resolve, reject) => {
    transaction.oncomplete = resolve;
    transaction.onabort = () => reject(transaction.error);
  });

  const signature = stat => `${stat.ino} ${stat.size} ${stat.mtime.getTime()}`;

  // The folder's files now, by name.
  function filesIn(folder) {
    const files = new Map();
    for (const name of Module.FS.readdir(folder)) {
      const stat = Module.FS.stat(`${folder}/${name}`);
      if (Module.FS.isFile(stat.mode)) files.set(name, signature(stat));
    }
    return files;
  }

  async function load(folder) {
    Module.FS.mkdir(folder);
    try {
      const transaction = (await open()).transaction(kStore, 'readonly');
      const store = transaction.objectStore(kStore);
      const names = store.getAllKeys();
      const contents = store.getAll();
      await finished(transaction);
      names.result.forEach((name, i) => Module.FS.writeFile(`${folder}/${name}`, contents.result[i]));
      for (const [name, sign] of filesIn(folder)) written.set(name, sign);
    } catch (error) {
      tell(error);
    }
    Module._velloria_kept_runs_loaded();
  }

  // The files that changed since the last write and those that went, read
  // at once (the program goes on changing the folder meanwhile).
  async function write(folder) {
    const now = filesIn(folder);
    const changed = [...now].filter(([name, sign]) => written.get(name) !== sign)
                        .map(([name, sign]) => [name, sign, Module.FS.readFile(`${folder}/${name}`)]);
    const gone = [...written.keys()].filter(name => !now.has(name));
    if (changed.length === 0 && gone.length === 0) return;
    const transaction = (await open()).transaction(kStore, 'readwrite');
    const store = transaction.objectStore(kStore);
    for (const [name, , bytes] of changed) store.put(bytes, name);
    for (const name of gone) store.delete(name);
    await finished(transaction);
    for (const [name, sign] of changed) written.set(name, sign);
    for (const name of gone) written.delete(name);
  }

  // One write at a time; a change made meanwhile is written after it.
  function save(folder) {
    if (writing) {
      writeAgain = true;
      return;
    }
    writing = true;
    writeAgain = false;
    write(folder).catch(tell).finally(() => {
      writing = false;
      if (writeAgain) save(folder);
    });
  }

  function download(name, bytes) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'text/plain'}));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  }

  return {load, save, download, saving: () => writing};
})();
