#!/usr/bin/python3
"""What only the browser shows: the page as a screen reader finds it, the
windows at another display scale, a message box that nothing gets past, the
site offline, the end of the program, the page on phones and tablets used
by touch, and axe-core's accessibility rules in every state of the page.
One check per run.

usage: tst_web_page.py SITE_DIR accessibility|display|modal|offline|ended|phone|axe
"""

import json
import os
import sys
import time

from selenium.common.exceptions import NoSuchWindowException

from web_driver import ALT, CTRL, SHIFT, Browser, SiteServer, ax_property, ax_value, site_folder, wait_until

READY = ("window.EmberlinePage && EmberlinePage.idle() && "
         "document.activeElement && document.activeElement.id === 'frmMain-txtT'")
BOX_OPEN = "!!document.querySelector('dialog.msgbox[open]')"


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def start(browser, url):
    browser.driver.get(url)
    check(wait_until(lambda: browser.js(READY)), 'the main window is not ready for input')


def calculate(browser, temperature, wavelength):
    """Types both values (from txtT) and presses Enter; the F caption."""
    for text, then in ((temperature, 'tab'), (wavelength, 'enter')):
        browser.key('home')
        browser.key('end', SHIFT)
        browser.type_text(text)
        browser.key(then)
    return browser.js("document.getElementById('frmMain-lblF').textContent")


def text_below(browser, node):
    """The text a screen reader reads inside a node."""
    nodes = {n['nodeId']: n for n in browser.ax_nodes()}
    parts, stack = [], list(node.get('childIds', []))
    while stack:
        child = nodes.get(stack.pop(0))
        if child and ax_value(child, 'role') == 'StaticText':
            parts.append(ax_value(child, 'name'))
        elif child:
            stack[:0] = child.get('childIds', [])
    return ''.join(parts)


def one(browser, role, name):
    found = browser.ax_find(role, name)
    check(len(found) == 1, '%d %s named %r' % (len(found), role, name))
    return found[0]


# The windows' layout tables as the page holds them, by window name.
DESIGNS = "(function () { var d = {}; EmberlineWindows.windows.forEach(function (w) { d[w.design.name] = w.design; });" \
          " return d; })()"
# The results of 5800 K and 1 um, by the label that shows each.
RESULTS = {'lblLT': '5800', 'lblF': '0.7201'}


def design(browser, name):
    found = browser.js(DESIGNS).get(name)
    check(found and found['controls'], 'the page holds no layout of ' + name)
    return found


def places(design):
    """Where the table puts each control in its window's client area, and
    its size, in CSS pixels (twips / 15): name -> [left, top, width,
    height]."""
    controls = {c['name']: c for c in design['controls']}
    found = {}
    for c in design['controls']:
        left, top, inside = c['left'], c['top'], controls.get(c['container'])
        while inside:
            left, top, inside = left + inside['left'], top + inside['top'], controls.get(inside['container'])
        found[c['name']] = [v / 15 for v in (left, top, c['width'], c['height'])]
    return found


def ax_role_name(c):
    """The role and name a screen reader finds a control of the table by: a
    box, a button or a picture by its accessible name, a label the program
    writes (it has no caption of its own) as a status; None for the rest."""
    role = {'textbox': 'textbox', 'button': 'button', 'picture': 'image'}.get(c['kind'])
    if c['kind'] == 'label' and c['text'] == '':
        role = 'status'
    return role and (role, c['accessibleName'] or c['accessibleDescription'] or c['text'])


def access_key(item):
    """The shortcut announced for an access key: the letter shown underlined."""
    return 'Alt+' + item['text'][item['keyAt']].upper()


