"""The site in a browser, driven as a user drives it.

A server on 127.0.0.1 (a free port, stopped at will), and an engine: what a
test does to the page in any browser (Engine), with headless Chromium here
(Browser) and the other engines in engines.py. Chromium runs through
Debian's chromedriver with a profile of its own, and its input is trusted:
keys and clicks go in through the DevTools protocol (Input.dispatchKeyEvent,
Input.dispatchMouseEvent), so the page sees them as a keyboard and a mouse
give them (isTrusted), with the browser's own default actions; each call
returns once the page has handled the event. No display, no network.
"""

import collections
import functools
import http.server
import os
import shutil
import socketserver
import tempfile
import threading
import time

from selenium import webdriver
from selenium.common.exceptions import NoSuchWindowException
from selenium.webdriver.chrome.service import Service

CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'


class SiteServer:
    """A static server for a folder, as any web server would serve it."""

    def __init__(self, folder):
        handler = functools.partial(_QuietHandler, directory=folder)
        self._server = _Server(('127.0.0.1', 0), handler)
        self._server.daemon_threads = True
        self.port = self._server.server_address[1]
        self.url = 'http://127.0.0.1:%d/' % self.port
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()

    def stop(self):
        """Gone: from now on a connection is refused."""
        if self._server:
            self._server.shutdown()
            self._server.server_close()
            self._server = None


class _Server(socketserver.ThreadingTCPServer):
    def handle_error(self, request, client_address):
        pass  # a request the browser gave up (a page left while loading)


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{'.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json',
                             '.woff2': 'font/woff2', '.js': 'text/javascript'})

    def log_message(self, *args):
        pass


# The named keys, in each engine's terms: the DevTools protocol's key,
# code, Windows virtual key and the text the key types; WebDriver's key
# value; X's keysym.
Key = collections.namedtuple('Key', 'key code vk text w3c x')
KEYS = {
    'enter': Key('Enter', 'Enter', 13, '\r', '\ue007', 'Return'),
    'space': Key(' ', 'Space', 32, ' ', ' ', 'space'),
    'escape': Key('Escape', 'Escape', 27, '', '\ue00c', 'Escape'),
    'tab': Key('Tab', 'Tab', 9, '', '\ue004', 'Tab'),
    'home': Key('Home', 'Home', 36, '', '\ue011', 'Home'),
    'end': Key('End', 'End', 35, '', '\ue010', 'End'),
    'delete': Key('Delete', 'Delete', 46, '', '\ue017', 'Delete'),
    'backspace': Key('Backspace', 'Backspace', 8, '', '\ue003', 'BackSpace'),
    'down': Key('ArrowDown', 'ArrowDown', 40, '', '\ue015', 'Down'),
}
ALT, CTRL, SHIFT = 1, 2, 8
# The modifier keys, as WebDriver and X name them, in the order pressed.
Modifier = collections.namedtuple('Modifier', 'flag w3c x')
MODIFIERS = (Modifier(CTRL, '\ue009', 'ctrl'), Modifier(ALT, '\ue00a', 'alt'), Modifier(SHIFT, '\ue008', 'shift'))


def held(modifiers):
    """The modifier keys a combination holds."""
    return [m for m in MODIFIERS if modifiers & m.flag]


CENTRE = ("(function (e) { var r = e.getBoundingClientRect(); "
          "return [r.left + r.width / 2, r.top + r.height / 2]; })(document.getElementById(arguments[0]))")


class Engine:
    """What a test does to the page, the same in every browser.

    load(url) opens a fresh document and returns after its load event;
    js(expression, *args) evaluates an expression (the arguments are
    arguments[0], ...) and returns its value as JSON gives it; key(name,
    modifiers), type_text(text) and click_at(x, y) are trusted input that
    returns once the page has handled it (click_at(x, y, 2) is the second
    click of a double click), click(id) clicks an element's middle;
    paste(text) puts the text on the clipboard (write_clipboard) and presses
    Ctrl+V, the browser's own paste; back() is the browser's Back button;
    close_window() closes the page's tab or window (another takes its place)
    and says whether it went;
    window_closed() says whether the page has closed its own (the next load
    opens another); add_preload(source) runs a script before the page's own
    in every new document; problems() empties and returns the console's
    errors and warnings (and uncaught errors) from the page since the last
    call; quit() ends the browser.
    """

    def click(self, element_id):
        """A click in the middle of an element (found by id)."""
        x, y = self.js(CENTRE, element_id)
        self.click_at(x, y)

    def paste(self, text):
        self.write_clipboard(text)
        self.key('v', CTRL)


# The text on the clipboard through the page's Clipboard API, for a driver
# that may run it asynchronously; it answers '' or what went wrong.
CLIPBOARD_WRITE = ("var done = arguments[arguments.length - 1]; "
                   "navigator.clipboard.writeText(arguments[0]).then(function () { done(''); }, "
                   "function (e) { done(String(e)); });")


class SeleniumWindows:
    """The page through WebDriver's classic commands: scripts, loads, the
    clipboard, and the shown tab's end, where a spare tab (or window, SPARE)
    is opened first, as the last one closing would end the browser."""

    SPARE = 'tab'

    def _use_tab(self, handle):
        self.driver.switch_to.window(handle)

    def js(self, expression, *args):
        return self.driver.execute_script('return (' + expression + ');', *args)

    def load(self, url):
        if self.window_closed():
            self._use_tab(self.driver.window_handles[0])
        self.driver.get(url)

    def write_clipboard(self, text):
        problem = self.driver.execute_async_script(CLIPBOARD_WRITE, text)
        if problem:
            raise AssertionError('the clipboard refused the text: ' + problem)

    def close_window(self):
        driver = self.driver
        closing = driver.current_window_handle
        driver.switch_to.new_window(self.SPARE)
        spare = driver.current_window_handle
        driver.switch_to.window(closing)
        driver.close()
        self._use_tab(spare)
        return closing not in driver.window_handles

    def window_closed(self):
        try:
            return self.driver.current_window_handle not in self.driver.window_handles
        except NoSuchWindowException:
            return True


