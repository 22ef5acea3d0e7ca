// The gallery: every stock level's preview, each a link to the level, with
// its name and its difference beneath. In catalog order with no level shown;
// with one, that level first and the other 39 by how alike they look to it
// (the writer worked those out: data-differences); with a map compared, all
// forty by how alike they look to the map, worked out here.
const galleryList = $('gallery-list');
const stockDifferences = galleryList.dataset.differences.split(' ').map((tenths) => Number(tenths) / 10);

// The upper triangle of the catalog's differences, row by row.
function stockDifference(first, second) {
  if (first === second) return 0;
  const [a, b] = first < second ? [first, second] : [second, first];
  return stockDifferences[a * levelNames.length - a * (a + 1) / 2 + (b - a - 1)];
}

// The forty links, made after the page's first frame (below).
let galleryItems = [];
const makeGalleryItem = (name) => {
  const canvas = element('canvas', undefined, { width: compareSize, height: compareSize, 'aria-hidden': 'true' });
  const difference = element('span', '', { class: 'difference' });
  const link = element('a', undefined, { href: hashFor('level', name) });
  // A long name breaks after an underscore, never inside a word.
  const shownName = element('span', undefined, { class: 'name' });
  name.split(/(?<=_)/).forEach((part, i) => shownName.append(...(i ? [element('wbr'), part] : [part])));
  link.append(canvas, shownName, difference);
  const item = element('li');
  item.append(link);
  return { name, item, canvas, difference };
};

// A level's picture at the size lights are compared at, made once.
const stockPictures = new Map();
function stockPicture(name) {
  if (!stockPictures.has(name)) stockPictures.set(name, renderPreview(previewLight(valuesIn(fieldsOf(name))).light, compareSize));
  return stockPictures.get(name);
}
const galleryPicture = (entry) => stockPicture(entry.name);

// The gallery is made and drawn after the first frame: none of it holds up
// the page's start.
afterFirstFrame(() => {
  galleryItems = levelNames.map(makeGalleryItem);
  for (const entry of galleryItems) {
    entry.canvas.getContext('2d').putImageData(new ImageData(galleryPicture(entry), compareSize, compareSize), 0, 0);
  }
  orderGallery();
  galleryList.setAttribute('aria-busy', 'false');
});

let galleryMap = null; // the picture of the map compared, while its comparison stands

function orderGallery() {
  const shown = shownLevel === null ? -1 : levelNames.indexOf(shownLevel);
  const ranked = galleryItems.map((entry, i) => {
    if (galleryMap) return { entry, difference: shownDifference(pictureDifference(galleryMap, galleryPicture(entry))) };
    if (shown >= 0) return { entry, difference: stockDifference(shown, i), first: i === shown };
    return { entry };
  });
  // Stable: ties keep the catalog's order.
  ranked.sort((x, y) => (y.first === true) - (x.first === true) || (x.difference ?? 0) - (y.difference ?? 0));
  for (const { entry, difference } of ranked) {
    entry.difference.replaceChildren(...(difference === undefined ? []
      : [element('span', ', difference ', { class: 'unseen' }), difference.toFixed(1)]));
  }
  // A link followed by keyboard keeps the focus where it has moved to.
  const focused = galleryList.contains(document.activeElement) ? document.activeElement : null;
  galleryList.replaceChildren(...ranked.map(({ entry }) => entry.item));
  if (focused) focused.focus();
}

// Ordered in the frame after a change, as the previews are drawn.
levelField.addEventListener('levelshown', () => {
  galleryMap = null;
  drawBeforeNextFrame('gallery', orderGallery);
});
comparison.addEventListener('compared', (event) => {
  if (!event.detail.ofMap) return;
  const fields = event.detail.sides[1];
  drawBeforeNextFrame('gallery', () => {
    galleryMap = renderPreview(previewLight(valuesIn(fields)).light, compareSize);
    orderGallery();
  });
});