def reader_finds(browser, design):
    """The controls of the shown window a screen reader finds: each control
    of the table once, by its role and name, and nothing else of those
    roles; a button with its access key. Name -> accessibility node."""
    wanted = {c['name']: ax_role_name(c) for c in design['controls'] if ax_role_name(c)}
    roles = {role for role, _ in wanted.values()}
    found = sorted((ax_value(n, 'role'), ax_value(n, 'name')) for n in browser.ax_nodes()
                   if not n.get('ignored') and ax_value(n, 'role') in roles)
    check(found == sorted(wanted.values()), '%s: the reader finds %s' % (design['name'], found))
    nodes = {name: one(browser, *role_name) for name, role_name in wanted.items()}
    for c in design['controls']:
        if c['kind'] == 'button' and c['key']:
            shortcut = ax_property(nodes[c['name']], 'keyshortcuts')
            check(shortcut == access_key(c), '%s has %s' % (c['name'], shortcut))
    return nodes


def accessibility(browser, url):
    start(browser, url)
    main = design(browser, 'frmMain')
    nodes = reader_finds(browser, main)
    for c in main['controls']:
        if c['kind'] == 'textbox':
            check(ax_value(nodes[c['name']], 'value') == '0', c['name'] + ' holds its text')
    check(calculate(browser, '5800', '1') == '0.7201', 'the calculation ran')
    controls = {c['name']: c for c in main['controls']}
    for name, text in RESULTS.items():
        check(text_below(browser, one(browser, *ax_role_name(controls[name]))) == text, name + ' reads ' + text)
    check(len(browser.ax_find('menubar', '')) == 1, 'one menu bar')
    # Each menu by its access key, and its entries with the shortcut each
    # one shows.
    for m in main['menus']:
        check(ax_property(one(browser, 'menuitem', m['text']), 'keyshortcuts') == access_key(m), m['name'])
        browser.key(m['key'], ALT)
        for line in m['lines']:
            if line['ctrlKey']:
                shortcut = ax_property(one(browser, 'menuitem', line['text']), 'keyshortcuts')
                check(shortcut == line['shortcut'].replace('Ctrl+', 'Control+'), '%s has %s' % (line['name'], shortcut))
        browser.key('escape')
    browser.key('i', CTRL)
    box = one(browser, 'alertdialog', 'Instructions')
    check(ax_property(box, 'modal') is True, 'the message box is modal')
    check(ax_value(box, 'description').startswith('To find the fractional'), 'the box is described by its text')
    reachable = [(ax_value(n, 'role'), ax_value(n, 'name')) for n in browser.ax_nodes()
                 if not n.get('ignored') and ax_value(n, 'role') in ('textbox', 'button')]
    check(reachable == [('button', 'OK')], 'the window is out of reach behind the box: %s' % reachable)
    check(ax_property(one(browser, 'button', 'OK'), 'focused') is True, 'OK has the focus')
    browser.key('enter')
    check(wait_until(lambda: browser.js('EmberlinePage.idle()')), 'Enter closes the box')
    browser.key('h', ALT)
    browser.key('a')
    reader_finds(browser, design(browser, 'frmAbout'))


PICTURES = "[].map.call(document.querySelectorAll('.window:not([hidden]) img'), function (i) {" \
           " var r = i.getBoundingClientRect(); return [i.id, i.currentSrc.split('/').pop(), r.width, r.height," \
           " i.complete]; })"
PLACE = "(function (id) { var c = document.getElementById(id), w = c.closest('.window').querySelector('.client');" \
        " var r = c.getBoundingClientRect(), o = w.getBoundingClientRect();" \
        " return [r.left - o.left, r.top - o.top, r.width, r.height]; })(arguments[0])"


def near(place, wanted):
    """The same place in CSS pixels, to the layout's 1/64 pixel."""
    return all(abs(a - b) <= 1 / 64 for a, b in zip(place, wanted))