class Browser(SeleniumWindows, Engine):
    """Headless Chromium with a fresh profile, and the page's input."""

    HEADLESS = True

    def __init__(self, width=800, height=600, flags=()):
        self._profile = tempfile.mkdtemp(prefix='emberline-chromium-')
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in (('--headless',) if self.HEADLESS else ()) + (
                '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                '--disable-background-networking', '--disable-component-update', '--disable-sync',
                '--disable-extensions', '--disable-default-apps', '--user-data-dir=' + self._profile,
                '--window-size=%d,%d' % (width, height)) + tuple(flags):
            options.add_argument(flag)
        # The page's console, read by problems().
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        try:
            self.driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
        except BaseException:
            shutil.rmtree(self._profile, ignore_errors=True)
            raise
        self.driver.set_script_timeout(10)
        self._preloads = []

    def quit(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self._profile, ignore_errors=True)

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def _use_tab(self, handle):
        # The scripts before the page's are each tab's own. The tab is the
        # one shown, with the keyboard: its pages get the focus and focus
        # events.
        self.driver.switch_to.window(handle)
        self.cdp('Page.bringToFront')
        for source in self._preloads:
            self.cdp('Page.addScriptToEvaluateOnNewDocument', source=source)

    def back(self):
        history = self.cdp('Page.getNavigationHistory')
        entry = history['entries'][history['currentIndex'] - 1]
        self.cdp('Page.navigateToHistoryEntry', entryId=entry['id'])

    def add_preload(self, source):
        self._preloads.append(source)
        self.cdp('Page.addScriptToEvaluateOnNewDocument', source=source)

    def problems(self):
        return ['%s: %s' % (entry['level'], entry['message']) for entry in self.driver.get_log('browser')
                if entry['level'] in ('SEVERE', 'WARNING')]

    # Keyboard.

    def key(self, name, modifiers=0):
        """A named key ('enter', 'tab', ...) or a letter, with modifiers."""
        letter = name.lower()
        key, code, vk, text = KEYS[name][:4] if name in KEYS else (letter, 'Key' + name.upper(), ord(name.upper()), letter)
        if modifiers & (ALT | CTRL):
            text = ''  # such a combination types nothing
        elif modifiers & SHIFT and key.isalpha() and len(key) == 1:
            key = text = key.upper()
        self._press(key, code, vk, text, modifiers)

    def type_text(self, text):
        """Characters as typed on a keyboard, one key each."""
        for c in text:
            code = ('Key' + c.upper()) if c.isascii() and c.isalpha() else ('Digit' + c if c.isdigit() else '')
            self._press(c, code, ord(c.upper()) if c.isascii() and c.isalnum() else 0, c)

    def _press(self, key, code, vk, text, modifiers=0):
        """A key down and up; `text` is what it types, if anything."""
        event = {'key': key, 'code': code, 'windowsVirtualKeyCode': vk, 'nativeVirtualKeyCode': vk,
                 'modifiers': modifiers}
        typed = {'text': text, 'unmodifiedText': text} if text else {}
        self.cdp('Input.dispatchKeyEvent', type='keyDown' if text else 'rawKeyDown', **event, **typed)
        self.cdp('Input.dispatchKeyEvent', type='keyUp', **event)

    def write_clipboard(self, text):
        """The text on the browser's clipboard, written by the page (the
        permission granted first, to the page's tab), for Ctrl+V to
        paste."""
        self.cdp('Browser.grantPermissions', permissions=['clipboardReadWrite', 'clipboardSanitizedWrite'])
        super().write_clipboard(text)

    # Mouse.

    def click_at(self, x, y, count=1):
        self.cdp('Input.dispatchMouseEvent', type='mouseMoved', x=x, y=y)
        self.cdp('Input.dispatchMouseEvent', type='mousePressed', x=x, y=y, button='left', buttons=1, clickCount=count)
        self.cdp('Input.dispatchMouseEvent', type='mouseReleased', x=x, y=y, button='left', buttons=0,
                 clickCount=count)

    # The accessibility tree.

    def ax_nodes(self):
        return self.cdp('Accessibility.getFullAXTree')['nodes']

    def ax_find(self, role, name):
        """The accessibility nodes with this role and name, as a screen
        reader finds them."""
        found = []
        for node in self.ax_nodes():
            if node.get('ignored'):
                continue
            if _ax_value(node, 'role') == role and _ax_value(node, 'name') == name:
                found.append(node)
        return found


def ax_value(node, field):
    return _ax_value(node, field)


def ax_property(node, name):
    for prop in node.get('properties', []):
        if prop['name'] == name:
            return prop['value'].get('value')
    return None


def _ax_value(node, field):
    value = node.get(field)
    return value.get('value') if isinstance(value, dict) else None


def wait_until(condition, timeout=5.0, interval=0.01):
    """Polls until `condition()` is true; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def site_folder(argument):
    folder = os.path.abspath(argument)
    if not os.path.isfile(os.path.join(folder, 'index.html')):
        raise SystemExit('no site in %s (index.html missing)' % folder)
    return folder
