// What the tool asks of the system, in a file of each platform's: the standard output written
// byte for byte, and files mapped into memory rather than read.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace bxres {

// On Windows the standard output starts in text mode, which would write every line feed as
// CR LF.
void UseBinaryOutput();

// A file's bytes, mapped read-only: only the pages that are read come into memory, so a
// program holding hundreds of megabytes of resources is listed in a few. Raises
// MappedFile::Error, whose what() names the file and says why.
class MappedFile {
 public:
  struct Error {
    std::string message;
  };

  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::span<const std::uint8_t> Bytes() const noexcept { return {data_, size_}; }

  // Says that `bytes` of the file are read and done with: the system may take their pages out
  // of the process's memory (they come back from the file if read again).
  void Release(std::span<const std::uint8_t> bytes) const noexcept;

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  [[maybe_unused]] void* handle_ = nullptr;  // Windows: the mapping, beside its view
};

}  // namespace bxres
