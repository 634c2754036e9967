// Text files, directory listings and the two well-known directories.
#include "platform/platform.h"

#include "platform/platform_internal.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tessera {

namespace {

// A file opened for reading is read whole at open and served from memory: content files are
// opened by the hundred thousand while a level is built, and each holds a few short lines.
// Files opened for writing as well (the error log) stay C streams.
struct OpenFile {
  std::FILE* stream = nullptr;
  bool writing = false;  // last operation was a write (C streams need a seek before switching)
  std::string content;
  size_t position = 0;
};

struct DirEntry {
  std::string name;
  int32_t type = ENTRY_FILE;
};

struct Listing {
  std::vector<DirEntry> entries;
  int32_t current = -1;  // before the first entry until dir_next_entry
};

HandleTable<OpenFile> files;
const std::string UTF8_MARK = "\xEF\xBB\xBF";
HandleTable<Listing> listings;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_without_case(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> directory_names(const std::string& directory) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// '*' any run of characters, '?' one character; letters compared without case.
bool wildcard_match(const char* pattern, const char* text) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*text != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      resume = text;
    } else if (*pattern == '?' || (*pattern != '\0' && lower(*pattern) == lower(*text))) {
      ++pattern;
      ++text;
    } else if (star != nullptr) {
      pattern = star + 1;
      text = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

std::string native_separators(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

// The whole file in one buffer; false when it cannot be opened or read (a directory included).
// Reads go through one scratch block, so a small file costs one allocation of its own size.
bool read_whole_file(const std::string& path, std::string& content) {
  static char block[1 << 16];
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  content.clear();
  for (;;) {
    const ssize_t got = ::read(fd, block, sizeof block);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    content.append(block, static_cast<size_t>(got));
    // A regular file answers short only at its end; asking again would cost a call per file.
    if (static_cast<size_t>(got) < sizeof block) break;
  }
  ::close(fd);
  return true;
}

// Lines end at CR, LF or CR LF; the line end is consumed and not returned.
std::string next_line(const std::string& content, size_t& position) {
  const size_t start = std::min(position, content.size());
  size_t end = start;
  while (end < content.size() && content[end] != '\n' && content[end] != '\r') ++end;
  position = end;
  if (end < content.size()) {
    position = end + 1;
    if (content[end] == '\r' && position < content.size() && content[position] == '\n') ++position;
  }
  return content.substr(start, end - start);
}

void prepare_for(OpenFile& file, bool write) {
  // C streams opened for update need a positioning call between reads and writes.
  if (file.writing != write) std::fseek(file.stream, 0, SEEK_CUR);
  file.writing = write;
}

}  // namespace

std::string resolve_path(const std::string& path) {
  const std::string native = native_separators(path);
  if (native.empty() || exists(native)) return native;

  std::string resolved = native[0] == '/' ? "/" : "";
  size_t start = 0;
  bool matching = true;
  while (start <= native.size()) {
    size_t end = native.find('/', start);
    if (end == std::string::npos) end = native.size();
    const std::string part = native.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    const std::string prefix = resolved.empty() || resolved.back() == '/' ? resolved : resolved + '/';
    std::string chosen = part;
    if (matching && part != "." && part != ".." && !exists(prefix + part)) {
      matching = false;
      for (const std::string& name : directory_names(prefix)) {
        if (same_without_case(name, part)) {
          chosen = name;
          matching = true;
          break;
        }
      }
    }
    resolved = prefix + chosen;
  }
  if (!native.empty() && native.back() == '/' && resolved.back() != '/') resolved += '/';
  return resolved;
}

int32_t file_open_read(int32_t handle, const std::string& path) {
  const int32_t id = handle_claim(files, handle);
  if (id == 0) return 0;
  OpenFile file;
  // The path as written first; the search without regard to case only when that fails.
  if (!read_whole_file(native_separators(path), file.content) && !read_whole_file(resolve_path(path), file.content)) {
    return 0;
  }
  // Some editors start UTF-8 text with a byte-order mark; it belongs to no line.
  if (file.content.compare(0, UTF8_MARK.size(), UTF8_MARK) == 0) file.position = UTF8_MARK.size();
  file_close(id);
  handle_store(files, id, std::move(file));
  return id;
}

int32_t file_open(int32_t handle, const std::string& path) {
  const int32_t id = handle_claim(files, handle);
  if (id == 0) return 0;
  const std::string resolved = resolve_path(path);
  std::FILE* stream = std::fopen(resolved.c_str(), "r+b");
  if (stream == nullptr) stream = std::fopen(resolved.c_str(), "w+b");
  if (stream == nullptr) return 0;
  file_close(id);
  OpenFile file;
  file.stream = stream;
  handle_store(files, id, std::move(file));
  return id;
}

int32_t file_open_append(int32_t handle, const std::string& path) {
  const int32_t id = handle_claim(files, handle);
  if (id == 0) return 0;
  std::FILE* stream = std::fopen(resolve_path(path).c_str(), "ab");
  if (stream == nullptr) return 0;
  file_close(id);
  OpenFile file;
  file.stream = stream;
  file.writing = true;
  handle_store(files, id, std::move(file));
  return id;
}

std::string file_read_line(int32_t file) {
  OpenFile* open = handle_find(files, file);
  if (open == nullptr) return "";
  if (open->stream == nullptr) return next_line(open->content, open->position);
  prepare_for(*open, false);
  std::string line;
  int c = 0;
  while ((c = std::fgetc(open->stream)) != EOF) {
    if (c == '\n') break;
    if (c == '\r') {
      const int next = std::fgetc(open->stream);
      if (next != '\n' && next != EOF) std::ungetc(next, open->stream);
      break;
    }
    line.push_back(static_cast<char>(c));
  }
  return line;
}

void file_write_line(int32_t file, const std::string& text) {
  OpenFile* open = handle_find(files, file);
  if (open == nullptr || open->stream == nullptr) return;
  prepare_for(*open, true);
  std::fwrite(text.data(), 1, text.size(), open->stream);
  std::fwrite("\r\n", 1, 2, open->stream);
}

int32_t file_eof(int32_t file) {
  OpenFile* open = handle_find(files, file);
  if (open == nullptr) return 0;
  if (open->stream == nullptr) return open->position >= open->content.size() ? 1 : 0;
  prepare_for(*open, false);
  const int c = std::fgetc(open->stream);
  if (c == EOF) {
    std::clearerr(open->stream);
    return 1;
  }
  std::ungetc(c, open->stream);
  return 0;
}

void file_close(int32_t file) {
  OpenFile* open = handle_find(files, file);
  if (open == nullptr) return;
  if (open->stream != nullptr) std::fclose(open->stream);
  files.items.erase(file);
}

int32_t dir_examine(int32_t handle, const std::string& directory, const std::string& pattern) {
  const int32_t id = handle_claim(listings, handle);
  if (id == 0) return 0;
  std::string dir = resolve_path(directory);
  if (dir.empty()) dir = ".";
  if (dir.back() != '/') dir += '/';
  struct stat info {};
  if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return 0;

  const std::string wanted = pattern.empty() ? "*" : pattern;
  Listing listing;
  for (const std::string& name : directory_names(dir)) {
    if (!wildcard_match(wanted.c_str(), name.c_str())) continue;
    struct stat entry {};
    const bool is_dir = ::stat((dir + name).c_str(), &entry) == 0 && S_ISDIR(entry.st_mode);
    listing.entries.push_back({name, is_dir ? ENTRY_DIRECTORY : ENTRY_FILE});
  }
  handle_store(listings, id, std::move(listing));
  return id;
}

int32_t dir_next_entry(int32_t dir) {
  Listing* listing = handle_find(listings, dir);
  if (listing == nullptr) return 0;
  if (listing->current + 1 >= static_cast<int32_t>(listing->entries.size())) {
    listing->current = static_cast<int32_t>(listing->entries.size());
    return 0;
  }
  ++listing->current;
  return listing->entries[listing->current].type;
}

std::string dir_entry_name(int32_t dir) {
  Listing* listing = handle_find(listings, dir);
  if (listing == nullptr || listing->current < 0 ||
      listing->current >= static_cast<int32_t>(listing->entries.size())) {
    return "";
  }
  return listing->entries[listing->current].name;
}

int32_t dir_entry_type(int32_t dir) {
  Listing* listing = handle_find(listings, dir);
  if (listing == nullptr || listing->current < 0 ||
      listing->current >= static_cast<int32_t>(listing->entries.size())) {
    return 0;
  }
  return listing->entries[listing->current].type;
}

void dir_finish(int32_t dir) { listings.items.erase(dir); }

int32_t path_examine(const std::string& path, std::string& found, int32_t& type) {
  const std::string native = path.empty() ? std::string(".") : native_separators(path);
  int32_t match = PATH_AS_WRITTEN;
  found = native;
  struct stat info {};
  if (::stat(found.c_str(), &info) != 0) {
    found = resolve_path(native);
    match = PATH_WITHOUT_CASE;
    if (::stat(found.c_str(), &info) != 0) {
      type = 0;
      return PATH_MISSING;
    }
  }
  type = S_ISDIR(info.st_mode) ? ENTRY_DIRECTORY : ENTRY_FILE;
  return match;
}

std::string current_directory() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (buffer.size() > (1u << 20)) return "./";
    buffer.resize(buffer.size() * 2);
  }
  std::string dir = buffer.data();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string home_directory() {
  std::string dir;
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    dir = home;
  } else if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    dir = user->pw_dir;
  } else {
    dir = current_directory();
  }
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

void files_close_all() {
  for (auto& [id, open] : files.items) {
    if (open.stream != nullptr) std::fclose(open.stream);
  }
  files.items.clear();
  listings.items.clear();
}

}  // namespace tessera
