// assemblePage: the order of the inlined texts, the placeholders, the update
// list's safe insertion, and the logo carried in the style sheet.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "ui/assemble_page.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "cannot read " << path;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string source(const std::string& relative) {
    return readFile(std::string(QUILLBOX_SOURCE_DIR) + "/" + relative);
}

std::string pageFor(const std::string& list, const std::string& language) {
    return platform::textToUtf8(assemblePage(platform::utf8ToText(list), platform::utf8ToText(language)));
}

std::string between(const std::string& text, const std::string& open, const std::string& close) {
    const size_t start = text.find(open);
    if (start == std::string::npos) return std::string();
    const size_t end = text.find(close, start + open.size());
    if (end == std::string::npos) return std::string();
    return text.substr(start + open.size(), end - start - open.size());
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

const char* const kPlaceholders[] = {
    "// inc_production", "/* CSS_inc */", "// lgse_inc", "// cash_inc",
    "// lang_inc",       "// i18n_inc",   "// code_inc", "// code_upd",
};

const char kBlocker[] =
    "$('body,html').on('contextmenu', function(e) { e.stopPropagation(); return false; } );";

TEST(PageAssembly, ScriptElementRunsTheDeclarationsLibraryAndScriptsInOrder) {
    const std::string page = pageFor("{}", "de");
    const std::string script = between(page, "<script>", "</script>");
    ASSERT_FALSE(script.empty());
    // Only these two sequences change how the HTML parser reads a script.
    EXPECT_EQ(count(page, "</script"), 1u);
    EXPECT_EQ(count(page, "<!--"), 0u);

    std::string pageScript = source("web/page.js");
    const size_t marker = pageScript.find("// inc_production");
    ASSERT_NE(marker, std::string::npos);
    pageScript.replace(marker, std::string("// inc_production").size(), kBlocker);

    // Each part whole and in the order the page needs them.
    const std::vector<std::string> parts = {
        "var selectedLanguage = 'de';",
        readFile(QUILLBOX_DOM_LIBRARY),
        source("web/lang.js"),
        source("web/i18n.js"),
        pageScript,
        "var updates = {};",
    };
    size_t from = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const size_t at = script.find(parts[i], from);
        ASSERT_NE(at, std::string::npos) << "part " << i << " missing or out of order";
        from = at + parts[i].size();
    }

    // The style sheet is the source with only the logo marker filled in.
    const std::string sheet = between(page, "<style>", "</style>");
    const std::string sheetSource = source("web/style.css");
    const size_t logo = sheetSource.find("@LOGO_PNG_BASE64@");
    ASSERT_NE(logo, std::string::npos);
    EXPECT_NE(sheet.find(sheetSource.substr(0, logo)), std::string::npos);
    EXPECT_NE(sheet.find(sheetSource.substr(logo + std::string("@LOGO_PNG_BASE64@").size())), std::string::npos);

    for (const char* placeholder : kPlaceholders) {
        EXPECT_EQ(page.find(placeholder), std::string::npos) << placeholder << " survived";
    }
    EXPECT_EQ(page.find("@LOGO_PNG_BASE64@"), std::string::npos);
}

// The list goes in last and is not scanned for placeholders; every "<" in it
// is written as \u003c, and nothing else changes (spacing, non-ASCII text).
TEST(PageAssembly, UpdateListIsInsertedLastWithLessThanEscaped) {
    struct Case {
        const char* list;
        const char* inserted;
    };
    const Case cases[] = {
        {"{\"a\": \"// lgse_inc // code_upd /* CSS_inc */ // inc_production\"}",
         "{\"a\": \"// lgse_inc // code_upd /* CSS_inc */ // inc_production\"}"},
        {"{\"a\": \"// LGSE_INC // Code_Upd /* css_inc */\"}", "{\"a\": \"// LGSE_INC // Code_Upd /* css_inc */\"}"},
        {"{\"a\": \"</script><script>alert(1)</script>\"}",
         "{\"a\": \"\\u003c/script>\\u003cscript>alert(1)\\u003c/script>\"}"},
        {"{\"a\": \"<!--<script>\"}", "{\"a\": \"\\u003c!--\\u003cscript>\"}"},
        {"{\"a\": \"</SCRIPT >\", \"b\": \"<<\"}", "{\"a\": \"\\u003c/SCRIPT >\", \"b\": \"\\u003c\\u003c\"}"},
        {"  \n{\"name\": \"Größe – ✉ \\u003c\"}\n", "  \n{\"name\": \"Größe – ✉ \\u003c\"}\n"},
    };
    for (const Case& c : cases) {
        const std::string page = pageFor(c.list, "en");
        EXPECT_EQ(count(page, std::string("var updates = ") + c.inserted + ";"), 1u) << c.list;
        EXPECT_EQ(count(page, "var selectedLanguage = 'en';"), 1u) << c.list;
        EXPECT_EQ(count(page, "</script>"), 1u) << c.list;
    }
}

// ---- the logo -------------------------------------------------------------

std::string base64Decode(const std::string& text) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t buffer = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=') break;
        const size_t value = alphabet.find(c);
        if (value == std::string::npos) {
            ADD_FAILURE() << "not Base64: " << c;
            return std::string();
        }
        buffer = (buffer << 6) | static_cast<uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<char>((buffer >> bits) & 0xFF));
        }
    }
    return out;
}

uint32_t bigEndian32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

TEST(PageLogo, IsA256SquareRgbaPngInTheStyleSheetAndBesideTheProgram) {
    const std::string page = pageFor("{}", "en");
    const std::string uri = between(page, "url(data:image/png;base64,", ")");
    ASSERT_FALSE(uri.empty());
    const std::string png = base64Decode(uri);

    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bigEndian32(png, 8), 13u);  // IHDR comes first, 13 bytes long
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(bigEndian32(png, 16), 256u);  // width
    EXPECT_EQ(bigEndian32(png, 20), 256u);  // height
    EXPECT_EQ(static_cast<unsigned char>(png[24]), 8);  // bits per channel
    EXPECT_EQ(static_cast<unsigned char>(png[25]), 6);  // RGB with alpha
    EXPECT_EQ(static_cast<unsigned char>(png[28]), 0);  // not interlaced

    EXPECT_EQ(readFile(QUILLBOX_LOGO_PNG), png) << "the window icon is the same image";
}

}  // namespace
