// Form1: the demonstration window, whose list shows every kind of value read from the sample
// resources.
#pragma once

#include <QListWidget>
#include <QWidget>
#include <string>

class Form1 : public QWidget {
 public:
  // The item data role that holds a line as it was appended, U+0000 and all; the list shows
  // each line only up to its first U+0000.
  static constexpr int kLineRole = Qt::UserRole;

  explicit Form1(QWidget* parent = nullptr);

  // The load event, called once before the window is first shown: reads the sample resources
  // and appends one line per value to List1. Errors are not caught here.
  void Form_Load();

  QListWidget* const List1;

 private:
  // The two halves of the load event: the five typed values of resource 101, then its POINT
  // record, an empty line and the tokens of resource 102.
  void ListTypedValues();
  void ListRecordAndTokens();
  void AddItem(const std::u16string& line);
};
