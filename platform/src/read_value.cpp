// ReadValue comparison, descriptions and kind errors.
#include "bxres/read_value.h"

#include <algorithm>
#include <bit>
#include <cstring>
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
  if (a.value_.index() != b.value_.index()) return false;
  return std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        const T& y = std::get<T>(b.value_);
        if constexpr (std::is_same_v<T, float>) {
          return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
        } else if constexpr (std::is_same_v<T, double>) {
          return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y);
        } else if constexpr (std::is_same_v<T, ByteArray>) {
          return std::ranges::equal(x.bytes(), y.bytes());
        } else {
          return x == y;
        }
      },
      a.value_);
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
