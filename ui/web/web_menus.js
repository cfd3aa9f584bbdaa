// The menus of the windows: one open at a time, shown under its title with
// an entry highlighted (by the mouse over it or the arrow keys), closed
// again; choosing an entry is the event. The keys and the presses of the
// mouse (web_input.js) open and work them; the window losing the focus
// closes them.
var EmberlineMenus = (function () {
  'use strict';

  var call = EmberlineCalls.call;
  var menu = null; // the open menu: {win, index, active entry}

  function open(win, index, keyboard) {
    close();
    var m = win.menus[index];
    menu = {win: win, index: index, active: -1};
    m.title.classList.add('open');
    m.title.setAttribute('aria-expanded', 'true');
    m.list.hidden = false;
    if (keyboard)
      activate(0);
  }

  function close() {
    if (!menu)
      return;
    var m = menu.win.menus[menu.index];
    m.title.classList.remove('open');
    m.title.setAttribute('aria-expanded', 'false');
    m.list.hidden = true;
    m.entries.forEach(function (e) { e.node.classList.remove('active'); });
    menu = null;
  }

  // Highlights an entry of the open menu, counting round from either end.
  function activate(index) {
    var entries = menu.win.menus[menu.index].entries;
    if (!entries.length)
      return;
    var next = ((index % entries.length) + entries.length) % entries.length;
    if (menu.active >= 0)
      entries[menu.active].node.classList.remove('active');
    menu.active = next;
    entries[next].node.classList.add('active');
  }

  function choose(win, line) {
    close();
    if (line.item)
      call('emberline_menu_chosen', [win.handle, line.item]);
  }

  // The keys of an open menu; true when the key was the menu's.
  function key(event, letter) {
    var win = menu.win;
    var entries = win.menus[menu.index].entries;
    switch (event.key) {
    case 'Escape':
      close();
      return true;
    case 'ArrowDown':
      activate(menu.active + 1);
      return true;
    case 'ArrowUp':
      activate(menu.active < 0 ? -1 : menu.active - 1);
      return true;
    case 'ArrowLeft':
    case 'ArrowRight':
      var count = win.menus.length;
      open(win, (menu.index + (event.key === 'ArrowRight' ? 1 : count - 1)) % count, true);
      return true;
    case 'Enter':
    case ' ':
      if (menu.active >= 0)
        choose(win, entries[menu.active].line);
      return true;
    case 'Alt':
    case 'Control':
    case 'Shift':
    case 'Meta':
      return false;
    }
    if (event.altKey && win.menuKeys.has(letter)) {
      open(win, win.menuKeys.get(letter), true);
      return true;
    }
    if (letter && !event.ctrlKey && !event.metaKey) {
      for (var i = 0; i < entries.length; ++i) {
        if (entries[i].line.key === letter) {
          choose(win, entries[i].line);
          return true;
        }
      }
    }
    // Any other key goes nowhere while a menu is open.
    return true;
  }

  // The mouse over the open menu's bar: the title under it opens its menu,
  // the entry under it is highlighted.
  function onMouseOver(event) {
    if (!menu || !(event.target instanceof Element))
      return;
    var title = event.target.closest('.menu-title');
    if (title && Number(title.dataset.menu) !== menu.index)
      open(menu.win, Number(title.dataset.menu), false);
    var item = event.target.closest('.menu-item');
    if (item)
      activate(Number(item.dataset.entry));
  }

  document.addEventListener('mouseover', onMouseOver, true);
  window.addEventListener('blur', close);

  return {
    open: open,
    close: close,
    choose: choose,
    key: key,

    // Whether a menu is open.
    isOpen: function () {
      return !!menu;
    },

    // A press on a menu's title in the shown window: its menu opens, or
    // closes when it is the one open.
    pressTitle: function (win, index) {
      if (menu && menu.win === win && menu.index === index)
        close();
      else if (win && EmberlineCalls.idle())
        open(win, index, false);
    },

    // A click on an entry of the open menu chooses it.
    clickEntry: function (entry) {
      if (menu)
        choose(menu.win, menu.win.menus[menu.index].entries[entry].line);
    },

    // A window hidden takes its open menu with it.
    hide: function (win) {
      if (menu && menu.win === win)
        close();
    },
  };
})();
