// The proxy the user entered: in memory for this run only.
#pragma once

#include <string>

#include "platform/platform.h"

// Texts in the ANSI code page, as libcurl takes them. Written only by
// setProxySettings; read by the transfers at their start.
struct ProxySettingsRecord {
    bool set = false;
    std::string server;
    std::string user;
    std::string password;
};
extern ProxySettingsRecord ProxySettings;

// The last entry, trimmed, that was neither empty nor the cancel value.
extern Text lastProxyInput;

void setProxySettings(const Text& server, const Text& user = Text(), const Text& password = Text());

// Asks for a proxy until the entry is usable, cleared or cancelled.
void askProxySettings();
