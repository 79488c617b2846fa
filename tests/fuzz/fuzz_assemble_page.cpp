// Any list text keeps the page's one script element whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "ui/assemble_page.h"

namespace {

size_t count(const Text& text, const Text& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != Text::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Text plain = assemblePage(u"{}", u"en");
    const Text list = platform::utf8ToText(std::string(reinterpret_cast<const char*>(data), size));
    const Text page = assemblePage(list, u"en");
    if (count(page, u"<") != count(plain, u"<")) abort();  // no markup from the list
    if (page.size() + 2 < plain.size() + list.size()) abort();  // nothing of the list is lost
    return 0;
}
