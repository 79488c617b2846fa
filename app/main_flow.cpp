#include "app/main_flow.h"

#include <optional>

#include "app/language.h"
#include "net/update_list.h"
#include "ui/main_window.h"

void mainFlow() {
    const Text pageLanguage = supportedLanguageOrEnglish(systemLanguageCode());
    const std::optional<Text> list = runUpdateListLoop();
    if (!list) return;
    runMainWindow(*list, pageLanguage);
}
