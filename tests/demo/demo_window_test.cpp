// Form1 as the user sees it: caption, geometry and the lines of the listing.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>

#include "demo_window.h"
#include "expected_lines.h"

namespace {

std::u16string LineData(const Form1& form, int row) {
  return form.List1->item(row)->data(Form1::kLineRole).toString().toStdU16String();
}

TEST(Form1, HasItsCaptionClientSizeAndListGeometry) {
  Form1 form;
  EXPECT_EQ(form.windowTitle().toStdU16String(), u"Barunex - リソース読み込みモジュールサンプル");
  form.show();
  EXPECT_EQ(form.size(), QSize(442, 262));
  EXPECT_EQ(form.List1->geometry(), QRect(8, 8, 425, 244));
  EXPECT_EQ(form.List1->objectName(), "List1");
  EXPECT_FALSE(form.List1->isSortingEnabled());
}

TEST(Form1, LoadEventListsEveryValueOfTheSamples) {
  Form1 form;
  form.Form_Load();
  ASSERT_EQ(form.List1->count(), static_cast<int>(std::size(kSampleLines)));
  for (int row = 0; row < form.List1->count(); ++row) {
    // The list keeps each line as appended (line 15 with its U+0000) and shows it up to U+0000.
    EXPECT_EQ(LineData(form, row), kSampleLines[row]) << "line " << row + 1;
    EXPECT_EQ(form.List1->item(row)->text().toStdU16String(), Shown(kSampleLines[row]))
        << "line " << row + 1;
  }
  EXPECT_EQ(form.List1->item(14)->text().toStdU16String(), u"タブです。");
}

TEST(Form1, ItsListFontHasAGlyphForEveryCharacterOfTheListing) {
  // Without a Japanese face the list would draw empty boxes, which a look at the pixels alone
  // cannot tell from text.
  Form1 form;
  form.Form_Load();
  const QFontMetrics metrics(form.List1->font());
  for (int row = 0; row < form.List1->count(); ++row) {
    for (const char32_t c : form.List1->item(row)->text().toUcs4()) {
      EXPECT_TRUE(metrics.inFontUcs4(c))
          << "U+" << std::hex << static_cast<unsigned>(c) << " of line " << std::dec << row + 1
          << " in " << QFontInfo(form.List1->font()).family().toStdString();
    }
  }
}

TEST(Form1, RendersTheListing) {
  Form1 form;
  form.Form_Load();
  form.show();
  const QImage image = form.grab().toImage();
  ASSERT_EQ(image.size(), QSize(442, 262) * image.devicePixelRatio());
  // Text is drawn: a good share of the list's pixels are far darker than its background.
  const QRgb background = image.pixel(form.List1->geometry().center() + QPoint(150, 100));
  int dark = 0;
  for (int y = 8; y < 252; ++y) {
    for (int x = 8; x < 433; ++x) {
      dark += qGray(image.pixel(x, y)) + 96 < qGray(background);
    }
  }
  EXPECT_GT(dark, 1000);
}

}  // namespace
