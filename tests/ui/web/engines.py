"""The browser engines a test can drive the site in, behind web_driver.Engine.

  chromium    headless Chromium through chromedriver, input through the
              DevTools protocol (web_driver.Browser);
  firefox     Debian's firefox-esr, headless, over WebDriver BiDi spoken
              here over a websocket (Debian has no geckodriver);
  webkit      WebKitGTK's MiniBrowser through WebKitWebDriver, on an X
              display;
  chromium-x  a Chromium window on an X display: keys and clicks come from
              the X server (xdotool), as a keyboard and a mouse give them,
              through the browser's own input handling; the page is read
              through chromedriver.

Key and pointer actions of WebDriver (firefox, webkit) and X input
(chromium-x) are trusted input, but nothing says when the page has handled
them. A script in the page counts the trusted key and button releases it
gets (INPUT_COUNTER), and each input waits until the count has caught up
with what was sent: the events before a release are handled before it.

A paste is the browser's own: the page's Clipboard API puts the text on the
browser's clipboard (in Chromium's window, the X server's), as the driver
allows it in each engine, then Ctrl+V pastes it.

An X display is the one in DISPLAY, or an Xvfb started here.
"""

import ctypes
import json
import os
import shutil
import subprocess
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder

from web_driver import KEYS, Browser, Engine, SeleniumWindows, held, wait_until

FIREFOX = '/usr/bin/firefox-esr'
WEBKIT_DRIVER = '/usr/bin/WebKitWebDriver'
MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
XVFB = '/usr/bin/Xvfb'
XDOTOOL = '/usr/bin/xdotool'

# Counts the trusted releases of a key (not a modifier) and of the main
# mouse button, in the capture phase of the window: before any of the
# page's listeners. It also keeps where the page's viewport lies on the
# screen, as any trusted mouse event tells.
INPUT_COUNTER = """(function () {
  if (window.__emberlineInput) return;
  var seen = {count: 0, origin: null};
  Object.defineProperty(window, '__emberlineInput', {value: seen});
  window.addEventListener('keyup', function (e) {
    if (e.isTrusted && !/^(Shift|Control|Alt|Meta|AltGraph)$/.test(e.key)) ++seen.count;
  }, true);
  window.addEventListener('mouseup', function (e) {
    if (e.isTrusted && e.button === 0) ++seen.count;
  }, true);
  function place(e) {
    if (e.isTrusted) seen.origin = [e.screenX - e.clientX, e.screenY - e.clientY];
  }
  ['mousemove', 'mousedown', 'mouseup'].forEach(function (type) { window.addEventListener(type, place, true); });
})();"""

# What Safari (and Firefox on macOS) does with a click on a button: the
# button does not take the focus, and the element that had it loses it.
SAFARI_RULE = """(function () {
  document.addEventListener('mousedown', function (e) {
    if (e.button !== 0 || !(e.target instanceof Element) || !e.target.closest('button')) return;
    e.preventDefault();
    if (document.activeElement && document.activeElement !== document.body) document.activeElement.blur();
  }, true);
})();"""

# The page's console where the engine has no way to hand it over: errors,
# warnings and uncaught errors, kept until read.
CONSOLE_HOOK = """(function () {
  if (window.__emberlineProblems) return;
  var problems = [];
  Object.defineProperty(window, '__emberlineProblems', {value: problems});
  ['error', 'warn'].forEach(function (level) {
    var original = console[level];
    console[level] = function () {
      problems.push(level + ': ' + [].map.call(arguments, String).join(' '));
      return original.apply(console, arguments);
    };
  });
  window.addEventListener('error', function (e) {
    var from = e.target;
    problems.push(from === window ? 'uncaught: ' + e.message : 'failed to load ' + (from.currentSrc || from.src || from.href));
  }, true);
  window.addEventListener('unhandledrejection', function (e) { problems.push('unhandled rejection: ' + e.reason); });
})();"""

