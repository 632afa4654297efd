// What the platform's runtime does around Form1: choose between a window and text, call the load
// event, report an error that escapes it.
#pragma once

#include <QString>
#include <cstdio>
#include <optional>

class Form1;
class QListWidget;

// True when there is somewhere to show a window: DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM is
// set. Without one the program shows its list as text on standard output.
bool HasDisplay();

// Makes Qt create its windows off screen, for the text realisation, and keeps its warnings
// about that session off standard error.
void UseOffscreenPlatform();

// Calls form.Form_Load(); returns the message of an error that escapes it, if any.
std::optional<QString> CallLoadEvent(Form1& form);

// The window as text: each line of `list` as shown (up to its first U+0000), in UTF-8, one per
// line; then the error, if any, on `err`. Returns the exit status: 0, or 1 after an error.
int PrintListing(const QListWidget& list, const std::optional<QString>& error, std::FILE* out,
                 std::FILE* err);

// Shows the error that escaped the load event in a message box.
void ReportError(const QString& caption, const QString& error);
