#include "host/mesh/MStlReader.h"

#include "host/mesh/Implementation/StlAsciiParser.h"
#include "host/mesh/Implementation/StlPointWelder.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlTraversal.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using stl_detail::Corner;
using stl_detail::StlProblem;

namespace {

constexpr std::size_t kHeaderSize = 80;
constexpr std::size_t kPreambleSize = kHeaderSize + 4;  // header and triangle count
constexpr std::size_t kRecordSize = 50;                 // normal, 3 corners, attribute word

std::uint32_t ReadU32(const char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);  // STL is little-endian, as is every machine this builds for
  return v;
}

bool StartsWithSolid(std::span<const char> bytes) {
  std::size_t i = 0;
  while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) ++i;
  static constexpr char kSolid[] = "solid";
  if (bytes.size() - i < 5) return false;
  for (int k = 0; k < 5; ++k)
    if ((bytes[i + k] | 0x20) != kSolid[k]) return false;
  return true;
}

// The byte count that a binary file with this preamble must have; 0 when it is too short
// to hold the preamble.
std::uint64_t ExpectedBinarySize(std::span<const char> bytes) {
  if (bytes.size() < kPreambleSize) return 0;
  return kPreambleSize + std::uint64_t(ReadU32(bytes.data() + kHeaderSize)) * kRecordSize;
}

std::unique_ptr<stl_detail::CornerWelder> ParseBinary(std::span<const char> bytes) {
  if (bytes.size() < kPreambleSize)
    throw StlProblem("too short for binary STL: " + std::to_string(bytes.size()) +
                     " bytes, but the header and triangle count alone take 84");
  const std::uint32_t count = ReadU32(bytes.data() + kHeaderSize);
  const std::uint64_t expected = ExpectedBinarySize(bytes);
  if (bytes.size() < expected)
    throw StlProblem("truncated binary STL: the header announces " + std::to_string(count) + " triangles (" +
                     std::to_string(expected) + " bytes) but the file has " + std::to_string(bytes.size()) +
                     " bytes");
  if (bytes.size() > expected)
    throw StlProblem("the triangle count in the header, " + std::to_string(count) +
                     ", disagrees with the file size: " + std::to_string(count) + " triangles take " +
                     std::to_string(expected) + " bytes, the file has " + std::to_string(bytes.size()));

  auto welder = std::make_unique<stl_detail::CornerWelder>(std::size_t(count) * 3);
  const char* record = bytes.data() + kPreambleSize;
  for (std::uint32_t t = 0; t < count; ++t, record += kRecordSize) {
    float v[9];
    std::memcpy(v, record + 12, sizeof v);  // skip the stored normal
    for (int k = 0; k < 3; ++k)
      welder->Add(stl_detail::ToCorner(v[3 * k], v[3 * k + 1], v[3 * k + 2], [&] {
        return "triangle " + std::to_string(t) + ", corner " + std::to_string(k);
      }));
  }
  welder->Flush();
  return welder;
}

// ASCII when it says so and parses; binary otherwise. When neither fits, the more
// telling of the two complaints: a file without NUL bytes was meant to be text.
std::unique_ptr<stl_detail::CornerWelder> WeldCorners(std::span<const char> bytes) {
  if (StartsWithSolid(bytes)) {
    std::vector<Corner> corners;
    std::string syntaxError;
    if (stl_detail::ParseAsciiStl(bytes, corners, syntaxError)) {
      auto welder = std::make_unique<stl_detail::CornerWelder>(corners.size());
      for (const Corner& c : corners) welder->Add(c);
      welder->Flush();
      return welder;
    }
    const bool looksBinary = ExpectedBinarySize(bytes) == bytes.size() ||
                             std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
    if (!looksBinary) throw StlProblem("malformed ASCII STL: " + syntaxError);
  }
  return ParseBinary(bytes);
}

struct FileBytes {
  MStlLargeVector<char> data;  // only data[0, size) is read; the rest is spare room
  std::size_t size = 0;
};

std::string ByteCount(std::uint64_t bytes) {
  if (bytes < (std::uint64_t(1) << 20)) return std::to_string(bytes) + " bytes";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", double(bytes) / double(1 << 20));
  return text;
}

