#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

#include "system.h"

namespace bxres {

void UseBinaryOutput() {}  // no text mode: output is already byte for byte

MappedFile::MappedFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw Error{path + ": cannot open: " + std::strerror(errno)};
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
    ::close(fd);
    throw Error{path + ": cannot read: " + std::strerror(error)};
  }
  if (static_cast<std::uintmax_t>(status.st_size) > std::numeric_limits<std::size_t>::max()) {
    ::close(fd);
    throw Error{path + ": cannot read: " + std::strerror(EFBIG)};
  }
  size_ = static_cast<std::size_t>(status.st_size);
  if (size_ > 0) {
    void* view = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (view == MAP_FAILED) {
      const int error = errno;
      ::close(fd);
      throw Error{path + ": cannot read: " + std::strerror(error)};
    }
    data_ = static_cast<const std::uint8_t*>(view);
  }
  ::close(fd);  // the mapping stays
}

void MappedFile::Release(std::span<const std::uint8_t> bytes) const noexcept {
  // Whole pages only: the first and last may hold bytes not yet read.
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<std::uintptr_t>(bytes.data()) + page - 1) / page * page;
  const auto end = (reinterpret_cast<std::uintptr_t>(bytes.data()) + bytes.size()) / page * page;
  if (begin < end) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

MappedFile::~MappedFile() {
  if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
}

}  // namespace bxres
