// The load event: every kind of read that BxRes offers, on the two sample resources.
#include "form_load.h"

#include <bxres/resource_reader.h>
#include <bxres/value_text.h>

#include <cstdint>

namespace demo {
namespace {

// The record that ReadBlock fills: two little-endian signed 32-bit fields, no gap.
struct POINT {
  std::int32_t x;
  std::int32_t y;
};

// The five typed values of resource 101.
void ListTypedValues(LineList& List1) {
  using bx::ToHexText;
  using bx::ToText;
  BxRes::Load(101, u"CUSTOM");
  List1.AddItem(u"Byte読み込み － &H" + ToHexText(BxRes::ReadByte()));
  List1.AddItem(u"Integer読み込み － &H" + ToHexText(BxRes::ReadInteger()));
  List1.AddItem(u"Long読み込み － &H" + ToHexText(BxRes::ReadLong()));
  List1.AddItem(u"Single読み込み － " + ToText(BxRes::ReadSingle()));
  List1.AddItem(u"Double読み込み － " + ToText(BxRes::ReadDouble()));
}

// The POINT record that follows them, an empty line and the tokens of resource 102.
void ListRecordAndTokens(LineList& List1) {
  using bx::ToDecimalText;
  POINT point{};
  BxRes::ReadBlock(&point, 8);
  List1.AddItem(u"POINT構造体読み込み － x = " + ToDecimalText(point.x) + u"  y = " +
                ToDecimalText(point.y));
  List1.AddItem(u"");
  BxRes::Load(102, u"CUSTOM");
  // An empty string ends the listing, whether it is the end of the data or an empty token.
  for (std::u16string token = bx::ToText(BxRes::ReadToken()); !token.empty();
       token = bx::ToText(BxRes::ReadToken())) {
    List1.AddItem(token);
  }
}

}  // namespace

void Form_Load(LineList& List1) {
  ListTypedValues(List1);
  ListRecordAndTokens(List1);
}

}  // namespace demo
