#include "host/mesh/Implementation/PlyLayout.h"

#include "host/mesh/Implementation/StlCorner.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace stl_detail {
namespace {

struct ScalarType {
  std::uint8_t bytes = 0;  // 0: unknown
  bool integer = false;
  bool isSigned = false;
};

ScalarType TypeNamed(std::string_view name) {
  static constexpr struct {
    std::string_view names[2];
    ScalarType type;
  } kTypes[] = {
      {{"char", "int8"}, {1, true, true}},     {{"uchar", "uint8"}, {1, true, false}},
      {{"short", "int16"}, {2, true, true}},   {{"ushort", "uint16"}, {2, true, false}},
      {{"int", "int32"}, {4, true, true}},     {{"uint", "uint32"}, {4, true, false}},
      {{"float", "float32"}, {4, false, true}}, {{"double", "float64"}, {8, false, true}},
  };
  for (const auto& t : kTypes)
    if (name == t.names[0] || name == t.names[1]) return t.type;
  return {};
}

struct Property {
  ScalarType type;       // of the value, or of a list's items
  ScalarType countType;  // of a list's count; bytes 0 for a scalar
};

struct Element {
  std::string name;
  std::uint64_t count = 0;
  std::vector<Property> properties;
};

enum class EEncoding { eAscii, eLittleEndian, eBigEndian };

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
    const std::size_t start = at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r') ++at;
    if (at > start) words.push_back(line.substr(start, at - start));
  }
  return words;
}

[[noreturn]] void Malformed(unsigned line, const std::string& what) {
  throw StlProblem("malformed PLY: header line " + std::to_string(line) + ": " + what);
}

[[noreturn]] void Cut(const Element& e, std::uint64_t instance) {
  throw StlProblem("truncated PLY: the file ends within " + e.name + " " + std::to_string(instance) + " of the " +
                   std::to_string(e.count) + " its header announces");
}

// A list count in the file's byte order; false when it is negative.
bool ReadCount(const char* p, ScalarType type, bool bigEndian, std::uint64_t& count) {
  unsigned char b[4] = {};
  std::memcpy(b, p, type.bytes);
  std::uint32_t raw = 0;
  for (int i = 0; i < type.bytes; ++i) raw |= std::uint32_t(b[bigEndian ? type.bytes - 1 - i : i]) << (8 * i);
  if (type.isSigned && (raw >> (8 * type.bytes - 1)) & 1u) return false;
  count = raw;
  return true;
}

void CheckBinary(std::span<const char> body, const std::vector<Element>& elements, bool bigEndian) {
  std::uint64_t at = 0;
  const std::uint64_t size = body.size();
  for (const Element& e : elements) {
    std::uint64_t fixed = 0;
    bool lists = false;
    for (const Property& p : e.properties) {
      lists |= p.countType.bytes != 0;
      if (p.countType.bytes == 0) fixed += p.type.bytes;
    }
    if (!lists) {  // all instances alike: one check
      if (fixed != 0 && e.count > (size - at) / fixed) Cut(e, (size - at) / fixed);
      at += e.count * fixed;
      continue;
    }
    for (std::uint64_t i = 0; i < e.count; ++i)
      for (const Property& p : e.properties) {
        if (p.countType.bytes == 0) {
          if (size - at < p.type.bytes) Cut(e, i);
          at += p.type.bytes;
          continue;
        }
        std::uint64_t count = 0;
        if (size - at < p.countType.bytes) Cut(e, i);
        if (!ReadCount(body.data() + at, p.countType, bigEndian, count))
          throw StlProblem("malformed PLY: " + e.name + " " + std::to_string(i) + " has a list of negative length");
        at += p.countType.bytes;
        if (count > (size - at) / p.type.bytes) Cut(e, i);
        at += count * p.type.bytes;
      }
  }
}

