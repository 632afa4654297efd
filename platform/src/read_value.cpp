// ReadValue comparison, descriptions and kind errors.
#include "bxres/read_value.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "bxres/errors.h"
#include "bxres/value_text.h"

namespace bx {
namespace {

std::string KindName(std::uint16_t kind) {
  switch (kind) {
    case VT_EMPTY: return "Empty";
    case VT_I2: return "Integer";
    case VT_I4: return "Long";
    case VT_R4: return "Single";
    case VT_R8: return "Double";
    case VT_BSTR: return "String";
    case VT_UI1: return "Byte";
    case kByteArrayKind: return "Byte array";
  }
  return "kind " + std::to_string(kind);
}

// "an Empty", "a Long".
std::string WithArticle(const std::string& kind) {
  return (std::string_view("AEIOU").find(kind.front()) != std::string_view::npos ? "an " : "a ") +
         kind;
}

}  // namespace

ByteArray ByteArray::Copy(std::span<const std::uint8_t> bytes) {
  auto storage = std::make_shared<std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
  std::span<const std::uint8_t> view(storage->data(), storage->size());
  return ByteArray(view, std::move(storage));
}

bool operator==(const ReadValue& a, const ReadValue& b) noexcept {
  if (a.kind_ != b.kind_) return false;
  switch (a.kind_) {
    case VT_EMPTY: return true;
    case VT_UI1: return a.scalar_.byte == b.scalar_.byte;
    case VT_I2: return a.scalar_.integer == b.scalar_.integer;
    case VT_I4: return a.scalar_.long_ == b.scalar_.long_;
    case VT_R4:
      return std::bit_cast<std::uint32_t>(a.scalar_.single) ==
             std::bit_cast<std::uint32_t>(b.scalar_.single);
    case VT_R8:
      return std::bit_cast<std::uint64_t>(a.scalar_.double_) ==
             std::bit_cast<std::uint64_t>(b.scalar_.double_);
    case VT_BSTR: return a.string_ == b.string_;
    case kByteArrayKind: return std::ranges::equal(a.bytes_.bytes(), b.bytes_.bytes());
  }
  return false;
}

void ReadValue::CopyOwned(const ReadValue& other) {
  if (other.kind_ == VT_BSTR) {
    new (&string_) std::u16string(other.string_);
  } else {
    new (&bytes_) ByteArray(other.bytes_);
  }
}

void ReadValue::MoveOwned(ReadValue&& other) noexcept {
  if (other.kind_ == VT_BSTR) {
    new (&string_) std::u16string(std::move(other.string_));
  } else {
    new (&bytes_) ByteArray(std::move(other.bytes_));
  }
}

void ReadValue::AssignOwned(ReadValue&& other) noexcept {
  if (kind_ == other.kind_) {  // the member in use stays, and may keep its storage
    if (kind_ == VT_BSTR) {
      string_ = std::move(other.string_);
    } else {
      bytes_ = std::move(other.bytes_);
    }
    return;
  }
  if (Owns()) DestroyOwned();
  kind_ = other.kind_;
  if (other.Owns()) {
    MoveOwned(std::move(other));
  } else {
    scalar_ = other.scalar_;
  }
}

void ReadValue::DestroyOwned() noexcept {
  if (kind_ == VT_BSTR) {
    std::destroy_at(&string_);
  } else {
    std::destroy_at(&bytes_);
  }
}

void ReadValue::ThrowKindMismatch(std::uint16_t have, std::uint16_t wanted) {
  std::string message = WithArticle(KindName(have)) + " value cannot be used as " +
                        WithArticle(KindName(wanted));
  if (have == VT_EMPTY) message += ": the readers return Empty at the end of the data";
  throw ConversionError(message);
}

std::string Describe(const ReadValue& v) {
  switch (v.Kind()) {
    case VT_EMPTY: return "Empty";
    case VT_BSTR: return "String \"" + ToUtf8(v.String()) + "\"";
    case kByteArrayKind: return "Byte array of " + std::to_string(v.Bytes().size()) + " bytes";
  }
  return KindName(v.Kind()) + " " + ToUtf8(ToText(v));
}

}  // namespace bx
