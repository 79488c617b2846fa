// Transfers, downloads and setup checks when things go wrong underneath:
// broken connections, a full disk, a proxy that is down, an untrusted
// certificate, a stall, huge or deep lists, and a setup swapped before its
// check. Nothing may be left behind and nothing unverified may start.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/catalogue.h"
#include "app/message_box.h"
#include "app/values.h"
#include "net/http_transfer.h"
#include "net/proxy_settings.h"
#include "net/update_list.h"
#include "setup/handlers.h"
#include "tests/support/fixtures.h"
#include "tests/support/scripted_gui.h"
#include "tests/support/test_server.h"
#include "ui/assemble_page.h"

namespace {

class Faults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(server.port(), 0);
        ProxySettings = ProxySettingsRecord{};
        setProcessValues(u"");
        fillCatalogue();
        ActiveLanguage = u"en";
        scripted::reset();
    }
    void TearDown() override { ProxySettings = ProxySettingsRecord{}; }

    EnvGuard noProxy{"http_proxy", nullptr};
    TempFolder root{"faults"};
    TempFolder tmp{"tmp"};
    EnvGuard tmpdir{"TMPDIR", tmp.path().c_str()};
    HttpTestServer server{root.path(), 75.0};
};

TEST_F(Faults, ConnectionBrokenAfterAnyNumberOfBytes) {
    for (int sent : {0, 1, 1000, 16383, 16384, 65536, 99999}) {
        const std::string url = server.url("/broken/100000/" + std::to_string(sent));
        EXPECT_FALSE(downloadToMemory(T(url)).has_value()) << sent;
        writeFile(root / "target.bin", "old");
        EXPECT_EQ(downloadToFile(T(url), T(root / "target.bin")), 0) << sent;
        EXPECT_FALSE(fileExists(root / "target.bin")) << sent;
    }
}

TEST_F(Faults, DiskFullWhileWritingASetup) {
    // In a child: a file size limit makes the write fail (SIGXFSZ ignored,
    // so the write returns an error instead of ending the process).
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {20000, 20000};
        setrlimit(RLIMIT_FSIZE, &limit);
        scripted::boxAnswers = {IDOK};
        const auto reply = runSetupHandler(T("[\"" + server.url("/bytes/100000") + "\"]"));
        const bool told = scripted::boxes.size() == 1 && U(scripted::boxes[0].text).rfind("Download of [", 0) == 0;
        _exit(reply == std::optional<std::string>("{ }") && told && !fileExists(tmp / "100000") ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(fileExists(tmp / "100000"));
}

TEST_F(Faults, ProxyDown) {
    setProxySettings(T("http://127.0.0.1:" + std::to_string(freePort())));
    EXPECT_FALSE(downloadToMemory(T(server.url("/bytes/10"))).has_value());
    EXPECT_EQ(downloadToFile(T(server.url("/bytes/10")), T(root / "x.bin")), 0);
    EXPECT_FALSE(fileExists(root / "x.bin"));
    setProcessValues(T(server.url("/bytes/10")));
    fillCatalogue();
    ActiveLanguage = u"en";
    scripted::boxAnswers = {IDNO};
    EXPECT_FALSE(runUpdateListLoop().has_value());
    ASSERT_EQ(scripted::boxes.size(), 1u);
    EXPECT_EQ(U(scripted::boxes[0].text).rfind("Unable to download or open [", 0), 0u);
}

TEST_F(Faults, UntrustedCertificate) {
    const std::string pem = root / "server.pem";
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 "
                                "-addext subjectAltName=IP:127.0.0.1 -keyout '" + pem + "' -out '" + pem +
                                ".crt' 2>/dev/null && cat '" + pem + ".crt' >> '" + pem + "'";
    ASSERT_EQ(system(command.c_str()), 0);
    HttpTestServer https(root.path(), 90.0, pem);
    ASSERT_GT(https.port(), 0);
    const std::string url = "https://127.0.0.1:" + std::to_string(https.port()) + "/bytes/6000";
    EXPECT_FALSE(downloadToMemory(T(url)).has_value());
    EXPECT_EQ(downloadToFile(T(url), T(root / "setup.exe")), 0);
    EXPECT_FALSE(fileExists(root / "setup.exe"));
}

TEST_F(Faults, AStalledTransferEnds) {
    // The server sends 1000 bytes, then nothing for 75 s: the stall limit
    // (under one byte a second for a minute) ends the download first.
    EXPECT_EQ(downloadToFile(T(server.url("/stall/1000")), T(root / "stalled.bin")), 0);
    EXPECT_FALSE(fileExists(root / "stalled.bin"));
}

TEST_F(Faults, HugeAndDeepListsReachThePage) {
    const std::string huge = "{\"quillbox\":{\"name\":\"" + std::string(50 * 1024 * 1024, 'q') + "\"}}";
    const std::string deep = "{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + "}";
    for (const std::string* list : {&huge, &deep}) {
        writeFile(root / "list.json", *list);
        setProcessValues(T(server.url("/file/list.json")));
        fillCatalogue();
        const auto accepted = runUpdateListLoop();
        ASSERT_TRUE(accepted.has_value());
        EXPECT_EQ(accepted->size(), list->size());
        const Text page = assemblePage(*accepted, u"en");
        EXPECT_NE(page.find(u"var updates = " + *accepted + u";"), Text::npos);
    }
    EXPECT_TRUE(scripted::boxes.empty());
}

TEST_F(Faults, SetupSwappedBeforeItsCheck) {
    ShellRecorder shell;
    EnvGuard trust("AUTHENTICODE_TRUST_FILE", signingFixture("trust.pem").c_str());
    writeFile(root / "setup.exe", readFile(signingFixture("maker-signed.exe")));
    // A powershell.exe found first on PATH that changes the downloaded file
    // just before the real check runs.
    TempFolder wrapper("wrapper");
    const std::string real = std::string(QUILLBOX_BINARY_DIR) + "/powershell.exe";
    const std::string unsigned_ = signingFixture("unsigned.exe");
    struct Case {
        const char* name;
        std::string action;
    } cases[] = {
        {"deleted", "rm -f '" + tmp / "setup.exe" + "'"},
        {"replaced by an unsigned file", "cp '" + unsigned_ + "' '" + tmp / "setup.exe" + "'"},
    };
    for (const Case& c : cases) {
        writeFile(wrapper / "powershell.exe", "#!/bin/sh\n" + c.action + "\nexec '" + real + "' \"$@\"\n");
        chmod((wrapper / "powershell.exe").c_str(), 0755);
        EnvGuard path("PATH", (wrapper.path() + ":" + getenv("PATH")).c_str());
        scripted::reset();
        scripted::boxAnswers = {IDOK};
        EXPECT_EQ(runSetupHandler(T("[\"" + server.url("/file/setup.exe") + "\"]")), "{ }") << c.name;
        ASSERT_EQ(scripted::boxes.size(), 1u) << c.name;
        EXPECT_EQ(scripted::boxes[0].flags, 16u) << c.name;
    }
    usleep(500000);
    EXPECT_TRUE(shell.calls(1, 0).empty()) << "nothing was started";
}

}  // namespace
