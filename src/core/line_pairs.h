// The key-line / value-line reader shared by the configuration, the object definitions and the
// cell content files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tessera {

// Opens path, hands every (key, value) pair to apply in file order, closes the file. A key line at
// the end of the file gets an empty value. Returns false when the file cannot be opened.
bool read_line_pairs(const std::string& path,
                     const std::function<void(const std::string& key, const std::string& value)>& apply);

// One pair as the reader met it, for the checker.
struct LinePair {
  std::string key;
  std::string value;
  int32_t line = 0;             // of the key line, counted from 1
  bool has_value_line = false;  // false for a key line at the end of the file (its value is empty)
};
// The same reading, with where each pair stands.
bool read_numbered_line_pairs(const std::string& path, const std::function<void(const LinePair& pair)>& apply);

}  // namespace tessera
