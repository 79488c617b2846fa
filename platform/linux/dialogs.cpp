// Message boxes on GTK 4, with MessageBoxW's buttons, results and owner rule.
#include <gtk/gtk.h>

#include <algorithm>

#include <vector>

#include "platform/linux/gui.h"
#include "platform/platform.h"

namespace platform {

namespace {

constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

struct BoxState {
    GMainLoop* loop = nullptr;
    int result = 0;
    int closeResult = 0;  // what the close button and Escape mean
};

void finish(BoxState* state, int result) {
    if (state->result == 0) state->result = result;
    g_main_loop_quit(state->loop);
}

GtkWidget* addButton(GtkWidget* row, const char* label, int id, BoxState* state) {
    GtkWidget* button = gtk_button_new_with_mnemonic(label);
    gtk_widget_set_size_request(button, 88, -1);
    g_object_set_data(G_OBJECT(button), "quillbox-id", GINT_TO_POINTER(id));
    g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkButton* b, gpointer data) {
        finish(static_cast<BoxState*>(data), GPOINTER_TO_INT(g_object_get_data(G_OBJECT(b), "quillbox-id")));
    }), state);
    gtk_box_append(GTK_BOX(row), button);
    return button;
}

}  // namespace

int messageBox(const Text& title, const Text& text, unsigned flags) {
    if (!ensureGtk()) return 0;
    const unsigned buttons = flags & 0x0F;
    const unsigned icon = flags & 0xF0;
    GtkWindow* owner = foregroundWindow();

    BoxState state;
    state.loop = g_main_loop_new(nullptr, FALSE);
    state.closeResult = buttons == 4 ? kIdNo : kIdOk;

    GtkWidget* window = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(window), textToUtf8(title).c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    gtk_window_set_icon_name(GTK_WINDOW(window), kProgramIconName);
    if (owner) gtk_window_set_transient_for(GTK_WINDOW(window), owner);

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* body = gtk_grid_new();
    gtk_grid_set_column_spacing(GTK_GRID(body), 12);
    gtk_widget_set_margin_start(body, 20);
    gtk_widget_set_margin_end(body, 20);
    gtk_widget_set_margin_top(body, 20);
    gtk_widget_set_margin_bottom(body, 20);
    if (icon == 0x10 || icon == 0x40) {
        // GtkMessageDialog shows no icon in GTK 4, so the box draws its own.
        GtkWidget* image = gtk_image_new_from_icon_name(icon == 0x10 ? "dialog-error" : "dialog-information");
        gtk_image_set_pixel_size(GTK_IMAGE(image), 32);
        gtk_widget_set_valign(image, GTK_ALIGN_START);
        gtk_grid_attach(GTK_GRID(body), image, 0, 0, 1, 1);
    }
    GtkWidget* label = gtk_label_new(displayText(text).c_str());
    gtk_label_set_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 70);
    // A wrapping label asks for the height it needs at its narrowest, which
    // leaves the box far too tall; start it at the width of its longest line
    // (up to the maximum), as MessageBoxW sizes itself to the text.
    const std::string shown = displayText(text);
    size_t longest = 0, run = 0;
    for (size_t i = 0; i <= shown.size(); ++i) {
        if (i == shown.size() || shown[i] == '\n') {
            longest = std::max(longest, run);
            run = 0;
        } else if ((static_cast<unsigned char>(shown[i]) & 0xC0) != 0x80) {
            ++run;
        }
    }
    gtk_label_set_width_chars(GTK_LABEL(label), static_cast<int>(std::min<size_t>(longest, 70)));
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_grid_attach(GTK_GRID(body), label, 1, 0, 1, 1);
    gtk_box_append(GTK_BOX(column), body);

    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    gtk_widget_set_halign(row, GTK_ALIGN_END);
    gtk_widget_set_margin_end(row, 12);
    gtk_widget_set_margin_bottom(row, 12);
    GtkWidget* first;
    if (buttons == 4) {
        first = addButton(row, "_Yes", kIdYes, &state);
        addButton(row, "_No", kIdNo, &state);
    } else {
        first = addButton(row, "OK", kIdOk, &state);
    }
    gtk_box_append(GTK_BOX(column), row);
    gtk_window_set_child(GTK_WINDOW(window), column);

    g_signal_connect(window, "close-request", G_CALLBACK(+[](GtkWindow*, gpointer data) -> gboolean {
        auto* s = static_cast<BoxState*>(data);
        finish(s, s->closeResult);
        return TRUE;
    }), &state);
    // Escape works only where the box has a way to cancel: the OK box.
    if (buttons != 4) {
        GtkEventController* keys = gtk_event_controller_key_new();
        g_signal_connect(keys, "key-pressed", G_CALLBACK(+[](GtkEventControllerKey*, guint key, guint, GdkModifierType,
                                                             gpointer data) -> gboolean {
            if (key != GDK_KEY_Escape) return FALSE;
            finish(static_cast<BoxState*>(data), kIdOk);
            return TRUE;
        }), &state);
        gtk_widget_add_controller(window, keys);
    }

    // While the box is open the program's other windows take no input.
    std::vector<GtkWidget*> disabled = disableOtherWindows(GTK_WINDOW(window));
    gtk_window_present(GTK_WINDOW(window));
    centreWindow(GTK_WINDOW(window), owner);
    gtk_widget_grab_focus(first);
    g_main_loop_run(state.loop);

    for (GtkWidget* widget : disabled) gtk_widget_set_sensitive(widget, TRUE);
    gtk_window_destroy(GTK_WINDOW(window));
    if (owner) gtk_window_present(owner);
    while (g_main_context_iteration(nullptr, FALSE)) {}
    g_main_loop_unref(state.loop);
    return state.result;
}

}  // namespace platform
