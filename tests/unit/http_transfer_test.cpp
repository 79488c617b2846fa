// The two transfers against our HTTP test server and real proxies on 127.0.0.1.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "net/http_transfer.h"
#include "net/proxy_settings.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_server.h"

namespace {

class HttpTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        ProxySettings = ProxySettingsRecord{};
        ASSERT_GT(server.port(), 0);
    }
    void TearDown() override { ProxySettings = ProxySettingsRecord{}; }

    // The request headers the server saw on its last request to path.
    nlohmann::json lastHeaders(const std::string& path) {
        const nlohmann::json requests = nlohmann::json::parse(plainGet(server.port(), "/_requests"));
        for (auto it = requests.rbegin(); it != requests.rend(); ++it) {
            if ((*it)["path"] == path) return (*it)["headers"];
        }
        return nlohmann::json();
    }

    EnvGuard noHttp{"http_proxy", nullptr}, noHttps{"https_proxy", nullptr}, noAll{"all_proxy", nullptr},
        noHttpUpper{"HTTP_PROXY", nullptr}, noAllUpper{"ALL_PROXY", nullptr}, noNo{"no_proxy", nullptr},
        noNoUpper{"NO_PROXY", nullptr};
    TempFolder root{"http"};
    HttpTestServer server{root.path()};
};

TEST_F(HttpTransfer, BodiesWhateverTheStatus) {
    struct Case {
        const char* path;
        bool (*check)(const std::string&);
    } cases[] = {
        {"/status/404", [](const std::string& b) { return b.find("<h1>Error 404</h1>") != std::string::npos; }},
        {"/status/500", [](const std::string& b) { return b.find("Error 500") != std::string::npos; }},
        {"/redirect/5", [](const std::string& b) { return b == "redirected"; }},
        {"/empty", [](const std::string& b) { return b.empty(); }},
        {"/zero", [](const std::string& b) { return b == std::string("{\"a\":1}\0{\"b\":2}", 15); }},
        {"/bytes/3000000", [](const std::string& b) { return b.size() == 3000000 && b[2999999] == ' ' + 2999999 % 95; }},
    };
    for (const Case& c : cases) {
        const auto body = downloadToMemory(T(server.url(c.path)));
        ASSERT_TRUE(body.has_value()) << c.path;
        EXPECT_TRUE(c.check(*body)) << c.path;

        const std::string target = root / "target.bin";
        EXPECT_EQ(downloadToFile(T(server.url(c.path)), T(target)), 1) << c.path;
        EXPECT_TRUE(c.check(readFile(target))) << c.path;
    }
}

TEST_F(HttpTransfer, SendsTheFixedUserAgent) {
    ASSERT_TRUE(downloadToMemory(T(server.url("/headers"))));
    EXPECT_EQ(lastHeaders("/headers")["User-Agent"], "Mozilla/5.0 Gecko/41.0 Firefox/41.0");
    EXPECT_FALSE(lastHeaders("/headers").contains("Accept-Encoding"));
}

TEST_F(HttpTransfer, FailuresLeaveNoBlockAndNoFile) {
    const std::string refused = "http://127.0.0.1:" + std::to_string(freePort()) + "/update.json";
    EXPECT_FALSE(downloadToMemory(T(refused)).has_value());
    EXPECT_FALSE(downloadToMemory(T(server.url("/broken/100000/5000"))).has_value());

    const std::string target = root / "setup.exe";
    for (const std::string& url : {refused, server.url("/broken/100000/5000")}) {
        writeFile(target, "an earlier download");
        EXPECT_EQ(downloadToFile(T(url), T(target)), 0) << url;
        EXPECT_FALSE(fileExists(target)) << url;
    }
}

TEST_F(HttpTransfer, TargetThatCannotBeCreatedSendsNoRequest) {
    const size_t before = nlohmann::json::parse(plainGet(server.port(), "/_requests")).size();
    makeFolders(root / "folder");
    EXPECT_EQ(downloadToFile(T(server.url("/bytes/10")), T(root / "missing/setup.exe")), 0);
    EXPECT_EQ(downloadToFile(T(server.url("/bytes/10")), T(root / "folder")), 0);
    EXPECT_EQ(nlohmann::json::parse(plainGet(server.port(), "/_requests")).size(), before + 1);  // our own look
    EXPECT_TRUE(fileExists(root / "folder"));
}