FileBytes ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
  // Non-blocking, so that opening a FIFO without a writer does not wait for one before
  // it is refused; a regular file reads the same either way.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw MStlReadError(path, std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};

  struct stat st {};
  if (::fstat(fd, &st) != 0) throw MStlReadError(path, std::strerror(errno));
  if (S_ISDIR(st.st_mode)) throw MStlReadError(path, "it is a directory");
  // A device or a pipe has no size to check and may never end (/dev/zero).
  if (!S_ISREG(st.st_mode)) throw MStlReadError(path, "it is not a regular file");
  const std::uint64_t size = std::uint64_t(st.st_size);
  if (size > maxBytes)
    throw MStlReadError(path, "the file has " + ByteCount(size) + ", more than the " + ByteCount(maxBytes) +
                                  " that are read at most");

  // One spare byte tells a file that grew after fstat; the buffer never grows.
  FileBytes file;
  file.data.resize(std::size_t(size) + 1);
  while (file.size < file.data.size()) {
    const ssize_t n = ::read(fd, file.data.data() + file.size, file.data.size() - file.size);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw MStlReadError(path, std::strerror(errno));
    }
    file.size += std::size_t(n);
  }
  if (file.size > size) throw MStlReadError(path, "the file grew while it was read");
  return file;
}

}  // namespace

MStlReadError::MStlReadError(const std::string& path, const std::string& problem)
    : std::runtime_error("cannot read STL file '" + path + "': " + problem), m_path(path), m_problem(problem) {}

std::unique_ptr<MStlBase> ReadStlFromMemory(std::span<const char> bytes, const std::string& name) {
  if (bytes.empty()) throw MStlReadError(name, "the file is empty");
  try {
    std::unique_ptr<stl_detail::CornerWelder> welded = WeldCorners(bytes);
    MStlBuilder builder;
    builder.AdoptPointsInUnits(welded->TakePoints());
    builder.AdoptSurface(welded->TakeIndices());
    welded.reset();
    return builder.Build();
  } catch (const StlProblem& e) {
    throw MStlReadError(name, e.what());
  } catch (const std::bad_alloc&) {
    throw MStlReadError(name, "not enough memory to read it");
  }
}

std::unique_ptr<MStlBase> ReadStl(const std::string& path, std::uint64_t maxBytes) {
  try {
    const FileBytes file = ReadWholeFile(path, maxBytes);
    return ReadStlFromMemory({file.data.data(), file.size}, path);
  } catch (const std::bad_alloc&) {
    throw MStlReadError(path, "not enough memory to read it");
  }
}

void WriteStlBinary(const MStlBase& mesh, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  auto fail = [&](const char* what) {
    const std::string reason = std::strerror(errno);
    if (file) std::fclose(file);
    throw std::runtime_error("cannot write STL file '" + path + "': " + what + ": " + reason);
  };
  if (!file) fail("open failed");

  char preamble[kPreambleSize] = {};
  std::snprintf(preamble, kHeaderSize, "binary STL, coordinates in millimetres");
  const std::uint32_t count = mesh.GetNumTriangles();
  std::memcpy(preamble + kHeaderSize, &count, 4);
  if (std::fwrite(preamble, 1, sizeof preamble, file) != sizeof preamble) fail("write failed");

  // Records go out a few thousand at a time.
  constexpr std::size_t kBatch = 4096;
  std::vector<char> buffer(kBatch * kRecordSize);
  std::size_t used = 0;
  bool ok = true;
  auto flush = [&] {
    if (ok && used) ok = std::fwrite(buffer.data(), 1, used, file) == used;
    used = 0;
  };
  ForEachTriangle(mesh, [&](const MStlTriangle& t) {
    float v[12];
    std::memcpy(v, t.normal, 3 * sizeof(float));
    for (int k = 0; k < 3; ++k) {
      const MMPoint3d<float> p = t.points[k]->ToScene();
      v[3 + 3 * k] = p.x;
      v[4 + 3 * k] = p.y;
      v[5 + 3 * k] = p.z;
    }
    char* record = buffer.data() + used;
    std::memcpy(record, v, sizeof v);
    record[48] = record[49] = 0;  // attribute word
    used += kRecordSize;
    if (used == buffer.size()) flush();
  });
  flush();
  if (!ok) fail("write failed");
  if (std::fclose(file) != 0) {
    file = nullptr;
    fail("close failed");
  }
}
