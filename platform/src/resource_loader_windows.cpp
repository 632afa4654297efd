// Where the build's resources are found on Windows: the resource section of the executable's
// image, searched with the platform's own functions. Any resource the executable holds is found,
// whether bx_add_resource or a hand-written resource script put it there; where one exists in
// several languages, the platform picks by the user's language, and for a language asked for,
// the loader's rule (languages.h) picks among those the platform lists.
#include <windows.h>

#include <optional>

#include "languages.h"
#include "platform.h"

namespace bx {
namespace {

// What FindResourceW takes for an identifier or type: MAKEINTRESOURCE of a number, or a name
// (Windows compares names without regard to case).
const wchar_t* PlatformName(const NameQuery& wanted) {
  if (wanted.number) return MAKEINTRESOURCEW(*wanted.number);
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return reinterpret_cast<const wchar_t*>(wanted.name->c_str());
}

// Of the languages the resource exists in, the one that suits a user of `user` best, as the
// loader of every platform chooses (languages.h); nothing where it does not exist.
struct Choice {
  std::uint16_t user;
  std::optional<std::uint16_t> best;
};

BOOL CALLBACK Consider(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context) {
  auto& choice = *reinterpret_cast<Choice*>(context);
  if (!choice.best || detail::BetterLanguage(language, *choice.best, choice.user)) {
    choice.best = language;
  }
  return TRUE;
}

std::optional<std::uint16_t> ChosenLanguage(HMODULE image, const NameQuery& id,
                                            const NameQuery& type, std::uint16_t user) {
  Choice choice{user, std::nullopt};
  EnumResourceLanguagesW(image, PlatformName(type), PlatformName(id), Consider,
                         reinterpret_cast<LONG_PTR>(&choice));
  return choice.best;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindEmbedded(const NameQuery& id,
                                                          const NameQuery& type,
                                                          std::optional<std::uint16_t> language,
                                                          const ReadValue&, const ReadValue&) {
  const HMODULE image = GetModuleHandleW(nullptr);
  HRSRC info = nullptr;
  if (!language) {
    info = FindResourceW(image, PlatformName(id), PlatformName(type));
  } else if (const auto chosen = ChosenLanguage(image, id, type, *language)) {
    info = FindResourceExW(image, PlatformName(type), PlatformName(id), *chosen);
  }
  const HGLOBAL handle = info != nullptr ? LoadResource(image, info) : nullptr;
  const void* bytes = handle != nullptr ? LockResource(handle) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  // The resource lives as long as the image: a view, not a copy.
  return std::span(static_cast<const std::uint8_t*>(bytes), SizeofResource(image, info));
}

}  // namespace bx
