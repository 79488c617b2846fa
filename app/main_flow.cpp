#include "app/main_flow.h"

#include <optional>

#include "app/catalogue.h"
#include "app/language.h"
#include "app/message_box.h"
#include "net/update_list.h"
#include "probe/webview_runtime.h"
#include "ui/main_window.h"

void mainFlow() {
    // Asked once: whether the installer worked or the user declined, the
    // flow goes on, and what the window then shows is the window's business.
    if (!webViewRuntimePresent() &&
        showMessageBox(MessageBoxTitle, localizedMessage(u"needWebView"), MB_YESNO_ICONINFORMATION) == IDYES) {
        installWebViewRuntime();
    }
    const Text pageLanguage = supportedLanguageOrEnglish(systemLanguageCode());
    const std::optional<Text> list = runUpdateListLoop();
    if (!list) return;
    runMainWindow(*list, pageLanguage);
}
