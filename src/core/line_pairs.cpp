#include "core/line_pairs.h"

#include "platform/platform.h"

namespace tessera {

bool read_line_pairs(const std::string& path,
                     const std::function<void(const std::string& key, const std::string& value)>& apply) {
  const int32_t file = file_open_read(-1, path);
  if (file == 0) return false;
  while (file_eof(file) == 0) {
    const std::string key = file_read_line(file);
    const std::string value = file_read_line(file);
    apply(key, value);
  }
  file_close(file);
  return true;
}

}  // namespace tessera
