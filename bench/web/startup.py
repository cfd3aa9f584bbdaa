#!/usr/bin/python3
"""Start-up of the site against a static page with the same controls.

The static page is a snapshot of the site's own main window once it is
ready: the page's HTML with its values written into it, the focus given by
autofocus, and no script, no module (static.html, beside index.html in a
copy of the site, so it loads the same style sheet, fonts and pictures).

Each run is a fresh navigation in headless Chromium, and ends when the main
window is ready for input: both boxes hold "0" and txtT has the focus. A
script the browser runs before the page's own (Page.addScriptToEvaluate-
OnNewDocument) notes that moment as performance.now() (milliseconds since
the navigation started), checking on every change of the document and every
focus event. The two pages take turns, 15 runs each:

  * online: from the server on 127.0.0.1, with the HTTP cache disabled and
    the service worker bypassed, as on a first visit;
  * offline: from the service worker's cache, the server stopped.

It also prints what a first visit loads: the page's own requests at 1x (from
the Resource Timing entries) and the service worker's copy of the site,
which is every file of it.

usage: startup.py SITE_DIR [--runs N]
"""

import os
import shutil
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tests', 'ui', 'web'))

from web_driver import Browser, SiteServer, site_folder, wait_until  # noqa: E402

PROBE = """(function () {
  function probe() {
    if (window.emberlineReady !== undefined) return;
    var t = document.getElementById('frmMain-txtT'), l = document.getElementById('frmMain-txtL');
    if (t && l && t.value === '0' && l.value === '0' && document.activeElement === t)
      window.emberlineReady = performance.now();
  }
  new MutationObserver(probe).observe(document, {subtree: true, childList: true, attributes: true});
  document.addEventListener('focusin', probe, true);
  document.addEventListener('DOMContentLoaded', probe);
})();"""

SNAPSHOT = """(function () {
  var copy = document.documentElement.cloneNode(true);
  copy.querySelectorAll('script, link[rel=preload][as=fetch], link[rel=manifest], dialog').forEach(function (e) { e.remove(); });
  copy.querySelectorAll('input').forEach(function (box) {
    box.setAttribute('value', document.getElementById(box.id).value);
  });
  copy.querySelector('#frmMain-txtT').setAttribute('autofocus', '');
  return '<!DOCTYPE html>\\n' + copy.outerHTML;
})()"""

FIRST_VISIT = """performance.getEntriesByType('navigation').concat(performance.getEntriesByType('resource'))
  .map(function (e) { return [e.name.split('/').slice(3).join('/') || 'index.html', e.encodedBodySize]; })"""


def ready_time(browser, url):
    browser.driver.get(url)
    value = wait_until(lambda: browser.js('window.emberlineReady'), timeout=10)
    if value is None:
        raise SystemExit('%s never became ready' % url)
    return value


def measure(browser, base, runs):
    times = {'index.html': [], 'static.html': []}
    for _ in range(runs):
        for page in times:
            times[page].append(ready_time(browser, base + page))
    return {page: statistics.median(values) for page, values in times.items()}


def main():
    args = sys.argv[1:]
    runs = 15
    if '--runs' in args:
        at = args.index('--runs')
        runs = int(args[at + 1])
        del args[at:at + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    site = site_folder(args[0])
    copy = tempfile.mkdtemp(prefix='emberline-bench-')
    shutil.copytree(site, copy, dirs_exist_ok=True)
    server = SiteServer(copy)
    browser = Browser()
    try:
        browser.cdp('Network.enable')
        browser.cdp('Network.setCacheDisabled', cacheDisabled=True)
        browser.cdp('Network.setBypassServiceWorker', bypass=True)
        browser.driver.get(server.url)
        wait_until(lambda: browser.js("window.EmberlinePage && EmberlinePage.idle()"))
        wait_until(lambda: browser.js("document.fonts.status === 'loaded' && "
                                      "[].every.call(document.images, function (i) { return i.complete; })"))
        loaded = browser.js(FIRST_VISIT)
        with open(os.path.join(copy, 'static.html'), 'w', encoding='utf-8') as f:
            f.write(browser.js(SNAPSHOT))
        # The offline copy holds the static page too, for the comparison.
        worker = os.path.join(copy, 'sw.js')
        with open(worker, encoding='utf-8') as f:
            text = f.read()
        with open(worker, 'w', encoding='utf-8') as f:
            f.write(text.replace('const FILES = [', 'const FILES = ["static.html", ', 1))

        browser.cdp('Page.addScriptToEvaluateOnNewDocument', source=PROBE)
        online = measure(browser, server.url, runs)

        browser.cdp('Network.setCacheDisabled', cacheDisabled=False)
        browser.cdp('Network.setBypassServiceWorker', bypass=False)
        browser.driver.get(server.url)
        if not wait_until(lambda: browser.js('!!navigator.serviceWorker.controller'), timeout=15):
            raise SystemExit('the service worker never took control')
        server.stop()
        offline = measure(browser, server.url, runs)
    finally:
        browser.quit()
        server.stop()
        shutil.rmtree(copy, ignore_errors=True)

    # Each file once: with the browser's cache off, a file asked for again
    # (a picture of the window that replaces index.html's copy) is fetched
    # again, where a visitor's browser takes it from its memory cache.
    sizes = {}
    for name, size in loaded:
        sizes[name] = max(size, sizes.get(name, 0))
    print('First visit at 1x, the page\'s own requests (bytes as served):')
    for name, size in sorted(sizes.items()):
        print('  %-34s %8d' % (name, size))
    print('  %-34s %8d' % ('total', sum(sizes.values())))
    total = 0
    for folder, _, files in os.walk(site):
        total += sum(os.path.getsize(os.path.join(folder, f)) for f in files)
    print('The whole site, which the service worker copies on the first visit: %d bytes' % total)
    print()
    print('Start-up to the main window ready for input, median of %d runs (ms):' % runs)
    for label, result in (('online ', online), ('offline', offline)):
        page, static = result['index.html'], result['static.html']
        print('  %s  site %6.1f   static page %6.1f   ratio %.2f' % (label, page, static, page / static))


if __name__ == '__main__':
    main()
