#!/usr/bin/python3
"""What only the browser shows: the page as a screen reader finds it, the
windows at another display scale, a message box that nothing gets past, the
site offline, and the end of the program. One check per run.

usage: tst_web_page.py SITE_DIR accessibility|display|modal|offline|ended
"""

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


def accessibility(browser, url):
    start(browser, url)
    for name, value in (('Temperature (K)', '0'), ('Wavelength (\u00b5m)', '0')):
        check(ax_value(one(browser, 'textbox', name), 'value') == value, name + ' holds its text')
    for name, keys in (('Calculate Values', 'Alt+C'), ('Reset Form', 'Alt+R'), ('Exit', 'Alt+X')):
        check(ax_property(one(browser, 'button', name), 'keyshortcuts') == keys, name + ' has ' + keys)
    for name in ('T(K)=', '\u03bb(\u03bcm)=', '\u03bbT(\u03bcm\u00b7K)=', 'F(0\u2192\u03bb)='):
        one(browser, 'image', name)
    check(calculate(browser, '5800', '1') == '0.7201', 'the calculation ran')
    for name, text in (('\u03bbT (\u00b5m\u00b7K)', '5800'), ('F(0\u2192\u03bb)', '0.7201')):
        check(text_below(browser, one(browser, 'status', name)) == text, name + ' reads ' + text)
    check(len(browser.ax_find('menubar', '')) == 1, 'one menu bar')
    for title, keys in (('File', 'Alt+F'), ('Help', 'Alt+H')):
        check(ax_property(one(browser, 'menuitem', title), 'keyshortcuts') == keys, title + ' has ' + keys)
    browser.key('f', ALT)
    for name, keys in (('Calculate Values', 'Control+L'), ('Reset Form', 'Control+R'), ('Exit', 'Control+Q')):
        check(ax_property(one(browser, 'menuitem', name), 'keyshortcuts') == keys, name + ' has ' + keys)
    browser.key('escape')
    browser.key('i', CTRL)
    box = one(browser, 'alertdialog', 'Instructions')
    check(ax_property(box, 'modal') is True, 'the message box is modal')
    check(ax_value(box, 'description').startswith('To find the fractional'), 'the box is described by its text')
    check(browser.ax_find('textbox', 'Temperature (K)') == [], 'the window is out of reach behind the box')
    check(ax_property(one(browser, 'button', 'OK'), 'focused') is True, 'OK has the focus')
    browser.key('enter')
    check(wait_until(lambda: browser.js('EmberlinePage.idle()')), 'Enter closes the box')
    browser.key('h', ALT)
    browser.key('a')
    check(ax_property(one(browser, 'button', 'OK'), 'keyshortcuts') == 'Alt+O', 'OK has Alt+O')
    one(browser, 'image', 'F(0\u2192\u03bb) = 15/\u03c0\u2074 \u03a3 e^(\u2212nz)/n (z\u00b3 + 3z\u00b2/n + 6z/n\u00b2 + '
                          '6/n\u00b3), where z = C\u2082/\u03bbT and C\u2082 = 14387.96')


PICTURES = "[].map.call(document.querySelectorAll('.window:not([hidden]) img'), function (i) {" \
           " var r = i.getBoundingClientRect(); return [i.currentSrc.split('/').pop(), r.width, r.height, i.complete]; })"
PLACE = "(function (id) { var c = document.getElementById(id), w = c.closest('.window').querySelector('.client');" \
        " var r = c.getBoundingClientRect(), o = w.getBoundingClientRect();" \
        " return [r.left - o.left, r.top - o.top, r.width, r.height]; })(arguments[0])"


def display(browser, url):
    start(browser, url)
    check(browser.js('document.title') == 'Fractional Blackbody Emissive Power', 'the title is the caption')
    check(browser.js("document.querySelector('link[rel=icon]').href.endsWith('/pyrel.png')"), 'the program icon')
    for scale in (1, 2, 3):
        browser.cdp('Emulation.setDeviceMetricsOverride', width=800, height=600, deviceScaleFactor=scale, mobile=False)
        start(browser, url)
        wait_until(lambda: all(p[3] for p in browser.js(PICTURES)))
        suffix = '' if scale == 1 else '@%dx' % scale
        sizes = {'image1': (52, 27), 'image2': (63, 27), 'image3': (57, 29), 'image4': (92, 27)}
        for name, width, height, _ in browser.js(PICTURES):
            base = name.split('@')[0].split('.')[0]
            check(name == base + suffix + '.png', 'scale %d shows %s' % (scale, name))
            check((width, height) == sizes[base], '%s is %gx%g CSS pixels' % (name, width, height))
        # Twips / 15: the boxes and the results where the table puts them.
        for control, place in (('txtT', [144, 104, 65, 27]), ('lblF', [304, 210, 65, 20]),
                               ('cmdExit', [296, 272, 97, 49])):
            check(browser.js(PLACE, 'frmMain-' + control) == place, '%s at %s' % (control, place))
    browser.cdp('Emulation.clearDeviceMetricsOverride')
    check(wait_until(lambda: browser.js("document.fonts.status === 'loaded'")), 'the fonts load')
    loaded = browser.js("[].concat.apply([], [...document.fonts].filter(function (f) { return f.status === 'loaded'; })"
                        ".map(function (f) { return [f.family.replace(/\"/g, '') + ' ' + f.weight]; }))")
    for face in ('EB Garamond 700', 'Emberline Sans 400'):
        check(face in loaded, face + ' is loaded: %s' % loaded)
    browser.key('h', ALT)
    browser.key('a')
    check(browser.js('document.title') == 'About Pyrel.exe', 'the About window names the page')
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
    check(browser.js("document.getElementById('frmMain-txtT').value") == '0x', 'the text stayed')
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
    check(wait_until(lambda: browser.js("document.getElementById('frmAbout-Image1').naturalWidth") == 263),
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


def main():
    checks = {'accessibility': accessibility, 'display': display, 'modal': modal, 'offline': offline, 'ended': ended}
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
