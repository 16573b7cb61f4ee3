// The reader of a picture list's lines (the format is described in main.cpp).
#pragma once
#include <stdexcept>
#include <string>

#include "painters.h"

namespace zx::resgen {

// A mistake in a line, said in words.
struct ListError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The file name's ending, without the dot ("" when it has none).
std::string Extension(const std::string& file);
// One line that is neither empty nor a comment; throws ListError on a mistake.
Picture ParsePictureLine(const std::string& line);

}  // namespace zx::resgen
