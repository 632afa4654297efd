// Compiled resource images (.res) as the loader walks them, and the languages it chooses among:
// well-formed images give every entry as it is; damaged ones give one error that says where,
// never a read outside the image.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "languages.h"
#include "little_endian.h"
#include "res_directory.h"
#include "res_file.h"

namespace {

using bx::detail::DamagedResFile;
using bx::detail::ResEntry;
using bx::detail::ResFile;
using Bytes = std::vector<std::uint8_t>;

void PutWord(Bytes& out, std::uint32_t w) {
  out.push_back(static_cast<std::uint8_t>(w));
  out.push_back(static_cast<std::uint8_t>(w >> 8));
}

void PutDword(Bytes& out, std::uint32_t d) {
  PutWord(out, d & 0xFFFF);
  PutWord(out, d >> 16);
}

// A name as a header holds it: a number, or the text of a name.
void PutName(Bytes& out, const std::u16string& name) {
  if (!name.empty() && name[0] == u'#') {
    PutWord(out, 0xFFFF);
    std::uint32_t number = 0;
    for (char16_t c : name.substr(1)) number = number * 10 + static_cast<std::uint32_t>(c - u'0');
    PutWord(out, number);
    return;
  }
  for (char16_t c : name) PutWord(out, c);
  PutWord(out, 0);
}

// One entry as the resource compiler writes it, padded to 4 bytes unless `pad` is false.
Bytes Entry(const std::u16string& type, const std::u16string& id, std::uint16_t language,
            const std::string& data, bool pad = true) {
  Bytes names;
  PutName(names, type);
  PutName(names, id);
  while (names.size() % 4 != 0) names.push_back(0);
  Bytes out;
  PutDword(out, static_cast<std::uint32_t>(data.size()));
  PutDword(out, static_cast<std::uint32_t>(8 + names.size() + 16));
  out.insert(out.end(), names.begin(), names.end());
  PutDword(out, 0);      // data version
  PutWord(out, 0x1030);  // memory flags
  PutWord(out, language);
  PutDword(out, 0);  // version
  PutDword(out, 0);  // characteristics
  out.insert(out.end(), data.begin(), data.end());
  while (pad && out.size() % 4 != 0) out.push_back(0);
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

void Describe(const bx::detail::ResName& name, std::ostream& out) {
  if (name.name.empty()) out << '#' << name.number;
  for (std::size_t i = 0; i < name.name.size(); i += 2) out << static_cast<char>(name.name[i]);
}

// Every entry as "type id language data".
std::vector<std::string> Walk(const Bytes& image) {
  ResFile file(image);
  std::vector<std::string> out;
  while (const auto entry = file.Next()) {
    std::ostringstream text;
    Describe(entry->type, text);
    text << ' ';
    Describe(entry->id, text);
    text << ' ' << entry->language << ' ';
    text.write(reinterpret_cast<const char*>(entry->data.data()),
               static_cast<std::streamsize>(entry->data.size()));
    out.push_back(text.str());
  }
  return out;
}

TEST(ResFileTest, GivesEveryEntryAfterTheEmptyOne) {
  const Bytes image = Join({Entry(u"#0", u"#0", 0, ""), Entry(u"#10", u"#7", 1033, "raw data"),
                            Entry(u"LEVEL", u"FIRST", 1041, "odd"), Entry(u"#24", u"#1", 0, "")});
  EXPECT_EQ(Walk(image), (std::vector<std::string>{"#10 #7 1033 raw data", "LEVEL FIRST 1041 odd",
                                                   "#24 #1 0 "}));
  EXPECT_TRUE(Walk({}).empty());
  // The last entry's padding may be missing.
  EXPECT_EQ(Walk(Entry(u"T", u"#1", 0, "abcde", false)), std::vector<std::string>{"T #1 0 abcde"});
}

TEST(ResFileTest, RefusesDamagedImagesSayingWhere) {
  const Bytes good = Entry(u"#10", u"#7", 0, "data");
  struct Case {
    const char* what;
    Bytes image;
    const char* error;
  };
  Bytes long_data = good;
  long_data[0] = 9;
  Bytes short_header = good;
  short_header[4] = 28;
  Bytes odd_header = good;
  odd_header[4] = 34;
  Bytes long_header = good;
  long_header[4] = 200;
  const Case cases[] = {
      {"cut off", Join({good, Bytes{1, 0, 0}}), "at byte 36: an entry's header is cut off"},
      {"data past the end", long_data,
       "at byte 0: the data (9 bytes) runs past the end of the file"},
      {"header too small", short_header,
       "at byte 0: the header size 28 is not a multiple of 4 of at least 32"},
      {"header not aligned", odd_header,
       "at byte 0: the header size 34 is not a multiple of 4 of at least 32"},
      {"header past the end", long_header, "at byte 0: the header runs past the end of the file"},
      {"second entry damaged", Join({good, long_data}),
       "at byte 36: the data (9 bytes) runs past the end of the file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      Walk(c.image);
      ADD_FAILURE() << "no error";
    } catch (const DamagedResFile& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
  }
}

TEST(ResFileTest, RefusesNamesThatLeaveTheHeader) {
  // A header of 32 bytes whose type name has no terminating zero within it.
  Bytes image;
  PutDword(image, 0);
  PutDword(image, 32);
  for (int i = 0; i < 12; ++i) PutWord(image, u'A');
  EXPECT_THROW(Walk(image), DamagedResFile);
  // Names that fit but leave no room for the fixed part of the header.
  Bytes crowded;
  PutDword(crowded, 0);
  PutDword(crowded, 32);
  for (int i = 0; i < 8; ++i) PutWord(crowded, u'A');
  PutWord(crowded, 0);
  PutWord(crowded, 0xFFFF);
  PutWord(crowded, 1);
  crowded.resize(32);
  try {
    Walk(crowded);
    ADD_FAILURE() << "no error";
  } catch (const DamagedResFile& e) {
    EXPECT_STREQ(e.what(), "at byte 0: the names leave no room for the rest of the header");
  }
}

// The writer's header read back by the walk, and the order of a resource directory that the
// loader's index keeps: names before numbers, names without regard to ASCII case.
TEST(ResFileTest, ReadsWhatTheWriterWritesInDirectoryOrder) {
  const std::vector<bx::detail::ResNameText> names = {
      {0, u"ALPHA"}, {0, u"Beta"}, {0, u"BETAS"}, {0, u"Z"}, {1, {}}, {7, {}}, {65535, {}}};
  Bytes image = bx::detail::ResFileStart();
  for (const auto& name : names) {
    const Bytes header = bx::detail::ResEntryHeader({0, u"T"}, name, 1041, 3);
    image.insert(image.end(), header.begin(), header.end());
    image.insert(image.end(), {'a', 'b', 'c', 0});
  }
  ResFile file(image);
  std::vector<ResEntry> entries;
  while (const auto entry = file.Next()) entries.push_back(*entry);
  ASSERT_EQ(entries.size(), names.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(bx::detail::IdText(entries[i].id), bx::detail::IdText(names[i])) << i;
    EXPECT_EQ(entries[i].language, 1041);
    EXPECT_EQ(entries[i].data.size(), 3u);
    for (std::size_t j = 0; j < entries.size(); ++j) {
      const int order = bx::detail::CompareNames(entries[i].id, entries[j].id);
      EXPECT_EQ(order < 0, i < j) << i << " " << j;
      EXPECT_EQ(order == 0, i == j) << i << " " << j;
    }
  }
  const std::u16string beta = u"bEtA";
  EXPECT_EQ(bx::detail::CompareNames(entries[1].id, bx::NameQuery{std::nullopt, &beta}), 0);
  EXPECT_LT(bx::detail::CompareNames(entries[3].id, bx::NameQuery{1, nullptr}), 0);
  EXPECT_GT(bx::detail::CompareNames(entries[5].id, bx::NameQuery{1, nullptr}), 0);
}

// A directory is trusted to be in order, never to point inside its image: an offset past the
// image, at its very end or into the middle of an entry is refused, saying where.
TEST(ResFileTest, ADirectoryPointingOutsideItsEntriesIsRefused) {
  const Bytes image = Join({Entry(u"#10", u"#7", 0, "data"), Entry(u"#10", u"#8", 0, "more")});
  const std::pair<std::uint32_t, const char*> cases[] = {
      {0xFFFFFFF0u, "at byte 4294967280: an entry's header is cut off"},
      {static_cast<std::uint32_t>(image.size()), "at byte 72: an entry's header is cut off"},
      {4, "at byte 4: the header size 720895 is not a multiple of 4 of at least 32"},
  };
  for (const auto& [offset, error] : cases) {
    SCOPED_TRACE(error);
    Bytes offsets;
    PutDword(offsets, 0);
    PutDword(offsets, offset);
    const bx::detail::ResDirectory directory(image, offsets.data(), 2);
    try {
      directory.Find(bx::NameQuery{10, nullptr}, bx::NameQuery{8, nullptr});
      ADD_FAILURE() << "no error";
    } catch (const DamagedResFile& e) {
      EXPECT_STREQ(e.what(), error);
    }
  }
}

// The table the build writes finds each key where the binary search of the offsets does, in
// every language, names in any case; a slot naming entries past the end is refused.
TEST(ResFileTest, TheHashTableFindsWhatTheSearchFinds) {
  const std::vector<std::pair<std::u16string, std::u16string>> keys = {
      {u"AB", u"NAME"}, {u"AB", u"NAMES"}, {u"AB", u"#1"}, {u"AB", u"#65535"},
      {u"A_", u"NAME"}, {u"#10", u"X"},    {u"#10", u"#7"}};
  Bytes image = bx::detail::ResFileStart();
  Bytes offsets;
  std::vector<ResEntry> entries;
  for (const auto& [type, id] : keys) {
    for (const std::uint16_t language : {1031, 1041}) {
      PutDword(offsets, static_cast<std::uint32_t>(image.size()));
      const Bytes entry = Entry(type, id, language, "x");
      image.insert(image.end(), entry.begin(), entry.end());
    }
  }
  for (std::size_t i = 0; i < offsets.size(); i += 4) {
    entries.push_back(bx::detail::ReadResEntry(image, bx::detail::LittleEndian32(&offsets[i])).entry);
  }
  const auto slots = bx::detail::ResTable(entries);
  ASSERT_EQ(slots.size(), 16u);  // a power of two, at least twice the seven keys
  Bytes table;
  for (const bx::detail::ResSlot& slot : slots) {
    PutDword(table, slot.hash);
    PutDword(table, slot.first);
    PutDword(table, slot.count);
  }
  const auto count = static_cast<std::uint32_t>(entries.size());
  const bx::detail::ResDirectory searched(image, offsets.data(), count);
  const bx::detail::ResDirectory hashed(image, offsets.data(), count, table.data(), 16);
  const auto query = [](const std::u16string& text, std::u16string& held) {
    if (text[0] == u'#') return bx::NameQuery{static_cast<std::uint16_t>(std::stoi(
                                                  std::string(text.begin() + 1, text.end()))),
                                              nullptr};
    held = text;
    for (char16_t& c : held) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return bx::NameQuery{std::nullopt, &held};  // asked for in lower case
  };
  for (std::size_t k = 0; k < keys.size(); ++k) {
    std::u16string type_text, id_text;
    const bx::NameQuery type = query(keys[k].first, type_text);
    const bx::NameQuery id = query(keys[k].second, id_text);
    const auto want = std::pair<std::uint32_t, std::uint32_t>(2 * k, 2 * k + 2);
    EXPECT_EQ(searched.Find(type, id), want) << k;
    EXPECT_EQ(hashed.Find(type, id), want) << k;
  }
  std::u16string missing = u"NAM";
  EXPECT_EQ(hashed.Find({std::nullopt, &missing}, {1, nullptr}).first,
            hashed.Find({std::nullopt, &missing}, {1, nullptr}).second);
  for (std::size_t at = 0; at < table.size(); at += 12) table[at + 4] = 200;  // first: past the end
  const bx::detail::ResDirectory damaged(image, offsets.data(), count, table.data(), 16);
  std::u16string ab = u"AB", name = u"NAME";
  EXPECT_THROW(damaged.Find({std::nullopt, &ab}, {std::nullopt, &name}), DamagedResFile);
}

TEST(LanguagesTest, ReadsLocaleNames) {
  const std::pair<const char*, std::uint16_t> cases[] = {
      {"ja_JP.UTF-8", 0x0411},
      {"de_DE", 0x0407},
      {"de_AT@euro", 0x0c07},
      {"en_GB.UTF-8", 0x0809},
      {"en", 0x0409},
      {"pt_BR", 0x0416},
      {"zh_TW.Big5", 0x0404},
      {"zh", 0x0804},
      {"fr_XX", 0x040c},
      {"C", 0},
      {"C.UTF-8", 0},
      {"POSIX", 0},
      {"", 0},
      {"xx_YY", 0},
  };
  for (const auto& [locale, language] : cases) {
    EXPECT_EQ(bx::detail::LanguageOfLocale(locale), language) << locale;
  }
}

TEST(LanguagesTest, PrefersTheUsersThenItsPrimaryThenNeutralThenEnglishThenTheLowest) {
  // The candidates in the order each user should get them.
  const std::uint16_t german = 0x0407, swiss = 0x0807, neutral = 0x0000, english = 0x0409,
                      japanese = 0x0411, french = 0x040c;
  const auto best = [](std::vector<std::uint16_t> candidates, std::uint16_t user) {
    std::uint16_t chosen = candidates.front();
    for (std::uint16_t c : candidates) {
      if (bx::detail::BetterLanguage(c, chosen, user)) chosen = c;
    }
    return chosen;
  };
  EXPECT_EQ(best({english, neutral, swiss, german}, swiss), swiss);
  EXPECT_EQ(best({english, neutral, german}, swiss), german);
  EXPECT_EQ(best({english, japanese, neutral}, swiss), neutral);
  EXPECT_EQ(best({japanese, english, french}, swiss), english);
  EXPECT_EQ(best({japanese, french}, swiss), french);
  EXPECT_EQ(best({japanese, french, english}, 0), english);
}

}  // namespace
