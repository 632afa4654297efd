// ReadValue comparison, descriptions and kind errors.
#include "bxres/read_value.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "bxres/errors.h"
#include "bxres/value_text.h"

namespace bx {
namespace {

std::string KindName(std::uint16_t kind) {
  switch (kind) {
    case VT_EMPTY:
      return "Empty";
    case VT_I2:
      return "Integer";
    case VT_I4:
      return "Long";
    case VT_R4:
      return "Single";
    case VT_R8:
      return "Double";
    case VT_BSTR:
      return "String";
    case VT_UI1:
      return "Byte";
    case kByteArrayKind:
      return "Byte array";
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
    case VT_BSTR:
      return *a.Owned<std::u16string>() == *b.Owned<std::u16string>();
    case kByteArrayKind:
      return std::ranges::equal(a.Owned<ByteArray>()->bytes(), b.Owned<ByteArray>()->bytes());
  }
  return a.bits_ == b.bits_;  // the scalar kinds by their bits, and Empty
}

namespace {

std::uint64_t BitsOf(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

// The String that this thread released last, kept with its storage for the next one made.
// Plain thread-local words, which stay usable while the thread ends; the reaper, made when a
// String is first kept, frees the spare as the thread ends and closes the slot, so that Strings
// released after it (static values destroyed at exit) are freed at once.
thread_local std::u16string* t_spare = nullptr;
thread_local bool t_spare_closed = false;
thread_local bool t_reaper_made = false;

struct SpareReaper {
  ~SpareReaper() {
    delete std::exchange(t_spare, nullptr);
    t_spare_closed = true;
  }
};

// Keeps `text` as the spare if its storage is small enough and larger than the spare's, and
// frees the other.
void GiveSpare(std::u16string* text) noexcept {
  if (t_spare_closed || text->capacity() > ReadValue::kSpareUnits ||
      (t_spare != nullptr && t_spare->capacity() >= text->capacity())) {
    delete text;
    return;
  }
  delete std::exchange(t_spare, nullptr);
  if (!t_reaper_made) {
    thread_local SpareReaper reaper;
    (void)reaper;
    t_reaper_made = true;
  }
  t_spare = text;
}

const std::u16string& StringAt(std::uint64_t bits) {
  return *reinterpret_cast<const std::u16string*>(static_cast<std::uintptr_t>(bits));
}
const ByteArray& BytesAt(std::uint64_t bits) {
  return *reinterpret_cast<const ByteArray*>(static_cast<std::uintptr_t>(bits));
}

}  // namespace

ReadValue::ReadValue(std::u16string v)
    : bits_(BitsOf(new std::u16string(std::move(v)))), kind_(VT_BSTR) {}

ReadValue::ReadValue(std::u16string_view v) : ReadValue() {
  std::u16string* text = v.size() <= kSpareUnits ? TakeSpare() : nullptr;
  if (text == nullptr) text = new std::u16string;
  bits_ = BitsOf(text);
  kind_ = VT_BSTR;  // from here on this value releases the text, should assign raise
  text->assign(v);
}

ReadValue::ReadValue(ByteArray v)
    : bits_(BitsOf(new ByteArray(std::move(v)))), kind_(kByteArrayKind) {}

std::uint64_t ReadValue::CopyOwned(std::uint16_t kind, std::uint64_t bits) {
  if (kind == VT_BSTR) return BitsOf(new std::u16string(StringAt(bits)));
  return BitsOf(new ByteArray(BytesAt(bits)));
}

void ReadValue::ReleaseOwned(std::uint16_t kind, std::uint64_t bits) noexcept {
  if (kind == VT_BSTR) {
    GiveSpare(const_cast<std::u16string*>(&StringAt(bits)));
  } else {
    delete &BytesAt(bits);
  }
}

std::u16string* ReadValue::TakeSpare() noexcept { return std::exchange(t_spare, nullptr); }

void ReadValue::ThrowKindMismatch(std::uint16_t have, std::uint16_t wanted) {
  std::string message =
      WithArticle(KindName(have)) + " value cannot be used as " + WithArticle(KindName(wanted));
  if (have == VT_EMPTY) message += ": the readers return Empty at the end of the data";
  throw ConversionError(message);
}

std::string Describe(const ReadValue& v) {
  switch (v.Kind()) {
    case VT_EMPTY:
      return "Empty";
    case VT_BSTR:
      return "String \"" + ToUtf8(v.String()) + "\"";
    case kByteArrayKind:
      return "Byte array of " + std::to_string(v.Bytes().size()) + " bytes";
  }
  return KindName(v.Kind()) + " " + ToUtf8(ToText(v));
}

}  // namespace bx
