// A file opened for reading, with what identifies its contents: device, inode, size and the
// modification and change times. A file replaced on disk (written elsewhere and renamed over) has
// another identity, so what was read from the old one is never taken for the new one's.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>

#include "file_bytes.h"

namespace ornav {

class OpenFile {
 public:
  explicit OpenFile(const std::string& path);
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  using Id = std::tuple<std::uint64_t, std::uint64_t, std::uint64_t, std::int64_t, std::int64_t>;
  // A regular file that could be opened.
  bool ok() const { return ok_; }
  const Id& id() const { return id_; }
  int fd() const { return fd_; }
  std::shared_ptr<const FileBytes> load() const { return FileBytes::load(fd_, std::get<2>(id_)); }

 private:
  int fd_;
  bool ok_ = false;
  Id id_{};
};

// The identity of the file at `path` now; the default identity when there is none.
OpenFile::Id file_id(const std::string& path);

}  // namespace ornav
