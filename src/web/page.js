// The tool on top of the reference: the level lookup, the effects chooser,
// Find, exact copies and deep links. Every table text comes from the page's
// own markup, and every text reaches the page as text, never as markup.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);

  // The tables, read back from the reference sections, with the LF line ends
  // the parser gives them; a copy joins the lines with CR LF, as the windows do.
  const crlf = (text) => text.split('\n').join('\r\n');
  const table = (selector) => new Map([...document.querySelectorAll(selector)].map(
      (entry) => [entry.querySelector('h3').textContent, entry.querySelector('pre').textContent]));
  const levels = table('#settings .entry');
  const categories = table('#effects .entry');
  const levelNames = [...levels.keys()];
  const categoryNames = [...categories.keys()];

  // Matching as zorvin does it: on UTF-8 bytes, ASCII letters without regard to case.
  const encoder = new TextEncoder();
  const fold = (b) => (b >= 0x41 && b <= 0x5a ? b + 0x20 : b);
  const bytesOf = (text) => Uint8Array.from(encoder.encode(text), fold);

  function editDistance(a, b) {
    const row = Array.from({ length: b.length + 1 }, (_, j) => j);
    for (let i = 1; i <= a.length; ++i) {
      let diagonal = row[0];
      row[0] = i;
      for (let j = 1; j <= b.length; ++j) {
        const above = row[j];
        row[j] = Math.min(row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] === b[j - 1] ? 0 : 1));
        diagonal = above;
      }
    }
    return row[b.length];
  }

  // The name that differs only in case, or up to three within a quarter of
  // the text's length in edits (at least two), nearest first.
  function nearest(text, names) {
    const typed = bytesOf(text);
    if (typed.length === 0 || typed.length > 64) return [];
    const reach = Math.max(2, Math.floor(typed.length / 4));
    const near = [];
    for (const name of names) {
      const distance = editDistance(typed, bytesOf(name));
      if (distance <= reach) near.push({ distance, name });
    }
    near.sort((x, y) => x.distance - y.distance); // stable: ties keep the names' order
    return near.slice(0, near.length && near[0].distance === 0 ? 1 : 3).map((n) => n.name);
  }

  // Substrings of UTF-8 and of UTF-16 agree for well-formed text, and ASCII
  // folding changes no other character: the same matches as zorvin's bytes.
  const foldAscii = (text) => text.replace(/[A-Z]+/g, (letters) => letters.toLowerCase());

  const shown = (text) => {
    const chars = [...text];
    return chars.length > 60 ? chars.slice(0, 60).join('') + '...' : text;
  };

  function element(tag, text, attributes = {}) {
    const node = document.createElement(tag);
    if (text !== undefined) node.textContent = text;
    for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, value);
    return node;
  }

  // The address: #level=NAME, #effects=CATEGORY or #find=TEXT.
  const hashFor = (key, value) => '#' + key + '=' + encodeURIComponent(value);
  function go(key, value, replace) {
    const hash = hashFor(key, value);
    if (location.hash === hash) return;
    history[replace ? 'replaceState' : 'pushState'](null, '', hash);
  }

  // The settings: the level field, its list, "MP/SPSettings" and the block.
  const levelField = $('level');
  const levelList = $('level-list');
  const levelOpen = $('level-open');
  const levelStatus = $('level-status');
  const block = $('block');
  const options = [...levelList.querySelectorAll('[role=option]')];
  let active = -1;

  function showLevel(name, fromAddress) {
    const found = levels.get(name);
    if (found === undefined) {
      // Nothing shown changes; say why, with zorvin's suggestions.
      levelStatus.replaceChildren('no level named \'' + shown(name) + '\'');
      const near = nearest(name, levelNames);
      near.forEach((suggestion, i) => {
        levelStatus.append(i === 0 ? '; did you mean \'' : i + 1 === near.length ? '\' or \'' : '\', \'');
        levelStatus.append(element('a', suggestion, { href: hashFor('level', suggestion) }));
      });
      if (near.length) levelStatus.append('\'?');
      return;
    }
    block.textContent = found;
    levelStatus.textContent = '';
    if (!fromAddress) go('level', name);
  }

  function setActive(index) {
    active = index;
    options.forEach((option, i) => option.setAttribute('aria-selected', String(i === index)));
    if (index >= 0) {
      levelField.setAttribute('aria-activedescendant', options[index].id);
      options[index].scrollIntoView({ block: 'nearest' });
    } else {
      levelField.removeAttribute('aria-activedescendant');
    }
  }

  function openList(open) {
    levelList.hidden = !open;
    levelField.setAttribute('aria-expanded', String(open));
    if (open) setActive(Math.max(0, options.findIndex((o) => o.textContent === levelField.value)));
    else setActive(-1);
  }

  function pick(index) {
    levelField.value = options[index].textContent;
    openList(false);
    levelField.focus();
  }

  levelField.addEventListener('keydown', (event) => {
    const open = !levelList.hidden;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      event.preventDefault();
      if (!open || event.altKey) return openList(!open || event.key === 'ArrowDown');
      const step = event.key === 'ArrowDown' ? 1 : -1;
      setActive(Math.min(options.length - 1, Math.max(0, active + step)));
    } else if (event.key === 'Enter') {
      event.preventDefault();
      if (open && active >= 0) pick(active);
      else showLevel(levelField.value, false);
    } else if (event.key === 'Escape' && open) {
      event.preventDefault();
      openList(false);
    } else if (event.key === 'F4') {
      event.preventDefault();
      openList(!open);
    }
  });
  levelField.addEventListener('blur', () => setTimeout(() => {
    const at = document.activeElement;
    if (at !== levelField && at !== levelOpen && !levelList.contains(at)) openList(false);
  }, 150));
  levelOpen.addEventListener('click', () => {
    openList(levelList.hidden);
    levelField.focus();
  });
  levelList.addEventListener('mousedown', (event) => event.preventDefault()); // keep the focus in the field
  levelList.addEventListener('click', (event) => {
    const option = event.target.closest('[role=option]');
    if (option) pick(options.indexOf(option));
  });
  $('show-settings').addEventListener('click', () => showLevel(levelField.value, false));

  // The effects: the category chooser and its listing.
  const categoryChooser = $('category');
  const listing = $('listing');
  function showCategory(name, fromAddress) {
    const files = categories.get(name);
    if (files === undefined) return;
    if (categoryChooser.value !== name) categoryChooser.value = name;
    listing.textContent = files;
    if (!fromAddress) go('effects', name);
  }
  categoryChooser.addEventListener('change', () => showCategory(categoryChooser.value, false));

  // Exact copies: the bytes the windows' text boxes hold, CR LF between lines.
  async function copy(displayed, status) {
    if (displayed === '') return (status.textContent = 'Nothing to copy yet.');
    const text = crlf(displayed);
    try {
      await navigator.clipboard.writeText(text);
    } catch {
      // Without the clipboard API (an older browser, or no permission): the
      // copy event carries the text as it is, CR LF and all.
      const put = (event) => {
        event.clipboardData.setData('text/plain', text);
        event.preventDefault();
      };
      document.addEventListener('copy', put);
      const done = document.execCommand('copy');
      document.removeEventListener('copy', put);
      if (!done) return (status.textContent = 'Could not copy: select the text and copy it.');
    }
    status.textContent = 'Copied ' + text.split('\r\n').length + ' lines.';
  }
  $('copy-block').addEventListener('click', () => copy(block.textContent, $('block-status')));
  $('copy-listing').addEventListener('click', () => copy(listing.textContent, $('listing-status')));

  // Find: every level, category and file name that contains the text, in
  // zorvin find's order. Each row is made once; a search puts the matching rows in the list.
  const findField = $('find');
  const findCount = $('find-count');
  const findResults = $('find-results');
  let rows = null;
  const rowIndex = new Map();  // each row's place in rows
  function makeRows() {
    if (rows !== null) return;
    rows = [];
    const addRow = (kind, name, key, target, within) => {
      const row = element('li', undefined, { 'data-kind': kind });
      row.append(element('span', kind, { class: 'kind' }), ' ', element('a', name, { href: hashFor(key, target) }));
      if (within) row.append(' ', element('span', within, { class: 'within' }));
      rowIndex.set(row, rows.length);
      rows.push({ row, folded: foldAscii(name) });
    };
    for (const name of levelNames) addRow('level', name, 'level', name);
    for (const name of categoryNames) addRow('category', name, 'effects', name);
    for (const [category, files] of categories) {
      for (const file of files.split('\n')) addRow('file', file, 'effects', category, category);
    }
  }

  // The list moves to the new matches in place, in zorvin's order: the rows
  // that no longer match go, the new ones go in, and the rows already there
  // cost nothing, so one more letter touches only the rows it changes. A
  // keystroke puts in at most the rows the list shows at once and later tasks
  // the rest, so typing never waits for hundreds of rows; until the list is
  // whole it is busy, the rows past the point reached are hidden behind a
  // marker, and a newer search drops what is left of an older one.
  const rowsAtOnce = 40;
  const rowsPerTask = 100;
  const pending = element('li', undefined, { class: 'pending', 'aria-hidden': 'true' });
  // Inserts at most `budget` rows; returns whether rows are still to come.
  function update(matches, budget) {
    pending.remove();
    let child = findResults.firstElementChild;
    const stop = () => {
      findResults.insertBefore(pending, child);
      return true;
    };
    const drop = () => {
      const stale = child;
      child = child.nextElementSibling;
      stale.remove();
    };
    for (const index of matches) {
      while (child && rowIndex.get(child) < index) drop();
      if (child && rowIndex.get(child) === index) {
        child = child.nextElementSibling;
      } else {
        if (budget-- === 0) return stop();
        findResults.insertBefore(rows[index].row, child);
      }
    }
    while (child) drop();
    return false;
  }
  let fills = 0;
  function fill(matches) {
    const fillNumber = ++fills;
    const pass = (budget) => {
      if (fillNumber !== fills) return;
      const more = update(matches, budget);
      // Each later task lays out its own rows, or a keystroke's frame would.
      if (budget === rowsPerTask) void findResults.offsetHeight;
      if (more) {
        findResults.setAttribute('aria-busy', 'true');
        setTimeout(pass, 0, rowsPerTask);
      } else {
        findResults.removeAttribute('aria-busy');
      }
    };
    pass(rowsAtOnce);
  }

  let searched = '';
  function find(text, fromAddress) {
    if (findField.value !== text) findField.value = text;
    if (text === searched) return;
    searched = text;
    makeRows();
    const part = foldAscii(text);
    const matches = [];
    if (text !== '') rows.forEach((r, i) => r.folded.includes(part) && matches.push(i));
    fill(matches);
    const count = matches.length;
    findCount.textContent = text === '' ? ''
      : count === 0 ? 'no level, category or file name contains \'' + shown(text) + '\''
      : count + (count === 1 ? ' result' : ' results');
    // Typing refines one entry of the history; a new search starts another.
    if (!fromAddress && text !== '') go('find', text, location.hash.startsWith('#find='));
  }
  findField.addEventListener('input', () => find(findField.value, false));

  document.addEventListener('keydown', (event) => {
    if (event.key !== '/' || event.ctrlKey || event.metaKey || event.altKey) return;
    if (event.target.closest('input, textarea')) return;  // "/" is text there; no name holds one
    event.preventDefault();
    findField.focus();
    findField.select();
  });

  // The address opens the page there, and Back and Forward step through it.
  function follow() {
    const at = location.hash.indexOf('=');
    if (at < 0) return;
    const key = location.hash.slice(1, at);
    let value;
    try {
      value = decodeURIComponent(location.hash.slice(at + 1));
    } catch {
      return; // not percent-encoded text
    }
    if (key === 'level') {
      levelField.value = value;
      showLevel(value, true);
      $('settings-tool').scrollIntoView({ block: 'nearest' });
    } else if (key === 'effects') {
      showCategory(value, true);
      $('effects-tool').scrollIntoView({ block: 'nearest' });
    } else if (key === 'find') {
      find(value, true);
      $('find-tool').scrollIntoView({ block: 'nearest' });
    }
  }
  // A link, the address bar, Back and Forward all end in popstate.
  window.addEventListener('popstate', follow);

  $('tool').hidden = false;
  follow();
  // The Find rows are made once the page is up, so that neither the first
  // paint nor the first keystroke waits for them.
  (window.requestIdleCallback || setTimeout)(makeRows);
})();
