// Files through the wide Windows file functions, with their share modes.
#include <windows.h>
#include <shlwapi.h>

#include <utility>

#include "platform/platform.h"
#include "platform/win32/gui.h"

namespace platform {

namespace {

DWORD shareMode(Share share) { return share == Share::Read ? FILE_SHARE_READ : 0; }

HANDLE openFile(const Text& path, DWORD access, Share share, DWORD disposition) {
    if (path.empty()) return nullptr;
    HANDLE file = CreateFileW(wide(path), access, shareMode(share), nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

}  // namespace

File::~File() { close(); }

File::File(File&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

bool File::isOpen() const { return handle_ != nullptr; }

bool File::openForRead(const Text& path, Share share) {
    close();
    handle_ = openFile(path, GENERIC_READ, share, OPEN_EXISTING);
    return isOpen();
}

bool File::create(const Text& path, Share share) {
    close();
    handle_ = openFile(path, GENERIC_READ | GENERIC_WRITE, share, CREATE_ALWAYS);
    return isOpen();
}

bool File::openAndTruncate(const Text& path, Share share) {
    close();
    handle_ = openFile(path, GENERIC_WRITE, share, TRUNCATE_EXISTING);
    return isOpen();
}

size_t File::read(void* buffer, size_t size) {
    if (!handle_) return 0;
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, chunk, &got, nullptr)) return 0;
    return got;
}

size_t File::write(const void* buffer, size_t size) {
    if (!handle_) return 0;
    size_t done = 0;
    const char* bytes = static_cast<const char*>(buffer);
    while (done < size) {
        const size_t left = size - done;
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(handle_, bytes + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
    return done;
}

void File::close() {
    if (handle_) CloseHandle(handle_);
    handle_ = nullptr;
}

bool deleteFile(const Text& path) { return !path.empty() && DeleteFileW(wide(path)) != 0; }

PathKind pathKind(const Text& path) {
    if (path.empty()) return PathKind::Missing;
    const DWORD attributes = GetFileAttributesW(wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::Directory : PathKind::File;
}

bool pathFileExists(const Text& path) { return !path.empty() && PathFileExistsW(wide(path)) != 0; }

bool driveExists(char16_t letter) {
    if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - 32);
    if (letter < u'A' || letter > u'Z') return false;
    return (GetLogicalDrives() >> (letter - u'A')) & 1;
}

bool findEntries(const Text& pattern, std::vector<FindEntry>& entries) {
    entries.clear();
    if (pattern.empty()) return false;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(wide(pattern), &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        FindEntry entry;
        entry.name = Text(reinterpret_cast<const char16_t*>(data.cFileName));
        entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.size = entry.isDirectory ? 0
                                       : static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) |
                                                              data.nFileSizeLow);
        entries.push_back(std::move(entry));
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return true;
}

}  // namespace platform
