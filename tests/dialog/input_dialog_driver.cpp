// Opens the real input dialog for the GUI tests and prints what it returned
// as a JSON string on a line "RESULT ...".
//
//   input-dialog-driver [--title T] [--message M] [--width N] [--default D]
//                       [--default-length N] [--cancel C] [--owner]
//
// --default-length makes the default text N letters "x" (longer than a
// command line may carry). With --owner the driver first opens a window of
// its own, prints "OWNER READY", and opens the dialog once a line arrives on
// standard input and that window has the focus; changes of the window's
// sensitivity are printed as "OWNER SENSITIVE 0|1".
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/platform.h"

namespace {

bool gLineArrived = false;

void waitForLineAndFocus(GtkWindow* owner) {
    GIOChannel* input = g_io_channel_unix_new(0);
    g_io_add_watch(input, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP), +[](GIOChannel*, GIOCondition, gpointer) -> gboolean {
        gLineArrived = true;
        return FALSE;
    }, nullptr);
    while (!gLineArrived) g_main_context_iteration(nullptr, TRUE);
    // The focus was given before the line was sent; its event may still be on
    // its way.
    for (int i = 0; i < 100 && !gtk_window_is_active(owner); ++i) {
        g_usleep(20000);
        while (g_main_context_iteration(nullptr, FALSE)) {}
    }
    g_io_channel_unref(input);
}

}  // namespace

int main(int argc, char** argv) {
    std::string title = "Enter proxy server", message = "Message", defaultText, cancel = "-1";
    int width = 500;
    bool withOwner = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--owner") { withOwner = true; continue; }
        if (arg == "--title") title = value;
        else if (arg == "--message") message = value;
        else if (arg == "--width") width = atoi(value);
        else if (arg == "--default") defaultText = value;
        else if (arg == "--default-length") defaultText.assign(strtoul(value, nullptr, 10), 'x');
        else if (arg == "--cancel") cancel = value;
        else { fprintf(stderr, "unknown option %s\n", arg.c_str()); return 2; }
        ++i;
    }

    if (withOwner) {
        auto* owner = static_cast<GtkWindow*>(platform::createMainWindow(u"input-dialog-owner", 800, 600));
        if (!owner) return 1;
        g_signal_connect(owner, "notify::sensitive", G_CALLBACK(+[](GObject* window, GParamSpec*, gpointer) {
            printf("OWNER SENSITIVE %d\n", gtk_widget_get_sensitive(GTK_WIDGET(window)) ? 1 : 0);
            fflush(stdout);
        }), nullptr);
        printf("OWNER READY\n");
        fflush(stdout);
        waitForLineAndFocus(owner);
    }

    const Text result = platform::inputDialog(platform::utf8ToText(title), platform::utf8ToText(message), width,
                                              platform::utf8ToText(defaultText), platform::utf8ToText(cancel));
    printf("RESULT %s\n", nlohmann::json(platform::textToUtf8(result)).dump().c_str());
    return 0;
}
