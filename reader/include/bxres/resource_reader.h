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

}  // namespace BxRes
