// The pictures as Qt reads them back: every pixel of a GIF, the colours and
// transparency of an icon, and the three files the program looks for.
#include "demo/images/image_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QByteArray>
#include <QImage>
#include <string>

#include "tests/testing/base/temp_dir.h"

namespace wevo::demo::images {
namespace {

QImage decode(const std::vector<uint8_t>& bytes, const char* format) {
  return QImage::fromData(QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())),
                          format)
      .convertToFormat(QImage::Format_ARGB32);
}

// How many pixels differ from the picture (colour, and alpha when `alpha`).
int differences(const Picture& p, const QImage& img, bool alpha) {
  if (img.width() != p.width || img.height() != p.height) return -1;
  int n = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const Rgba& want = p.at(x, y);
      const QRgb got = img.pixel(x, y);
      if (alpha && qAlpha(got) != want.a) ++n;
      // Colours of fully transparent pixels are not kept.
      else if ((!alpha || want.a == 255) &&
               (qRed(got) != want.r || qGreen(got) != want.g || qBlue(got) != want.b))
        ++n;
    }
  return n;
}

// A strict reader of the GIFs encodeGif writes (one image, a global palette
// of 256): it insists on the end code, read at the width a reader has by
// then, and on nothing but padding after it. Empty when the file breaks a rule.
std::vector<Rgba> strictGif(const std::vector<uint8_t>& f) {
  if (f.size() < 13 + 768 + 10 + 2 || std::string(f.begin(), f.begin() + 6) != "GIF89a") return {};
  const int w = f[6] | f[7] << 8, h = f[8] | f[9] << 8;
  size_t at = 13 + 768;
  if (f[at] != 0x2C || f[at + 9] != 0) return {};
  at += 10;
  const int minBits = f[at++];
  std::vector<uint8_t> data;
  while (at < f.size() && f[at] != 0) {
    const size_t n = f[at++];
    data.insert(data.end(), f.begin() + static_cast<std::ptrdiff_t>(at), f.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  }
  if (at + 2 != f.size() || f[at + 1] != 0x3B) return {};
  const unsigned clear = 1u << minBits, end = clear + 1;
  std::vector<std::vector<uint8_t>> table;
  auto reset = [&] {
    table.assign(end + 1, {});
    for (unsigned i = 0; i < clear; ++i) table[i] = {static_cast<uint8_t>(i)};
  };
  reset();
  int width = minBits + 1;
  size_t bit = 0;
  std::vector<uint8_t> indices, previous;
  bool ended = false;
  while (!ended) {
    if (bit + static_cast<size_t>(width) > data.size() * 8) return {};  // ran out before the end code
    unsigned code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1u) << i;
    if (code == clear) {
      reset();
      width = minBits + 1;
      previous.clear();
      continue;
    }
    if (code == end) {
      ended = true;
      break;
    }
    std::vector<uint8_t> entry;
    if (code < table.size() && !(code > end && table[code].empty())) {
      entry = table[code];
    } else if (code == table.size() && !previous.empty()) {
      entry = previous;
      entry.push_back(previous[0]);
    } else {
      return {};
    }
    if (!previous.empty() && table.size() < 4096) {
      std::vector<uint8_t> added = previous;
      added.push_back(entry[0]);
      table.push_back(added);
      if (table.size() >= (1u << width) && width < 12) ++width;
    }
    indices.insert(indices.end(), entry.begin(), entry.end());
    previous = entry;
  }
  if ((data.size() * 8 - bit) >= 8) return {};  // more than padding after the end code
  if (indices.size() != static_cast<size_t>(w) * h) return {};
  std::vector<Rgba> out;
  for (uint8_t i : indices) out.push_back(Rgba{f[13 + i * 3u], f[13 + i * 3u + 1], f[13 + i * 3u + 2], 255});
  return out;
}

Picture noise(int w, int h, int colours, uint32_t seed) {
  Picture p(w, h);
  for (Rgba& c : p.pixels) {
    seed = seed * 1103515245u + 12345u;
    const uint32_t k = (seed >> 16) % static_cast<uint32_t>(colours);
    c = Rgba{static_cast<uint8_t>(k & 0xFF), static_cast<uint8_t>(k >> 8), 0x55, 255};  // one colour per k
  }
  return p;
}

