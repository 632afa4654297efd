// bxres: what an executable or shared object holds, and one resource of it; and the source that
// embeds resources for a build that does not use CMake.
//
//   bxres list <file> [--json]
//   bxres dump <file> <type> <identifier> [--language <n>]
//         [--as hex|raw|tokens|utf8|strings|version]
//   bxres embed -o <out.cpp|out.res> [--format cpp|res] [--depfile <file>] [--for <program>]
//         (--id <id> --type <type> --file <path> [--language <n>] [--origin <text>])...
//         (--res <file.res> [--origin <text>])... (--check <file.res> [--origin <text>])...
//   bxres order <file.exe|file.dll>
//   bxres <command> --help
//
// embed writes the C++ source that holds the resources in an ELF program, or (--format res, or
// an output named *.res) one compiled resource file for a Windows program's resource section.
// --for names the program or library that it goes into, and --origin where a resource or a
// compiled file comes from (a declaration, the script it was compiled from), in messages; the
// same resource given twice among all of them is refused, naming both. A --check file goes into
// the program another way, and is only read for that. An argument @<file>
// stands for the file's lines, one argument a line.
//
// dump writes a hex listing unless asked otherwise: the bytes as they are (raw), the text
// converted from code page 932 to UTF-8 (utf8), or the tokens as the library reads them, one a
// line in UTF-8, with a backslash, line ends, tabs, zeros and other control characters escaped
// (\\, \n, \r, \t, \0, \x1f) so that each stays on its line (tokens); a block of a string
// table as its strings, one a line after its number (strings); version information as a
// resource script writes it (version). Types are written as a script writes them or as list
// shows them (RCDATA, VERSIONINFO or VERSION, STRINGTABLE or STRING) or as numbers.
//
// order puts the entries of a Windows program's resource directories in the order Windows
// searches them, where a linker left them otherwise (executable.h says which); the build runs it
// after each link of a Windows program that holds resources.
//
// Exit status 0, or 2 with a message on the standard error for anything wrong: the arguments, a
// file that cannot be read, is no executable or is malformed, a resource it does not hold, or
// one that cannot be embedded.
#include <bxres/errors.h>
#include <bxres/resource_stream.h>
#include <bxres/version_info.h>
#include <bxres/value_text.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "embed.h"
#include "executable.h"
#include "little_endian.h"
#include "resource_names.h"
#include "string_table.h"
#include "system.h"

namespace {

constexpr const char* kUsage =
    "usage: bxres list <file> [--json]\n"
    "       bxres dump <file> <type> <identifier> [--language <n>]\n"
    "                  [--as hex|raw|tokens|utf8|strings|version]\n"
    "       bxres embed -o <out.cpp|out.res> [--format cpp|res] [--depfile <file>] [--for "
    "<program>]\n"
    "             (--id <id> --type <type> --file <path> [--language <n>] [--origin <text>])...\n"
    "             (--res <file.res> [--origin <text>])... (--check <file.res> [--origin "
    "<text>])...\n"
    "       bxres order <file.exe|file.dll>\n"
    "       arguments may come from a file, one a line: @<file>\n";

struct Failure {
  std::string message;
};

[[noreturn]] void Fail(std::string message) { throw Failure{std::move(message)}; }

// The file mapped, and its resources, which view it.
struct Opened {
  using File = bxres::MappedFile;
  explicit Opened(const std::string& path) : file(Map(path)), contents(Read(path, file)) {}

  static File Map(const std::string& path) try {
    return bxres::MappedFile(path);
  } catch (const bxres::MappedFile::Error& e) {
    Fail(e.message);
  }
  static bxres::Contents Read(const std::string& path, const bxres::MappedFile& file) try {
    return bxres::ReadResources(file.Bytes());
  } catch (const bxres::BadExecutable& e) {
    Fail(path + ": " + e.what());
  }

  File file;
  bxres::Contents contents;
};

std::string LanguageText(std::uint16_t language) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", language);
  return text;
}

