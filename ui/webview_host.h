// The web view inside the main window, and the bridge between the page and
// the native handlers.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "ui/webview_api.h"

// A native function the page calls by name. It gets the JSON text of the
// page's argument array and answers with a UTF-8 JSON text, or with nothing,
// which resolves the page's promise with undefined.
using BridgeHandler = std::function<std::optional<std::string>(const Text& params)>;

// Adds an option to WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS unless the variable
// already names it; the engine starts with these options, and programs we
// start later inherit them.
void addBrowserArgument(const Text& name, const Text& option);

class WebViewHost {
public:
    // Nothing when the web view cannot be created: the library is missing or
    // broken, or the engine does not start.
    static std::unique_ptr<WebViewHost> create(platform::NativeWindow parent, int x, int y, int width, int height,
                                               bool debug);
    ~WebViewHost();

    // Binds name, replacing an earlier binding of the same name.
    void bind(const std::string& name, BridgeHandler handler);
    void setPage(const Text& html);

private:
    struct Binding {
        WebViewHost* host;
        BridgeHandler handler;
    };
    static void onCall(const char* id, const char* request, void* arg);

    WebViewHost() = default;
    webview_api::Api api_;
    webview_api::webview_t instance_ = nullptr;
    std::map<std::string, std::unique_ptr<Binding>> bindings_;
};
