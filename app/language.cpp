#include "app/language.h"

#include <cctype>

#include "app/values.h"

namespace {

// Indexed by the low eight bits of a locale identifier, from 1. The codes
// stand as the table always had them ("jp", "in", "ma", "mo", "sy").
const char16_t* const kLanguageCodes[90] = {
    u"ar", u"bg", u"ca", u"zh", u"cs", u"da", u"de", u"el", u"en", u"es",
    u"fi", u"fr", u"he", u"hu", u"is", u"it", u"jp", u"ko", u"nl", u"no",
    u"pl", u"pt", u"en", u"ro", u"ru", u"en", u"sk", u"sq", u"sv", u"th",
    u"tr", u"ur", u"in", u"uk", u"be", u"sl", u"et", u"lv", u"lt", u"en",
    u"fa", u"vi", u"hy", u"az", u"eu", u"en", u"mk", u"en", u"en", u"en",
    u"en", u"en", u"en", u"af", u"ka", u"fo", u"hi", u"en", u"en", u"en",
    u"en", u"ms", u"kk", u"ky", u"sw", u"en", u"uz", u"tt", u"en", u"pa",
    u"gu", u"en", u"ta", u"te", u"ka", u"en", u"en", u"ma", u"sa", u"mo",
    u"en", u"en", u"en", u"en", u"en", u"gl", u"kn", u"en", u"en", u"sy",
};

void fillLanguageTable() {
    if (LanguageTable.size() != 91) LanguageTable.assign(91, Text());
    if (!LanguageTable[1].empty()) return;
    for (int i = 1; i <= 90; ++i) LanguageTable[i] = kLanguageCodes[i - 1];
}

}  // namespace

Text languageCodeForLocale(unsigned localeId) {
    fillLanguageTable();
    const unsigned index = localeId & 0xFF;
    if (index == 4) {
        const bool traditional = localeId == 0x0404 || localeId == 0x0C04 || localeId == 0x1404;
        return traditional ? u"en" : u"cn";
    }
    if (index < 1 || index > 90) return u"en";
    return LanguageTable[index];
}

Text systemLanguageCode() { return languageCodeForLocale(platform::threadLocale()); }

Text supportedLanguageOrEnglish(const Text& code) {
    Text supported = SupportedLanguages;
    for (char16_t& c : supported) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    return supported.find(code) == Text::npos ? Text(u"en") : code;
}
