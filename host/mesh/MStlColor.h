#pragma once
// Mesh colours, as data masks store them per point, triangle or surface. A colour is one
// RGBA word: red in bits 0-7, green 8-15, blue 16-23, alpha (255 opaque) 24-31.
#include "host/HostApi.h"

#include <cstdint>

class VISTAL_HOST_API MStlColor {
public:
  // Opaque white: an element nobody coloured shows its material unchanged.
  constexpr MStlColor() = default;
  constexpr explicit MStlColor(std::uint32_t rgba) : m_rgba(rgba) {}
  constexpr MStlColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255)
      : m_rgba(std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16 | std::uint32_t(a) << 24) {}

  constexpr std::uint32_t GetRGBA() const { return m_rgba; }
  constexpr std::uint8_t GetRed() const { return std::uint8_t(m_rgba); }
  constexpr std::uint8_t GetGreen() const { return std::uint8_t(m_rgba >> 8); }
  constexpr std::uint8_t GetBlue() const { return std::uint8_t(m_rgba >> 16); }
  constexpr std::uint8_t GetAlpha() const { return std::uint8_t(m_rgba >> 24); }

  constexpr bool operator==(const MStlColor& o) const { return m_rgba == o.m_rgba; }

private:
  std::uint32_t m_rgba = 0xFFFFFFFFu;
};

// The colours of a triangle's three corners, in the order of its points.
class VISTAL_HOST_API MStlColorTrianglePoints {
public:
  MStlColor corners[3];

  constexpr MStlColorTrianglePoints() = default;
  constexpr MStlColorTrianglePoints(MStlColor c0, MStlColor c1, MStlColor c2) : corners{c0, c1, c2} {}

  constexpr bool operator==(const MStlColorTrianglePoints& o) const {
    return corners[0] == o.corners[0] && corners[1] == o.corners[1] && corners[2] == o.corners[2];
  }
};
