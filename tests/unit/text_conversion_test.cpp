// The code-page conversions behave as the Windows converters do.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    Text text;
};

TEST(TextConversion, Utf8DecodingReplacesInvalidSequences) {
    const Utf8Case cases[] = {
        {"ascii", "abc", u"abc"},
        {"umlaut", "\xC3\xA4", u"\u00E4"},
        {"euro", "\xE2\x82\xAC", u"\u20AC"},
        {"astral", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"byte order mark kept", "\xEF\xBB\xBF{", u"\uFEFF{"},
        {"lone continuation", "a\x80z", u"a\uFFFDz"},
        {"truncated sequence", "a\xE2\x82", u"a\uFFFD"},
        {"overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"latin-1 byte", "caf\xE9", u"caf\uFFFD"},
    };
    for (const Utf8Case& c : cases) {
        EXPECT_EQ(platform::utf8ToText(c.bytes), c.text) << c.name;
    }
    EXPECT_EQ(platform::textToUtf8(u"\u00E4\u20AC\U0001F600"), "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(TextConversion, AnsiIsWindows1252WithQuestionMarks) {
    EXPECT_EQ(platform::ansiToText("\x80\x92\xE4\x81"), u"\u20AC\u2019\u00E4\u0081");
    EXPECT_EQ(platform::textToAnsi(u"\u20AC\u2019\u00E4"), "\x80\x92\xE4");
    // Outside the code page: one "?" per character, a surrogate pair included.
    EXPECT_EQ(platform::textToAnsi(u"a\u0142b\U0001F600c"), "a?b?c");
}

}  // namespace
