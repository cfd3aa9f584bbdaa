// Writes the site's index.html with the main window in it, so that the
// window shows as soon as the page and its style sheet have arrived, before
// the module has. The window is built by the page's own scripts (the ones
// the module links, in the same order) from the same layout table, on a
// small stand-in for the browser's document, with the calls the module
// makes as it starts: the window created, the texts the program leaves in
// it written, the window shown. The copy is inert, taking no input: the
// module's window takes its place as it starts (web_windows.js).
//
// usage: node prerender.js TEMPLATE OUTPUT SCRIPT... -- COMMAND...
// COMMAND prints the window as the program starts it (site_main_window).
// TEMPLATE is index.html with @EMBERLINE_MAIN_WINDOW@ where the window goes
// (the end of <main id="windows">, where the page puts it).
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const vm = require('vm');

// The stand-in document: elements with their attributes, children and
// inline style, only what the page's scripts do while building and showing
// a window. Setting a property it does not know is an error, so that a
// script that starts using more of the DOM fails the build instead of
// leaving its effect out of the copy.

const VOID = new Set(['img', 'input']);
const EXPANDOS = new Set(['emberline']); // the scripts' own data on an element

function escapeText(text) {
  return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/\u00a0/g, '&nbsp;');
}

function escapeAttribute(text) {
  return escapeText(text).replace(/"/g, '&quot;');
}

function kebab(name) {
  return name.replace(/[A-Z]/g, (c) => '-' + c.toLowerCase());
}

class Text {
  constructor(text) {
    this.data = String(text);
    this.parentNode = null;
  }
  get textContent() { return this.data; }
  html() { return escapeText(this.data); }
}

class Element {
  constructor(tag) {
    this.tagName = tag.toUpperCase();
    this.parentNode = null;
    this.childNodes = [];
    this.attributes = new Map();
    this.styles = new Map();
    const element = this;
    this.style = new Proxy({}, {
      get(_, name) {
        if (name === 'setProperty')
          return (property, value) => element.setStyle(property, value);
        if (name === 'removeProperty')
          return (property) => element.styles.delete(property);
        return element.styles.get(kebab(String(name))) || '';
      },
      set(_, name, value) {
        element.setStyle(kebab(String(name)), value);
        return true;
      },
    });
    this.dataset = new Proxy({}, {
      get(_, name) { return element.getAttribute('data-' + kebab(String(name))) || undefined; },
      set(_, name, value) {
        element.setAttribute('data-' + kebab(String(name)), value);
        return true;
      },
    });
    this.classList = {
      add: (name) => {
        const names = this.className.split(' ').filter(Boolean);
        if (!names.includes(name))
          this.className = names.concat(name).join(' ');
      },
      contains: (name) => this.className.split(' ').includes(name),
    };
    return new Proxy(this, {
      set(target, name, value) {
        if (!(name in target) && !EXPANDOS.has(name))
          throw new Error('the page builder set ' + target.tagName.toLowerCase() + '.' + String(name) +
                          ', which prerender.js does not know');
        target[name] = value;
        return true;
      },
    });
  }

  setStyle(property, value) {
    this.styles.set(property, String(value));
  }

  setAttribute(name, value) { this.attributes.set(name, String(value)); }
  getAttribute(name) { return this.attributes.has(name) ? this.attributes.get(name) : null; }
  hasAttribute(name) { return this.attributes.has(name); }
  removeAttribute(name) { this.attributes.delete(name); }

  // Reflected attributes, as the DOM has them.
  get id() { return this.getAttribute('id') || ''; }
  set id(value) { this.setAttribute('id', value); }
  get className() { return this.getAttribute('class') || ''; }
  set className(value) { this.setAttribute('class', value); }
  get type() { return this.getAttribute('type') || ''; }
  set type(value) { this.setAttribute('type', value); }
  get autocomplete() { return this.getAttribute('autocomplete') || ''; }
  set autocomplete(value) { this.setAttribute('autocomplete', value); }
  get alt() { return this.getAttribute('alt') || ''; }
  set alt(value) { this.setAttribute('alt', value); }
  get src() { return this.getAttribute('src') || ''; }
  set src(value) { this.setAttribute('src', value); }
  get srcset() { return this.getAttribute('srcset') || ''; }
  set srcset(value) { this.setAttribute('srcset', value); }
  get spellcheck() { return this.getAttribute('spellcheck') !== 'false'; }
  set spellcheck(value) { this.setAttribute('spellcheck', value ? 'true' : 'false'); }
  get draggable() { return this.getAttribute('draggable') === 'true'; }
  set draggable(value) { this.setAttribute('draggable', value ? 'true' : 'false'); }
  get hidden() { return this.hasAttribute('hidden'); }
  set hidden(value) { this.toggle('hidden', value); }
  get inert() { return this.hasAttribute('inert'); }
  set inert(value) { this.toggle('inert', value); }
  toggle(name, on) {
    if (on)
      this.setAttribute(name, '');
    else
      this.removeAttribute(name);
  }

  // A box's text is written as its value attribute: what it shows when the
  // page has loaded.
  get value() { return this.getAttribute('value') || ''; }
  set value(text) { this.setAttribute('value', text); }

  // The page's width is not known here: as wide as any window.
  get clientWidth() { return Infinity; }

  get textContent() { return this.childNodes.map((node) => node.textContent).join(''); }
  set textContent(text) {
    this.childNodes.forEach((node) => { node.parentNode = null; });
    this.childNodes = text === '' ? [] : [new Text(text)];
  }

  appendChild(node) {
    if (node.parentNode)
      node.parentNode.childNodes.splice(node.parentNode.childNodes.indexOf(node), 1);
    node.parentNode = this;
    this.childNodes.push(node);
    return node;
  }

  find(id) {
    if (this.id === id)
      return this;
    for (const node of this.childNodes) {
      const found = node instanceof Element ? node.find(id) : null;
      if (found)
        return found;
    }
    return null;
  }

  html() {
    const tag = this.tagName.toLowerCase();
    const attributes = new Map(this.attributes);
    if (this.styles.size) {
      attributes.set('style', Array.from(this.styles, ([name, value]) => name + ': ' + value + ';').join(' '));
    }
    let text = '<' + tag;
    attributes.forEach((value, name) => {
      text += value === '' ? ' ' + name : ' ' + name + '="' + escapeAttribute(value) + '"';
    });
    text += '>';
    if (VOID.has(tag))
      return text;
    return text + this.childNodes.map((node) => node.html()).join('') + '</' + tag + '>';
  }
}

function ignore() { }

// Builds the window and returns the page's state: its title, its heading's
// text (when it has one) and the window's HTML.
function prerender(scripts, start, hasHeading) {
  const html = new Element('html');
  const body = html.appendChild(new Element('body'));
  const main = body.appendChild(new Element('main'));
  main.id = 'windows';
  let heading = null;
  if (hasHeading) {
    heading = main.appendChild(new Element('h1'));
    heading.id = 'caption';
  }
  const document = {
    title: '',
    documentElement: html,
    body: body,
    activeElement: body,
    createElement: (tag) => new Element(tag),
    createTextNode: (text) => new Text(text),
    getElementById: (id) => html.find(id),
    addEventListener: ignore,
  };
  const context = {
    document: document,
    history: {state: null, pushState: ignore, replaceState: ignore},
    Module: {},
    console: console,
    addEventListener: ignore,
    matchMedia: () => ({matches: false}),
  };
  context.window = context;
  vm.createContext(context);
  for (const script of scripts)
    vm.runInContext(fs.readFileSync(script, 'utf8'), context, {filename: script});

  // The module's calls as the program starts.
  const page = (call) => vm.runInContext(call, context);
  const handle = 1;
  context.start = start;
  page('EmberlineWindows.createWindow(' + handle + ', start.design)');
  for (const name of Object.keys(start.boxes))
    page('EmberlineWindows.writeBox(' + handle + ', ' + JSON.stringify(name) + ', start.boxes[' + JSON.stringify(name) + '])');
  for (const name of Object.keys(start.labels))
    page('EmberlineWindows.writeLabel(' + handle + ', ' + JSON.stringify(name) + ', start.labels[' + JSON.stringify(name) + '])');
  page('EmberlinePage.showWindow(' + handle + ')');

  const root = page('EmberlineWindows.windows.get(' + handle + ').root');
  if (root.hidden || root.parentNode !== main)
    throw new Error('the main window was not shown in <main id="windows">');
  root.inert = true;
  // The page scales a window narrower than it to fit (--fit, on the
  // window, web_page.js); here the page's width is not known. The copy
  // takes its scale from the element around it instead, set by a script
  // that runs before the copy is parsed, and so before it can be drawn.
  root.style.removeProperty('--fit');
  const fit = '(' + page('EmberlineWindows.fitScale.toString()').replace(/\n\s*/g, ' ') + ')' +
              '(document.documentElement.clientWidth, ' + JSON.stringify(start.design.width) + ')';
  const script = '<script>document.currentScript.parentNode.style.setProperty("--fit", String(' + fit +
                 '));</script>';
  return {title: document.title, heading: heading && heading.textContent, window: script + '\n' + root.html()};
}

function main() {
  const args = process.argv.slice(2);
  const dashes = args.indexOf('--');
  if (dashes < 3 || dashes === args.length - 1) {
    console.error('usage: node prerender.js TEMPLATE OUTPUT SCRIPT... -- COMMAND...');
    process.exit(2);
  }
  const [template, output] = args;
  const scripts = args.slice(2, dashes);
  const command = args.slice(dashes + 1);
  const start = JSON.parse(childProcess.execFileSync(command[0], command.slice(1), {encoding: 'utf8'}));

  let page = fs.readFileSync(template, 'utf8');
  const marker = '@EMBERLINE_MAIN_WINDOW@';
  const headingPattern = /(<(\w+)\b[^>]*\bid="caption"[^>]*>)[^<]*(<\/\2>)/;
  if (!page.includes(marker) || !/<title>[^<]*<\/title>/.test(page))
    throw new Error(template + ' has no ' + marker + ' or no <title>');
  const shown = prerender(scripts, start, headingPattern.test(page));
  page = page.replace(/<title>[^<]*<\/title>/, () => '<title>' + escapeText(shown.title) + '</title>');
  if (shown.heading !== null)
    page = page.replace(headingPattern, (_, open, tag, close) => open + escapeText(shown.heading) + close);
  page = page.replace(marker, () => shown.window);
  fs.writeFileSync(output, page);
}

main();
