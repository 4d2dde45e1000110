#pragma once
// An 8-bit RGBA image, top row first, with PNG input and output.
#include "host/HostApi.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class VISTAL_HOST_API MImageRGBA {
public:
  MImageRGBA() = default;
  MImageRGBA(unsigned width, unsigned height) : m_width(width), m_height(height), m_pixels(std::size_t(width) * height * 4) {}

  unsigned Width() const { return m_width; }
  unsigned Height() const { return m_height; }
  bool Empty() const { return m_pixels.empty(); }
  std::uint8_t* Data() { return m_pixels.data(); }
  const std::uint8_t* Data() const { return m_pixels.data(); }
  std::uint8_t* Pixel(unsigned x, unsigned y) { return &m_pixels[(std::size_t(y) * m_width + x) * 4]; }
  const std::uint8_t* Pixel(unsigned x, unsigned y) const { return &m_pixels[(std::size_t(y) * m_width + x) * 4]; }

  // Throws MImageError naming the file and the problem.
  void WritePng(const std::string& path) const;
  static MImageRGBA ReadPng(const std::string& path);

private:
  unsigned m_width = 0;
  unsigned m_height = 0;
  std::vector<std::uint8_t> m_pixels;
};

class VISTAL_HOST_API MImageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
