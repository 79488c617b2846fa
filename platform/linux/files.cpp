// Files with Windows semantics: drive C: under a folder of ours, names that
// Windows refuses, FindFirstFileW matching, and CreateFileW share modes.
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/linux/paths.h"
#include "platform/platform.h"

namespace platform {

namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool refusedCharacter(char16_t c, bool allowWildcards) {
    if (c < 0x20) return true;
    switch (c) {
    case u'<': case u'>': case u':': case u'"': case u'|': return true;
    case u'*': case u'?': return !allowWildcards;
    default: return false;
    }
}

// Appends the components of a relative Windows path, checking each name.
bool appendComponents(const Text& rest, std::string& out, bool allowWildcards) {
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = start;
        while (end < rest.size() && !isSeparator(rest[end])) ++end;
        const Text name = rest.substr(start, end - start);
        const bool last = end >= rest.size();
        for (char16_t c : name) {
            if (refusedCharacter(c, allowWildcards && last)) return false;
        }
        if (!name.empty()) {
            if (!out.empty() && out.back() != '/') out += '/';
            out += textToUtf8(name);
        }
        if (last) break;
        start = end + 1;
    }
    return true;
}

// Wildcard match of FindFirstFileW: "*" any run, "?" one character, case-insensitive.
bool wildcardMatch(const char16_t* pattern, const char16_t* name) {
    auto lower = [](char16_t c) -> char16_t { return c >= u'A' && c <= u'Z' ? c + 32 : c; };
    if (*pattern == 0) return *name == 0;
    if (*pattern == u'*') {
        for (const char16_t* p = name;; ++p) {
            if (wildcardMatch(pattern + 1, p)) return true;
            if (*p == 0) return false;
        }
    }
    if (*name == 0) return false;
    if (*pattern != u'?' && lower(*pattern) != lower(*name)) return false;
    return wildcardMatch(pattern + 1, name + 1);
}

// Share modes are emulated with open-file-description locks on bytes far past
// any real content: each opener marks what it does and what it denies, and an
// opener whose wish conflicts with another's marks is refused, as CreateFileW
// refuses it with ERROR_SHARING_VIOLATION.
constexpr off_t kMarkBase = 0x7000000000000000LL;
enum Mark { kHasRead = 0, kHasWrite = 1, kDeniesRead = 2, kDeniesWrite = 3 };

bool markHeldByOthers(int fd, Mark mark) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kMarkBase + mark;
    lock.l_len = 1;
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
    return lock.l_type != F_UNLCK;
}

