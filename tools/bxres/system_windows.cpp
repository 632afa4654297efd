#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "system.h"

namespace bxres {

void UseBinaryOutput() { _setmode(_fileno(stdout), _O_BINARY); }

namespace {

[[noreturn]] void Refuse(const std::string& path, const char* what, DWORD error) {
  char text[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 text, sizeof text, nullptr);
  std::string reason = text;
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  throw MappedFile::Error{path + ": " + what + ": " + reason};
}

}  // namespace

MappedFile::MappedFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Refuse(path, "cannot open", GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    Refuse(path, "cannot read", error);
  }
  if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) {
    CloseHandle(file);
    Refuse(path, "cannot read", ERROR_FILE_TOO_LARGE);
  }
  size_ = static_cast<std::size_t>(size.QuadPart);
  if (size_ > 0) {
    const HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const DWORD error = GetLastError();
    if (mapping == nullptr) {
      CloseHandle(file);
      Refuse(path, "cannot read", error);
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (view == nullptr) {
      const DWORD map_error = GetLastError();
      CloseHandle(mapping);
      CloseHandle(file);
      Refuse(path, "cannot read", map_error);
    }
    data_ = static_cast<const std::uint8_t*>(view);
    handle_ = mapping;
  }
  CloseHandle(file);  // the mapping keeps it open
}

void MappedFile::Release(std::span<const std::uint8_t> bytes) const noexcept {
  // Unlocking pages that are not locked takes them out of the working set, as documented.
  if (!bytes.empty()) VirtualUnlock(const_cast<std::uint8_t*>(bytes.data()), bytes.size());
}

MappedFile::~MappedFile() {
  if (data_ != nullptr) {
    UnmapViewOfFile(data_);
    CloseHandle(static_cast<HANDLE>(handle_));
  }
}

}  // namespace bxres
