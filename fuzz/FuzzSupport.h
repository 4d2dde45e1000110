#pragma once
// What the fuzz targets share: a check that stops the run naming the broken promise, a
// reader that takes values from the input (zeros once it runs out), and a scratch file
// for targets that read files as a host would.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#define VISTAL_FUZZ_CHECK(condition)                                                   \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "check failed, %s:%d: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)

class FuzzInput {
public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  template <typename T>
  T Take() {
    T value{};
    const std::size_t n = std::min(sizeof(T), m_size - m_at);
    std::memcpy(&value, m_data + m_at, n);
    m_at += n;
    return value;
  }
  bool Empty() const { return m_at >= m_size; }

private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_at = 0;
};

// Writes the input to one scratch file per process, removed at exit, and answers its path.
inline const char* FuzzWriteScratchFile(const std::uint8_t* data, std::size_t size) {
  // A plain array, so that it is still there when the exit handler runs.
  static char path[] = "/tmp/vistal-fuzz-XXXXXX";
  static const bool made = [] {
    const int fd = ::mkstemp(path);
    if (fd < 0) std::abort();
    ::close(fd);
    std::atexit([] { ::unlink(path); });
    return true;
  }();
  (void)made;
  std::FILE* f = std::fopen(path, "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}
