// ReadValue: the tagged value that every resource operation takes and returns.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

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
//
// The scalar kinds and Empty own nothing: making, copying, assigning and destroying one of them
// is a few inline instructions, with no call, so a loop of typed reads costs about what its loads
// cost. Only a String or a byte array takes the slower paths, out of line.
class ReadValue {
 public:
  ReadValue() noexcept : scalar_{}, kind_(VT_EMPTY) {}  // the Empty value
  ReadValue(std::uint8_t v) noexcept : scalar_{.byte = v}, kind_(VT_UI1) {}
  ReadValue(std::int16_t v) noexcept : scalar_{.integer = v}, kind_(VT_I2) {}
  ReadValue(std::int32_t v) noexcept : scalar_{.long_ = v}, kind_(VT_I4) {}
  ReadValue(float v) noexcept : scalar_{.single = v}, kind_(VT_R4) {}
  ReadValue(double v) noexcept : scalar_{.double_ = v}, kind_(VT_R8) {}
  ReadValue(std::u16string v) noexcept : string_(std::move(v)), kind_(VT_BSTR) {}
  ReadValue(std::u16string_view v) : string_(v), kind_(VT_BSTR) {}
  ReadValue(const char16_t* v) : string_(v), kind_(VT_BSTR) {}
  ReadValue(ByteArray v) noexcept : bytes_(std::move(v)), kind_(kByteArrayKind) {}

  ReadValue(const ReadValue& other) : kind_(other.kind_) {
    if (other.Owns()) [[unlikely]] {
      CopyOwned(other);
    } else {
      scalar_ = other.scalar_;
    }
  }
  ReadValue(ReadValue&& other) noexcept : kind_(other.kind_) {
    if (other.Owns()) [[unlikely]] {
      MoveOwned(std::move(other));
    } else {
      scalar_ = other.scalar_;
    }
  }
  ReadValue& operator=(const ReadValue& other) {
    if (((kind_ | other.kind_) & kOwningBits) == 0) [[likely]] {
      scalar_ = other.scalar_;
      kind_ = other.kind_;
    } else if (this != &other) {
      ReadValue copy(other);
      AssignOwned(std::move(copy));
    }
    return *this;
  }
  ReadValue& operator=(ReadValue&& other) noexcept {
    if (((kind_ | other.kind_) & kOwningBits) == 0) [[likely]] {
      scalar_ = other.scalar_;
      kind_ = other.kind_;
    } else if (this != &other) {
      AssignOwned(std::move(other));
    }
    return *this;
  }
  ~ReadValue() {
    if (Owns()) [[unlikely]] DestroyOwned();
  }

  // A String built in place: `fill` is given room for `capacity` units, writes the text there
  // and returns its length.
  template <class Fill>
  static ReadValue StringOf(std::size_t capacity, Fill fill) {
    ReadValue v(std::u16string(capacity, u'\0'));
    v.string_.resize(fill(v.string_.data()));
    return v;
  }

  // The kind code: one of the VarType values, or kByteArrayKind.
  std::uint16_t Kind() const noexcept { return kind_; }
  bool IsEmpty() const noexcept { return kind_ == VT_EMPTY; }

  // The value of each kind. Asking a value for a kind it does not hold raises the conversion
  // error; nothing is converted between kinds here.
  std::uint8_t Byte() const { return Check(VT_UI1), scalar_.byte; }
  std::int16_t Integer() const { return Check(VT_I2), scalar_.integer; }
  std::int32_t Long() const { return Check(VT_I4), scalar_.long_; }
  float Single() const { return Check(VT_R4), scalar_.single; }
  double Double() const { return Check(VT_R8), scalar_.double_; }
  const std::u16string& String() const { return Check(VT_BSTR), string_; }
  const ByteArray& Bytes() const { return Check(kByteArrayKind), bytes_; }

  // Same kind and same value. Floating-point values compare by their bits, so a NaN equals
  // itself and 0.0 differs from -0.0; byte arrays compare by content.
  friend bool operator==(const ReadValue& a, const ReadValue& b) noexcept;

 private:
  // The bits of a kind code that only the owning kinds have: VT_BSTR's 8 and VT_ARRAY.
  static constexpr std::uint16_t kOwningBits = VT_BSTR | VT_ARRAY;
  static_assert(((VT_EMPTY | VT_I2 | VT_I4 | VT_R4 | VT_R8 | VT_UI1) & kOwningBits) == 0);

  bool Owns() const noexcept { return (kind_ & kOwningBits) != 0; }
  void Check(std::uint16_t wanted) const {
    if (kind_ != wanted) [[unlikely]] ThrowKindMismatch(kind_, wanted);
  }
  [[noreturn]] static void ThrowKindMismatch(std::uint16_t have, std::uint16_t wanted);

  // The owning kinds' halves of copying, moving, assigning and destroying. CopyOwned and
  // MoveOwned construct the member of `other`'s kind, which kind_ already names, in storage that
  // holds none yet; AssignOwned replaces whatever this value holds.
  void CopyOwned(const ReadValue& other);
  void MoveOwned(ReadValue&& other) noexcept;
  void AssignOwned(ReadValue&& other) noexcept;
  void DestroyOwned() noexcept;

  // The scalar kinds, and Empty (which holds a zero here): copied as a whole, whichever member
  // is in use.
  union Scalar {
    std::uint8_t byte;
    std::int16_t integer;
    std::int32_t long_;
    float single;
    double double_;
  };
  union {
    Scalar scalar_;
    std::u16string string_;
    ByteArray bytes_;
  };
  std::uint16_t kind_;
};

// A short description for messages and test output, e.g. `Integer 101` or `String "CUSTOM"`.
std::string Describe(const ReadValue& v);

}  // namespace bx
