#include "embed.h"

#include <bxres/errors.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <tuple>

#include "executable.h"
#include "res_file.h"
#include "resource_names.h"

namespace bxres {
namespace {

// A type or identifier as a compiled resource header holds it: the directive's words, and the
// text that messages and duplicate checks use.
struct HeaderName {
  std::string text;
  std::string words;  // for .short: 0xFFFF and the number, or the name's code units and 0
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

HeaderName ReadName(const std::string& value, bool is_type) {
  const char* role = is_type ? "type" : "identifier";
  std::string upper;
  std::transform(value.begin(), value.end(), std::back_inserter(upper), Upper);
  static const char* const kTransformed[] = {
      "CURSOR",  "BITMAP",      "ICON",         "MENU",         "MENUEX",
      "DIALOG",  "DIALOGEX",    "STRING",       "STRINGTABLE",  "FONTDIR",
      "FONT",    "ACCELERATOR", "ACCELERATORS", "GROUP_CURSOR", "GROUP_ICON",
      "VERSION", "VERSIONINFO", "DLGINCLUDE",   "DLGINIT",      "TOOLBAR"};
  if (is_type) {
    for (const char* t : kTransformed) {
      if (upper == t) {
        throw EmbedError("type " + value +
                         " is a type whose file the resource compiler "
                         "transforms, not bytes to embed as they are; declare it in a resource "
                         "script and embed the compiled script with --res");
      }
    }
  }
  // Numbers, and the kept standard types by name, as the loader reads them.
  const bx::ReadValue written = AsWritten(value, is_type);
  std::optional<std::uint16_t> number;
  try {
    number = bx::ToNameQuery(written, role).number;
  } catch (const bx::ConversionError&) {
    throw EmbedError(std::string(role) + " " + value + " is outside the numbers 1 to 65535");
  }
  if (number) return {std::to_string(*number), "0xFFFF, " + std::to_string(*number)};
  const std::string digits = value.starts_with('#') ? value.substr(1) : value;
  if (!digits.empty() && std::all_of(digits.begin(), digits.end(), IsDigit)) {
    throw EmbedError(std::string(role) + " " + value + " is outside the numbers 1 to 65535");
  }
  const bool name_ok =
      !value.empty() && !IsDigit(value[0]) && std::all_of(value.begin(), value.end(), [](char c) {
        return IsDigit(c) || c == '_' || (Upper(c) >= 'A' && Upper(c) <= 'Z');
      });
  if (!name_ok) {
    throw EmbedError(std::string(role) + " " + (value.empty() ? "\"\"" : value) +
                     " is not a name that the resource compiler takes (letters, digits and _, "
                     "not starting with a digit)");
  }
  std::string words;
  for (const char c : upper) words += std::to_string(static_cast<unsigned char>(c)) + ", ";
  return {upper, words + "0"};
}

std::string Absolute(const std::string& path) {
  const std::string absolute =
      std::filesystem::absolute(std::filesystem::path(path)).lexically_normal().string();
  // The assembler's string takes anything but a line end; the source's raw string, anything
  // but its own end.
  if (absolute.find_first_of("\r\n") != std::string::npos ||
      absolute.find(")bx\"") != std::string::npos) {
    throw EmbedError(path + ": a path with a line end or )bx\" cannot be assembled");
  }
  return absolute;
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

// The labels' stem: 64-bit FNV-1a of the source's absolute path, in hex.
std::string LabelStem(const std::string& output) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : std::filesystem::absolute(output).lexically_normal().string()) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string stem = "bx_embedded_";
  for (int shift = 60; shift >= 0; shift -= 4) stem += kHex[(hash >> shift) & 0xF];
  return stem + "_";
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

// One image and its note: `header` (assembler lines, or none) and then the bytes of `file`;
// `origin` names the image in the loader's messages.
std::string Image(const std::string& symbol, const std::string& header, const std::string& file,
                  const std::string& origin) {
  return "  .pushsection .rodata." + symbol +
         ",\"a\",%progbits\n"
         "  .balign 4\n" +
         symbol + "_image:\n" + header + "  .incbin \"" + AsmString(file) + "\"\n" + symbol +
         "_end:\n"
         "  .balign 4\n" +
         symbol + "_image_end:\n" + symbol + "_origin:\n  .asciz \"" + AsmString(origin) +
         "\"\n"
         "  .popsection\n\n"
         "  .pushsection .note.bxres,\"a\",%note\n"
         "  .balign 4\n"
         "  .long 6, 12, 0x42785253\n"
         "  .asciz \"BxRes\"\n"
         "  .balign 4\n"
         "  .long " +
         symbol +
         "_image - .\n"
         "  .long " +
         symbol + "_image_end - " + symbol +
         "_image\n"
         "  .long " +
         symbol +
         "_origin - .\n"
         "  .popsection\n";
}

}  // namespace

Embedding Embed(const std::vector<FileResource>& files, const std::vector<std::string>& res_files,
                const EmbedOptions& options) {
  const std::string owner = options.owner.empty() ? "bxres embed" : options.owner;
  const std::string stem = LabelStem(options.output);
  Embedding out;
  std::string body;
  std::set<std::tuple<std::string, std::string, int>> declared;
  int n = 0;
  for (const FileResource& r : files) {
    const HeaderName id = ReadName(r.id, false);
    const HeaderName type = ReadName(r.type, true);
    if (!declared.insert({id.text, type.text, r.language}).second) {
      throw EmbedError("resource " + r.id + " of type " + r.type + ", language " +
                       std::to_string(r.language) + " is given twice");
    }
    const std::string file = Absolute(r.file);
    OpenToRead(file);
    const std::string symbol = stem + std::to_string(n++);
    // One entry as the resource compiler writes it: its data size and header size, the type
    // and the identifier, then the data version, memory flags, language, version and
    // characteristics.
    const std::string header = "  .long " + symbol + "_end - " + symbol + "_data, " + symbol +
                               "_data - " + symbol +
                               "_image\n"
                               "  .short " +
                               type.words +
                               "\n"
                               "  .short " +
                               id.words +
                               "\n"
                               "  .balign 4\n"
                               "  .long 0\n"
                               "  .short 0x1030, " +
                               std::to_string(r.language) +
                               "\n"
                               "  .long 0, 0\n" +
                               symbol + "_data:\n";
    body += Image(symbol, header, file, owner + " (" + file + ")") + "\n";
    out.inputs.push_back(file);
  }
  for (const std::string& res : res_files) {
    const std::string file = Absolute(res);
    const auto bytes = ReadAll(file);
    try {
      bx::detail::ResFile walk(bytes);
      while (walk.Next()) {
      }
    } catch (const bx::detail::DamagedResFile& e) {
      throw EmbedError(file + ": not a compiled resource file: " + e.what());
    }
    const std::string symbol = stem + std::to_string(n++);
    body += Image(symbol, "", file, owner + " (" + file + ")") + "\n";
    out.inputs.push_back(file);
  }
  out.source = "// Generated by bxres embed" + (options.owner.empty() ? "" : " for " + owner) +
               ".\n//\n// Compiled resource images assembled straight into read-only data, each "
               "with a note in\n// the program headers that tells the loader where it is. "
               "Nothing runs at start-up.\nasm(R\"bx(\n" +
               body + ")bx\");\n";
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
