// What the page does when it is used: setups with the busy overlay, links,
// the switch of the other section, and the blocked context menu.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { assemble, cleanUp, readSections, sample, screenshot, startBrowser } from './harness.mjs';

let browser;
before(async () => { browser = await startBrowser(); });
after(async () => { await browser.close(); cleanUp(); });

const busyState = (page) => page.evaluate(() => ({
  loader: getComputedStyle(document.getElementById('three-circle-loader')).display,
  overlays: document.querySelectorAll('#fullPageOverlay').length,
}));
const calledWith = async (calls, name) => (await calls()).filter((c) => c.name === name).map((c) => c.args);

describe('running a setup', () => {
  const install64 = sample().quillbox.windows['64'][0].url;

  test('loader and overlay show while the call waits and go when it settles', async () => {
    const { page, calls, held, settle, errors } = await browser.open(assemble(sample()), { hold: ['pb_runSetup'] });
    assert.deepEqual(await busyState(page), { loader: 'none', overlays: 0 });
    await page.click('#recommended a >> nth=0');
    assert.deepEqual(await held(), ['pb_runSetup']);
    assert.deepEqual(await busyState(page), { loader: 'block', overlays: 1 });
    await screenshot(page, 'page-busy.png');

    // The page beneath takes no clicks meanwhile.
    await page.mouse.click(...(await centre(page, '#recommended a >> nth=1')));
    assert.deepEqual(await calledWith(calls, 'pb_runSetup'), [[install64]]);

    await settle('pb_runSetup', true);
    assert.deepEqual(await busyState(page), { loader: 'none', overlays: 0 });
    assert.deepEqual(errors, []);
    await page.close();
  });

  test('loader and overlay stay when the call is rejected', async () => {
    const { page, settle } = await browser.open(assemble(sample()), { hold: ['pb_runSetup'] });
    await page.click('#recommended a >> nth=0');
    await settle('pb_runSetup', false);
    assert.deepEqual(await busyState(page), { loader: 'block', overlays: 1 });
    await page.close();
  });

  // Whatever a URL holds, it reaches the bridge as it is in the list and no
  // script runs from it.
  const awkward = [
    'https://packages.tolvane.de/quillbox/setup.exe',
    "https://packages.tolvane.de/it's/setup.exe",
    'https://packages.tolvane.de/"quoted"/setup.exe',
    "x'); window.__ran = 'url'; ('",
    '" onmouseover="window.__ran = 1" x="',
    '"><img src=x onerror="window.__ran = 2">',
    '</a><script>window.__ran = 3</script>',
    'https://packages.tolvane.de/\\u0027; window.__ran = 4; //',
  ];
  for (const url of awkward) {
    test(`the URL ${JSON.stringify(url)} reaches the bridge literally`, async () => {
      const list = { quillbox: { name: 'q', windows: { description: { EN: 'd' }, 64: [{ url, link: url }] } } };
      const { page, calls, errors } = await browser.open(assemble(list));
      const buttons = page.locator('#recommended a');
      await buttons.nth(0).click();
      await buttons.nth(1).click();
      assert.deepEqual(await calledWith(calls, 'pb_runSetup'), [[url]]);
      assert.deepEqual(await calledWith(calls, 'pb_openUrl'), [[url]]);
      assert.equal(await page.evaluate(() => window.__ran), undefined);
      assert.deepEqual(errors, []);
      await page.close();
    });
  }
});

async function centre(page, selector) {
  const box = await page.locator(selector).boundingBox();
  return [box.x + box.width / 2, box.y + box.height / 2];
}

describe('links inside names and descriptions', () => {
  const list = {
    quillbox: {
      name: 'quillbox <a href="https://www.tolvane.de/quillbox" id="in-name">home</a>',
      windows: {
        description: {
          EN: 'See <a href="https://www.tolvane.de/notes?a=1&amp;b=\'2\'" id="in-desc">notes</a>, '
            + '<a href="mailto:support@tolvane.de" id="nested"><b>mail</b> us</a> '
            + 'or <a id="no-href">this</a>.',
        },
        64: [{ url: 'https://packages.tolvane.de/q.exe' }],
      },
    },
  };
  const cases = [
    { name: 'a link in the name', click: '#in-name', sent: ['https://www.tolvane.de/quillbox'] },
    { name: 'a link in the description', click: '#in-desc', sent: ["https://www.tolvane.de/notes?a=1&b='2'"] },
    { name: 'markup inside a link', click: '#nested b', sent: ['mailto:support@tolvane.de'] },
    { name: 'an a element without address', click: '#no-href', sent: null },
  ];
  for (const c of cases) {
    test(`${c.name} goes to pb_openUrl and the page stays`, async () => {
      const { page, calls, requests, errors } = await browser.open(assemble(list));
      const url = page.url();
      await page.evaluate(() => {
        window.__stays = true;
        window.addEventListener('click', (e) => { window.__prevented = e.defaultPrevented; });
      });
      await page.click(c.click);
      assert.deepEqual(await calledWith(calls, 'pb_openUrl'), c.sent ? [c.sent] : []);
      assert.equal(await page.evaluate(() => window.__prevented), c.sent !== null);
      assert.equal(await page.evaluate(() => window.__stays), true);
      assert.equal(page.url(), url);
      assert.deepEqual(requests, []);
      assert.deepEqual(errors, []);
      await page.close();
    });
  }
});

describe('the switch', () => {
  const state = (page) => page.evaluate(() => ({
    height: getComputedStyle(document.getElementById('other')).height,
    text: document.getElementById('switch').textContent,
  }));
  const more = '▽ Show more options';
  const fewer = '△ Show fewer options';

  test('opens and closes the other section', async () => {
    const { page } = await browser.open(assemble(sample()));
    const collapsed = await state(page);
    assert.deepEqual(collapsed, { height: '0px', text: more });
    await page.click('#switch');
    const open = await state(page);
    assert.notEqual(open.height, '0px');
    assert.equal(open.text, fewer);
    assert.ok(await page.locator('#other td').first().isVisible());
    await page.click('#switch');
    assert.deepEqual(await state(page), collapsed);
    await page.close();
  });

  test('with an empty other section every click opens it again', async () => {
    const only = { quillbox: sample().quillbox };
    const { page } = await browser.open(assemble(only));
    assert.equal((await readSections(page)).other.length, 0);
    for (let i = 0; i < 3; i++) {
      await page.click('#switch');
      assert.deepEqual(await state(page), { height: '0px', text: fewer });
    }
    await page.close();
  });
});

describe('context menu', () => {
  const opens = (page, selector) => page.evaluate((s) => {
    const event = new MouseEvent('contextmenu', { bubbles: true, cancelable: true });
    document.querySelector(s).dispatchEvent(event);
    return !event.defaultPrevented;
  }, selector);

  test('is blocked everywhere on the page', async () => {
    const { page } = await browser.open(assemble(sample()));
    for (const selector of ['html', 'body', 'h1', '#switch', '#recommended td', '#recommended a']) {
      assert.equal(await opens(page, selector), false, selector);
    }
    await page.close();
  });

  test('is not blocked when the page scripts cannot run', async () => {
    const { page } = await browser.open(assemble('{"quillbox": {"name": "cut off'));
    assert.equal(await opens(page, 'body'), true);
    await page.close();
  });
});