def display(browser, url):
    start(browser, url)
    main = design(browser, 'frmMain')
    check(browser.js('document.title') == main['caption'], 'the title is the caption')
    check(browser.js("document.querySelector('link[rel=icon]').href.endsWith('/pyrel.png')"), 'the program icon')
    wanted = places(main)
    pictures = {c['name']: c['picture'] for c in main['controls'] if c['kind'] == 'picture'}
    for scale in (1, 2, 3):
        browser.cdp('Emulation.setDeviceMetricsOverride', width=800, height=600, deviceScaleFactor=scale, mobile=False)
        start(browser, url)
        wait_until(lambda: all(p[4] for p in browser.js(PICTURES)))
        suffix = '' if scale == 1 else '@%dx' % scale
        # Each picture drawn from the file for the display scale, at the
        # size the table gives it.
        shown = browser.js(PICTURES)
        check(sorted(p[0] for p in shown) == sorted('frmMain-' + name for name in pictures), 'the pictures shown')
        for element, name, width, height, _ in shown:
            picture = element.split('-', 1)[1]
            check(name == pictures[picture] + suffix + '.png', 'scale %d shows %s' % (scale, name))
            check(near([width, height], wanted[picture][2:]), '%s is %gx%g CSS pixels' % (name, width, height))
        # Every control where the table puts it.
        for control, place in wanted.items():
            found = browser.js(PLACE, 'frmMain-' + control)
            check(near(found, place), 'scale %d: %s at %s, not %s' % (scale, control, found, place))
    browser.cdp('Emulation.clearDeviceMetricsOverride')
    check(wait_until(lambda: browser.js("document.fonts.status === 'loaded'")), 'the fonts load')
    loaded = browser.js("[].concat.apply([], [...document.fonts].filter(function (f) { return f.status === 'loaded'; })"
                        ".map(function (f) { return [f.family.replace(/\"/g, '') + ' ' + f.weight]; }))")
    for face in ('EB Garamond 700', 'Emberline Sans 400'):
        check(face in loaded, face + ' is loaded: %s' % loaded)
    browser.key('h', ALT)
    browser.key('a')
    check(browser.js('document.title') == design(browser, 'frmAbout')['caption'], 'the About window names the page')
    check(browser.js("document.getElementById('frmAbout-lblTheLabel').textContent.split('\\n').length") == 6,
          'the About text shows six lines')


def modal(browser, url):
    start(browser, url)
    browser.js('window.stillHere = true')
    for opening in (lambda: browser.key('i', CTRL), lambda: (browser.type_text('x'), browser.key('tab'))):
        opening()
        check(browser.js(BOX_OPEN), 'a message box is open')
        # Everything a user might do meanwhile: the program's keys, the
        # browser's (Ctrl+R would reload), Tab, typing, clicks behind.
        for letter, modifiers in (('l', CTRL), ('r', CTRL), ('q', CTRL), ('i', CTRL), ('c', ALT), ('x', ALT),
                                  ('f', ALT), ('tab', 0), ('tab', 0), ('a', 0)):
            browser.key(letter, modifiers)
        for target in ('frmMain-cmdExit', 'frmMain-txtL', 'frmMain-mnuFile'):
            browser.click(target)
        check(browser.js(BOX_OPEN), 'the box is still open')
        check(browser.js("document.activeElement.id") == 'msgbox-ok', 'OK keeps the focus')
        browser.key('escape')
        check(wait_until(lambda: browser.js(READY)), 'Escape closes the box like OK')
    check(browser.js('window.stillHere') is True, 'the page is the same page')
    # The x typed over the 0 selected at start-up.
    check(browser.js("document.getElementById('frmMain-txtT').value") == 'x', 'the text stayed')
    check(calculate(browser, '5800', '1') == '0.7201', 'the program goes on')
    value = "document.getElementById('frmMain-%s').value"
    # A box entered by Tab is typed over.
    browser.key('tab', SHIFT)
    browser.type_text('6000')
    check(browser.js(value % 'txtT') == '6000', 'Shift+Tab selects the box it enters')
    # A text of millions of digits is taken, and refused as beyond the
    # double range, and the program goes on.
    browser.key('tab', SHIFT)
    browser.cdp('Input.insertText', text='9' * 4000000)
    browser.key('tab')
    check(wait_until(lambda: browser.js(BOX_OPEN)), 'a huge number is refused with a message')
    browser.key('enter')
    check(wait_until(lambda: browser.js("EmberlinePage.idle()")) and browser.js('window.stillHere') is True,
          'the program goes on after a huge text')


