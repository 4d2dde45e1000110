#pragma once
// A section border: contours in a plane, each a ring (or chain) of points with two plane
// coordinates and a payload per point, plus four flag bytes. Slicers fill borders; cut
// faces, outlines and vertex containers read them.
//
// Contours are made and thrown away by the thousand while a user drags a clip plane, so
// their point nodes come from a process-wide pool (M3dBorderNodePool.h) instead of the
// general heap. Copies are deep: a copied border shares nothing with its source.
#include "host/meshops/M3dBorderNodePool.h"

#include <boost/pool/pool_alloc.hpp>

#include <cstddef>
#include <list>
#include <utility>
#include <vector>

// One point of a contour: its coordinates in the section plane and its payload.
template <class T, class D>
struct M3dBorderPoint {
  T x{}, y{};
  D data{};
};

template <class T, class D>
class M3dBorderContour {
public:
  using Point = M3dBorderPoint<T, D>;
  using Allocator =
      boost::fast_pool_allocator<Point, M3dBorderNodeBlocks, boost::details::pool::default_mutex, 32, 0>;
  using PointList = std::list<Point, Allocator>;

  // Meaning of the flag bytes; the others are free for the producer's use.
  enum EFlag : unsigned { eFlagClosed = 0 };
  static constexpr unsigned kNumFlags = 4;

  M3dBorderContour() = default;
  M3dBorderContour(const M3dBorderContour&) = default;
  M3dBorderContour(M3dBorderContour&&) noexcept = default;
  M3dBorderContour& operator=(const M3dBorderContour&) = default;
  M3dBorderContour& operator=(M3dBorderContour&&) noexcept = default;
  ~M3dBorderContour() = default;

  // In order along the contour. A closed contour does not repeat its first point at the end.
  const PointList& GetPoints() const { return m_points; }
  PointList& GetPoints() { return m_points; }
  std::size_t GetNumPoints() const { return m_points.size(); }
  bool IsEmpty() const { return m_points.empty(); }

  void AddPoint(const Point& p) { m_points.push_back(p); }
  void AddPoint(T x, T y, const D& data) { m_points.push_back(Point{x, y, data}); }

  // Closed: the last point links back to the first.
  bool IsClosed() const { return m_flags[eFlagClosed] != 0; }
  void SetClosed(bool closed) { m_flags[eFlagClosed] = closed ? 1 : 0; }

  // Flag bytes 0..3, not range-tested.
  unsigned char GetFlag(unsigned i) const { return m_flags[i]; }
  void SetFlag(unsigned i, unsigned char value) { m_flags[i] = value; }

  // Drops the points and clears the flags.
  void Clear() {
    m_points.clear();
    m_flags[0] = m_flags[1] = m_flags[2] = m_flags[3] = 0;
  }

private:
  PointList m_points;
  unsigned char m_flags[kNumFlags] = {0, 0, 0, 0};
};

template <class T, class D>
class M3dBorder {
public:
  using Contour = M3dBorderContour<T, D>;
  using Point = typename Contour::Point;

  M3dBorder() = default;
  M3dBorder(const M3dBorder&) = default;
  M3dBorder(M3dBorder&&) noexcept = default;
  M3dBorder& operator=(const M3dBorder&) = default;
  M3dBorder& operator=(M3dBorder&&) noexcept = default;
  ~M3dBorder() = default;

  std::size_t GetNumContours() const { return m_contours.size(); }
  // Not range-tested.
  const Contour& GetContour(std::size_t i) const { return m_contours[i]; }
  Contour& GetContour(std::size_t i) { return m_contours[i]; }
  bool IsEmpty() const { return m_contours.empty(); }

  // Appends a contour after the others and answers it.
  Contour& AddContour() { return m_contours.emplace_back(); }
  Contour& AddContour(const Contour& c) { return m_contours.emplace_back(c); }
  Contour& AddContour(Contour&& c) { return m_contours.emplace_back(std::move(c)); }

  void Clear() { m_contours.clear(); }

private:
  std::vector<Contour> m_contours;
};
