// "Check your files": files or a folder chosen or dropped, read here a
// megabyte at a time (each chunk in a task of its own, with its progress),
// their effect names held to the stock effects as zorvin check holds them;
// each problem listed with its line, the name marked, and the nearest names
// linked to their categories in the reference.
const checkTool = $('check-tool');
const checkStatus = $('check-status');
const checkSkipped = $('check-skipped');
const checkProgress = $('check-progress');
const checkList = $('check-problems');
let checked = { problems: [] };
const checkChunk = 1 << 20;
let checkRun = 0;

// One file's problems: { file, line, column, endColumn, name, kind, suggestions, text, at }.
async function checkFile(file, path, run, done) {
  const problems = [];
  let references = 0;
  let carried = new Uint8Array(0); // the start of a line the last chunk left
  let line = 0;
  const look = (bytes, begin, end) => {
    if (end > begin && bytes[end - 1] === 0x0d) --end;
    for (const found of findReferences(bytes, begin, end)) {
      ++references;
      const name = utf8.decode(bytes.subarray(found.begin, found.end));
      const verdict = judge(name);
      if (!verdict) continue;
      const text = utf8.decode(bytes.subarray(begin, end));
      const before = utf8.decode(bytes.subarray(begin, found.begin)).length;
      problems.push({ file: path, line: line + 1, column: found.column, endColumn: found.endColumn, name, ...verdict, text, at: before });
    }
  };
  for (let offset = 0; offset < file.size || offset === 0; offset += checkChunk) {
    let bytes = new Uint8Array(await file.slice(offset, offset + checkChunk).arrayBuffer());
    if (run !== checkRun) return null;
    if (offset === 0 && bytes.subarray(0, 8192).includes(0)) return { skipped: true };
    if (offset === 0 && bytes[0] === 0xef && bytes[1] === 0xbb && bytes[2] === 0xbf) bytes = bytes.subarray(3);
    if (carried.length) {
      const joined = new Uint8Array(carried.length + bytes.length);
      joined.set(carried);
      joined.set(bytes, carried.length);
      bytes = joined;
    }
    // Only the lines with "efx" are looked at; the rest are counted.
    const whole = bytes.lastIndexOf(0x0a) + 1;
    let begin = 0;
    while (begin < whole) {
      const hit = nextEfx(bytes.subarray(0, whole), begin);
      const start = hit < 0 ? whole : bytes.lastIndexOf(0x0a, hit) + 1;
      for (let lf = bytes.indexOf(0x0a, begin); lf >= 0 && lf < start; lf = bytes.indexOf(0x0a, lf + 1)) ++line;
      if (hit < 0) break;
      const lf = bytes.indexOf(0x0a, hit);
      look(bytes, start, lf);
      ++line;
      begin = lf + 1;
    }
    carried = bytes.slice(whole);
    done(Math.min(file.size, offset + checkChunk));
    if (file.size === 0) break;
  }
  if (carried.length) look(carried, 0, carried.length);
  return { problems, references };
}

// A problem shown: where, the line with the name marked, the message with its links.
function problemItem(p) {
  const item = element('li', undefined, { class: p.kind === 'case' ? 'warning' : 'error' });
  const where = element('p', undefined, { class: 'where' });
  where.append(element('code', p.file + ':' + p.line + ':' + p.column), ' ', element('strong', p.kind === 'case' ? 'warning' : 'error'));
  const from = Math.max(0, p.at - 40);
  const code = element('code', undefined, { class: 'line' });
  code.append((from > 0 ? '\u2026' : '') + p.text.slice(from, p.at).trimStart(), element('mark', p.name),
    p.text.slice(p.at + p.name.length, p.at + p.name.length + 40) + (p.text.length > p.at + p.name.length + 40 ? '\u2026' : ''));
  const message = element('p', undefined, { class: 'message' });
  message.append(...messageParts(p).map((part) => (typeof part === 'string' ? part
    : element('a', part.name, { href: hashFor('effects', stockEffects().category.get(part.name)) }))));
  item.append(where, code, message);
  return item;
}

async function checkFiles(chosen) {
  const run = ++checkRun;
  // A folder's files carry their path under it; zorvin skips the hidden ones and backups.
  const inFolder = chosen.length > 0 && chosen.every((f) => f.webkitRelativePath);
  let files = chosen.map((file) => ({ file, path: file.webkitRelativePath || file.name }));
  let skipped = 0;
  if (inFolder) {
    // A folder skipped counts once, as zorvin's walk never enters it.
    const skippedPaths = new Set();
    files = files.filter(({ path }) => {
      const parts = path.split('/');
      const at = parts.findIndex((part, i) => i > 0 && (part.startsWith('.') || isBackup(part)));
      if (at > 0) skippedPaths.add(parts.slice(0, at + 1).join('/'));
      return at < 0;
    });
    skipped = skippedPaths.size;
    files.sort((x, y) => walkedOrder(x.path, y.path));
  }
  const total = files.reduce((sum, { file }) => sum + file.size, 0);
  let before = 0;
  checkProgress.max = Math.max(1, total);
  checkProgress.value = 0;
  checkProgress.hidden = false;
  checkList.replaceChildren();
  checkStatus.textContent = 'Checking ' + counted(files.length, 'file') + '\u2026';
  const problems = [];
  const failures = [];
  let references = 0;
  let read = 0;
  for (const { file, path } of files) {
    let result;
    try {
      result = await checkFile(file, path, run, (done) => (checkProgress.value = before + done));
    } catch (fault) {
      result = { failed: path + ' cannot be read: ' + fault.message };
    }
    if (result === null) return; // another choice came since
    before += file.size;
    if (result.skipped) ++skipped;
    else if (result.failed) failures.push(result.failed);
    else {
      ++read;
      references += result.references;
      problems.push(...result.problems);
    }
  }
  checked = { problems };
  checkProgress.hidden = true;
  checkList.replaceChildren(...problems.map(problemItem));
  checkSkipped.textContent = [...failures, ...(skipped ? ['Skipped ' + counted(skipped, 'file') + ': hidden, backups or not text.'] : [])].join(' ');
  checkStatus.textContent = checkSummary(problems, read, references);
}

for (const input of [$('check-files'), $('check-folder')]) {
  input.addEventListener('click', () => (input.value = ''));
  input.addEventListener('change', () => input.files.length && checkFiles([...input.files]));
}
checkTool.addEventListener('dragover', (event) => {
  event.preventDefault();
  checkTool.classList.add('dropping');
});
checkTool.addEventListener('dragleave', () => checkTool.classList.remove('dropping'));
checkTool.addEventListener('drop', (event) => {
  event.preventDefault();
  checkTool.classList.remove('dropping');
  if (event.dataTransfer.files.length) checkFiles([...event.dataTransfer.files]);
});
$('copy-check').addEventListener('click', () => copy(checked.problems.map(problemLine).join('\n'), $('check-copy-status')));