std::string Json(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void List(const std::string& path, bool json) {
  const Opened opened(path);
  const bxres::Contents& contents = opened.contents;
  if (json) {
    std::printf("[");
    const char* comma = "";
    for (const auto& r : contents.resources) {
      std::printf("%s\n  {\"type\": %s, \"identifier\": %s, \"language\": %u, \"size\": %zu}",
                  comma, Json(bx::detail::TypeText(r.type)).c_str(),
                  Json(bx::detail::IdText(r.id)).c_str(), static_cast<unsigned>(r.language),
                  r.data.size());
      comma = ",";
    }
    std::printf("%s]\n", contents.resources.empty() ? "" : "\n");
    return;
  }
  std::vector<std::array<std::string, 4>> rows = {{"TYPE", "IDENTIFIER", "LANGUAGE", "SIZE"}};
  for (const auto& r : contents.resources) {
    rows.push_back({bx::detail::TypeText(r.type), bx::detail::IdText(r.id),
                    LanguageText(r.language), std::to_string(r.data.size())});
  }
  std::array<std::size_t, 4> width{};
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < 4; ++i) width[i] = std::max(width[i], row[i].size());
  }
  for (const auto& row : rows) {
    std::printf("%-*s  %-*s  %-*s  %*s\n", static_cast<int>(width[0]), row[0].c_str(),
                static_cast<int>(width[1]), row[1].c_str(), static_cast<int>(width[2]),
                row[2].c_str(), static_cast<int>(width[3]), row[3].c_str());
  }
}

// A token on one line: a backslash, and the control characters that a quoted token may hold
// (line ends, tabs) or that the data has (a zero), written as escapes.
std::string Escaped(std::string_view token) {
  std::string out;
  for (const char c : token) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\0':
        out += "\\0";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out;
}

// Output gathered into large writes: a dump of hundreds of megabytes goes out as it is made.
class Output {
 public:
  ~Output() { Flush(); }
  void Add(std::string_view text) {
    buffer_ += text;
    if (buffer_.size() >= kChunk) Flush();
  }
  void Flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    buffer_.clear();
  }
  static constexpr std::size_t kChunk = 1 << 20;

 private:
  std::string buffer_;
};

// "00000010  68 65 ...  |he...|": the offset (a resource holds under 4 GiB), up to sixteen bytes
// from `at` (blanks for the rest), and them as text.
void AddHexLine(Output& out, std::span<const std::uint8_t> bytes, std::size_t at) {
  static const char kDigits[] = "0123456789abcdef";
  char line[8 + 1 + 16 * 3 + 3 + 16 + 2];
  char* p = line;
  for (int shift = 28; shift >= 0; shift -= 4) *p++ = kDigits[(at >> shift) & 0xF];
  *p++ = ' ';
  for (std::size_t i = 0; i < 16; ++i) {
    *p++ = ' ';
    *p++ = i < bytes.size() ? kDigits[bytes[i] >> 4] : ' ';
    *p++ = i < bytes.size() ? kDigits[bytes[i] & 0xF] : ' ';
  }
  *p++ = ' ';
  *p++ = ' ';
  *p++ = '|';
  for (const std::uint8_t b : bytes) *p++ = b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '.';
  *p++ = '|';
  *p++ = '\n';
  out.Add(std::string_view(line, static_cast<std::size_t>(p - line)));
}

// Calls `write(piece, at)` for pieces of `data` of about a megabyte, each ending where `fits`
// allows, and tells the file that a piece written is done with, so that a dump of hundreds of
// megabytes holds a few in memory.
template <class Fits, class Write>
void InPieces(std::span<const std::uint8_t> data, const bxres::MappedFile& file, Fits fits,
              Write write) {
  std::size_t at = 0;
  while (at < data.size()) {
    std::size_t end = std::min(data.size(), at + Output::kChunk);
    while (end < data.size() && !fits(data, end)) ++end;
    write(data.subspan(at, end - at), at);
    file.Release(data.subspan(at, end - at));
    at = end;
  }
}

void PrintHex(std::span<const std::uint8_t> data, const bxres::MappedFile& file) {
  Output out;
  InPieces(
      data, file, [](auto, std::size_t end) { return end % 16 == 0; },
      [&](std::span<const std::uint8_t> piece, std::size_t at) {
        for (std::size_t i = 0; i < piece.size(); i += 16) {
          AddHexLine(out, piece.subspan(i, std::min<std::size_t>(16, piece.size() - i)), at + i);
        }
      });
}

// The text in code page 932 as UTF-8. Each piece ends after a byte below 0x40, which is neither
// a lead byte nor one that a lead byte pairs with, so the pieces convert as the whole would.
void PrintUtf8(std::span<const std::uint8_t> data, const bxres::MappedFile& file) {
  Output out;
  InPieces(
      data, file, [](auto bytes, std::size_t end) { return bytes[end - 1] < 0x40; },
      [&](std::span<const std::uint8_t> piece, std::size_t) {
        out.Add(bx::ToUtf8(bx::Cp932ToUtf16(piece)));
      });
}

