// A whole file held in memory for reading: a read-only mapping of it where the system allows,
// otherwise a copy read into memory.
//
// A mapping shares the file's pages with the system's file cache, so several engines (or
// processes) over one dictionary hold one copy, and creating an engine copies nothing. Its
// contents follow the file: a file that is replaced (written elsewhere and renamed over, as
// installers and the dictionary tool do) keeps the old contents mapped, but a file truncated in
// place while mapped would fault on access. Dictionary files are never changed in place.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace ornav {

class FileBytes {
 public:
  // The contents of the open regular file `fd` of `size` bytes; null when it cannot be read.
  // Does not take over `fd`.
  static std::shared_ptr<const FileBytes> load(int fd, std::uint64_t size);
  ~FileBytes();
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
  bool mapped() const { return mapped_; }

 private:
  FileBytes() = default;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;
  std::vector<std::uint8_t> copy_;  // when the file could not be mapped
};

}  // namespace ornav
