#include "model/savefile.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ostream>
#include <streambuf>
#include <vector>

#include "textout/textout.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace QZML {
namespace {

#ifdef _WIN32
int OpenNew(const std::string& path) {
  return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const char* data, std::size_t size) {
  unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
  return _write(fd, data, chunk);
}
bool SyncFile(int fd) { return _commit(fd) == 0; }
bool CloseFile(int fd) { return _close(fd) == 0; }
bool MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
void RemoveFile(const std::string& path) { _unlink(path.c_str()); }
int ProcessId() { return _getpid(); }
#else
int OpenNew(const std::string& path) { return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
long WriteSome(int fd, const char* data, std::size_t size) { return static_cast<long>(write(fd, data, size)); }
bool SyncFile(int fd) { return fsync(fd) == 0; }
bool CloseFile(int fd) { return close(fd) == 0; }
bool MoveOver(const std::string& from, const std::string& to) { return rename(from.c_str(), to.c_str()) == 0; }
void RemoveFile(const std::string& path) { unlink(path.c_str()); }
int ProcessId() { return static_cast<int>(getpid()); }
#endif

// A byte stream onto a file descriptor that remembers whether any write failed (a full disk, a quota).
class CFdStreamBuf : public std::streambuf {
public:
  explicit CFdStreamBuf(int fd) : m_fd(fd), m_buffer(1 << 16) { Reset(); }
  bool Failed() const { return m_failed; }

protected:
  int_type overflow(int_type ch) override {
    if (!Drain())
      return traits_type::eof();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(ch);
      pbump(1);
    }
    return traits_type::not_eof(ch);
  }

  std::streamsize xsputn(const char* data, std::streamsize size) override {
    if (size <= epptr() - pptr()) {
      std::char_traits<char>::copy(pptr(), data, static_cast<std::size_t>(size));
      pbump(static_cast<int>(size));
      return size;
    }
    if (!Drain() || !WriteAll(data, static_cast<std::size_t>(size)))
      return 0;
    return size;
  }

  int sync() override { return Drain() ? 0 : -1; }

private:
  bool Drain() {
    bool ok = WriteAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    Reset();
    return ok;
  }

  void Reset() { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }

  bool WriteAll(const char* data, std::size_t size) {
    while (size > 0 && !m_failed) {
      long n = WriteSome(m_fd, data, size);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0) {
        m_failed = true;
        break;
      }
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return !m_failed;
  }

  int m_fd;
  bool m_failed = false;
  std::vector<char> m_buffer;
};

// Removes the temporary file unless it has taken the target's place, whatever way the save ends.
class CTemporaryFile {
public:
  ~CTemporaryFile() {
    if (m_fd >= 0)
      CloseFile(m_fd);
    if (!m_path.empty())
      RemoveFile(m_path);
  }
  bool Create(const std::string& folder, const std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string path = folder + "." + name + "." + std::to_string(ProcessId()) + "-" +
                         std::to_string(counter.fetch_add(1)) + ".tmp";
      m_fd = OpenNew(path);
      if (m_fd >= 0) {
        m_path = path;
        return true;
      }
      if (errno != EEXIST)
        return false;
    }
    return false;
  }
  int Fd() const { return m_fd; }
  const std::string& Path() const { return m_path; }
  bool Close() {
    int fd = m_fd;
    m_fd = -1;
    return CloseFile(fd);
  }
  void Commit() { m_path.clear(); }

private:
  int m_fd = -1;
  std::string m_path;
};

bool Report(CZelTextOut* errorOutput) {
  if (errorOutput)
    errorOutput->Error(TEXTOUT_ERR_SAVE);
  return false;
}

} // namespace

bool SaveFileAtomically(const std::string& path, const std::function<bool(std::ostream&)>& write,
                        CZelTextOut* errorOutput) {
  if (path.empty())
    return Report(errorOutput);
  std::string target = path;
#ifndef _WIN32
  // Through a symbolic link the file it points at is replaced, not the link.
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* real = realpath(path.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  bool exists = stat(target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode))
    return Report(errorOutput);
  // The rename below needs only the folder's permission, so a file the user may not write would be
  // replaced all the same. A file without any write permission counts as protected even for root.
  if (exists && (access(target.c_str(), W_OK) != 0 || (info.st_mode & 0222) == 0))
    return Report(errorOutput);
#else
  if (_access(target.c_str(), 0) == 0 && _access(target.c_str(), 2) != 0)
    return Report(errorOutput);
#endif

  std::string::size_type slash = target.find_last_of("/\\");
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);

  CTemporaryFile temporary;
  if (!temporary.Create(folder, name))
    return Report(errorOutput);
#ifndef _WIN32
  // The replacement keeps the permissions of the file it replaces.
  if (exists)
    (void)fchmod(temporary.Fd(), info.st_mode & 07777);
#endif

  CFdStreamBuf buffer(temporary.Fd());
  std::ostream stream(&buffer);
  if (!write(stream))
    return false;
  stream.flush();
  if (!stream || buffer.Failed() || !SyncFile(temporary.Fd()) || !temporary.Close())
    return Report(errorOutput);
  if (!MoveOver(temporary.Path(), target))
    return Report(errorOutput);
  temporary.Commit();

#ifndef _WIN32
  // Make the new name itself durable; the data is already safe, so a failure here is not an error.
  int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
  if (dir >= 0) {
    (void)fsync(dir);
    close(dir);
  }
#endif
  return true;
}

} // namespace QZML
