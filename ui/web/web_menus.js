// The keys and the mouse on the windows, and the menus they work. The keys
// a window binds (its menus' Ctrl shortcuts, its access keys, Tab) are
// taken from the browser in the capture phase, and only those. The menus
// open and close here; choosing an entry is the event.
var EmberlineMenus = (function () {
  'use strict';

  var gate = EmberlineGate;
  var call = gate.call;
  var controlOf = EmberlineWindows.controlOf;
  var menu = null; // the open menu: {win, index, active entry}

  // Menus.

  function openMenu(win, index, keyboard) {
    closeMenu();
    var m = win.menus[index];
    menu = {win: win, index: index, active: -1};
    m.title.classList.add('open');
    m.title.setAttribute('aria-expanded', 'true');
    m.list.hidden = false;
    if (keyboard)
      activate(0);
  }

  function closeMenu() {
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
    closeMenu();
    if (line.item)
      call('emberline_menu_chosen', [win.handle, line.item]);
  }

  // The keys of an open menu; true when the key was the menu's.
  function menuKey(event, letter) {
    var win = menu.win;
    var entries = win.menus[menu.index].entries;
    switch (event.key) {
    case 'Escape':
      closeMenu();
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
      openMenu(win, (menu.index + (event.key === 'ArrowRight' ? 1 : count - 1)) % count, true);
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
      openMenu(win, win.menuKeys.get(letter), true);
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

  // Events.

  function shownWindow() {
    var shown = null;
    EmberlineWindows.windows.forEach(function (win) {
      if (!win.root.hidden)
        shown = win;
    });
    return shown;
  }

  // The letter or digit of a key, as the keyboard layout gives it (Ctrl+Q
  // is the key labelled Q); from its position when a modifier makes it
  // type something else.
  function letterOf(event) {
    var key = event.key || '';
    if (key.length === 1 && /[a-z0-9]/i.test(key))
      return key.toLowerCase();
    var code = /^(?:Key([A-Z])|Digit([0-9]))$/.exec(event.code || '');
    return code ? (code[1] || code[2]).toLowerCase() : '';
  }

  // A button pressed by its access key: it takes the focus first (which may
  // validate the box it leaves), then it is clicked; the form lets the click
  // act only if the button kept the focus.
  function press(win, id) {
    var node = win.byId.get(id);
    if (document.activeElement !== node)
      node.focus();
    call('emberline_click', [win.handle, id]);
  }

  // Tab and Shift+Tab: the next control in the table's tab order, round;
  // a box entered so has its whole text selected, to be typed over.
  function moveFocus(win, step) {
    var order = win.design.tabOrder;
    var c = controlOf(document.activeElement);
    var from = c && c.win === win ? c : controlOf(win.byId.get(win.current));
    var at = from ? order.indexOf(from.name) : -1;
    var next = at < 0 ? (step > 0 ? 0 : order.length - 1) : (at + step + order.length) % order.length;
    var node = win.controls.get(order[next]);
    // Selected before it takes the focus: the box keeps the selection if
    // the program sends the focus elsewhere at once.
    var box = node.tagName === 'INPUT';
    if (box)
      EmberlineWindows.selectAll(node);
    node.focus();
    if (box && document.activeElement === node)
      EmberlineWindows.selectAll(node);
  }

  function onKeyDown(event) {
    if (gate.over())
      return;
    var win = shownWindow();
    var letter = letterOf(event);
    var ctrl = event.ctrlKey && !event.altKey && !event.metaKey && !event.shiftKey;
    var alt = event.altKey && !event.ctrlKey && !event.metaKey;
    // The Ctrl shortcuts of every window are the program's (Ctrl+R never
    // reloads it); an access key only where the shown window binds it, so
    // that elsewhere Alt+letter stays the browser's (on a Mac, Option+O
    // types "ø").
    var programKey = (ctrl && EmberlineWindows.shortcutKeys.has(letter)) ||
      (alt && !!win && (win.menuKeys.has(letter) || win.accessKeys.has(letter)));
    // WebKitGTK names Shift+Tab's key (X's ISO_Left_Tab) 'Unidentified'; its
    // code is still Tab's.
    var tab = (event.key === 'Tab' || (event.key === 'Unidentified' && event.code === 'Tab')) &&
      !event.ctrlKey && !event.altKey && !event.metaKey;
    // F10 opens the menu bar, as Alt does.
    var f10 = event.key === 'F10' && !event.ctrlKey && !event.altKey && !event.metaKey && !event.shiftKey;
    if (!gate.idle()) {
      // The box's own keys (Enter, Space, Escape) reach it; Tab would
      // take the focus out of it.
      if (programKey || tab || f10)
        event.preventDefault();
      return;
    }
    if (!win)
      return;
    if (menu) {
      if (ctrl && programKey) {
        closeMenu();
      } else {
        if (menuKey(event, letter))
          event.preventDefault();
        return;
      }
    }
    if (ctrl && programKey) {
      event.preventDefault();
      if (win.shortcuts.has(letter))
        choose(win, win.shortcuts.get(letter));
    } else if (alt && programKey) {
      event.preventDefault();
      if (win.menuKeys.has(letter))
        openMenu(win, win.menuKeys.get(letter), true);
      else if (win.accessKeys.has(letter))
        press(win, win.accessKeys.get(letter));
    } else if (tab) {
      event.preventDefault();
      moveFocus(win, event.shiftKey ? -1 : 1);
    } else if (f10 && win.menus.length) {
      event.preventDefault();
      openMenu(win, 0, true);
    } else if (event.key === 'Enter' && (event.ctrlKey || event.altKey || event.metaKey) && isButton(event.target)) {
      // A window's button is pressed by Enter alone, as on the desktop;
      // Firefox and WebKit press it with Ctrl or Alt held too.
      event.preventDefault();
    }
  }

  function isButton(node) {
    var c = controlOf(node);
    return !!c && c.kind === 'button';
  }

  function onMouseDown(event) {
    if (gate.over() || !(event.target instanceof Element))
      return;
    var target = event.target;
    var box = gate.box();
    if (box && box.dialog.open) {
      // A click anywhere but on OK (behind the box is its backdrop) leaves
      // the focus on OK.
      if (target !== box.ok)
        event.preventDefault();
      return;
    }
    var title = target.closest('.menu-title');
    if (title) {
      // A menu never takes the focus from the window's control.
      event.preventDefault();
      var win = shownWindow();
      var index = Number(title.dataset.menu);
      if (menu && menu.win === win && menu.index === index)
        closeMenu();
      else if (win && gate.idle())
        openMenu(win, index, false);
      return;
    }
    if (target.closest('.menu')) {
      event.preventDefault();
      return;
    }
    closeMenu();
    // Labels, panels, pictures and the page keep the focus where it is;
    // the controls take it, a button only from the main mouse button. A
    // pressed button takes it from the page itself: Safari (and Firefox on
    // macOS) never focus a clicked button, and a button acts on a click
    // only when it has the focus, as on the desktop. The box it leaves is
    // validated first.
    var control = target.closest('input, button');
    if (!control || (event.button !== 0 && control.tagName === 'BUTTON')) {
      event.preventDefault();
    } else if (control.tagName === 'BUTTON') {
      event.preventDefault();
      if (document.activeElement !== control && gate.idle())
        control.focus();
    }
  }

  // After a press of the mouse (or a tap), the keyboard goes where the focus
  // is. Chromium can leave the document's selection outside a focused box
  // when the press moved the focus away and back (a click on a message
  // box's OK that closes it, a double click across a move): the box then
  // shows its focus but takes no typing. Once the press and its click
  // have run, the focused box's own selection is put back, which seats
  // the keyboard in it; elsewhere nothing changes.
  var reseating = false;

  function reseat() {
    reseating = false;
    var c = controlOf(document.activeElement);
    if (!c || c.kind !== 'textbox')
      return;
    var box = document.activeElement;
    box.setSelectionRange(box.selectionStart, box.selectionEnd, box.selectionDirection);
  }

  function onMouseUp() {
    if (reseating || gate.over())
      return;
    reseating = true;
    setTimeout(reseat, 0);
  }

  // The browser's own menu (back, reload, ...) only over the boxes, where
  // it cuts and pastes.
  function onContextMenu(event) {
    if (!(event.target instanceof Element) || !event.target.closest('input'))
      event.preventDefault();
  }

  function onMouseOver(event) {
    if (!menu || !(event.target instanceof Element))
      return;
    var title = event.target.closest('.menu-title');
    if (title && Number(title.dataset.menu) !== menu.index)
      openMenu(menu.win, Number(title.dataset.menu), false);
    var item = event.target.closest('.menu-item');
    if (item)
      activate(Number(item.dataset.entry));
  }

  function onClick(event) {
    if (gate.over() || !(event.target instanceof Element))
      return;
    var item = event.target.closest('.menu-item');
    if (item && menu) {
      choose(menu.win, menu.win.menus[menu.index].entries[Number(item.dataset.entry)].line);
      return;
    }
    var c = controlOf(event.target.closest('button'));
    if (c && c.kind === 'button')
      call('emberline_click', [c.win.handle, c.id]);
  }

  document.addEventListener('keydown', onKeyDown, true);
  document.addEventListener('mousedown', onMouseDown, true);
  document.addEventListener('mouseup', onMouseUp, true);
  document.addEventListener('mouseover', onMouseOver, true);
  document.addEventListener('click', onClick, true);
  document.addEventListener('contextmenu', onContextMenu, true);
  window.addEventListener('blur', closeMenu);

  return {
    close: closeMenu,
    // Whether what a press of the mouse leaves to do is done.
    settled: function () {
      return !reseating;
    },
    // A window hidden takes its open menu with it.
    hide: function (win) {
      if (menu && menu.win === win)
        closeMenu();
    },
  };
})();
