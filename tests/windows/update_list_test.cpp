// The update list as the Windows program reads it: a local file through
// CreateFileW without sharing, decoded with the system's converters, and
// the network case over libcurl with Schannel, answered through the
// scripted message box.
#include <gtest/gtest.h>

#include "app/catalogue.h"
#include "app/message_box.h"
#include "app/values.h"
#include "net/proxy_settings.h"
#include "net/update_list.h"
#include "tests/support/scripted_gui.h"
#include "tests/windows/win_fixtures.h"

namespace {

class WinUpdateList : public ::testing::Test {
protected:
    void SetUp() override {
        ProxySettings = ProxySettingsRecord{};
        scripted::reset();
    }
    void use(const std::string& location) {
        setProcessValues(T(location));
        fillCatalogue();
        ActiveLanguage = u"en";
    }
    TempFolder folder{"list"};
};

TEST_F(WinUpdateList, LocalFileEncodings) {
    struct Case {
        const char* name;
        std::string bytes;
        Text text;
    } cases[] = {
        {"UTF-8 without a mark", "{\"n\":\"M\xC3\xBC" "ller\"}", u"{\"n\":\"Müller\"}"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF{\"n\":\"\xC3\xA4\"}", u"{\"n\":\"ä\"}"},
        {"UTF-16 little-endian", std::string("\xFF\xFE{\0\xE4\0}\0\x01", 9), u"{ä}"},
        {"ANSI (Windows-1252)", "{\"n\":\"M\xFCller \x80\"}", u"{\"n\":\"Müller €\"}"},
        {"zero bytes dropped", std::string("{\0}", 3), u"{}"},
    };
    for (const Case& c : cases) {
        writeFile(folder / "update.json", c.bytes);
        use(folder.path() + "\\update.json");
        EXPECT_EQ(fetchUpdateList(), c.text) << c.name;
    }
}

TEST_F(WinUpdateList, AFileThatAnotherProgramHoldsCannotBeRead) {
    writeFile(folder / "update.json", "{}");
    use(folder.path() + "\\update.json");
    platform::File holder;
    ASSERT_TRUE(holder.openForRead(T(folder / "update.json"), platform::Share::Read));
    EXPECT_EQ(fetchUpdateList(), u"");
    scripted::boxAnswers = {IDNO};
    EXPECT_FALSE(runUpdateListLoop().has_value());
    ASSERT_EQ(scripted::boxes.size(), 1u);
    EXPECT_EQ(scripted::boxes[0].flags, 20u);
    EXPECT_NE(scripted::boxes[0].text.find(T(folder.path())), Text::npos) << "the path is named in the box";
    holder.close();
    EXPECT_EQ(fetchUpdateList(), u"{}");
}

TEST_F(WinUpdateList, FromTheTestServer) {
    const std::string server = testServer();
    if (server.empty()) GTEST_SKIP() << "no test server";
    struct Case {
        std::string path;
        const char* key;  // nullptr: accepted
    } cases[] = {
        {"/file/update-sample.json", nullptr},
        {"/zero", nullptr},
        {"/empty", "errUpdateJson"},
        {"/bom", "errUpdateValid"},
        {"/status/404", "errUpdateValid"},
    };
    for (const Case& c : cases) {
        use(server + c.path);
        scripted::reset();
        scripted::boxAnswers = {IDNO};
        const auto list = runUpdateListLoop();
        EXPECT_EQ(list.has_value(), c.key == nullptr) << c.path;
        if (c.key) {
            ASSERT_EQ(scripted::boxes.size(), 1u) << c.path;
            const Text& text = scripted::boxes[0].text;
            if (std::string(c.key) == "errUpdateJson") {
                EXPECT_NE(text.find(u"[" + T(server + c.path) + u"]"), Text::npos) << c.path;
            } else {
                EXPECT_EQ(text.rfind(u"No valid JSON file!", 0), 0u) << c.path;
            }
        }
    }
}

}  // namespace
