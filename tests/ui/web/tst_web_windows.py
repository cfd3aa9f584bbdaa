#!/usr/bin/python3
"""The shared user scenarios on the site's real page, in one browser engine.

The scenarios are the table the window model, the Qt and the Win32 windows
run (tests/ui/scenarios.h), printed as JSON by scenarios_json under Node.
Each starts on a freshly loaded page in the same browser; every action is
trusted key or mouse input; each message box is recorded as it appears and
answered with Enter on its OK button, or as an "answer" action said (Enter,
Space, Escape, or a click on OK). Then the page shows what the table
expects, and the page's console holds no error and no warning.

Before the scenarios, the look against the design, in each engine: on a
freshly loaded page, then with a message box open, then with the About
window shown, every control of the shown window lies where its layout
table puts it (within a CSS pixel, in its container), and the page, the
windows, the white panels and boxes, the text and the buttons have the
colours of web_page.css. A difference fails the run.

What a page cannot show after the program has ended (every control is gone,
or the tab is closed: by its close box, or by the page where the browser
lets a script close it) is read just before the action that ends it; the
focus is not compared then.

Engines (engines.py): chromium (headless, the default), firefox (headless),
webkit (WebKitGTK's MiniBrowser on an X display), chromium-x (a Chromium
window on an X display, keys and clicks from the X server by xdotool).
--safari-rule runs, before the page's own scripts, what Safari does to a
click on a button: the button never takes the focus, the focused element
loses it (not in webkit, whose driver runs nothing before the page).

--monkey serves the seeded random user instead (tests/support/monkey_oracle,
the command after --): each program it starts is a freshly loaded page,
each action it sends is performed as a scenario's, and the windows are read
back when it asks; it judges them against the window model, shrinks a
failing run and reports on its standard error, and its exit code is the
test's. The page's console complaining fails the run too.

usage: tst_web_windows.py SITE_DIR [--engine NAME] [--safari-rule] -- SCENARIOS_COMMAND...
       tst_web_windows.py SITE_DIR [--engine NAME] --monkey -- ORACLE_COMMAND...
"""

import json
import re
import subprocess
import sys
import time

from engines import ENGINES, SAFARI_RULE, open_engine
from web_driver import ALT, CTRL, SHIFT, SiteServer, site_folder, wait_until

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

SELECTION = "(function (e) { return [e.selectionStart, e.selectionEnd]; })(document.getElementById(arguments[0]))"

OPEN_BOX = """(function () {
  var d = document.querySelector('dialog.msgbox');
  if (!d || !d.open) return null;
  return document.getElementById('msgbox-title').textContent + ': ' +
         document.getElementById('msgbox-text').textContent.replace(/\\n/g, '\\r');
})()"""

# What the page started loading (the About window's pictures and font) has
# come, or failed: the page is done before the next load leaves it.
LOADED = ("document.fonts.status === 'loaded' && "
          "[].every.call(document.images, function (i) { return i.complete; })")

IDLE = "!window.EmberlinePage || !document.querySelector('.window') || EmberlinePage.idle()"

# The design's colours (web_page.css): the face of the page, the windows
# and the message box; the white panels and boxes; the text; the buttons.
FACE, PANEL, TEXT, BUTTON = 'rgb(240, 240, 240)', 'rgb(255, 255, 255)', 'rgb(0, 0, 0)', 'rgb(225, 225, 225)'

# The colour behind each part of the page (the first background that is not
# transparent, from the part up) and the colour of its text: the page, the
# face of each shown window, the message box when open; and every control
# of the shown windows with its box relative to its container, in CSS
# pixels, and the box its layout table gives it (twips, 15 to a pixel).
READ_LOOK = """(function () {
  function behind(e) {
    for (; e; e = e.parentElement) {
      var c = getComputedStyle(e).backgroundColor;
      if (c !== 'transparent' && !/^rgba\\(.*, 0\\)$/.test(c)) return c;
    }
    return 'none';
  }
  var parts = [], controls = [];
  function part(kind, name, e) {
    parts.push({kind: kind, name: name, behind: behind(e), text: getComputedStyle(e).color});
  }
  part('page', 'the page', document.body);
  EmberlineWindows.windows.forEach(function (w) {
    if (w.root.hidden) return;
    var client = w.root.querySelector('.client');
    part('window', w.design.name, client);
    w.design.controls.forEach(function (c) {
      var e = w.controls.get(c.name), within = c.container ? w.controls.get(c.container) : client;
      var r = e.getBoundingClientRect(), o = within.getBoundingClientRect();
      controls.push({name: e.id, kind: c.kind, white: c.white, behind: behind(e), text: getComputedStyle(e).color,
                     box: [r.left - o.left - within.clientLeft, r.top - o.top - within.clientTop, r.width, r.height],
                     table: [c.left / 15, c.top / 15, c.width / 15, c.height / 15]});
    });
  });
  var box = document.querySelector('dialog.msgbox[open]');
  if (box) {
    part('box', 'the message box', box);
    part('panel', "the message box's title", box.querySelector('.msgbox-title'));
    part('panel', "the message box's prompt", box.querySelector('.msgbox-text'));
    part('button', "the message box's OK", box.querySelector('.msgbox-ok'));
  }
  return {parts: parts, controls: controls};
})()"""

