// Shared pieces of the GTK windows of the platform layer.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// Window icons are by name; the icon lies in the "icons" folder beside the
// executable.
inline constexpr const char* kProgramIconName = "quillbox";

// gtk_init_check once per process; false where no display can be opened.
bool ensureGtk();

// The screen DPI as GTK has it (gtk-xft-dpi, from Xft.dpi); 96 when unset.
// X11 has one DPI for both directions.
int screenDpi();

// A native text as Pango shows it: Windows breaks lines at a lone carriage
// return, Pango wants line feeds.
std::string displayText(const Text& text);

// The program's window that has the focus, or none.
GtkWindow* foregroundWindow();

// Makes every other visible, enabled window of the program insensitive and
// returns them, so the caller can enable them again.
std::vector<GtkWidget*> disableOtherWindows(GtkWindow* except);

// Places a shown window centred over owner, or on the primary screen when
// owner is null; left and top are clamped at 0. GTK 4 cannot move windows,
// so on X11 this moves the X window itself.
void centreWindow(GtkWindow* window, GtkWindow* owner);

// Runs the main context until the window is mapped with its final size.
void waitUntilMapped(GtkWindow* window);

}  // namespace platform
