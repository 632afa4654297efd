// The start sequence's pieces: display detection, the load event's error, the text listing.
#include "startup.h"

#include <QMessageBox>
#include <exception>

#include "demo_window.h"

bool HasDisplay() {
  return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
         qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

void UseOffscreenPlatform() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The off-screen window is never shown, so Qt's notes about the session it runs in (no
  // runtime directory, no window manager) would only clutter the listing's standard error.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
      std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
  });
}

std::optional<QString> CallLoadEvent(Form1& form) {
  try {
    form.Form_Load();
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  }
  return std::nullopt;
}

int PrintListing(const QListWidget& list, const std::optional<QString>& error, std::FILE* out,
                 std::FILE* err) {
  for (int row = 0; row < list.count(); ++row) {
    const QByteArray line = list.item(row)->text().toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), out);
  }
  std::fflush(out);
  if (!error) return 0;
  std::fprintf(err, "%s\n", error->toUtf8().constData());
  return 1;
}

void ReportError(const QString& caption, const QString& error) {
  QMessageBox::critical(nullptr, caption, error);
}
