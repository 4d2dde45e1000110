#include "host/mesh/MStlReader.h"

#include "host/mesh/Implementation/MeshFile.h"
#include "host/mesh/Implementation/Orientation.h"
#include "host/mesh/Implementation/StlAsciiParser.h"
#include "host/mesh/Implementation/StlReading.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlTraversal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

using stl_detail::Corner;
using stl_detail::CornerWelder;
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

// The byte count that a binary file with this preamble must have; 0 when it is too short
// to hold the preamble.
std::uint64_t ExpectedBinarySize(std::span<const char> bytes) {
  if (bytes.size() < kPreambleSize) return 0;
  return kPreambleSize + std::uint64_t(ReadU32(bytes.data() + kHeaderSize)) * kRecordSize;
}

// Welds the triangles of whole records; `first` numbers the first of them in the file.
void WeldRecords(const char* records, std::size_t count, std::uint32_t first, CornerWelder& welder) {
  for (std::size_t r = 0; r < count; ++r) {
    const char* record = records + r * kRecordSize;
    float v[9];
    std::memcpy(v, record + 12, sizeof v);  // skip the stored normal
    if (!stl_detail::ToCorners(v, welder.TriangleRoom())) {
      const std::uint32_t t = first + std::uint32_t(r);
      for (int k = 0; k < 3; ++k)  // throws for the first unusable corner
        stl_detail::ToCorner(v[3 * k], v[3 * k + 1], v[3 * k + 2], [&] {
          return "triangle " + std::to_string(t) + ", corner " + std::to_string(k);
        });
    }
    welder.AddTriangle();
  }
}

void CheckBinarySize(std::span<const char> head, std::uint64_t size) {
  if (size < kPreambleSize)
    throw StlProblem("too short for binary STL: " + std::to_string(size) +
                     " bytes, but the header and triangle count alone take 84");
  const std::uint32_t count = ReadU32(head.data() + kHeaderSize);
  const std::uint64_t expected = ExpectedBinarySize(head);
  if (size < expected)
    throw StlProblem("truncated binary STL: the header announces " + std::to_string(count) + " triangles (" +
                     std::to_string(expected) + " bytes) but the file has " + std::to_string(size) + " bytes");
  if (size > expected)
    throw StlProblem("the triangle count in the header, " + std::to_string(count) +
                     ", disagrees with the file size: " + std::to_string(count) + " triangles take " +
                     std::to_string(expected) + " bytes, the file has " + std::to_string(size));
}

std::unique_ptr<MStlBase> ParseBinary(std::span<const char> bytes) {
  CheckBinarySize(bytes, bytes.size());
  const std::uint32_t count = ReadU32(bytes.data() + kHeaderSize);
  CornerWelder welder(std::size_t(count) * 3);
  WeldRecords(bytes.data() + kPreambleSize, count, 0, welder);
  return stl_detail::BuildWelded(welder);
}

// ASCII when it says so and parses; binary otherwise. When neither fits, the more
// telling of the two complaints: a file without NUL bytes was meant to be text.
std::unique_ptr<MStlBase> ParseStl(std::span<const char> bytes) {
  if (stl_detail::StartsWithSolid(bytes)) {
    std::vector<Corner> corners;
    std::string syntaxError;
    if (stl_detail::ParseAsciiStl(bytes, corners, syntaxError)) {
      CornerWelder welder(corners.size());
      for (const Corner& c : corners) welder.Add(c);
      corners = {};
      return stl_detail::BuildWelded(welder);
    }
    const bool looksBinary = ExpectedBinarySize(bytes) == bytes.size() ||
                             std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
    if (!looksBinary) throw StlProblem("malformed ASCII STL: " + syntaxError);
  }
  return ParseBinary(bytes);
}

}  // namespace

namespace stl_detail {

bool StartsWithSolid(std::span<const char> bytes) {
  std::size_t i = 0;
  while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) ++i;
  static constexpr char kSolid[] = "solid";
  if (bytes.size() - i < 5) return false;
  for (int k = 0; k < 5; ++k)
    if ((bytes[i + k] | 0x20) != kSolid[k]) return false;
  return true;
}

