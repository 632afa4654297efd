// The platform services that the resource module stands on. Everything platform-specific lives
// behind these functions; the code above them has no conditional compilation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "bxres/read_value.h"

namespace bx {

// The exact bytes of the resource with this identifier and type that is embedded in the running
// executable, as a byte array that views the executable's image (no copy, nothing added or
// stripped). Identifiers and types are integers (any integer kind, 1 to 65535) or strings;
// strings compare without regard to ASCII case, and "#123" names the number 123.
// Resources registered at run time (bxres/embedded_resource.h) come first, then those the build
// embedded: on Windows in the image's resource section, elsewhere in the compiled resource
// images of the process's objects. Where one identifier and type exist in several languages,
// the one that suits the user's language best is taken, as Windows' FindResource takes it.
// Raises ResourceNotFoundError when there is no such resource, ConversionError when an
// identifier or type is of another kind or out of range, and DamagedResourcesError when an
// embedded image cannot be read.
ReadValue LoadResourceData(const ReadValue& ResID, const ReadValue& ResType);

// Names a resource for messages: `resource 101 of type "CUSTOM"`.
std::string DescribeResource(const ReadValue& ResID, const ReadValue& ResType);

// Copies `Length` bytes from `Source` to `Destination`; the two ranges may overlap. Inline, so
// that a copy of a constant size compiles to a plain load and store. The name is in
// parentheses because <windows.h> defines RtlMoveMemory as a function-like macro; after that
// header, call it as (bx::RtlMoveMemory)(...).
inline void(RtlMoveMemory)(void* Destination, const void* Source, std::size_t Length) noexcept {
  // memmove wants valid pointers even for a count of 0; a zero-length move touches nothing.
  if (Length != 0) std::memmove(Destination, Source, Length);
}

// Converts text in code page 932 (Shift-JIS with the Microsoft extensions) to UTF-16, as
// Windows converts it. Every byte is converted, a zero byte to U+0000. Bad input never raises
// and never loses a byte that could begin a character: a lead byte (0x81-0x9F, 0xE0-0xFC) and a
// trail byte (0x40-0x7E, 0x80-0xFC) are one code, and an unassigned one becomes one U+FFFD; a
// lead byte followed by anything else, or by nothing, becomes U+FFFD alone and the next byte is
// decoded on its own. The result never has more code units than the input has bytes.
std::u16string Cp932ToUtf16(std::span<const std::uint8_t> text);

// The same conversion into a caller's buffer, which must hold `text.size()` code units.
// Returns how many it wrote.
std::size_t Cp932ToUtf16(std::span<const std::uint8_t> text, char16_t* out) noexcept;

namespace detail {

// The conversion's table, for readers that decode short texts inline: the character at every
// pair of bytes, indexed by the two bytes as a little-endian 16-bit value (first byte low). For
// a lead byte it is the pair's character (U+FFFD when unassigned), or kCp932NotTrail when the
// second byte is not a trail byte; for any other byte it is that byte's own character, whatever
// follows.
extern const std::array<char16_t, 65536> kCp932Pairs;
inline constexpr char16_t kCp932NotTrail = 0xFFFE;

constexpr bool IsCp932Lead(std::uint8_t b) noexcept {
  return static_cast<std::uint8_t>(b - 0x81) <= 0x9F - 0x81 ||
         static_cast<std::uint8_t>(b - 0xE0) <= 0xFC - 0xE0;
}

}  // namespace detail

}  // namespace bx
