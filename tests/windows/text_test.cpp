// The code-page conversions of the Windows build are the system's own; these
// are the answers the core relies on.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

TEST(WinText, Utf8BothWays) {
    struct Case {
        const char* name;
        std::string bytes;
        Text text;
    } cases[] = {
        {"ascii", "abc", u"abc"},
        {"umlaut", "\xC3\xA4", u"\u00E4"},
        {"euro", "\xE2\x82\xAC", u"\u20AC"},
        {"astral", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"byte order mark kept", "\xEF\xBB\xBF{", u"\uFEFF{"},
        {"lone continuation", "a\x80z", u"a\uFFFDz"},
        {"latin-1 byte", "caf\xE9", u"caf\uFFFD"},
        {"empty", "", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::utf8ToText(c.bytes), c.text) << c.name;
    EXPECT_EQ(platform::textToUtf8(u"\u00E4\u20AC\U0001F600"), "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(platform::textToUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz") << "an unpaired surrogate";
}

TEST(WinText, AnsiIsWindows1252WithoutBestFit) {
    ASSERT_EQ(platform::textToAnsi(u"\u00E4"), "\xE4") << "these tests want the 1252 code page (LC_ALL=en_US)";
    EXPECT_EQ(platform::ansiToText("\x80\x92\xE4\x81"), u"\u20AC\u2019\u00E4\u0081");
    EXPECT_EQ(platform::textToAnsi(u"\u20AC\u2019\u00E4"), "\x80\x92\xE4");
    // Best fit would give "l", "c" and "A"; without it each is the default
    // character.
    EXPECT_EQ(platform::textToAnsi(u"a\u0142b\u0107c\u0100"), "a?b?c?");
}

}  // namespace