void CheckAscii(std::span<const char> body, const std::vector<Element>& elements) {
  const char* p = body.data();
  const char* const end = body.data() + body.size();
  auto next = [&](std::string_view& token) {
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')) ++p;
    const char* start = p;
    while (p < end && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') ++p;
    token = {start, std::size_t(p - start)};
    return p > start;
  };
  auto number = [](std::string_view token) {
    double value;
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    const auto [stop, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return stop == token.data() + token.size() && !token.empty() && ec != std::errc::invalid_argument;
  };
  std::string_view token;
  for (const Element& e : elements)
    for (std::uint64_t i = 0; i < e.count; ++i)
      for (const Property& prop : e.properties) {
        std::uint64_t values = 1;
        if (prop.countType.bytes != 0) {
          if (!next(token)) Cut(e, i);
          const auto [stop, ec] = std::from_chars(token.data(), token.data() + token.size(), values);
          if (ec != std::errc() || stop != token.data() + token.size())
            throw StlProblem("malformed PLY: " + e.name + " " + std::to_string(i) + ": a list length must be a count, not '" +
                             std::string(token.substr(0, 20)) + "'");
        }
        for (std::uint64_t v = 0; v < values; ++v) {
          if (!next(token)) Cut(e, i);
          if (!number(token))
            throw StlProblem("malformed PLY: " + e.name + " " + std::to_string(i) + ": '" +
                             std::string(token.substr(0, 20)) + "' is not a number");
        }
      }
}

}  // namespace

void CheckPlyLayout(std::span<const char> bytes) {
  const std::string_view text(bytes.data(), bytes.size());
  std::vector<Element> elements;
  EEncoding encoding = EEncoding::eAscii;
  bool format = false;
  std::size_t at = 0;
  for (unsigned line = 1;; ++line) {
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) Malformed(line, "the header has no end_header line");
    const std::vector<std::string_view> w = Words(text.substr(at, end - at));
    at = end + 1;
    if (line == 1) {
      if (w.size() != 1 || w[0] != "ply") Malformed(line, "the file does not start with 'ply'");
      continue;
    }
    if (w.empty() || w[0] == "comment" || w[0] == "obj_info") continue;
    if (w[0] == "end_header") break;
    if (w[0] == "format") {
      if (w.size() != 3 || w[2] != "1.0") Malformed(line, "expected 'format <encoding> 1.0'");
      if (w[1] == "ascii") {
        encoding = EEncoding::eAscii;
      } else if (w[1] == "binary_little_endian") {
        encoding = EEncoding::eLittleEndian;
      } else if (w[1] == "binary_big_endian") {
        encoding = EEncoding::eBigEndian;
      } else {
        Malformed(line, "unknown encoding '" + std::string(w[1]) + "'");
      }
      format = true;
    } else if (w[0] == "element") {
      Element e;
      // A count too large for 64 bits is malformed too: from_chars then leaves the count
      // at 0, and the importer would go on to read (and allocate for) the header's figure.
      const auto [stop, ec] = w.size() == 3 ? std::from_chars(w[2].data(), w[2].data() + w[2].size(), e.count)
                                            : std::from_chars_result{nullptr, std::errc::invalid_argument};
      if (ec != std::errc() || stop != w[2].data() + w[2].size()) Malformed(line, "expected 'element <name> <count>'");
      e.name = std::string(w[1]);
      elements.push_back(std::move(e));
    } else if (w[0] == "property") {
      if (elements.empty()) Malformed(line, "a property before any element");
      Property p;
      if (w.size() == 5 && w[1] == "list") {
        p.countType = TypeNamed(w[2]);
        p.type = TypeNamed(w[3]);
        if (p.countType.bytes == 0 || !p.countType.integer || p.countType.bytes > 4 || p.type.bytes == 0)
          Malformed(line, "expected 'property list <integer type> <type> <name>'");
      } else {
        p.type = w.size() == 3 ? TypeNamed(w[1]) : ScalarType{};
        if (p.type.bytes == 0) Malformed(line, "expected 'property <type> <name>'");
      }
      elements.back().properties.push_back(p);
    } else {
      Malformed(line, "unknown keyword '" + std::string(w[0].substr(0, 20)) + "'");
    }
  }
  if (!format) throw StlProblem("malformed PLY: the header has no format line");
  const std::span<const char> body = bytes.subspan(at);
  if (encoding == EEncoding::eAscii)
    CheckAscii(body, elements);
  else
    CheckBinary(body, elements, encoding == EEncoding::eBigEndian);
}

}  // namespace stl_detail
