// The user's locale on POSIX systems: the C++ library's view of the environment, and the
// language that the environment names.
#include <cstdlib>
#include <locale>
#include <stdexcept>

#include "languages.h"
#include "platform.h"

namespace bx {

char16_t UserDecimalSeparator() {
  static const char16_t separator = [] {
    try {
      const auto c = static_cast<unsigned char>(
          std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point());
      return c != 0 && c < 0x80 ? char16_t{c} : u'.';
    } catch (const std::runtime_error&) {  // the environment names a locale the system lacks
      return u'.';
    }
  }();
  return separator;
}

namespace detail {

std::uint16_t UserLanguage() noexcept {
  static const std::uint16_t language = [] {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      const char* value = std::getenv(variable);
      if (value != nullptr && value[0] != '\0') return LanguageOfLocale(value);
    }
    return std::uint16_t{0};
  }();
  return language;
}

}  // namespace detail
}  // namespace bx
