// A host for the bridge cases the program's own handlers cannot show: a
// handler without a result, rebinding, two calls in flight, a result that is
// not JSON, a method nobody bound. The page reports what it received through
// t_report, which prints it as one line of JSON.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/platform.h"
#include "ui/webview_host.h"

namespace {

std::vector<std::string> callLog;

const char* kPage = R"(<!DOCTYPE html><html><body><p id="state">running</p><script>
async function run() {
  const results = {};
  const nothing = await window.t_nothing();
  results.nothingType = typeof nothing;
  results.emptyObject = await window.t_emptyObject();
  results.rebound = await window.t_rebind();
  results.echo = await window.t_echo("a\"b\\c", 1, [true, null], {k: "\u00fc"});
  results.slow = await Promise.all([window.t_slow(1), window.t_slow(2)]);
  results.invalid = await window.t_invalid().then(() => "resolved", e => e.message);
  results.unbound = "pending";
  window.__webview__.call("t_unbound").then(() => { results.unbound = "settled"; },
                                            () => { results.unbound = "rejected"; });
  await new Promise(r => setTimeout(r, 500));
  document.getElementById("state").textContent = "done";
  await window.t_report(results);
}
document.addEventListener("DOMContentLoaded", () => { run().catch(e => window.t_report({error: String(e)})); });
</script></body></html>)";

}  // namespace

int main() {
    platform::NativeWindow window = platform::createMainWindow(u"bridge test", 400, 300);
    int width = 0, height = 0;
    platform::clientSize(window, width, height);
    auto host = WebViewHost::create(window, 0, 0, width, height, false);
    if (!host) {
        printf("{\"error\": \"no web view\"}\n");
        return 1;
    }
    host->bind("t_nothing", [](const Text&) { return std::optional<std::string>(); });
    host->bind("t_emptyObject", [](const Text&) { return std::optional<std::string>("{ }"); });
    host->bind("t_rebind", [](const Text&) { return std::optional<std::string>("\"old\""); });
    host->bind("t_rebind", [](const Text&) { return std::optional<std::string>("\"new\""); });
    host->bind("t_echo", [](const Text& params) {
        return std::optional<std::string>(nlohmann::json(platform::textToUtf8(params)).dump());
    });
    host->bind("t_slow", [](const Text& params) {
        const std::string n = platform::textToUtf8(params);
        callLog.push_back("start" + n);
        usleep(300000);
        callLog.push_back("end" + n);
        return std::optional<std::string>(nlohmann::json(callLog).dump());
    });
    host->bind("t_invalid", [](const Text&) { return std::optional<std::string>("not json"); });
    host->bind("t_report", [](const Text& params) {
        printf("%s\n", platform::textToUtf8(params).c_str());
        fflush(stdout);
        return std::optional<std::string>("{ }");
    });
    host->setPage(platform::utf8ToText(kPage));
    platform::runUntilClosed(window);
    return 0;
}