TEST(DemoPictures, GifsReadBackPixelForPixel) {
  const Picture wallpaper = lavenderSpeckled();
  EXPECT_EQ(differences(wallpaper, decode(encodeGif(wallpaper), "GIF"), false), 0);
  // 256 colours at random fill the code table many times over, so the
  // encoder starts it afresh again and again.
  const Picture busy = noise(300, 200, 256, 7);
  EXPECT_EQ(differences(busy, decode(encodeGif(busy), "GIF"), false), 0);
  // Runs long enough to widen the codes to 12 bits within one table.
  Picture stripes(640, 64, Rgba{10, 20, 30, 255});
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 640; x += 5) stripes.at(x, y) = Rgba{200, 100, static_cast<uint8_t>(y), 255};
  EXPECT_EQ(differences(stripes, decode(encodeGif(stripes), "GIF"), false), 0);
  const Picture dot(1, 1, Rgba{1, 2, 3, 255});
  EXPECT_EQ(differences(dot, decode(encodeGif(dot), "GIF"), false), 0);
  // Whatever the table holds when the pixels run out, the end code comes at
  // the width a strict reader expects.
  for (const Picture& p : {wallpaper, busy, stripes, dot}) EXPECT_EQ(strictGif(encodeGif(p)), p.pixels);
  // Random colours give about one code a pixel, so among the lengths up to
  // 1100 pixels every table size is met, the widening ones included.
  const Picture line = noise(1100, 1, 256, 3);
  for (int n = 1; n <= line.width; ++n) {
    Picture head(n, 1);
    std::copy(line.pixels.begin(), line.pixels.begin() + n, head.pixels.begin());
    ASSERT_EQ(strictGif(encodeGif(head)), head.pixels) << n << " pixels";
  }
}

TEST(DemoPictures, GifsRefuseWhatTheyCannotHold) {
  EXPECT_TRUE(encodeGif(Picture()).empty());
  Picture many(257, 2);
  for (int x = 0; x < 257; ++x)
    many.at(x, 0) = many.at(x, 1) = Rgba{static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(x >> 8), 0x55, 255};
  EXPECT_TRUE(encodeGif(many).empty()) << "257 colours";
  many.at(256, 0) = many.at(256, 1) = many.at(0, 0);
  EXPECT_FALSE(encodeGif(many).empty()) << "256 colours";
  Picture broken(4, 4);
  broken.pixels.pop_back();
  EXPECT_TRUE(encodeGif(broken).empty());
}

TEST(DemoPictures, IconsKeepTheirColoursAndTransparency) {
  for (const Picture& p : {sphereIcon(), frameIcon()}) {
    const std::vector<uint8_t> bytes = encodeIco(p);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(differences(p, decode(bytes, "ICO"), true), 0);
  }
  const Picture ball = sphereIcon();
  EXPECT_EQ(ball.at(0, 0).a, 0) << "corners show the ground";
  EXPECT_EQ(ball.at(16, 16).a, 255);
  Picture odd(17, 5, Rgba{1, 2, 3, 255});
  odd.at(16, 4).a = 0;
  EXPECT_EQ(differences(odd, decode(encodeIco(odd), "ICO"), true), 0) << "mask rows padded to 32 bits";
  EXPECT_TRUE(encodeIco(Picture(257, 10)).empty());
  EXPECT_TRUE(encodeIco(Picture()).empty());
}

TEST(DemoPictures, TheProgramsThreeFilesAreWrittenWhereAsked) {
  wevo::testing::TempDir dir;
  std::string error;
  ASSERT_TRUE(writeDemoImages(dir.path(), error)) << error;
  QImage wallpaper(QString::fromStdString(dir.file("Lavender Speckled.gif")));
  EXPECT_EQ(wallpaper.size(), QSize(lavenderSpeckled().width, lavenderSpeckled().height));
  EXPECT_EQ(QImage(QString::fromStdString(dir.file("MySpereIcon.ico"))).size(), QSize(32, 32));
  EXPECT_EQ(QImage(QString::fromStdString(dir.file("WAFRAME.ICO"))).size(), QSize(32, 32));
  EXPECT_FALSE(writeDemoImages(dir.file("no/such/folder"), error));
  EXPECT_NE(error.find("no/such/folder"), std::string::npos) << error;
}

}  // namespace
}  // namespace wevo::demo::images
