// Form1's layout and its load event.
#include "demo_window.h"

#include <bxres/resource_reader.h>
#include <bxres/value_text.h>

namespace {

// The record that ReadBlock fills: two little-endian signed 32-bit fields, no gap.
struct POINT {
  std::int32_t x;
  std::int32_t y;
};

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

void Form1::Form_Load() {
  ListTypedValues();
  ListRecordAndTokens();
}

void Form1::ListTypedValues() {
  using bx::ToHexText;
  using bx::ToText;
  BxRes::Load(std::int16_t{101}, u"CUSTOM");
  AddItem(u"Byte読み込み － &H" + ToHexText(BxRes::ReadByte()));
  AddItem(u"Integer読み込み － &H" + ToHexText(BxRes::ReadInteger()));
  AddItem(u"Long読み込み － &H" + ToHexText(BxRes::ReadLong()));
  AddItem(u"Single読み込み － " + ToText(BxRes::ReadSingle()));
  AddItem(u"Double読み込み － " + ToText(BxRes::ReadDouble()));
}

void Form1::ListRecordAndTokens() {
  using bx::ToDecimalText;
  POINT point{};
  BxRes::ReadBlock(&point, 8);
  AddItem(u"POINT構造体読み込み － x = " + ToDecimalText(point.x) + u"  y = " +
          ToDecimalText(point.y));
  AddItem(u"");
  BxRes::Load(std::int16_t{102}, u"CUSTOM");
  // An empty string ends the listing, whether it is the end of the data or an empty token.
  for (std::u16string token = bx::ToText(BxRes::ReadToken()); !token.empty();
       token = bx::ToText(BxRes::ReadToken())) {
    AddItem(token);
  }
}
