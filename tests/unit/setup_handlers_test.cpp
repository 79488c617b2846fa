// The install and information buttons' handlers against our HTTP test
// server, real signed files and a recorder in the shell's place.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/catalogue.h"
#include "app/message_box.h"
#include "app/values.h"
#include "net/proxy_settings.h"
#include "setup/handlers.h"
#include "tests/support/fixtures.h"
#include "tests/support/scripted_gui.h"
#include "tests/support/test_server.h"

namespace {

Text argument(const Text& text) { return T(nlohmann::json::array({U(text)}).dump()); }

TEST(SingleTextArgument, OnlyAOneElementArray) {
    struct Case {
        const char16_t* params;
        std::optional<Text> expected;
    } cases[] = {
        {u"[\"https://x/setup.exe\"]", Text(u"https://x/setup.exe")},
        {u"[\"a\\\"b\\u00e4\\\\\"]", Text(u"a\"b\u00E4\\")},
        {u"[\"\"]", Text()},
        {u"[42]", Text()},
        {u"[null]", Text()},
        {u"[\"a\", \"b\"]", std::nullopt},
        {u"[]", std::nullopt},
        {u"\"a\"", std::nullopt},
        {u"{\"0\": \"a\"}", std::nullopt},
        {u"[\"a\"", std::nullopt},
        {u"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(singleTextArgument(c.params), c.expected) << U(c.params);
    }
}

TEST(SetupTargetPath, LastSegmentOfTheUrlPath) {
    struct Case {
        const char16_t* url;
        const char16_t* path;
        const char16_t* segment;
    } cases[] = {
        {u"https://h/dl/setup.exe?lang=de", u"dl/setup.exe", u"setup.exe"},
        {u"https://h/dl/setup.exe#top", u"dl/setup.exe#top", u"setup.exe#top"},
        {u"https://h/dl/my%20setup.exe", u"dl/my%20setup.exe", u"my%20setup.exe"},
        {u"https://h/dl/", u"dl/", u""},
        {u"https://h", u"", u""},
        {u"h/setup.exe", u"", u""},
        {u"https://h/x?a=/b/c.exe", u"x", u"x"},
        {u"https://h/dl/setup\u0142.exe", u"dl/setup?.exe", u"setup?.exe"},
        {u"https://h/a\\b\\c.exe", u"a\\b\\c.exe", u"c.exe"},
        {u"https://h/dl/set\"up.exe", u"dl/set\"up.exe", u"set"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(urlPath(c.url), c.path) << U(c.url);
        EXPECT_EQ(lastPathSegment(urlPath(c.url)), c.segment) << U(c.url);
    }
    EXPECT_EQ(lastPathSegment(u"\"setup.exe\" -S"), u"setup.exe");
    EXPECT_EQ(lastPathSegment(u"C:\\dl\\\"setup.exe\""), u"");
    EXPECT_EQ(lastPathSegment(u"setup.exe"), u"setup.exe");
}

class SetupHandlers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(server.port(), 0);
        setProcessValues(u"");
        fillCatalogue();
        ProxySettings = ProxySettingsRecord{};
        ActiveLanguage = u"en";
        scripted::reset();
        writeFile(root / "setup.exe", readFile(signingFixture("maker-signed.exe")));
        writeFile(root / "other/setup.exe", readFile(signingFixture("other-signed.exe")));
        writeFile(root / "unsigned.exe", readFile(signingFixture("unsigned.exe")));
        writeFile(root / "my%20setup.exe", readFile(signingFixture("maker-signed.exe")));
        writeFile(root / "small.exe", readFile(signingFixture("small-signed.exe")));
    }
    std::optional<std::string> run(const std::string& url) {
        scripted::boxAnswers = {IDOK};
        return runSetupHandler(argument(T(url)));
    }
    std::string temp(const std::string& name) { return tmp / name; }

    TempFolder root{"setups"};
    TempFolder tmp{"tmp"};
    EnvGuard tmpdir{"TMPDIR", tmp.path().c_str()};
    EnvGuard trust{"AUTHENTICODE_TRUST_FILE", signingFixture("trust.pem").c_str()};
    EnvGuard proxy{"http_proxy", nullptr};
    ShellRecorder shell;  // prepends itself to PATH
    EnvGuard path{"PATH", (std::string(getenv("PATH")) + ":" + QUILLBOX_BINARY_DIR).c_str()};
    HttpTestServer server{root.path()};
};

TEST_F(SetupHandlers, DownloadCheckAndStart) {
    const std::string errDwnld = "Download of [";
    const std::string errSig = "The signature of the downloaded file is invalid!";
    struct Case {
        std::string url;
        std::string target;     // name in the temporary folder; empty: none
        std::string box;        // start of the message shown; empty: none
        bool started;
    } cases[] = {
        {server.url("/file/setup.exe?lang=de"), "setup.exe", "", true},
        {server.url("/file/setup.exe#top"), "setup.exe#top", "", true},
        {server.url("/file/my%20setup.exe"), "my%20setup.exe", "", true},
        {server.url("/file/"), "", errDwnld, false},
        {"http://127.0.0.1:" + std::to_string(server.port()), "", errDwnld, false},
        {server.url("/file/setup\xC5\x82.exe"), "", errDwnld, false},  // "?" cannot be in a name
        {server.url("/bytes/5119"), "5119", errDwnld, false},
        {server.url("/bytes/5120"), "5120", errSig, false},  // big enough: on to the check
        {server.url("/file/small.exe"), "small.exe", errDwnld, false},
        {server.url("/file/missing.exe"), "missing.exe", errDwnld, false},  // a 404 page is too small
        {server.url("/file/other/setup.exe"), "setup.exe", errSig, false},
        {server.url("/file/unsigned.exe"), "unsigned.exe", errSig, false},
        {"http://127.0.0.1:" + std::to_string(freePort()) + "/setup.exe", "", errDwnld, false},
    };
    size_t starts = 0;
    for (const Case& c : cases) {
        scripted::reset();
        writeFile(temp("keep.txt"), "kept");
        EXPECT_EQ(run(c.url), "{ }") << c.url;
        if (c.box.empty()) {
            EXPECT_TRUE(scripted::boxes.empty()) << c.url;
        } else {
            ASSERT_EQ(scripted::boxes.size(), 1u) << c.url;
            EXPECT_EQ(U(scripted::boxes[0].text).rfind(c.box, 0), 0u) << c.url;
            EXPECT_EQ(scripted::boxes[0].flags, c.box == errSig ? 16u : 0u) << c.url;
            if (c.box == errDwnld) {
                EXPECT_NE(U(scripted::boxes[0].text).find("[" + c.url + "]"), std::string::npos) << c.url;
            }
        }
        if (!c.target.empty() && c.box != errDwnld) {
            EXPECT_TRUE(fileExists(temp(c.target))) << c.url;
        }
        EXPECT_EQ(readFile(temp("keep.txt")), "kept") << c.url;
        if (c.started) {
            ++starts;
            const auto calls = shell.calls(starts);
            ASSERT_EQ(calls.size(), starts) << c.url;
            EXPECT_EQ(calls.back(), temp(c.target)) << c.url;
        }
    }
    usleep(500000);
    EXPECT_EQ(shell.calls(starts + 1, 0).size(), starts) << "nothing else was ever started";
}

TEST_F(SetupHandlers, ASecondDownloadReplacesTheFirst) {
    EXPECT_EQ(run(server.url("/file/setup.exe")), "{ }");
    EXPECT_TRUE(readFile(temp("setup.exe")) == readFile(signingFixture("maker-signed.exe")));
    EXPECT_EQ(shell.calls(1).size(), 1u);
    EXPECT_EQ(run(server.url("/file/other/setup.exe")), "{ }");
    EXPECT_TRUE(readFile(temp("setup.exe")) == readFile(signingFixture("other-signed.exe")));
    ASSERT_EQ(scripted::boxes.size(), 1u);
    EXPECT_EQ(scripted::boxes[0].flags, 16u);
    usleep(500000);
    EXPECT_EQ(shell.calls(2, 0).size(), 1u);
}

TEST_F(SetupHandlers, UnacceptableArgumentsGetNoReply) {
    for (const char16_t* params : {u"[]", u"[\"a\", \"b\"]", u"not json", u"{}"}) {
        EXPECT_FALSE(runSetupHandler(params).has_value()) << U(params);
        EXPECT_FALSE(openUrlHandler(params).has_value()) << U(params);
    }
    EXPECT_TRUE(scripted::boxes.empty());
    // A number is the empty URL: the download fails and says so.
    scripted::boxAnswers = {IDOK};
    EXPECT_EQ(runSetupHandler(u"[5]"), "{ }");
    ASSERT_EQ(scripted::boxes.size(), 1u);
    EXPECT_EQ(U(scripted::boxes[0].text).rfind("Download of [] failed!", 0), 0u);
}

TEST_F(SetupHandlers, LinksAreOpenedNeverRun) {
    TempFolder folder("links");
    writeFile(folder / "run.sh", "#!/bin/sh\ntouch '" + folder / "ran" + "'\n");
    chmod((folder / "run.sh").c_str(), 0755);
    const char16_t* opened[] = {u"https://www.tolvane.de/info", u"HTTP://example.org/a", u"mailto:support@tolvane.de"};
    const Text refused[] = {
        T(folder / "run.sh"), u"C:\\Windows\\System32\\cmd.exe", u"\"C:\\Windows\\System32\\cmd.exe\" /c calc",
        T("file://" + folder / "run.sh"), u"javascript:alert(1)", u" https://leading.space/",
    };
    for (const Text& link : refused) {
        EXPECT_EQ(openUrlHandler(argument(link)).value_or(""), "{ }") << U(link);
    }
    for (const char16_t* link : opened) EXPECT_EQ(openUrlHandler(argument(link)), "{ }");
    const auto calls = shell.calls(3);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "https://www.tolvane.de/info");
    EXPECT_EQ(calls[2], "mailto:support@tolvane.de");
    usleep(300000);
    EXPECT_FALSE(fileExists(folder / "ran"));
    EXPECT_TRUE(scripted::boxes.empty());
}

}  // namespace
