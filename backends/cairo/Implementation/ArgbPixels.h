#pragma once
// Pixels between MImageRGBA and Cairo's image format.
//
// MImageRGBA keeps four bytes per pixel in the order red, green, blue, alpha, top row
// first, with straight (not premultiplied) colours. Cairo's CAIRO_FORMAT_ARGB32 keeps one
// native-endian 32-bit word per pixel, alpha in bits 24-31, red 16-23, green 8-15 and blue
// 0-7 (on a little-endian machine the bytes read blue, green, red, alpha), with each colour
// premultiplied by alpha. Going in, colours are multiplied by alpha / 255 with rounding;
// coming out they are divided again with rounding. Opaque pixels, which a rendered frame
// holds, pass both ways unchanged; a translucent pixel may move by the premultiplication's
// rounding, but once in Cairo's form it stays put through any number of round trips.
#include <algorithm>
#include <cstdint>

namespace cairo_gdi {

inline std::uint32_t RgbaToArgb32(const std::uint8_t* rgba) {
  const std::uint32_t a = rgba[3];
  // Opaque pixels (every pixel of a rendered frame) need no arithmetic.
  if (a == 255) return 0xFF000000u | (std::uint32_t(rgba[0]) << 16) | (std::uint32_t(rgba[1]) << 8) | rgba[2];
  auto premultiply = [a](std::uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (premultiply(rgba[0]) << 16) | (premultiply(rgba[1]) << 8) | premultiply(rgba[2]);
}

inline void Argb32ToRgba(std::uint32_t word, std::uint8_t* rgba) {
  const std::uint32_t a = word >> 24;
  if (a == 255) {
    rgba[0] = std::uint8_t(word >> 16);
    rgba[1] = std::uint8_t(word >> 8);
    rgba[2] = std::uint8_t(word);
    rgba[3] = 255;
    return;
  }
  // Inverting a translucent pixel can leave a colour above its alpha; it stops at 255.
  auto straight = [a](std::uint32_t c) {
    return a == 0 ? std::uint8_t(0) : std::uint8_t(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
  };
  rgba[0] = straight((word >> 16) & 0xFF);
  rgba[1] = straight((word >> 8) & 0xFF);
  rgba[2] = straight(word & 0xFF);
  rgba[3] = std::uint8_t(a);
}

}  // namespace cairo_gdi
