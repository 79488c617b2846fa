// Page localisation: picks the page language, translates every element that
// names a key in data-i18n-key, and offers translate() to the page script.
var defaultLocale = 'en';
var supportedLocales = ['en', 'de', 'fr'];
var locale;
var translations = {};

// Registered before the page script's own listener, so the texts are in
// place before the list is built.
document.addEventListener('DOMContentLoaded', function () {
  // The native side has already chosen a supported language; only a page
  // built without that choice falls back to the browser's languages.
  if (typeof selectedLanguage !== 'undefined') {
    transSetLocale(selectedLanguage);
  } else {
    transSetLocale(_transSupportedOrDefault(_transBrowserLocales(true)));
  }
});

function translate(key, interpolations) {
  if (interpolations === undefined || interpolations === null) {
    interpolations = {};
  }
  // Own members only, so a key such as "constructor" is not found on the
  // object's prototype.
  if (!Object.prototype.hasOwnProperty.call(translations, key)) {
    return undefined;
  }
  return _interpolate(translations[key], interpolations);
}

function transSetLocale(newLocale) {
  if (newLocale === locale) {
    return;
  }
  locale = newLocale;
  translations = lang[newLocale];
  _translatePage();
}

function _translatePage() {
  var elements = document.querySelectorAll('[data-i18n-key]');
  for (var i = 0; i < elements.length; i++) {
    _translateElement(elements[i]);
  }
}

function _translateElement(element) {
  var key = element.getAttribute('data-i18n-key');
  var interpolations = JSON.parse(element.getAttribute('data-i18n-opt')) || {};
  var translation = translate(key, interpolations);
  // Without a text of its own the element keeps what the template says.
  if (typeof translation === 'string' && translation !== '') {
    element.innerHTML = translation;
  }
}

function _interpolate(message, interpolations) {
  // split/join rather than a pattern, so names and values are taken
  // literally ("$&" in a value stays "$&").
  Object.keys(interpolations).forEach(function (name) {
    message = message.split('{' + name + '}').join(_transEscapeHtml(String(interpolations[name])));
  });
  return message;
}

function _transIsLangSupported(locale) {
  return supportedLocales.indexOf(locale) !== -1;
}

function _transSupportedOrDefault(locales) {
  for (var i = 0; i < locales.length; i++) {
    if (_transIsLangSupported(locales[i])) {
      return locales[i];
    }
  }
  return defaultLocale;
}

function _transBrowserLocales(languageCodeOnly) {
  var locales = Array.prototype.slice.call(navigator.languages || []);
  if (!languageCodeOnly) {
    return locales;
  }
  return locales.map(function (code) {
    return code.split('-')[0];
  });
}

function _transEscapeHtml(html) {
  // Ampersands first, so the entities inserted after them stay intact.
  return html
    .replace(/&/g, '&amp;')
    .replace(/</g, '&lt;')
    .replace(/>/g, '&gt;')
    .replace(/"/g, '&quot;')
    .replace(/'/g, '&apos;');
}
