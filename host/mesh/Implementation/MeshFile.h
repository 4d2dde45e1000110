#pragma once
// Internal to the mesh readers: a mesh file opened for reading after the checks that
// every format shares (a regular file, of bounded size), read in pieces or whole.
#include "host/mesh/MStlLargeAllocator.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace stl_detail {

class MeshFile {
public:
  // Throws MStlReadError naming the file when it cannot be opened, is not a regular
  // file, or has more than maxBytes.
  MeshFile(const std::string& path, std::uint64_t maxBytes);
  ~MeshFile();
  MeshFile(const MeshFile&) = delete;
  MeshFile& operator=(const MeshFile&) = delete;

  const std::string& GetPath() const { return m_path; }
  // The size the file had when it was opened.
  std::uint64_t GetSize() const { return m_size; }

  // Reads on from where the last read stopped until `into` is full or the file ends;
  // answers the bytes read.
  std::size_t Read(std::span<char> into);
  // Throws unless everything the file had when it was opened has been read and no more:
  // the file must not change while it is read.
  void ExpectEnd();

  // The rest of the file after `head`, the bytes read so far, as one piece with the head.
  struct Bytes {
    MStlLargeVector<char> data;  // only data[0, size) is file content
    std::size_t size = 0;
    std::span<const char> View() const { return {data.data(), size}; }
  };
  Bytes ReadRest(std::span<const char> head);

private:
  std::string m_path;
  int m_fd = -1;
  std::uint64_t m_size = 0;
  std::uint64_t m_read = 0;
};

}  // namespace stl_detail
