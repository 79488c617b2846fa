#include "app/message_box.h"

int showMessageBox(const Text& title, const Text& text, unsigned flags) {
    // MessageBoxW shows at most 65,535 characters.
    const size_t limit = 65535;
    return platform::messageBox(title, text.size() > limit ? text.substr(0, limit - 1) : text, flags);
}
