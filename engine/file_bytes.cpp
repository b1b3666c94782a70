#include "file_bytes.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

namespace ornav {

std::shared_ptr<const FileBytes> FileBytes::load(int fd, std::uint64_t size) {
  if (size > std::numeric_limits<std::size_t>::max() / 2) return nullptr;
  std::shared_ptr<FileBytes> file(new FileBytes());
  if (size > 0) {
    void* p = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p != MAP_FAILED) {
      // Pages are read when first used; the hint lets the system read the rest ahead in the
      // background instead of at the first keystrokes. Nothing waits for it.
      ::madvise(p, static_cast<std::size_t>(size), MADV_WILLNEED);
      file->data_ = static_cast<const std::uint8_t*>(p);
      file->size_ = static_cast<std::size_t>(size);
      file->mapped_ = true;
      return file;
    }
  }
  // Not mappable (an empty file, or a file system without mappings): read it. Reading stops at
  // the end of file, so a file that shrank meanwhile gives what it holds now.
  file->copy_.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < file->copy_.size()) {
    const ssize_t n =
        ::pread(fd, file->copy_.data() + done, file->copy_.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return nullptr;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  file->copy_.resize(done);
  file->data_ = file->copy_.data();
  file->size_ = done;
  return file;
}

FileBytes::~FileBytes() {
  if (mapped_) ::munmap(const_cast<std::uint8_t*>(data_), size_);
}

}  // namespace ornav
