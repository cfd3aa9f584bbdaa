// The page of the browser windows: it builds each window in HTML from the
// layout table the module hands it, and forwards the events of its
// elements to the module as they happen, deciding nothing about them (the
// forms decide). What it does decide is what a browser leaves to a toolkit:
// - one call into the module at a time. A call that opens a message box
//   stays in flight (the module waits unwound) until the box is closed, and
//   an event that arrives while a call is in flight is dropped, never
//   queued: calling the module then would run on its unwound state. The
//   focus moves that the call itself causes (the program's own, the box
//   taking the focus and giving it back) arrive that way too, and the
//   module reports the program's moves itself;
// - a move of the focus is reported from the control that last had it in
//   that window to the one that has it now, as a window system reports
//   it: the menus, the page and other windows never hold a window's focus;
// - the keys a window binds (its menus' Ctrl shortcuts, its access keys,
//   Tab) are taken from the browser in the capture phase, and only those;
// - the menus open and close here; choosing an entry is the event;
// - a window shown after the first gets a history entry of its own, and
//   the browser's Back is its close box.
var EmberlinePage = (function () {
  'use strict';

  var windows = new Map(); // number -> window
  var shortcutKeys = new Set(); // Ctrl+letter of any window: the browser never gets them
  var accessKeys = new Set(); // Alt+letter of any window
  var inFlight = true; // until the module has started the program
  var boxOpen = false;
  var ended = false;
  var firstWindow = 0; // the window the page's history starts on
  var expectedPops = 0; // history steps back taken by the page itself
  var menu = null; // the open menu: {win, index, active entry}
  var box = null; // the message box's elements

  // Calls into the module.

  function call(name, args) {
    if (ended || inFlight)
      return;
    inFlight = true;
    try {
      Module['_' + name].apply(null, args);
    } catch (error) {
      inFlight = false;
      stop(error);
      return;
    }
    if (Asyncify.currData)
      Asyncify.whenDone().then(function () { inFlight = false; }, stop);
    else
      inFlight = false;
  }

  function idle() {
    return !ended && !inFlight && !boxOpen;
  }

  // Building a window.

  function element(tag, className, parent) {
    var node = document.createElement(tag);
    if (className)
      node.className = className;
    if (parent)
      parent.appendChild(node);
    return node;
  }

  // A caption as shown, its access key underlined.
  function putCaption(node, text, keyAt) {
    if (keyAt < 0 || keyAt >= text.length) {
      node.textContent = text;
      return;
    }
    node.appendChild(document.createTextNode(text.slice(0, keyAt)));
    element('u', '', node).textContent = text.charAt(keyAt);
    node.appendChild(document.createTextNode(text.slice(keyAt + 1)));
  }

  function displayText(text) {
    return text.replace(/\r\n?/g, '\n');
  }

  function setTwips(node, names, values) {
    for (var i = 0; i < names.length; ++i)
      node.style.setProperty(names[i], String(values[i]));
  }

  function makeControl(win, c) {
    var node;
    switch (c.kind) {
    case 'frame':
      node = element('div', 'control frame');
      break;
    case 'textbox':
      node = element('input', 'control textbox');
      node.type = 'text';
      node.autocomplete = 'off';
      node.spellcheck = false;
      node.setAttribute('autocapitalize', 'off');
      node.setAttribute('aria-label', c.accessibleName);
      break;
    case 'button':
      node = element('button', 'control button');
      node.type = 'button';
      putCaption(element('span', '', node), c.text, c.keyAt);
      if (c.accessibleName)
        node.setAttribute('aria-label', c.accessibleName);
      if (c.key)
        node.setAttribute('aria-keyshortcuts', 'Alt+' + c.key.toUpperCase());
      break;
    case 'label':
      if (c.text === '') {
        // Its text is the program's: an output, a status for assistive
        // technology, named by the table.
        node = element('output', 'control label');
        node.setAttribute('aria-label', c.accessibleName || c.accessibleDescription);
      } else {
        node = element('div', 'control label');
        node.textContent = c.text;
      }
      break;
    case 'picture':
      node = element('img', 'control picture');
      node.alt = c.accessibleName;
      node.draggable = false;
      var base = 'pictures/' + c.picture;
      node.srcset = base + '.png 1x, ' + base + '@2x.png 2x, ' + base + '@3x.png 3x';
      node.src = base + '.png';
      break;
    default:
      node = element('div', 'control');
    }
    node.id = win.design.name + '-' + c.name;
    node.dataset.name = c.name;
    setTwips(node, ['--l', '--t', '--cw', '--ch'], [c.left, c.top, c.width, c.height]);
    if (c.accessibleDescription && c.accessibleName)
      node.setAttribute('aria-description', c.accessibleDescription);
    if (c.font) {
      node.style.fontFamily = c.font.family;
      node.style.fontSize = c.font.points + 'pt';
      node.style.fontWeight = c.font.bold ? '700' : '400';
    }
    if (c.white)
      node.classList.add('white');
    if (c.centred)
      node.classList.add('centred');
    return node;
  }

  function makeMenuBar(win) {
    var bar = element('div', 'menubar', win.root);
    bar.setAttribute('role', 'menubar');
    win.design.menus.forEach(function (m, index) {
      var slot = element('div', 'menu-slot', bar);
      slot.setAttribute('role', 'none');
      var title = element('div', 'menu-title', slot);
      title.id = win.design.name + '-' + m.name;
      title.setAttribute('role', 'menuitem');
      title.setAttribute('aria-haspopup', 'menu');
      title.setAttribute('aria-expanded', 'false');
      if (m.key) {
        title.setAttribute('aria-keyshortcuts', 'Alt+' + m.key.toUpperCase());
        win.menuKeys.set(m.key, index);
        accessKeys.add(m.key);
      }
      putCaption(title, m.text, m.keyAt);
      title.dataset.menu = String(index);
      var list = element('div', 'menu', slot);
      list.id = title.id + '-list';
      list.setAttribute('role', 'menu');
      list.setAttribute('aria-label', m.text);
      list.hidden = true;
      title.setAttribute('aria-controls', list.id);
      var entries = [];
      m.lines.forEach(function (line) {
        if (line.separator) {
          element('div', 'menu-separator', list).setAttribute('role', 'separator');
          return;
        }
        var item = element('div', 'menu-item', list);
        item.id = win.design.name + '-' + line.name;
        item.setAttribute('role', 'menuitem');
        item.setAttribute('aria-label', line.text);
        putCaption(element('span', 'menu-text', item), line.text, line.keyAt);
        if (line.ctrlKey) {
          item.setAttribute('aria-keyshortcuts', 'Control+' + line.ctrlKey.toUpperCase());
          element('span', 'menu-shortcut', item).textContent = line.shortcut;
          win.shortcuts.set(line.ctrlKey, line);
          shortcutKeys.add(line.ctrlKey);
        }
        item.dataset.entry = String(entries.length);
        entries.push({node: item, line: line});
      });
      win.menus.push({title: title, list: list, entries: entries});
    });
  }

  function createWindow(handle, design) {
    var win = {
      handle: handle,
      design: design,
      root: element('div', 'window'),
      controls: new Map(), // name -> element
      byId: new Map(), // ui::Control value -> element
      current: 0, // the control that last had the focus
      menus: [],
      menuKeys: new Map(), // access key -> menu index
      shortcuts: new Map(), // Ctrl letter -> menu line
      accessKeys: new Map(), // access key -> control
      history: false, // the page's history holds an entry for the window
    };
    win.root.id = design.name;
    win.root.hidden = true;
    if (design.menus.length)
      makeMenuBar(win);
    var client = element('div', 'client', win.root);
    setTwips(client, ['--cw', '--ch'], [design.width, design.height]);
    var nodes = design.controls.map(function (c) {
      var node = makeControl(win, c);
      win.controls.set(c.name, node);
      if (c.id) {
        win.byId.set(c.id, node);
        node.emberline = {win: win, id: c.id, name: c.name, kind: c.kind};
      }
      if (c.key && c.kind === 'button') {
        win.accessKeys.set(c.key, c.id);
        accessKeys.add(c.key);
      }
      return node;
    });
    // The first control in the table lies on top: later siblings are
    // drawn above earlier ones, so the elements go in from the last.
    for (var i = design.controls.length - 1; i >= 0; --i) {
      var container = design.controls[i].container;
      (container ? win.controls.get(container) : client).appendChild(nodes[i]);
    }
    windows.set(handle, win);
    document.body.appendChild(win.root);
  }

  // What the module does to a window.

  function showWindow(handle) {
    var win = windows.get(handle);
    if (!win)
      return;
    win.root.hidden = false;
    document.title = win.design.caption;
    if (!firstWindow)
      firstWindow = handle;
    else if (handle !== firstWindow && !win.history) {
      history.pushState({emberlineWindow: handle}, '');
      win.history = true;
    }
  }

  // The window's history entry goes with it.
  function dropHistory(win) {
    if (!win.history)
      return;
    win.history = false;
    if (history.state && history.state.emberlineWindow === win.handle) {
      ++expectedPops;
      history.back();
    }
  }

  function hideWindow(handle) {
    var win = windows.get(handle);
    if (!win)
      return;
    if (menu && menu.win === win)
      closeMenu();
    win.root.hidden = true;
    dropHistory(win);
  }

  function destroyWindow(handle) {
    var win = windows.get(handle);
    if (!win)
      return;
    hideWindow(handle);
    win.root.remove();
    windows.delete(handle);
  }

  function controlOf(node) {
    return node && node.emberline ? node.emberline : null;
  }

  function focusedControl(handle) {
    var c = controlOf(document.activeElement);
    return c && c.win.handle === handle ? c.id : 0;
  }

  function focusControl(handle, id) {
    var win = windows.get(handle);
    var node = win && win.byId.get(id);
    if (node && !win.root.hidden)
      node.focus();
  }

  function boxText(handle, name) {
    var win = windows.get(handle);
    var node = win && win.controls.get(name);
    return node ? node.value : '';
  }

  function writeBox(handle, name, text) {
    var win = windows.get(handle);
    var node = win && win.controls.get(name);
    if (node)
      node.value = text;
  }

  function writeLabel(handle, name, text) {
    var win = windows.get(handle);
    var node = win && win.controls.get(name);
    if (node)
      node.textContent = displayText(text);
  }

  // The message box: modal (the rest of the page inert), one OK button with
  // the focus, no icon. Enter, Space and a click on OK close it, and so
  // does Escape (a dialog's cancel), with the same effect.
  function makeBox() {
    var dialog = element('dialog', 'msgbox', document.body);
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-modal', 'true');
    dialog.setAttribute('aria-labelledby', 'msgbox-title');
    dialog.setAttribute('aria-describedby', 'msgbox-text');
    var form = element('form', '', dialog);
    form.method = 'dialog';
    var title = element('div', 'msgbox-title', form);
    title.id = 'msgbox-title';
    var text = element('div', 'msgbox-text', form);
    text.id = 'msgbox-text';
    var buttons = element('div', 'msgbox-buttons', form);
    var ok = element('button', 'msgbox-ok', buttons);
    ok.id = 'msgbox-ok';
    ok.textContent = 'OK';
    return {dialog: dialog, title: title, text: text, ok: ok};
  }

  function messageBox(prompt, title) {
    if (!box)
      box = makeBox();
    closeMenu();
    box.title.textContent = title;
    box.text.textContent = displayText(prompt);
    boxOpen = true;
    return new Promise(function (resolve) {
      box.dialog.addEventListener('close', function () {
        boxOpen = false;
        resolve();
      }, {once: true});
      try {
        box.dialog.showModal();
        box.ok.focus();
      } catch (error) {
        boxOpen = false;
        resolve();
        console.error(error);
      }
    });
  }

  // The end of the program: the window closes where the browser lets a
  // script close it (an app window, a tab a script opened); otherwise
  // every window goes and the page says so.
  function end(title) {
    if (ended)
      return;
    ended = true;
    closeMenu();
    windows.forEach(function (win) { win.root.remove(); });
    windows.clear();
    window.close();
    showEnded(title + ' has ended.', title);
  }

  function showEnded(message, title) {
    document.title = title;
    document.body.textContent = '';
    var page = element('main', 'ended', document.body);
    element('p', '', page).textContent = message;
    var again = element('button', 'ended-restart', element('p', '', page));
    again.type = 'button';
    again.textContent = 'Start ' + title + ' again';
    again.addEventListener('click', function () { location.reload(); });
    again.focus();
  }

  // The module failed (it cannot go on after a trap): the page says so.
  function stop(error) {
    if (ended)
      return;
    ended = true;
    inFlight = false;
    if (box && box.dialog.open)
      box.dialog.close();
    console.error(error);
    showEnded('Emberline stopped after an internal error.', 'Emberline');
  }

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
    windows.forEach(function (win) {
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

  // Tab and Shift+Tab: the next control in the table's tab order, round.
  function moveFocus(win, step) {
    var order = win.design.tabOrder;
    var c = controlOf(document.activeElement);
    var from = c && c.win === win ? c : controlOf(win.byId.get(win.current));
    var at = from ? order.indexOf(from.name) : -1;
    var next = at < 0 ? (step > 0 ? 0 : order.length - 1) : (at + step + order.length) % order.length;
    win.controls.get(order[next]).focus();
  }

  function onKeyDown(event) {
    if (ended)
      return;
    var letter = letterOf(event);
    var ctrl = event.ctrlKey && !event.altKey && !event.metaKey && !event.shiftKey;
    var alt = event.altKey && !event.ctrlKey && !event.metaKey;
    var programKey = (ctrl && shortcutKeys.has(letter)) || (alt && accessKeys.has(letter));
    var tab = event.key === 'Tab' && !event.ctrlKey && !event.altKey && !event.metaKey;
    if (!idle()) {
      // The box's own keys (Enter, Space, Escape) reach it; Tab would
      // take the focus out of it.
      if (programKey || tab)
        event.preventDefault();
      return;
    }
    var win = shownWindow();
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
    }
  }

  // A character typed into a box, before the box takes it.
  function onKeyPress(event) {
    var c = controlOf(event.target);
    if (!c || c.kind !== 'textbox' || event.metaKey)
      return;
    var text = event.key === 'Enter' ? (event.ctrlKey ? '\n' : '\r') : event.key;
    var pair = text.length === 2 && /^[\ud800-\udbff][\udc00-\udfff]$/.test(text);
    if (text.length !== 1 && !pair)
      return; // a named key, not a character
    for (var i = 0; i < text.length; ++i)
      call('emberline_key_press', [c.win.handle, c.id, text.charCodeAt(i)]);
  }

  function onInput(event) {
    var c = controlOf(event.target);
    if (c && c.kind === 'textbox')
      call('emberline_text_changed', [c.win.handle, c.id]);
  }

  function onFocusIn(event) {
    var c = controlOf(event.target);
    if (!c)
      return;
    var from = c.win.current;
    c.win.current = c.id;
    if (from !== c.id)
      call('emberline_focus_moved', [c.win.handle, from, c.id]);
  }

  function onMouseDown(event) {
    if (ended || !(event.target instanceof Element))
      return;
    var target = event.target;
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
      else if (win && idle())
        openMenu(win, index, false);
      return;
    }
    if (target.closest('.menu')) {
      event.preventDefault();
      return;
    }
    closeMenu();
    // Labels, panels, pictures and the page keep the focus where it is;
    // the controls take it.
    if (!target.closest('input, button'))
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
    if (ended || !(event.target instanceof Element))
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

  // Back from a window that has a history entry of its own: its close box.
  function onPopState() {
    if (expectedPops > 0) {
      --expectedPops;
      return;
    }
    windows.forEach(function (win) {
      if (!win.history || win.root.hidden)
        return;
      win.history = false;
      call('emberline_close_requested', [win.handle]);
      // Still open (the event was dropped, or the window stayed): its
      // entry comes back.
      if (windows.has(win.handle) && !win.root.hidden && !win.history) {
        history.pushState({emberlineWindow: win.handle}, '');
        win.history = true;
      }
    });
  }

  document.addEventListener('keydown', onKeyDown, true);
  document.addEventListener('keypress', onKeyPress, true);
  document.addEventListener('input', onInput, true);
  document.addEventListener('focusin', onFocusIn, true);
  document.addEventListener('mousedown', onMouseDown, true);
  document.addEventListener('mouseover', onMouseOver, true);
  document.addEventListener('click', onClick, true);
  window.addEventListener('popstate', onPopState);
  window.addEventListener('blur', closeMenu);

  // The page takes events once the program has started.
  Module['postRun'] = [function () { inFlight = false; }];
  Module['onAbort'] = stop;

  return {
    createWindow: createWindow,
    showWindow: showWindow,
    hideWindow: hideWindow,
    destroyWindow: destroyWindow,
    focusedControl: focusedControl,
    focusControl: focusControl,
    boxText: boxText,
    writeBox: writeBox,
    writeLabel: writeLabel,
    messageBox: messageBox,
    end: end,
    // Read-only, for tests and the benchmark: no call in flight and no box
    // open; the control of a window (by name) that has or last had the
    // focus.
    idle: idle,
    focusOf: function (name) {
      var found = '';
      windows.forEach(function (win) {
        var c = win.design.name === name && controlOf(win.byId.get(win.current));
        if (c)
          found = c.name;
      });
      return found;
    },
  };
})();
