#include "demo/background_bmp.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "demo/demo_random.h"
#include "platform/replace_file.h"

namespace velmora::demo {

namespace {

struct Colour {
  std::uint8_t r, g, b;
};

constexpr Colour kLand = {222, 234, 196};
constexpr Colour kLandAlternate = {214, 228, 186};
constexpr Colour kForest = {146, 186, 124};
constexpr Colour kWater = {136, 180, 226};
constexpr Colour kRoad = {204, 128, 96};
constexpr Colour kTown = {188, 176, 172};

// Built with braces, so that the random values are drawn in reading order.
struct Ellipse {
  double cx, cy, rx, ry;
};
struct Segment {
  double x0, y0, x1, y1;
};

class Raster {
 public:
  Raster(int width, int height) : width_(width), height_(height), pixels_(width * height) {}

  void Set(int x, int y, Colour colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = colour;
  }

  void FillRect(int x0, int y0, int x1, int y1, Colour colour) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) Set(x, y, colour);
  }

  void FillEllipse(const Ellipse& e, Colour colour) {
    for (int y = static_cast<int>(e.cy - e.ry); y <= static_cast<int>(e.cy + e.ry); ++y) {
      for (int x = static_cast<int>(e.cx - e.rx); x <= static_cast<int>(e.cx + e.rx); ++x) {
        const double dx = (x - e.cx) / e.rx, dy = (y - e.cy) / e.ry;
        if (dx * dx + dy * dy <= 1) Set(x, y, colour);
      }
    }
  }

  // A line of the given width, stamped as discs a pixel apart.
  void Line(const Segment& s, double width, Colour colour) {
    const int steps = std::max(1, static_cast<int>(std::hypot(s.x1 - s.x0, s.y1 - s.y0)));
    for (int i = 0; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      FillEllipse({s.x0 + (s.x1 - s.x0) * t, s.y0 + (s.y1 - s.y0) * t, width / 2, width / 2},
                  colour);
    }
  }

  // 24-bit BMP: BITMAPFILEHEADER, BITMAPINFOHEADER, rows bottom-up in BGR,
  // each padded to a multiple of four bytes.
  std::vector<char> Bmp() const {
    const int stride = (width_ * 3 + 3) / 4 * 4;
    const int imageSize = stride * height_;
    std::vector<char> out;
    const auto put = [&out](std::uint32_t value, int bytes) {
      for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
    };
    out.push_back('B');
    out.push_back('M');
    put(54 + imageSize, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(width_, 4);
    put(height_, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);  // no compression
    put(imageSize, 4);
    put(2835, 4);  // 72 dpi
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int y = height_ - 1; y >= 0; --y) {
      for (int x = 0; x < width_; ++x) {
        const Colour c = pixels_[y * width_ + x];
        out.push_back(static_cast<char>(c.b));
        out.push_back(static_cast<char>(c.g));
        out.push_back(static_cast<char>(c.r));
      }
      out.resize(out.size() + (stride - width_ * 3), 0);
    }
    return out;
  }

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

}  // namespace

BmpSize BackgroundSize(const Extent& extent) {
  const int tileWidth =
      std::clamp(4000 / std::max(extent.SheetRows(), extent.SheetColumns()), 16, 240);
  return {tileWidth * extent.SheetColumns(), tileWidth * 14 / 15 * extent.SheetRows()};
}

void WriteBackgroundBmp(const std::filesystem::path& path, const Extent& extent,
                        std::uint64_t seed) {
  const BmpSize size = BackgroundSize(extent);
  const int tileWidth = size.width / extent.SheetColumns();
  const int tileHeight = size.height / extent.SheetRows();
  Raster raster(size.width, size.height);
  DemoRandom random(seed ^ 0xB17A5EEDull);

  for (int row = 0; row < extent.SheetRows(); ++row) {
    for (int column = 0; column < extent.SheetColumns(); ++column) {
      raster.FillRect(column * tileWidth, row * tileHeight, (column + 1) * tileWidth,
                      (row + 1) * tileHeight, (row + column) % 2 ? kLandAlternate : kLand);
    }
  }
  const int sheets = extent.SheetRows() * extent.SheetColumns();
  const double w = size.width, h = size.height;
  for (int i = 0; i < sheets * 2; ++i) {
    raster.FillEllipse(
        {random.Between(0, w), random.Between(0, h), tileWidth * random.Between(0.1, 0.35),
         tileHeight * random.Between(0.08, 0.3)},
        kForest);
  }
  for (int i = 0; i < std::max(1, sheets / 3); ++i) {
    raster.FillEllipse(
        {random.Between(0, w), random.Between(0, h), tileWidth * random.Between(0.03, 0.08),
         tileHeight * random.Between(0.02, 0.06)},
        kWater);
  }
  // Rivers wind from west to east.
  for (int river = 0; river < 1 + extent.SheetRows() / 3; ++river) {
    const double baseline = random.Between(0.15, 0.85) * h;
    const double amplitude = random.Between(0.2, 0.6) * tileHeight;
    const double wavelength = random.Between(0.8, 1.6) * tileWidth;
    const double phase = random.Between(0, 6.283);
    const double width = std::max(2.0, tileWidth / 40.0);
    // Two waves of unrelated lengths make a meander that does not repeat.
    const auto course = [&](double x) {
      return baseline + amplitude * std::sin(x / wavelength * 6.283) +
             amplitude * 0.6 * std::sin(x / (wavelength * 2.7) * 6.283 + phase);
    };
    for (int x = 0; x < size.width; ++x) {
      raster.Line({x * 1.0, course(x), x + 1.0, course(x + 1)}, width, kWater);
    }
  }
  for (int road = 0; road < 1 + sheets / 6; ++road) {
    raster.Line({random.Between(0, w), 0, random.Between(0, w), h}, std::max(1.5, tileWidth / 80.0),
                kRoad);
    raster.Line({0, random.Between(0, h), w, random.Between(0, h)}, std::max(1.5, tileWidth / 80.0),
                kRoad);
  }
  for (int town = 0; town < sheets; ++town) {
    const int x = static_cast<int>(random.Between(0, w)),
              y = static_cast<int>(random.Between(0, h));
    const int half = std::max(2, tileWidth / 24);
    raster.FillRect(x - half, y - half, x + half, y + half, kTown);
  }

  const std::vector<char> bytes = raster.Bmp();
  ReplaceFile(path, std::string_view(bytes.data(), bytes.size()));
}

}  // namespace velmora::demo
