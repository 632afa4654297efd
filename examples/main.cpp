// Reads a level record and a list of names that the build embedded in this program: first with
// the design's operations, then the C++ way.
#include <bxres/resource_reader.h>
#include <bxres/resource_stream.h>
#include <bxres/value_text.h>

#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

namespace {

struct SpawnPoint {
  std::int32_t x;
  std::int32_t y;
};

std::string Text(const bx::ReadValue& v) { return bx::ToUtf8(bx::ToText(v)); }

void ReadLevel() {
  BxRes::Load(1, "LEVEL");
  std::cout << "version: " << Text(BxRes::ReadByte()) << "\n";
  const std::string width = Text(BxRes::ReadInteger());
  std::cout << "size: " << width << " x " << Text(BxRes::ReadInteger()) << "\n";
  std::cout << "gravity: " << Text(BxRes::ReadSingle()) << "\n";
  std::cout << "time limit: " << Text(BxRes::ReadDouble()) << "\n";
  std::cout << "score: " << Text(BxRes::ReadLong()) << "\n";
  SpawnPoint spawn{};
  BxRes::ReadBlock(spawn);
  std::cout << "spawn point: (" << spawn.x << ", " << spawn.y << ")\n";

  // Past the end a reader returns the Empty value; it is not an error.
  const bx::ReadValue more = BxRes::ReadLong();
  std::cout << "after the last value: " << (more.IsEmpty() ? "Empty" : Text(more)) << "\n";
}

void ReadParty() {
  BxRes::Load("party", "TEXT");
  std::cout << "party:";
  for (bx::ReadValue name = BxRes::ReadToken(); !name.IsEmpty(); name = BxRes::ReadToken()) {
    std::cout << " [" << bx::ToUtf8(name.String()) << "]";
  }
  std::cout << "\n";
}

// The same data read as the program's own types, with an error that says where when the data
// is short, and tokens in UTF-8.
void ReadTheCppWay() {
  std::optional<bx::ResourceStream> level = bx::ResourceStream::Open(1, "LEVEL");
  if (!level) return;  // a build without the level
  const auto version = level->Read<std::uint8_t>();
  const auto width = level->Read<std::int16_t>();
  const auto height = level->Read<std::int16_t>();
  level->Skip(4 + 8 + 4);  // gravity, time limit, score
  const auto spawn = level->Read<SpawnPoint>();
  std::cout << "the C++ way: version " << int{version} << ", " << width << " x " << height
            << ", spawn point (" << spawn.x << ", " << spawn.y << ")\n";
  try {
    level->Read<std::int32_t>();
  } catch (const bx::BoundsError& e) {
    std::cout << e.what() << "\n";
  }
  if (!bx::ResourceStream::Open(99, "LEVEL")) std::cout << "level 99 is not built in\n";

  bx::ResourceStream party("party", "TEXT");
  std::cout << "party in UTF-8:";
  for (const std::string& name : party.Tokens<std::string>()) std::cout << " [" << name << "]";
  std::cout << "\n";
}

}  // namespace

int main() {
  ReadLevel();
  ReadParty();
  ReadTheCppWay();
  // A missing resource raises an error and leaves the loaded one as it was.
  try {
    BxRes::Load(99, "LEVEL");
  } catch (const bx::ResourceNotFoundError& e) {
    std::cout << "missing resource: " << e.what() << "\n";
  }
  return 0;
}
