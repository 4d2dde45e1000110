#include "host/mesh/Implementation/MeshFile.h"

#include "host/mesh/MStlReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stl_detail {
namespace {

std::string ByteCount(std::uint64_t bytes) {
  if (bytes < (std::uint64_t(1) << 20)) return std::to_string(bytes) + " bytes";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", double(bytes) / double(1 << 20));
  return text;
}

}  // namespace

MeshFile::MeshFile(const std::string& path, std::uint64_t maxBytes) : m_path(path) {
  // Non-blocking, so that opening a FIFO without a writer does not wait for one before
  // it is refused; a regular file reads the same either way.
  m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (m_fd < 0) throw MStlReadError(path, std::strerror(errno));
  struct stat st {};
  try {
    if (::fstat(m_fd, &st) != 0) throw MStlReadError(path, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) throw MStlReadError(path, "it is a directory");
    // A device or a pipe has no size to check and may never end (/dev/zero).
    if (!S_ISREG(st.st_mode)) throw MStlReadError(path, "it is not a regular file");
    m_size = std::uint64_t(st.st_size);
    if (m_size > maxBytes)
      throw MStlReadError(path, "the file has " + ByteCount(m_size) + ", more than the " + ByteCount(maxBytes) +
                                    " that are read at most");
  } catch (...) {
    ::close(m_fd);
    throw;
  }
}

MeshFile::~MeshFile() { ::close(m_fd); }

std::size_t MeshFile::Read(std::span<char> into) {
  std::size_t done = 0;
  while (done < into.size()) {
    const ssize_t n = ::read(m_fd, into.data() + done, into.size() - done);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw MStlReadError(m_path, std::strerror(errno));
    }
    done += std::size_t(n);
  }
  m_read += done;
  if (m_read > m_size) throw MStlReadError(m_path, "the file grew while it was read");
  return done;
}

void MeshFile::ExpectEnd() {
  if (m_read < m_size) throw MStlReadError(m_path, "the file shrank while it was read");
  char extra;
  Read({&extra, 1});
}

MeshFile::Bytes MeshFile::ReadRest(std::span<const char> head) {
  // One spare byte tells a file that grew after it was opened; the buffer never grows.
  Bytes bytes;
  bytes.data.resize(std::size_t(m_size) + 1);
  if (!head.empty()) std::memcpy(bytes.data.data(), head.data(), head.size());
  bytes.size = head.size() + Read({bytes.data.data() + head.size(), bytes.data.size() - head.size()});
  if (bytes.size < m_size) throw MStlReadError(m_path, "the file shrank while it was read");
  return bytes;
}

}  // namespace stl_detail