# What each kind of part and control shows: the colour behind it (None:
# the window's face, or white where the table says so) and its text's
# colour (None: no text of its own).
PART_LOOK = {'page': (FACE, TEXT), 'window': (FACE, None), 'box': (FACE, TEXT), 'panel': (PANEL, TEXT),
             'button': (BUTTON, TEXT)}
CONTROL_LOOK = {'button': (BUTTON, TEXT), 'textbox': (PANEL, TEXT), 'label': (None, TEXT), 'frame': (None, None),
                'picture': (None, None)}

# The states the look is checked in: the windows shown, whether a message
# box is open, and the actions that lead there from the page as loaded.
LOOK_STATES = (
    ('the main window', ['frmMain'], False, []),
    ('a message box over the main window', ['frmMain'], True, ['open-box']),
    ('the About window', ['frmAbout'], False, ['close-box', 'menu about']),
)

# The menus from the keyboard: File's entries by their Ctrl shortcuts,
# Help's through its access key and theirs.
MENU_KEYS = {'calc': 'l', 'reset': 'r', 'exit': 'q'}
HELP_KEYS = {'instructions': 'i', 'about': 'a'}
MENU_ENTRIES = {'calc': 'frmMain-mnuCalc', 'reset': 'frmMain-mnuReset', 'exit': 'frmMain-mnuExit',
                'instructions': 'frmMain-mnuInstructions', 'about': 'frmMain-mnuAbout'}
# The title of the menu that holds an entry.
MENU_TITLE = "document.getElementById(arguments[0]).closest('.menu-slot').querySelector('.menu-title').id"

# Where a click lands, in the viewport: in a box at the right end of its
# text, a button in its middle, the face of the main window at (16, 300)
# of its client area in 96-dpi design pixels, scaled as the window is.
CLICK_PLACES = ('txtT', 'txtL', 'cmdCalc', 'cmdReset', 'cmdExit', 'face')
CLICK_POINT = """(function (name) {
  var win = EmberlineWindows.windows, main = null;
  win.forEach(function (w) { if (w.design.name === 'frmMain') main = w; });
  if (name === 'face') {
    var client = main.root.querySelector('.client'), c = client.getBoundingClientRect();
    var scale = c.width * 15 / main.design.width;
    return [c.left + 16 * scale, c.top + 300 * scale];
  }
  var r = main.controls.get(name).getBoundingClientRect();
  return [name.charAt(0) === 't' ? r.right - 4 : r.left + r.width / 2, r.top + r.height / 2];
})(arguments[0])"""

# The window each action is aimed at: one that is not shown takes none of
# them (Help's entries included: Alt+H and a letter would go to the window
# shown), and once the program has ended no action has anything to act on.
# File's Ctrl shortcuts are pressed in any window: the main window's must
# do nothing in another.
AIMED = {'click': 'mainVisible', 'dblclick': 'mainVisible', 'menu-click': 'mainVisible', 'menu': 'mainVisible',
         'close-main': 'mainVisible', 'about-ok': 'aboutVisible', 'about-close': 'aboutVisible'}
ANSWERS = ('enter', 'space', 'escape', 'click')