void PrintRaw(std::span<const std::uint8_t> data, const bxres::MappedFile& file) {
  InPieces(
      data, file, [](auto, std::size_t) { return true; },
      [](std::span<const std::uint8_t> piece, std::size_t) {
        std::fwrite(piece.data(), 1, piece.size(), stdout);
      });
}

// Text in UTF-8 between double quotes, escaped as tokens are, and a double quote as \".
std::string Quoted(std::u16string_view text) {
  std::string out = "\"";
  for (const char c : Escaped(bx::ToUtf8(text))) {
    if (c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A block of a string table: each string that is not empty, after its number.
void PrintStrings(const std::string& path, const bxres::Resource& block, const std::string& what) {
  if (!block.type.name.empty() || block.type.number != bx::detail::kStringType ||
      !block.id.name.empty()) {
    Fail(path + ": " + what + " is not a block of a string table (type STRINGTABLE, a number)");
  }
  try {
    const auto strings = bx::detail::StringTableEntries(block.data);
    const unsigned first = (block.id.number - 1u) * bx::detail::kStringsPerBlock;
    for (unsigned i = 0; i < strings.size(); ++i) {
      if (strings[i].empty()) continue;
      const std::string line =
          std::to_string(first + i) + "  " + Quoted(bx::detail::Utf16Units(strings[i])) + "\n";
      std::fwrite(line.data(), 1, line.size(), stdout);
    }
  } catch (const bx::detail::DamagedResFile& e) {
    Fail(path + ": " + what + ": " + e.what());
  }
}

// Version information as a resource script writes it.
void PrintVersion(const std::string& path, std::span<const std::uint8_t> data,
                  const std::string& what) {
  try {
    const bx::VersionInfo version(data);
    std::string out;
    if (const auto fixed = version.Fixed()) {
      const auto four = [](std::uint32_t ms, std::uint32_t ls) {
        return std::to_string(ms >> 16) + "," + std::to_string(ms & 0xFFFF) + "," +
               std::to_string(ls >> 16) + "," + std::to_string(ls & 0xFFFF);
      };
      const auto hex = [](std::uint32_t n) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(n));
        return std::string(text);
      };
      out += "FILEVERSION " + four(fixed->file_version_ms, fixed->file_version_ls) + "\n";
      out += "PRODUCTVERSION " + four(fixed->product_version_ms, fixed->product_version_ls) + "\n";
      out += "FILEFLAGSMASK " + hex(fixed->file_flags_mask) + "\n";
      out += "FILEFLAGS " + hex(fixed->file_flags) + "\n";
      out += "FILEOS " + hex(fixed->file_os) + "\n";
      out += "FILETYPE " + hex(fixed->file_type) + "\n";
      out += "FILESUBTYPE " + hex(fixed->file_subtype) + "\n";
    }
    const auto tables = version.StringTables();
    if (!tables.empty()) {
      out += "BLOCK \"StringFileInfo\"\n";
      for (const auto& table : tables) {
        out += "  BLOCK " + Quoted(table.name) + "\n";
        for (const auto& [name, value] : table.values) {
          out += "    VALUE " + Quoted(name) + ", " + Quoted(value) + "\n";
        }
      }
    }
    const auto translations = version.Translations();
    if (!translations.empty()) {
      out += "BLOCK \"VarFileInfo\"\n  VALUE \"Translation\"";
      for (const bx::Translation& t : translations) {
        out += ", " + LanguageText(t.language) + ", " + std::to_string(t.code_page);
      }
      out += "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
  } catch (const bx::DamagedResourcesError& e) {
    Fail(path + ": " + what + ": " + e.what());
  }
}

void Dump(const std::string& path, const std::string& type_text, const std::string& id_text,
          std::optional<std::uint16_t> language, const std::string& as) {
  const bx::ReadValue type_value = bx::detail::AsWritten(type_text, true);
  const bx::ReadValue id_value = bx::detail::AsWritten(id_text, false);
  const bx::NameQuery type = bx::ToNameQuery(type_value, "type");
  const bx::NameQuery id = bx::ToNameQuery(id_value, "identifier");
  const Opened opened(path);
  const bxres::Contents& contents = opened.contents;
  std::vector<const bxres::Resource*> found;
  for (const auto& r : contents.resources) {
    if (bx::detail::Matches(r.type, type) && bx::detail::Matches(r.id, id) &&
        (!language || r.language == *language)) {
      found.push_back(&r);
    }
  }
  const std::string what = "resource " + id_text + " of type " + type_text;
  if (found.empty()) {
    Fail(path + ": holds no " + what +
         (language ? " in language " + LanguageText(*language) : std::string()) +
         " (bxres list shows what it holds)");
  }
  if (found.size() > 1) {
    std::string languages;
    for (const auto* r : found) {
      if (!languages.empty()) languages += ", ";
      languages += LanguageText(r->language);
    }
    Fail(path + ": holds " + what + " in several languages (" + languages +
         "): choose one with --language");
  }
  const auto data = found.front()->data;
  if (as == "hex") {
    PrintHex(data, opened.file);
  } else if (as == "raw") {
    PrintRaw(data, opened.file);
  } else if (as == "utf8") {
    PrintUtf8(data, opened.file);
  } else if (as == "strings") {
    PrintStrings(path, *found.front(), what);
  } else if (as == "version") {
    PrintVersion(path, data, what);
  } else {
    bx::ResourceStream stream(data);
    for (const std::string& token : stream.Tokens<std::string>()) {
      const std::string line = Escaped(token) + "\n";
      std::fwrite(line.data(), 1, line.size(), stdout);
    }
  }
}

// Writes `patches` over the file's bytes.
void Write(const std::string& path, const std::vector<bxres::Patch>& patches) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (file == nullptr) Fail(path + ": cannot write: " + std::strerror(errno));
  bool written = true;
  for (const bxres::Patch& patch : patches) {
    written = written && patch.offset <= static_cast<std::uint64_t>(LONG_MAX) &&
              std::fseek(file, static_cast<long>(patch.offset), SEEK_SET) == 0 &&
              std::fwrite(patch.bytes.data(), 1, patch.bytes.size(), file) == patch.bytes.size();
  }
  const int error = errno;
  if (std::fclose(file) != 0 || !written) Fail(path + ": cannot write: " + std::strerror(error));
}

void Order(const std::string& path) {
  std::vector<bxres::Patch> patches;
  try {
    patches = bxres::ResourceOrder(Opened::Map(path).Bytes());
  } catch (const bxres::BadExecutable& e) {
    Fail(path + ": " + e.what());
  }
  if (!patches.empty()) Write(path, patches);  // the file is no longer mapped
}

std::uint16_t Language(const std::string& v) {
  char* end = nullptr;
  const unsigned long n = std::strtoul(v.c_str(), &end, 0);
  if (v.empty() || *end != '\0' || n > 0xFFFF) {
    Fail("--language " + v + " is no number from 0 to 65535");
  }
  return static_cast<std::uint16_t>(n);
}

void WriteFile(const std::string& path, const std::string& text) {
  // Written beside and renamed, so that a build never sees half a file.
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) Fail(path + ": cannot write: " + std::strerror(errno));
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    std::remove(temporary.c_str());
    Fail(path + ": cannot write: " + std::strerror(error));
  }
}

