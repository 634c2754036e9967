#include "core/line_pairs.h"

#include "platform/platform.h"

namespace tessera {

bool read_line_pairs(const std::string& path,
                     const std::function<void(const std::string& key, const std::string& value)>& apply) {
  return read_numbered_line_pairs(path, [&apply](const LinePair& pair) { apply(pair.key, pair.value); });
}

bool read_numbered_line_pairs(const std::string& path, const std::function<void(const LinePair& pair)>& apply) {
  const int32_t file = file_open_read(-1, path);
  if (file == 0) return false;
  LinePair pair;
  int32_t line = 1;
  while (file_eof(file) == 0) {
    pair.line = line;
    pair.key = file_read_line(file);
    pair.has_value_line = file_eof(file) == 0;
    pair.value = file_read_line(file);
    apply(pair);
    line += 2;
  }
  file_close(file);
  return true;
}

}  // namespace tessera
