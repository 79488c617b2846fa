#include "ui/assemble_page.h"

#include "ui/page_assets.h"

namespace {

Text ascii(const char* text) {
    return Text(text, text + std::char_traits<char>::length(text));
}

// Every non-overlapping occurrence, left to right; the inserted text is not
// scanned again, so a replacement that holds a placeholder stays as it is.
void replaceAll(Text& text, const Text& placeholder, const Text& replacement) {
    Text result;
    size_t from = 0;
    for (size_t at = text.find(placeholder); at != Text::npos; at = text.find(placeholder, from)) {
        result.append(text, from, at - from);
        result.append(replacement);
        from = at + placeholder.size();
    }
    result.append(text, from, Text::npos);
    text.swap(result);
}

// The list lands inside a script element, where "</script" would end the
// element and "<!--" followed by "<script" would keep it open past its end.
// In a JSON text "<" can only stand inside a string, where the escape reads
// back as the same character, so the list's value does not change.
Text escapeForScript(const Text& list) {
    Text result;
    result.reserve(list.size());
    for (char16_t c : list) {
        if (c == u'<') {
            result.append(u"\\u003c");
        } else {
            result.push_back(c);
        }
    }
    return result;
}

}  // namespace

Text assemblePage(const Text& updateList, const Text& languageCode) {
    Text page = platform::utf8ToText(pageTemplateAsset);
    const Text styleSheet = platform::utf8ToText(styleSheetAsset);
    const Text localisationScript = platform::utf8ToText(localisationScriptAsset);
    const Text domLibrary = platform::utf8ToText(domLibraryAsset);
    const Text translationTable = platform::utf8ToText(translationTableAsset);
    Text pageScript = platform::utf8ToText(pageScriptAsset);

    replaceAll(pageScript, ascii("// inc_production"),
               ascii("$('body,html').on('contextmenu', function(e) { e.stopPropagation(); return false; } );"));

    // The template's own placeholders first and the list last, so that
    // nothing the list holds is ever taken for a placeholder.
    replaceAll(page, ascii("/* CSS_inc */"), styleSheet);
    replaceAll(page, ascii("// cash_inc"), domLibrary);
    replaceAll(page, ascii("// lang_inc"), translationTable);
    replaceAll(page, ascii("// i18n_inc"), localisationScript);
    replaceAll(page, ascii("// code_inc"), pageScript);
    replaceAll(page, ascii("// lgse_inc"), ascii("var selectedLanguage = '") + languageCode + ascii("';"));
    replaceAll(page, ascii("// code_upd"), ascii("var updates = ") + escapeForScript(updateList) + ascii(";"));
    return page;
}
