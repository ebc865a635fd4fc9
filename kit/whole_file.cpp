#include "kit/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace kit {

const char kPartialFileMark[] = ".setup-pack-part";

namespace {

namespace fs = std::filesystem;

constexpr mode_t kNewFileMode = 0666;  // less the umask, as any new file
constexpr size_t kCopyChunkBytes = 64 * 1024;

std::string SystemError() { return std::strerror(errno); }

// Closes a descriptor once.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  // Closes it; false when the close reports an error (a write the system
  // had put off failed).
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
  }

 private:
  int m_fd;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// Flushes the file at `path` to the disk.
bool Flush(const fs::path& path, std::string& error) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.IsOpen() || ::fsync(file.Get()) != 0 || !file.Close()) {
    error = "cannot flush " + path.string() + ": " + SystemError();
    return false;
  }
  return true;
}

// Flushes the folder, so that a rename in it outlasts a power loss.
void FlushFolder(const fs::path& folder) {
  FileDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.IsOpen()) ::fsync(handle.Get());
}

// A new file at `path`, for writing; a file there is replaced.
int CreateFresh(const fs::path& path) {
  std::error_code ignored;
  fs::remove(path, ignored);
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
}

bool IsPartialName(const std::string& name) { return name.find(kPartialFileMark) != std::string::npos; }

}  // namespace

fs::path PartialNameOf(const fs::path& target) {
  fs::path partial = target;
  partial += kPartialFileMark;
  return partial;
}

bool WriteWhole(const fs::path& target, const std::function<bool(const fs::path& partial, std::string& error)>& write,
                std::string& error) {
  const fs::path partial = PartialNameOf(target);
  std::error_code code;
  if (write(partial, error) && Flush(partial, error)) {
    fs::rename(partial, target, code);
    if (!code) {
      FlushFolder(target.parent_path());
      return true;
    }
    error = "cannot put " + target.string() + " in place: " + code.message();
  }
  fs::remove(partial, code);
  return false;
}

bool WriteWholeFile(const fs::path& target, const std::string& bytes, std::string& error) {
  return WriteWhole(
      target,
      [&bytes, &target](const fs::path& partial, std::string& writeError) {
        FileDescriptor file(CreateFresh(partial));
        if (!file.IsOpen() || !WriteAll(file.Get(), bytes.data(), bytes.size()) || !file.Close()) {
          writeError = "cannot write " + target.string() + ": " + SystemError();
          return false;
        }
        return true;
      },
      error);
}

bool CopyWholeFile(const fs::path& source, const fs::path& target, std::string& error) {
  return WriteWhole(
      target,
      [&source, &target](const fs::path& partial, std::string& copyError) {
        FileDescriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat status = {};
        if (!from.IsOpen() || ::fstat(from.Get(), &status) != 0) {
          copyError = "cannot copy " + source.string() + " to " + target.string() + ": " + SystemError();
          return false;
        }
        FileDescriptor to(CreateFresh(partial));
        if (!to.IsOpen()) {
          copyError = "cannot copy " + source.string() + " to " + target.string() + ": " + SystemError();
          return false;
        }
        std::string chunk(kCopyChunkBytes, '\0');
        for (;;) {
          const ssize_t got = ::read(from.Get(), chunk.data(), chunk.size());
          if (got < 0 && errno == EINTR) continue;
          if (got < 0) {
            copyError = "cannot copy " + source.string() + " to " + target.string() +
                        ": reading stopped before its end: " + SystemError();
            return false;
          }
          if (got == 0) break;
          if (!WriteAll(to.Get(), chunk.data(), static_cast<size_t>(got))) {
            copyError = "cannot copy " + source.string() + " to " + target.string() + ": " + SystemError();
            return false;
          }
        }
        if (::fchmod(to.Get(), status.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO)) != 0 || !to.Close()) {
          copyError = "cannot copy " + source.string() + " to " + target.string() + ": " + SystemError();
          return false;
        }
        return true;
      },
      error);
}

std::vector<std::string> RemovePartialFiles(const fs::path& folder) {
  std::vector<std::string> removed;
  std::error_code code;
  for (fs::directory_iterator it(folder, code); !code && it != fs::directory_iterator(); it.increment(code)) {
    const std::string name = it->path().filename().string();
    std::error_code ignored;
    if (IsPartialName(name) && it->is_regular_file(ignored) && fs::remove(it->path(), ignored)) removed.push_back(name);
  }
  return removed;
}

}  // namespace kit
