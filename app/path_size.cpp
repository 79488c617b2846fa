#include "app/path_size.h"

#include <vector>

int64_t pathSize(const Text& input) {
    Text path = input;
    while (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) path.pop_back();
    if (path.empty()) return -1;
    if (path.size() == 2 && path[1] == u':') return platform::driveExists(path[0]) ? -2 : -1;

    std::vector<platform::FindEntry> entries;
    if (platform::findEntries(path, entries)) {
        // FindFirstFileW matches wildcards; PathFileExistsW does not, so a
        // pattern never passes for the file it happens to find.
        if (!platform::pathFileExists(path)) return -1;
        return entries.front().isDirectory ? -2 : entries.front().size;
    }
    const bool special = path.rfind(u"\\\\", 0) == 0 || path.rfind(u"//", 0) == 0 || path.rfind(u"..", 0) == 0;
    if (special && platform::pathKind(path) == platform::PathKind::Directory) return -2;
    return -1;
}

Text temporaryFolder() {
    const Text shortPath = platform::tempPath();
    Text longPath;
    if (shortPath.empty() || !platform::longPathName(shortPath, longPath)) return Text();
    if (longPath.back() != u'\\' && longPath.back() != u'/') longPath += u'\\';
    return longPath.size() > 259 ? Text() : longPath;
}