def offline(browser, url, server):
    start(browser, url)
    check(browser.cdp('Page.getInstallabilityErrors')['installabilityErrors'] == [], 'installable')
    check(wait_until(lambda: browser.js('!!navigator.serviceWorker.controller'), timeout=15), 'the worker controls')
    caches = browser.driver.execute_async_script(
        "var done = arguments[0]; caches.keys().then(function (names) {"
        " return caches.open(names[0]).then(function (c) { return c.keys(); })"
        " .then(function (keys) { done([names, keys.length]); }); });")
    check(len(caches[0]) == 1 and caches[0][0].startswith('emberline-'), 'one cache of this build: %s' % caches[0])
    server.stop()
    start(browser, url)
    check(calculate(browser, '5800', '1') == '0.7201', 'the program works offline')
    browser.key('h', ALT)
    browser.key('a')
    formula = places(design(browser, 'frmAbout'))['Image1']
    check(wait_until(lambda: browser.js("document.getElementById('frmAbout-Image1').naturalWidth") == formula[2]),
          'the formula picture comes from the cache')


def ended(browser, url):
    start(browser, url)
    listeners = browser.cdp('DOMDebugger.getEventListeners',
                            objectId=browser.cdp('Runtime.evaluate', expression='window')['result']['objectId'])
    check(not [l for l in listeners['listeners'] if l['type'] == 'beforeunload'], 'closing the tab asks nothing')
    browser.key('q', CTRL)
    check(browser.js("document.querySelector('.ended').textContent").startswith('Emberline has ended.'),
          'the page says the program has ended')
    check(browser.js("document.querySelectorAll('.window, input').length") == 0, 'every control is gone')
    browser.click_at(*browser.js("(function (r) { return [r.left + 5, r.top + 5]; })"
                                 "(document.querySelector('.ended button').getBoundingClientRect())"))
    check(wait_until(lambda: browser.js(READY)), 'it starts again')
    # A tab a script opened may be closed by a script: Exit closes it.
    driver = browser.driver
    first = driver.current_window_handle
    driver.execute_script('window.open(arguments[0])', url)
    opened = [h for h in driver.window_handles if h != first][0]
    driver.switch_to.window(opened)
    check(wait_until(lambda: browser.js(READY)), 'the opened tab is ready')
    try:
        browser.key('x', ALT)
    except NoSuchWindowException:
        pass  # gone before the key came up
    driver.switch_to.window(first)
    check(wait_until(lambda: opened not in driver.window_handles), 'Exit closed the tab')


# Phones and tablets: Chromium's device emulation (a mobile viewport, a
# touch screen, so `(pointer: coarse)` matches) and taps. Each device: name,
# CSS width and height, display scale, touch screen, and whether the window
# keeps its desktop size and place there. The desktop, used with a mouse,
# comes first: it gives the size and place the others are held to.
DEVICES = (
    ('desktop 800x600', 800, 600, 1, False, True),
    ('phone 320x640', 320, 640, 3, True, False),
    ('phone 360x740', 360, 740, 3, True, False),
    ('phone 390x844', 390, 844, 3, True, False),
    ('tablet 800x1280', 800, 1280, 2, True, True),
    ('tablet 820x1180', 820, 1180, 2, True, True),
)
# Where an element lands on the screen in CSS pixels: its box as the layout
# has it, through the visual viewport's offset and scale.
SCREEN_RECT = "(function (e) { if (!e) return null; var r = e.getBoundingClientRect(), v = visualViewport;" \
              " return [(r.left - v.offsetLeft) * v.scale, (r.top - v.offsetTop) * v.scale," \
              " r.width * v.scale, r.height * v.scale]; })(document.querySelector(arguments[0]))"
SHOWN = "!!document.querySelector(arguments[0]) && document.querySelector(arguments[0]).getClientRects().length > 0"
# The shown elements of a selector: name, width and height on the screen.
TARGETS = "[].filter.call(document.querySelectorAll(arguments[0])," \
          " function (e) { return e.getClientRects().length; })" \
          ".map(function (e) { var r = e.getBoundingClientRect(), s = visualViewport.scale;" \
          " return [e.id || e.textContent, r.width * s, r.height * s]; })"