bool setMark(int fd, Mark mark) {
    struct flock lock = {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kMarkBase + mark;
    lock.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool claimShare(int fd, bool write, Share share) {
    const bool deniesRead = share == Share::Exclusive;
    if (markHeldByOthers(fd, kDeniesRead)) return false;  // we always read
    if (write && markHeldByOthers(fd, kDeniesWrite)) return false;
    if (deniesRead && markHeldByOthers(fd, kHasRead)) return false;
    if (markHeldByOthers(fd, kHasWrite)) return false;  // both modes deny write
    return setMark(fd, kHasRead) && (!write || setMark(fd, kHasWrite)) &&
           (!deniesRead || setMark(fd, kDeniesRead)) && setMark(fd, kDeniesWrite);
}

int openShared(const Text& path, int flags, bool write, Share share) {
    std::string native;
    if (!nativePath(path, native)) return -1;
    const int fd = open(native.c_str(), flags | O_CLOEXEC, 0700);
    if (fd < 0) return -1;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !claimShare(fd, write, share)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool nativePath(const Text& path, std::string& out, bool allowWildcards) {
    out.clear();
    if (path.empty()) return false;
    if (path[0] == u'/' ) {
        out = "/";
        return appendComponents(path.substr(1), out, allowWildcards);
    }
    if (path.size() >= 2 && path[1] == u':') {
        const char16_t letter = path[0];
        if (letter != u'C' && letter != u'c') return false;
        out = driveCFolder();
        Text rest = path.substr(2);
        return appendComponents(rest, out, allowWildcards);
    }
    if (isSeparator(path[0])) {
        if (path.size() >= 2 && isSeparator(path[1])) return false;  // UNC or device path
        out = driveCFolder();
        return appendComponents(path.substr(1), out, allowWildcards);
    }
    return appendComponents(path, out, allowWildcards) && (out.empty() ? (out = ".", true) : true);
}

File::~File() { close(); }

bool File::isOpen() const { return fd_ >= 0; }

File::File(File&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

bool File::openForRead(const Text& path, Share share) {
    close();
    fd_ = openShared(path, O_RDONLY, false, share);
    return fd_ >= 0;
}

bool File::create(const Text& path, Share share) {
    close();
    fd_ = openShared(path, O_RDWR | O_CREAT, true, share);
    // CREATE_ALWAYS replaces the attributes of a file that was there, too, so
    // a replaced file is as private and startable as a new one.
    if (fd_ >= 0 && (ftruncate(fd_, 0) != 0 || fchmod(fd_, 0700) != 0)) close();
    return fd_ >= 0;
}

bool File::openAndTruncate(const Text& path, Share share) {
    close();
    fd_ = openShared(path, O_RDWR, true, share);
    if (fd_ >= 0 && ftruncate(fd_, 0) != 0) close();
    return fd_ >= 0;
}

size_t File::read(void* buffer, size_t size) {
    if (fd_ < 0) return 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0) return static_cast<size_t>(n);
        if (errno != EINTR) return 0;
    }
}

size_t File::write(const void* buffer, size_t size) {
    if (fd_ < 0) return 0;
    size_t done = 0;
    const char* bytes = static_cast<const char*>(buffer);
    while (done < size) {
        const ssize_t n = ::write(fd_, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

void File::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool deleteFile(const Text& path) {
    std::string native;
    struct stat info;
    if (!nativePath(path, native) || lstat(native.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    if (S_ISREG(info.st_mode)) {
        const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            const bool inUse = markHeldByOthers(fd, kHasRead) || markHeldByOthers(fd, kHasWrite);
            ::close(fd);
            if (inUse) return false;
        }
    }
    return unlink(native.c_str()) == 0;
}

PathKind pathKind(const Text& path) {
    std::string native;
    struct stat info;
    if (!nativePath(path, native) || stat(native.c_str(), &info) != 0) return PathKind::Missing;
    return S_ISDIR(info.st_mode) ? PathKind::Directory : PathKind::File;
}

bool pathFileExists(const Text& path) { return pathKind(path) != PathKind::Missing; }

bool driveExists(char16_t letter) {
    if (letter != u'C' && letter != u'c') return false;
    struct stat info;
    return stat(driveCFolder().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool findEntries(const Text& pattern, std::vector<FindEntry>& entries) {
    entries.clear();
    std::string native;
    if (!nativePath(pattern, native, true)) return false;
    size_t nameStart = pattern.size();
    while (nameStart > 0 && !isSeparator(pattern[nameStart - 1])) --nameStart;
    const Text namePattern = pattern.substr(nameStart);
    if (namePattern.empty()) return false;  // FindFirstFileW refuses "folder\"
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash));

    auto add = [&](const std::string& name) {
        struct stat info;
        const std::string full = folder + "/" + name;
        if (stat(full.c_str(), &info) != 0) return;
        FindEntry entry;
        entry.name = utf8ToText(name);
        entry.isDirectory = S_ISDIR(info.st_mode);
        entry.size = entry.isDirectory ? 0 : static_cast<int64_t>(info.st_size);
        entries.push_back(std::move(entry));
    };

    if (namePattern.find_first_of(u"*?") == Text::npos) {
        add(native.substr(slash == std::string::npos ? 0 : slash + 1));
        return !entries.empty();
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    while (const dirent* item = readdir(dir)) {
        const Text name = utf8ToText(item->d_name);
        if (wildcardMatch(namePattern.c_str(), name.c_str())) add(item->d_name);
    }
    closedir(dir);
    return !entries.empty();
}

}  // namespace platform
