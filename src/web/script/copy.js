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
  const lines = text.split('\r\n').length;
  status.textContent = 'Copied ' + lines + (lines === 1 ? ' line.' : ' lines.');
}
$('copy-block').addEventListener('click', () => copy(block.textContent, blockStatus));
// The shown level's keys as a map source holds them, as zorvin level NAME --format map prints them.
$('copy-keys').addEventListener('click', () => copy(
  shownLevel === null ? '' : levelEntries.get(shownLevel).querySelector('.map-keys').textContent, blockStatus));
$('copy-listing').addEventListener('click', () => copy(listing.textContent, listingStatus));
