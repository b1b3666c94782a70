#include "user_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "saturating.h"
#include "utf8.h"

namespace ornav {
namespace {

// Closes a descriptor on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded (it can report a delayed write error).
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

struct FileText {
  bool missing = false;  // the file does not exist
  bool ok = false;       // read completely
  std::string text;
};

FileText read_file(const std::string& path) {
  FileText result;
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    result.missing = errno == ENOENT;
    return result;
  }
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return result;
    if (n == 0) break;
    result.text.append(chunk, static_cast<std::size_t>(n));
  }
  result.ok = true;
  return result;
}

bool write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::pair<std::string, std::string> split_dir(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// An exclusive advisory lock held for the lifetime of the object. Waits a bounded time so that a
// stuck peer cannot freeze the caller's thread; the save is then retried with the next change.
class FileLock {
 public:
  explicit FileLock(const std::string& lock_path)
      : fd_(::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_.get() < 0) return;
    for (int attempt = 0; attempt < 400; ++attempt) {
      if (::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0) {
        locked_ = true;
        return;
      }
      if (errno != EWOULDBLOCK && errno != EINTR) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  ~FileLock() {
    if (locked_) ::flock(fd_.get(), LOCK_UN);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool locked() const { return locked_; }

 private:
  Fd fd_;
  bool locked_ = false;
};

// Moves a file that the reading rules cannot use (not UTF-8) out of the way before it is replaced,
// so whatever it held can still be recovered by hand. The first free "NAME.unreadable",
// "NAME.unreadable.1", ... is used; false when none could be claimed.
bool set_aside(const std::string& path) {
  for (int n = 0; n < 100; ++n) {
    std::string aside = path + ".unreadable";
    if (n > 0) aside += "." + std::to_string(n);
    // link() refuses to replace an existing name, so an earlier copy is never overwritten.
    if (::link(path.c_str(), aside.c_str()) == 0) return true;
    if (errno != EEXIST) return false;
  }
  return false;
}

}  // namespace

std::string join_path(std::string_view dir, std::string_view name) {
  std::string path(dir);
  if (!path.empty() && path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

FreqTable load_user_freq(const std::string& path) {
  const FileText file = read_file(path);
  return file.ok ? parse_freq_tsv(file.text) : FreqTable{};
}

bool write_file_atomically(const std::string& requested_path, std::string_view text, durability how,
                           const save_calls& calls) {
  // A user who links the file elsewhere (a synced folder) keeps the link: the file it points to
  // is the one replaced. Only a link needs resolving; a plain file is replaced where it is named,
  // whatever folders on the way are links.
  std::string path = requested_path;
  struct stat old_file {};
  bool exists = ::lstat(path.c_str(), &old_file) == 0;
  if (exists && S_ISLNK(old_file.st_mode)) {
    if (char* target = ::realpath(requested_path.c_str(), nullptr)) {
      path = target;
      std::free(target);
    }
    exists = ::stat(path.c_str(), &old_file) == 0;
  }
  const auto [dir, name] = split_dir(path);
  std::string temp = join_path(dir, "." + name + ".XXXXXX");
  Fd fd(::mkostemp(temp.data(), O_CLOEXEC));  // created with mode 0600
  if (fd.get() < 0) return false;

  bool ok = true;
  if (exists) {
    ok = ::fchmod(fd.get(), old_file.st_mode & 07777) == 0;
  }
  const bool synced = how == durability::synced;
  ok = ok && write_all(fd.get(), text) && (!synced || calls.fsync(fd.get()) == 0);
  ok = fd.close() && ok;
  ok = ok && calls.rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  if (!synced) return true;
  // Make the rename itself durable; the data is already safe, so a failure here is not reported.
  Fd dir_fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir_fd.get() >= 0) calls.fsync(dir_fd.get());
  return true;
}

bool merge_into_file(const std::string& path, const FreqTable& increments, durability how) {
  const auto [dir, name] = split_dir(path);
  const FileLock lock(join_path(dir, "." + name + ".lock"));
  if (!lock.locked()) return false;

  FileText file = read_file(path);
  // A file that exists but cannot be read would be replaced by our increments alone.
  if (!file.ok && !file.missing) return false;
  if (file.ok && !utf8::is_valid(file.text) && !set_aside(path)) return false;
  FreqTable merged = parse_freq_tsv(file.text);
  file.text.clear();
  for (const auto& [word, count] : increments) {
    if (!is_writable_word(word)) continue;
    std::uint64_t& total = merged[word];
    total = saturating_add(total, count);
  }
  return write_file_atomically(path, format_freq_tsv(merged), how);
}

}  // namespace ornav
