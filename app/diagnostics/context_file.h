// The crash context file, rewritten before every step that changes what a client shows (several
// times per keystroke), so it must cost little. It is kept open and every version is written with
// one positioned write at its start, padded with spaces to a fixed size that only grows: a write
// call is never left half done by the death of the process, and JSON ends its text at any
// whitespace, so the file always holds one whole version. Durability against power loss is not
// its job (nothing is flushed to disk).
#pragma once

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <string_view>

namespace ornav {

class ContextFile {
 public:
  explicit ContextFile(std::filesystem::path path) : path_(std::move(path)) {}
  ~ContextFile();
  ContextFile(const ContextFile&) = delete;
  ContextFile& operator=(const ContextFile&) = delete;

  // Makes `content` the file's text; false when it cannot be written (nothing else changes).
  bool replace(std::string_view content);

  const std::filesystem::path& path() const { return path_; }

 private:
  bool open();

  std::filesystem::path path_;
  std::mutex mutex_;
  int fd_ = -1;
  std::size_t size_ = 0;  // bytes every version fills
  // The open file's identity, compared with what the name leads to before each write.
  unsigned long long device_ = 0;
  unsigned long long inode_ = 0;
};

}  // namespace ornav
