// A proxy entry typed into the dialog, through the whole prompt loop.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/catalogue.h"
#include "app/values.h"
#include "net/proxy_settings.h"
#include "tests/support/scripted_gui.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = [] {
        setProcessValues(u"");
        fillCatalogue();
        return true;
    }();
    (void)ready;
    scripted::reset();
    ProxySettings = ProxySettingsRecord{};
    lastProxyInput.clear();
    scripted::dialogAnswers = {platform::utf8ToText(std::string(reinterpret_cast<const char*>(data), size))};
    askProxySettings();
    // Stored only when usable: a scheme and exactly two colons, or cleared.
    if (ProxySettings.set && !ProxySettings.server.empty()) {
        size_t colons = 0;
        for (char c : ProxySettings.server) colons += c == ':';
        if (colons != 2 || ProxySettings.server.find("://") == std::string::npos) abort();
    }
    return 0;
}
