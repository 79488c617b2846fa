#include "platform/linux/gui.h"

#include <gdk/x11/gdkx.h>

#include <string>

#include "platform/linux/paths.h"

namespace platform {

bool ensureGtk() {
    static int state = -1;
    if (state < 0) {
        state = gtk_init_check() ? 1 : 0;
        if (state) {
            GdkDisplay* display = gdk_display_get_default();
            gtk_icon_theme_add_search_path(gtk_icon_theme_get_for_display(display),
                                           (moduleFolder() + "/icons").c_str());
            gtk_window_set_default_icon_name(kProgramIconName);
        }
    }
    return state == 1;
}

int screenDpi() {
    int xftDpi = -1;
    GtkSettings* settings = gtk_settings_get_default();
    if (settings) g_object_get(settings, "gtk-xft-dpi", &xftDpi, nullptr);
    return xftDpi > 0 ? (xftDpi + 512) / 1024 : 96;
}

std::string displayText(const Text& text) {
    std::string utf8 = textToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r') {
            out += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

GtkWindow* foregroundWindow() {
    GListModel* windows = gtk_window_get_toplevels();
    const guint count = g_list_model_get_n_items(windows);
    for (guint i = 0; i < count; ++i) {
        GtkWindow* window = GTK_WINDOW(g_list_model_get_item(windows, i));
        g_object_unref(window);
        if (gtk_widget_get_visible(GTK_WIDGET(window)) && gtk_window_is_active(window)) return window;
    }
    return nullptr;
}

std::vector<GtkWidget*> disableOtherWindows(GtkWindow* except) {
    std::vector<GtkWidget*> disabled;
    GListModel* windows = gtk_window_get_toplevels();
    const guint count = g_list_model_get_n_items(windows);
    for (guint i = 0; i < count; ++i) {
        GtkWidget* window = GTK_WIDGET(g_list_model_get_item(windows, i));
        g_object_unref(window);
        if (window != GTK_WIDGET(except) && gtk_widget_get_visible(window) && gtk_widget_get_sensitive(window)) {
            gtk_widget_set_sensitive(window, FALSE);
            disabled.push_back(window);
        }
    }
    return disabled;
}

void waitUntilMapped(GtkWindow* window) {
    for (int i = 0; i < 200 && !gtk_widget_get_mapped(GTK_WIDGET(window)); ++i) {
        g_main_context_iteration(nullptr, TRUE);
    }
    while (g_main_context_iteration(nullptr, FALSE)) {}
}

void centreWindow(GtkWindow* window, GtkWindow* owner) {
    waitUntilMapped(window);
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window));
    if (!surface || !GDK_IS_X11_SURFACE(surface)) return;  // Wayland places windows itself
    GdkDisplay* display = gdk_surface_get_display(surface);
    Display* xdisplay = gdk_x11_display_get_xdisplay(display);
    const Window xid = gdk_x11_surface_get_xid(surface);
    XWindowAttributes self;
    if (!XGetWindowAttributes(xdisplay, xid, &self)) return;

    int areaX = 0, areaY = 0, areaWidth = 0, areaHeight = 0;
    GdkSurface* ownerSurface = owner ? gtk_native_get_surface(GTK_NATIVE(owner)) : nullptr;
    if (ownerSurface && GDK_IS_X11_SURFACE(ownerSurface)) {
        const Window ownerId = gdk_x11_surface_get_xid(ownerSurface);
        XWindowAttributes other;
        Window child;
        if (XGetWindowAttributes(xdisplay, ownerId, &other)) {
            XTranslateCoordinates(xdisplay, ownerId, DefaultRootWindow(xdisplay), 0, 0, &areaX, &areaY, &child);
            areaWidth = other.width;
            areaHeight = other.height;
        }
    }
    if (areaWidth == 0) {
        // The whole primary screen, not the work area.
        Screen* screen = DefaultScreenOfDisplay(xdisplay);
        areaWidth = WidthOfScreen(screen);
        areaHeight = HeightOfScreen(screen);
    }
    int left = areaX + (areaWidth - self.width) / 2;
    int top = areaY + (areaHeight - self.height) / 2;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    XMoveWindow(xdisplay, xid, left, top);
    XFlush(xdisplay);
}

}  // namespace platform
