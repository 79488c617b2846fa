#include "probe/mail_clients.h"

#include <vector>

#include "app/path_size.h"

namespace {

std::string reply(bool found) { return found ? FoundReplyYes : FoundReplyNo; }

bool anyOfficeVersion(const Text& prefix, int first, int last) {
    for (int n = first; n <= last; ++n) {
        const std::string number = std::to_string(n);
        if (isNonEmptyFile(prefix + Text(number.begin(), number.end()) + u"\\outlook.exe")) return true;
    }
    return false;
}

}  // namespace

bool isNonEmptyFile(const Text& path) { return pathSize(path) > 0; }

std::optional<std::string> detectThunderbird(const Text&) {
    return reply(isNonEmptyFile(u"C:\\Program Files\\Mozilla Thunderbird\\thunderbird.exe") ||
                 isNonEmptyFile(u"C:\\Program Files (x86)\\Mozilla Thunderbird\\thunderbird.exe"));
}

std::optional<std::string> detectOutlookClassic32(const Text&) {
    return reply(anyOfficeVersion(u"C:\\Program Files (x86)\\Microsoft Office\\root\\Office", 2019, 2040));
}

std::optional<std::string> detectOutlookClassic64(const Text&) {
    return reply(anyOfficeVersion(u"C:\\Program Files\\Microsoft Office\\root\\Office", 15, 40));
}

std::optional<std::string> detectOutlookNew(const Text&) {
    Text localAppData;
    platform::environmentVariable(u"LOCALAPPDATA", localAppData);
    std::vector<platform::FindEntry> entries;
    if (platform::findEntries(localAppData + u"\\Packages\\Microsoft.OutlookForWindows_*", entries)) {
        for (const platform::FindEntry& entry : entries) {
            if (entry.isDirectory) return reply(true);
        }
    }
    return reply(isNonEmptyFile(
        u"C:\\Program Files\\WindowsApps\\Microsoft.OutlookForWindows_1.2023.1214.201_x64__8wekyb3d8bbwe\\olk.exe"));
}
