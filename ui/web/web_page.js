// The page's side of the controls and the windows: what is changed and
// focused in the controls goes to the module as it happens, and the module
// shows and hides the windows here. A move of the focus is reported from
// the control that last had it in that window to the one that has it now,
// as a window system reports it: the menus, the page and other windows
// never hold a window's focus. A window shown after the first gets a
// history entry of its own, and the browser's Back is its close box; not
// in an app's own window, which has no Back button and could not be closed
// by Exit.
var EmberlinePage = (function () {
  'use strict';

  var call = EmberlineCalls.call;
  var controlOf = EmberlineWindows.controlOf;
  var windows = EmberlineWindows.windows;
  var firstWindow = 0; // the window the page's history starts on
  var expectedPops = 0; // history steps back taken by the page itself
  // An app's own window has no Back button, and a script may close it only
  // while its history holds one entry: its windows add none.
  var appWindow = matchMedia('(display-mode: standalone), (display-mode: minimal-ui)').matches;
  // An entry left by a window of an earlier run of the page (reloaded while
  // it was shown) belongs to nothing now.
  if (history.state && history.state.emberlineWindow)
    history.replaceState(null, '');

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

  // A window wider than the page (a phone) is scaled down to fit it,
  // whole; on a wide enough page it keeps its size.
  function fitWindows() {
    var width = document.documentElement.clientWidth;
    windows.forEach(function (win) {
      win.root.style.setProperty('--fit', String(EmberlineWindows.fitScale(width, win.design.width)));
    });
  }

  function hideWindow(handle) {
    var win = windows.get(handle);
    if (!win)
      return;
    EmberlineMenus.hide(win);
    win.root.hidden = true;
    dropHistory(win);
  }

  // Events.

  function onInput(event) {
    var c = controlOf(event.target);
    if (c && c.kind === 'textbox')
      call('emberline_text_changed', [c.win.handle, c.id]);
  }

  function onFocusOut(event) {
    EmberlineWindows.leaving(event.target);
  }

  function onFocusIn(event) {
    var c = controlOf(event.target);
    if (!c)
      return;
    var from = c.win.current;
    c.win.current = c.id;
    if (from === c.id)
      return;
    var kept = c.kept;
    call('emberline_focus_moved', [c.win.handle, from, c.id]);
    // The program refused the focus (the box left was not valid): the box
    // keeps the selection it had, not the caret a click put in it on the
    // way (Firefox places it before the focus event).
    if (c.kind === 'textbox' && document.activeElement !== event.target)
      c.kept = kept;
  }

  // Back from a window that has a history entry of its own: its close box.
  function onPopState() {
    if (expectedPops > 0) {
      --expectedPops;
      return;
    }
    // Forward onto the entry of a window closed since: it reopens nothing,
    // and the page steps back to where it was, so Forward does nothing.
    var entry = history.state && history.state.emberlineWindow;
    var owner = entry && windows.get(entry);
    if (entry && !(owner && owner.history && !owner.root.hidden)) {
      ++expectedPops;
      history.back();
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

  document.addEventListener('input', onInput, true);
  document.addEventListener('focusin', onFocusIn, true);
  document.addEventListener('focusout', onFocusOut, true);
  window.addEventListener('popstate', onPopState);
  window.addEventListener('resize', fitWindows);

  return {
    // What the module does to a window.

    showWindow: function (handle) {
      var win = windows.get(handle);
      if (!win)
        return;
      win.root.hidden = false;
      fitWindows();
      if (!firstWindow)
        firstWindow = handle;
      else if (handle !== firstWindow && !win.history && !appWindow) {
        // The entry first, so that the title goes with it and the one
        // before keeps the window's it had.
        history.pushState({emberlineWindow: handle}, '');
        win.history = true;
      }
      document.title = win.design.caption;
      // The page's heading names the window shown, as its title bar would.
      var heading = document.getElementById('caption');
      if (heading)
        heading.textContent = win.design.caption;
    },

    hideWindow: hideWindow,

    destroyWindow: function (handle) {
      var win = windows.get(handle);
      if (!win)
        return;
      hideWindow(handle);
      win.root.remove();
      windows.delete(handle);
    },

    // Read-only, for tests and the benchmark: no call in flight and no box
    // open; the control of a window (by name) that has or last had the
    // focus.
    idle: function () {
      return EmberlineCalls.idle() && EmberlineInput.settled();
    },
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
