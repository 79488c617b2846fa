// Figures for the native work a user waits for: transfer throughput beside
// the curl command line tool, the CPU the runner uses while it waits, page
// assembly, and the signature check beside the osslsigncode call it wraps.
// Every figure is the median of several runs, measured in this run.
//
//   bench_core PORT FOLDER     (PORT: tools/testserver.py, FOLDER: scratch space)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "net/http_transfer.h"
#include "platform/platform.h"
#include "setup/runner.h"
#include "setup/signature.h"
#include "ui/assemble_page.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double seconds = 0;
    long peakKb = 0;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs work in a child process, so that its peak memory is its own.
Sample inChild(const std::function<bool()>& work) {
    fflush(stdout);  // a child must not print the table again
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) _exit(work() ? 0 : 1);
    int status = 0;
    struct rusage usage = {};
    wait4(child, &status, 0, &usage);
    Sample sample;
    sample.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    sample.peakKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) sample.seconds = -1;
    return sample;
}

Sample medianOf(int runs, const std::function<Sample()>& once) {
    std::vector<double> seconds;
    long peak = 0;
    for (int i = 0; i < runs; ++i) {
        const Sample s = once();
        seconds.push_back(s.seconds);
        peak = std::max(peak, s.peakKb);
    }
    return {median(seconds), peak};
}

bool runCommand(const std::vector<std::string>& args) {
    fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(126);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void row(const char* what, const char* ours, double a, const char* theirs, double b, const char* unit) {
    printf("| %-34s | %-22s %10.3f | %-22s %10.3f | %6.2f | %s\n", what, ours, a, theirs, b, b > 0 ? a / b : 0.0, unit);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: bench_core PORT FOLDER\n");
        return 2;
    }
    const std::string base = "http://127.0.0.1:" + std::string(argv[1]);
    const std::string folder = argv[2];
    const std::string target = folder + "/download.bin";
    printf("| %-34s | %-33s | %-33s | %6s | unit\n", "measure", "ours (median)", "reference (median)", "ratio");
    printf("|%s|%s|%s|%s|\n", std::string(36, '-').c_str(), std::string(35, '-').c_str(),
           std::string(35, '-').c_str(), std::string(8, '-').c_str());

    for (long megabytes : {1L, 64L, 512L}) {
        const std::string url = base + "/stream/" + std::to_string(megabytes << 20);
        const Text wideUrl = platform::utf8ToText(url), wideTarget = platform::utf8ToText(target);
        const int runs = megabytes >= 512 ? 3 : 5;
        const Sample toFile = medianOf(runs, [&] { return inChild([&] { return downloadToFile(wideUrl, wideTarget) == 1; }); });
        const Sample curlFile = medianOf(runs, [&] { return inChild([&] { return runCommand({"curl", "-s", "-o", target, url}); }); });
        const Sample toMemory = medianOf(runs, [&] { return inChild([&] { return downloadToMemory(wideUrl).has_value(); }); });
        const Sample curlNull = medianOf(runs, [&] { return inChild([&] { return runCommand({"curl", "-s", "-o", "/dev/null", url}); }); });
        const std::string size = std::to_string(megabytes) + " MB";
        row(("downloadToFile " + size).c_str(), "MB/s", megabytes / toFile.seconds, "curl -o file MB/s",
            megabytes / curlFile.seconds, "throughput, higher is better");
        row(("downloadToFile " + size + " peak RSS").c_str(), "KB", toFile.peakKb, "curl -o file KB",
            curlFile.peakKb, "must not grow with the body");
        row(("downloadToMemory " + size).c_str(), "MB/s", megabytes / toMemory.seconds, "curl -o /dev/null MB/s",
            megabytes / curlNull.seconds, "throughput");
        row(("downloadToMemory " + size + " peak RSS").c_str(), "KB", toMemory.peakKb, "curl -o /dev/null KB",
            curlNull.peakKb, "holds the body, as it must");
    }
    unlink(target.c_str());

    // CPU while waiting: our runner against a poll loop that never waits.
    auto cpuSeconds = [] {
        struct rusage usage = {};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    auto cpuShare = [&](const std::function<void()>& wait) {
        const double cpu = cpuSeconds();
        const auto start = Clock::now();
        wait();
        return (cpuSeconds() - cpu) / std::chrono::duration<double>(Clock::now() - start).count();
    };
    std::vector<double> ours, spinning;
    for (int i = 0; i < 3; ++i) {
        ours.push_back(cpuShare([] { runAndCapture(u"/bin/sh", u"-c \"sleep 3; echo done\"", Text(), u"\r", true); }));
        spinning.push_back(cpuShare([] {
            platform::Process process;
            process.start(u"\"/bin/sh\" -c \"sleep 3; echo done\"", Text(), true, true);
            while (!process.hasEnded() || process.available() > 0) {
                if (process.available() > 0) process.read(process.available());
            }
        }));
    }
    row("runAndCapture, 3 s sleeper", "CPU/wall", median(ours), "spinning poll CPU/wall", median(spinning),
        "close to 0 is right");

    // Page assembly for a 1 MB list.
    const Text list = u"{\"quillbox\":{\"name\":\"" + Text(1 << 20, u'q') + u"\"}}";
    std::vector<double> assembly, small;
    for (int i = 0; i < 5; ++i) {
        auto start = Clock::now();
        assemblePage(list, u"en");
        assembly.push_back(std::chrono::duration<double>(Clock::now() - start).count() * 1000);
        start = Clock::now();
        assemblePage(u"{}", u"en");
        small.push_back(std::chrono::duration<double>(Clock::now() - start).count() * 1000);
    }
    row("assemblePage, 1 MB list", "ms", median(assembly), "assemblePage, {} ms", median(small), "time");

    // The signature check beside the osslsigncode call that does the work.
    const char* fixture = getenv("BENCH_SIGNED_FILE");
    const char* trust = getenv("AUTHENTICODE_TRUST_FILE");
    if (fixture && trust) {
        std::vector<double> check, plain;
        for (int i = 0; i < 3; ++i) {
            auto start = Clock::now();
            if (verifySignature(platform::utf8ToText(fixture), u"CN=tolvane") != 1) fprintf(stderr, "check failed\n");
            check.push_back(std::chrono::duration<double>(Clock::now() - start).count() * 1000);
            start = Clock::now();
            runCommand({"osslsigncode", "verify", "-CAfile", trust, "-ignore-cdp", "-in", fixture});
            plain.push_back(std::chrono::duration<double>(Clock::now() - start).count() * 1000);
        }
        row("verifySignature", "ms", median(check), "osslsigncode verify ms", median(plain), "time");
    }
    return 0;
}
