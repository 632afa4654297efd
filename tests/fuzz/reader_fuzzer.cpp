// libFuzzer target: arbitrary bytes as a resource, and an arbitrary sequence of operations on a
// stream over it, with the module's promises checked after every operation against a plain
// model of the cursor and a plain code page 932 decoder. Each input has a stream of its own, so
// nothing is left over from the one before.
#include <bxres/embedded_resource.h>
#include <bxres/resource_stream.h>
#include <bxres/value_text.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "cp932_reference.h"
#include "stream_state.h"

namespace {

[[noreturn]] void Violated(const char* promise) {
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

void Check(bool ok, const char* promise) {
  if (!ok) Violated(promise);
}

bool IsSeparator(std::uint8_t b) { return b == ',' || b == ' ' || b == '\r' || b == '\t'; }

// The plain model: where the next token lies and where the cursor goes after it.
struct ModelToken {
  std::size_t begin, end, next;
  bool quoted;
};

ModelToken NextToken(const std::vector<std::uint8_t>& d, std::size_t p) {
  const std::size_t n = d.size();
  if (d[p] == '"') {
    std::size_t i = p + 1;
    while (i < n && d[i] != '"') ++i;
    if (i == n) return {p + 1, n, n, true};
    std::size_t next = i + 1;
    if (next < n && (d[next] == ',' || d[next] == ' ')) {
      ++next;
    } else if (next < n && d[next] == '\r') {
      ++next;
      if (next < n && d[next] == '\n') ++next;
    }
    return {p + 1, i, next, true};
  }
  std::size_t i = p;
  while (i < n && !IsSeparator(d[i])) ++i;
  if (i == n) return {p, n, n, false};
  std::size_t next = i + 1;
  if (next < n && d[next] == '\n') ++next;
  return {p, i, next, false};
}

struct State {
  const void* data;
  std::int32_t pos, size;
  bool operator==(const State&) const = default;
};

using bx::detail::StreamState;

bx::ResourceStream stream;  // the stream the current input reads

State Now() {
  return {StreamState::ResData(stream).data(), StreamState::ResPos(stream),
          StreamState::ResSize(stream)};
}

std::int32_t Pos() { return StreamState::ResPos(stream); }

template <class T>
void CheckTypedRead(bx::ReadValue (bx::ResourceStream::*read)(),
                    const std::vector<std::uint8_t>& d) {
  const State before = Now();
  const bx::ReadValue v = (stream.*read)();
  const std::size_t left = d.size() - static_cast<std::size_t>(before.pos);
  if (left < sizeof(T)) {
    Check(v.IsEmpty() && Now() == before, "a short read is Empty and moves nothing");
    return;
  }
  T expected;
  std::memcpy(&expected, d.data() + before.pos, sizeof expected);
  Check(v == bx::ReadValue(expected), "a typed read gives the little-endian bytes at the cursor");
  Check(Pos() == before.pos + static_cast<std::int32_t>(sizeof(T)),
        "the cursor moves by the width");
}

void CheckBlockRead(std::int32_t length, const std::vector<std::uint8_t>& d) {
  const State before = Now();
  const std::size_t left = d.size() - static_cast<std::size_t>(before.pos);
  const std::size_t wanted = length < 0 ? 0 : static_cast<std::size_t>(length);
  const std::size_t copied = std::min(wanted, left);
  std::vector<std::uint8_t> destination(copied + 16, 0xA5);  // 16 guard bytes
  try {
    stream.ReadBlock(destination.data(), length);
  } catch (const bx::OverflowError&) {
    Check(std::int64_t{before.pos} + length > std::numeric_limits<std::int32_t>::max(),
          "ReadBlock overflows only when the cursor plus the length leaves the signed range");
    Check(Now() == before, "a failed ReadBlock moves nothing");
    return;
  } catch (const bx::BoundsError&) {
    Check(length < 0 || left == 0, "ReadBlock fails only with a negative length or nothing left");
    Check(Now() == before, "a failed ReadBlock moves nothing");
    return;
  }
  Check(length >= 0 && left > 0, "ReadBlock refuses a negative length and an empty rest");
  Check(std::memcmp(destination.data(), d.data() + before.pos, copied) == 0,
        "ReadBlock copies the bytes");
  for (std::size_t i = copied; i < destination.size(); ++i) {
    Check(destination[i] == 0xA5, "ReadBlock writes nothing past the bytes it copies");
  }
  Check(Pos() == before.pos + static_cast<std::int32_t>(copied),
        "ReadBlock moves by what it copied");
}

void CheckTokenRead(const std::vector<std::uint8_t>& d) {
  const State before = Now();
  const bx::ReadValue v = stream.ReadToken();
  if (static_cast<std::size_t>(before.pos) >= d.size()) {
    Check(v.IsEmpty() && Now() == before, "ReadToken at the end is Empty and moves nothing");
    return;
  }
  const ModelToken t = NextToken(d, static_cast<std::size_t>(before.pos));
  const std::u16string& text = v.String();
  Check(text == bx::test::ReferenceCp932(d.data() + t.begin, t.end - t.begin),
        "a token is its bytes, converted");
  if (!t.quoted) {
    for (char16_t c : text)
      Check(c != u',' && c != u' ' && c != u'\r' && c != u'\t',
            "no separator in an unquoted token");
  }
  Check(Pos() == static_cast<std::int32_t>(t.next),
        "ReadToken moves past the token and what ended it");
}

// The same token into the caller's strings, UTF-16 and UTF-8, from a copy of the stream and
// from the stream itself.
void CheckTokenIntoStrings(const std::vector<std::uint8_t>& d) {
  const State before = Now();
  bx::ResourceStream copy = stream;
  std::u16string utf16 = u"kept";
  std::string utf8 = "kept";
  const bool read16 = copy.ReadToken(utf16);
  const bool read8 = stream.ReadToken(utf8);
  if (static_cast<std::size_t>(before.pos) >= d.size()) {
    Check(!read16 && !read8 && utf16 == u"kept" && utf8 == "kept" && Now() == before,
          "ReadToken into a string at the end is false and changes nothing");
    return;
  }
  const ModelToken t = NextToken(d, static_cast<std::size_t>(before.pos));
  const std::u16string want = bx::test::ReferenceCp932(d.data() + t.begin, t.end - t.begin);
  Check(read16 && utf16 == want, "a token into a u16string is its bytes, converted");
  Check(read8 && utf8 == bx::ToUtf8(want), "a token into a string is its bytes, as UTF-8");
  Check(Pos() == static_cast<std::int32_t>(t.next) && copy.Position() == Pos(),
        "ReadToken into a string moves as ReadToken does");
}

// Read<T> and TryRead<T> against the bytes, and their refusal at the end.
void CheckRead(const std::vector<std::uint8_t>& d) {
  const State before = Now();
  const std::size_t left = d.size() - static_cast<std::size_t>(before.pos);
  const std::optional<std::uint64_t> tried = stream.TryRead<std::uint64_t>();
  if (left < 8) {
    Check(!tried && Now() == before, "TryRead at the end is nothing and moves nothing");
    try {
      stream.Read<std::uint64_t>();
      Violated("Read past the end gives a value");
    } catch (const bx::BoundsError&) {
      Check(Now() == before, "a failed Read moves nothing");
    }
    return;
  }
  std::uint64_t expected;
  std::memcpy(&expected, d.data() + before.pos, sizeof expected);
  Check(tried == expected && Pos() == before.pos + 8, "TryRead gives the bytes and moves by 8");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  FuzzedDataProvider provider(input, size);
  const std::vector<std::uint8_t> data =
      provider.ConsumeBytes<std::uint8_t>(provider.ConsumeIntegralInRange<std::size_t>(0, 4096));
  bx::EmbeddedResource resource{
      {1, nullptr}, {0, u"FUZZ"}, 0, data.data(), data.data() + data.size()};
  bx::RegisterResource(resource);
  stream = {};

  // What the module has loaded, as the model sees it.
  const std::vector<std::uint8_t> nothing;
  const std::vector<std::uint8_t>* loaded = &nothing;
  std::int32_t last_pos = 0;
  while (provider.remaining_bytes() > 0) {
    switch (provider.ConsumeIntegralInRange<int>(0, 11)) {
      case 0:
        CheckTypedRead<std::uint8_t>(&bx::ResourceStream::ReadByte, *loaded);
        break;
      case 1:
        CheckTypedRead<std::int16_t>(&bx::ResourceStream::ReadInteger, *loaded);
        break;
      case 2:
        CheckTypedRead<std::int32_t>(&bx::ResourceStream::ReadLong, *loaded);
        break;
      case 3:
        CheckTypedRead<float>(&bx::ResourceStream::ReadSingle, *loaded);
        break;
      case 4:
        CheckTypedRead<double>(&bx::ResourceStream::ReadDouble, *loaded);
        break;
      case 5:
        CheckBlockRead(provider.ConsumeIntegral<std::int32_t>(), *loaded);
        break;
      case 6:
        CheckBlockRead(provider.ConsumeIntegralInRange<std::int32_t>(-2, 64), *loaded);
        break;
      case 7:
        CheckTokenRead(*loaded);
        break;
      case 8:
        stream = bx::ResourceStream(1, u"FUZZ");
        Check(Pos() == 0 && stream.Size() == static_cast<std::int32_t>(data.size()),
              "Load rewinds");
        loaded = &data;
        last_pos = 0;
        break;
      case 9: {
        const State before = Now();
        try {
          stream = bx::ResourceStream(2, u"FUZZ");
          Violated("a missing resource loads");
        } catch (const bx::ResourceNotFoundError&) {
          Check(Now() == before, "a failed Load changes nothing");
        }
        break;
      }
      case 10:
        CheckTokenIntoStrings(*loaded);
        break;
      case 11:
        CheckRead(*loaded);
        break;
    }
    Check(Pos() >= last_pos, "the cursor never moves backwards between loads");
    Check(Pos() <= stream.Size(), "the cursor never passes the end");
    last_pos = Pos();
  }
  bx::UnregisterResource(resource);
  return 0;
}
