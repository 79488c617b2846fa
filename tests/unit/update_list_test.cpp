// The update list: decoding, acceptance, and the loop's questions, answered
// through the scripted message box.
#include <gtest/gtest.h>

#include "app/catalogue.h"
#include "app/message_box.h"
#include "app/values.h"
#include "net/proxy_settings.h"
#include "net/update_list.h"
#include "tests/support/fixtures.h"
#include "tests/support/scripted_gui.h"
#include "tests/support/test_server.h"

namespace {

const Text kValidPrefix = u"No valid JSON file! Maybe the proxy server returned an error?\r"
                          u"The first few received characters were: \"";

class UpdateListLoop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(server.port(), 0);
        ProxySettings = ProxySettingsRecord{};
        lastProxyInput.clear();
        scripted::reset();
    }
    void TearDown() override { ProxySettings = ProxySettingsRecord{}; }
    void use(const std::string& location) {
        setProcessValues(T(location));
        fillCatalogue();
        ActiveLanguage = u"en";
    }

    EnvGuard noProxy{"http_proxy", nullptr};
    TempFolder root{"list"};
    HttpTestServer server{root.path()};
};

TEST_F(UpdateListLoop, EveryFailureAsksWithItsKeyAndExtract) {
    writeFile(root / "two-spaces.json", "  {\"a\":1}");
    writeFile(root / "linefeed.json", "\n{\"a\":1}");
    writeFile(root / "letters.json", std::string(100, 'x'));
    writeFile(root / "crlf.json", "a\r\nb");
    writeFile(root / "spaces.json", std::string(50, ' '));
    writeFile(root / "tab.json", "\t{}");
    writeFile(root / "html.json", "<html>\r\n\t<body>Proxy error</body>\r\n</html>");

    const std::string refused = "http://127.0.0.1:" + std::to_string(freePort()) + "/update.json";
    struct Case {
        std::string location;
        const char* key;         // nullptr: accepted
        std::string expected;    // the extract, or the list accepted
    } cases[] = {
        {server.url("/file/two-spaces.json"), nullptr, "  {\"a\":1}"},
        {refused, "errUpdateJson", ""},
        {"https://127.0.0.1:1/update.json", "errUpdateJson", ""},
        {server.url("/empty"), "errUpdateJson", ""},
        {server.url("/bom"), "errUpdateValid", "\xEF\xBB\xBF{\"a\":1}"},
        {server.url("/zero"), nullptr, "{\"a\":1}"},
        {server.url("/status/404"), "errUpdateValid", "<!DOCTYPE html><html><head><title>404</t"},
        {server.url("/file/linefeed.json"), "errUpdateValid", "{\"a\":1}"},
        {server.url("/file/letters.json"), "errUpdateValid", std::string(40, 'x')},
        {server.url("/file/crlf.json"), "errUpdateValid", "ab"},
        {server.url("/file/spaces.json"), "errUpdateValid", std::string(40, ' ')},
        {server.url("/file/tab.json"), "errUpdateValid", "{}"},
        {server.url("/file/html.json"), "errUpdateValid", "<html><body>Proxy error</body></htm"},
        {"HTTPS://127.0.0.1/update.json", "errUpdateJson", ""},  // not "http": a file path
        {root / "missing.json", "errUpdateJson", ""},
    };
    for (const Case& c : cases) {
        use(c.location);
        scripted::reset();
        scripted::boxAnswers = {IDNO};
        const auto list = runUpdateListLoop();
        if (!c.key) {
            ASSERT_TRUE(list.has_value()) << c.location;
            EXPECT_EQ(U(*list), c.expected) << c.location;
            EXPECT_TRUE(scripted::boxes.empty()) << c.location;
            continue;
        }
        EXPECT_FALSE(list.has_value()) << c.location;
        ASSERT_EQ(scripted::boxes.size(), 1u) << c.location;
        const scripted::Box& box = scripted::boxes[0];
        EXPECT_EQ(box.title, u"quillbox Setup Selection Tool");
        EXPECT_EQ(box.flags, 20u);
        if (std::string(c.key) == "errUpdateJson") {
            EXPECT_EQ(box.text, localizedMessage(u"errUpdateJson", u"<url>", T(c.location))) << c.location;
            EXPECT_NE(box.text.find(u"[" + T(c.location) + u"]"), Text::npos);
        } else {
            EXPECT_EQ(box.text, localizedMessage(u"errUpdateValid", u"<extract>", T(c.expected))) << c.location;
            EXPECT_EQ(box.text.rfind(kValidPrefix + T(c.expected) + u"\"\r", 0), 0u) << c.location;
        }
    }
}

