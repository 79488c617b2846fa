// Shared set-up of the page tests: pages printed by build/quillbox-page,
// loaded in Debian's Chromium with stand-ins for the six bridge functions.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const repoRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const pageTool = process.env.QUILLBOX_PAGE || path.join(repoRoot, 'build/quillbox-page');
export const screenshotDir = process.env.QUILLBOX_SCREENSHOTS || path.join(path.dirname(pageTool), 'screenshots');

export const sampleList = readFileSync(path.join(repoRoot, 'tests/fixtures/update-sample.json'), 'utf8');
export const sample = () => JSON.parse(sampleList);

export const detectors = ['pb_isThunderbird', 'pb_isOutlookClassic32', 'pb_isOutlookClassic64', 'pb_isOutlookNew'];

const workDir = mkdtempSync(path.join(tmpdir(), 'quillbox-page-test-'));
let fileCounter = 0;

// The page for a list (text, or a value written as JSON) and a language.
// withoutLanguage strips the selectedLanguage declaration, as for a page that
// falls back to the browser's languages.
export function assemble(list, language = 'en', { withoutLanguage = false } = {}) {
  const listFile = path.join(workDir, `list-${++fileCounter}.json`);
  writeFileSync(listFile, typeof list === 'string' ? list : JSON.stringify(list, null, 2));
  let html = execFileSync(pageTool, [listFile, language], { encoding: 'utf8' });
  if (withoutLanguage) {
    const stripped = html.replace(/^[ \t]*var selectedLanguage = .*\n/m, '');
    if (stripped === html) throw new Error('no selectedLanguage declaration to strip');
    html = stripped;
  }
  return html;
}

// Runs inside the page before any of its scripts: answers like the native
// handlers ({found: 1} or {found: 0} for detectors, {} otherwise), records
// every call, holds calls until the test settles them, or rejects them.
function installBridge(config) {
  const calls = [];
  const held = [];
  const answer = (name) => (name.startsWith('pb_is') ? { found: config.found.includes(name) ? 1 : 0 } : {});
  const names = ['pb_isThunderbird', 'pb_isOutlookClassic32', 'pb_isOutlookClassic64', 'pb_isOutlookNew',
    'pb_openUrl', 'pb_runSetup'];
  for (const name of names) {
    window[name] = (...args) => {
      // The real bridge passes the arguments as JSON text.
      calls.push({ name, args: JSON.parse(JSON.stringify(args)) });
      if (config.reject.includes(name)) return Promise.reject(new Error(`${name} failed`));
      if (config.hold.includes(name)) {
        return new Promise((resolve, reject) => held.push({ name, resolve, reject }));
      }
      return Promise.resolve(answer(name));
    };
  }
  window.__bridge = {
    calls,
    held: () => held.map((h) => h.name),
    // Settles the oldest held call; resolves once the page has run
    // everything that was waiting on it.
    settle(name, ok) {
      const i = held.findIndex((h) => h.name === name);
      if (i < 0) throw new Error(`no held call of ${name}`);
      const [call] = held.splice(i, 1);
      if (ok) call.resolve(answer(name));
      else call.reject(new Error(`${name} failed`));
      return new Promise((done) => setTimeout(done, 0));
    },
  };
  if (config.languages) {
    Object.defineProperty(Navigator.prototype, 'languages', { get: () => config.languages.slice() });
  }
}

const browserArgs = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// One browser per test file, with a fresh, empty profile.
export async function startBrowser() {
  const profile = mkdtempSync(path.join(tmpdir(), 'quillbox-page-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: browserArgs,
    viewport: { width: 800, height: 600 },
  });
  return {
    // Loads a page; found lists the detectors that find their client.
    async open(html, { found = [], hold = [], reject = [], languages = null } = {}) {
      const page = await context.newPage();
      // A missing element fails the test soon instead of after half a minute.
      page.setDefaultTimeout(10000);
      const errors = [];
      const requests = [];
      page.on('pageerror', (error) => errors.push(error));
      // The page loads nothing of its own; anything else it asks for is
      // recorded and refused.
      await page.route('**/*', (route) => {
        const url = route.request().url();
        if (url.startsWith('file:')) return route.continue();
        requests.push(url);
        return route.abort();
      });
      await page.addInitScript(installBridge, { found, hold, reject, languages });
      const file = path.join(workDir, `page-${++fileCounter}.html`);
      writeFileSync(file, html);
      await page.goto(pathToFileURL(file).href);
      // Stand-in replies settle in microtasks; one task later the list is
      // built (or waiting on a held call).
      await page.evaluate(() => new Promise((done) => setTimeout(done, 0)));
      return {
        page,
        errors,
        requests,
        calls: () => page.evaluate(() => window.__bridge.calls),
        held: () => page.evaluate(() => window.__bridge.held()),
        settle: (name, ok = true) => page.evaluate(([n, o]) => window.__bridge.settle(n, o), [name, ok]),
      };
    },
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Both sections as plain data: each entry with its element, attributes,
// child structure and buttons.
export function readSections(page) {
  return page.evaluate(() => {
    const entry = (e) => ({
      tag: e.tagName,
      className: e.getAttribute('class'),
      id: e.getAttribute('id'),
      title: e.querySelector(':scope > .entryTitle')?.innerHTML,
      description: e.querySelector(':scope > .entryDesc')?.innerHTML,
      parts: [...e.children].map((c) => c.tagName + (c.tagName === 'DIV' ? `.${c.className}` : '')),
      recommendation: e.children[1]?.tagName === 'B' ? e.children[1].outerHTML : null,
      buttons: [...e.querySelectorAll(':scope > a')].map((a) => ({ text: a.textContent, className: a.getAttribute('class') })),
    });
    return {
      recommended: [...document.getElementById('recommended').children].map(entry),
      other: [...document.getElementById('other').children].map(entry),
    };
  });
}

export async function screenshot(page, name) {
  mkdirSync(screenshotDir, { recursive: true });
  await page.screenshot({ path: path.join(screenshotDir, name) });
}

export function cleanUp() {
  rmSync(workDir, { recursive: true, force: true });
}