class Run:
    """One scenario on one page."""

    def __init__(self, browser, url):
        self.browser = browser
        self.messages = []
        self.before_end = None
        self.closed = None  # by the tab's close box: whether it went
        self.gone = False  # closed by the page itself
        self.answer = 'enter'
        self.reported = 0  # the message boxes the monkey has been told of
        self.click_side = 1
        browser.load(url)
        if not wait_until(lambda: browser.js("window.EmberlinePage && EmberlinePage.idle() && "
                                             "document.activeElement.id === 'frmMain-txtT'"), timeout=10):
            raise AssertionError('the main window did not come up ready for input')

    def read(self, expression, *args):
        """The expression's value in the page; None once the page has
        closed its own tab."""
        if not self.gone:
            try:
                return self.browser.js(expression, *args)
            except Exception:
                if not self.browser.window_closed():
                    raise
                self.gone = True
        return None

    def answer_box(self):
        b = self.browser
        if self.answer == 'click':
            b.click('msgbox-ok')
        else:
            b.key(self.answer)

    def settle(self):
        """Answers the message boxes as they come, until the page is idle."""
        deadline = time.monotonic() + 10
        before = len(self.messages)
        while time.monotonic() < deadline:
            text = self.read(OPEN_BOX)
            if self.gone:
                return
            if text is not None:
                self.messages.append(text)
                if len(self.messages) - before > 20:
                    raise AssertionError('message boxes keep coming')
                self.answer_box()
                continue
            if self.read(IDLE) or self.gone:
                return
            time.sleep(0.01)
        raise AssertionError('the page never became idle')

    def type(self, text):
        """Typing, as a user types on: a space can press the focused button,
        whose message box is answered before the keys that follow, and
        whose end of the program ends the typing."""
        for chunk in re.findall(r'[^ ]+ ?| ', text):
            self.browser.type_text(chunk)
            if chunk.endswith(' '):
                self.settle()
                if self.gone or self.read(READ_STATE)['ended']:
                    return

    def perform(self, action):
        b = self.browser
        verb, _, argument = action.partition(' ')
        if verb == 'answer':
            if argument not in ANSWERS:
                raise AssertionError('unknown answer ' + action)
            self.answer = argument
            return
        # What the page shows before: all there is to read once the action
        # has ended the program.
        shown = self.read(READ_STATE) if self.closed is None else None
        aimed = AIMED.get(verb) if not (verb == 'menu' and argument in MENU_KEYS) else None
        if not shown or shown['ended'] or (aimed and not shown[aimed]):
            return  # the program has ended, or the action is aimed at a window not shown
        self.before_end = shown
        if verb == 'set':
            b.key('a', CTRL)
            if argument:
                self.type(argument)
            else:
                b.key('delete')
        elif verb == 'type':
            b.key('end')
            self.type(argument)
        elif verb == 'keys':
            self.type(argument)
        elif verb == 'paste':
            b.paste(argument)
        elif verb == 'select-all':
            b.key('a', CTRL)
        elif verb in ('enter', 'space', 'escape', 'tab', 'home', 'end', 'backspace', 'delete'):
            b.key(verb)
        elif verb == 'ctrl-enter':
            b.key('enter', CTRL)
        elif verb == 'alt-enter':
            b.key('enter', ALT)
        elif verb == 'backtab':
            b.key('tab', SHIFT)
        elif verb in ('click', 'dblclick') and argument in CLICK_PLACES:
            x, y = b.js(CLICK_POINT, argument)
            if argument != 'face':
                # A click where the last one was, as quickly, would be its
                # double or triple click: one control's clicks alternate
                # above and below its middle, further apart than that.
                self.click_side = -self.click_side
                y += 7 * self.click_side
            b.click_at(x, y)
            if verb == 'dblclick':
                # A box that the first click brought is answered before the
                # second click, which then is a click of its own.
                box = self.read(OPEN_BOX) is not None
                if box:
                    self.settle()
                b.click_at(x, y, 1 if box else 2)
        elif verb == 'alt' and len(argument) == 1:
            b.key(argument.lower(), ALT)
        elif verb == 'menu' and argument in MENU_KEYS:
            b.key(MENU_KEYS[argument], CTRL)
        elif verb == 'menu' and argument in HELP_KEYS:
            b.key('h', ALT)
            b.key(HELP_KEYS[argument])
        elif verb == 'menu-click' and argument in MENU_ENTRIES:
            b.click(b.js(MENU_TITLE, MENU_ENTRIES[argument]))
            b.click(MENU_ENTRIES[argument])
        elif verb == 'about-ok':
            b.click('frmAbout-cmdOK')
        elif verb == 'about-close':
            # The browser's Back: the About window's close box.
            b.back()
            wait_until(lambda: not b.js(READ_STATE)['aboutVisible'], timeout=5)
        elif verb == 'close-main':
            # The main window's close box is the tab's: the tab closes.
            self.closed = b.close_window()
            return
        else:
            raise AssertionError('unknown action ' + action)
        self.settle()

    def state(self):
        if self.closed is not None:
            state = dict(self.before_end, ended=self.closed, mainVisible=False, aboutVisible=False)
            return state, True
        state = self.read(READ_STATE)
        if self.gone:
            if self.before_end is None:
                raise AssertionError('the tab closed')
            state = dict(self.before_end, ended=True)
            return state, True
        if state['ended']:
            kept = self.before_end or {}
            state.update({k: kept.get(k, '') for k in ('txtT', 'txtL', 'lblLT', 'lblF')})
            state.update(mainVisible=kept.get('mainVisible', False), aboutVisible=kept.get('aboutVisible', False))
            return state, True
        return state, False

    def monkey_state(self):
        """The windows as the monkey's oracle reads them: its fields, each
        escaped (the boxes shown since the last look at the end). Once the
        program has ended only that counts, however it went."""
        state = None if self.closed is not None else self.read(READ_STATE)
        ended = bool(self.closed) if self.closed is not None else state is None or state['ended']
        if ended:
            state = dict(txtT='', txtL='', lblLT='', lblF='', focus='', mainVisible=False, aboutVisible=False)
        if not ended and state['focus'] in ('txtT', 'txtL'):
            selection = self.read(SELECTION, 'frmMain-' + state['focus'])
        else:
            selection = [0, 0]
        fields = [state[k] for k in ('txtT', 'txtL', 'lblLT', 'lblF')] + [state['focus'] or 'none'] + selection + \
            [state[k] for k in ('mainVisible', 'aboutVisible')] + [ended] + self.messages[self.reported:]
        self.reported = len(self.messages)
        return '\t'.join(escape(str(int(f)) if isinstance(f, (bool, int)) else f) for f in fields)