// bxres embed: one resource for each --id, with the --type, --file, --language and --origin
// after it; a compiled resource file for each --res, with the --origin after it.
int Embed(const std::vector<std::string>& args) {
  std::string output, depfile, owner, format;
  std::vector<bxres::FileResource> files;
  std::vector<bxres::ResInput> res_files;
  std::vector<std::array<bool, 4>> given;  // --type, --file, --language, --origin of each --id
  bool last_is_res = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!a.starts_with("-")) Fail(a + ": unexpected\n" + kUsage);
    if (i + 1 >= args.size()) Fail(a + " needs a value\n" + kUsage);
    const std::string& v = args[++i];
    const auto current = [&](std::size_t field) -> bxres::FileResource& {
      if (files.empty()) Fail(a + " " + v + " comes before any --id");
      if (given.back()[field]) Fail(a + " given twice for --id " + files.back().id);
      given.back()[field] = true;
      return files.back();
    };
    if (a == "-o") {
      output = v;
    } else if (a == "--depfile") {
      depfile = v;
    } else if (a == "--for") {
      owner = v;
    } else if (a == "--format") {
      if (v != "cpp" && v != "res") Fail("--format " + v + ": it is cpp or res");
      format = v;
    } else if (a == "--id") {
      files.push_back({v, {}, {}, 0, {}});
      given.push_back({});
    } else if (a == "--type") {
      current(0).type = v;
    } else if (a == "--file") {
      current(1).file = v;
    } else if (a == "--language") {
      current(2).language = Language(v);
    } else if (a == "--res" || a == "--check") {
      res_files.push_back({v, {}, a == "--check"});
    } else if (a == "--origin" && last_is_res) {
      if (!res_files.back().origin.empty())
        Fail("--origin given twice for " + res_files.back().file);
      res_files.back().origin = v;
    } else if (a == "--origin") {
      current(3).origin = v;
    } else {
      Fail("unknown option " + a + " for embed\n" + kUsage);
    }
    if (a == "--id" || a == "--res" || a == "--check") last_is_res = a != "--id";
  }
  if (output.empty()) Fail(std::string("embed needs -o <output>\n") + kUsage);
  if (files.empty() && res_files.empty()) Fail(std::string("nothing to embed\n") + kUsage);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!given[i][0] || !given[i][1]) Fail("--id " + files[i].id + " needs a --type and a --file");
  }
  if (format.empty()) format = output.ends_with(".res") ? "res" : "cpp";
  try {
    const auto embedding = bxres::Embed(
        files, res_files,
        {output, owner,
         format == "res" ? bxres::EmbedFormat::kResFile : bxres::EmbedFormat::kElfSource});
    WriteFile(output, embedding.contents);
    if (!depfile.empty()) WriteFile(depfile, bxres::Depfile(output, embedding.inputs));
  } catch (const bxres::EmbedError& e) {
    Fail(e.what());
  }
  return 0;
}

