#include "net/update_list.h"

#include "app/catalogue.h"
#include "app/message_box.h"
#include "app/text.h"
#include "app/values.h"
#include "net/http_transfer.h"
#include "net/proxy_settings.h"

namespace {

std::string withoutZeroBytes(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        if (c != '\0') out.push_back(c);
    }
    return out;
}

// The decoder turns every invalid sequence into U+FFFD, so only valid UTF-8
// survives the round trip unchanged.
bool isValidUtf8(const std::string& bytes) {
    return platform::textToUtf8(platform::utf8ToText(bytes)) == bytes;
}

Text readLocalFile(const Text& path) {
    platform::File file;
    if (!file.openForRead(path, platform::Share::Exclusive)) return Text();
    std::string bytes;
    char buffer[65536];
    for (size_t n; (n = file.read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
    file.close();
    return decodeListFile(bytes);
}

}  // namespace

Text decodeListFile(const std::string& bytes) {
    auto startsWith = [&](const char* mark, size_t length) { return bytes.compare(0, length, mark, length) == 0; };
    if (startsWith("\xEF\xBB\xBF", 3)) return platform::utf8ToText(withoutZeroBytes(bytes.substr(3)));
    if (startsWith("\xFF\xFE", 2)) {
        Text text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {  // a final odd byte is ignored
            const char16_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
            if (unit != 0) text.push_back(unit);
        }
        return text;
    }
    if (startsWith("\x00\x00\xFE\xFF", 4)) return platform::ansiToText(withoutZeroBytes(bytes.substr(4)));
    if (startsWith("\xFE\xFF", 2)) return platform::ansiToText(withoutZeroBytes(bytes.substr(2)));
    // Without a mark a UTF-8 list keeps its umlauts and an ANSI one still
    // reads right.
    const std::string content = withoutZeroBytes(bytes);
    return isValidUtf8(content) ? platform::utf8ToText(content) : platform::ansiToText(content);
}

Text fetchUpdateList() {
    if (UpdateListUrl.compare(0, 4, u"http") != 0 || UpdateListUrl.size() < 4) return readLocalFile(UpdateListUrl);
    const std::optional<std::string> block = downloadToMemory(UpdateListUrl);
    if (!block) return Text();
    // The text ends at the first zero byte; a byte-order mark stays as U+FEFF.
    return platform::utf8ToText(block->substr(0, block->find('\0')));
}

Text rejectedExtract(const Text& text) {
    Text extract = text.substr(0, 40);
    for (const char16_t* removed : {u"\r", u"\n", u"\t"}) extract = replaceAll(extract, removed, Text());
    return extract;
}

std::optional<Text> runUpdateListLoop() {
    for (;;) {
        const Text list = fetchUpdateList();
        int answer;
        if (list.empty()) {
            answer = showMessageBox(MessageBoxTitle, localizedMessage(u"errUpdateJson", u"<url>", UpdateListUrl),
                                    MB_YESNO_ICONERROR);
        } else {
            const Text trimmed = trimSpaces(list);
            if (!trimmed.empty() && trimmed[0] == u'{') return list;
            answer = showMessageBox(MessageBoxTitle,
                                    localizedMessage(u"errUpdateValid", u"<extract>", rejectedExtract(list)),
                                    MB_YESNO_ICONERROR);
        }
        if (answer != IDYES) return std::nullopt;
        askProxySettings();
    }
}
