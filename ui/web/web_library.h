#pragma once

// The page's side of the browser windows: functions written in JavaScript
// (web_library.js) that build and change the HTML of a window. A window is
// known to the page by a number; its controls by their names in the layout
// table. Texts cross as UTF-16 with their length, names as UTF-8.

extern "C" {

// Builds a window from its design (JSON, see web_design.h), hidden.
void emberline_window_create(int window, const char *design);
// Shows the window (the page takes its caption as title) or hides it.
void emberline_window_show(int window);
void emberline_window_hide(int window);
// Removes the window from the page; it sends nothing more.
void emberline_window_destroy(int window);
// The control of the window that holds the page's focus (a ui::Control
// value, 0 for none), and a move of the focus to one of them.
int emberline_window_focused(int window);
void emberline_window_focus(int window, int control);

// The text of a box, in memory from malloc that the caller frees, and its
// length in code units.
char16_t *emberline_box_text(int window, const char *name, int nameLength, int *length);
// Puts a text into a box; the page reports no change for it.
void emberline_box_write(int window, const char *name, int nameLength, const char16_t *text, int length);
// Selects the whole text of a box.
void emberline_box_select_all(int window, const char *name, int nameLength);
// Shows a label's caption; its line breaks come as line feeds.
void emberline_label_write(int window, const char *name, int nameLength, const char16_t *text, int length);

// A modal message box with one OK button; returns once it is closed. The
// module waits for it unwound (asyncify), and the page sends no event
// meanwhile.
void emberline_message_box(const char16_t *prompt, int promptLength, const char16_t *title, int titleLength);
// The program has ended: the page closes or says so, and sends nothing more.
void emberline_end(const char16_t *title, int titleLength);
}
