// Message lookup with placeholders filled from outside text (URLs, extracts).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/catalogue.h"
#include "app/values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = [] {
        setProcessValues(u"");
        fillCatalogue();
        ActiveLanguage = u"en";
        return true;
    }();
    (void)ready;
    const Text input = platform::utf8ToText(std::string(reinterpret_cast<const char*>(data), size));
    // key | find1 | replace1 | find2 | replace2, cut at U+0001
    Text parts[5];
    size_t start = 0;
    for (int i = 0; i < 5; ++i) {
        const size_t end = input.find(u'\x01', start);
        parts[i] = input.substr(start, end == Text::npos ? Text::npos : end - start);
        if (end == Text::npos) break;
        start = end + 1;
    }
    localizedMessage(parts[0], parts[1], parts[2], parts[3], parts[4]);
    // An inserted value reaches the text unchanged.
    const Text url = localizedMessage(u"errDwnld", u"<url>", parts[1]);
    if (parts[1].find(u"<url>") == Text::npos && url.find(u"[" + parts[1] + u"]") == Text::npos) abort();
    return 0;
}
