// What every fuzz target shares: the default data set, started as the game starts it, in a scratch
// copy, and a way to put the fuzzer's bytes where a data file would be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzdata {

// While one of these lives, the current directory is the scratch copy's start directory (the
// game's relative data paths resolve there). The first one made starts the game on the copy:
// configuration, screen (SDL's dummy drivers), catalogs, object types, font and the first level.
// Between inputs the previous directory is current again, so libFuzzer's relative paths work.
class InDataSet {
 public:
  InDataSet();
  ~InDataSet();
  InDataSet(const InDataSet&) = delete;
  InDataSet& operator=(const InDataSet&) = delete;
};

// Absolute path of a file of the copy; relative uses "/".
std::string data_path(const std::string& relative);
// Writes the bytes as that file (parents created) and returns its absolute path.
std::string write_data_file(const std::string& relative, const uint8_t* data, size_t size);
std::string write_data_file(const std::string& relative, const std::string& bytes);

}  // namespace fuzzdata