def escape(field):
    return field.replace('\\', '\\\\').replace('\t', '\\t').replace('\r', '\\r').replace('\n', '\\n')


def unescape(text):
    return re.sub(r'\\(.)', lambda m: {'r': '\r', 'n': '\n', 't': '\t'}.get(m.group(1), m.group(1)), text)


def serve_monkey(browser, url, command):
    """Serves the monkey's oracle (command): a new page for each program it
    starts, its actions performed as the scenarios' are, the windows read
    back when it asks. It writes its report on the standard error; its
    exit code is the run's. A step the driver fails (or the page's console
    complains) is answered with what went wrong, which fails the run."""
    oracle = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, encoding='utf-8', bufsize=1)
    run = None
    try:
        for line in oracle.stdout:
            verb, _, argument = line.rstrip('\n').partition(' ')
            if verb == 'done':
                break
            try:
                complaints = browser.problems() if run else []
                if verb == 'start':
                    run = Run(browser, url)
                    answer = 'ok'
                elif verb == 'do':
                    run.perform(unescape(argument))
                    answer = 'ok'
                elif verb == 'state':
                    answer = run.monkey_state()
                else:
                    answer = 'unknown command ' + line
                if complaints:
                    answer = 'console: ' + ' | '.join(complaints)
            except Exception as error:
                answer = '%s: %s' % (type(error).__name__, (str(error).splitlines() or [''])[0])
            oracle.stdin.write(answer + '\n')
            oracle.stdin.flush()
    finally:
        oracle.stdin.close()
        code = oracle.wait()
    return code


def run_scenario(browser, url, scenario):
    """What the page showed that the table does not expect."""
    problems = []
    try:
        run = Run(browser, url)
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
        if not wait_until(lambda: run.read(LOADED) or run.gone, timeout=10):
            problems.append('the page never finished loading its pictures and fonts')
    except Exception as error:  # a failed step fails the scenario, the others still run
        problems.append('%s: %s' % (type(error).__name__, error))
    problems += ['console: ' + line for line in browser.problems()]
    return problems


