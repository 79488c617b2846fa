// The update list as it arrives: decoding a local file's bytes, the
// acceptance test and the extract shown for a rejected text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/text.h"
#include "net/update_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Text text = decodeListFile(bytes);
    for (char16_t c : text) {
        if (c == 0) abort();  // zero units never survive decoding
    }
    const Text extract = rejectedExtract(text);
    if (extract.size() > 40 || extract.find_first_of(u"\r\n\t") != Text::npos) abort();
    const Text trimmed = trimSpaces(text);
    if (!trimmed.empty() && (trimmed.front() == u' ' || trimmed.back() == u' ')) abort();
    return 0;
}
