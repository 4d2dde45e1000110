#include "host/mesh/Implementation/StlAsciiParser.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace stl_detail {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool EqualsKeyword(std::string_view token, std::string_view keyword) {
  if (token.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < token.size(); ++i) {
    char c = token[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != keyword[i]) return false;
  }
  return true;
}

// Whitespace-separated tokens with the line each starts on.
class Tokenizer {
public:
  explicit Tokenizer(std::span<const char> text) : m_p(text.data()), m_end(text.data() + text.size()) {}

  // An empty view at the end of the text.
  std::string_view Next() {
    while (m_p < m_end && IsSpace(*m_p)) {
      if (*m_p == '\n') ++m_line;
      ++m_p;
    }
    const char* start = m_p;
    while (m_p < m_end && !IsSpace(*m_p)) ++m_p;
    return {start, std::size_t(m_p - start)};
  }

  // Names after "solid" and "endsolid" run to the end of their line and may hold spaces.
  void SkipRestOfLine() {
    while (m_p < m_end && *m_p != '\n') ++m_p;
  }

  unsigned GetLine() const { return m_line; }

private:
  const char* m_p;
  const char* m_end;
  unsigned m_line = 1;
};

class Parser {
public:
  Parser(std::span<const char> text, std::vector<Corner>& corners) : m_tokens(text), m_corners(corners) {}

  // False with m_error set on a syntax error.
  bool Parse() {
    std::string_view token = m_tokens.Next();
    if (!EqualsKeyword(token, "solid")) return Fail("expected 'solid'", token);
    do {
      m_tokens.SkipRestOfLine();
      if (!ParseFacets()) return false;
      m_tokens.SkipRestOfLine();
      token = m_tokens.Next();
    } while (EqualsKeyword(token, "solid"));
    if (!token.empty()) return Fail("expected 'solid' or the end of the file after 'endsolid'", token);
    return true;
  }

  const std::string& GetError() const { return m_error; }

private:
  // Facets up to and including "endsolid".
  bool ParseFacets() {
    for (;;) {
      std::string_view token = m_tokens.Next();
      if (EqualsKeyword(token, "endsolid")) return true;
      if (!EqualsKeyword(token, "facet")) return Fail("expected 'facet' or 'endsolid'", token);
      if (!Expect("normal")) return false;
      double normal[3];
      for (double& n : normal)
        if (!ParseNumber(n)) return false;  // the normal is recomputed; only its syntax matters
      if (!Expect("outer") || !Expect("loop")) return false;
      for (int k = 0; k < 3; ++k) {
        if (!Expect("vertex")) return false;
        const unsigned line = m_tokens.GetLine();
        double v[3];
        for (double& c : v)
          if (!ParseNumber(c)) return false;
        m_corners.push_back(ToCorner(v[0], v[1], v[2], [&] { return "line " + std::to_string(line) + ": vertex"; }));
      }
      if (!Expect("endloop") || !Expect("endfacet")) return false;
    }
  }

  bool Expect(std::string_view keyword) {
    const std::string_view token = m_tokens.Next();
    return EqualsKeyword(token, keyword) || Fail("expected '" + std::string(keyword) + "'", token);
  }

  bool ParseNumber(double& value) {
    std::string_view token = m_tokens.Next();
    std::string_view digits = token;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);  // from_chars takes no '+'
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || end != digits.data() + digits.size()) return Fail("expected a number", token);
    if (ec == std::errc::result_out_of_range) {
      // Beyond double: from_chars leaves the value alone. Underflow means zero; overflow
      // is kept finite so that it is reported as a range problem, not as infinity.
      const double d = std::strtod(std::string(digits).c_str(), nullptr);
      value = std::isinf(d) ? std::copysign(1e308, d) : d;
    }
    return true;
  }

  bool Fail(const std::string& what, std::string_view found) {
    m_error = "line " + std::to_string(m_tokens.GetLine()) + ": " + what;
    if (found.empty()) {
      m_error += ", found the end of the file";
    } else {
      constexpr std::size_t kShown = 40;
      std::string shown(found.substr(0, kShown));
      for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
      m_error += ", found '" + shown + (found.size() > kShown ? "...'" : "'");
    }
    return false;
  }

  Tokenizer m_tokens;
  std::vector<Corner>& m_corners;
  std::string m_error;
};

}  // namespace

bool ParseAsciiStl(std::span<const char> text, std::vector<Corner>& corners, std::string& syntaxError) {
  Parser parser(text, corners);
  if (parser.Parse()) return true;
  syntaxError = parser.GetError();
  return false;
}

}  // namespace stl_detail
