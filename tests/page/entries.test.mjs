// Which entries the page builds from the update list and the detectors'
// answers: placement, classes, buttons, defaults and the detector calls.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { assemble, cleanUp, readSections, sample, startBrowser } from './harness.mjs';

let browser;
before(async () => { browser = await startBrowser(); });
after(async () => { await browser.close(); cleanUp(); });

const names = {
  quillbox: 'quillbox',
  OLClassicAddIn: 'quillbox for Outlook classic',
  OLNewAddIn: 'quillbox for the new Outlook',
  TBAddIn: 'quillbox for Thunderbird',
};
const titles = (entries) => entries.map((e) => e.title);
const allButtons = ['Install 64 Bit', 'Install 32 Bit', 'Open setup information 64 Bit', 'Open setup information 32 Bit'];

describe('recommendations', () => {
  const onlyNew32 = sample();
  delete onlyNew32.OLNewAddIn.windows['64'];

  const cases = [
    {
      name: 'no mail client: the standalone program, every button marked',
      found: [],
      recommended: ['quillbox'],
      other: ['OLClassicAddIn', 'OLNewAddIn', 'TBAddIn'],
      marks: { quillbox: ['recommended', 'recommended', 'recommended', 'recommended'] },
    },
    {
      name: 'only 64-bit Outlook classic: its 64-bit buttons marked',
      found: ['pb_isOutlookClassic64'],
      recommended: ['OLClassicAddIn'],
      other: ['quillbox', 'OLNewAddIn', 'TBAddIn'],
      marks: { OLClassicAddIn: ['recommended', '', 'recommended', ''] },
    },
    {
      name: 'only the new Outlook, whose add-in is offered as 32-bit only: recommended, nothing marked',
      found: ['pb_isOutlookNew'],
      list: onlyNew32,
      recommended: ['OLNewAddIn'],
      other: ['quillbox', 'OLClassicAddIn', 'TBAddIn'],
      marks: { OLNewAddIn: ['', ''] },
      texts: { OLNewAddIn: ['Install ', 'Open setup information '] },
    },
    {
      name: 'Thunderbird: its 64-bit buttons marked',
      found: ['pb_isThunderbird'],
      recommended: ['TBAddIn'],
      other: ['quillbox', 'OLClassicAddIn', 'OLNewAddIn'],
      marks: { TBAddIn: ['recommended', '', 'recommended', ''] },
    },
    {
      name: 'every client: the add-ins in list order, the standalone program among the others',
      found: ['pb_isOutlookClassic32', 'pb_isOutlookClassic64', 'pb_isOutlookNew', 'pb_isThunderbird'],
      recommended: ['OLClassicAddIn', 'OLNewAddIn', 'TBAddIn'],
      other: ['quillbox'],
      marks: {
        OLClassicAddIn: ['recommended', 'recommended', 'recommended', 'recommended'],
        OLNewAddIn: ['recommended', '', 'recommended', ''],
        TBAddIn: ['recommended', '', 'recommended', ''],
      },
    },
  ];

  for (const c of cases) {
    test(c.name, async () => {
      const { page, errors } = await browser.open(assemble(c.list || sample()), { found: c.found });
      const sections = await readSections(page);
      assert.deepEqual(titles(sections.recommended), c.recommended.map((k) => names[k]));
      assert.deepEqual(titles(sections.other), c.other.map((k) => names[k]));

      for (const entry of sections.recommended) {
        assert.equal(entry.className, 'entry recommended');
        assert.equal(entry.recommendation, '<b>Recommended!</b>');
        assert.deepEqual(entry.parts, ['DIV.entryTitle', 'B', 'DIV.entryDesc', ...entry.buttons.map(() => 'A')]);
      }
      for (const entry of sections.other) {
        assert.equal(entry.className, 'entry ');
        assert.equal(entry.recommendation, null);
        assert.deepEqual(entry.buttons.map((b) => b.className), entry.buttons.map(() => ''));
        assert.deepEqual(entry.buttons.map((b) => b.text), allButtons);
      }
      for (const [key, marks] of Object.entries(c.marks)) {
        const entry = sections.recommended.find((e) => e.title === names[key]);
        assert.deepEqual(entry.buttons.map((b) => b.className), marks, key);
        assert.deepEqual(entry.buttons.map((b) => b.text), (c.texts || {})[key] || allButtons, key);
      }
      for (const entry of [...sections.recommended, ...sections.other]) {
        assert.equal(entry.tag, 'TD');
        assert.equal(entry.id, '');
      }
      assert.deepEqual(errors, []);
      await page.close();
    });
  }
});

