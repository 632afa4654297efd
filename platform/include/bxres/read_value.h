// ReadValue: the tagged value that every resource operation takes and returns.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace bx {

// Kind codes, as the platform's tagged values number them.
enum VarType : std::uint16_t {
  VT_EMPTY = 0,
  VT_I2 = 2,     // Integer: signed 16-bit
  VT_I4 = 3,     // Long: signed 32-bit
  VT_R4 = 4,     // Single: IEEE 754 binary32
  VT_R8 = 5,     // Double: IEEE 754 binary64
  VT_BSTR = 8,   // String: UTF-16
  VT_UI1 = 17,   // Byte: unsigned 8-bit
  VT_ARRAY = 0x2000,
};

// The kind of a byte array: an array of VT_UI1.
inline constexpr std::uint16_t kByteArrayKind = VT_ARRAY | VT_UI1;

// A one-dimensional array of bytes with lower bound 0. It is a view: copying it copies no bytes.
// A view of bytes in the executable's image owns nothing; other arrays share ownership of
// their storage, so every copy stays valid for as long as it lives.
class ByteArray {
 public:
  ByteArray() = default;

  // Views bytes that outlive every copy, such as the ones in the executable's image.
  static ByteArray View(std::span<const std::uint8_t> bytes) { return ByteArray(bytes, nullptr); }
  // Takes a copy of bytes, owned by the array and its copies.
  static ByteArray Copy(std::span<const std::uint8_t> bytes);
  // Views bytes whose lifetime `owner` keeps.
  static ByteArray Shared(std::span<const std::uint8_t> bytes, std::shared_ptr<const void> owner) {
    return ByteArray(bytes, std::move(owner));
  }

  const std::uint8_t* data() const noexcept { return bytes_.data(); }
  std::size_t size() const noexcept { return bytes_.size(); }
  std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }
  // The highest index, -1 for an empty array.
  std::int64_t UBound() const noexcept { return static_cast<std::int64_t>(bytes_.size()) - 1; }

 private:
  ByteArray(std::span<const std::uint8_t> bytes, std::shared_ptr<const void> owner)
      : bytes_(bytes), owner_(std::move(owner)) {}

  std::span<const std::uint8_t> bytes_;
  std::shared_ptr<const void> owner_;
};

// A value of one of the kinds above, or the Empty value. Copied by value.
class ReadValue {
 public:
  ReadValue() = default;  // the Empty value
  ReadValue(std::uint8_t v) : value_(v) {}
  ReadValue(std::int16_t v) : value_(v) {}
  ReadValue(std::int32_t v) : value_(v) {}
  ReadValue(float v) : value_(v) {}
  ReadValue(double v) : value_(v) {}
  ReadValue(std::u16string v) : value_(std::in_place_type<std::u16string>, std::move(v)) {}
  ReadValue(std::u16string_view v) : value_(std::in_place_type<std::u16string>, v) {}
  ReadValue(const char16_t* v) : value_(std::in_place_type<std::u16string>, v) {}
  ReadValue(ByteArray v) : value_(std::move(v)) {}

  // A String built in place: `fill` is given room for `capacity` units, writes the text there
  // and returns its length.
  template <class Fill>
  static ReadValue StringOf(std::size_t capacity, Fill fill) {
    ReadValue v;
    std::u16string& text = v.value_.emplace<std::u16string>(capacity, u'\0');
    text.resize(fill(text.data()));
    return v;
  }

  // The kind code: one of the VarType values, or kByteArrayKind.
  std::uint16_t Kind() const noexcept { return kKinds[value_.index()]; }
  bool IsEmpty() const noexcept { return value_.index() == 0; }

  // The value of each kind. Asking a value for a kind it does not hold raises the conversion
  // error; nothing is converted between kinds here.
  std::uint8_t Byte() const { return Get<std::uint8_t>(VT_UI1); }
  std::int16_t Integer() const { return Get<std::int16_t>(VT_I2); }
  std::int32_t Long() const { return Get<std::int32_t>(VT_I4); }
  float Single() const { return Get<float>(VT_R4); }
  double Double() const { return Get<double>(VT_R8); }
  const std::u16string& String() const { return Get<std::u16string>(VT_BSTR); }
  const ByteArray& Bytes() const { return Get<ByteArray>(kByteArrayKind); }

  // Same kind and same value. Floating-point values compare by their bits, so a NaN equals
  // itself and 0.0 differs from -0.0; byte arrays compare by content.
  friend bool operator==(const ReadValue& a, const ReadValue& b) noexcept;

 private:
  using Storage = std::variant<std::monostate, std::uint8_t, std::int16_t, std::int32_t, float,
                               double, std::u16string, ByteArray>;
  // The kind codes in the order of the alternatives above.
  static constexpr std::uint16_t kKinds[] = {VT_EMPTY, VT_UI1,  VT_I2,   VT_I4,
                                             VT_R4,    VT_R8,   VT_BSTR, kByteArrayKind};

  template <class T>
  const T& Get(std::uint16_t wanted) const {
    if (const T* v = std::get_if<T>(&value_)) return *v;
    ThrowKindMismatch(Kind(), wanted);
  }
  [[noreturn]] static void ThrowKindMismatch(std::uint16_t have, std::uint16_t wanted);

  Storage value_;
};

// A short description for messages and test output, e.g. `Integer 101` or `String "CUSTOM"`.
std::string Describe(const ReadValue& v);

}  // namespace bx
