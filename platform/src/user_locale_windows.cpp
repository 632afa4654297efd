// The user's locale on Windows: the regional settings, which the C++ library does not read.
#include <windows.h>

#include "platform.h"

namespace bx {

char16_t UserDecimalSeparator() {
  static const char16_t separator = [] {
    wchar_t text[8];
    // The count includes the terminating zero: 2 for a separator of one character.
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, 8);
    return n == 2 ? static_cast<char16_t>(text[0]) : u'.';
  }();
  return separator;
}

namespace detail {

std::uint16_t UserLanguage() noexcept {
  static const std::uint16_t language = GetUserDefaultUILanguage();
  return language;
}

}  // namespace detail
}  // namespace bx
