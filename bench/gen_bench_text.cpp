// Writes the benchmark's token text: code page 932, a mix of Japanese words, ASCII words,
// numbers and quoted phrases between every kind of separator, with a few empty tokens and a few
// Japanese sentences longer than 128 bytes, generated from a fixed seed so that every run reads
// the same bytes.
//   gen_bench_text <output> <size in bytes>

#include <bxres/value_text.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

// std::mt19937's sequence is fixed by the standard; the distributions are not, so draw from
// the raw sequence.
std::mt19937 g_random(20261210);
unsigned Below(unsigned n) { return g_random() % n; }
bool Chance(unsigned percent) { return Below(100) < percent; }

// A double-byte character from the hiragana, katakana or first kanji rows.
void AddJapaneseCharacter(std::string& out) {
  for (;;) {
    std::uint8_t pair[2];
    const unsigned kind = Below(10);
    if (kind < 4) {
      pair[0] = 0x82, pair[1] = static_cast<std::uint8_t>(0x9F + Below(0xF1 - 0x9F + 1));
    } else if (kind < 6) {
      pair[0] = 0x83, pair[1] = static_cast<std::uint8_t>(0x40 + Below(0x96 - 0x40 + 1));
    } else {
      pair[0] = static_cast<std::uint8_t>(0x88 + Below(0x98 - 0x88));
      pair[1] = static_cast<std::uint8_t>(0x40 + Below(0xFC - 0x40 + 1));
    }
    if (bx::Cp932ToUtf16(pair) != u"\uFFFD" && bx::Cp932ToUtf16(pair).size() == 1) {
      out.append(reinterpret_cast<const char*>(pair), 2);
      return;
    }
  }
}

void AddJapaneseWord(std::string& out) {
  for (unsigned n = 2 + Below(5); n > 0; --n) AddJapaneseCharacter(out);
}

void AddAsciiWord(std::string& out) {
  for (unsigned n = 3 + Below(8); n > 0; --n) out += static_cast<char>('a' + Below(26));
}

void AddNumber(std::string& out) { out += std::to_string(Below(100000)); }

void AddWord(std::string& out) {
  const unsigned kind = Below(100);
  if (kind < 50) {
    AddJapaneseWord(out);
  } else if (kind < 75) {
    AddAsciiWord(out);
  } else if (kind < 85) {
    AddNumber(out);
  } else {
    AddJapaneseWord(out);
    AddAsciiWord(out);
  }
}

void AddQuotedPhrase(std::string& out) {
  out += '"';
  for (unsigned n = 2 + Below(3); n > 0; --n) {
    AddWord(out);
    if (n > 1) out += Chance(80) ? " " : ", ";
  }
  out += '"';
}

void AddSeparator(std::string& out) {
  const unsigned kind = Below(100);
  if (kind < 35) {
    out += ',';
  } else if (kind < 65) {
    out += ' ';
  } else if (kind < 85) {
    out += "\r\n";
  } else {
    out += '\t';
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <output> <size in bytes>\n", argv[0]);
    return 2;
  }
  const std::size_t size = std::strtoull(argv[2], nullptr, 10);
  std::string text;
  text.reserve(size + 256);
  while (text.size() < size) {
    if (Chance(10)) {
      AddQuotedPhrase(text);
      // A tab is not skipped after a closing quote, so quoted phrases end in the others.
      text += Chance(50) ? "," : "\r\n";
    } else if (Chance(1)) {
      // A sentence with no blank in it, as Japanese is written: one token of 130 to 300 bytes.
      for (unsigned n = 65 + Below(86); n > 0; --n) AddJapaneseCharacter(text);
      AddSeparator(text);
    } else {
      AddWord(text);
      AddSeparator(text);
      if (Chance(3)) AddSeparator(text);  // two in a row: an empty token between them
    }
  }
  text.resize(size);
  // Do not end on half a character.
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<std::uint8_t>(text[i]);
    i += (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
  }
  if (i > text.size()) text.back() = 'x';

  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr || std::fwrite(text.data(), 1, text.size(), out) != text.size() ||
      std::fclose(out) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
