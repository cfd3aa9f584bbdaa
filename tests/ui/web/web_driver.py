"""The site in headless Chromium, driven as a user drives it.

A server on 127.0.0.1 (a free port, stopped at will), Debian's Chromium
through Debian's chromedriver with a profile of its own, and trusted input:
keys and clicks go in through the DevTools protocol (Input.dispatchKeyEvent,
Input.dispatchMouseEvent), so the page sees them as a keyboard and a mouse
give them (isTrusted), with the browser's own default actions. No display,
no network.
"""

import functools
import http.server
import os
import shutil
import socketserver
import tempfile
import threading
import time

from selenium import webdriver
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


# Key names as the protocol wants them: key, code, Windows virtual key.
_NAMED_KEYS = {
    'enter': ('Enter', 'Enter', 13, '\r'),
    'space': (' ', 'Space', 32, ' '),
    'escape': ('Escape', 'Escape', 27, ''),
    'tab': ('Tab', 'Tab', 9, ''),
    'home': ('Home', 'Home', 36, ''),
    'end': ('End', 'End', 35, ''),
    'delete': ('Delete', 'Delete', 46, ''),
    'backspace': ('Backspace', 'Backspace', 8, ''),
    'down': ('ArrowDown', 'ArrowDown', 40, ''),
}
ALT, CTRL, SHIFT = 1, 2, 8


class Browser:
    """Headless Chromium with a fresh profile, and the page's input."""

    def __init__(self, width=800, height=600):
        self._profile = tempfile.mkdtemp(prefix='emberline-chromium-')
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                     '--disable-background-networking', '--disable-component-update', '--disable-sync',
                     '--disable-extensions', '--disable-default-apps', '--user-data-dir=' + self._profile,
                     '--window-size=%d,%d' % (width, height)):
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
        self.driver.set_script_timeout(10)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self._profile, ignore_errors=True)

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def js(self, expression, *args):
        return self.driver.execute_script('return (' + expression + ');', *args)

    # Keyboard.

    def key(self, name, modifiers=0):
        """A named key ('enter', 'tab', ...) or a letter, with modifiers."""
        if name in _NAMED_KEYS:
            key, code, vk, text = _NAMED_KEYS[name]
        else:
            key, code, vk, text = name.lower(), 'Key' + name.upper(), ord(name.upper()), name.lower()
        if modifiers & (ALT | CTRL):
            text = ''  # such a combination types nothing
        elif modifiers & SHIFT and key.isalpha() and len(key) == 1:
            key = text = key.upper()
        down = {'type': 'keyDown' if text else 'rawKeyDown', 'key': key, 'code': code,
                'windowsVirtualKeyCode': vk, 'nativeVirtualKeyCode': vk, 'modifiers': modifiers}
        if text:
            down['text'] = down['unmodifiedText'] = text
        self.cdp('Input.dispatchKeyEvent', **down)
        self.cdp('Input.dispatchKeyEvent', type='keyUp', key=key, code=code, windowsVirtualKeyCode=vk,
                 nativeVirtualKeyCode=vk, modifiers=modifiers)

    def type_text(self, text):
        """Characters as typed on a keyboard, one key each."""
        for c in text:
            code = ('Key' + c.upper()) if c.isascii() and c.isalpha() else ('Digit' + c if c.isdigit() else '')
            vk = ord(c.upper()) if c.isascii() and c.isalnum() else 0
            self.cdp('Input.dispatchKeyEvent', type='keyDown', key=c, code=code, text=c, unmodifiedText=c,
                     windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk)
            self.cdp('Input.dispatchKeyEvent', type='keyUp', key=c, code=code, windowsVirtualKeyCode=vk,
                     nativeVirtualKeyCode=vk)

    # Mouse.

    def click_at(self, x, y):
        self.cdp('Input.dispatchMouseEvent', type='mouseMoved', x=x, y=y)
        self.cdp('Input.dispatchMouseEvent', type='mousePressed', x=x, y=y, button='left', buttons=1, clickCount=1)
        self.cdp('Input.dispatchMouseEvent', type='mouseReleased', x=x, y=y, button='left', buttons=0, clickCount=1)

    def click(self, element_id):
        """A click in the middle of an element (found by id)."""
        box = self.js('(function (e) { var r = e.getBoundingClientRect(); '
                      'return [r.left + r.width / 2, r.top + r.height / 2]; })(document.getElementById(arguments[0]))',
                      element_id)
        self.click_at(box[0], box[1])

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
