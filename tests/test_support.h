// Test helpers: bytes registered with the loader for a test's lifetime, a reset of the reader's
// process-wide state, a whole resource as text, and readable values in test failures.
#pragma once

#include <bxres/embedded_resource.h>
#include <bxres/read_value.h>
#include <bxres/resource_reader.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "stream_state.h"

// Registers `bytes` as resource `id` of type `type` with the real loader until destroyed.
class ScopedResource {
 public:
  ScopedResource(std::uint16_t id, const char16_t* type, std::vector<std::uint8_t> bytes,
                 std::uint16_t language = 0);
  ~ScopedResource();
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;

 private:
  std::vector<std::uint8_t> bytes_;
  bx::EmbeddedResource entry_;
};

// Returns the reader to its state before the first Load.
void ResetReader();

// The state of the module's process-wide stream, for tests that check or place its cursor.
inline std::int32_t& ResPos() {
  return bx::detail::StreamState::ResPos(BxRes::detail::TheStream());
}
inline std::int32_t& ResSize() {
  return bx::detail::StreamState::ResSize(BxRes::detail::TheStream());
}
inline std::span<const std::uint8_t> ResData() {
  return bx::detail::StreamState::ResData(BxRes::detail::TheStream());
}

// Loads the resource and reads all of it as text.
std::string LoadedText(std::int32_t id, const char* type);

// A test that starts, and leaves the reader, with nothing loaded.
class FreshReaderTest : public testing::Test {
 protected:
  void SetUp() override { ResetReader(); }
  void TearDown() override { ResetReader(); }
};

namespace bx {
// How GoogleTest prints a ReadValue: `Integer 101`, `String "CUSTOM"`.
inline void PrintTo(const ReadValue& v, std::ostream* os) { *os << Describe(v); }
}  // namespace bx
