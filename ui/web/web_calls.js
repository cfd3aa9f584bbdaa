// One call into the module at a time, the message box and the end. A call
// that opens a message box stays in flight (the module waits unwound) until
// the box is closed, and an event that arrives while a call is in flight is
// dropped, never queued: calling the module then would run on its unwound
// state. The focus moves that the call itself causes (the program's own,
// the box taking the focus and giving it back) arrive that way too, and the
// module reports the program's moves itself.
var EmberlineCalls = (function () {
  'use strict';

  var element = EmberlineWindows.element;
  var inFlight = true; // until the module has started the program
  var boxOpen = false;
  var ended = false;
  var box = null; // the message box's elements

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
    return {dialog: dialog, form: form, title: title, text: text, ok: ok};
  }

  function showEnded(message, title) {
    document.title = title;
    document.body.textContent = '';
    var page = element('main', 'ended', document.body);
    element('h1', 'ended-message', page).textContent = message;
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
    if (box && box.dialog.open)
      box.dialog.close();
    console.error(error);
    showEnded('Emberline stopped after an internal error.', 'Emberline');
  }

  // The page takes events once the program has started.
  Module['postRun'] = [function () { inFlight = false; }];
  Module['onAbort'] = stop;

  return {
    // Calls into the module.

    call: function (name, args) {
      // Dropped in flight: an access key's click after its focus move opened a box.
      if (ended || inFlight)
        return;
      inFlight = true;
      try {
        Module['_' + name].apply(null, args);
      } catch (error) {
        stop(error);
        return;
      }
      if (Asyncify.currData)
        Asyncify.whenDone().then(function () { inFlight = false; }, stop);
      else
        inFlight = false;
    },

    idle: function () {
      return !ended && !inFlight && !boxOpen;
    },

    // Whether the program is over (ended or stopped): the page then takes
    // no more events.
    over: function () {
      return ended;
    },

    // The message box's elements, once it has been shown.
    box: function () {
      return box;
    },

    messageBox: function (prompt, title) {
      if (!box)
        box = makeBox();
      EmberlineMenus.close();
      box.title.textContent = title;
      box.text.textContent = prompt;
      boxOpen = true;
      return new Promise(function (resolve) {
        // Closed at once, in the event that closes it: the dialog's own
        // 'close' event comes a frame later, and the page would take keys
        // and clicks in between that the program never hears. The focus
        // the dialog gives back on closing is its own move, dropped while
        // the box still counts as open.
        function finish(event) {
          if (event)
            event.preventDefault();
          box.form.removeEventListener('submit', finish);
          box.dialog.removeEventListener('cancel', finish);
          if (box.dialog.open)
            box.dialog.close();
          // The focus is back where it was: a box has its selection back.
          EmberlineWindows.restoreSelection(document.activeElement);
          boxOpen = false;
          resolve();
        }
        box.form.addEventListener('submit', finish);
        box.dialog.addEventListener('cancel', finish);
        try {
          box.dialog.showModal();
          box.ok.focus();
        } catch (error) {
          console.error(error);
          finish(null);
        }
      });
    },

    // The end of the program: the window closes where the browser lets a
    // script close it (an app window, a tab a script opened); otherwise
    // every window goes and the page says so.
    end: function (title) {
      if (ended)
        return;
      ended = true;
      EmberlineMenus.close();
      EmberlineWindows.windows.forEach(function (win) { win.root.remove(); });
      EmberlineWindows.windows.clear();
      // Only where the browser would do it: asked elsewhere, it declines
      // with a warning on the console.
      var closable = window.opener || history.length <= 1 ||
        matchMedia('(display-mode: standalone), (display-mode: minimal-ui)').matches;
      if (closable)
        window.close();
      showEnded(title + ' has ended.', title);
    },
  };
})();
