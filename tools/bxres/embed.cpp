#include "embed.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <span>
#include <tuple>

#include "elf_note.h"
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

// One image and its note: `header` (bytes, or none) and then the bytes of `file`; `origin` names
// the image in the loader's messages.
std::string Image(const std::string& symbol, const std::vector<std::uint8_t>& header,
                  const std::string& file, const std::string& origin) {
  const std::string label = ".L" + symbol;
  if (file.find_first_of("\r\n") != std::string::npos || file.find(")bx\"") != std::string::npos ||
      origin.find_first_of("\r\n") != std::string::npos ||
      origin.find(")bx\"") != std::string::npos) {
    throw EmbedError(file + ": a path with a line end or )bx\" cannot be assembled");
  }
  return "  .pushsection .rodata." + symbol + ",\"a\",%progbits\n  .balign 4\n" + label +
         "_image:\n" + AsmBytes(header) + "  .incbin \"" + AsmString(file) + "\"\n  .balign 4\n" +
         label + "_image_end:\n" + label + "_origin:\n  .asciz \"" + AsmString(origin) +
         "\"\n  .popsection\n\n"
         "  .pushsection .note.bxres,\"a\",%note\n  .balign 4\n  .long 6, " +
         std::to_string(bx::detail::kResourcesNoteSize) + ", " +
         std::to_string(bx::detail::kResourcesNote) +
         "\n"
         "  .asciz \"BxRes\"\n  .balign 4\n  .long " +
         label + "_image - .\n  .long " + label + "_image_end - " + label + "_image\n  .long " +
         label + "_origin - .\n  .popsection\n";
}

void Append(std::string& out, std::span<const std::uint8_t> bytes) {
  out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void PadTo4(std::string& out) { out.append((4 - out.size() % 4) % 4, '\0'); }

// Writes the output as it goes: the source's images, or the .res file's entries.
class Writer {
 public:
  explicit Writer(const EmbedOptions& options)
      : options_(options),
        owner_(options.owner.empty() ? "bxres embed" : options.owner),
        stem_(LabelStem(options.output)) {
    if (options.format == EmbedFormat::kResFile) Append(out_, bx::detail::ResFileStart());
  }

  void AddFile(const std::vector<std::uint8_t>& header, const std::string& file,
               const std::string& origin) {
    if (options_.format == EmbedFormat::kResFile) {
      Append(out_, header);
      const auto bytes = ReadAll(file);
      Append(out_, bytes);
      PadTo4(out_);
    } else {
      AddImage(header, file, origin);
    }
  }

  void AddRes(const std::string& file, const std::string& origin,
              const std::vector<bx::detail::ResEntry>& entries) {
    if (options_.format == EmbedFormat::kResFile) {
      for (const bx::detail::ResEntry& entry : entries) {
        Append(out_, entry.header);
        Append(out_, entry.data);
        PadTo4(out_);
      }
    } else {
      AddImage({}, file, origin);
    }
  }

  std::string Finish() {
    if (options_.format == EmbedFormat::kResFile) return std::move(out_);
    return "// Generated by bxres embed" +
           (options_.owner.empty() ? std::string() : " for " + owner_) +
           ".\n//\n// Compiled resource images assembled straight into read-only data, each "
           "with a note in\n// the program headers that tells the loader where it is. "
           "Nothing runs at start-up.\nasm(R\"bx(\n" +
           out_ + ")bx\");\n";
  }

 private:
  void AddImage(const std::vector<std::uint8_t>& header, const std::string& file,
                const std::string& origin) {
    const std::string absolute =
        std::filesystem::absolute(std::filesystem::path(file)).lexically_normal().string();
    out_ +=
        Image(stem_ + std::to_string(images_++), header, absolute, owner_ + " (" + origin + ")");
    out_ += "\n";
  }

  const EmbedOptions& options_;
  const std::string owner_;
  const std::string stem_;
  int images_ = 0;
  std::string out_;
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
    const std::uint32_t size = SizeOf(r.file);
    writer.AddFile(bx::detail::ResEntryHeader(type, id, r.language, size), r.file, origin);
    out.inputs.push_back(r.file);
  }
  for (const ResInput& res : res_files) {
    const std::string origin = res.origin.empty() ? res.file : res.origin;
    const auto bytes = ReadAll(res.file);
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
    if (!res.check_only) writer.AddRes(res.file, origin, entries);
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
