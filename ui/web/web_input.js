// The keys and the mouse. The keys a window binds (its menus' Ctrl
// shortcuts, its access keys, Tab) are taken from the browser in the
// capture phase, and only those; a character typed into a box and Enter in
// it go to the module as the box's key presses; a click on a button is its
// Click. The mouse gives the focus only to the controls, as on the desktop.
var EmberlineInput = (function () {
  'use strict';

  var calls = EmberlineCalls;
  var call = calls.call;
  var menus = EmberlineMenus;
  var controlOf = EmberlineWindows.controlOf;

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

  // Keys.

  // The keys the windows bind, and those of an open menu.
  function onKeyDown(event) {
    if (calls.over())
      return;
    var win = shownWindow();
    var letter = letterOf(event);
    var ctrl = event.ctrlKey && !event.altKey && !event.metaKey && !event.shiftKey;
    var alt = event.altKey && !event.ctrlKey && !event.metaKey;
    var plain = !event.ctrlKey && !event.altKey && !event.metaKey; // Shift may be held
    // The Ctrl shortcuts of every window are the program's (Ctrl+R never
    // reloads it); an access key only where the shown window binds it, so
    // that elsewhere Alt+letter stays the browser's (on a Mac, Option+O
    // types "ø").
    var programKey = (ctrl && EmberlineWindows.shortcutKeys.has(letter)) ||
      (alt && !!win && (win.menuKeys.has(letter) || win.accessKeys.has(letter)));
    // WebKitGTK names Shift+Tab's key (X's ISO_Left_Tab) 'Unidentified'; its
    // code is still Tab's.
    var tab = (event.key === 'Tab' || (event.key === 'Unidentified' && event.code === 'Tab')) && plain;
    // F10 opens the menu bar, as Alt does.
    var f10 = event.key === 'F10' && plain && !event.shiftKey;
    if (!calls.idle()) {
      // The box's own keys (Enter, Space, Escape) reach it; Tab would
      // take the focus out of it.
      if (programKey || tab || f10)
        event.preventDefault();
      return;
    }
    if (!win)
      return;
    if (ctrl && programKey) {
      // Any window's shortcut closes an open menu; the shown window's acts.
      event.preventDefault();
      menus.close();
      if (win.shortcuts.has(letter))
        menus.choose(win, win.shortcuts.get(letter));
    } else if (menus.isOpen()) {
      if (menus.key(event, letter))
        event.preventDefault();
    } else if (alt && programKey) {
      event.preventDefault();
      if (win.menuKeys.has(letter))
        menus.open(win, win.menuKeys.get(letter), true);
      else if (win.accessKeys.has(letter))
        press(win, win.accessKeys.get(letter));
    } else if (tab) {
      event.preventDefault();
      moveFocus(win, event.shiftKey ? -1 : 1);
    } else if (f10 && win.menus.length) {
      event.preventDefault();
      menus.open(win, 0, true);
    } else if (event.key === 'Enter' && !plain && event.target.tagName === 'BUTTON') {
      // A window's button is pressed by Enter alone, as on the desktop;
      // Firefox and WebKit press it with Ctrl or Alt held too. (The other
      // buttons, the message box's OK and the ended page's, end up above.)
      event.preventDefault();
    }
  }

  // Enter in a box is taken as it goes down: a virtual keyboard sends no
  // keypress for it on some phones. Ctrl+Enter is a line feed, which the
  // box's procedure ignores; with Alt or Cmd it types nothing. Held back
  // from the browser, it sends no keypress either.
  function onBoxEnter(event) {
    var c = controlOf(event.target);
    if (!c || c.kind !== 'textbox' || event.key !== 'Enter' || event.defaultPrevented ||
        event.isComposing || event.altKey || event.metaKey)
      return;
    event.preventDefault();
    call('emberline_key_press', [c.win.handle, c.id, event.ctrlKey ? 10 : 13]);
  }

  // A character typed into a box, before the box takes it.
  function onKeyPress(event) {
    var c = controlOf(event.target);
    if (!c || c.kind !== 'textbox' || event.metaKey || event.key === 'Enter')
      return;
    var text = event.key;
    var pair = text.length === 2 && /^[\ud800-\udbff][\udc00-\udfff]$/.test(text);
    if (text.length !== 1 && !pair)
      return; // a named key, not a character
    for (var i = 0; i < text.length; ++i)
      call('emberline_key_press', [c.win.handle, c.id, text.charCodeAt(i)]);
  }

  // The mouse.

  function onMouseDown(event) {
    if (calls.over() || !(event.target instanceof Element))
      return;
    var target = event.target;
    var box = calls.box();
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
      menus.pressTitle(shownWindow(), Number(title.dataset.menu));
      return;
    }
    if (target.closest('.menu')) {
      event.preventDefault();
      return;
    }
    menus.close();
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
      if (document.activeElement !== control && calls.idle())
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
    if (reseating || calls.over())
      return;
    reseating = true;
    setTimeout(reseat, 0);
  }

  // A menu entry chosen, or a button's Click.
  function onClick(event) {
    if (calls.over() || !(event.target instanceof Element))
      return;
    var item = event.target.closest('.menu-item');
    if (item) {
      menus.clickEntry(Number(item.dataset.entry));
      return;
    }
    var c = controlOf(event.target.closest('button'));
    if (c && c.kind === 'button')
      call('emberline_click', [c.win.handle, c.id]);
  }

  // The browser's own menu (back, reload, ...) only over the boxes, where
  // it cuts and pastes.
  function onContextMenu(event) {
    if (!(event.target instanceof Element) || !event.target.closest('input'))
      event.preventDefault();
  }

  document.addEventListener('keydown', onKeyDown, true);
  document.addEventListener('keydown', onBoxEnter, true);
  document.addEventListener('keypress', onKeyPress, true);
  document.addEventListener('mousedown', onMouseDown, true);
  document.addEventListener('mouseup', onMouseUp, true);
  document.addEventListener('click', onClick, true);
  document.addEventListener('contextmenu', onContextMenu, true);

  return {
    // Whether what a press of the mouse leaves to do is done.
    settled: function () {
      return !reseating;
    },
  };
})();