// The arguments with each "@file" replaced by the file's lines, one argument a line (a build
// with thousands of resources passes them so, past the limits of a command line).
std::vector<std::string> Expanded(const std::vector<std::string>& args) {
  std::vector<std::string> out;
  for (const std::string& a : args) {
    if (!a.starts_with("@")) {
      out.push_back(a);
      continue;
    }
    const Opened::File file = Opened::Map(a.substr(1));
    std::string line;
    for (const std::uint8_t b : file.Bytes()) {
      if (b != '\n') {
        line += static_cast<char>(b);
      } else {
        if (line.ends_with('\r')) line.pop_back();
        if (!line.empty()) out.push_back(line);
        line.clear();
      }
    }
    if (!line.empty()) out.push_back(line);
  }
  return out;
}

bool AsksForHelp(const std::string& a) { return a == "--help" || a == "-h"; }

int Run(const std::vector<std::string>& given) {
  if (given.empty()) Fail(std::string("no command\n") + kUsage);
  // Help for the tool or any of its commands: bxres --help, bxres embed --help.
  if (AsksForHelp(given[0]) || given[0] == "help" || (given.size() == 2 && AsksForHelp(given[1]))) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::vector<std::string> args = Expanded(given);
  const std::string& command = args[0];
  if (command == "embed") return Embed(args);
  std::vector<std::string> positional;
  bool json = false;
  std::optional<std::uint16_t> language;
  std::string as = "hex";
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) Fail(a + " needs a value\n" + kUsage);
      return args[++i];
    };
    if (a == "--json" && command == "list") {
      json = true;
    } else if (a == "--language" && command == "dump") {
      language = Language(value());
    } else if (a == "--as" && command == "dump") {
      as = value();
      if (as != "hex" && as != "raw" && as != "tokens" && as != "utf8" && as != "strings" &&
          as != "version") {
        Fail("--as " + as + ": it is hex, raw, tokens, utf8, strings or version");
      }
    } else if (a.starts_with("--")) {
      Fail("unknown option " + a + " for " + command + "\n" + kUsage);
    } else {
      positional.push_back(a);
    }
  }
  if (command == "list" && positional.size() == 1) {
    List(positional[0], json);
  } else if (command == "order" && positional.size() == 1) {
    Order(positional[0]);
  } else if (command == "dump" && positional.size() == 3) {
    Dump(positional[0], positional[1], positional[2], language, as);
  } else {
    Fail((command == "list" || command == "dump" || command == "order"
              ? "wrong arguments for " + command
                                                 : "unknown command " + command) +
         "\n" + kUsage);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bxres::UseBinaryOutput();
  try {
    const int status = Run(std::vector<std::string>(argv + 1, argv + argc));
    if (std::fflush(stdout) != 0) Fail("cannot write the output");
    return status;
  } catch (const Failure& f) {
    std::fprintf(stderr, "bxres: %s\n", f.message.c_str());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bxres: %s\n", e.what());
    return 2;
  }
}
