// Language choice from the thread locale, and the texts it gives.
#include <gtest/gtest.h>

#include "app/catalogue.h"
#include "app/language.h"
#include "app/values.h"
#include "tests/support/fixtures.h"

namespace {

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        setProcessValues(u"https://example.invalid/update.json");
        fillCatalogue();
    }
};

struct LocaleCase {
    unsigned locale;
    const char16_t* code;
    const char16_t* title;  // "winHeader" in the language the locale gives
};

TEST_F(Catalogue, LocaleGivesCodeAndTexts) {
    const LocaleCase cases[] = {
        {0x0407, u"de", u"quillbox Setup-Auswahl"},
        {0x0807, u"de", u"quillbox Setup-Auswahl"},
        {0x040C, u"fr", u"quillbox Sélection d'installation"},
        {0x0C0C, u"fr", u"quillbox Sélection d'installation"},
        {0x0409, u"en", u"quillbox setup selector"},
        {0x0809, u"en", u"quillbox setup selector"},
        {0x0410, u"it", u"quillbox setup selector"},
        {0x0404, u"en", u"quillbox setup selector"},
        {0x0804, u"cn", u"quillbox setup selector"},
        {0x1004, u"cn", u"quillbox setup selector"},
        {0x0400, u"en", u"quillbox setup selector"},  // low byte 0
        {0x045B, u"en", u"quillbox setup selector"},  // low byte 91
        {0x0411, u"jp", u"quillbox setup selector"},
        {0x0451, u"en", u"quillbox setup selector"},  // a table slot that holds "en"
        {0x0450, u"mo", u"quillbox setup selector"},
    };
    for (const LocaleCase& c : cases) {
        EXPECT_EQ(languageCodeForLocale(c.locale), c.code) << std::hex << c.locale;
        ActiveLanguage = supportedLanguageOrEnglish(languageCodeForLocale(c.locale));
        EXPECT_EQ(localizedMessage(u"winHeader"), c.title) << std::hex << c.locale;
    }
}

TEST_F(Catalogue, ThreadLocaleFollowsTheProcessLocale) {
    struct { const char* lang; unsigned locale; } cases[] = {
        {"de_DE.UTF-8", 0x0407}, {"de_CH.UTF-8", 0x0807}, {"fr_FR.UTF-8", 0x040C}, {"fr_CA", 0x0C0C},
        {"zh_TW.UTF-8", 0x0404}, {"zh_CN.UTF-8", 0x0804}, {"C", 0x0409}, {"xx_YY", 0x0409},
    };
    EnvGuard all("LC_ALL", nullptr), messages("LC_MESSAGES", nullptr);
    for (const auto& c : cases) {
        EnvGuard lang("LANG", c.lang);
        EXPECT_EQ(platform::threadLocale(), c.locale) << c.lang;
    }
    EnvGuard lang("LANG", "en_US.UTF-8");
    EnvGuard over("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(systemLanguageCode(), u"fr");
}

TEST_F(Catalogue, ActiveLanguageIsChosenOnceAtTheFirstLookup) {
    EnvGuard all("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(localizedMessage(u"winHeader"), u"quillbox Setup-Auswahl");
    EXPECT_EQ(ActiveLanguage, u"de");
    EnvGuard later("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(localizedMessage(u"winHeader"), u"quillbox Setup-Auswahl");
}

TEST_F(Catalogue, PlaceholdersAndEscapes) {
    ActiveLanguage = u"en";
    // A path with folders that begin with n and t is shown as it is.
    EXPECT_EQ(localizedMessage(u"errDwnld", u"<url>", u"C:\\new\\tmp\\setup.exe"),
              u"Download of [C:\\new\\tmp\\setup.exe] failed!\r\rCheck your firewall and antivirus! "
              u"Ask your administrator for help.");
    const Text extract = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";
    EXPECT_EQ(localizedMessage(u"errUpdateValid", u"<extract>", extract),
              u"No valid JSON file! Maybe the proxy server returned an error?\r"
              u"The first few received characters were: \"" + extract + u"\"\r"
              u"Please ask your IT administrator for help.\r\rDo you want me to open the proxy server dialog?");
    // Two pairs, applied in order; an empty find text is no pair.
    EXPECT_EQ(localizedMessage(u"errProxy", u"server", u"host", u"port", u"number"),
              u"Invalid host name or missing number number");
    EXPECT_EQ(localizedMessage(u"errProxy", u"", u"x"), u"Invalid server name or missing port number");
    // Every stored backslash-n has become a carriage return.
    for (const auto& entry : MessageCatalogue) {
        for (const char16_t* language : {u"de", u"en", u"fr"}) {
            ActiveLanguage = language;
            const Text text = localizedMessage(entry.first);
            EXPECT_FALSE(text.empty()) << U(entry.first);
            EXPECT_EQ(text.find(u"\\n"), Text::npos) << U(entry.first);
            EXPECT_EQ(text.find(u'\n'), Text::npos) << U(entry.first);
        }
    }
    EXPECT_EQ(MessageCatalogue.size(), 9u);
}

TEST_F(Catalogue, MissingKeyOrLanguageGivesTheEmptyText) {
    ActiveLanguage = u"en";
    EXPECT_EQ(localizedMessage(u"noSuchKey", u"<url>", u"x"), u"");
    EXPECT_EQ(localizedMessage(u"WINHEADER"), u"");
    ActiveLanguage = u"cn";
    EXPECT_EQ(localizedMessage(u"winHeader"), u"");
}

TEST_F(Catalogue, TextsInEveryLanguage) {
    ActiveLanguage = u"de";
    EXPECT_EQ(localizedMessage(u"errSig"),
              u"Die Signatur der heruntergeladenen Datei ist nicht gültig.\rBitte kontaktieren Sie uns unter "
              u"support@tolvane.de.");
    ActiveLanguage = u"fr";
    EXPECT_EQ(localizedMessage(u"needWebView"),
              u"quillbox nécessite Microsoft Edge WebView2 Runtime pour fonctionner !\r\r"
              u"Je peux l'installer pour toi. D'accord ?");
    ActiveLanguage = u"en";
    const Text prompt = localizedMessage(u"askProxyMsg");
    EXPECT_NE(prompt.find(u"\r- http://       - HTTP proxy (default)\r- socks4://   - SOCKS4 proxy\r"), Text::npos);
    EXPECT_NE(prompt.find(u"\r- socks5h:// - SOCKS5 proxy and ask the proxy to do the hostname resolving"), Text::npos);
}

}  // namespace
