// The user's locale on POSIX systems: the C++ library's view of the environment.
#include <locale>
#include <stdexcept>

#include "bxres/value_text.h"

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

}  // namespace bx