INPUT_COUNT = "window.__emberlineInput ? window.__emberlineInput.count : -1"

# The document is on the screen: a frame with its content has been
# presented. A Chromium window throws away (does not queue) the keys and
# clicks that come for a newly loaded document before then, while it still
# shows the page before; on a busy machine the page's scripts can be ready
# for input well before that frame is drawn.
PRESENTED = "performance.getEntriesByName('first-contentful-paint').length > 0"

class _CountedInput:
    """Input that waits until the page's INPUT_COUNTER has seen it: an
    engine's _key(name, modifiers), _type(text) and _click(x, y, count) (at
    a whole pixel of the viewport) send it, and return at once."""

    _sent = 0

    def key(self, name, modifiers=0):
        self._send(lambda: self._key(name, modifiers), 1)

    def type_text(self, text):
        self._send(lambda: self._type(text), len(text))

    def click_at(self, x, y, count=1):
        self._send(lambda: self._click(int(round(x)), int(round(y)), count), 1)

    def _fresh_document(self):
        self._sent = 0

    def _send(self, send, releases):
        """send() puts in input that ends in that many releases; returns
        once the page has had them, or has closed its tab on them."""
        self._sent += releases
        try:
            send()
            if not wait_until(lambda: self.js(INPUT_COUNT) >= self._sent, timeout=10):
                raise AssertionError('the page got %s of %d key or button releases'
                                     % (self.js(INPUT_COUNT), self._sent))
        except Exception:
            if not self.window_closed():
                raise


class _W3CInput(_CountedInput):
    """Key and pointer actions of WebDriver: _keys(actions) sends key
    actions, [('keyDown' or 'keyUp', key), ...]; _click(x, y, count) a press
    and release of the main button at a place in the viewport, the second
    click of a double click when count is 2."""

    def _key(self, name, modifiers):
        value = KEYS[name].w3c if name in KEYS else name
        modifier_keys = [m.w3c for m in held(modifiers)]
        self._keys([('keyDown', k) for k in modifier_keys] + [('keyDown', value), ('keyUp', value)] +
                   [('keyUp', k) for k in reversed(modifier_keys)])

    def _type(self, text):
        self._keys([(kind, c) for c in text for kind in ('keyDown', 'keyUp')])


def open_engine(name):
    """A browser of that engine, ready to load pages."""
    return ENGINES[name]()


# An X display.

class _Display:
    """The display in DISPLAY, or an Xvfb of this process's own."""

    _server = None

    @classmethod
    def ensure(cls):
        if os.environ.get('DISPLAY'):
            return
        read, write = os.pipe()
        cls._server = subprocess.Popen([XVFB, '-displayfd', str(write), '-screen', '0', '1280x1024x24',
                                        '-nolisten', 'tcp'], pass_fds=(write,),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()  # written once the server takes clients
        if not number:
            raise RuntimeError('Xvfb did not start')
        os.environ['DISPLAY'] = ':' + number

    @classmethod
    def stop(cls):
        if cls._server:
            cls._server.terminate()
            cls._server.wait()
            cls._server = None
            del os.environ['DISPLAY']


class _XKeymap:
    """Characters the X keyboard lacks (µ, ° on Xvfb's) put on free keys for
    good. xdotool would map such a character for the one key press and
    take it away at once, and Chromium can read the key after that: the
    character is lost."""

    _x11 = None

    @classmethod
    def ensure(cls, text):
        wanted = {_keysym(c) for c in text if not c.isascii()}
        if not wanted:
            return
        x11 = cls._library()
        display = x11.XOpenDisplay(None)
        if not display:
            raise RuntimeError('no X display to map keys on')
        try:
            low, high, per = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
            x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
            count = high.value - low.value + 1
            table = x11.XGetKeyboardMapping(display, low.value, count, ctypes.byref(per))
            keys = [[table[i * per.value + j] for j in range(per.value)] for i in range(count)]
            x11.XFree(table)
            free = [low.value + i for i, syms in enumerate(keys) if not any(syms)]
            for keysym in sorted(wanted - {s for syms in keys for s in syms}):
                if not free:
                    raise RuntimeError('no free key on the X keyboard for keysym 0x%x' % keysym)
                x11.XChangeKeyboardMapping(display, free.pop(0), 1, (ctypes.c_ulong * 1)(keysym), 1)
            x11.XSync(display, False)
        finally:
            x11.XCloseDisplay(display)

    @classmethod
    def _library(cls):
        if cls._x11 is None:
            x11 = ctypes.CDLL('libX11.so.6')
            x11.XOpenDisplay.restype = ctypes.c_void_p
            x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
            x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
            x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
            x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
            x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int)]
            x11.XFree.argtypes = [ctypes.c_void_p]
            x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                   ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
            x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
            cls._x11 = x11
        return cls._x11


