#include "net/proxy_settings.h"

#include "app/catalogue.h"
#include "app/message_box.h"
#include "app/text.h"

ProxySettingsRecord ProxySettings;
Text lastProxyInput;

void setProxySettings(const Text& server, const Text& user, const Text& password) {
    ProxySettings.server = platform::textToAnsi(server);
    ProxySettings.user = platform::textToAnsi(user);
    ProxySettings.password = platform::textToAnsi(password);
    ProxySettings.set = true;
}

namespace {

// The fields between single spaces: two spaces in a row give an empty field.
Text field(const Text& entry, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = entry.find(u' ', start);
        if (start == Text::npos) return Text();
        ++start;
    }
    const size_t end = entry.find(u' ', start);
    return entry.substr(start, end == Text::npos ? Text::npos : end - start);
}

}  // namespace

void askProxySettings() {
    for (;;) {
        const Text title = localizedMessage(u"askProxy");
        const Text message = localizedMessage(u"askProxyMsg");
        const Text entry = trimSpaces(platform::inputDialog(title, message, 500, lastProxyInput, u"-1"));
        if (entry.empty()) {
            setProxySettings(Text());
            lastProxyInput.clear();
            return;
        }
        if (entry == u"-1") return;
        lastProxyInput = entry;

        Text server = field(entry, 0);
        if (server.find(u"://") == Text::npos) server = u"http://" + server;
        size_t colons = 0;
        for (char16_t c : server) colons += c == u':';
        if (colons == 2) {
            setProxySettings(server, field(entry, 1), field(entry, 2));
            return;
        }
        showMessageBox(MessageBoxTitle, localizedMessage(u"errProxy"), MB_ICONERROR);
    }
}
