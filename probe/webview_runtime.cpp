#include "probe/webview_runtime.h"

#include "app/message_box.h"
#include "app/path_size.h"
#include "resources/runtime_installer.h"
#include "setup/runner.h"

namespace {

// Fixed literals, drive letter included; nothing is read from the
// environment or the registry, and no other folder counts.
const char16_t* const kRuntimeFolders[] = {
    u"C:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application",
    u"C:\\Program Files\\Microsoft\\EdgeWebView\\Application",
};

// English in every language: these texts are not in the catalogue.
void reportExtractFailure(const Text& path, const Text& reason) {
    showMessageBox(MessageBoxTitle,
                   u"I failed extracting the Microsoft WebView2 installer to [" + path + u"] (" + reason +
                       u"). Please ensure permissions and stop any AntiVirus from intercepting my work.",
                   MB_OK);
}

}  // namespace

bool webViewRuntimePresent() {
    for (const char16_t* folder : kRuntimeFolders) {
        if (pathSize(folder) == -2) return true;
    }
    return false;
}

bool installWebViewRuntime() { return installWebViewRuntimeFrom(runtimeInstallerData(), runtimeInstallerSize()); }

bool installWebViewRuntimeFrom(const unsigned char* installer, size_t size) {
    const Text path = temporaryFolder() + u"MicrosoftEdgeWebview2Setup.exe";
    {
        platform::File file;
        // A file left over from an earlier attempt is replaced; one that
        // cannot be replaced is emptied and written over.
        if (!file.create(path, platform::Share::Exclusive)) file.openAndTruncate(path, platform::Share::Exclusive);
        const bool nothingWritten = !file.isOpen() || (size > 0 && file.write(installer, size) == 0);
        if (nothingWritten) {
            file.close();
            reportExtractFailure(path, u"extract failed");
            return false;
        }
    }
    // A virus scanner may take the file away between writing and running.
    if (pathSize(path) < 1) {
        reportExtractFailure(path, u"not found after extract");
        return false;
    }
    // Not hidden: the installer shows its own progress. Its output and exit
    // code tell us nothing we act on.
    runAndCapture(path, Text(), Text(), u"\r", false);
    platform::deleteFile(path);
    return true;
}
