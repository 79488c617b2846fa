// Arguments quoted by the Windows rules and split again come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/paths.h"

namespace {

// The usual quoting for CommandLineToArgvW.
Text quote(const Text& arg) {
    if (!arg.empty() && arg.find_first_of(u" \t\"") == Text::npos) return arg;
    Text out = u"\"";
    size_t backslashes = 0;
    for (char16_t c : arg) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, u'\\');
    return out + u"\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Text input = platform::utf8ToText(std::string(reinterpret_cast<const char*>(data), size));
    platform::splitCommandLine(input);
    std::vector<Text> args;
    size_t start = 0;
    for (;;) {
        const size_t end = input.find(u'\x01', start);
        args.push_back(input.substr(start, end == Text::npos ? Text::npos : end - start));
        if (end == Text::npos) break;
        start = end + 1;
    }
    Text line = u"\"program.exe\"";
    for (const Text& arg : args) line += u" " + quote(arg);
    const std::vector<Text> split = platform::splitCommandLine(line);
    if (split.size() != args.size() + 1 || split[0] != u"program.exe") abort();
    for (size_t i = 0; i < args.size(); ++i) {
        if (split[i + 1] != args[i]) abort();
    }
    return 0;
}
