#!/usr/bin/python3
"""Lighthouse on the site, served on 127.0.0.1, with Debian's Chromium.

Lighthouse 12.2.3 from npm (bench/web/lighthouse/package.json; `npm ci` in
that folder first), run RUNS times on each preset, in turn: the default
(mobile: a mid-range phone on a slow 4G network, simulated) and
`--preset=desktop`; categories performance, accessibility, best practices
and SEO. Each run is a fresh Chromium with a profile of its own. Prints
each run's scores and metrics, then the median and the range per preset.

usage: lighthouse.py SITE_DIR [--runs N] [--preset mobile|desktop] [--json DIR]

--preset runs that preset alone.

With --json the reports are kept in DIR (mobile-1.json, desktop-1.json, ...).
"""

import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tests', 'ui', 'web'))

from web_driver import CHROMIUM, SiteServer, site_folder  # noqa: E402

LIGHTHOUSE = os.path.join(HERE, 'lighthouse', 'node_modules', 'lighthouse', 'cli', 'index.js')
CATEGORIES = ('performance', 'accessibility', 'best-practices', 'seo')
METRICS = (('FCP', 'first-contentful-paint'), ('LCP', 'largest-contentful-paint'), ('SI', 'speed-index'),
           ('TBT', 'total-blocking-time'), ('CLS', 'cumulative-layout-shift'))
PRESETS = (('mobile', []), ('desktop', ['--preset=desktop']))


def disabled_features():
    """Lighthouse's launcher's --disable-features, RenderDocument left on.

    The launcher turns Chromium's RenderDocument off; with it off, Debian's
    Chromium (156) draws nothing for one to two seconds after the load in
    some two runs out of five, on any page, a page without a script
    included. Chromium has RenderDocument on by default, and so has
    puppeteer's launcher since. The switch's last value is the one Chromium
    takes, so the launcher's list is given again without it.
    """
    flags = os.path.join(HERE, 'lighthouse', 'node_modules', 'chrome-launcher', 'dist', 'flags.js')
    script = ("import(process.argv[1]).then((m) => console.log(m.DEFAULT_FLAGS"
              ".find((f) => f.startsWith('--disable-features='))))")
    listed = subprocess.run(['node', '-e', script, 'file://' + flags], check=True, capture_output=True,
                            text=True).stdout.strip()
    features = [f for f in listed.split('=', 1)[1].split(',') if f != 'RenderDocument']
    return '--disable-features=' + ','.join(features)


def run(url, preset_args, report, features):
    profile = tempfile.mkdtemp(prefix='emberline-lighthouse-')
    flags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
             '--disable-background-networking', '--disable-component-update', '--disable-sync',
             '--disable-extensions', '--disable-default-apps', '--user-data-dir=' + profile, features]
    try:
        subprocess.run(['node', LIGHTHOUSE, url, '--quiet', '--output=json', '--output-path=' + report,
                        '--only-categories=' + ','.join(CATEGORIES), '--chrome-flags=' + ' '.join(flags)]
                       + preset_args, check=True, env=dict(os.environ, CHROME_PATH=CHROMIUM))
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    with open(report, encoding='utf-8') as f:
        result = json.load(f)
    if result.get('runtimeError'):
        raise SystemExit('Lighthouse: %s' % result['runtimeError'])
    row = {c: round(100 * result['categories'][c]['score']) for c in CATEGORIES}
    for name, audit in METRICS:
        row[name] = result['audits'][audit]['numericValue']
    row['bytes'] = result['audits']['total-byte-weight']['numericValue']
    failed = [a for c in CATEGORIES for a in (ref['id'] for ref in result['categories'][c]['auditRefs'])
              if result['audits'][a].get('score') is not None and result['audits'][a]['score'] < 1
              and result['audits'][a].get('scoreDisplayMode') in ('binary', 'numeric', 'metricSavings')]
    row['below'] = sorted(set(failed))
    return row


def show(label, row):
    metrics = '  '.join('%s %s' % (name, ('%.3f' % row[name]) if name == 'CLS' else '%4.0f ms' % row[name])
                        for name, _ in METRICS)
    scores = ' '.join('%3d' % row[c] for c in CATEGORIES)
    print('  %-10s %s   %s  %6.1f KiB' % (label, scores, metrics, row['bytes'] / 1024))
    if row['below']:
        print('             below full marks: %s' % ', '.join(row['below']))


def main():
    args = sys.argv[1:]
    runs, keep, presets = 5, None, PRESETS
    for option in ('--runs', '--json', '--preset'):
        if option in args:
            at = args.index(option)
            value = args[at + 1]
            del args[at:at + 2]
            if option == '--runs':
                runs = int(value)
            elif option == '--preset':
                presets = [p for p in PRESETS if p[0] == value]
                if not presets:
                    sys.exit(__doc__)
            else:
                keep = os.path.abspath(value)
                os.makedirs(keep, exist_ok=True)
    if len(args) != 1:
        sys.exit(__doc__)
    if not os.path.isfile(LIGHTHOUSE):
        sys.exit('Lighthouse is not installed: cd %s && npm ci' % os.path.dirname(os.path.dirname(LIGHTHOUSE)))
    features = disabled_features()
    server = SiteServer(site_folder(args[0]))
    reports = keep or tempfile.mkdtemp(prefix='emberline-lighthouse-reports-')
    rows = {preset: [] for preset, _ in presets}
    print('Scores: %s; metrics as Lighthouse reports them.' % ', '.join(CATEGORIES))
    try:
        for i in range(1, runs + 1):
            for preset, preset_args in presets:
                row = run(server.url, preset_args, os.path.join(reports, '%s-%d.json' % (preset, i)), features)
                rows[preset].append(row)
                show('%s %d' % (preset, i), row)
    finally:
        server.stop()
        if not keep:
            shutil.rmtree(reports, ignore_errors=True)
    print()
    print('Median (min-max) of %d runs:' % runs)
    for preset, _ in presets:
        parts = []
        for key in CATEGORIES + tuple(name for name, _ in METRICS):
            values = [row[key] for row in rows[preset]]
            fmt = '%.3f' if key == 'CLS' else '%.0f'
            parts.append(('%s ' + fmt + ' (' + fmt + '-' + fmt + ')') %
                         (key, statistics.median(values), min(values), max(values)))
        print('  %-8s %s' % (preset, '; '.join(parts)))


if __name__ == '__main__':
    main()
