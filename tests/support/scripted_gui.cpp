#include "tests/support/scripted_gui.h"

namespace scripted {

std::deque<int> boxAnswers;
std::deque<Text> dialogAnswers;
std::vector<Box> boxes;
std::vector<Prompt> prompts;

void reset() {
    boxAnswers.clear();
    dialogAnswers.clear();
    boxes.clear();
    prompts.clear();
}

}  // namespace scripted

namespace platform {

int messageBox(const Text& title, const Text& text, unsigned flags) {
    scripted::boxes.push_back({title, text, flags});
    if (scripted::boxAnswers.empty()) return 0;
    const int answer = scripted::boxAnswers.front();
    scripted::boxAnswers.pop_front();
    return answer;
}

Text inputDialog(const Text& title, const Text& message, int width, const Text& defaultText, const Text& cancelValue) {
    scripted::prompts.push_back({title, message, width, defaultText, cancelValue});
    if (scripted::dialogAnswers.empty()) return cancelValue;
    Text answer = scripted::dialogAnswers.front();
    scripted::dialogAnswers.pop_front();
    return answer;
}

// No display: there is no main window, and waiting for it to close returns
// at once, so a flow that reaches the window ends there.
NativeWindow createMainWindow(const Text&, int, int) { return nullptr; }
void clientSize(NativeWindow, int& width, int& height) { width = height = 0; }
NativeWindow createContainer(NativeWindow, int, int, int, int) { return nullptr; }
void* webViewParent(NativeWindow) { return nullptr; }
void fitWebViewWidget(NativeWindow, void*) {}
bool configureWebView(void*) { return false; }
void runUntilClosed(NativeWindow) {}

}  // namespace platform
