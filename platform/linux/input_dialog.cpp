// The proxy input dialog on GTK 4: a tool window with the message, a
// one-line entry, OK and Cancel, placed as the Windows dialog places its
// controls and answering Return and Escape before any control sees them.
#include <X11/Xatom.h>
#include <gdk/x11/gdkx.h>
#include <gtk/gtk.h>

#include <string>

#include "net/input_dialog_layout.h"
#include "platform/linux/gui.h"
#include "platform/platform.h"

namespace platform {

namespace {

// The edit control's limit, in UTF-16 units as Windows counts. GTK's own
// entry buffer stops at 65,535 bytes whatever its maximum length says, so the
// entry gets a buffer of ours that holds the text in a std::string and
// refuses what goes past the limit, as EM_LIMITTEXT does.
constexpr size_t kMaxEntryUnits = 1048576;

struct LongEntryBuffer {
    GtkEntryBuffer parent;
    std::string* text;  // UTF-8
    guint characters;
    size_t units;
};

struct LongEntryBufferClass {
    GtkEntryBufferClass parent;
};

G_DEFINE_TYPE(LongEntryBuffer, long_entry_buffer, GTK_TYPE_ENTRY_BUFFER)

LongEntryBuffer* longBuffer(GtkEntryBuffer* buffer) { return reinterpret_cast<LongEntryBuffer*>(buffer); }

size_t utf16Units(const char* utf8, const char* end) {
    size_t units = 0;
    for (const char* p = utf8; p < end; p = g_utf8_next_char(p)) units += g_utf8_get_char(p) > 0xFFFF ? 2 : 1;
    return units;
}

const char* longBufferText(GtkEntryBuffer* buffer, gsize* bytes) {
    LongEntryBuffer* self = longBuffer(buffer);
    if (bytes) *bytes = self->text->size();
    return self->text->c_str();
}

guint longBufferLength(GtkEntryBuffer* buffer) { return longBuffer(buffer)->characters; }

guint longBufferInsert(GtkEntryBuffer* buffer, guint position, const char* chars, guint count) {
    LongEntryBuffer* self = longBuffer(buffer);
    if (position > self->characters) position = self->characters;
    // Whole characters only, as many as fit.
    const char* end = chars;
    guint inserted = 0;
    size_t units = 0;
    while (inserted < count && *end) {
        const size_t unit = g_utf8_get_char(end) > 0xFFFF ? 2 : 1;
        if (self->units + units + unit > kMaxEntryUnits) break;
        units += unit;
        end = g_utf8_next_char(end);
        ++inserted;
    }
    if (inserted == 0) return 0;
    const char* base = self->text->c_str();
    const size_t offset = static_cast<size_t>(g_utf8_offset_to_pointer(base, position) - base);
    self->text->insert(offset, chars, static_cast<size_t>(end - chars));
    self->characters += inserted;
    self->units += units;
    gtk_entry_buffer_emit_inserted_text(buffer, position, chars, inserted);
    return inserted;
}

guint longBufferDelete(GtkEntryBuffer* buffer, guint position, guint count) {
    LongEntryBuffer* self = longBuffer(buffer);
    if (position > self->characters) position = self->characters;
    if (count > self->characters - position) count = self->characters - position;
    if (count == 0) return 0;
    const char* base = self->text->c_str();
    const char* start = g_utf8_offset_to_pointer(base, position);
    const char* end = g_utf8_offset_to_pointer(start, count);
    self->units -= utf16Units(start, end);
    self->text->erase(static_cast<size_t>(start - base), static_cast<size_t>(end - start));
    self->characters -= count;
    gtk_entry_buffer_emit_deleted_text(buffer, position, count);
    return count;
}

void long_entry_buffer_init(LongEntryBuffer* self) {
    self->text = new std::string();
    self->characters = 0;
    self->units = 0;
}

void long_entry_buffer_class_init(LongEntryBufferClass* klass) {
    G_OBJECT_CLASS(klass)->finalize = +[](GObject* object) {
        delete reinterpret_cast<LongEntryBuffer*>(object)->text;
        G_OBJECT_CLASS(long_entry_buffer_parent_class)->finalize(object);
    };
    GtkEntryBufferClass* buffer = GTK_ENTRY_BUFFER_CLASS(klass);
    buffer->get_text = longBufferText;
    buffer->get_length = longBufferLength;
    buffer->insert_text = longBufferInsert;
    buffer->delete_text = longBufferDelete;
}

struct DialogState {
    GMainLoop* loop = nullptr;
    GtkWidget* entry = nullptr;
    bool done = false;
    bool accepted = false;
    Text result;
};

void finish(DialogState* state, bool accepted) {
    if (state->done) return;
    state->done = true;
    state->accepted = accepted;
    if (accepted) state->result = utf8ToText(gtk_editable_get_text(GTK_EDITABLE(state->entry)));
    g_main_loop_quit(state->loop);
}

// The accelerator table of the Windows dialog: Return and Escape without
// modifiers, taken before the focused control sees them, so Return confirms
// even on the Cancel button and Escape cancels from the entry.
gboolean shortcutKey(GtkEventControllerKey*, guint key, guint, GdkModifierType modifiers, gpointer data) {
    if (modifiers & (GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_ALT_MASK)) return FALSE;
    auto* state = static_cast<DialogState*>(data);
    switch (key) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        finish(state, true);
        return TRUE;
    case GDK_KEY_Escape:
        finish(state, false);
        return TRUE;
    default:
        return FALSE;
    }
}

// A tool window: no taskbar entry, the utility type for window managers
// that draw such windows with a small title bar, and a title bar with no
// buttons: the Motif hints allow moving only, and decorate with a border and
// the title. Window managers read these when the window is mapped.
void markAsToolWindow(GtkWidget* window, gpointer) {
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window));
    if (!surface || !GDK_IS_X11_SURFACE(surface)) return;
    gdk_x11_surface_set_skip_taskbar_hint(surface, TRUE);
    Display* display = gdk_x11_display_get_xdisplay(gdk_surface_get_display(surface));
    const Window xid = gdk_x11_surface_get_xid(surface);
    const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom utility = XInternAtom(display, "_NET_WM_WINDOW_TYPE_UTILITY", False);
    XChangeProperty(display, xid, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&utility),
                    1);
    // flags: functions and decorations; functions: move; decorations: border and title.
    const long motif[5] = {0x3, 0x4, 0x2 | 0x8, 0, 0};
    const Atom motifHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, xid, motifHints, motifHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
    XFlush(display);
}

