// What every fuzz target shares: the default data set, started once per process as the game starts
// it, in a scratch copy, and a way to put the fuzzer's bytes where a data file would be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace fuzzdata {

// Starts the game on the copy (configuration, screen on SDL's dummy drivers, catalogs, object
// types, font and the first level), once per process. alter, when given, changes the copy (its
// start directory, ending in "/") before anything loads; only the first call's alter counts.
void start(const std::function<void(const std::string& start_directory)>& alter = {});

// While one of these lives, the current directory is the copy's start directory (the game's
// relative data paths resolve there). Between inputs the previous directory is current again, so
// libFuzzer's relative paths work. Starts the game first when no target did.
class InDataSet {
 public:
  InDataSet();
  ~InDataSet();
  InDataSet(const InDataSet&) = delete;
  InDataSet& operator=(const InDataSet&) = delete;
};

// For an alter: every PNG image directly in folder becomes 3 x 4 pixels. Where a target loads
// images for every input, which names exist is what the reader meets; their pixels only cost time.
void shrink_images(const std::string& folder);

// Absolute path of a file of the copy; relative uses "/".
std::string data_path(const std::string& relative);
// Writes the bytes as that file (its folder must exist) and returns its absolute path. Cheap
// enough for every input: one small file, no folders made.
std::string write_data_file(const std::string& relative, const uint8_t* data, size_t size);
std::string write_data_file(const std::string& relative, const std::string& bytes);

}  // namespace fuzzdata
