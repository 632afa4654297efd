// The demonstration's start, measured: the same Form1, load event and start sequence, quitting
// as soon as the window has been shown.
#include <QApplication>
#include <QMetaObject>

#include "demo_window.h"
#include "startup.h"

#include "peak_memory.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  Form1 form;
  CallLoadEvent(form);
  form.show();
  QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
  const int status = app.exec();
  PrintPeakMemory();
  return status;
}
