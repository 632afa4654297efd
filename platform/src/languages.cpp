#include "languages.h"

#include <algorithm>
#include <array>

namespace bx::detail {
namespace {

struct Named {
  std::string_view name;
  std::uint16_t language;
};

// Languages by their ISO 639 code, in the country Windows takes for each (mostly SUBLANG_DEFAULT),
// as <winnt.h> numbers them.
constexpr std::array<Named, 58> kLanguages{{
    {"af", 0x0436}, {"ar", 0x0401}, {"az", 0x042c}, {"be", 0x0423}, {"bg", 0x0402}, {"bn", 0x0445},
    {"bs", 0x141a}, {"ca", 0x0403}, {"cs", 0x0405}, {"cy", 0x0452}, {"da", 0x0406}, {"de", 0x0407},
    {"el", 0x0408}, {"en", 0x0409}, {"es", 0x0c0a}, {"et", 0x0425}, {"eu", 0x042d}, {"fa", 0x0429},
    {"fi", 0x040b}, {"fo", 0x0438}, {"fr", 0x040c}, {"ga", 0x083c}, {"gl", 0x0456}, {"gu", 0x0447},
    {"he", 0x040d}, {"hi", 0x0439}, {"hr", 0x041a}, {"hu", 0x040e}, {"hy", 0x042b}, {"id", 0x0421},
    {"is", 0x040f}, {"it", 0x0410}, {"ja", 0x0411}, {"ka", 0x0437}, {"kk", 0x043f}, {"ko", 0x0412},
    {"lt", 0x0427}, {"lv", 0x0426}, {"mk", 0x042f}, {"ms", 0x043e}, {"mt", 0x043a}, {"nb", 0x0414},
    {"nl", 0x0413}, {"nn", 0x0814}, {"no", 0x0414}, {"pl", 0x0415}, {"pt", 0x0816}, {"ro", 0x0418},
    {"ru", 0x0419}, {"sk", 0x041b}, {"sl", 0x0424}, {"sq", 0x041c}, {"sr", 0x241a}, {"sv", 0x041d},
    {"th", 0x041e}, {"tr", 0x041f}, {"uk", 0x0422}, {"vi", 0x042a},
}};

// Countries whose sublanguage differs from the language's default.
constexpr std::array<Named, 36> kLocales{{
    {"de_AT", 0x0c07}, {"de_CH", 0x0807}, {"de_LI", 0x1407}, {"de_LU", 0x1007}, {"en_AU", 0x0c09},
    {"en_CA", 0x1009}, {"en_GB", 0x0809}, {"en_IE", 0x1809}, {"en_IN", 0x4009}, {"en_NZ", 0x1409},
    {"en_ZA", 0x1c09}, {"es_AR", 0x2c0a}, {"es_CL", 0x340a}, {"es_CO", 0x240a}, {"es_MX", 0x080a},
    {"es_US", 0x540a}, {"fr_BE", 0x080c}, {"fr_CA", 0x0c0c}, {"fr_CH", 0x100c}, {"fr_LU", 0x140c},
    {"it_CH", 0x0810}, {"nl_BE", 0x0813}, {"pt_BR", 0x0416}, {"sr_ME", 0x2c1a}, {"sv_FI", 0x081d},
    {"zh_CN", 0x0804}, {"zh_HK", 0x0c04}, {"zh_MO", 0x1404}, {"zh_SG", 0x1004}, {"zh_TW", 0x0404},
    {"ar_AE", 0x3801}, {"ar_EG", 0x0c01}, {"ar_MA", 0x1801}, {"ar_SA", 0x0401}, {"ms_BN", 0x083e},
    {"ru_MD", 0x0819},
}};

template <std::size_t N>
std::uint16_t Find(const std::array<Named, N>& table, std::string_view name) {
  const auto found = std::find_if(table.begin(), table.end(),
                                  [name](const Named& entry) { return entry.name == name; });
  return found != table.end() ? found->language : 0;
}

}  // namespace

std::uint16_t LanguageOfLocale(std::string_view locale) noexcept {
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (const std::uint16_t language = Find(kLocales, locale)) return language;
  const std::string_view code = locale.substr(0, locale.find('_'));
  if (code == "zh") return 0x0804;  // Chinese without a country: simplified
  return Find(kLanguages, code);
}

int LanguageRank(std::uint16_t language, std::uint16_t user) noexcept {
  if (user != 0 && language == user) return 0;
  if (user != 0 && PrimaryLanguage(language) == PrimaryLanguage(user)) return 1;
  if (PrimaryLanguage(language) == 0) return 2;
  if (language == kEnglishUs) return 3;
  return 4;
}

}  // namespace bx::detail
