#include "setup/handlers.h"

#include <nlohmann/json.hpp>

#include "app/catalogue.h"
#include "app/message_box.h"
#include "app/path_size.h"
#include "net/http_transfer.h"
#include "setup/runner.h"
#include "setup/signature.h"

namespace {

const char* const kReply = "{ }";

bool startsWithCaseless(const Text& text, const Text& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<Text> singleTextArgument(const Text& params) {
    try {
        const nlohmann::json document = nlohmann::json::parse(platform::textToUtf8(params), nullptr, false);
        if (document.is_discarded() || !document.is_array() || document.size() != 1) return std::nullopt;
        const nlohmann::json& element = document[0];
        return element.is_string() ? platform::utf8ToText(element.get<std::string>()) : Text();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

Text urlPath(const Text& url) {
    const size_t scheme = url.find(u"://");
    if (scheme == Text::npos) return Text();
    const size_t slash = url.find(u'/', scheme + 3);
    if (slash == Text::npos) return Text();
    const size_t query = url.find(u'?', slash + 1);
    const Text path = url.substr(slash + 1, query == Text::npos ? Text::npos : query - slash - 1);
    // The path is cut before the ANSI round trip, so that a character the
    // code page lacks becomes a "?" in the name (which no file may have)
    // instead of a query that cuts the name short.
    return platform::ansiToText(platform::textToAnsi(path));
}

Text lastPathSegment(const Text& path) {
    const size_t separator = path.find_last_of(u"/\\");
    size_t start = separator == Text::npos ? 0 : separator + 1;
    if (start == 0 && !path.empty() && path[0] == u'"') start = 1;
    const size_t quote = path.find(u'"', start);
    return path.substr(start, quote == Text::npos ? Text::npos : quote - start);
}

Text setupTargetPath(const Text& url) { return temporaryFolder() + lastPathSegment(urlPath(url)); }

std::optional<std::string> runSetupHandler(const Text& params) {
    const std::optional<Text> url = singleTextArgument(params);
    if (!url) return std::nullopt;
    const Text target = setupTargetPath(*url);
    if (pathSize(target) >= 0) platform::deleteFile(target);

    // From the end of its download until it has been started, the setup is
    // held open, shared for reading only, so that no other program can change
    // or replace the file between the check and the start. A file that cannot
    // be held is not started.
    platform::File held;
    const bool downloaded = downloadToFile(*url, target) && held.openForRead(target, platform::Share::Read);
    if (!downloaded || pathSize(target) < MinimumSetupSize) {
        showMessageBox(MessageBoxTitle, localizedMessage(u"errDwnld", u"<url>", *url), MB_OK);
    } else if (verifySignature(target, ExpectedSigner)) {
        startDocument(target);
    } else {
        showMessageBox(MessageBoxTitle, localizedMessage(u"errSig"), MB_ICONERROR);
    }
    return std::string(kReply);
}

std::optional<std::string> openUrlHandler(const Text& params) {
    const std::optional<Text> url = singleTextArgument(params);
    if (!url) return std::nullopt;
    // Links are only ever opened, never run: a path or command line in the
    // list must not start an unsigned program.
    if (startsWithCaseless(*url, u"http://") || startsWithCaseless(*url, u"https://") ||
        startsWithCaseless(*url, u"mailto:")) {
        platform::shellOpen(*url, Text());
    }
    return std::string(kReply);
}
