// The hall's page: one table per episode, read from /api/runs, written in
// the game's font; WATCH opens the game's page on the run's replay.
'use strict';

(() => {
  const kEpisodes = [1, 2, 3];
  const kShown = 8;
  const kGlyphs = 'ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.';
  const kColours = {green: 0, yellow: 1};

  // Text as the game draws it: a cell per character, empty for the ones it
  // has no glyph for. The words stay readable to screen readers.
  function text(words, colour) {
    const box = document.createElement('span');
    box.className = 'text ' + colour;
    box.setAttribute('aria-label', words);
    box.setAttribute('role', 'text');
    for (const c of words.toUpperCase()) {
      const cell = document.createElement('span');
      cell.className = 'glyph';
      const glyph = kGlyphs.indexOf(c);
      if (glyph < 0) {
        cell.style.backgroundImage = 'none';
      } else {
        cell.style.backgroundPosition =
          `calc(var(--glyph-w) * ${-glyph}) calc(var(--glyph-h) * ${-kColours[colour]})`;
      }
      box.appendChild(cell);
    }
    return box;
  }

  function writeHeadings() {
    for (const element of document.querySelectorAll('[data-text]')) {
      element.replaceChildren(text(element.dataset.text, element.dataset.colour));
      element.setAttribute('aria-label', element.dataset.text);
    }
  }

  function cell(row, content, number) {
    const td = document.createElement('td');
    if (number) td.className = 'number';
    td.appendChild(content);
    row.appendChild(td);
  }

  function table(episode, runs) {
    const section = document.createElement('section');
    section.className = 'episode';
    const heading = document.createElement('h2');
    heading.appendChild(text('EPISODE ' + episode, 'yellow'));
    section.appendChild(heading);
    if (runs.length === 0) {
      const none = document.createElement('p');
      none.style.textAlign = 'center';
      none.appendChild(text('NO RUNS YET', 'green'));
      section.appendChild(none);
      return section;
    }
    const rows = document.createElement('table');
    for (const run of runs) {
      const row = document.createElement('tr');
      cell(row, text(String(run.place) + '.', 'yellow'), true);
      cell(row, text(run.name, 'green'));
      cell(row, text(String(run.potions), 'yellow'), true);
      cell(row, text(run.ending ? 'END' : run.reached, 'green'));
      const watch = document.createElement('a');
      watch.className = 'watch';
      watch.href = '/play/?hall-run=' + encodeURIComponent(run.id);
      watch.appendChild(text('WATCH', 'yellow'));
      watch.setAttribute('aria-label', 'Watch the run of ' + run.name);
      cell(row, watch);
      rows.appendChild(row);
    }
    section.appendChild(rows);
    return section;
  }

  async function load() {
    writeHeadings();
    const tables = document.getElementById('tables');
    const lists = await Promise.all(kEpisodes.map(async episode => {
      const response = await fetch(`/api/runs?episode=${episode}&limit=${kShown}`).catch(() => null);
      return response && response.ok ? response.json() : null;
    }));
    if (lists.includes(null)) {
      document.getElementById('status').textContent = 'The hall cannot be read just now. Try again later.';
      return;
    }
    tables.replaceChildren(...lists.map((list, i) => table(kEpisodes[i], list.runs)));
  }

  load();
})();