def _keysym(c):
    # Latin-1's keysyms are its code points; the rest of Unicode's are
    # offset by 0x1000000.
    code = ord(c)
    return code if 0x20 <= code <= 0x7e or 0xa0 <= code <= 0xff else 0x1000000 + code


# Firefox over WebDriver BiDi.

class BidiError(RuntimeError):
    pass


class _Bidi:
    """A WebDriver BiDi connection: commands one at a time, and the events
    that arrive meanwhile kept by method."""

    def __init__(self, url):
        import websocket  # Debian's python3-websocket
        # No Origin header: Firefox refuses a connection that has one.
        self._socket = websocket.create_connection(url, timeout=30, suppress_origin=True)
        self._next = 0
        self.events = []

    def send(self, method, **params):
        self._next += 1
        self._socket.send(json.dumps({'id': self._next, 'method': method, 'params': params}))
        while True:
            message = json.loads(self._socket.recv())
            if message.get('type') == 'event':
                self.events.append(message)
            elif message.get('id') == self._next:
                if message.get('type') == 'error':
                    raise BidiError('%s: %s %s' % (method, message.get('error'), message.get('message')))
                return message['result']

    def close(self):
        self._socket.close()


def _bidi_value(value):
    """A BiDi remote value as Python."""
    kind = value.get('type')
    if kind in ('undefined', 'null'):
        return None
    if kind == 'array':
        return [_bidi_value(v) for v in value.get('value', [])]
    if kind == 'object':
        return {(k if isinstance(k, str) else _bidi_value(k)): _bidi_value(v) for k, v in value.get('value', [])}
    if kind in ('string', 'number', 'boolean'):
        return value['value']
    return value


def _bidi_argument(value):
    if value is None:
        return {'type': 'null'}
    if isinstance(value, bool):
        return {'type': 'boolean', 'value': value}
    if isinstance(value, (int, float)):
        return {'type': 'number', 'value': value}
    return {'type': 'string', 'value': str(value)}


# Firefox's preferences for a profile that never goes to the network of its
# own accord: no first-run pages, updates, telemetry, remote settings,
# safe browsing or captive portal checks.
FIREFOX_PREFS = {
    'browser.shell.checkDefaultBrowser': False,
    'browser.startup.page': 0,
    'browser.startup.homepage': 'about:blank',
    'browser.startup.homepage_override.mstone': 'ignore',
    'startup.homepage_welcome_url': 'about:blank',
    'startup.homepage_welcome_url.additional': '',
    'browser.aboutwelcome.enabled': False,
    'browser.newtabpage.enabled': False,
    'browser.tabs.warnOnClose': False,
    'browser.tabs.closeWindowWithLastTab': False,
    'browser.sessionstore.resume_from_crash': False,
    'app.update.auto': False,
    'app.update.checkInstallTime': False,
    'app.update.disabledForTesting': True,
    'app.normandy.enabled': False,
    'extensions.update.enabled': False,
    'extensions.getAddons.cache.enabled': False,
    'datareporting.policy.dataSubmissionEnabled': False,
    'datareporting.healthreport.uploadEnabled': False,
    'toolkit.telemetry.enabled': False,
    'toolkit.telemetry.unified': False,
    'toolkit.telemetry.server': '',
    'services.settings.server': 'http://127.0.0.1:9/',
    'messaging-system.rsexperimentloader.enabled': False,
    'browser.safebrowsing.malware.enabled': False,
    'browser.safebrowsing.phishing.enabled': False,
    'browser.safebrowsing.downloads.enabled': False,
    'browser.safebrowsing.blockedURIs.enabled': False,
    'browser.region.network.url': '',
    'browser.search.geoip.url': '',
    'network.captive-portal-service.enabled': False,
    'network.connectivity-service.enabled': False,
    'network.dns.disablePrefetch': True,
    'network.prefetch-next': False,
    'network.http.speculative-parallel-limit': 0,
    'media.gmp-manager.updateEnabled': False,
    'identity.fxaccounts.enabled': False,
    'toolkit.startup.max_resumed_crashes': -1,
    # A headless window never has the system's focus: focus and blur
    # events fire as if it had.
    'focusmanager.testmode': True,
}