TEST_F(UpdateListLoop, YesOpensTheProxyPromptAndFetchesAgain) {
    use(server.url("/status/502"));
    scripted::boxAnswers = {IDYES, IDYES, 0};  // 0: the box could not be shown, read as No
    EXPECT_FALSE(runUpdateListLoop().has_value());
    EXPECT_EQ(scripted::boxes.size(), 3u);
    EXPECT_EQ(scripted::prompts.size(), 2u);  // cancelled each time: nothing stored
    EXPECT_FALSE(ProxySettings.set);

    // A proxy entered at the prompt applies to the next attempt.
    TempFolder proxyFolder("tinyproxy");
    TinyProxy proxy(proxyFolder.path());
    writeFile(root / "list.json", "{\"quillbox\":{}}");
    use(server.url("/via-only/list.json"));
    scripted::reset();
    scripted::boxAnswers = {IDYES};
    scripted::dialogAnswers = {T("  127.0.0.1:" + std::to_string(proxy.port()) + " ")};
    const auto list = runUpdateListLoop();
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(*list, u"{\"quillbox\":{}}");
    EXPECT_EQ(ProxySettings.server, "http://127.0.0.1:" + std::to_string(proxy.port()));
    EXPECT_NE(proxy.log().find("/via-only/list.json"), std::string::npos);
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    Text text;
};

TEST(UpdateListFile, DecodingByByteOrderMark) {
    const DecodeCase cases[] = {
        {"utf-8 mark", "\xEF\xBB\xBF{\"n\":\"\xC3\xA4\"}", u"{\"n\":\"\u00E4\"}"},
        {"utf-16 le", std::string("\xFF\xFE{\0\xE4\0}\0", 8), u"{\u00E4}"},
        {"utf-16 le, odd byte ignored", std::string("\xFF\xFE{\0}\0x", 7), u"{}"},
        {"utf-16 le, zero units dropped", std::string("\xFF\xFE\0\0{\0\0\0}\0", 10), u"{}"},
        {"utf-16 be mark skipped, rest ansi", std::string("\xFE\xFF{\xE4}", 5), u"{\u00E4}"},
        {"utf-32 be mark skipped", std::string("\0\0\xFE\xFF{}", 6), u"{}"},
        {"no mark, utf-8", "{\"n\":\"M\xC3\xBCller\"}", u"{\"n\":\"M\u00FCller\"}"},
        {"no mark, ansi", "{\"n\":\"M\xFCller \x80\"}", u"{\"n\":\"M\u00FCller \u20AC\"}"},
        {"zero bytes dropped", std::string("{\0}\r\n", 5), u"{}\r\n"},
        {"empty", "", u""},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(decodeListFile(c.bytes), c.text) << c.name;
    }
}

TEST(UpdateListFile, ReadsALocalFileButNotALockedOne) {
    TempFolder folder("local");
    writeFile(folder / "update.json", "\xEF\xBB\xBF  {\"a\":1}");
    setProcessValues(T(folder / "update.json"));
    EXPECT_EQ(fetchUpdateList(), u"  {\"a\":1}");

    platform::File holder;
    ASSERT_TRUE(holder.openForRead(T(folder / "update.json"), platform::Share::Exclusive));
    EXPECT_EQ(fetchUpdateList(), u"");
    holder.close();
    writeFile(folder / "update.json", "");
    EXPECT_EQ(fetchUpdateList(), u"");
}

}  // namespace