TEXT = "document.getElementById('frmMain-' + arguments[0])[arguments[1]]"
# Target sizes under a mouse, which touch must not change, of the targets
# the page draws itself: width (None: as its text makes it) and height in
# CSS pixels. The windows' controls have the sizes of the table.
PAGE_SIZES = {'.menu-title': (None, 19), '.menu-item': (None, 20), '#msgbox-ok': (75, 23)}


class Device:
    """A device emulated on a freshly loaded page, and its input: taps on a
    touch screen, clicks otherwise; text as a virtual keyboard's input
    method commits it."""

    def __init__(self, browser, row):
        self.browser = browser
        self.name, self.width, self.height, self.scale, self.touch, self.desktop_layout = row
        self.problems = []
        self.layout = None  # the main window's place, once measured

    def load(self, url):
        self.browser.cdp('Emulation.setDeviceMetricsOverride', width=self.width, height=self.height,
                         deviceScaleFactor=self.scale, mobile=self.touch)
        self.browser.cdp('Emulation.setTouchEmulationEnabled', enabled=self.touch, maxTouchPoints=5)
        start(self.browser, url)
        coarse = self.browser.js("matchMedia('(pointer: coarse)').matches")
        check(coarse == self.touch, '%s: (pointer: coarse) is %s' % (self.name, coarse))

    def expect(self, condition, what):
        """A place or a size that is wrong: noted, and the check goes on to
        find the others."""
        if not condition:
            self.problems.append('%s: %s' % (self.name, what))

    def rect(self, selector):
        found = self.browser.js(SCREEN_RECT, selector)
        check(found, '%s: %s is not on the page' % (self.name, selector))
        return found

    def press(self, selector):
        """A tap, or a click, in the middle of an element."""
        x, y, w, h = self.rect(selector)
        x, y = x + w / 2, y + h / 2
        if not self.touch:
            self.browser.click_at(x, y)
            return
        self.browser.cdp('Input.dispatchTouchEvent', type='touchStart', touchPoints=[{'x': x, 'y': y}])
        self.browser.cdp('Input.dispatchTouchEvent', type='touchEnd', touchPoints=[])

    def enter_text(self, box, text):
        """Taps a box and puts a text in place of its own, as a keyboard's
        input method commits it (no key events); the whole text is selected
        first, as Select All in the box's own menu does."""
        self.press('#frmMain-' + box)
        check(wait_until(lambda: self.browser.js("document.activeElement.id === 'frmMain-' + arguments[0] && "
                                                 "EmberlinePage.idle()", box)),
              '%s: a tap on %s gives it the focus' % (self.name, box))
        self.browser.js("document.activeElement.select()")
        self.browser.cdp('Input.insertText', text=text)
        check(wait_until(lambda: self.browser.js(TEXT, box, 'value') == text),
              '%s: %s holds %r' % (self.name, box, text))

    def inside(self, selector, what):
        x, y, w, h = self.rect(selector)
        self.expect(x >= -0.5 and y >= -0.5 and x + w <= self.width + 0.5 and y + h <= self.height + 0.5,
                    '%s lies outside the %dx%d viewport: [%g, %g, %g, %g]'
                    % (what, self.width, self.height, x, y, w, h))

    def targets(self, selector):
        """Every shown element of a kind is big enough for a finger, or
        keeps its desktop size under a mouse."""
        for name, width, height in self.browser.js(TARGETS, selector):
            if self.touch:
                self.expect(width >= 24 and height >= 24, 'target %s is %gx%g, under 24x24' % (name, width, height))
            else:
                want_width, want_height = PAGE_SIZES.get(selector) or self.table_size(name)
                self.expect(want_width in (None, round(width, 2)) and round(height, 2) == want_height,
                            'target %s is %gx%g; on the desktop it is %s wide, %g tall'
                            % (name, width, height, want_width or 'as its text', want_height))

    def table_size(self, element):
        """The width and height of a window's control (by its element's id)
        as the table gives them, in CSS pixels."""
        window, control = element.split('-', 1)
        return places(design(self.browser, window))[control][2:]

    def no_sideways_scrolling(self):
        wide = self.browser.js("document.scrollingElement.scrollWidth * visualViewport.scale")
        self.expect(wide <= self.width + 0.5, 'the page is %g px wide on a %d px screen: it scrolls sideways'
                    % (wide, self.width))

    def place(self):
        """The main window's place and size on the screen, its client
        area's size, and where three controls lie in the client area."""
        window, client = self.rect('#frmMain'), self.rect('#frmMain .client')
        return {'window at': window[:3], 'client area': client[2:],
                'controls': [self.browser.js(PLACE, 'frmMain-' + c) for c in ('txtT', 'lblF', 'cmdExit')]}

    def box(self, what):
        check(wait_until(lambda: self.browser.js(BOX_OPEN)), '%s: %s opens' % (self.name, what))
        self.inside('dialog.msgbox[open]', what)
        self.inside('#msgbox-ok', 'the OK of ' + what)
        self.targets('#msgbox-ok')
        self.press('#msgbox-ok')
        check(wait_until(lambda: self.browser.js('!(%s) && EmberlinePage.idle()' % BOX_OPEN)),
              '%s: OK closes %s' % (self.name, what))

    def menu(self, title, entry):
        """Opens a menu by its title, checks its entries, chooses one."""
        self.press('#frmMain-' + title)
        check(wait_until(lambda: self.browser.js(SHOWN, '#frmMain-%s-list' % title)),
              '%s: %s opens' % (self.name, title))
        self.targets('.menu-item')
        self.press('#frmMain-' + entry)


