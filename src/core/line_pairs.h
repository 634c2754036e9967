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

}  // namespace tessera
