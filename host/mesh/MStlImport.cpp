#include "host/mesh/MStlImport.h"

#include "host/mesh/Implementation/AssimpImport.h"
#include "host/mesh/Implementation/MeshFile.h"
#include "host/mesh/Implementation/StlReading.h"
#include "host/mesh/MStlBase.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace {

enum class EFormat { eBinaryStl, eStl, eObj, ePly, eUnknown };

bool HasExtension(const std::string& path, std::string_view extension) {
  if (path.size() < extension.size()) return false;
  for (std::size_t i = 0; i < extension.size(); ++i) {
    const char c = path[path.size() - extension.size() + i];
    if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != extension[i]) return false;
  }
  return true;
}

// The first line is "ply" alone.
bool IsPly(std::span<const char> head) {
  const std::string_view text(head.data(), head.size());
  return text.starts_with("ply\n") || text.starts_with("ply\r\n");
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Text editors on some systems start UTF-8 text with a byte order mark.
std::span<const char> WithoutByteOrderMark(std::span<const char> text) {
  return std::string_view(text.data(), text.size()).starts_with("\xEF\xBB\xBF") ? text.subspan(3) : text;
}

// OBJ is text of statements, one a line, each opened by a keyword. It looks like OBJ
// when its first statement has an OBJ keyword and a vertex follows within the head; a
// file named .obj needs only the first (its head may be all comments, or end before the
// first vertex).
bool LooksLikeObj(std::span<const char> head, bool wholeFile, bool namedObj) {
  static constexpr std::string_view kKeywords[] = {
      "v", "vt", "vn", "vp", "f", "l", "p", "o", "g", "s", "mtllib", "usemtl", "maplib", "usemap", "lod",
      "bevel", "c_interp", "d_interp", "shadow_obj", "trace_obj", "cstype", "deg", "bmat", "step", "curv",
      "curv2", "surf", "parm", "trim", "hole", "scrv", "sp", "end", "con", "mg", "ctech", "stech", "call", "csh"};
  if (std::memchr(head.data(), 0, head.size())) return false;
  const std::string_view text(head.data(), head.size());
  bool first = true, vertex = false;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) {
      if (!wholeFile) break;  // the head cuts this line
      end = text.size();
    }
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    while (!line.empty() && IsSpace(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() == '#') continue;
    std::size_t length = 0;
    while (length < line.size() && !IsSpace(line[length])) ++length;
    const std::string_view keyword = line.substr(0, length);
    if (first && std::find(std::begin(kKeywords), std::end(kKeywords), keyword) == std::end(kKeywords)) return false;
    first = false;
    if (keyword == "v") {
      vertex = true;
      break;
    }
  }
  return vertex || namedObj;
}

EFormat ChooseFormat(const std::string& path, std::span<const char> head, std::uint64_t size) {
  // PLY's magic line first: a short binary PLY header could hold anything at the binary
  // STL's count. Text never matches that count (its bytes make it billions).
  if (IsPly(head)) return EFormat::ePly;
  if (stl_detail::IsBinaryStl(head, size)) return EFormat::eBinaryStl;
  if (stl_detail::StartsWithSolid(head)) return EFormat::eStl;
  if (LooksLikeObj(WithoutByteOrderMark(head), head.size() == size, HasExtension(path, ".obj"))) return EFormat::eObj;
  // Broken STL is still best told as STL.
  if (HasExtension(path, ".stl")) return EFormat::eStl;
  return EFormat::eUnknown;
}

std::unique_ptr<MStlBase> Read(stl_detail::MeshFile& file) {
  const std::string& path = file.GetPath();
  if (file.GetSize() == 0) throw MStlReadError(path, "the file is empty");
  std::vector<char> head(std::size_t(std::min<std::uint64_t>(file.GetSize(), stl_detail::kHeadBytes)));
  head.resize(file.Read(head));
  const EFormat format = ChooseFormat(path, head, file.GetSize());
  if (format == EFormat::eUnknown) throw MStlReadError::NotAMesh(path);
  if (format == EFormat::eBinaryStl) return stl_detail::ReadBinaryStl(file, head);
  const stl_detail::MeshFile::Bytes bytes = file.ReadRest(head);
  if (format == EFormat::eStl) return ReadStlFromMemory(bytes.View(), path);
  if (format == EFormat::eObj)  // the importer would take the mark for part of the first statement
    return stl_detail::ImportWithAssimp(WithoutByteOrderMark(bytes.View()), stl_detail::EAssimpFormat::eObj);
  return stl_detail::ImportWithAssimp(bytes.View(), stl_detail::EAssimpFormat::ePly);
}

}  // namespace

std::unique_ptr<MStlBase> ImportMesh(const std::string& path, std::uint64_t maxBytes) {
  try {
    stl_detail::MeshFile file(path, maxBytes);
    return Read(file);
  } catch (const stl_detail::StlProblem& e) {
    throw MStlReadError(path, e.what());
  } catch (const std::bad_alloc&) {
    throw MStlReadError(path, "not enough memory to read it");
  }
}
