// The errors that resource operations raise: one type per kind, with a common base.
#pragma once

#include <stdexcept>
#include <string>

namespace bx {

// The base of every error raised here. End of data is never an error: readers return the Empty
// value for it.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An index outside an array, or an array that is absent: "Subscript out of range".
class BoundsError : public Error {
 public:
  explicit BoundsError(const std::string& what) : Error("Subscript out of range: " + what) {}
};

// Checked signed 32-bit arithmetic left its range: "Overflow".
class OverflowError : public Error {
 public:
  explicit OverflowError(const std::string& what) : Error("Overflow: " + what) {}
};

// A value that cannot be converted to the kind required: "Type mismatch".
class ConversionError : public Error {
 public:
  explicit ConversionError(const std::string& what) : Error("Type mismatch: " + what) {}
};

// The resource loader found no resource with the identifier and type asked for.
class ResourceNotFoundError : public Error {
 public:
  explicit ResourceNotFoundError(const std::string& what) : Error("Resource not found: " + what) {}
};

// The resources that the build embedded cannot be read: their image is damaged. Says which
// image and where.
class DamagedResourcesError : public Error {
 public:
  explicit DamagedResourcesError(const std::string& what) : Error("Damaged resources: " + what) {}
};

}  // namespace bx
