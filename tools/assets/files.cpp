#include "files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace assets {

std::string output_root;

void fail(const std::string& message) {
  std::fprintf(stderr, "make_assets: %s\n", message.c_str());
  std::exit(1);
}

std::string out_path(const std::string& relative) {
  std::string path = output_root + relative;
  for (char& c : path)
    if (c == '\\') c = '/';
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (ec) fail("cannot create the directory of " + path + ": " + ec.message());
  return path;
}

void write_bytes(const std::string& relative, const std::string& bytes) {
  const std::string path = out_path(relative);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) fail("cannot write " + path);
}

void write_lines(const std::string& relative, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  write_bytes(relative, bytes);
}

}  // namespace assets
