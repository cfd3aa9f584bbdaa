#!/usr/bin/python3
"""Makes the site's web fonts from Debian's font files.

Each face of the windows becomes a WOFF2 subset holding the glyphs of the
characters the program shows in it (the JSON printed by site_characters);
the sans face also gets printable ASCII, which covers every number and
message and what a user types on a US keyboard (other characters typed
into a box fall back to the system's sans face). Liberation Sans is renamed
Emberline Sans: its licence reserves the name Liberation for the original.
Beside each font goes its licence: the copyright notice and the SIL Open
Font License as Debian ships them.

usage: make_fonts.py OUTPUT_DIR EB_GARAMOND_DIR LIBERATION_DIR DOC_DIR -- CHARACTERS_COMMAND...
"""

import json
import os
import subprocess
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

ASCII = ''.join(chr(c) for c in range(0x20, 0x7F))

# The name records that carry the family's name.
NAME_IDS = (1, 3, 4, 6, 16, 17, 18, 21, 22)

# The OpenType features a browser applies to text by default: the glyphs
# that only other features reach (old-style or fraction figures, small
# capitals, swashes) are never shown, so they are left out.
BROWSER_FEATURES = ['ccmp', 'locl', 'mark', 'mkmk', 'calt', 'clig', 'liga', 'kern', 'rlig', 'rclt', 'curs', 'rvrn']


def fonts(garamond, liberation):
    """The site's font for each face of the layout tables:
    (face, bold) -> (source file, output file, new family name or None)."""
    return {
        ('Garamond', False): (os.path.join(garamond, 'EBGaramond12-Regular.otf'), 'EBGaramond12-Regular.woff2', None),
        ('Garamond', True): (os.path.join(garamond, 'EBGaramond12-Bold.otf'), 'EBGaramond12-Bold.woff2', None),
        ('MS Sans Serif', False): (os.path.join(liberation, 'LiberationSans-Regular.ttf'),
                                   'EmberlineSans-Regular.woff2', 'Emberline Sans'),
    }


def rename(font, family):
    """Gives the font a family name of its own in every record that names it."""
    postscript = family.replace(' ', '')
    for record in font['name'].names:
        if record.nameID not in NAME_IDS:
            continue
        text = record.toUnicode()
        text = text.replace('Liberation Sans', family).replace('LiberationSans', postscript)
        record.string = text


def make_font(source, output, text, family):
    options = subset.Options()
    options.flavor = 'woff2'
    options.layout_features = BROWSER_FEATURES
    # The TrueType instructions of Liberation Sans are most of its bytes;
    # browsers render without them (Chromium, Firefox and Safari ignore them
    # on Linux and macOS, and Windows needs them only at small sizes).
    options.hinting = not source.endswith('.ttf')
    # Every name record is kept: the copyright and licence go with the font.
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.notdef_outline = True
    font = subset.load_font(source, options)
    # The file's date stays the source's, so a rebuild gives the same bytes.
    font.recalcTimestamp = False
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    missing = sorted({c for c in text if ord(c) not in font.getBestCmap()} - {'\r', '\n'})
    if missing:
        sys.exit('%s has no glyph for %s' % (os.path.basename(source), ' '.join('U+%04X' % ord(c) for c in missing)))
    if family:
        rename(font, family)
    subset.save_font(font, output, options)


def licence(copyright_file, output, note):
    """The copyright file's header and its stanza for the fonts themselves
    (the other stanzas are about Debian's packaging and test files)."""
    with open(copyright_file, encoding='utf-8') as f:
        lines = f.read().split('\n')
    start = lines.index('Files: *')
    end = lines.index('', start) if '' in lines[start:] else len(lines)
    header = lines[:lines.index('')]
    with open(output, 'w', encoding='utf-8') as f:
        f.write(note + '\n\n' + '\n'.join(header + [''] + lines[start:end]) + '\n')


def main():
    if '--' not in sys.argv or sys.argv.index('--') != 5:
        sys.exit(__doc__)
    output, garamond, liberation, doc = sys.argv[1:5]
    command = sys.argv[6:]
    characters = json.loads(subprocess.run(command, check=True, capture_output=True, text=True).stdout)
    os.makedirs(output, exist_ok=True)
    table = fonts(garamond, liberation)
    for face in characters['faces']:
        key = (face['face'], face['bold'])
        if key not in table:
            sys.exit('no web font for %s%s' % (face['face'], ' bold' if face['bold'] else ''))
        source, name, family = table[key]
        text = face['text'] + ' '
        if family:
            text += ASCII + characters['interface']
        make_font(source, os.path.join(output, name), ''.join(sorted(set(text))), family)
    licence(os.path.join(doc, 'fonts-ebgaramond', 'copyright'), os.path.join(output, 'EBGaramond-LICENSE.txt'),
            'EBGaramond12-Regular.woff2 and EBGaramond12-Bold.woff2 are subsets of EB Garamond 12\n'
            '(Debian package fonts-ebgaramond), converted to WOFF2.')
    licence(os.path.join(doc, 'fonts-liberation2', 'copyright'), os.path.join(output, 'EmberlineSans-LICENSE.txt'),
            'EmberlineSans-Regular.woff2 is a subset of Liberation Sans Regular 2 (Debian package\n'
            'fonts-liberation2), converted to WOFF2 and renamed Emberline Sans, since the licence\n'
            'reserves the name Liberation for the original.')


if __name__ == '__main__':
    main()
