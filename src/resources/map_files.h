// Map files: tile kinds per cell (".ai42") and their alphas (".red"), with a five-line header.
#pragma once

#include <cstdint>
#include <string>

namespace tessera {

// Reads the map file and then its alpha file (path with ".ai42" replaced by ".red").
// A missing map file is fatal (error kind 5); a missing alpha file keeps the content alphas.
void load_map(const std::string& path);
void read_map_cells(int32_t file, int32_t width, int32_t height);
void read_map_alpha(int32_t file, int32_t width, int32_t height);

// The checker: the hand-made map APPENTRY + APPSTART + ".ai42" and its ".red" alpha file, when
// they exist (a missing map is an error only in map mode): their headers, their record counts
// against the header, and colour codes that have no content file.
void check_map_files();

}  // namespace tessera
