// The selection page: asks the native detectors which mail clients are
// installed, recommends the products that fit them and renders one entry per
// offered product, with buttons that start a setup or open its information.

async function isOutlookClassic32() {
  var reply = await window.pb_isOutlookClassic32();
  return !!(reply && reply.found);
}

async function isOutlookClassic64() {
  var reply = await window.pb_isOutlookClassic64();
  return !!(reply && reply.found);
}

async function isThunderbird() {
  var reply = await window.pb_isThunderbird();
  return !!(reply && reply.found);
}

async function isOutlookNew() {
  var reply = await window.pb_isOutlookNew();
  return !!(reply && reply.found);
}

async function openUrl(url) {
  await window.pb_openUrl(url);
}

// The native side keeps its thread for the whole download and check, so the
// window cannot answer clicks meanwhile; the overlay makes that visible and
// keeps clicks from queueing up. A rejected call leaves both in place.
async function runSetup(url) {
  $('#three-circle-loader').css('display', 'block');
  createOverlay();
  await window.pb_runSetup(url);
  removeOverlay();
  $('#three-circle-loader').css('display', 'none');
}

function createOverlay() {
  $('body').append('<div id="fullPageOverlay"></div>');
}

function removeOverlay() {
  $('#fullPageOverlay').remove();
}

function openClose() {
  // An empty section stays 0px high when opened, so it opens again on every
  // click.
  if ($('#other').css('height') === '0px') {
    $('#other').css('height', 'auto');
    $('#switch').text(translate('main-switch-off'));
  } else {
    $('#other').css('height', 0);
    $('#switch').text(translate('main-switch'));
  }
}

// The first element of a setup array, or an empty object.
function _firstSetup(setups) {
  return (setups && setups[0]) || {};
}

function _setupUrl(value) {
  return value ? String(value) : '';
}

// URLs never become script or markup text: the handler holds the URL itself,
// so quotes or markup in it reach the bridge as they are.
function _button(recommended, label, action, url) {
  var button = $('<a></a>');
  button.attr('class', recommended ? 'recommended' : '');
  button.html(label);
  button.on('click', function () {
    action(url);
  });
  return button;
}

// Names and descriptions are HTML from the update list. Following a link in
// them would take the window away from the page, with no way back, so the
// address goes to the default browser instead.
function _htmlBlock(className, html) {
  var block = $('<div></div>');
  block.attr('class', className);
  block.html(html);
  block.on('click', 'a[href]', function (event) {
    event.preventDefault();
    openUrl(this.getAttribute('href'));
  });
  return block;
}

async function fillList() {
  $('#recommended').empty();
  $('#other').empty();

  var standalone = !(await isOutlookClassic32() || await isOutlookClassic64() ||
                     await isThunderbird() || await isOutlookNew());

  var products = {};
  products['quillbox'] = { '32': standalone, '64': standalone };
  products['OLClassicAddIn'] = { '32': await isOutlookClassic32(), '64': await isOutlookClassic64() };
  products['OLNewAddIn'] = { '32': false, '64': await isOutlookNew() };
  products['TBAddIn'] = { '32': false, '64': await isThunderbird() };

  var pageLanguage = typeof selectedLanguage !== 'undefined'
    ? selectedLanguage.toUpperCase()
    : _transSupportedOrDefault(_transBrowserLocales(true)).toUpperCase();

  Object.keys(products).forEach(function (key) {
    var product = updates[key];
    if (!product) {
      return;
    }
    var flags = products[key];
    var windows = product.windows || {};
    var descriptions = windows.description || {};
    var title = product.name || '?';
    var description = descriptions[pageLanguage] || '?';
    var setup32 = _firstSetup(windows['32']);
    var setup64 = _firstSetup(windows['64']);
    var url32 = _setupUrl(setup32.url);
    var url64 = _setupUrl(setup64.url);
    var link32 = _setupUrl(setup32.link);
    var link64 = _setupUrl(setup64.link);

    var mentionBitness = url32 !== '' && url64 !== '';
    var suffix32 = mentionBitness ? '32 Bit' : '';
    var suffix64 = mentionBitness ? '64 Bit' : '';

    var buttons = [];
    if (url64 !== '') {
      buttons.push(_button(flags['64'], translate('install') + ' ' + suffix64, runSetup, url64));
    }
    if (url32 !== '') {
      buttons.push(_button(flags['32'], translate('install') + ' ' + suffix32, runSetup, url32));
    }
    if (link64 !== '') {
      buttons.push(_button(flags['64'], translate('setupInfo') + ' ' + suffix64, openUrl, link64));
    }
    if (link32 !== '') {
      buttons.push(_button(flags['32'], translate('setupInfo') + ' ' + suffix32, openUrl, link32));
    }
    if (buttons.length === 0) {
      return;
    }

    var recommended = flags['32'] || flags['64'];
    var entry = $('<td></td>');
    entry.attr('class', 'entry ' + (recommended ? 'recommended' : ''));
    entry.attr('id', '');
    entry.append(_htmlBlock('entryTitle', title));
    if (recommended) {
      entry.append($.parseHTML(translate('recommended')));
    }
    entry.append(_htmlBlock('entryDesc', description));
    buttons.forEach(function (button) {
      entry.append(button);
    });
    $(recommended ? '#recommended' : '#other').append(entry);
  });
}

function main() {
  fillList();
}

document.addEventListener('DOMContentLoaded', function () {
  // inc_production
  main();
});
