// Form_Load, the demonstration's load event, apart from any window toolkit: it reads the two
// sample resources and appends one line per value to whatever list it is given. The Qt window
// on Linux and the native window on Windows both run it, so their lines cannot drift apart.
#pragma once

#include <string>

namespace demo {

// The list that the load event fills: List1 in a window, or anything else that takes lines.
class LineList {
 public:
  // Appends a line as it is, U+0000 and all; a list on screen shows it up to its first U+0000.
  virtual void AddItem(const std::u16string& line) = 0;

 protected:
  ~LineList() = default;
};

// Loads resource 101 and lists its five typed values and its POINT record, adds an empty line,
// then loads resource 102 and lists its tokens. Errors are not caught: the lines appended before
// one stay.
void Form_Load(LineList& List1);

}  // namespace demo
