// The assembled page as a whole: what shows for trivial and broken lists, the
// list arriving unchanged whatever it holds, and the styles and logo.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { assemble, cleanUp, sample, screenshot, startBrowser } from './harness.mjs';

let browser;
before(async () => { browser = await startBrowser(); });
after(async () => { await browser.close(); cleanUp(); });

const shown = (page) => page.evaluate(() => ({
  text: document.body.innerText.trim().split('\n').filter((line) => line.trim() !== ''),
  recommended: document.getElementById('recommended').innerHTML,
  other: document.getElementById('other').innerHTML,
  loader: getComputedStyle(document.getElementById('three-circle-loader')).display,
}));

describe('what the page shows', () => {
  test('an empty list: the heading, the question and the switch only', async () => {
    const { page, errors, calls } = await browser.open(assemble('{}'));
    assert.deepEqual(await shown(page), {
      text: ['quillbox Setup Selection', 'Select the setup you like to perform:', '▽ Show more options'],
      recommended: '',
      other: '',
      loader: 'none',
    });
    assert.equal((await calls()).length, 8);
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('a list that is not a valid script expression: only the template texts', async () => {
    const { page, errors, calls } = await browser.open(assemble('{"quillbox": {"name": "cut off in the mid'));
    assert.deepEqual(await shown(page), {
      text: ['quillbox Setup Selector', 'Select your setup options below.'],
      recommended: '',
      other: '',
      loader: 'none',
    });
    assert.equal(await page.locator('#switch').textContent(), '');
    assert.deepEqual(await calls(), []);
    assert.equal(errors.length, 1, 'the one script element fails as a whole');
    await page.close();
  });
});

describe('the update list arrives unchanged', () => {
  const lists = [
    { name: 'a script end tag', list: '{"quillbox": {"name": "</script><script>window.__ran = 1</script>"}}' },
    { name: 'an upper-case script end tag', list: '{"a": "</SCRIPT >", "b": "</script\\t"}' },
    { name: 'a comment opener before a script start tag', list: '{"a": "<!--<script>", "b": "-->"}' },
    { name: 'every placeholder text', list: JSON.stringify({ a: '// lgse_inc // cash_inc // lang_inc // i18n_inc // code_inc // code_upd /* CSS_inc */ // inc_production' }) },
    { name: 'escapes and text beyond ASCII', list: '\n {"a": "<\\/script> \\u003c \\" \' Größe ✉ 😀 \u2028", "b": [1, 2.5, null, true]}\n' },
    { name: 'the sample list', list: JSON.stringify(sample()) },
  ];
  for (const c of lists) {
    test(`with ${c.name}`, async () => {
      const { page, errors } = await browser.open(assemble(c.list));
      assert.deepEqual(await page.evaluate(() => updates), JSON.parse(c.list));
      assert.equal(await page.evaluate(() => window.__ran), undefined);
      assert.equal(await page.evaluate(() => typeof fillList), 'function');
      assert.equal(await page.locator('h1').textContent(), 'quillbox Setup Selection');
      assert.deepEqual(errors, []);
      await page.close();
    });
  }
});

describe('styles', () => {
  let page;
  before(async () => {
    // Outlook classic 64 found: the add-in recommended, the rest in "other".
    ({ page } = await browser.open(assemble(sample()), { found: ['pb_isOutlookClassic64'] }));
  });
  after(async () => { await page.close(); });

  // The value once the background transition has run its course.
  const settledBackground = (selector) => page.evaluate(async (s) => {
    const element = document.querySelector(s);
    await Promise.all(element.getAnimations().map((a) => a.finished));
    return getComputedStyle(element).backgroundColor;
  }, selector);

  test('the page as it first shows', async () => {
    await screenshot(page, 'page-en-recommended.png');
    const style = await page.evaluate(() => {
      const get = (s) => getComputedStyle(document.querySelector(s));
      return {
        other: [get('#other').height, get('#other').overflow],
        entry: [get('#recommended td').display, get('#recommended td').backgroundColor, get('#recommended td').borderTopWidth],
        plainEntry: get('#other td').backgroundColor,
        heading: [get('h1').color, get('h1').paddingLeft, get('h1').backgroundRepeat, get('h1').backgroundSize],
        button: [get('#recommended a.recommended').backgroundColor, get('#recommended a:not(.recommended)').backgroundColor],
      };
    });
    assert.deepEqual(style, {
      other: ['0px', 'hidden'],
      entry: ['block', 'rgb(248, 255, 218)', '1px'],
      plainEntry: 'rgb(246, 246, 246)',
      heading: ['rgb(138, 45, 59)', '50px', 'no-repeat', 'contain'],
      button: ['rgb(174, 255, 98)', 'rgb(209, 219, 241)'],
    });
  });

  const hovers = [
    { name: 'a recommended button', selector: '#recommended a.recommended', colour: 'rgb(155, 224, 90)' },
    { name: 'an unmarked button', selector: '#recommended a:not(.recommended)', colour: 'rgb(165, 193, 249)' },
    { name: 'the switch', selector: '#switch', colour: 'rgb(165, 193, 249)' },
  ];
  for (const h of hovers) {
    test(`hovering ${h.name}`, async () => {
      await page.hover(h.selector);
      assert.equal(await settledBackground(h.selector), h.colour);
      await page.mouse.move(790, 590);
    });
  }

  test('the logo is a 256 × 256 image that the browser decodes', async () => {
    const size = await page.evaluate(async () => {
      const value = getComputedStyle(document.querySelector('h1.logo')).backgroundImage;
      const image = new Image();
      image.src = value.slice('url("'.length, -'")'.length);
      await image.decode();
      return [value.startsWith('url("data:image/png;base64,'), image.naturalWidth, image.naturalHeight];
    });
    assert.deepEqual(size, [true, 256, 256]);
  });

  test('the overlay lies above the page and below the loader', async () => {
    const { page: busy, settle } = await browser.open(assemble(sample()), { hold: ['pb_runSetup'] });
    await busy.click('#recommended a >> nth=0');
    const layers = await busy.evaluate(() => {
      const overlay = document.getElementById('fullPageOverlay');
      const loader = document.getElementById('three-circle-loader');
      const button = document.querySelector('#recommended a');
      const o = getComputedStyle(overlay);
      const l = loader.getBoundingClientRect();
      const b = button.getBoundingClientRect();
      return {
        overlay: [o.position, o.zIndex, o.backgroundColor, o.width, o.height],
        loader: [getComputedStyle(loader).zIndex, getComputedStyle(loader).position],
        onButton: document.elementFromPoint(b.x + b.width / 2, b.y + b.height / 2).id,
        onLoader: document.elementFromPoint(l.x + l.width / 2, l.y + l.height / 2).id,
      };
    });
    assert.deepEqual(layers, {
      overlay: ['fixed', '100', 'rgba(255, 255, 255, 0.5)', '800px', '600px'],
      loader: ['110', 'fixed'],
      onButton: 'fullPageOverlay',
      onLoader: 'three-circle-loader',
    });
    await settle('pb_runSetup');
    await busy.close();
  });
});
