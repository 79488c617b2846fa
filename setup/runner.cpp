#include "setup/runner.h"

namespace {

Text commandLine(const Text& program, const Text& parameters) {
    Text line = !program.empty() && program[0] == u'"' ? program : u"\"" + program + u"\"";
    if (!parameters.empty()) line += u" " + parameters;
    return line;
}

}  // namespace

Text runAndCapture(const Text& program, const Text& parameters, const Text& workingDirectory,
                   const Text& separator, bool hidden) {
    platform::Process process;
    if (!process.start(commandLine(program, parameters), workingDirectory, hidden, true)) return Text();
    Text collected;
    for (;;) {
        const size_t waiting = process.available();
        if (waiting > 0) {
            std::string bytes = process.read(waiting);
            bytes = bytes.substr(0, bytes.find('\0'));
            collected += platform::ansiToText(bytes) + separator;
            continue;
        }
        // Output written just before the end is still in the pipe: the loop
        // ends only once the program has ended and nothing is waiting.
        if (process.hasEnded()) {
            if (process.available() == 0) break;
            continue;
        }
        process.waitForActivity(200);
    }
    process.close();
    return collected;
}

bool startDocument(const Text& target) {
    platform::Process process;
    if (process.start(commandLine(target, Text()), Text(), false, false)) return true;
    // The shell's working directory: the target's folder, when it names one.
    const size_t slash = target.rfind(u'\\');
    const Text folder = slash != Text::npos && slash > 0 ? target.substr(0, slash + 1) : Text();
    return platform::shellOpen(target, folder);
}
