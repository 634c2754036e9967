// The line reader under every text data file: key and value lines, CR, LF or CR LF ends.
#include <cstdlib>
#include <string>

#include "core/line_pairs.h"
#include "fuzz_data_set.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzdata::InDataSet in_data_set;
  const std::string path = fuzzdata::write_data_file("DATA/fuzz_pairs.txt", data, size);
  size_t text_bytes = 0;
  const bool opened = tessera::read_line_pairs(path, [&](const std::string& key, const std::string& value) {
    // A line never carries its end, and no line holds more than the file did.
    if (key.find_first_of("\r\n") != std::string::npos || value.find_first_of("\r\n") != std::string::npos) std::abort();
    text_bytes += key.size() + value.size();
    if (text_bytes > size) std::abort();
  });
  if (!opened) std::abort();
  return 0;
}
