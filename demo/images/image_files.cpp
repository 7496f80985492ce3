#include "demo/images/image_files.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>

namespace wevo::demo::images {

namespace {

void put16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

uint32_t rgbKey(const Rgba& c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }

// Codes of a varying width packed from the lowest bit up, cut into the
// sub-blocks of at most 255 bytes that GIF image data is made of.
class CodeWriter {
 public:
  void put(unsigned code, int width) {
    bits_ |= static_cast<uint64_t>(code) << count_;
    count_ += width;
    while (count_ >= 8) {
      bytes_.push_back(static_cast<uint8_t>(bits_ & 0xFF));
      bits_ >>= 8;
      count_ -= 8;
    }
  }
  void finish(std::vector<uint8_t>& out) {
    if (count_ > 0) bytes_.push_back(static_cast<uint8_t>(bits_ & 0xFF));
    for (size_t i = 0; i < bytes_.size(); i += 255) {
      size_t n = std::min<size_t>(255, bytes_.size() - i);
      out.push_back(static_cast<uint8_t>(n));
      out.insert(out.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(i),
                 bytes_.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    out.push_back(0);
  }

 private:
  uint64_t bits_ = 0;
  int count_ = 0;
  std::vector<uint8_t> bytes_;
};

// GIF's LZW over 8-bit indices. A decoder adds each table entry one code
// later than the encoder and widens its codes when its next free entry
// reaches the width's limit; the widths below follow it code for code.
void lzw(const std::vector<uint8_t>& indices, std::vector<uint8_t>& out) {
  constexpr int kMinBits = 8;
  constexpr unsigned kClear = 1u << kMinBits, kEnd = kClear + 1, kMaxCodes = 4096;
  std::vector<uint16_t> next(static_cast<size_t>(kMaxCodes) * 256, 0);  // (prefix, byte) -> code; 0: none
  CodeWriter w;
  int width = kMinBits + 1;
  unsigned last = kEnd;  // the last code given a meaning
  bool added = false;    // an entry was added since the last clear
  w.put(kClear, width);
  unsigned prefix = indices[0];
  for (size_t i = 1; i < indices.size(); ++i) {
    const uint8_t k = indices[i];
    uint16_t& slot = next[static_cast<size_t>(prefix) * 256 + k];
    if (slot != 0) {
      prefix = slot;
      continue;
    }
    w.put(prefix, width);
    slot = static_cast<uint16_t>(++last);
    added = true;
    if (last >= (1u << width) && width < 12) ++width;
    if (last == kMaxCodes - 1) {
      w.put(kClear, width);
      std::fill(next.begin(), next.end(), 0);
      width = kMinBits + 1;
      last = kEnd;
      added = false;
    }
    prefix = k;
  }
  w.put(prefix, width);
  // Reading that last code the decoder adds the entry it still owes, which
  // may widen the end code.
  if (added && last + 1 >= (1u << width) && width < 12) ++width;
  w.put(kEnd, width);
  out.push_back(kMinBits);
  w.finish(out);
}

uint8_t clampByte(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// A small fixed generator, so that the speckles are the same on every build.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(seed) {}
  uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  uint32_t state_;
};

}  // namespace

std::vector<uint8_t> encodeGif(const Picture& picture) {
  const int w = picture.width, h = picture.height;
  if (w <= 0 || h <= 0 || w > 65535 || h > 65535 ||
      picture.pixels.size() != static_cast<size_t>(w) * static_cast<size_t>(h))
    return {};
  std::map<uint32_t, uint8_t> palette;
  std::vector<uint8_t> indices;
  indices.reserve(picture.pixels.size());
  for (const Rgba& c : picture.pixels) {
    auto [it, added] = palette.emplace(rgbKey(c), static_cast<uint8_t>(palette.size() & 0xFF));
    if (added && palette.size() > 256) return {};
    indices.push_back(it->second);
  }
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  put16(out, static_cast<unsigned>(w));
  put16(out, static_cast<unsigned>(h));
  out.push_back(0xF7);  // a global palette of 256 entries, 8 bits a primary
  out.push_back(0);     // background: entry 0
  out.push_back(0);     // square pixels
  std::vector<uint8_t> table(256 * 3, 0);
  for (const auto& [rgb, index] : palette) {
    table[index * 3u] = static_cast<uint8_t>(rgb >> 16);
    table[index * 3u + 1] = static_cast<uint8_t>((rgb >> 8) & 0xFF);
    table[index * 3u + 2] = static_cast<uint8_t>(rgb & 0xFF);
  }
  out.insert(out.end(), table.begin(), table.end());
  out.push_back(0x2C);  // the image, at 0,0, the whole screen, no palette of its own
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<unsigned>(w));
  put16(out, static_cast<unsigned>(h));
  out.push_back(0);
  lzw(indices, out);
  out.push_back(0x3B);
  return out;
}

std::vector<uint8_t> encodeIco(const Picture& picture) {
  const int w = picture.width, h = picture.height;
  if (w <= 0 || h <= 0 || w > 256 || h > 256 ||
      picture.pixels.size() != static_cast<size_t>(w) * static_cast<size_t>(h))
    return {};
  const uint32_t maskRow = static_cast<uint32_t>((w + 31) / 32 * 4);
  const uint32_t colorBytes = static_cast<uint32_t>(w * h * 4);
  const uint32_t maskBytes = maskRow * static_cast<uint32_t>(h);
  const uint32_t imageBytes = 40 + colorBytes + maskBytes;
  std::vector<uint8_t> out;
  put16(out, 0);  // reserved
  put16(out, 1);  // an icon
  put16(out, 1);  // one image
  out.push_back(static_cast<uint8_t>(w == 256 ? 0 : w));
  out.push_back(static_cast<uint8_t>(h == 256 ? 0 : h));
  out.push_back(0);  // no palette
  out.push_back(0);
  put16(out, 1);   // planes
  put16(out, 32);  // bits a pixel
  put32(out, imageBytes);
  put32(out, 6 + 16);  // the image follows the directory
  // The image: a bitmap header whose height counts the colours and the mask.
  put32(out, 40);
  put32(out, static_cast<uint32_t>(w));
  put32(out, static_cast<uint32_t>(h * 2));
  put16(out, 1);
  put16(out, 32);
  put32(out, 0);  // uncompressed
  put32(out, colorBytes + maskBytes);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  for (int y = h - 1; y >= 0; --y)  // bottom row first
    for (int x = 0; x < w; ++x) {
      const Rgba& c = picture.at(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
      out.push_back(c.a);
    }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskRow, 0);
    for (int x = 0; x < w; ++x)
      if (picture.at(x, y).a == 0) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

Picture lavenderSpeckled() {
  const Rgba ground{230, 224, 246, 255};
  const Rgba specks[] = {{200, 186, 232, 255}, {176, 158, 218, 255}, {244, 240, 252, 255},
                         {214, 204, 240, 255}, {150, 128, 200, 255}, {255, 255, 255, 255}};
  Picture p(192, 192, ground);
  Lcg rng(0x5EC1u);
  for (int i = 0; i < 2600; ++i) {
    const int x = static_cast<int>(rng.next() % 192), y = static_cast<int>(rng.next() % 192);
    const Rgba c = specks[rng.next() % 6];
    p.at(x, y) = c;
    if (rng.next() % 4 == 0) p.at((x + 1) % 192, y) = c;  // a few specks two pixels wide
  }
  return p;
}

Picture sphereIcon() {
  Picture p(32, 32, Rgba{0, 0, 0, 0});
  const double cx = 15.5, cy = 15.5, radius = 14.5;
  // Light from the upper left, a little in front.
  const double lx = -0.45, ly = -0.55, lz = 0.70;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const double dx = (x - cx) / radius, dy = (y - cy) / radius;
      const double d2 = dx * dx + dy * dy;
      const double edge = std::clamp((1.0 - std::sqrt(d2)) * radius + 0.5, 0.0, 1.0);
      if (edge <= 0) continue;
      const double dz = std::sqrt(std::max(0.0, 1.0 - d2));
      const double diffuse = std::max(0.0, dx * lx + dy * ly + dz * lz);
      const double shine = std::pow(diffuse, 24);
      const double light = 0.25 + 0.75 * diffuse;
      p.at(x, y) = Rgba{clampByte(40 * light + 255 * shine), clampByte(110 * light + 255 * shine),
                        clampByte(220 * light + 255 * shine), clampByte(255 * edge)};
    }
  return p;
}

Picture frameIcon() {
  Picture p(32, 32, Rgba{0, 0, 0, 0});
  const Rgba border{40, 40, 60, 255}, title{30, 70, 160, 255}, body{250, 250, 250, 255}, line{150, 160, 180, 255},
      button{220, 60, 60, 255};
  for (int y = 3; y <= 28; ++y)
    for (int x = 1; x <= 30; ++x) {
      const bool edge = y == 3 || y == 28 || x == 1 || x == 30;
      p.at(x, y) = edge ? border : (y <= 9 ? title : body);
    }
  for (int y = 5; y <= 7; ++y)
    for (int x = 25; x <= 27; ++x) p.at(x, y) = button;
  for (int row : {13, 17, 21, 25})
    for (int x = 5; x <= (row == 25 ? 16 : 26); ++x) p.at(x, row) = line;
  return p;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return false;
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f.flush());
}

bool writeDemoImages(const std::string& folder, std::string& error) {
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
  } files[] = {{"Lavender Speckled.gif", encodeGif(lavenderSpeckled())},
               {"MySpereIcon.ico", encodeIco(sphereIcon())},
               {"WAFRAME.ICO", encodeIco(frameIcon())}};
  for (const auto& f : files) {
    const std::string path = folder.empty() ? f.name : folder + "/" + f.name;
    if (!writeFile(path, f.bytes)) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace wevo::demo::images
