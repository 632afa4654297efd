// The baseline for the demonstration's start: a plain Qt program that builds the same widgets
// with the same fifteen lines, written in, and quits as soon as the window has been shown.
#include <QApplication>
#include <QListWidget>
#include <QMetaObject>
#include <QWidget>

#include "peak_memory.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget form;
  form.setWindowTitle(QString::fromUtf16(u"Barunex - リソース読み込みモジュールサンプル"));
  QFont font = form.font();
  font.setFamilies({"MS UI Gothic", "IPAPGothic", "Noto Sans CJK JP", "VL PGothic"});
  font.setPointSize(9);
  form.setFont(font);
  form.setFixedSize(442, 262);
  auto* list = new QListWidget(&form);
  list->setGeometry(8, 8, 425, 244);
  const char16_t* lines[] = {
      u"Byte読み込み － &H1",
      u"Integer読み込み － &H1234",
      u"Long読み込み － &HEFCDAB",
      u"Single読み込み － 4.31684E-41",
      u"Double読み込み － 3.03303288349506E-144",
      u"POINT構造体読み込み － x = 16  y = 257",
      u"",
      u"サンプルデータ",
      u"作者はＱＵＯＸ",
      u"スペースを入れるなら ダブルクォーテーションで囲んでね",
      u"区切りは",
      u"スペースか",
      u"コンマか",
      u"改行か",
      u"タブです。",
  };
  for (const char16_t* line : lines) list->addItem(QString::fromUtf16(line));
  form.show();
  QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
  const int status = app.exec();
  PrintPeakMemory();
  return status;
}