def look_problems(look, windows, box):
    """Where the page's look differs from the design."""
    problems = []
    shown = [p['name'] for p in look['parts'] if p['kind'] == 'window']
    if shown != windows or any(p['kind'] == 'box' for p in look['parts']) != box:
        problems.append('shown: %s%s, expected %s%s' % (', '.join(shown) or 'no window', ' and a message box' * box,
                                                        ', '.join(windows), ' and a message box' * box))
    for item, (behind, text) in [(p, PART_LOOK[p['kind']]) for p in look['parts']] + \
            [(c, CONTROL_LOOK[c['kind']]) for c in look['controls']]:
        behind = behind or (PANEL if item.get('white') else FACE)
        if item['behind'] != behind:
            problems.append('%s: face %s, the design has %s' % (item['name'], item['behind'], behind))
        if text and item['text'] != text:
            problems.append('%s: text %s, the design has %s' % (item['name'], item['text'], text))
    for c in look['controls']:
        if any(abs(a - b) > 1 for a, b in zip(c['box'], c['table'])):
            problems.append('%s: at %.1f, %.1f, %.1f x %.1f px in its container; its table puts it at '
                            '%.1f, %.1f, %.1f x %.1f' % tuple([c['name']] + c['box'] + c['table']))
    return problems


def check_look(browser, url):
    """The page against the design in each state of LOOK_STATES, on the
    page as freshly loaded: [(state, problems), ...]."""
    results = []
    name = LOOK_STATES[0][0]
    try:
        run = Run(browser, url)
        for name, windows, box, actions in LOOK_STATES:
            for action in actions:
                if action == 'open-box':  # Help > Instructions, the box left open
                    browser.key('i', CTRL)
                    if not wait_until(lambda: run.read(OPEN_BOX), timeout=10):
                        raise AssertionError('no message box came')
                elif action == 'close-box':
                    browser.key('enter')
                    run.settle()
                else:
                    run.perform(action)
            if not wait_until(lambda: run.read(LOADED), timeout=10):
                raise AssertionError('the page never finished loading its pictures and fonts')
            results.append((name, look_problems(browser.js(READ_LOOK), windows, box)))
    except Exception as error:  # the state that was not reached fails
        results.append((name, ['%s: %s' % (type(error).__name__, error)]))
    results[-1][1].extend('console: ' + line for line in browser.problems())
    return results


def monkey_main(engine, site, command):
    server = SiteServer(site)
    started = time.monotonic()
    browser = open_engine(engine)
    try:
        browser.problems()
        code = serve_monkey(browser, server.url, command)
    finally:
        browser.quit()
        server.stop()
    print('%s: the monkey %s (%.1f s)' % (engine, 'failed' if code else 'passed', time.monotonic() - started))
    return 1 if code else 0


def main():
    args = sys.argv[1:]
    if '--' not in args:
        sys.exit(__doc__)
    options, command = args[:args.index('--')], args[args.index('--') + 1:]
    engine, safari_rule, monkey, site = 'chromium', False, False, None
    while options:
        option = options.pop(0)
        if option == '--engine' and options and options[0] in ENGINES:
            engine = options.pop(0)
        elif option == '--safari-rule':
            safari_rule = True
        elif option == '--monkey':
            monkey = True
        elif not option.startswith('-') and site is None:
            site = site_folder(option)
        else:
            sys.exit(__doc__)
    if site is None or not command:
        sys.exit(__doc__)
    if monkey:
        sys.exit(monkey_main(engine, site, command))
    scenarios = json.loads(subprocess.run(command, check=True, capture_output=True, text=True).stdout)
    server = SiteServer(site)
    started = time.monotonic()
    browser = open_engine(engine)
    failures = checks = 0
    try:
        if safari_rule:
            browser.add_preload(SAFARI_RULE)
        browser.problems()  # what the browser said before the first page is not the page's
        for state, problems in check_look(browser, server.url):
            checks += 1
            if problems:
                failures += 1
                print('FAIL: the look of %s\n    %s' % (state, '\n    '.join(problems)), flush=True)
            else:
                print('ok: the look of %s' % state, flush=True)
        for scenario in scenarios:
            problems = run_scenario(browser, server.url, scenario)
            if problems:
                failures += 1
                print('FAIL: %s\n    %s' % (scenario['name'], '\n    '.join(problems)), flush=True)
            else:
                print('ok: %s' % scenario['name'], flush=True)
    finally:
        browser.quit()
        server.stop()
    print('%s%s: %d of %d looks and scenarios failed (%.1f s)' % (
        engine, ' with the Safari rule' if safari_rule else '', failures, checks + len(scenarios),
        time.monotonic() - started))
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
