// The disk cache option joins WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/fixtures.h"
#include "ui/webview_host.h"

namespace {

const char* kVariable = "WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS";
const Text kOption = u"--disk-cache-dir=\"C:\\Temp\\\\WebView2_Cache\"";

std::string current() {
    const char* value = getenv(kVariable);
    return value ? value : "<unset>";
}

TEST(BrowserArgument, AddedOnceAndOnlyWhereItFits) {
    struct Case {
        const char* name;
        const char* before;  // nullptr: unset
        std::string after;
    } cases[] = {
        {"unset", nullptr, " " + U(kOption)},
        {"other options stay", "--lang=de --no-sandbox", "--lang=de --no-sandbox " + U(kOption)},
        {"already named", "--disk-cache-dir=/elsewhere", "--disk-cache-dir=/elsewhere"},
        {"named inside another text", "x--disk-cache-dirx", "x--disk-cache-dirx"},
    };
    for (const Case& c : cases) {
        EnvGuard env(kVariable, c.before);
        addBrowserArgument(u"--disk-cache-dir", kOption);
        EXPECT_EQ(current(), c.after) << c.name;
        addBrowserArgument(u"--disk-cache-dir", kOption);
        EXPECT_EQ(current(), c.after) << c.name << " (a second call changes nothing)";
    }
}

TEST(BrowserArgument, NearTheBufferLimit) {
    const std::string fits(15999, 'a');
    {
        EnvGuard env(kVariable, fits.c_str());
        addBrowserArgument(u"--disk-cache-dir", kOption);
        EXPECT_EQ(current(), fits + " " + U(kOption));
    }
    // A value the 16,000-character buffer cannot hold is left untouched.
    const std::string tooLong(16000, 'a');
    EnvGuard env(kVariable, tooLong.c_str());
    addBrowserArgument(u"--disk-cache-dir", kOption);
    EXPECT_EQ(current(), tooLong);
}

}  // namespace
