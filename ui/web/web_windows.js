// The windows of the page: each built in HTML from the layout table the
// module hands over, and what the module reads and writes in them (a box's
// text, a label's caption, the focus). It holds every window the page has,
// and the keys that any of them binds, which the keyboard (web_input.js)
// takes from the browser.
var EmberlineWindows = (function () {
  'use strict';

  var windows = new Map(); // number -> window
  var shortcutKeys = new Set(); // Ctrl+letter of any window: the browser never gets them

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

  // The element of a window's control, by the window's number and the
  // control's name in the table.
  function controlNamed(handle, name) {
    var win = windows.get(handle);
    return win && win.controls.get(name);
  }

  function controlOf(node) {
    return node && node.emberline ? node.emberline : null;
  }

  // A box keeps its selection while another control, a message box or
  // another window has the focus, and has it back when the program (or a
  // message box closing) returns the focus to it. Browsers lose it on the
  // way: Chromium puts the caret at the start when a click on the message
  // box's OK gives the focus back. So the page holds it: taken as the box
  // loses the focus, set by the program's writes and selections, and put
  // back when the focus returns.
  function keepSelection(node, start, end, direction) {
    var c = controlOf(node);
    if (c && c.kind === 'textbox')
      c.kept = [start, end, direction || 'none'];
  }

  function restoreSelection(node) {
    var c = controlOf(node);
    if (c && c.kept && document.activeElement === node)
      node.setSelectionRange(c.kept[0], c.kept[1], c.kept[2]);
  }

  return {
    windows: windows,
    shortcutKeys: shortcutKeys,
    element: element,
    controlOf: controlOf,
    restoreSelection: restoreSelection,

    // An element losing the focus: if it is a box, it keeps the selection
    // it has.
    leaving: function (node) {
      keepSelection(node, node.selectionStart, node.selectionEnd, node.selectionDirection);
    },

    // The whole text of a box selected, focused or not (Tab, start-up).
    selectAll: function (node) {
      node.setSelectionRange(0, node.value.length, 'forward');
      keepSelection(node, 0, node.value.length, 'forward');
    },

    // The scale of a window on a page narrower than it (a phone), so that
    // the whole window fits the page's width (CSS pixels; the window's in
    // twips): rounded down, so that the scaled width never comes out a
    // fraction over; 1 on a page wide enough. index.html scales its copy
    // of the main window by this too, before it is first drawn.
    fitScale: function (pageWidth, windowWidth) {
      return Math.min(1, Math.floor(pageWidth * 15000 / windowWidth) / 1000);
    },

    // What the module asks of the page's windows.

    createWindow: function (handle, design) {
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
        }
        if (c.kind === 'textbox')
          keepSelection(node, 0, 0); // a caret at the start until it is used
        return node;
      });
      // The elements go in as a reader goes through the window, the order a
      // screen reader follows: in each container row by row (controls side
      // by side on one line, left to right), top to bottom. The first
      // control in the table lies on top.
      var reading = design.controls.map(function (c, i) { return i; });
      reading.sort(function (a, b) {
        var ca = design.controls[a], cb = design.controls[b];
        if (ca.container !== cb.container)
          return ca.container < cb.container ? -1 : 1;
        var oneLine = ca.top < cb.top + cb.height && cb.top < ca.top + ca.height;
        return oneLine ? ca.left - cb.left : ca.top - cb.top;
      });
      reading.forEach(function (i) {
        var container = design.controls[i].container;
        nodes[i].style.zIndex = String(design.controls.length - i);
        (container ? win.controls.get(container) : client).appendChild(nodes[i]);
      });
      windows.set(handle, win);
      // Inside the page's one main landmark, after its heading. The page
      // as served holds an inert copy of the main window, built by this
      // code when the site was built (app/web/prerender.js), so that the
      // window shows before the module has arrived: the window takes its
      // place. The module shows it before it returns to the browser, so no
      // frame is drawn between the two.
      var copy = document.getElementById(design.name);
      if (copy && copy.hasAttribute('inert')) {
        // The copy's pictures have been fetched and decoded: the window
        // takes them as they are.
        win.controls.forEach(function (node, name) {
          var picture = node.tagName === 'IMG' && document.getElementById(node.id);
          if (picture) {
            node.replaceWith(picture);
            win.controls.set(name, picture);
          }
        });
        copy.replaceWith(win.root);
      } else {
        (document.getElementById('windows') || document.body).appendChild(win.root);
      }
    },

    focusedControl: function (handle) {
      var c = controlOf(document.activeElement);
      return c && c.win.handle === handle ? c.id : 0;
    },

    focusControl: function (handle, id) {
      var win = windows.get(handle);
      var node = win && win.byId.get(id);
      if (node && !win.root.hidden && document.activeElement !== node) {
        node.focus();
        restoreSelection(node);
      }
    },

    selectBox: function (handle, name) {
      var node = controlNamed(handle, name);
      if (node)
        this.selectAll(node);
    },

    boxText: function (handle, name) {
      var node = controlNamed(handle, name);
      return node ? node.value : '';
    },

    writeBox: function (handle, name, text) {
      var node = controlNamed(handle, name);
      if (node) {
        // The caret after the new text, as the value's setter leaves it
        // in a focused box, and where an unfocused one has it back.
        node.value = text;
        keepSelection(node, text.length, text.length);
      }
    },

    writeLabel: function (handle, name, text) {
      var node = controlNamed(handle, name);
      if (node)
        node.textContent = text;
    },
  };
})();
