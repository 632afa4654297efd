// Form1: the demonstration window on Linux, a Qt widget whose list shows every kind of value
// read from the sample resources.
#pragma once

#include <QListWidget>
#include <QWidget>
#include <string>

#include "form_load.h"

class Form1 : public QWidget, private demo::LineList {
 public:
  // The item data role that holds a line as it was appended, U+0000 and all; the list shows
  // each line only up to its first U+0000.
  static constexpr int kLineRole = Qt::UserRole;

  explicit Form1(QWidget* parent = nullptr);

  // The load event, called once before the window is first shown: reads the sample resources
  // and appends one line per value to List1. Errors are not caught here.
  void Form_Load() { demo::Form_Load(*this); }

  QListWidget* const List1;

 private:
  void AddItem(const std::u16string& line) override;
};
