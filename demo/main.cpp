// The demonstration program: Form1 is the whole of it.
#include <QApplication>

#include "demo_window.h"
#include "startup.h"

int main(int, char* argv[]) {
  const bool as_text = !HasDisplay();
  if (as_text) UseOffscreenPlatform();
  // The program takes no command line: Qt is shown the program's name alone, so that its own
  // options (-platform, -qwindowtitle, ...) cannot change the window.
  int argc = 1;
  QApplication app(argc, argv);

  Form1 form;
  const std::optional<QString> error = CallLoadEvent(form);
  if (as_text) return PrintListing(*form.List1, error, stdout, stderr);
  if (error) ReportError(form.windowTitle(), *error);
  form.show();
  return app.exec();
}