// The button-face background (the theme's window colour), and controls
// sized by the layout alone: the theme's minimum heights and paddings would
// make the entry and the buttons taller than 24 units.
void addDialogStyle(GdkDisplay* display) {
    static bool added = false;
    if (added) return;
    added = true;
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css,
        "window.quillbox-input { background-color: @theme_bg_color; }\n"
        "window.quillbox-input entry { min-height: 0; padding-top: 0; padding-bottom: 0; }\n"
        "window.quillbox-input button { min-height: 0; min-width: 0; padding: 0 4px; }\n", -1);
    gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(css),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}

// DrawTextW with DT_CALCRECT | DT_WORDBREAK in the label's own font.
int measuredMessageHeight(GtkWidget* label, const std::string& text, int widthPixels) {
    PangoLayout* layout = gtk_widget_create_pango_layout(label, text.c_str());
    pango_layout_set_width(layout, widthPixels * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return height;
}

void place(GtkWidget* fixed, GtkWidget* control, const DialogRect& rect) {
    gtk_widget_set_size_request(control, rect.width, rect.height);
    gtk_fixed_put(GTK_FIXED(fixed), control, rect.x, rect.y);
}

}  // namespace

Text inputDialog(const Text& title, const Text& message, int width, const Text& defaultText,
                 const Text& cancelValue) {
    // Without a display no window can be created, and there is no owner.
    if (!ensureGtk()) return cancelValue;
    GtkWindow* owner = foregroundWindow();
    if (owner) gtk_widget_set_sensitive(GTK_WIDGET(owner), FALSE);

    DialogState state;
    state.loop = g_main_loop_new(nullptr, FALSE);

    GtkWidget* window = gtk_window_new();
    addDialogStyle(gtk_widget_get_display(window));
    gtk_widget_add_css_class(window, "quillbox-input");
    gtk_window_set_title(GTK_WINDOW(window), textToUtf8(u"   " + title).c_str());
    gtk_window_set_icon_name(GTK_WINDOW(window), kProgramIconName);
    // A title bar and nothing else: no close, minimise or maximise button,
    // no sizing border.
    gtk_window_set_deletable(GTK_WINDOW(window), FALSE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    if (owner) gtk_window_set_transient_for(GTK_WINDOW(window), owner);
    g_signal_connect_after(window, "realize", G_CALLBACK(markAsToolWindow), nullptr);

    GtkWidget* fixed = gtk_fixed_new();
    gtk_window_set_child(GTK_WINDOW(window), fixed);

    const std::string text = displayText(message);
    GtkWidget* label = gtk_label_new(text.c_str());  // plain text: "&" stays as it is
    gtk_label_set_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
    gtk_fixed_put(GTK_FIXED(fixed), label, 0, 0);

    const int dpi = screenDpi();
    const InputDialogLayout layout =
        inputDialogLayout(width, measuredMessageHeight(label, text, inputDialogTextWidth(width, dpi)), dpi, dpi);
    gtk_widget_set_size_request(label, layout.message.width, layout.message.height);
    gtk_fixed_move(GTK_FIXED(fixed), label, layout.message.x, layout.message.y);

    GtkEntryBuffer* buffer = GTK_ENTRY_BUFFER(g_object_new(long_entry_buffer_get_type(), nullptr));
    state.entry = gtk_entry_new_with_buffer(buffer);
    g_object_unref(buffer);
    gtk_editable_set_text(GTK_EDITABLE(state.entry), textToUtf8(defaultText).c_str());
    gtk_editable_set_position(GTK_EDITABLE(state.entry), 0);
    place(fixed, state.entry, layout.edit);

    GtkWidget* ok = gtk_button_new_with_label("OK");
    GtkWidget* cancel = gtk_button_new_with_label("Cancel");
    g_signal_connect(ok, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
        finish(static_cast<DialogState*>(data), true);
    }), &state);
    g_signal_connect(cancel, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
        finish(static_cast<DialogState*>(data), false);
    }), &state);
    place(fixed, ok, layout.ok);
    place(fixed, cancel, layout.cancel);

    gtk_widget_set_size_request(fixed, layout.innerWidth, layout.innerHeight);
    gtk_window_set_default_size(GTK_WINDOW(window), layout.innerWidth, layout.innerHeight);

    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    g_signal_connect(keys, "key-pressed", G_CALLBACK(shortcutKey), &state);
    gtk_widget_add_controller(window, keys);

    g_signal_connect(window, "close-request", G_CALLBACK(+[](GtkWindow*, gpointer data) -> gboolean {
        finish(static_cast<DialogState*>(data), false);
        return TRUE;  // the dialog is destroyed below
    }), &state);

    gtk_window_present(GTK_WINDOW(window));
    centreWindow(GTK_WINDOW(window), owner);
    markAsToolWindow(window, nullptr);  // GTK rewrites the Motif hints when it maps the window
    // Focus as SetFocus gives it: the caret at the start, nothing selected
    // (GTK's own first focus selected everything).
    gtk_entry_grab_focus_without_selecting(GTK_ENTRY(state.entry));
    gtk_editable_select_region(GTK_EDITABLE(state.entry), 0, 0);
    if (!state.done) g_main_loop_run(state.loop);

    gtk_widget_remove_controller(window, keys);
    if (owner) gtk_window_present(owner);
    gtk_window_destroy(GTK_WINDOW(window));
    if (owner) gtk_widget_set_sensitive(GTK_WIDGET(owner), TRUE);
    while (g_main_context_iteration(nullptr, FALSE)) {}
    g_main_loop_unref(state.loop);
    return state.accepted ? state.result : cancelValue;
}

}  // namespace platform
