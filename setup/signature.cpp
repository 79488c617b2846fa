#include "setup/signature.h"

#include <pcre.h>

#include <vector>

#include "app/text.h"
#include "setup/runner.h"

namespace {

const int kOptions = PCRE_CASELESS | PCRE_MULTILINE | PCRE_DOTALL | PCRE_UTF8 | PCRE_NO_UTF8_CHECK;

// Whether pattern matches subject; a pattern that does not compile matches
// nothing. With anchored, the match must start at the subject's start.
bool matches(const Text& pattern, const Text& subject, bool anchored = false) {
    const std::string utf8Pattern = platform::textToUtf8(pattern);
    const std::string utf8Subject = platform::textToUtf8(subject);
    const char* error = nullptr;
    int errorOffset = 0;
    pcre* compiled = pcre_compile(utf8Pattern.c_str(), kOptions, &error, &errorOffset, nullptr);
    if (!compiled) return false;
    int vector[30];
    const int result = pcre_exec(compiled, nullptr, utf8Subject.c_str(), static_cast<int>(utf8Subject.size()), 0,
                                 PCRE_NO_UTF8_CHECK | (anchored ? PCRE_ANCHORED : 0), vector, 30);
    pcre_free(compiled);
    return result >= 0;
}

std::vector<Text> lines(const Text& text) {
    std::vector<Text> out;
    size_t start = 0;
    for (size_t end; (end = text.find(u'\n', start)) != Text::npos; start = end + 1) {
        out.push_back(text.substr(start, end - start));
    }
    out.push_back(text.substr(start));
    return out;
}

Text trimBlanks(const Text& text) {
    const size_t first = text.find_first_not_of(u" \t");
    if (first == Text::npos) return Text();
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

bool isSectionHeader(const Text& trimmed) {
    return trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']';
}

// The text of the signer certificate's [Subject] section: what follows the
// header up to the next section or property.
Text subjectSection(const std::vector<Text>& reportLines) {
    Text section;
    bool inside = false;
    for (const Text& line : reportLines) {
        const Text trimmed = trimBlanks(line);
        if (!inside) {
            const size_t header = line.find(u"[Subject]");
            if (header != Text::npos && line.rfind(u"SignerCertificate", 0) == 0) {
                inside = true;
                section = line.substr(header + 9);
            }
            continue;
        }
        const bool property = !line.empty() && line[0] != u' ' && line[0] != u'\t';
        if (isSectionHeader(trimmed) || property) break;
        section += u"\n" + line;
    }
    return section;
}

}  // namespace

Text signatureCommand(const Text& path) {
    // Inside a single-quoted PowerShell string each of its five single quotes
    // is written twice; -LiteralPath keeps [ ] * ? from being a wildcard that
    // would make PowerShell check some other file.
    Text quoted;
    for (char16_t c : path) {
        quoted += c;
        if (c == u'\'' || c == 0x2018 || c == 0x2019 || c == 0x201A || c == 0x201B) quoted += c;
    }
    return u"Get-AuthenticodeSignature -LiteralPath '" + quoted + u"' | Format-List -property Status, SignerCertificate";
}

int judgeSignatureReport(const Text& rawReport, const Text& expectedSigner) {
    // The runner's separators can fall inside a word.
    const Text report = replaceAll(rawReport, u"\r", Text());
    const std::vector<Text> reportLines = lines(report);
    // The status is the first line that begins with "Status", so that a
    // certificate field holding such text cannot stand in for it.
    bool valid = false;
    for (const Text& line : reportLines) {
        if (!matches(u"Status", line, true)) continue;
        valid = matches(u"Status\\s*:\\s*Valid\\s*$", line, true);
        break;
    }
    if (!valid) return 0;
    // The signer is searched for in the signer's subject only, never in its
    // issuer or elsewhere in the report.
    const Text subject = subjectSection(reportLines);
    return !subject.empty() && matches(expectedSigner, subject) ? 1 : 0;
}

int verifySignature(const Text& path, const Text& expectedSigner) {
    // PowerShell rebuilds its command from arguments split at blanks, so a run
    // of blanks in the path would name another file: fail closed.
    if (path.find(u"  ") != Text::npos || path.find(u'\t') != Text::npos) return 0;
    const Text report = runAndCapture(u"powershell.exe", signatureCommand(path), Text(), u"\r", true);
    return judgeSignatureReport(report, expectedSigner);
}
