// A field with a list of the level items, as the WAI-ARIA combobox pattern
// has it: Alt+Down, F4 or the arrow button opens the list, Up and Down move
// through it, Enter takes the item, Escape shuts it. With the list shut, Enter
// runs the field's action, as the button beside it does.
function combobox(field, list, opener, act) {
  const options = [...list.querySelectorAll('[role=option]')];
  let active = -1;

  function setActive(index) {
    active = index;
    options.forEach((option, i) => option.setAttribute('aria-selected', String(i === index)));
    if (index >= 0) {
      field.setAttribute('aria-activedescendant', options[index].id);
      options[index].scrollIntoView({ block: 'nearest' });
    } else {
      field.removeAttribute('aria-activedescendant');
    }
  }

  function open(show) {
    list.hidden = !show;
    field.setAttribute('aria-expanded', String(show));
    // The item the field holds, or the first: an empty field is not the list's empty items.
    const at = field.value === '' ? -1 : options.findIndex((o) => o.textContent === field.value);
    setActive(show ? Math.max(0, at) : -1);
  }

  function pick(index) {
    field.value = options[index].textContent;
    open(false);
    field.focus();
  }

  field.addEventListener('keydown', (event) => {
    const shown = !list.hidden;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      event.preventDefault();
      if (!shown || event.altKey) return open(!shown || event.key === 'ArrowDown');
      const step = event.key === 'ArrowDown' ? 1 : -1;
      setActive(Math.min(options.length - 1, Math.max(0, active + step)));
    } else if (event.key === 'Enter') {
      event.preventDefault();
      if (shown && active >= 0) pick(active);
      else act();
    } else if (event.key === 'Escape' && shown) {
      event.preventDefault();
      open(false);
    } else if (event.key === 'F4') {
      event.preventDefault();
      open(!shown);
    }
  });
  field.addEventListener('blur', () => setTimeout(() => {
    const at = document.activeElement;
    if (at !== field && at !== opener && !list.contains(at)) open(false);
  }, 150));
  opener.addEventListener('click', () => {
    open(list.hidden);
    field.focus();
  });
  list.addEventListener('mousedown', (event) => event.preventDefault()); // keep the focus in the field
  list.addEventListener('click', (event) => {
    const option = event.target.closest('[role=option]');
    if (option) pick(options.indexOf(option));
  });
}
