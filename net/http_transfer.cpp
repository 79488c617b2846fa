#include "net/http_transfer.h"

#include <curl/curl.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "net/proxy_settings.h"

namespace {

const char16_t* const kUserAgent = u"Mozilla/5.0 Gecko/41.0 Firefox/41.0";
constexpr size_t kInitialCapacity = 524288;

void ensureGlobalInit() {
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)done;
}

// A realloc'd block: large blocks grow in place (the allocator remaps
// their pages), where a std::string would copy the whole body each time.
struct MemorySink {
    char* block = nullptr;
    size_t received = 0;
    size_t capacity = 0;
    ~MemorySink() { free(block); }
};

size_t writeToMemory(char* data, size_t size, size_t count, void* state) {
    auto* sink = static_cast<MemorySink*>(state);
    const size_t n = size * count;
    // Grow by the chunk plus the initial size, so a typical body needs only
    // a few reallocations.
    if (sink->received + n > sink->capacity) {
        const size_t capacity = sink->capacity + n + kInitialCapacity;
        char* grown = static_cast<char*>(realloc(sink->block, capacity));
        if (!grown) return 0;  // makes libcurl end the transfer with an error
        sink->block = grown;
        sink->capacity = capacity;
    }
    memcpy(sink->block + sink->received, data, n);
    sink->received += n;
    return n;
}

size_t writeToFile(char* data, size_t size, size_t count, void* state) {
    return static_cast<platform::File*>(state)->write(data, size * count);
}

// The options in their fixed order, the same for both transfers.
void setOptions(CURL* curl, const std::string& url, const std::string& userAgent, curl_write_callback sink,
                void* state) {
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    if (ProxySettings.set) {
        // An empty server makes libcurl connect directly, ignoring the
        // proxy environment variables.
        curl_easy_setopt(curl, CURLOPT_PROXY, ProxySettings.server.c_str());
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, ProxySettings.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, ProxySettings.password.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, sink);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, state);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, 30000L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // There is no overall limit, but a transfer that delivers less than one
    // byte a second for a minute has stalled and would never end.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
}

}  // namespace

std::optional<std::string> downloadToMemory(const Text& url) {
    ensureGlobalInit();
    const std::string narrowUrl = platform::textToAnsi(url);
    const std::string userAgent = platform::textToAnsi(kUserAgent);
    CURL* curl = curl_easy_init();
    if (!curl) return std::nullopt;

    MemorySink sink;
    sink.block = static_cast<char*>(malloc(kInitialCapacity));
    if (!sink.block) {
        curl_easy_cleanup(curl);
        return std::nullopt;
    }
    sink.block[0] = 0;
    sink.capacity = kInitialCapacity;
    setOptions(curl, narrowUrl, userAgent, writeToMemory, &sink);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (result != CURLE_OK) return std::nullopt;
    try {
        return std::optional<std::string>(std::in_place, sink.block, sink.received);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

int downloadToFile(const Text& url, const Text& path) {
    ensureGlobalInit();
    const std::string narrowUrl = platform::textToAnsi(url);
    const std::string userAgent = platform::textToAnsi(kUserAgent);
    CURL* curl = curl_easy_init();
    if (!curl) return 0;

    platform::File file;
    if (!file.create(path, platform::Share::Read)) {
        curl_easy_cleanup(curl);
        return 0;
    }
    setOptions(curl, narrowUrl, userAgent, writeToFile, &file);
    const CURLcode result = curl_easy_perform(curl);
    file.close();
    if (result != CURLE_OK) platform::deleteFile(path);
    curl_easy_cleanup(curl);
    return result == CURLE_OK ? 1 : 0;
}
