// BxRes: reads a resource embedded in the executable as a forward-only stream of bytes, numbers,
// records and text tokens.
//
// There is one cursor per process: the module's functions are the operations of one
// process-wide bx::ResourceStream, which Load() replaces; bxres/resource_stream.h says what each
// operation does, what it returns at the end of the data and what it raises. On ELF systems
// (Linux) the cursor is shared by the program and every shared library or module it loads; on
// Windows a DLL that links the library has a cursor of its own. It is not thread-safe: use it
// from one thread, or give each thread a bx::ResourceStream of its own.
#pragma once

#include "bxres/detail/language_version.h"  // Required for: a clear message in an older language mode

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "bxres/errors.h"
#include "bxres/read_value.h"
#include "bxres/resource_stream.h"

namespace BxRes {

using bx::ReadValue;

namespace detail {

// The process-wide stream that the functions below operate on; its state (the bytes, the cursor
// and the byte count) is private to it. The same stream from every shared object in the
// process, whatever their symbols' visibility; found on first use.
bx::ResourceStream& FindTheStream() noexcept;

// This object's shortcut to that stream, so that the typed readers inline into the caller with
// no call per value. Use the functions, not these.
inline bx::ResourceStream* g_the_stream = nullptr;
inline bx::ResourceStream& TheStream() noexcept {
  if (g_the_stream == nullptr) [[unlikely]]
    g_the_stream = &FindTheStream();
  return *g_the_stream;
}

}  // namespace detail

// Loads the resource with this identifier and type from the executable and puts the cursor at
// its first byte; the previous resource is released. Loading the resource already loaded
// rewinds it. Identifiers and types are numbers from 1 to 65535 or names (strings, matched
// without regard to ASCII case; "#101" names the number 101), as bx::ResourceNameLike lists.
// Where one identifier and type exist in several languages, the one that suits the user's
// language best is taken, as Windows takes it.
// Raises bx::ResourceNotFoundError if there is no such resource, bx::ConversionError if the
// identifier or type is of another kind or out of range, bx::DamagedResourcesError if the
// embedded resources cannot be read, and bx::OverflowError for a resource of more than
// 2^31 - 1 bytes. On any error the previous resource stays loaded, the cursor where it was.
void Load(const ReadValue& ResID, const ReadValue& ResType);

// The same with the identifier and type given as any integer type, enumeration or string:
// Load(101, "CUSTOM"), Load(LevelId::kFirst, u"LEVEL").
template <bx::ResourceNameLike Id, bx::ResourceNameLike Type>
void Load(const Id& ResID, const Type& ResType) {
  Load(bx::ToResourceName(ResID, "identifier"), bx::ToResourceName(ResType, "type"));
}

// The operations of the process-wide stream; each does exactly what bx::ResourceStream's
// operation of the same name does (see bxres/resource_stream.h). Before the first Load the
// stream is empty.
inline std::int32_t Position() noexcept { return detail::TheStream().Position(); }
inline std::int32_t Size() noexcept { return detail::TheStream().Size(); }
inline ReadValue ReadByte() { return detail::TheStream().ReadByte(); }
inline ReadValue ReadInteger() { return detail::TheStream().ReadInteger(); }
inline ReadValue ReadLong() { return detail::TheStream().ReadLong(); }
inline ReadValue ReadSingle() { return detail::TheStream().ReadSingle(); }
inline ReadValue ReadDouble() { return detail::TheStream().ReadDouble(); }
std::int32_t ReadBlock(void* Address, std::int32_t Length);
template <class T>
std::int32_t ReadBlock(T& record) {
  return detail::TheStream().ReadBlock(record);
}
template <class T, std::size_t N>
std::int32_t ReadBlock(std::span<T, N> elements) {
  return detail::TheStream().ReadBlock(elements);
}
ReadValue ReadToken();

// The C++ face of the same stream (see bx::ResourceStream).
template <class T>
T Read() {
  return detail::TheStream().Read<T>();
}
template <class T>
std::optional<T> TryRead() {
  return detail::TheStream().TryRead<T>();
}
inline void Skip(std::int32_t count) { detail::TheStream().Skip(count); }
inline std::span<const std::uint8_t> Bytes() noexcept { return detail::TheStream().Bytes(); }
inline std::span<const std::uint8_t> Remaining() noexcept {
  return detail::TheStream().Remaining();
}
bool ReadToken(std::u16string& into);
bool ReadToken(std::string& into);
template <class Text = std::u16string>
bx::TokenRange<Text> Tokens() {
  return detail::TheStream().Tokens<Text>();
}

}  // namespace BxRes
