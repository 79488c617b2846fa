// Transfers through the Windows build of libcurl (Schannel) from the test
// servers on 127.0.0.1, and what that build was configured with.
#include <gtest/gtest.h>

#include <curl/curl.h>
#include <pcre.h>

#include <cstring>

#include "net/http_transfer.h"
#include "net/proxy_settings.h"
#include "tests/windows/win_fixtures.h"

namespace {

TEST(WinBuild, LibcurlAndPcreAreTheConfiguredOnes) {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    ASSERT_NE(info, nullptr);
    ASSERT_NE(info->ssl_version, nullptr);
    EXPECT_NE(std::strstr(info->ssl_version, "Schannel"), nullptr) << info->ssl_version;
    EXPECT_TRUE(info->features & CURL_VERSION_SSPI);
    EXPECT_TRUE(info->features & CURL_VERSION_SSL);
    EXPECT_FALSE(info->features & CURL_VERSION_LIBZ);
    EXPECT_FALSE(info->features & CURL_VERSION_IDN);
    EXPECT_FALSE(info->features & CURL_VERSION_HTTP2);
    EXPECT_EQ(info->libssh_version, nullptr);
    for (const char* const* protocol = info->protocols; *protocol; ++protocol) {
        EXPECT_NE(std::string(*protocol).rfind("ldap", 0), 0u) << *protocol;
    }
    int utf8 = 0;
    ASSERT_EQ(pcre_config(PCRE_CONFIG_UTF8, &utf8), 0);
    EXPECT_EQ(utf8, 1);
}

class WinTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        server = testServer();
        if (server.empty()) GTEST_SKIP() << "no test server";
        ProxySettings = ProxySettingsRecord{};
    }
    void TearDown() override { ProxySettings = ProxySettingsRecord{}; }
    Text url(const std::string& path) const { return T(server + path); }
    std::string server;
    TempFolder folder{"transfer"};
};

std::string pattern(size_t n) {
    std::string block;
    for (int c = 32; c < 127; ++c) block += static_cast<char>(c);
    std::string out;
    while (out.size() < n) out += block;
    return out.substr(0, n);
}

TEST_F(WinTransfer, IntoMemory) {
    struct Case {
        std::string path;
        bool ok;
        std::string body;
    } cases[] = {
        {"/bytes/3000000", true, pattern(3000000)},
        {"/redirect/3", true, "redirected"},
        {"/empty", true, ""},
        {"/broken/1000/10", false, ""},
    };
    for (const Case& c : cases) {
        const auto body = downloadToMemory(url(c.path));
        ASSERT_EQ(body.has_value(), c.ok) << c.path;
        if (c.ok) {
            EXPECT_TRUE(*body == c.body) << c.path << ": " << body->size() << " bytes";
        }
    }
    const auto page = downloadToMemory(url("/status/404"));
    ASSERT_TRUE(page.has_value()) << "an error status is a body, not a failure";
    EXPECT_NE(page->find("404"), std::string::npos);
}

TEST_F(WinTransfer, IntoAFile) {
    const Text target = T(folder / "setup.exe");
    ASSERT_EQ(downloadToFile(url("/bytes/70000"), target), 1);
    EXPECT_EQ(readFile(folder / "setup.exe"), pattern(70000));

    // A failure leaves no file, also where an old one stood.
    EXPECT_EQ(downloadToFile(url("/broken/1000/10"), target), 0);
    EXPECT_FALSE(fileExists(folder / "setup.exe"));
    writeFile(folder / "old.exe", "old");
    EXPECT_EQ(downloadToFile(T("http://127.0.0.1:1/setup.exe"), T(folder / "old.exe")), 0);
    EXPECT_FALSE(fileExists(folder / "old.exe"));

    // A target that cannot be created: no request is sent.
    const auto before = downloadToMemory(url("/_requests"));
    EXPECT_EQ(downloadToFile(url("/bytes/10?into-missing-folder"), T(folder / "missing/setup.exe")), 0);
    const auto after = downloadToMemory(url("/_requests"));
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->find("into-missing-folder"), std::string::npos);
}

TEST_F(WinTransfer, ThroughTheUsersProxyOrTheEnvironments) {
    const std::string http = environmentOr("QUILLBOX_TEST_HTTP_PROXY");
    const std::string socks = environmentOr("QUILLBOX_TEST_SOCKS_PROXY");
    if (http.empty() || socks.empty()) GTEST_SKIP() << "no proxies";
    writeFile(environmentOr("QUILLBOX_TEST_SERVER_ROOT") + "\\proxied.json", "{\"via\":1}");
    const std::string expected = "{\"via\":1}";
    // /via-only/ answers with the file only for a request that came through
    // a proxy that adds its Via header (tinyproxy does).
    const Text viaOnly = url("/via-only/proxied.json");
    auto fetch = [&](const Text& location) { return downloadToMemory(location).value_or("<failed>"); };

    {
        EnvGuard env("http_proxy", http.c_str());
        EXPECT_EQ(fetch(viaOnly), expected) << "never set: the environment's proxy";
        setProxySettings(Text());
        EXPECT_NE(fetch(viaOnly), expected) << "cleared: straight to the server";
        EXPECT_EQ(fetch(url("/file/proxied.json")), expected);
    }
    setProxySettings(T(http));
    EXPECT_EQ(fetch(viaOnly), expected) << "the user's HTTP proxy";
    setProxySettings(T(socks));
    EXPECT_EQ(fetch(url("/file/proxied.json")), expected) << "the user's SOCKS5 proxy";
    setProxySettings(u"socks5://127.0.0.1:1");
    EXPECT_EQ(fetch(url("/file/proxied.json")), "<failed>") << "a SOCKS5 proxy that is not there";
}

TEST_F(WinTransfer, HttpsThroughSchannel) {
    const std::string tls = environmentOr("QUILLBOX_TEST_TLS_SERVER");
    if (tls.empty()) GTEST_SKIP() << "no TLS test server";
    // Wine's Schannel makes the TLS connection but leaves the certificate
    // unchecked (Windows checks it, and its revocation, for libcurl), so the
    // test server's own certificate passes here; what is tested is the
    // transfer over Schannel itself.
    EXPECT_EQ(downloadToMemory(T(tls + "/bytes/5000")).value_or("<failed>"), pattern(5000));
    EXPECT_EQ(downloadToFile(T(tls + "/redirect/2"), T(folder / "tls.bin")), 1);
    EXPECT_EQ(readFile(folder / "tls.bin"), "redirected");
}

}  // namespace
