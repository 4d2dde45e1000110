#pragma once
// A colour lookup over scalar values, as a volume rendering maps voxel values to colours:
// control points (value -> colour word, red in bits 0-7, green 8-15, blue 16-23, alpha
// 24-31) kept sorted by value, each channel interpolated linearly between neighbouring
// points and rounded to the nearest integer (halves up), clamped to the first and last
// colour outside them. Without points every value maps to 0 (transparent black).
//
// For value types of at most 16 bits a full table can be built once (GetTable) so that a
// renderer maps voxels by indexing; the table is rebuilt on demand after any change.
#include "host/win/WinTypes.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <type_traits>
#include <vector>

template <typename T>
class MColorTransferFunction {
public:
  // Whether the value type is small enough for a full lookup table.
  static constexpr bool kHasTable = std::is_integral_v<T> && sizeof(T) <= 2;

  MColorTransferFunction() = default;
  MColorTransferFunction(const MColorTransferFunction&) = default;
  MColorTransferFunction& operator=(const MColorTransferFunction&) = default;
  virtual ~MColorTransferFunction() = default;

  // Sets the colour at a value, replacing a point already there. A NaN value is ignored.
  void SetPoint(T value, COLORREF colour) {
    if constexpr (std::is_floating_point_v<T>) {
      if (std::isnan(value)) return;
    }
    m_points[value] = colour;
    m_table.clear();
  }
  // Answers whether there was a point at the value.
  bool RemovePoint(T value) {
    if (m_points.erase(value) == 0) return false;
    m_table.clear();
    return true;
  }
  void Clear() {
    m_points.clear();
    m_table.clear();
  }
  std::size_t GetNumPoints() const { return m_points.size(); }
  const std::map<T, COLORREF>& GetPoints() const { return m_points; }

  // The colour of a value, from the table when it is built, else by interpolation.
  COLORREF GetColor(T value) const {
    if constexpr (kHasTable) {
      if (!m_table.empty()) return m_table[Index(value)];
    }
    return Interpolate(value);
  }

  // The full table, one colour per value from the type's lowest to its highest, built
  // when first asked after a change. Not for concurrent first use: build it before
  // handing the function to worker threads.
  const COLORREF* GetTable()
    requires kHasTable
  {
    if (m_table.empty()) {
      constexpr std::size_t n = std::size_t(std::numeric_limits<T>::max()) - std::numeric_limits<T>::min() + 1;
      m_table.resize(n);
      FillTable();
    }
    return m_table.data();
  }
  bool IsTableBuilt() const { return !m_table.empty(); }

  bool operator==(const MColorTransferFunction& o) const { return m_points == o.m_points; }

private:
  static std::size_t Index(T value) { return std::size_t(std::ptrdiff_t(value) - std::numeric_limits<T>::min()); }

  static COLORREF Mix(COLORREF c0, COLORREF c1, double t) {
    COLORREF out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const double a = (c0 >> shift) & 0xFF, b = (c1 >> shift) & 0xFF;
      out |= COLORREF(std::floor(a + (b - a) * t + 0.5)) << shift;
    }
    return out;
  }

  COLORREF Interpolate(T value) const {
    if (m_points.empty()) return 0;
    auto hi = m_points.lower_bound(value);
    if (hi == m_points.end()) return std::prev(hi)->second;
    if (hi->first == value || hi == m_points.begin()) return hi->second;
    auto lo = std::prev(hi);
    const double t = (double(value) - double(lo->first)) / (double(hi->first) - double(lo->first));
    return Mix(lo->second, hi->second, t);
  }

  // One walk over the points instead of a search per value.
  void FillTable() {
    if (m_points.empty()) return;  // already zero
    const T lowest = std::numeric_limits<T>::min();
    auto first = m_points.begin();
    auto last = std::prev(m_points.end());
    for (std::size_t i = 0; i <= Index(first->first); ++i) m_table[i] = first->second;
    for (auto lo = first, hi = std::next(first); hi != m_points.end(); ++lo, ++hi) {
      const double span = double(hi->first) - double(lo->first);
      for (std::size_t i = Index(lo->first) + 1; i <= Index(hi->first); ++i)
        m_table[i] = Mix(lo->second, hi->second, (double(std::ptrdiff_t(i) + lowest) - double(lo->first)) / span);
    }
    for (std::size_t i = Index(last->first); i < m_table.size(); ++i) m_table[i] = last->second;
  }

  std::map<T, COLORREF> m_points;
  std::vector<COLORREF> m_table;
};
