// The functions of web_library.h: the module's calls into the page, with the
// texts taken from and put into the module's memory; each hands its call to
// the page's script that does it.

mergeInto(LibraryManager.library, {
  emberline_window_create: function (window, design) {
    EmberlineWindows.createWindow(window, JSON.parse(UTF8ToString(design)));
  },

  emberline_window_show: function (window) {
    EmberlinePage.showWindow(window);
  },

  emberline_window_hide: function (window) {
    EmberlinePage.hideWindow(window);
  },

  emberline_window_destroy: function (window) {
    EmberlinePage.destroyWindow(window);
  },

  emberline_window_focused: function (window) {
    return EmberlineWindows.focusedControl(window);
  },

  emberline_window_focus: function (window, control) {
    EmberlineWindows.focusControl(window, control);
  },

  emberline_box_text__deps: ['malloc'],
  emberline_box_text: function (window, name, nameLength, length) {
    var text = EmberlineWindows.boxText(window, UTF8ToString(name, nameLength));
    var bytes = (text.length + 1) * 2;
    var copy = _malloc(bytes);
    stringToUTF16(text, copy, bytes);
    HEAP32[length >> 2] = text.length;
    return copy;
  },

  emberline_box_write: function (window, name, nameLength, text, length) {
    EmberlineWindows.writeBox(window, UTF8ToString(name, nameLength), UTF16ToString(text, length * 2));
  },

  emberline_box_select_all: function (window, name, nameLength) {
    EmberlineWindows.selectBox(window, UTF8ToString(name, nameLength));
  },

  emberline_label_write: function (window, name, nameLength, text, length) {
    EmberlineWindows.writeLabel(window, UTF8ToString(name, nameLength), UTF16ToString(text, length * 2));
  },

  // The module waits for the box unwound; it is rewound once the box is
  // closed. Until then the page calls nothing in the module (a call would
  // run on the unwound state).
  emberline_message_box__deps: ['$Asyncify'],
  emberline_message_box: function (prompt, promptLength, title, titleLength) {
    var promptText = UTF16ToString(prompt, promptLength * 2);
    var titleText = UTF16ToString(title, titleLength * 2);
    return Asyncify.handleSleep(function (wakeUp) {
      EmberlineCalls.messageBox(promptText, titleText).then(function () { wakeUp(); });
    });
  },

  emberline_end: function (title, titleLength) {
    EmberlineCalls.end(UTF16ToString(title, titleLength * 2));
  },
});
