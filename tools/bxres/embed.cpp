#include "embed.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <span>
#include <tuple>

#include "elf_note.h"
#include "res_directory.h"
#include "res_file.h"
#include "resource_names.h"

namespace bxres {
namespace {

// What makes two resources the same: type, identifier (names without regard to ASCII case) and
// language.
using Key = std::tuple<std::string, std::string, std::uint16_t>;

bx::detail::ResNameText Parsed(const std::string& text, bool is_type) {
  try {
    return bx::detail::ParseDeclaredName(text, is_type);
  } catch (const bx::detail::BadName& e) {
    throw EmbedError(e.what());
  }
}

// Every resource seen so far, with where it came from, so that the second of two is refused
// naming both.
class Declared {
 public:
  void Add(const Key& key, const std::string& what, const std::string& where) {
    const auto [at, added] = places_.emplace(key, where);
    if (!added) {
      throw EmbedError(what + " is declared twice: in " + at->second + " and in " + where);
    }
  }

 private:
  std::map<Key, std::string> places_;
};

std::string Describe(const std::string& id, const std::string& type, std::uint16_t language) {
  return "resource " + id + " of type " + type + ", language " + std::to_string(language);
}

std::ifstream OpenToRead(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path)) throw EmbedError(path + ": cannot be read");
  return in;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::ifstream in = OpenToRead(path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file's size, which a .res header holds in 32 bits.
std::uint32_t SizeOf(const std::string& path) {
  OpenToRead(path);
  const std::uintmax_t size = std::filesystem::file_size(path);
  if (size > 0xFFFFFFFFu) {
    throw EmbedError(path + ": " + std::to_string(size) +
                     " bytes, more than a compiled resource entry holds (4 GiB - 1)");
  }
  return static_cast<std::uint32_t>(size);
}

// The labels' stem: 64-bit FNV-1a of the output's absolute path, in hex. Labels starting with
// .L stay out of the object's symbol table, so the path leaves no trace in the program.
std::string LabelStem(const std::string& output) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : std::filesystem::absolute(output).lexically_normal().string()) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string stem;
  for (int shift = 60; shift >= 0; shift -= 4) stem += kHex[(hash >> shift) & 0xF];
  return "bx_embedded_" + stem + "_";
}

// A string for the assembler, between double quotes.
std::string AsmString(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

std::string AsmBytes(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out += (i % 16 == 0 ? (i == 0 ? "  .byte " : "\n  .byte ") : ", ") + std::to_string(bytes[i]);
  }
  return out + "\n";
}

// A path or text between the assembler's double quotes, inside the source's raw string.
std::string Quoted(const std::string& text, const std::string& what) {
  if (text.find_first_of("\r\n") != std::string::npos || text.find(")bx\"") != std::string::npos) {
    throw EmbedError(what + ": a path with a line end or )bx\" cannot be assembled");
  }
  std::string quoted = AsmString(text);
  quoted.insert(quoted.begin(), '"');
  quoted += '"';
  return quoted;
}

