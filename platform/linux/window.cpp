// The main window on GTK 4, and the engine side of the web view.
#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <string>

#include "platform/linux/gui.h"
#include "platform/linux/paths.h"
#include "platform/platform.h"

namespace platform {

namespace {

int mulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}

gboolean grantClipboardRead(WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
    if (WEBKIT_IS_CLIPBOARD_PERMISSION_REQUEST(request)) {
        webkit_permission_request_allow(request);
        return TRUE;
    }
    return FALSE;  // the engine's default handling
}

}  // namespace

NativeWindow createMainWindow(const Text& title, int clientWidth, int clientHeight) {
    if (!ensureGtk()) return nullptr;
    const int dpi = screenDpi();
    GtkWidget* window = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(window), textToUtf8(title).c_str());
    gtk_window_set_icon_name(GTK_WINDOW(window), kProgramIconName);
    gtk_window_set_default_size(GTK_WINDOW(window), mulDiv(clientWidth, dpi, 96), mulDiv(clientHeight, dpi, 96));
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    g_object_set_data(G_OBJECT(window), "quillbox-dpi", GINT_TO_POINTER(dpi));
    g_signal_connect(window, "close-request", G_CALLBACK(+[](GtkWindow* w, gpointer) -> gboolean {
        g_object_set_data(G_OBJECT(w), "quillbox-closed", GINT_TO_POINTER(1));
        return TRUE;  // the program ends; nothing is torn down one by one
    }), nullptr);
    gtk_window_present(GTK_WINDOW(window));
    centreWindow(GTK_WINDOW(window), nullptr);
    return window;
}

void clientSize(NativeWindow window, int& width, int& height) {
    width = height = 0;
    if (!window) return;
    const int dpi = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(window), "quillbox-dpi"));
    int w = 0, h = 0;
    gtk_window_get_default_size(GTK_WINDOW(window), &w, &h);
    width = mulDiv(w, 96, dpi);
    height = mulDiv(h, 96, dpi);
}

NativeWindow createContainer(NativeWindow parent, int x, int y, int width, int height) {
    if (!parent) return nullptr;
    const int dpi = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(parent), "quillbox-dpi"));
    GtkWidget* container = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_set_margin_start(container, mulDiv(x, dpi, 96));
    gtk_widget_set_margin_top(container, mulDiv(y, dpi, 96));
    gtk_widget_set_size_request(container, mulDiv(width, dpi, 96), mulDiv(height, dpi, 96));
    gtk_window_set_child(GTK_WINDOW(parent), container);
    g_object_set_data(G_OBJECT(container), "quillbox-window", parent);
    return container;
}

void* webViewParent(NativeWindow container) {
    return container ? g_object_get_data(G_OBJECT(container), "quillbox-window") : nullptr;
}

void fitWebViewWidget(NativeWindow container, void* widget) {
    if (!container || !widget) return;
    GtkWidget* view = GTK_WIDGET(widget);
    // The library leaves its widget unattached; it goes into our container.
    if (gtk_widget_get_parent(view) != GTK_WIDGET(container)) {
        if (gtk_widget_get_parent(view)) gtk_widget_unparent(view);
        gtk_box_append(GTK_BOX(container), view);
    }
    gtk_widget_set_hexpand(view, TRUE);
    gtk_widget_set_vexpand(view, TRUE);
}

bool configureWebView(void* browserController) {
    if (!browserController || !WEBKIT_IS_WEB_VIEW(browserController)) return false;
    WebKitWebView* view = WEBKIT_WEB_VIEW(browserController);
    WebKitSettings* settings = webkit_web_view_get_settings(view);
    webkit_settings_set_enable_developer_extras(settings, FALSE);
    webkit_settings_set_javascript_can_access_clipboard(settings, TRUE);
    // Script dialogs (alert, confirm, prompt) are WebKit's own by default.
    g_signal_connect(view, "permission-request", G_CALLBACK(grantClipboardRead), nullptr);
    return true;
}

void runUntilClosed(NativeWindow window) {
    if (!window) return;
    while (!g_object_get_data(G_OBJECT(window), "quillbox-closed")) g_main_context_iteration(nullptr, TRUE);
}

}  // namespace platform
