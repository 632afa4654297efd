// ReadValue: the tagged value that every resource operation takes and returns.
#pragma once

#include "bxres/detail/language_version.h"  // Required for: a clear message in an older language mode

#include <bit>
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
  VT_I2 = 2,    // Integer: signed 16-bit
  VT_I4 = 3,    // Long: signed 32-bit
  VT_R4 = 4,    // Single: IEEE 754 binary32
  VT_R8 = 5,    // Double: IEEE 754 binary64
  VT_BSTR = 8,  // String: UTF-16
  VT_UI1 = 17,  // Byte: unsigned 8-bit
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
// A value is two words: the kind, and the bits of a scalar or a pointer to the String or byte
// array it owns. Making, copying, assigning and destroying a scalar or Empty is a few inline
// instructions, and no code path ever needs the address of a value, so the compiler keeps values
// in registers: a loop of typed reads costs about what its loads cost, whether each result is a
// fresh value or is assigned into one that exists. Moving never copies text; a moved-from value
// is Empty.
//
// Each thread keeps one String that a value released, with its storage, and hands it to the
// next String that is made, so that a loop of ReadToken allocates nothing once it runs: the
// allocation that each std::u16string would need is made once. A String kept so holds at most
// kSpareUnits units of storage.
class ReadValue {
 public:
  ReadValue() noexcept : bits_(0), kind_(VT_EMPTY) {}  // the Empty value
  ReadValue(std::uint8_t v) noexcept : bits_(v), kind_(VT_UI1) {}
  ReadValue(std::int16_t v) noexcept : bits_(static_cast<std::uint16_t>(v)), kind_(VT_I2) {}
  ReadValue(std::int32_t v) noexcept : bits_(static_cast<std::uint32_t>(v)), kind_(VT_I4) {}
  ReadValue(float v) noexcept : bits_(std::bit_cast<std::uint32_t>(v)), kind_(VT_R4) {}
  ReadValue(double v) noexcept : bits_(std::bit_cast<std::uint64_t>(v)), kind_(VT_R8) {}
  ReadValue(std::u16string v);
  ReadValue(std::u16string_view v);
  ReadValue(const char16_t* v) : ReadValue(std::u16string_view(v)) {}
  ReadValue(ByteArray v);

  ReadValue(const ReadValue& other)
      : bits_(other.Owns() ? CopyOwned(other.kind_, other.bits_) : other.bits_),
        kind_(other.kind_) {}
  ReadValue(ReadValue&& other) noexcept : bits_(other.bits_), kind_(other.kind_) {
    other.kind_ = VT_EMPTY;  // whatever it owned is this value's now
  }
  ReadValue& operator=(const ReadValue& other) { return *this = ReadValue(other); }
  ReadValue& operator=(ReadValue&& other) noexcept {
    const std::uint64_t bits = other.bits_;
    const std::uint16_t kind = other.kind_;
    other.kind_ = VT_EMPTY;
    if (Owns()) [[unlikely]]
      ReleaseOwned(kind_, bits_);  // not when moved onto itself: Empty now
    bits_ = bits;
    kind_ = kind;
    return *this;
  }
  ~ReadValue() {
    if (Owns()) [[unlikely]]
      ReleaseOwned(kind_, bits_);
  }

  // A String built in place: `fill` is given room for `capacity` units, writes the text there
  // and returns its length. The text goes into the thread's spare String when there is one;
  // else a short text is written on the stack first, so that its String is allocated at its
  // final length.
  template <class Fill>
  static ReadValue StringOf(std::size_t capacity, Fill fill) {
    std::u16string* text = capacity <= kSpareUnits ? TakeSpare() : nullptr;
    if (text == nullptr) {
      if (capacity <= kStackUnits) {
        char16_t units[kStackUnits];
        return ReadValue(std::u16string_view(units, fill(units)));
      }
      text = new std::u16string;
    }
    ReadValue v;
    v.bits_ = reinterpret_cast<std::uintptr_t>(text);
    v.kind_ = VT_BSTR;  // from here on v releases the text, should resize or fill raise
    text->resize(capacity);
    text->resize(fill(text->data()));
    return v;
  }

  // The kind code: one of the VarType values, or kByteArrayKind.
  std::uint16_t Kind() const noexcept { return kind_; }
  bool IsEmpty() const noexcept { return kind_ == VT_EMPTY; }

  // The value of each kind. Asking a value for a kind it does not hold raises the conversion
  // error; nothing is converted between kinds here. The String and the byte array stay where
  // they are while the value, or a value it is moved into, holds them.
  std::uint8_t Byte() const { return Check(VT_UI1), static_cast<std::uint8_t>(bits_); }
  std::int16_t Integer() const { return Check(VT_I2), static_cast<std::int16_t>(bits_); }
  std::int32_t Long() const { return Check(VT_I4), static_cast<std::int32_t>(bits_); }
  float Single() const {
    return Check(VT_R4), std::bit_cast<float>(static_cast<std::uint32_t>(bits_));
  }
  double Double() const { return Check(VT_R8), std::bit_cast<double>(bits_); }
  const std::u16string& String() const { return Check(VT_BSTR), *Owned<std::u16string>(); }
  const ByteArray& Bytes() const { return Check(kByteArrayKind), *Owned<ByteArray>(); }

  // Same kind and same value. Floating-point values compare by their bits, so a NaN equals
  // itself and 0.0 differs from -0.0; byte arrays compare by content.
  friend bool operator==(const ReadValue& a, const ReadValue& b) noexcept;

  // The most storage, in UTF-16 units, that the String a thread keeps for the next may hold.
  static constexpr std::size_t kSpareUnits = 1024;

 private:
  // The bits of a kind code that only the owning kinds have: VT_BSTR's 8 and VT_ARRAY.
  static constexpr std::uint16_t kOwningBits = VT_BSTR | VT_ARRAY;
  static_assert(((VT_EMPTY | VT_I2 | VT_I4 | VT_R4 | VT_R8 | VT_UI1) & kOwningBits) == 0);

  bool Owns() const noexcept { return (kind_ & kOwningBits) != 0; }
  void Check(std::uint16_t wanted) const {
    if (kind_ != wanted) [[unlikely]]
      ThrowKindMismatch(kind_, wanted);
  }
  [[noreturn]] static void ThrowKindMismatch(std::uint16_t have, std::uint16_t wanted);

  template <class T>
  const T* Owned() const noexcept {
    return reinterpret_cast<const T*>(static_cast<std::uintptr_t>(bits_));
  }

  // The owning kinds' work, out of line. Each takes and gives the kind and the bits, never a
  // value's address: an address passed to a call that the compiler cannot see into would keep
  // every value of the calling function in memory.
  // A copy of what `bits` points to, as bits.
  static std::uint64_t CopyOwned(std::uint16_t kind, std::uint64_t bits);
  // Frees what `bits` points to (a String may become the thread's spare).
  static void ReleaseOwned(std::uint16_t kind, std::uint64_t bits) noexcept;
  // The thread's spare String, taken from it, or nullptr.
  static std::u16string* TakeSpare() noexcept;
  static constexpr std::size_t kStackUnits = 128;

  std::uint64_t bits_;
  std::uint16_t kind_;
};

// A short description for messages and test output, e.g. `Integer 101` or `String "CUSTOM"`.
std::string Describe(const ReadValue& v);

}  // namespace bx
