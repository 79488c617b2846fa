// Starting programs as CreateProcessW does, and the shell's open action.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/linux/paths.h"
#include "platform/platform.h"

extern char** environ;

namespace platform {

namespace {

bool isSpace(char16_t c) { return c == u' ' || c == u'\t'; }

bool isExecutableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A program without a folder: our own folder first, then PATH. (Windows also
// searches the current and system folders; we deliberately do not.)
bool findProgram(const Text& program, std::string& out) {
    if (program.find_first_of(u"\\/:") != Text::npos) return nativePath(program, out);
    std::string name;
    if (!nativePath(program, name)) return false;
    const std::string own = moduleFolder() + "/" + name;
    if (isExecutableFile(own)) { out = own; return true; }
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        if (!dir.empty() && dir[0] == '/') {
            const std::string candidate = dir + "/" + name;
            if (isExecutableFile(candidate) && access(candidate.c_str(), X_OK) == 0) { out = candidate; return true; }
        }
        start = end + 1;
    }
    return false;
}

[[noreturn]] void childExec(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workdir, int outFd, int errorPipe) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (!workdir.empty() && chdir(workdir.c_str()) != 0) {
        const int error = errno;
        (void)!write(errorPipe, &error, sizeof error);
        _exit(127);
    }
    if (outFd >= 0) {
        dup2(outFd, STDOUT_FILENO);
        if (outFd != STDOUT_FILENO) ::close(outFd);
    }
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execve(program.c_str(), argv.data(), environ);
    const int error = errno;
    (void)!write(errorPipe, &error, sizeof error);
    _exit(127);
}

// Starts a program. With detach the program is left to run on its own: an
// intermediate child forks it and exits, so no zombie stays behind for a
// start nobody waits for. Returns the pid (0 when detached), or -1.
int spawn(const std::string& program, const std::vector<std::string>& args, const std::string& workdir,
          int outFd, bool detach) {
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) return -1;
    const pid_t pid = fork();
    if (pid < 0) {
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        return -1;
    }
    if (pid == 0) {
        ::close(errorPipe[0]);
        if (detach) {
            setsid();
            const pid_t grandchild = fork();
            if (grandchild < 0) {
                const int error = errno;
                (void)!write(errorPipe[1], &error, sizeof error);
                _exit(127);
            }
            if (grandchild > 0) _exit(0);
        }
        childExec(program, args, workdir, outFd, errorPipe[1]);
    }
    ::close(errorPipe[1]);
    int error = 0;
    ssize_t got;
    do {
        got = ::read(errorPipe[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(errorPipe[0]);
    if (detach) {
        int status;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    }
    if (got > 0) {
        if (!detach) {
            int status;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        }
        return -1;
    }
    return detach ? 0 : pid;
}

std::vector<std::string> toUtf8(const std::vector<Text>& args) {
    std::vector<std::string> out;
    for (const Text& arg : args) out.push_back(textToUtf8(arg));
    return out;
}

}  // namespace

// CommandLineToArgvW's rules: the program name ends at the closing quote or
// the first blank, with no escapes; in the arguments 2n backslashes before a
// quote give n backslashes and toggle quoting, 2n+1 give n and a literal
// quote, and "" inside quotes is a literal quote.
std::vector<Text> splitCommandLine(const Text& line) {
    std::vector<Text> args;
    size_t i = 0;
    const size_t n = line.size();
    Text program;
    if (i < n && line[i] == u'"') {
        ++i;
        while (i < n && line[i] != u'"') program += line[i++];
        if (i < n) ++i;
    } else {
        while (i < n && !isSpace(line[i])) program += line[i++];
    }
    args.push_back(program);
    for (;;) {
        while (i < n && isSpace(line[i])) ++i;
        if (i >= n) break;
        Text arg;
        bool quoted = false;
        while (i < n && (quoted || !isSpace(line[i]))) {
            if (line[i] == u'\\') {
                size_t count = 0;
                while (i < n && line[i] == u'\\') { ++count; ++i; }
                if (i < n && line[i] == u'"') {
                    arg.append(count / 2, u'\\');
                    if (count % 2) { arg += u'"'; ++i; }
                } else {
                    arg.append(count, u'\\');
                }
            } else if (line[i] == u'"') {
                if (quoted && i + 1 < n && line[i + 1] == u'"') {
                    arg += u'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += line[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

Process::~Process() { close(); }

bool Process::start(const Text& commandLine, const Text& workingDirectory, bool /*hidden*/, bool captureOutput) {
    close();
    const std::vector<Text> args = splitCommandLine(commandLine);
    std::string program, workdir;
    if (args[0].empty() || !findProgram(args[0], program)) return false;
    if (!workingDirectory.empty() && !nativePath(workingDirectory, workdir)) return false;
    std::vector<std::string> argv = toUtf8(args);
    argv[0] = program;

    int fds[2] = {-1, -1};
    // Without a pipe the program still starts, just without captured output.
    if (captureOutput && pipe2(fds, O_CLOEXEC) != 0) fds[0] = fds[1] = -1;
    const int childOut = fds[1] >= 0 ? fcntl(fds[1], F_DUPFD, 3) : -1;  // inheritable copy
    if (fds[1] >= 0) ::close(fds[1]);
    const int pid = spawn(program, argv, workdir, childOut, !captureOutput);
    if (childOut >= 0) ::close(childOut);
    if (pid < 0) {
        if (fds[0] >= 0) ::close(fds[0]);
        return false;
    }
    if (!captureOutput) return true;
    pid_ = pid;
    pipe_ = fds[0];
    pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    ended_ = false;
    return true;
}

bool Process::hasEnded() {
    if (pid_ < 0 || ended_) return true;
    int status;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_ || (done < 0 && errno == ECHILD)) ended_ = true;
    return ended_;
}

size_t Process::available() {
    int count = 0;
    if (pipe_ < 0 || ioctl(pipe_, FIONREAD, &count) != 0 || count < 0) return 0;
    return static_cast<size_t>(count);
}

std::string Process::read(size_t size) {
    std::string bytes(size, '\0');
    size_t done = 0;
    while (pipe_ >= 0 && done < size) {
        const ssize_t n = ::read(pipe_, &bytes[done], size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

void Process::waitForActivity(int milliseconds) {
    struct pollfd fds[2];
    nfds_t count = 0;
    if (pipe_ >= 0) {
        // A pipe whose writers are all gone reports a hang-up at once; then
        // only the process itself is worth waiting for.
        struct pollfd probe = {pipe_, POLLIN, 0};
        if (poll(&probe, 1, 0) <= 0 || !(probe.revents & POLLHUP) || (probe.revents & POLLIN)) {
            fds[count++] = {pipe_, POLLIN, 0};
        }
    }
    if (pidfd_ >= 0 && !ended_) fds[count++] = {pidfd_, POLLIN, 0};
    // Without a pidfd (older kernels) the end of the program is noticed at
    // the next call, at most one wait later.
    poll(fds, count, milliseconds);
}

void Process::close() {
    if (pipe_ >= 0) ::close(pipe_);
    if (pidfd_ >= 0) ::close(pidfd_);
    pipe_ = pidfd_ = -1;
    pid_ = -1;
    ended_ = false;
}

bool shellOpen(const Text& target, const Text& workingDirectory) {
    std::string workdir;
    if (!workingDirectory.empty() && !nativePath(workingDirectory, workdir)) workdir.clear();
    // A document path is handed over as the Linux file it names; anything
    // else (a web address) goes as it is.
    std::string document = textToUtf8(target);
    std::string native;
    if (target.find(u"://") == Text::npos && target.rfind(u"mailto:", 0) != 0 && nativePath(target, native)) {
        struct stat info;
        if (stat(native.c_str(), &info) == 0) document = native;
    }
    std::string opener;
    if (findProgram(u"xdg-open", opener)) return spawn(opener, {opener, document}, workdir, -1, true) == 0;
    if (findProgram(u"gio", opener)) return spawn(opener, {opener, "open", document}, workdir, -1, true) == 0;
    return false;
}

}  // namespace platform
