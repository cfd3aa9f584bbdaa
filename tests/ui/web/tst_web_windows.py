#!/usr/bin/python3
"""The shared user scenarios on the site's real page in headless Chromium.

The scenarios are the table the window model, the Qt and the Win32 windows
run (tests/ui/scenarios.h), printed as JSON by scenarios_json under Node.
Each starts on a freshly loaded page; every action is trusted key or mouse
input; each message box is recorded as it appears and answered with Enter
on its OK button. Then the page shows what the table expects.

What a page cannot show after the program has ended (every control is gone,
or the tab is closed) is read just before the action that ends it; the
focus is not compared then.

usage: tst_web_windows.py SITE_DIR -- SCENARIOS_COMMAND...
"""

import json
import subprocess
import sys
import time

from web_driver import ALT, CTRL, SHIFT, Browser, SiteServer, site_folder, wait_until

READ_STATE = """(function () {
  var main = document.getElementById('frmMain');
  var about = document.getElementById('frmAbout');
  function value(id) { var e = document.getElementById(id); return e ? e.value : ''; }
  function caption(id) { var e = document.getElementById(id); return e ? e.textContent.replace(/\\n/g, '\\r') : ''; }
  return {
    txtT: value('frmMain-txtT'), txtL: value('frmMain-txtL'),
    lblLT: caption('frmMain-lblLT'), lblF: caption('frmMain-lblF'),
    focus: window.EmberlinePage ? EmberlinePage.focusOf('frmMain') : '',
    mainVisible: !!main && !main.hidden, aboutVisible: !!about && !about.hidden,
    ended: !!document.querySelector('.ended'),
  };
})()"""

OPEN_BOX = """(function () {
  var d = document.querySelector('dialog.msgbox');
  if (!d || !d.open) return null;
  return document.getElementById('msgbox-title').textContent + ': ' +
         document.getElementById('msgbox-text').textContent.replace(/\\n/g, '\\r');
})()"""

IDLE = "!window.EmberlinePage || !document.querySelector('.window') || EmberlinePage.idle()"

MENU_KEYS = {'calc': 'l', 'reset': 'r', 'exit': 'q', 'instructions': 'i'}


class Run:
    """One scenario on one page."""

    def __init__(self, browser, url):
        self.browser = browser
        self.messages = []
        self.before_end = None
        self.closed = None
        browser.driver.get(url)
        if not wait_until(lambda: browser.js("window.EmberlinePage && EmberlinePage.idle() && "
                                             "document.activeElement.id === 'frmMain-txtT'")):
            raise AssertionError('the main window did not come up ready for input')

    def settle(self):
        """Answers the message boxes as they come, until the page is idle."""
        b = self.browser
        for _ in range(100):
            text = b.js(OPEN_BOX)
            if text is not None:
                self.messages.append(text)
                if len(self.messages) > 20:
                    raise AssertionError('message boxes keep coming')
                b.key('enter')
                continue
            if b.js(IDLE):
                return
            time.sleep(0.01)
        raise AssertionError('the page never became idle')

    def perform(self, action):
        b = self.browser
        verb, _, argument = action.partition(' ')
        if verb in ('menu', 'alt', 'close-main') or (verb == 'click' and argument == 'cmdExit'):
            self.before_end = b.js(READ_STATE)
        if verb == 'set':
            b.key('home')
            b.key('end', SHIFT)
            if argument:
                b.type_text(argument)
            else:
                b.key('delete')
        elif verb == 'type':
            b.key('end')
            b.type_text(argument)
        elif verb in ('enter', 'space', 'escape', 'tab'):
            b.key(verb)
        elif verb == 'ctrl-enter':
            b.key('enter', CTRL)
        elif verb == 'alt-enter':
            b.key('enter', ALT)
        elif verb == 'backtab':
            b.key('tab', SHIFT)
        elif verb == 'click':
            b.click('frmMain-' + argument)
        elif verb == 'alt':
            b.key(argument.lower(), ALT)
        elif verb == 'menu' and argument in MENU_KEYS:
            b.key(MENU_KEYS[argument], CTRL)
        elif verb == 'menu' and argument == 'about':
            b.key('h', ALT)
            b.key('a')
        elif verb == 'about-ok':
            b.click('frmAbout-cmdOK')
        elif verb == 'about-close':
            # The browser's Back: the About window's close box.
            history = b.cdp('Page.getNavigationHistory')
            entry = history['entries'][history['currentIndex'] - 1]
            b.cdp('Page.navigateToHistoryEntry', entryId=entry['id'])
            wait_until(lambda: not b.js(READ_STATE)['aboutVisible'], timeout=2)
        elif verb == 'close-main':
            # The main window's close box is the tab's: the tab closes.
            self.close_tab()
            return
        else:
            raise AssertionError('unknown action ' + action)
        self.settle()

    def close_tab(self):
        driver = self.browser.driver
        closing = driver.current_window_handle
        driver.switch_to.new_window('tab')
        spare = driver.current_window_handle
        driver.switch_to.window(closing)
        driver.close()
        driver.switch_to.window(spare)
        self.closed = closing not in driver.window_handles

    def state(self):
        if self.closed is not None:
            state = dict(self.before_end, ended=self.closed, mainVisible=False, aboutVisible=False)
            return state, True
        state = self.browser.js(READ_STATE)
        if state['ended']:
            kept = self.before_end or {}
            state.update({k: kept.get(k, '') for k in ('txtT', 'txtL', 'lblLT', 'lblF')})
            state.update(mainVisible=kept.get('mainVisible', False), aboutVisible=kept.get('aboutVisible', False))
            return state, True
        return state, False


def main():
    if '--' not in sys.argv[2:3]:
        sys.exit(__doc__)
    site = site_folder(sys.argv[1])
    scenarios = json.loads(subprocess.run(sys.argv[3:], check=True, capture_output=True, text=True).stdout)
    server = SiteServer(site)
    browser = Browser()
    failures = 0
    started = time.monotonic()
    try:
        for scenario in scenarios:
            run = Run(browser, server.url)
            problems = []
            try:
                for action in scenario['actions']:
                    run.perform(action)
                state, ended = run.state()
                expected = scenario['expected']
                for field in ('txtT', 'txtL', 'lblLT', 'lblF', 'focus', 'ended', 'mainVisible', 'aboutVisible'):
                    if field == 'focus' and ended:
                        continue
                    if state[field] != expected[field]:
                        problems.append('%s: %r, expected %r' % (field, state[field], expected[field]))
                if run.messages != expected['messages']:
                    problems.append('messages: %r, expected %r' % (run.messages, expected['messages']))
            except Exception as error:  # a failed step fails the scenario, the others still run
                problems.append('%s: %s' % (type(error).__name__, error))
            if problems:
                failures += 1
                print('FAIL: %s\n    %s' % (scenario['name'], '\n    '.join(problems)))
            else:
                print('ok: %s' % scenario['name'])
    finally:
        browser.quit()
        server.stop()
    print('%d of %d scenarios failed (%.1f s)' % (failures, len(scenarios), time.monotonic() - started))
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
