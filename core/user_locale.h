// What the portable core asks of the platform underneath it, the one thing it cannot know by
// itself: the user's decimal separator, for values as text. The core owns the question and the
// platform answers it (platform/src/user_locale_*.cpp), so that the core depends on nothing
// above it.
#pragma once

namespace bx {

// The decimal separator of the user's locale (on POSIX systems the environment's LC_ALL,
// LC_NUMERIC or LANG, on Windows the user's regional settings), or '.' when that is unknown to
// the system or longer than one character. Read once per process.
char16_t UserDecimalSeparator();

}  // namespace bx
