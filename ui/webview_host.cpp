#include "ui/webview_host.h"

namespace {

constexpr size_t kArgumentBuffer = 16000;
// Windows limits an environment variable to 32,767 characters.
constexpr size_t kEnvironmentLimit = 32767;

template <typename T>
bool load(void* library, const char* name, T& function) {
    function = reinterpret_cast<T>(platform::librarySymbol(library, name));
    return function != nullptr;
}

bool loadApi(webview_api::Api& api) {
    // Kept for the life of the process: the page runs inside it.
    static void* library = platform::loadLibraryBesideProgram(platform::webViewLibraryName());
    return library && load(library, "webview_create", api.create) && load(library, "webview_destroy", api.destroy) &&
           load(library, "webview_get_native_handle", api.get_native_handle) &&
           load(library, "webview_set_html", api.set_html) && load(library, "webview_bind", api.bind) &&
           load(library, "webview_unbind", api.unbind) && load(library, "webview_return", api.ret);
}

}  // namespace

void addBrowserArgument(const Text& name, const Text& option) {
    const Text variable = u"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS";
    Text value;
    platform::environmentVariable(variable, value);
    // A value that does not fit the buffer cannot be read back whole, so it
    // is left as it is rather than cut short.
    if (value.size() >= kArgumentBuffer) return;
    if (value.find(name) != Text::npos) return;
    const Text extended = value + u" " + option;
    if (extended.size() > kEnvironmentLimit) return;
    platform::setEnvironmentVariable(variable, extended);
}

std::unique_ptr<WebViewHost> WebViewHost::create(platform::NativeWindow parent, int x, int y, int width,
                                                 int height, bool debug) {
    addBrowserArgument(u"--disk-cache-dir", u"--disk-cache-dir=\"" + platform::tempPath() + u"\\WebView2_Cache\"");
    platform::NativeWindow container = platform::createContainer(parent, x, y, width, height);
    if (!container) return nullptr;

    std::unique_ptr<WebViewHost> host(new WebViewHost());
    if (!loadApi(host->api_)) return nullptr;
    host->instance_ = host->api_.create(debug ? 1 : 0, platform::webViewParent(container));
    if (!host->instance_) return nullptr;
    platform::fitWebViewWidget(container, host->api_.get_native_handle(host->instance_, webview_api::kUiWidget));
    void* controller = host->api_.get_native_handle(host->instance_, webview_api::kBrowserController);
    if (!platform::configureWebView(controller)) return nullptr;
    return host;
}

WebViewHost::~WebViewHost() {
    // The instance lives until the process ends, like the window it is in.
}

void WebViewHost::bind(const std::string& name, BridgeHandler handler) {
    if (bindings_.count(name)) {
        api_.unbind(instance_, name.c_str());
        bindings_.erase(name);
    }
    auto binding = std::make_unique<Binding>(Binding{this, std::move(handler)});
    api_.bind(instance_, name.c_str(), &WebViewHost::onCall, binding.get());
    bindings_[name] = std::move(binding);
}

void WebViewHost::setPage(const Text& html) { api_.set_html(instance_, platform::textToUtf8(html).c_str()); }

void WebViewHost::onCall(const char* id, const char* request, void* arg) {
    auto* binding = static_cast<Binding*>(arg);
    const std::optional<std::string> result = binding->handler(platform::utf8ToText(request ? request : ""));
    // Status 0 always; an empty result reaches the page as undefined.
    binding->host->api_.ret(binding->host->instance_, id, 0, result ? result->c_str() : "");
}
