// Reads a level record and a list of names that the build embedded in this program.
#include <bxres/resource_reader.h>
#include <bxres/value_text.h>

#include <cstdint>
#include <iostream>

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

}  // namespace

int main() {
  ReadLevel();
  ReadParty();
  // A missing resource raises an error and leaves the loaded one as it was.
  try {
    BxRes::Load(99, "LEVEL");
  } catch (const bx::ResourceNotFoundError& e) {
    std::cout << "missing resource: " << e.what() << "\n";
  }
  return 0;
}
