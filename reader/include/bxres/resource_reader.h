// BxRes: reads a resource embedded in the executable as a forward-only stream of bytes, numbers,
// records and text tokens.
//
// There is one cursor per process. Load() fetches a resource's bytes and rewinds the cursor to
// offset 0; every reader takes its bytes at the cursor and moves it forward past them. Nothing
// else seeks. The cursor is process-wide and not thread-safe: use it from one thread.
//
// Running out of data is not an error: the typed readers and ReadToken return the Empty value
// and leave the cursor where it is. Real failures raise a bx::Error (see bxres/errors.h), and an
// operation that raises leaves the cursor and the loaded resource exactly as they were.
#pragma once

#include <cstdint>
#include <limits>
#include <type_traits>

#include "bxres/errors.h"
#include "bxres/read_value.h"

namespace BxRes {

using bx::ReadValue;

// Loads the resource with this identifier and type from the executable and puts the cursor at
// its first byte; the previous resource is released. Identifiers and types are integers or
// strings (see bx::LoadResourceData). Loading the resource already loaded rewinds it.
// Raises bx::ResourceNotFoundError if there is no such resource, bx::ConversionError if the
// identifier or type is of another kind, and bx::OverflowError for a resource of more than
// 2^31 - 1 bytes. On any error the previous resource stays loaded, the cursor where it was.
void Load(const ReadValue& ResID, const ReadValue& ResType);

// The typed readers. Each reads one little-endian value at the cursor, at any alignment, and
// moves the cursor past it. A value that ends exactly at the last byte is read. When fewer bytes
// remain than the value needs (or nothing is loaded) they return the Empty value and the cursor
// stays. Bit patterns pass through unchanged, NaNs and subnormals included.
ReadValue ReadByte();     // Byte (VT_UI1), 1 byte
ReadValue ReadInteger();  // Integer (VT_I2), 2 bytes
ReadValue ReadLong();     // Long (VT_I4), 4 bytes
ReadValue ReadSingle();   // Single (VT_R4), 4 bytes
ReadValue ReadDouble();   // Double (VT_R8), 8 bytes

// Copies `Length` bytes at the cursor to `Address` and moves the cursor past them. A request
// that runs past the end is cut to the bytes that remain; destination bytes beyond those copied
// are not touched, and the caller is not told how many were copied. `Address` must have room
// for `Length` bytes.
// Raises bx::BoundsError when no byte is left (nothing loaded, or the cursor at the end), even
// for a Length of 0; also for a negative Length, or a null Address with a Length above 0.
// Raises bx::OverflowError when the cursor plus Length leaves the signed 32-bit range.
void ReadBlock(void* Address, std::int32_t Length);

// The same, filling a record (or an array) whose layout matches the data.
template <class T>
  requires std::is_trivially_copyable_v<T> && (!std::is_const_v<T>) &&
           (sizeof(T) <= std::numeric_limits<std::int32_t>::max())
void ReadBlock(T& record) {
  ReadBlock(static_cast<void*>(&record), static_cast<std::int32_t>(sizeof(T)));
}

// Reads the next text token and returns it as a String (UTF-16, converted from code page 932),
// or the Empty value, with the cursor unmoved, at the end of the data.
//
// Tokens are separated by a comma, a blank, a carriage return or a tab; a line feed right
// after the separator is skipped with it. A token that starts with a double quote runs to the
// next double quote (or the end of the data) and may hold blanks, commas, tabs and line ends;
// after its closing quote one comma or blank, or a carriage return (with a line feed that
// follows it), is skipped. A token may be empty, as between two separators in a row; the
// cursor always moves past it, so a caller cannot loop on one position.
ReadValue ReadToken();

}  // namespace BxRes
