// A bare page in the same web view library and window as the program: the
// reference for how long the program takes until its list shows.
//
//   bare_page REPORT_URL
#include <string>

#include "platform/platform.h"
#include "ui/webview_host.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    platform::NativeWindow window = platform::createMainWindow(u"bare page", 800, 600);
    int width = 0, height = 0;
    platform::clientSize(window, width, height);
    auto host = WebViewHost::create(window, 0, 0, width, height, false);
    if (!host) return 1;
    host->setPage(platform::utf8ToText("<!DOCTYPE html><html><body><p>bare</p><script>"
                                       "document.addEventListener('DOMContentLoaded',function(){"
                                       "(new Image()).src='" + std::string(argv[1]) + "';});</script></body></html>"));
    platform::runUntilClosed(window);
    return 0;
}
