// Starting programs with CreateProcessW, and the shell's open action.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/gui.h"

namespace platform {

namespace {

// The program part of a command line: up to the closing quote, or to the
// first blank when it does not begin with a quote (no escapes, as
// CreateProcessW reads it).
Text programOf(const Text& commandLine) {
    if (!commandLine.empty() && commandLine[0] == u'"') {
        const size_t end = commandLine.find(u'"', 1);
        return commandLine.substr(1, end == Text::npos ? Text::npos : end - 1);
    }
    return commandLine.substr(0, commandLine.find_first_of(u" \t"));
}

bool sameNameIgnoringCase(const Text& a, const char16_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        auto lower = [](char16_t c) -> char16_t { return c >= u'A' && c <= u'Z' ? c + 32 : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return i == a.size() && !b[i];
}

Text systemFolder() {
    wchar_t buffer[MAX_PATH];
    const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? Text() : Text(reinterpret_cast<const char16_t*>(buffer), n);
}

// The file CreateProcessW is to start, named in full so that it searches
// nothing and appends no ".exe". A program given without a folder comes from
// the system folder, PowerShell from its own folder there; it is never taken
// from our own folder (often Downloads, where anyone's files land) or the
// current directory, as CreateProcessW's own search would.
Text applicationName(const Text& program) {
    if (program.find_first_of(u"\\/:") != Text::npos) return program;
    const Text system = systemFolder();
    if (system.empty()) return Text();
    if (sameNameIgnoringCase(program, u"powershell.exe")) {
        return system + u"\\WindowsPowerShell\\v1.0\\powershell.exe";
    }
    return system + u"\\" + program;
}

}  // namespace

Process::~Process() { close(); }

bool Process::start(const Text& commandLine, const Text& workingDirectory, bool hidden, bool captureOutput) {
    close();
    const Text program = programOf(commandLine);
    if (program.empty()) return false;
    const Text application = applicationName(program);
    if (application.empty()) return false;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(hidden ? SW_HIDE : SW_SHOWNORMAL);
    DWORD flags = NORMAL_PRIORITY_CLASS;

    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (captureOutput) {
        SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
        HANDLE inheritableRead = nullptr;
        if (CreatePipe(&inheritableRead, &writeEnd, &inheritable, 0)) {
            // Our end must not reach the program, or the pipe would never
            // break when the program ends.
            if (!DuplicateHandle(GetCurrentProcess(), inheritableRead, GetCurrentProcess(), &readEnd, 0, FALSE,
                                 DUPLICATE_SAME_ACCESS)) {
                readEnd = nullptr;
            }
            CloseHandle(inheritableRead);
            if (!readEnd) {
                CloseHandle(writeEnd);
                writeEnd = nullptr;
            }
        }
        if (writeEnd) {
            startup.dwFlags |= STARTF_USESTDHANDLES;
            startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdOutput = writeEnd;
            startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        } else if (hidden) {
            flags |= CREATE_NEW_CONSOLE;
        }
    }

    // CreateProcessW may write into the command line.
    std::wstring line(reinterpret_cast<const wchar_t*>(commandLine.c_str()), commandLine.size());
    PROCESS_INFORMATION info = {};
    const BOOL started = CreateProcessW(wide(application), &line[0], nullptr, nullptr, captureOutput ? TRUE : FALSE,
                                        flags, nullptr, workingDirectory.empty() ? nullptr : wide(workingDirectory),
                                        &startup, &info);
    if (writeEnd) CloseHandle(writeEnd);
    if (!started) {
        if (readEnd) CloseHandle(readEnd);
        return false;
    }
    CloseHandle(info.hThread);
    if (!captureOutput) {
        // Started and left to run: nothing of it is kept.
        CloseHandle(info.hProcess);
        return true;
    }
    process_ = info.hProcess;
    pipe_ = readEnd;
    return true;
}

bool Process::hasEnded() { return !process_ || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

size_t Process::available() {
    DWORD count = 0;
    if (!pipe_ || !PeekNamedPipe(pipe_, nullptr, 0, nullptr, &count, nullptr)) return 0;
    return count;
}

std::string Process::read(size_t size) {
    std::string bytes(size, '\0');
    size_t done = 0;
    while (pipe_ && done < size) {
        DWORD got = 0;
        if (!ReadFile(pipe_, &bytes[done], static_cast<DWORD>(size - done), &got, nullptr) || got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

void Process::waitForActivity(int milliseconds) {
    // An anonymous pipe cannot be waited on, so the wait is cut into short
    // slices on the process handle, each followed by a look into the pipe.
    const DWORD slice = 10;
    for (int waited = 0; waited < milliseconds; waited += slice) {
        if (!process_ || WaitForSingleObject(process_, slice) != WAIT_TIMEOUT) return;
        if (available() > 0) return;
    }
}

void Process::close() {
    if (pipe_) CloseHandle(pipe_);
    if (process_) CloseHandle(process_);
    pipe_ = process_ = nullptr;
}

bool shellOpen(const Text& target, const Text& workingDirectory) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;  // 0x540
    info.lpVerb = nullptr;
    info.lpFile = wide(target);
    info.lpParameters = L"";
    info.lpDirectory = workingDirectory.empty() ? nullptr : wide(workingDirectory);
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) return false;
    if (info.hProcess) CloseHandle(info.hProcess);
    return true;
}

}  // namespace platform