void Append(std::string& out, std::span<const std::uint8_t> bytes) {
  out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void PadTo4(std::string& out) { out.append((4 - out.size() % 4) % 4, '\0'); }

// A name as an image holds it, kept for sorting: UTF-16 code units, little-endian.
class HeldName {
 public:
  explicit HeldName(const bx::detail::ResNameText& text) : number_(text.number) {
    for (const char16_t unit : text.name) {
      units_.push_back(static_cast<std::uint8_t>(unit));
      units_.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
  }
  bx::detail::ResName View() const { return {number_, units_}; }

 private:
  std::uint16_t number_;
  std::vector<std::uint8_t> units_;
};

// Writes the output as it goes: the .res file's entries, or the source's one image, whose
// directory lists every entry in the order a lookup searches (res_file.h).
class Writer {
 public:
  explicit Writer(const EmbedOptions& options)
      : options_(options),
        owner_(options.owner.empty() ? "bxres embed" : options.owner),
        label_(".L" + LabelStem(options.output)) {
    if (options.format == EmbedFormat::kResFile) Append(out_, bx::detail::ResFileStart());
  }

  void AddFile(const bx::detail::ResNameText& type, const bx::detail::ResNameText& id,
               std::uint16_t language, std::uint32_t size, const std::string& file) {
    const auto header = bx::detail::ResEntryHeader(type, id, language, size);
    if (options_.format == EmbedFormat::kResFile) {
      Append(out_, header);
      Append(out_, ReadAll(file));
      PadTo4(out_);
      return;
    }
    const std::string entry = Label(std::to_string(pieces_++));
    out_ += entry + ":\n" + AsmBytes(header) + "  .incbin " + Quoted(Absolute(file), file) +
            "\n  .balign 4\n";
    names_.emplace_back(type);
    const bx::detail::ResName type_name = names_.back().View();
    names_.emplace_back(id);
    directory_.push_back({{type_name, names_.back().View(), language, {}, {}}, entry});
  }

  // A compiled resource file, whose entries view `bytes`, which the writer keeps.
  void AddRes(const std::string& file, std::vector<std::uint8_t> bytes,
              const std::vector<bx::detail::ResEntry>& entries) {
    const auto& held = held_.emplace_back(std::move(bytes));
    if (options_.format == EmbedFormat::kResFile) {
      for (const bx::detail::ResEntry& entry : entries) {
        Append(out_, entry.header);
        Append(out_, entry.data);
        PadTo4(out_);
      }
      return;
    }
    const std::string start = Label(std::to_string(pieces_++));
    out_ += start + ":\n  .incbin " + Quoted(Absolute(file), file) + "\n  .balign 4\n";
    for (const bx::detail::ResEntry& entry : entries) {
      const auto offset = static_cast<std::size_t>(entry.header.data() - held.data());
      directory_.push_back({entry, start + " + " + std::to_string(offset)});
    }
  }

  std::string Finish() {
    if (options_.format == EmbedFormat::kResFile) return std::move(out_);
    std::string text = "// Generated by bxres embed" +
                       (options_.owner.empty() ? std::string() : " for " + owner_) +
                       ".\n//\n// A compiled resource image assembled straight into read-only "
                       "data, with its directory and\n// a note in the program headers that "
                       "tells the loader where they are. Nothing runs at\n// start-up.\n";
    if (directory_.empty()) return text;
    // The assembler text is one string, as long as the resources make it: Clang's -Wpedantic
    // warns of any longer than 65,536 characters, though it compiles them whole.
    text += "#ifdef __clang__\n#pragma clang diagnostic ignored \"-Woverlength-strings\"\n#endif\n";
    std::sort(directory_.begin(), directory_.end(), [](const Listed& a, const Listed& b) {
      return bx::detail::CompareResEntries(a.entry, b.entry) < 0;
    });
    std::vector<bx::detail::ResEntry> sorted;
    for (const Listed& listed : directory_) sorted.push_back(listed.entry);
    const std::vector<bx::detail::ResSlot> table = bx::detail::ResTable(sorted);
    const std::string image = Label("image"), end = Label("image_end");
    const std::string dir = Label("directory"), origin = Label("origin");
    const std::string slots = Label("table");
    text += "asm(R\"bx(\n  .pushsection .rodata." + label_.substr(2) +
            ",\"a\",%progbits\n  .balign 4\n" + image + ":\n" +
            AsmBytes(bx::detail::ResFileStart()) + out_ + end + ":\n" + dir + ":\n";
    for (const Listed& listed : directory_) {
      text += "  .long " + listed.offset + " - " + image + "\n";
    }
    text += slots + ":\n";
    std::size_t empty = 0;  // a run of empty slots, written as zeros
    for (std::size_t i = 0; i <= table.size(); ++i) {
      if (i < table.size() && table[i].count == 0) {
        ++empty;
        continue;
      }
      if (empty > 0) text += "  .zero " + std::to_string(empty * bx::detail::kResSlotSize) + "\n";
      empty = 0;
      if (i < table.size()) {
        text += "  .long " + std::to_string(table[i].hash) + ", " +
                std::to_string(table[i].first) + ", " + std::to_string(table[i].count) + "\n";
      }
    }
    text += origin + ":\n  .asciz " + Quoted(owner_, owner_) +
            "\n  .popsection\n\n  .pushsection .note.bxres,\"a\",%note\n  .balign 4\n  .long 6, " +
            std::to_string(bx::detail::kResourcesNoteSize) + ", " +
            std::to_string(bx::detail::kResourcesNote) + "\n  .asciz \"BxRes\"\n  .balign 4\n" +
            "  .long " + image + " - .\n  .long " + end + " - " + image + "\n  .long " + origin +
            " - .\n  .long " + dir + " - .\n  .long " + std::to_string(directory_.size()) +
            "\n  .long " + slots + " - .\n  .long " + std::to_string(table.size()) +
            "\n  .popsection\n)bx\");\n";
    return text;
  }

 private:
  struct Listed {
    bx::detail::ResEntry entry;  // its names, for sorting
    std::string offset;          // where it starts, for the assembler
  };

  std::string Label(const std::string& what) const { return label_ + what; }

  static std::string Absolute(const std::string& file) {
    return std::filesystem::absolute(std::filesystem::path(file)).lexically_normal().string();
  }

  const EmbedOptions& options_;
  const std::string owner_;
  const std::string label_;
  int pieces_ = 0;
  std::string out_;
  std::deque<HeldName> names_;
  std::deque<std::vector<std::uint8_t>> held_;
  std::vector<Listed> directory_;
};

}  // namespace

Embedding Embed(const std::vector<FileResource>& files, const std::vector<ResInput>& res_files,
                const EmbedOptions& options) {
  Embedding out;
  Declared declared;
  Writer writer(options);
  for (const FileResource& r : files) {
    const bx::detail::ResNameText id = Parsed(r.id, false);
    const bx::detail::ResNameText type = Parsed(r.type, true);
    const std::string origin = r.origin.empty() ? r.file : r.origin;
    declared.Add({bx::detail::NameKey(type), bx::detail::NameKey(id), r.language},
                 Describe(r.id, r.type, r.language), origin);
    writer.AddFile(type, id, r.language, SizeOf(r.file), r.file);
    out.inputs.push_back(r.file);
  }
  for (const ResInput& res : res_files) {
    const std::string origin = res.origin.empty() ? res.file : res.origin;
    auto bytes = ReadAll(res.file);
    std::vector<bx::detail::ResEntry> entries;
    try {
      bx::detail::ResFile walk(bytes);
      while (auto entry = walk.Next()) entries.push_back(*entry);
    } catch (const bx::detail::DamagedResFile& e) {
      throw EmbedError(res.file + ": not a compiled resource file: " + e.what());
    }
    for (const bx::detail::ResEntry& e : entries) {
      declared.Add({bx::detail::NameKey(e.type), bx::detail::NameKey(e.id), e.language},
                   Describe(bx::detail::IdText(e.id), bx::detail::TypeText(e.type), e.language),
                   origin);
    }
    if (!res.check_only) writer.AddRes(res.file, std::move(bytes), entries);
    out.inputs.push_back(res.file);
  }
  out.contents = writer.Finish();
  return out;
}

std::string Depfile(const std::string& target, const std::vector<std::string>& inputs) {
  const auto escaped = [](const std::string& path) {
    std::string out;
    for (const char c : path) {
      if (c == ' ' || c == '#' || c == '\\') out += '\\';
      if (c == '$') out += '$';
      out += c;
    }
    return out;
  };
  std::string text = escaped(target) + ":";
  for (const std::string& input : inputs) text += " \\\n  " + escaped(input);
  return text + "\n";
}

}  // namespace bxres
