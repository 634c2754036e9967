// The parts of the data set, each written by its own procedure under output_root.
#pragma once

#include <string>
#include <vector>

namespace assets {

void write_configuration();
void write_contents();
void write_object_definitions();
void write_levels();
std::vector<std::string> map_rows();

void write_tiles();
void write_objects();
void write_player();
// The desktop icon (not part of the data set): 256 x 256 PNG at path.
void write_icon(const std::string& path);
void write_floaters();
void write_screens();
void write_font();
void write_sounds();
void write_music();

}  // namespace assets
