// The demonstration's pictures, drawn in code and written as GIF and ICO
// files, so that the program needs no image files from anywhere else.
#ifndef WEVO_DEMO_IMAGES_IMAGE_FILES_H_
#define WEVO_DEMO_IMAGES_IMAGE_FILES_H_

#include <cstdint>
#include <string>
#include <vector>

namespace wevo::demo::images {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

// Pixels row by row, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  Picture() = default;
  Picture(int w, int h, Rgba fill = {}) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  Rgba& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  const Rgba& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A GIF89a of the picture, LZW-compressed, with its colours as the global
// palette. Alpha is ignored. Empty when the picture is empty, larger than
// 65535 pixels either way, or has more than 256 colours.
std::vector<uint8_t> encodeGif(const Picture& picture);

// An icon file holding the picture as one 32-bit image with alpha (and the
// matching transparency mask). Empty when the picture is empty or larger
// than 256 pixels either way.
std::vector<uint8_t> encodeIco(const Picture& picture);

// The pictures the demonstration shows.
Picture lavenderSpeckled();  // the sample window's wallpaper: lavender with darker and lighter specks
Picture sphereIcon();        // a shaded ball on a transparent ground, 32 x 32
Picture frameIcon();         // a small application window, 32 x 32

// Writes every byte to `path`; false when it cannot.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Writes the three files the program looks for into `folder`:
// "Lavender Speckled.gif", "MySpereIcon.ico" and "WAFRAME.ICO".
bool writeDemoImages(const std::string& folder, std::string& error);

}  // namespace wevo::demo::images

#endif  // WEVO_DEMO_IMAGES_IMAGE_FILES_H_