def use_device(device, url, desktop):
    """The page on one device, looked at and used: its windows and boxes on
    the screen, its targets, and a calculation, a refused value and the
    menus by taps (clicks on the desktop)."""
    browser = device.browser

    def results():
        return [browser.js(TEXT, label, 'textContent') for label in ('lblLT', 'lblF')]

    def enter_without_keypress():
        for kind in ('rawKeyDown', 'keyUp'):
            browser.cdp('Input.dispatchKeyEvent', type=kind, key='Enter', code='Enter', windowsVirtualKeyCode=13,
                        nativeVirtualKeyCode=13)

    device.load(url)
    device.no_sideways_scrolling()
    device.inside('#frmMain', 'the main window')
    device.layout = device.place()
    if desktop and device.desktop_layout:
        for what, value in device.layout.items():
            device.expect(value == desktop[what], '%s %s, not as on the desktop %s' % (what, value, desktop[what]))
    for selector in ('.menu-title', '.textbox', '.button'):
        device.targets(selector)
    device.enter_text('txtT', '5800')
    device.enter_text('txtL', '1')
    device.press('#frmMain-cmdCalc')
    check(wait_until(lambda: results() == ['5800', '0.7201']),
          '%s: Calculate Values shows %s' % (device.name, results()))
    device.enter_text('txtT', 'abc')
    device.press('#frmMain-cmdCalc')
    device.box('the message box refusing "abc"')
    device.menu('mnuFile', 'mnuReset')
    check(wait_until(lambda: [browser.js(TEXT, box, 'value') for box in ('txtT', 'txtL')] == ['0', '0']),
          '%s: Reset Form puts 0 in both boxes' % device.name)
    device.menu('mnuHelp', 'mnuInstructions')
    device.box('the Instructions')
    device.menu('mnuHelp', 'mnuAbout')
    check(wait_until(lambda: browser.js(SHOWN, '#frmAbout') and browser.js('EmberlinePage.idle()')),
          '%s: About opens' % device.name)
    device.no_sideways_scrolling()
    device.inside('#frmAbout', 'the About window')
    device.targets('#frmAbout-cmdOK')
    device.press('#frmAbout-cmdOK')
    check(wait_until(lambda: not browser.js(SHOWN, '#frmAbout') and browser.js(SHOWN, '#frmMain')
                     and browser.js('EmberlinePage.idle()')),
          "%s: About's OK goes back to the main window" % device.name)
    # The keyboard's Enter key after text from its input method: with the
    # keypress a hardware keyboard sends, and alone, as some phones' virtual
    # keyboards send it.
    for name, enter in (('Enter', lambda: browser.key('enter')), ('Enter without a keypress', enter_without_keypress)):
        device.enter_text('txtT', '5800')
        device.enter_text('txtL', '1')
        check(results() == ['', ''], '%s: the edits empty the results' % device.name)
        enter()
        check(wait_until(lambda: results() == ['5800', '0.7201']), '%s: %s shows %s' % (device.name, name, results()))


