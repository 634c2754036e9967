// Writing the data set's files: directories, text files with CR LF line ends, and the "\" joins
// of the data formats turned into paths of this system.
#pragma once

#include <string>
#include <vector>

namespace assets {

// Root of the data set being written (the directory given on the command line, ending in "/").
extern std::string output_root;

// output_root + relative, with "\" separators turned into "/"; parent directories are created.
std::string out_path(const std::string& relative);
// Writes the lines, each ended by CR LF, exactly as bytes.
void write_lines(const std::string& relative, const std::vector<std::string>& lines);
void write_bytes(const std::string& relative, const std::string& bytes);
// Fails the whole run with a message: a data set with a missing file is worse than none.
[[noreturn]] void fail(const std::string& message);

}  // namespace assets
