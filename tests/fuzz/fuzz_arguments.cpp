// What the page hands the setup and link handlers: the JSON argument array
// and the URL that becomes a file name in the temporary folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "setup/handlers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text input = platform::utf8ToText(std::string(reinterpret_cast<const char*>(data), size));
    singleTextArgument(input);
    const Text segment = lastPathSegment(urlPath(input));
    // The name never leaves the temporary folder.
    if (segment.find_first_of(u"/\\") != Text::npos) abort();
    if (segment.find(u'"') != Text::npos) abort();
    return 0;
}
