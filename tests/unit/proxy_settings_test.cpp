// The proxy prompt: what each kind of entry stores, what it rejects, and
// what the next prompt offers, answered through the scripted dialog.
#include <gtest/gtest.h>

#include "app/catalogue.h"
#include "app/message_box.h"
#include "app/values.h"
#include "net/proxy_settings.h"
#include "tests/support/fixtures.h"
#include "tests/support/scripted_gui.h"

namespace {

class ProxyPrompt : public ::testing::Test {
protected:
    void SetUp() override {
        setProcessValues(u"https://example.invalid/update.json");
        fillCatalogue();
        ActiveLanguage = u"en";
        ProxySettings = ProxySettingsRecord{};
        lastProxyInput.clear();
        scripted::reset();
    }
};

struct EntryCase {
    const char* name;
    Text entry;
    bool rejected;      // "errProxy", then the prompt again (answered with Cancel)
    std::string server;  // what is stored when accepted
    std::string user;
    std::string password;
    Text last;           // lastProxyInput afterwards
};

TEST_F(ProxyPrompt, EachEntryIsStoredOrRejected) {
    const EntryCase cases[] = {
        {"host and port", u"proxy.local:3128", false, "http://proxy.local:3128", "", "", u"proxy.local:3128"},
        {"host without port", u"proxy.local", true, "", "", "", u"proxy.local"},
        {"colon and port", u":3128", false, "http://:3128", "", "", u":3128"},
        {"socks5 url", u"socks5://10.0.0.1:1080", false, "socks5://10.0.0.1:1080", "", "", u"socks5://10.0.0.1:1080"},
        {"server user password", u"p:8080 anna secret", false, "http://p:8080", "anna", "secret",
         u"p:8080 anna secret"},
        {"server and user", u"p:8080 anna", false, "http://p:8080", "anna", "", u"p:8080 anna"},
        {"two spaces before the user", u"p:8080  anna", false, "http://p:8080", "", "anna", u"p:8080  anna"},
        {"four values", u"p:8080 anna secret more", false, "http://p:8080", "anna", "secret",
         u"p:8080 anna secret more"},
        {"credentials in the url", u"http://anna:secret@p:8080", true, "", "", "", u"http://anna:secret@p:8080"},
        {"ipv6 address", u"[::1]:8080", true, "", "", "", u"[::1]:8080"},
        {"spaces trimmed, tabs kept", u"  \tp:8080 anna\t  ", false, "http://\tp:8080", "anna\t", "",
         u"\tp:8080 anna\t"},
        {"password outside the code page", u"p:8080 anna s\u0142ow\u00E9\u20AC", false, "http://p:8080", "anna",
         "s?ow\xE9\x80", u"p:8080 anna s\u0142ow\u00E9\u20AC"},
    };
    for (const EntryCase& c : cases) {
        SetUp();
        scripted::dialogAnswers = {c.entry};  // the second prompt, if any, is cancelled
        scripted::boxAnswers = {IDOK};
        askProxySettings();

        ASSERT_FALSE(scripted::prompts.empty()) << c.name;
        const scripted::Prompt& first = scripted::prompts[0];
        EXPECT_EQ(first.title, u"Enter proxy server") << c.name;
        EXPECT_EQ(first.message, localizedMessage(u"askProxyMsg")) << c.name;
        EXPECT_EQ(first.width, 500) << c.name;
        EXPECT_EQ(first.defaultText, u"") << c.name;
        EXPECT_EQ(first.cancelValue, u"-1") << c.name;
        EXPECT_EQ(lastProxyInput, c.last) << c.name;
        if (c.rejected) {
            ASSERT_EQ(scripted::boxes.size(), 1u) << c.name;
            EXPECT_EQ(scripted::boxes[0].title, u"quillbox Setup Selection Tool");
            EXPECT_EQ(scripted::boxes[0].text, u"Invalid server name or missing port number");
            EXPECT_EQ(scripted::boxes[0].flags, 16u);
            ASSERT_EQ(scripted::prompts.size(), 2u) << c.name;
            EXPECT_EQ(scripted::prompts[1].defaultText, c.last) << c.name << ": the rejected entry is offered";
            EXPECT_FALSE(ProxySettings.set) << c.name;
            continue;
        }
        EXPECT_TRUE(scripted::boxes.empty()) << c.name;
        EXPECT_EQ(scripted::prompts.size(), 1u) << c.name;
        EXPECT_TRUE(ProxySettings.set) << c.name;
        EXPECT_EQ(ProxySettings.server, c.server) << c.name;
        EXPECT_EQ(ProxySettings.user, c.user) << c.name;
        EXPECT_EQ(ProxySettings.password, c.password) << c.name;
    }
}

TEST_F(ProxyPrompt, RejectedEntriesAskAgainUntilOneIsUsable) {
    scripted::dialogAnswers = {u"proxy.local", u"proxy.local:3128 anna"};
    scripted::boxAnswers = {IDOK};
    askProxySettings();
    ASSERT_EQ(scripted::prompts.size(), 2u);
    EXPECT_EQ(scripted::prompts[1].defaultText, u"proxy.local");
    EXPECT_EQ(scripted::prompts[1].title, u"Enter proxy server");
    EXPECT_EQ(scripted::boxes.size(), 1u);
    EXPECT_EQ(ProxySettings.server, "http://proxy.local:3128");
    EXPECT_EQ(ProxySettings.user, "anna");

    // The next prompt offers the accepted entry.
    scripted::reset();
    askProxySettings();
    ASSERT_EQ(scripted::prompts.size(), 1u);
    EXPECT_EQ(scripted::prompts[0].defaultText, u"proxy.local:3128 anna");
}

TEST_F(ProxyPrompt, EmptyEntryClearsAndCancelKeepsEverything) {
    scripted::dialogAnswers = {u"p:8080 anna secret"};
    askProxySettings();
    ASSERT_EQ(ProxySettings.password, "secret");

    // Cancel, or an entry of exactly "-1" (also behind spaces): nothing changes.
    for (const Text& cancel : {Text(u"-1"), Text(u"  -1 ")}) {
        scripted::reset();
        scripted::dialogAnswers = {cancel};
        askProxySettings();
        EXPECT_EQ(scripted::prompts.size(), 1u);
        EXPECT_TRUE(scripted::boxes.empty());
        EXPECT_EQ(ProxySettings.server, "http://p:8080");
        EXPECT_EQ(ProxySettings.password, "secret");
        EXPECT_EQ(lastProxyInput, u"p:8080 anna secret");
    }

    // Spaces only: the proxy is cleared (set, with three empty texts) and the
    // next prompt starts empty.
    scripted::reset();
    scripted::dialogAnswers = {u"   "};
    askProxySettings();
    EXPECT_TRUE(ProxySettings.set);
    EXPECT_EQ(ProxySettings.server, "");
    EXPECT_EQ(ProxySettings.user, "");
    EXPECT_EQ(ProxySettings.password, "");
    EXPECT_EQ(lastProxyInput, u"");
    EXPECT_TRUE(scripted::boxes.empty());

    // Cancel at a first prompt stores nothing at all.
    SetUp();
    askProxySettings();
    EXPECT_FALSE(ProxySettings.set);
}

}  // namespace
