// Form1 as the user sees it: caption, geometry and the lines of the listing.
#include <gtest/gtest.h>

#include <QImage>

#include "demo_window.h"

namespace {

std::u16string LineData(const Form1& form, int row) {
  return form.List1->item(row)->data(Form1::kLineRole).toString().toStdU16String();
}

TEST(Form1, HasTheCaptionAndGeometryOfTheDesign) {
  Form1 form;
  EXPECT_EQ(form.windowTitle().toStdU16String(), u"Barunex - リソース読み込みモジュールサンプル");
  form.show();
  EXPECT_EQ(form.size(), QSize(442, 262));
  EXPECT_EQ(form.List1->geometry(), QRect(8, 8, 425, 244));
  EXPECT_EQ(form.List1->objectName(), "List1");
  EXPECT_FALSE(form.List1->isSortingEnabled());
}

TEST(Form1, LoadEventListsTheTypedValues) {
  Form1 form;
  form.Form_Load();
  const std::u16string expected[] = {
      u"Byte読み込み － &H1",
      u"Integer読み込み － &H1234",
      u"Long読み込み － &HEFCDAB",
      u"Single読み込み － 4.31684E-41",
      u"Double読み込み － 3.03303288349506E-144",
  };
  ASSERT_EQ(form.List1->count(), static_cast<int>(std::size(expected)));
  for (int row = 0; row < form.List1->count(); ++row) {
    EXPECT_EQ(form.List1->item(row)->text().toStdU16String(), expected[row]) << "line " << row + 1;
    EXPECT_EQ(LineData(form, row), expected[row]) << "line " << row + 1;
  }
}

}  // namespace