def phone(browser, url):
    desktop, problems = None, []
    for row in DEVICES:
        device = Device(browser, row)
        try:
            use_device(device, url, desktop)
        except AssertionError as failure:
            device.problems.append('%s (the rest of %s not run)' % (failure, device.name))
        desktop = desktop or device.layout
        problems += [p for i, p in enumerate(device.problems) if p not in device.problems[:i]]
    check(not problems, '%d problems:\n  %s' % (len(problems), '\n  '.join(problems)))


# axe-core as the tests' npm dependency installs it (npm ci in this folder),
# with its best-practice rules as well as the WCAG 2.2 AA ones.
AXE = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'node_modules', 'axe-core', 'axe.min.js')
AXE_TAGS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice']
AXE_RUN = """axe.run(document, {runOnly: {type: 'tag', values: %s}, resultTypes: ['violations']}).then(function (r) {
  return r.violations.map(function (v) {
    return {id: v.id, impact: v.impact, help: v.help, nodes: v.nodes.map(function (n) {
      return n.target.join(' ') + ': ' + (n.failureSummary || '').replace(/\\s+/g, ' ');
    })};
  });
})""" % json.dumps(AXE_TAGS)


def axe_violations(browser):
    """axe-core's violations on the page as it is, one text each."""
    if not browser.js('!!window.axe'):
        with open(AXE) as source:
            browser.cdp('Runtime.evaluate', expression=source.read())
    run = browser.cdp('Runtime.evaluate', expression=AXE_RUN, awaitPromise=True, returnByValue=True)
    check('exceptionDetails' not in run, 'axe-core did not run: %s' % run.get('exceptionDetails'))
    return ['[%s] %s: %s\n      %s' % (v['impact'], v['id'], v['help'], '\n      '.join(v['nodes']))
            for v in run['result']['value']]


def axe(browser, url):
    check(os.path.isfile(AXE), '%s is missing: run npm ci in %s' % (AXE, os.path.dirname(AXE)))

    def results():
        check(calculate(browser, '5800', '1') == '0.7201', 'the calculation ran')

    def message_box():
        browser.key('i', CTRL)
        check(wait_until(lambda: browser.js(BOX_OPEN)), 'Ctrl+I opens the Instructions')

    def about():
        browser.key('enter')
        check(wait_until(lambda: browser.js('EmberlinePage.idle()')), 'Enter closes the box')
        browser.key('h', ALT)
        browser.key('a')
        check(wait_until(lambda: browser.js(SHOWN, '#frmAbout')), 'Help > About opens the About window')

    def ended_page():
        start(browser, url)
        browser.key('q', CTRL)
        check(wait_until(lambda: browser.js("!!document.querySelector('.ended')")), 'Ctrl+Q ends the program')

    start(browser, url)
    report = []
    for state, reach in (('the main window at start', lambda: None), ('the main window with results', results),
                         ('a message box', message_box), ('the About window', about),
                         ('the ended page', ended_page)):
        reach()
        report += ['%s: %s' % (state, v) for v in axe_violations(browser)]
    check(not report, '%d violations:\n  %s' % (len(report), '\n  '.join(report)))


def main():
    checks = {'accessibility': accessibility, 'display': display, 'modal': modal, 'offline': offline, 'ended': ended,
              'phone': phone, 'axe': axe}
    if len(sys.argv) != 3 or sys.argv[2] not in checks:
        sys.exit(__doc__)
    server = SiteServer(site_folder(sys.argv[1]))
    browser = Browser()
    started = time.monotonic()
    try:
        if sys.argv[2] == 'offline':
            offline(browser, server.url, server)
        else:
            checks[sys.argv[2]](browser, server.url)
    finally:
        browser.quit()
        server.stop()
    print('%s: passed (%.1f s)' % (sys.argv[2], time.monotonic() - started))


if __name__ == '__main__':
    main()
