// A field with a list of the level items, as the WAI-ARIA combobox pattern
// has it with list autocomplete: typing narrows the list to the items that
// contain the text (ASCII case ignored, the list's order kept, the items that
// name no level passed over); Alt+Down, F4 or the arrow button opens the
// whole list; Up and Down move through it; Enter or a click takes an item and
// acts on it at once; Escape shuts the list, or with the list shut empties
// the field. Enter with the list shut acts on the text as typed, as the
// button beside the field does.
function combobox(field, list, opener, act) {
  const options = [...list.querySelectorAll('[role=option]')];
  const folded = options.map((o) => foldAscii(o.textContent));
  const passedOver = options.map((o) => o.hasAttribute('data-spacer'));
  let shown = options;  // the items the list offers now
  let active = -1;      // an index into shown

  function setActive(index) {
    if (active >= 0) shown[active].setAttribute('aria-selected', 'false');
    active = index;
    if (index >= 0) {
      shown[index].setAttribute('aria-selected', 'true');
      field.setAttribute('aria-activedescendant', shown[index].id);
      shown[index].scrollIntoView({ block: 'nearest' });
    } else {
      field.removeAttribute('aria-activedescendant');
    }
  }

  // Shows the items that hold part (all of them for null), or shuts the list.
  function offer(part) {
    setActive(-1);
    shown = part === null ? options : options.filter((_, i) => !passedOver[i] && folded[i].includes(part));
    const showing = new Set(shown);
    options.forEach((o) => (o.hidden = !showing.has(o)));
    list.hidden = shown.length === 0;
    field.setAttribute('aria-expanded', String(!list.hidden));
  }

  function open() {
    offer(null);
    // The item the field holds, or the first: an empty field is not the list's blank items.
    const at = field.value === '' ? -1 : options.findIndex((o) => o.textContent === field.value);
    setActive(Math.max(0, at));
  }

  function shut() {
    setActive(-1);
    list.hidden = true;
    field.setAttribute('aria-expanded', 'false');
  }

  function choose(option) {
    field.value = option.textContent;
    shut();
    field.focus();
    act();
  }

  field.addEventListener('input', () => (field.value === '' ? shut() : offer(foldAscii(field.value))));
  field.addEventListener('keydown', (event) => {
    const isOpen = !list.hidden;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      event.preventDefault();
      if (event.altKey) return event.key === 'ArrowDown' ? open() : shut();
      if (!isOpen) return open();
      const step = event.key === 'ArrowDown' ? 1 : -1;
      setActive(Math.min(shown.length - 1, Math.max(0, active + step)));
    } else if (event.key === 'Enter') {
      event.preventDefault();
      if (isOpen && active >= 0) choose(shown[active]);
      else {
        shut();
        act();
      }
    } else if (event.key === 'Escape') {
      event.preventDefault();
      if (isOpen) shut();
      else field.value = '';
    } else if (event.key === 'F4') {
      event.preventDefault();
      if (isOpen) shut();
      else open();
    }
  });
  // The focus leaving for anything but the arrow button shuts the list (a
  // click on an item keeps the focus in the field: see mousedown below).
  field.addEventListener('focusout', (event) => {
    if (event.relatedTarget !== opener) shut();
  });
  opener.addEventListener('click', () => {
    if (list.hidden) open();
    else shut();
    field.focus();
  });
  list.addEventListener('mousedown', (event) => event.preventDefault()); // keep the focus in the field
  list.addEventListener('click', (event) => {
    const option = event.target.closest('[role=option]');
    if (option) choose(option);
  });
}
