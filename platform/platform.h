// Every operating-system service the core uses. The core speaks UTF-16 text
// and Windows paths; each declaration notes the Windows behaviour that the
// Linux implementation reproduces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Text = std::u16string;

namespace platform {

// ---- text -----------------------------------------------------------------

// MultiByteToWideChar(CP_UTF8, 0): invalid sequences become U+FFFD.
Text utf8ToText(const std::string& bytes);
// WideCharToMultiByte(CP_UTF8): unpaired surrogates become U+FFFD.
std::string textToUtf8(const Text& text);
// CP_ACP is Windows-1252 (the code page of German, English and French Windows).
Text ansiToText(const std::string& bytes);
// A character outside the code page becomes "?" (WC_NO_BEST_FIT_CHARS).
std::string textToAnsi(const Text& text);

// ---- process set-up ---------------------------------------------------------

// CoInitializeEx/OleInitialize (STA) and InitCommonControlsEx; nothing on Linux.
void initComAndControls();
// The folder that stands for drive C: on Linux (a build setting); ignored on
// Windows, where drive C: is the real one.
void setDriveCFolder(const std::string& folder);
// GetModuleFileNameW: the full path of the running executable.
Text modulePath();

// GetThreadLocale: a Windows locale identifier (0x0407 for de_DE, ...).
unsigned threadLocale();

// GetEnvironmentVariableW / SetEnvironmentVariableW.
bool environmentVariable(const Text& name, Text& value);
bool setEnvironmentVariable(const Text& name, const Text& value);

// SHGetFolderPathW(CSIDL_APPDATA): the roaming application-data folder.
Text roamingDataFolder();

// ---- files --------------------------------------------------------------

// What others may do while a file is open (the CreateFileW share modes the
// program uses): nothing, or only read.
enum class Share { Exclusive, Read };

// A file handle with Windows sharing rules. Closes itself.
class File {
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // OPEN_EXISTING with GENERIC_READ.
    bool openForRead(const Text& path, Share share);
    // CREATE_ALWAYS with GENERIC_READ | GENERIC_WRITE: an existing file is
    // replaced (emptied), normal attributes.
    bool create(const Text& path, Share share);
    // OPEN_EXISTING with GENERIC_WRITE, then emptied (TRUNCATE_EXISTING).
    bool openAndTruncate(const Text& path, Share share);

    bool isOpen() const;
    // Returns the number of bytes read; 0 at the end or on failure.
    size_t read(void* buffer, size_t size);
    // Returns the number of bytes written; fewer than asked on failure.
    size_t write(const void* buffer, size_t size);
    void close();

private:
#ifdef _WIN32
    void* handle_ = nullptr;  // a HANDLE; null when closed
#else
    int fd_ = -1;
#endif
};

// DeleteFileW: fails for a directory, a missing file, or a file that is open
// (none of the program's openers shares delete access).
bool deleteFile(const Text& path);

enum class PathKind { Missing, File, Directory };
// GetFileAttributesW, read as "nothing there", "a file" or "a directory".
PathKind pathKind(const Text& path);
// PathFileExistsW: a wildcard or any name Windows refuses never exists.
bool pathFileExists(const Text& path);
// Whether "X:" names a drive that exists (only C: does on Linux).
bool driveExists(char16_t letter);

struct FindEntry {
    Text name;
    bool isDirectory = false;
    int64_t size = 0;
};
// FindFirstFileW/FindNextFileW over one pattern; "*" and "?" are matched
// case-insensitively in the last component only. Returns false when the
// enumeration cannot be started (no folder, or no entry matched).
bool findEntries(const Text& pattern, std::vector<FindEntry>& entries);

// GetTempPathW: the per-user temporary folder, ending with a separator.
Text tempPath();
// GetLongPathNameW: false when the path does not exist.
bool longPathName(const Text& path, Text& longPath);

// ---- processes ----------------------------------------------------------

// A started program with the read end of its standard output pipe.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // CreateProcessW with the command line, split by the Windows rules. A
    // program without a folder is looked up in the program's own folder, then
    // along PATH. The working directory is the current one when empty. With
    // captureOutput the program's standard output is a pipe we read.
    bool start(const Text& commandLine, const Text& workingDirectory, bool hidden, bool captureOutput);
    // WaitForSingleObject(process, 0) == WAIT_OBJECT_0.
    bool hasEnded();
    // PeekNamedPipe: bytes waiting in the pipe; 0 when the query fails.
    size_t available();
    // ReadFile until size bytes arrived or the pipe broke.
    std::string read(size_t size);
    // Blocks until output is waiting, the program ends, or the time passes,
    // so a waiting caller does not spin a CPU.
    void waitForActivity(int milliseconds);
    // Closes the process handle and the pipe; the program is not terminated.
    void close();

private:
#ifdef _WIN32
    void* process_ = nullptr;  // HANDLEs
    void* pipe_ = nullptr;
#else
    int pid_ = -1;
    int pidfd_ = -1;
    int pipe_ = -1;
    bool ended_ = false;
#endif
};

// ShellExecuteExW with the default verb, mask 0x540 and no error UI.
bool shellOpen(const Text& target, const Text& workingDirectory);

// ---- user interface -------------------------------------------------------

// MessageBoxW with the owner rule: the foreground window if it belongs to
// this process, else none. Other windows of the program are disabled while
// the box is open. Returns IDOK 1, IDYES 6, IDNO 7, or 0 when no box could be
// shown. Flags used: 0 (OK), 16 (OK, error icon), 20 (Yes/No, error icon),
// 68 (Yes/No, information icon).
int messageBox(const Text& title, const Text& text, unsigned flags);

// A modal one-line input dialog: the entry's text when confirmed with OK or
// Return, cancelValue otherwise. width is in 1/96-inch units.
Text inputDialog(const Text& title, const Text& message, int width, const Text& defaultText,
                 const Text& cancelValue);

// ---- main window and web view ---------------------------------------------

// An opaque window or control of the platform layer.
using NativeWindow = void*;

// A top-level window with a title bar, a system menu and a close button, not
// resizable, whose client area is clientWidth x clientHeight logical pixels
// scaled by the screen DPI / 96; centred on the primary screen, shown at once,
// with the program icon and the button-face background.
NativeWindow createMainWindow(const Text& title, int clientWidth, int clientHeight);
// The client size in logical pixels (pixels divided by DPI / 96).
void clientSize(NativeWindow window, int& width, int& height);
// A child control at (x, y) with the given size in logical pixels.
NativeWindow createContainer(NativeWindow parent, int x, int y, int width, int height);
// What the web view library takes as the window to create its view in.
void* webViewParent(NativeWindow container);
// Makes the web view's own widget fill the container.
void fitWebViewWidget(NativeWindow container, void* widget);
// The engine settings the library does not make: developer tools off,
// script dialogs on, clipboard reading granted. False when they cannot be set.
bool configureWebView(void* browserController);
// Dispatches every event of the thread until the close request of window.
void runUntilClosed(NativeWindow window);

// LoadLibraryExW of a library in the executable's own folder only; null when
// it is missing or cannot be loaded.
void* loadLibraryBesideProgram(const Text& fileName);
// The file name of the web view library for this platform.
Text webViewLibraryName();
void* librarySymbol(void* library, const char* name);

}  // namespace platform