bool IsBinaryStl(std::span<const char> head, std::uint64_t size) {
  if (head.size() < kPreambleSize || ExpectedBinarySize(head) != size) return false;
  return !StartsWithSolid(head) || std::memchr(head.data(), 0, head.size()) != nullptr;
}

std::unique_ptr<MStlBase> ReadBinaryStl(MeshFile& file, std::span<const char> head) {
  CheckBinarySize(head, file.GetSize());
  const std::uint32_t count = ReadU32(head.data() + kHeaderSize);
  CornerWelder welder(std::size_t(count) * 3);

  // A few thousand records at a time: the piece stays in the cache while it is welded.
  constexpr std::size_t kPieceRecords = 4096;
  std::vector<char> piece(std::max(kPieceRecords * kRecordSize, head.size()));
  std::size_t held = head.size() - kPreambleSize;
  std::memcpy(piece.data(), head.data() + kPreambleSize, held);
  std::uint64_t unread = std::uint64_t(count) * kRecordSize - held;
  for (std::uint32_t done = 0; done < count;) {
    const std::size_t want = std::size_t(std::min<std::uint64_t>(piece.size() - held, unread));
    const std::size_t got = file.Read({piece.data() + held, want});
    if (got < want) throw MStlReadError(file.GetPath(), "the file shrank while it was read");
    unread -= got;
    held += got;
    const std::size_t records = held / kRecordSize;
    WeldRecords(piece.data(), records, done, welder);
    done += std::uint32_t(records);
    held -= records * kRecordSize;
    std::memmove(piece.data(), piece.data() + records * kRecordSize, held);
  }
  file.ExpectEnd();
  return BuildWelded(welder);
}

std::unique_ptr<MStlBase> BuildWelded(CornerWelder& welder) {
  welder.Flush();
  MStlLargeVector<std::int32_t> points = welder.TakePoints();
  MStlLargeVector<std::uint32_t> corners = welder.TakeIndices();
  // Turned before the mesh is made, so that its normals come out right the first time.
  OrientOutward(points, corners);
  MStlBuilder builder;
  builder.AdoptPointsInUnits(std::move(points));
  builder.AdoptSurface(std::move(corners));
  return builder.Build();
}

}  // namespace stl_detail

MStlReadError::MStlReadError(const std::string& path, const std::string& problem)
    : MStlReadError(path, problem, "cannot read '" + path + "': " + problem) {}

MStlReadError::MStlReadError(const std::string& path, const std::string& problem, const std::string& message)
    : std::runtime_error(message), m_path(path), m_problem(problem) {}

MStlReadError MStlReadError::NotAMesh(const std::string& path) {
  const std::string problem = "not a mesh file this program reads (binary or ASCII STL, OBJ, PLY)";
  return MStlReadError(path, problem, "'" + path + "' is " + problem);
}

std::unique_ptr<MStlBase> ReadStlFromMemory(std::span<const char> bytes, const std::string& name) {
  if (bytes.empty()) throw MStlReadError(name, "the file is empty");
  try {
    return ParseStl(bytes);
  } catch (const StlProblem& e) {
    throw MStlReadError(name, e.what());
  } catch (const std::bad_alloc&) {
    throw MStlReadError(name, "not enough memory to read it");
  }
}

std::unique_ptr<MStlBase> ReadStl(const std::string& path, std::uint64_t maxBytes) {
  try {
    stl_detail::MeshFile file(path, maxBytes);
    std::vector<char> head(std::size_t(std::min<std::uint64_t>(file.GetSize(), stl_detail::kHeadBytes)));
    head.resize(file.Read(head));
    if (stl_detail::IsBinaryStl(head, file.GetSize())) return stl_detail::ReadBinaryStl(file, head);
    const stl_detail::MeshFile::Bytes bytes = file.ReadRest(head);
    return ReadStlFromMemory(bytes.View(), path);
  } catch (const StlProblem& e) {
    throw MStlReadError(path, e.what());
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
