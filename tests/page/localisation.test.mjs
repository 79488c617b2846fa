// The page language: the native choice, the browser's languages when there is
// none, and the translation functions.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { assemble, cleanUp, readSections, sample, screenshot, startBrowser } from './harness.mjs';

let browser;
before(async () => { browser = await startBrowser(); });
after(async () => { await browser.close(); cleanUp(); });

const texts = (page) => page.evaluate(() => ({
  title: document.querySelector('h1').textContent,
  question: document.querySelector('p').textContent,
  switch: document.getElementById('switch').textContent,
}));

const german = {
  title: 'quillbox Setup-Auswahl',
  question: 'Wählen Sie das Setup welches Sie durchführen möchten:',
  switch: '▽ Weitere Optionen anzeigen',
};
const french = {
  title: "Sélection de l'installateur quillbox",
  question: 'Sélectionnez la configuration que vous souhaitez effectuer :',
  switch: "▽ Afficher d'autres options",
};
const english = {
  title: 'quillbox Setup Selection',
  question: 'Select the setup you like to perform:',
  switch: '▽ Show more options',
};

describe('page language', () => {
  const cases = [
    { name: 'selectedLanguage "de"', language: 'de', texts: german, code: 'DE', recommended: 'Empfohlen!', install: 'Installiere 64 Bit', screenshot: 'page-de.png' },
    { name: 'selectedLanguage "fr"', language: 'fr', texts: french, code: 'FR', recommended: 'Recommandé !', install: 'Installer 64 Bit' },
    { name: 'selectedLanguage wins over the browser', language: 'en', languages: ['de-DE'], texts: english, code: 'EN', recommended: 'Recommended!', install: 'Install 64 Bit' },
    { name: 'browser fr-CH then de-DE', languages: ['fr-CH', 'de-DE'], texts: french, code: 'FR', recommended: 'Recommandé !', install: 'Installer 64 Bit' },
    { name: 'browser es-ES', languages: ['es-ES'], texts: english, code: 'EN', recommended: 'Recommended!', install: 'Install 64 Bit' },
    { name: 'browser upper-case DE', languages: ['DE'], texts: english, code: 'EN', recommended: 'Recommended!', install: 'Install 64 Bit' },
    { name: 'browser es, then de', languages: ['es', 'de'], texts: german, code: 'DE', recommended: 'Empfohlen!', install: 'Installiere 64 Bit' },
  ];
  for (const c of cases) {
    test(c.name, async () => {
      const html = assemble(sample(), c.language || 'en', { withoutLanguage: !c.language });
      const { page, errors } = await browser.open(html, { languages: c.languages || null });
      assert.deepEqual(await texts(page), c.texts);
      // The entries follow the same language, descriptions included.
      const { recommended } = await readSections(page);
      assert.equal(recommended[0].description, sample().quillbox.windows.description[c.code]);
      assert.equal(recommended[0].recommendation, `<b>${c.recommended}</b>`);
      assert.equal(recommended[0].buttons[0].text, c.install);
      assert.equal(await page.title(), 'tolvane Setup Selector');
      assert.deepEqual(errors, []);
      if (c.screenshot) await screenshot(page, c.screenshot);
      await page.close();
    });
  }
});

describe('translation', () => {
  let page;
  before(async () => { ({ page } = await browser.open(assemble(sample(), 'en'))); });
  after(async () => { await page.close(); });

  test('an element whose key the table lacks keeps its template text', async () => {
    const html = assemble(sample(), 'de').replace('data-i18n-key="main-question"', 'data-i18n-key="no-such-key"');
    const { page: other } = await browser.open(html);
    const shown = await texts(other);
    assert.equal(shown.question, 'Select your setup options below.');
    assert.equal(shown.title, german.title);
    assert.equal(await other.evaluate(() => translate('no-such-key')), undefined);
    await other.close();
  });

  const interpolations = [
    { name: 'markup in a value is escaped', text: 'Hello {user}', values: { user: '<b>' }, result: 'Hello &lt;b&gt;' },
    { name: 'all five characters, ampersands not escaped twice', text: '{v}', values: { v: `&lt; <>"'` }, result: '&amp;lt; &lt;&gt;&quot;&apos;' },
    { name: 'every occurrence, every member', text: '{a}{b}{a}', values: { a: 1, b: 'x' }, result: '1x1' },
    { name: 'values are taken literally', text: '{a}', values: { a: '$&$1' }, result: '$&amp;$1' },
    { name: 'names are taken literally', text: '{a.b}{ab}', values: { 'a.b': 'X' }, result: 'X{ab}' },
    { name: 'members fill in their own order', text: '{a}', values: { a: '{b}', b: 'B' }, result: 'B' },
    { name: 'no members: the text as it is', text: 'x {y} &', values: {}, result: 'x {y} &' },
  ];
  for (const c of interpolations) {
    test(`translate: ${c.name}`, async () => {
      const result = await page.evaluate(([text, values]) => {
        translations.probe = text;
        return translate('probe', values);
      }, [c.text, c.values]);
      assert.equal(result, c.result);
    });
  }

  test('translate without interpolations, and with a key from the prototype', async () => {
    assert.deepEqual(await page.evaluate(() => [translate('recommended'), translate('constructor')]),
      ['<b>Recommended!</b>', undefined]);
  });

  test('an element with data-i18n-opt gets its placeholders filled', async () => {
    const html = await page.evaluate(() => {
      translations.greeting = 'Hi <i>{name}</i>';
      const element = document.createElement('span');
      element.setAttribute('data-i18n-key', 'greeting');
      element.setAttribute('data-i18n-opt', JSON.stringify({ name: '<script>' }));
      _translateElement(element);
      return element.innerHTML;
    });
    assert.equal(html, 'Hi <i>&lt;script&gt;</i>');
  });

  test('transSetLocale with the active language leaves the page alone', async () => {
    const result = await page.evaluate(() => {
      const h1 = document.querySelector('h1');
      h1.textContent = 'changed';
      transSetLocale('en');
      const same = h1.textContent;
      transSetLocale('fr');
      return [same, h1.textContent, locale];
    });
    assert.deepEqual(result, ['changed', french.title, 'fr']);
  });
});