class Firefox(_W3CInput, Engine):
    """Headless firefox-esr with a fresh profile, over WebDriver BiDi."""

    def __init__(self, width=800, height=600):
        self._profile = tempfile.mkdtemp(prefix='emberline-firefox-')
        self._process = None
        self._bidi = None
        try:
            self._start(width, height)
        except BaseException:
            self.quit()
            raise

    def _start(self, width, height):
        self._width, self._height = width, height
        if not os.access(FIREFOX, os.X_OK):
            raise RuntimeError(FIREFOX + ' is missing (apt-get install firefox-esr)')
        with open(os.path.join(self._profile, 'user.js'), 'w') as prefs:
            for name, value in FIREFOX_PREFS.items():
                prefs.write('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value)))
        env = dict(os.environ, MOZ_CRASHREPORTER_DISABLE='1', MOZ_HEADLESS='1')
        self._process = subprocess.Popen(
            [FIREFOX, '--headless', '--no-remote', '--profile', self._profile, '--remote-debugging-port', '0',
             'about:blank'],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
            encoding='utf-8', errors='replace', env=env)
        # Firefox says on stderr where it listens; the rest of what it
        # writes there is read and dropped, so that it never blocks.
        found = {}

        def read_stderr():
            for line in self._process.stderr:
                if 'WebDriver BiDi listening on ' in line and 'url' not in found:
                    found['url'] = line.split('listening on ', 1)[1].strip()
        threading.Thread(target=read_stderr, daemon=True).start()
        if not wait_until(lambda: 'url' in found or self._process.poll() is not None, timeout=60) \
                or 'url' not in found:
            raise RuntimeError('firefox-esr did not start its WebDriver BiDi server')
        self._bidi = _Bidi(found['url'] + '/session')
        self._bidi.send('session.new', capabilities={})
        self._bidi.send('session.subscribe', events=['log.entryAdded'])
        # The tab Firefox starts with never gets the focus, a tab opened
        # through the session does. The first stays in the background: a
        # page that closes its own tab in ending (where Firefox lets it)
        # never closes the last one, which would end Firefox.
        self._new_tab()
        self.add_preload(INPUT_COUNTER)

    def _contexts(self):
        return [c['context'] for c in self._bidi.send('browsingContext.getTree')['contexts']]

    def _new_tab(self):
        self._context = self._bidi.send('browsingContext.create', type='tab')['context']
        self._activate()

    def _activate(self):
        # A tab the user is in: its document has the focus, and focus
        # events fire.
        self._bidi.send('browsingContext.activate', context=self._context)
        self._bidi.send('browsingContext.setViewport', context=self._context,
                        viewport={'width': self._width, 'height': self._height})

    def quit(self):
        try:
            if self._bidi:
                try:
                    self._bidi.send('browser.close')
                except Exception:
                    pass  # the connection goes with the browser
                self._bidi.close()
            if self._process:
                try:
                    self._process.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    self._process.kill()
                    self._process.wait()
        finally:
            shutil.rmtree(self._profile, ignore_errors=True)

    def load(self, url):
        if self.window_closed():
            self._new_tab()
        self._bidi.send('browsingContext.navigate', context=self._context, url=url, wait='complete')
        self._fresh_document()

    def js(self, expression, *args):
        result = self._bidi.send('script.callFunction', functionDeclaration='function () { return (%s); }' % expression,
                                 target={'context': self._context}, awaitPromise=False,
                                 arguments=[_bidi_argument(a) for a in args],
                                 serializationOptions={'maxObjectDepth': 20}, resultOwnership='none')
        if result['type'] == 'exception':
            raise BidiError('script: ' + result['exceptionDetails']['text'])
        return _bidi_value(result['result'])

    def _keys(self, keys):
        self._bidi.send('input.performActions', context=self._context, actions=[
            {'type': 'key', 'id': 'keyboard', 'actions': [{'type': kind, 'value': k} for kind, k in keys]}])

    def _click(self, x, y, count):
        # Firefox counts a click where the last one was, soon after it, as
        # its second, unless the pointer moved in between (even to where
        # it is).
        move = [{'type': 'pointerMove', 'x': x, 'y': y, 'origin': 'viewport'}] if count == 1 else []
        self._bidi.send('input.performActions', context=self._context, actions=[
            {'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'}, 'actions': move + [
                {'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0}]}])

    def back(self):
        self._bidi.send('browsingContext.traverseHistory', context=self._context, delta=-1)

    def write_clipboard(self, text):
        # The page may write the clipboard in a user's gesture: the call
        # counts as one.
        result = self._bidi.send(
            'script.callFunction', target={'context': self._context}, awaitPromise=True, userActivation=True,
            functionDeclaration='function (text) { return navigator.clipboard.writeText(text).then('
                                'function () { return ""; }, function (e) { return String(e); }); }',
            arguments=[_bidi_argument(text)], resultOwnership='none')
        problem = result['type'] == 'exception' or _bidi_value(result['result'])
        if problem:
            raise AssertionError('the clipboard refused the text: %s' % result)

    def close_window(self):
        closing = self._context
        self._bidi.send('browsingContext.close', context=closing)
        closed = closing not in self._contexts()
        self._new_tab()
        return closed

    def window_closed(self):
        return self._context not in self._contexts()

    def add_preload(self, source):
        self._bidi.send('script.addPreloadScript', functionDeclaration='() => { %s }' % source)

    def problems(self):
        # A round trip through the page: what it said before has arrived.
        if not self.window_closed():
            self.js('0')
        found = []
        for event in self._bidi.events:
            entry = event['params']
            if event['method'] == 'log.entryAdded' and entry.get('level') in ('error', 'warn'):
                found.append('%s: %s' % (entry['level'], entry.get('text')))
        self._bidi.events.clear()
        return found


# WebKitGTK.

class WebKit(_W3CInput, SeleniumWindows, Engine):
    """WebKitGTK's MiniBrowser through WebKitWebDriver, on an X display.

    The driver has no console log and no script before the page's own:
    the console is read from CONSOLE_HOOK, put in after each load, which
    sees what the page says from then on."""

    SPARE = 'window'

    def __init__(self, width=800, height=600):
        for program in (WEBKIT_DRIVER, MINIBROWSER):
            if not os.access(program, os.X_OK):
                raise RuntimeError(program + ' is missing (apt-get install webkit2gtk-driver)')
        _Display.ensure()
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument('--automation')
        # The page may write the clipboard without a gesture (paste()).
        options.add_argument('--javascript-can-access-clipboard=true')
        self.driver = webdriver.WebKitGTK(executable_path=WEBKIT_DRIVER, options=options)
        self.driver.set_script_timeout(10)
        self.driver.set_window_rect(0, 0, width, height)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            _Display.stop()

    def load(self, url):
        super().load(url)
        self.driver.execute_script(INPUT_COUNTER + CONSOLE_HOOK)
        self._fresh_document()

    def _keys(self, keys):
        chain = ActionChains(self.driver)
        for kind, k in keys:
            (chain.key_down if kind == 'keyDown' else chain.key_up)(k)
        chain.perform()

    def _click(self, x, y, count):
        # Pointer actions at a place, not an element click: the driver
        # refuses to click an element under a modal dialog. WebKitGTK
        # counts the clicks of a double click from their timing and place.
        actions = ActionBuilder(self.driver, duration=0)
        actions.pointer_action.move_to_location(x, y).pointer_down().pointer_up()
        actions.perform()

    def back(self):
        self.driver.back()

    def add_preload(self, source):
        raise NotImplementedError("WebKitWebDriver runs no script before the page's own")

    def problems(self):
        return self.js('window.__emberlineProblems ? window.__emberlineProblems.splice(0) : []')


# Chromium on an X display, with X input.

class ChromiumX(_CountedInput, Browser):
    """A Chromium window at the top left of an X display, its keys and
    clicks sent to the X server by xdotool (XTEST): they reach the page
    through the window system and the browser's own input handling, as a
    keyboard's and a mouse's do. The page is read through chromedriver."""

    HEADLESS = False

    def __init__(self, width=800, height=600):
        if not os.access(XDOTOOL, os.X_OK):
            raise RuntimeError(XDOTOOL + ' is missing (apt-get install xdotool)')
        _Display.ensure()
        try:
            super().__init__(width, height, flags=('--window-position=0,0',))
        except BaseException:
            _Display.stop()
            raise
        self.add_preload(INPUT_COUNTER)
        self._origin = None

    def quit(self):
        try:
            super().quit()
        finally:
            _Display.stop()

    def load(self, url):
        super().load(url)
        self._fresh_document()
        if not wait_until(lambda: self.js(PRESENTED), timeout=10):
            raise AssertionError('the Chromium window never showed the page')
        if not self.js('document.hasFocus()'):
            raise AssertionError('the Chromium window does not have the keyboard')
        self._origin = None

    @staticmethod
    def _xdotool(*args):
        subprocess.run((XDOTOOL,) + args, check=True, stdin=subprocess.DEVNULL)

    def _key(self, name, modifiers):
        keysym = '+'.join([m.x for m in held(modifiers)] + [KEYS[name].x if name in KEYS else name])
        self._xdotool('key', '--delay', '0', keysym)

    def _type(self, text):
        _XKeymap.ensure(text)
        self._xdotool('type', '--delay', '0', '--', text)

    def _viewport_origin(self):
        """Where the page's viewport lies on the screen, from a trusted
        mouse move into the window (the toolbars above it vary)."""
        if self._origin is None:
            x, y = self.js('[screenX + outerWidth / 2, screenY + outerHeight - 10].map(Math.round)')
            self._move_pointer([str(x), str(y)])
            self._move_pointer([str(x + 1), str(y)])
            self._origin = wait_until(lambda: self.js('window.__emberlineInput.origin'), timeout=10)
            if not self._origin:
                raise AssertionError('the page saw no mouse move')
        return self._origin

    def _click(self, x, y, count):
        # Chromium counts the clicks of a double click from their X timing
        # and place.
        left, top = self._viewport_origin()
        self._move_pointer([str(int(round(left + x))), str(int(round(top + y)))])
        self._xdotool('click', '1')

    _pointer = None  # where the pointer was last moved to

    def _move_pointer(self, place):
        # A move waited for (--sync) to where the pointer already is would
        # wait for a motion that never comes, until xdotool gives up.
        if place != self._pointer:
            self._xdotool('mousemove', '--sync', *place)
            self._pointer = place


ENGINES = {'chromium': Browser, 'firefox': Firefox, 'webkit': WebKit, 'chromium-x': ChromiumX}
