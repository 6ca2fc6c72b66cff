'use strict';
// A file of the page read with its progress, from any server: with or
// without compression, with or without a length. Its failures are errors
// whose messages the page shows as they are.
const VelloriaDownload = (() => {
  const cutShort = () => new Error('The download was cut short. Check the network and try again.');

  // The length of the bytes the body will give, or 0 when it cannot be
  // known: a compressed response's Content-Length counts the compressed
  // bytes (as precompressed files and content networks serve them), and the
  // body comes unpacked.
  function bodyLength(response) {
    const encoding = (response.headers.get('Content-Encoding') || 'identity').trim().toLowerCase();
    if (encoding !== 'identity') return 0;
    return Number(response.headers.get('Content-Length')) || 0;
  }

  // progress(loaded, total) after every piece, total 0 where it is not
  // known. A connection that breaks off fails the read (a compressed stream
  // that stops early, too); a plain one that ends early is caught by its length.
  async function read(file, progress) {
    let response;
    try {
      response = await fetch(file);
    } catch (e) {
      throw new Error('The game could not be downloaded: no connection. Check the network and try again.');
    }
    if (!response.ok) throw new Error(`The game could not be downloaded (${file}: ${response.status}). Try again later.`);
    let total = bodyLength(response);
    progress(0, total);
    const chunks = [];
    let loaded = 0;
    try {
      const reader = response.body.getReader();
      for (;;) {
        const {done, value} = await reader.read();
        if (done) break;
        chunks.push(value);
        loaded += value.length;
        // More than the length said: an encoding the page was not shown.
        if (loaded > total) total = 0;
        progress(loaded, total);
      }
    } catch (e) {
      throw cutShort();
    }
    if (total && loaded < total) throw cutShort();
    const bytes = new Uint8Array(loaded);
    let at = 0;
    for (const chunk of chunks) {
      bytes.set(chunk, at);
      at += chunk.length;
    }
    return bytes;
  }

  return {read};
})();
