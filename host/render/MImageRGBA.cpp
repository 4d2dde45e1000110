#include "host/render/MImageRGBA.h"

#include <png.h>

#include <cstring>

// libpng's simplified interface reports errors in the image record rather than through
// longjmp, so nothing unwinds through C frames.
void MImageRGBA::WritePng(const std::string& path) const {
  if (Empty()) throw MImageError(path + ": cannot write an empty image");
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = m_width;
  image.height = m_height;
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, m_pixels.data(), 0, nullptr)) {
    std::string message = image.message;
    png_image_free(&image);
    throw MImageError(path + ": cannot write PNG: " + message);
  }
}

MImageRGBA MImageRGBA::ReadPng(const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str()))
    throw MImageError(path + ": cannot read PNG: " + image.message);
  image.format = PNG_FORMAT_RGBA;
  MImageRGBA out(image.width, image.height);
  if (!png_image_finish_read(&image, nullptr, out.Data(), 0, nullptr)) {
    std::string message = image.message;
    png_image_free(&image);
    throw MImageError(path + ": cannot read PNG: " + message);
  }
  return out;
}
