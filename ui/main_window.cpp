#include "ui/main_window.h"

#include "app/catalogue.h"
#include "probe/mail_clients.h"
#include "setup/handlers.h"
#include "ui/assemble_page.h"
#include "ui/webview_host.h"

void runMainWindow(const Text& updateList, const Text& languageCode) {
    platform::NativeWindow window = platform::createMainWindow(localizedMessage(u"winHeader"), 800, 600);
    const Text page = assemblePage(updateList, languageCode);
    int width = 0, height = 0;
    platform::clientSize(window, width, height);
    // Without a host (no web view library, or the engine failed) the window
    // stays empty and still closes normally.
    std::unique_ptr<WebViewHost> host = WebViewHost::create(window, 0, 0, width, height, false);
    if (host) {
        host->bind("pb_isThunderbird", detectThunderbird);
        host->bind("pb_isOutlookClassic32", detectOutlookClassic32);
        host->bind("pb_isOutlookClassic64", detectOutlookClassic64);
        host->bind("pb_isOutlookNew", detectOutlookNew);
        host->bind("pb_openUrl", openUrlHandler);
        host->bind("pb_runSetup", runSetupHandler);
        host->setPage(page);
    }
    platform::runUntilClosed(window);
}
