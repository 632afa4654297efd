// Languages of resources, as Windows numbers them (LANGID: the primary language in the low 10
// bits, the sublanguage above), and which of several a program should get.
#pragma once

#include <cstdint>
#include <string_view>

namespace bx::detail {

inline constexpr std::uint16_t kEnglishUs = 0x0409;

constexpr std::uint16_t PrimaryLanguage(std::uint16_t language) { return language & 0x3FF; }

// The language of a POSIX locale name ("ja_JP.UTF-8", "de_AT@euro", "pt"), or 0 where it names
// none ("C", "POSIX", "", a language Windows does not number). A language without a known
// country gets its default sublanguage.
std::uint16_t LanguageOfLocale(std::string_view locale) noexcept;

// How well a resource in `language` suits a user of `user` (smaller is better), as Windows'
// FindResource chooses: the user's language, then one of the same primary language, then
// neutral, then English (United States), then any other. Ties go to the lowest code.
int LanguageRank(std::uint16_t language, std::uint16_t user) noexcept;

// Whether a resource in `candidate` should be taken over one in `best` for this user.
inline bool BetterLanguage(std::uint16_t candidate, std::uint16_t best,
                           std::uint16_t user) noexcept {
  const int a = LanguageRank(candidate, user);
  const int b = LanguageRank(best, user);
  return a < b || (a == b && candidate < best);
}

}  // namespace bx::detail