describe('entry contents', () => {
  const setup = (bits) => ({ url: `https://packages.tolvane.de/t/${bits}.exe`, link: `https://www.tolvane.de/t/${bits}` });
  const cases = [
    {
      name: 'both bitnesses with links: install before information, 64 before 32',
      windows: { description: { EN: 'Both' }, 32: [setup(32)], 64: [setup(64)] },
      buttons: allButtons,
      actions: [['pb_runSetup', setup(64).url], ['pb_runSetup', setup(32).url],
        ['pb_openUrl', setup(64).link], ['pb_openUrl', setup(32).link]],
    },
    {
      name: 'only a 64-bit URL: no bitness in the texts, which end in a space',
      windows: { description: { EN: 'One' }, 64: [setup(64)] },
      buttons: ['Install ', 'Open setup information '],
      actions: [['pb_runSetup', setup(64).url], ['pb_openUrl', setup(64).link]],
    },
    {
      name: 'links alone do not mention the bitness',
      windows: { description: { EN: 'Links' }, 32: [{ link: setup(32).link }], 64: [{ url: setup(64).url, link: setup(64).link }] },
      buttons: ['Install ', 'Open setup information ', 'Open setup information '],
      actions: [['pb_runSetup', setup(64).url], ['pb_openUrl', setup(64).link], ['pb_openUrl', setup(32).link]],
    },
    {
      name: 'only the first setup of an array counts',
      windows: { description: { EN: 'First' }, 64: [{ url: setup(64).url }, setup(32)] },
      buttons: ['Install '],
      actions: [['pb_runSetup', setup(64).url]],
    },
    {
      name: 'a link without any URL still makes an entry',
      windows: { description: { EN: 'Info only' }, 32: [{ link: setup(32).link, version: '1.0' }] },
      buttons: ['Open setup information '],
      actions: [['pb_openUrl', setup(32).link]],
    },
  ];

  for (const c of cases) {
    test(c.name, async () => {
      const { page, calls } = await browser.open(assemble({ TBAddIn: { name: 'T', windows: c.windows } }));
      const { other } = await readSections(page);
      assert.equal(other.length, 1);
      assert.deepEqual(other[0].buttons.map((b) => b.text), c.buttons);
      const buttons = page.locator('#other td > a');
      await page.click('#switch');
      for (let i = 0; i < c.buttons.length; i++) {
        await buttons.nth(i).click();
        // The install buttons leave the overlay until their call settles.
        await page.evaluate(() => document.getElementById('fullPageOverlay')?.remove());
      }
      const made = (await calls()).filter((call) => !call.name.startsWith('pb_is'));
      assert.deepEqual(made.map((call) => [call.name, ...call.args]), c.actions);
      await page.close();
    });
  }

  test('missing name or description text reads "?"; products without URL or link, or unknown, get no entry', async () => {
    const list = {
      quillbox: { windows: { description: { DE: 'Nur deutsch' }, 64: [{ url: 'https://packages.tolvane.de/q.exe' }] } },
      OLClassicAddIn: { name: 'No setups', windows: { description: { EN: 'x' }, 32: [{ version: '1' }], 64: [] } },
      OLNewAddIn: { name: 'No windows' },
      TBAddIn: { name: '', windows: { description: { EN: '' }, 32: [{ url: 'https://packages.tolvane.de/t.exe' }] } },
      MacAddIn: { name: 'Not a product of this page', windows: { 64: [{ url: 'https://packages.tolvane.de/m.exe' }] } },
    };
    const { page, errors } = await browser.open(assemble(list));
    const { recommended, other } = await readSections(page);
    assert.deepEqual(recommended.map((e) => [e.title, e.description]), [['?', '?']]);
    assert.deepEqual(other.map((e) => [e.title, e.description]), [['?', '?']]);
    assert.deepEqual(errors, []);
    await page.close();
  });
});

describe('detector calls', () => {
  const O32 = 'pb_isOutlookClassic32';
  const O64 = 'pb_isOutlookClassic64';
  const TB = 'pb_isThunderbird';
  const NEW = 'pb_isOutlookNew';
  const cases = [
    { name: 'first detector finds its client: five calls', found: [O32], calls: [O32, O32, O64, NEW, TB] },
    { name: 'third detector finds its client: seven calls', found: [TB], calls: [O32, O64, TB, O32, O64, NEW, TB] },
    { name: 'no client: eight calls', found: [], calls: [O32, O64, TB, NEW, O32, O64, NEW, TB] },
  ];
  for (const c of cases) {
    test(c.name, async () => {
      const { page, calls } = await browser.open(assemble(sample()), { found: c.found });
      const made = await calls();
      assert.deepEqual(made.map((call) => call.name), c.calls);
      assert.ok(made.every((call) => call.args.length === 0));
      await page.close();
    });
  }

  const rejections = [
    { name: 'while deciding on the standalone program', reject: [O64] },
    { name: 'while building the products', found: [O32], reject: [NEW] },
  ];
  for (const r of rejections) {
    test(`a rejected detector call ${r.name} leaves both sections empty`, async () => {
      const { page, calls } = await browser.open(assemble(sample()), { found: r.found, reject: r.reject });
      const { recommended, other } = await readSections(page);
      assert.deepEqual([recommended, other], [[], []]);
      assert.equal((await calls()).at(-1).name, r.reject[0], 'no detector is called after the rejection');
      await page.close();
    });
  }
});
