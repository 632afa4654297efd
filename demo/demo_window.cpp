// Form1's layout and its list.
#include "demo_window.h"

namespace {

// The window's caption: ASCII, then Japanese.
constexpr char16_t kCaption[] = u"Barunex - リソース読み込みモジュールサンプル";

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), List1(new QListWidget(this)) {
  setWindowTitle(QString::fromUtf16(kCaption));
  // One Japanese face for the whole list, so that Latin text and digits next to Japanese are not
  // drawn in a mix of the default and the fallback font.
  QFont font = this->font();
  font.setFamilies({"MS UI Gothic", "IPAPGothic", "Noto Sans CJK JP", "VL PGothic"});
  font.setPointSize(9);
  setFont(font);
  setFixedSize(442, 262);  // the client area
  List1->setObjectName("List1");
  List1->setGeometry(8, 8, 425, 244);
}

void Form1::AddItem(const std::u16string& line) {
  const QString full = QString::fromStdU16String(line);
  auto* item = new QListWidgetItem(full.left(full.indexOf(QChar(u'\0'))), List1);
  item->setData(kLineRole, full);
}
