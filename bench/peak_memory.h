// Reports the process's peak resident memory on standard output as it exits, for the start
// benchmark. The parent cannot ask the kernel for it afterwards: a child's peak counts the
// parent's memory at the moment it was spawned.
#pragma once

#include <cstdio>
#include <cstring>

inline void PrintPeakMemory() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return;
  char line[256];
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) std::fputs(line, stdout);
  }
  std::fclose(status);
}
