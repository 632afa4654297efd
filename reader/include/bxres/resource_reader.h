// BxRes: reads a resource embedded in the executable as a forward-only stream of bytes, numbers,
// records and text tokens.
//
// There is one cursor per process: the module's functions are the operations of one
// process-wide bx::ResourceStream (see bxres/resource_stream.h for what each reader does), which
// Load() replaces. Load() fetches a resource's bytes and rewinds the cursor to offset 0; every
// reader takes its bytes at the cursor and moves it forward past them. Nothing else seeks. The
// cursor is process-wide and shared by the program and every shared library or module it
// loads; it is not thread-safe: use it from one thread, or give each thread a
// bx::ResourceStream of its own.
//
// Running out of data is not an error: the typed readers and ReadToken return the Empty value
// and leave the cursor where it is. Real failures raise a bx::Error (see bxres/errors.h), and an
// operation that raises leaves the cursor and the loaded resource exactly as they were.
#pragma once

#include <cstdint>

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
// its first byte; the previous resource is released. Identifiers and types are integers from 1
// to 65535 or names (see bx::LoadResourceData). Loading the resource already loaded rewinds it.
// Raises bx::ResourceNotFoundError if there is no such resource, bx::ConversionError if the
// identifier or type is of another kind or out of range, and bx::OverflowError for a resource
// of more than 2^31 - 1 bytes. On any error the previous resource stays loaded, the cursor where
// it was.
void Load(const ReadValue& ResID, const ReadValue& ResType);

// The same with the identifier and type given as any integer type, enumeration or string:
// Load(101, "CUSTOM"), Load(LevelId::kFirst, u"LEVEL").
template <bx::ResourceNameLike Id, bx::ResourceNameLike Type>
void Load(const Id& ResID, const Type& ResType) {
  Load(bx::ToResourceName(ResID, "identifier"), bx::ToResourceName(ResType, "type"));
}

// Where the cursor stands: the offset of the next unread byte (0 before the first Load), never
// beyond Size().
inline std::int32_t Position() noexcept { return detail::TheStream().Position(); }

// The byte count of the loaded resource (0 before the first Load).
inline std::int32_t Size() noexcept { return detail::TheStream().Size(); }

// The typed readers: Byte (VT_UI1, 1 byte), Integer (VT_I2, 2), Long (VT_I4, 4), Single (VT_R4,
// 4) and Double (VT_R8, 8), little-endian, at any alignment; the Empty value, with the cursor
// unmoved, when fewer bytes remain (or nothing is loaded).
inline ReadValue ReadByte() { return detail::TheStream().ReadByte(); }
inline ReadValue ReadInteger() { return detail::TheStream().ReadInteger(); }
inline ReadValue ReadLong() { return detail::TheStream().ReadLong(); }
inline ReadValue ReadSingle() { return detail::TheStream().ReadSingle(); }
inline ReadValue ReadDouble() { return detail::TheStream().ReadDouble(); }

// Copies up to `Length` bytes at the cursor to `Address` and returns how many it copied; a
// request past the end is cut to what remains. Raises bx::BoundsError when no byte is left
// (nothing loaded, or the cursor at the end), even for a Length of 0, and for a negative Length
// or a null Address with a Length above 0; bx::OverflowError when the cursor plus Length leaves
// the signed 32-bit range.
std::int32_t ReadBlock(void* Address, std::int32_t Length);

// The same, filling a record (or an array) whose layout matches the data.
template <bx::BlockRecord T>
std::int32_t ReadBlock(T& record) {
  return ReadBlock(static_cast<void*>(&record), static_cast<std::int32_t>(sizeof(T)));
}

// The next text token as a String (UTF-16, converted from code page 932), or the Empty value at
// the end of the data; see bx::ResourceStream::ReadToken for the separators and quotes.
ReadValue ReadToken();

}  // namespace BxRes