TEST_F(HttpTransfer, ProxyCases) {
    TempFolder proxyFolder("tinyproxy");
    TinyProxy proxy(proxyFolder.path());
    ASSERT_GT(proxy.port(), 0);
    const std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.port());
    const std::string path = "/headers";

    // Never set: the environment's proxy is used.
    {
        EnvGuard env("http_proxy", proxyUrl.c_str());
        ASSERT_TRUE(downloadToMemory(T(server.url(path))));
        EXPECT_TRUE(lastHeaders(path).contains("Via"));
    }
    // Cleared: a direct connection, whatever the environment says.
    {
        EnvGuard env("http_proxy", proxyUrl.c_str());
        setProxySettings(u"");
        EXPECT_TRUE(ProxySettings.set);
        ASSERT_TRUE(downloadToMemory(T(server.url(path))));
        EXPECT_FALSE(lastHeaders(path).contains("Via"));
    }
    // A server alone: empty user name and password go along, and work.
    setProxySettings(T(proxyUrl));
    EXPECT_EQ(ProxySettings.user, "");
    ASSERT_TRUE(downloadToMemory(T(server.url(path))));
    EXPECT_TRUE(lastHeaders(path).contains("Via"));
    EXPECT_EQ(downloadToFile(T(server.url("/bytes/6000")), T(root / "via.bin")), 1);
    EXPECT_EQ(readFile(root / "via.bin").size(), 6000u);
}

TEST_F(HttpTransfer, ProxyCredentialsArePassedAsGiven) {
    TempFolder proxyFolder("tinyproxy");
    TinyProxy proxy(proxyFolder.path(), "anna", "s3cret");
    ASSERT_GT(proxy.port(), 0);
    const Text proxyUrl = T("http://127.0.0.1:" + std::to_string(proxy.port()));

    setProxySettings(proxyUrl, u"anna", u"s3cret");
    auto body = downloadToMemory(T(server.url("/bytes/100")));
    ASSERT_TRUE(body.has_value());
    EXPECT_EQ(body->size(), 100u);

    // The proxy's refusal of a plain HTTP request is a page like any other.
    setProxySettings(proxyUrl, u"anna", u"wrong");
    body = downloadToMemory(T(server.url("/bytes/100")));
    ASSERT_TRUE(body.has_value());
    EXPECT_NE(body->size(), 100u);
    EXPECT_NE(body->find("Unauthorized"), std::string::npos);
}

TEST_F(HttpTransfer, SocksProxyWithAndWithoutCredentials) {
    MicroSocks open;
    ASSERT_GT(open.port(), 0);
    setProxySettings(T("socks5://127.0.0.1:" + std::to_string(open.port())));
    auto body = downloadToMemory(T(server.url("/bytes/100")));
    ASSERT_TRUE(body.has_value());
    EXPECT_EQ(body->size(), 100u);

    MicroSocks locked("bert", "pa ss");
    ASSERT_GT(locked.port(), 0);
    const Text lockedUrl = T("socks5h://127.0.0.1:" + std::to_string(locked.port()));
    setProxySettings(lockedUrl, u"bert", u"pa ss");
    EXPECT_TRUE(downloadToMemory(T(server.url("/bytes/100"))).has_value());
    setProxySettings(lockedUrl, u"bert", u"wrong");
    EXPECT_FALSE(downloadToMemory(T(server.url("/bytes/100"))).has_value());
    setProxySettings(lockedUrl);
    EXPECT_FALSE(downloadToMemory(T(server.url("/bytes/100"))).has_value());
}

TEST_F(HttpTransfer, ProxyTextsAreSentInTheAnsiCodePage) {
    setProxySettings(u"http://127.0.0.1:1", u"j\u00FCrgen", u"pa\u0142\u20AC");
    EXPECT_EQ(ProxySettings.user, "j\xFCrgen");
    EXPECT_EQ(ProxySettings.password, "pa?\x80");
}

}  // namespace
