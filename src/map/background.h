#pragma once

#include <QImage>
#include <QSize>
#include <optional>
#include <string>

namespace velmora {

// The widths of the label margins left of and above the map area.
struct Margins {
  int left = 0;
  int top = 0;

  bool operator==(const Margins&) const = default;
};

// A new map picture: white, the background image at (margins.left,
// margins.top), pixel for pixel, and white label margins above and to the left.
struct MapPicture {
  QImage picture;  // RGB32
  Margins margins;
};

// The width and height a BMP file's header declares, read without loading
// the picture; nothing when the file cannot be read or is no BMP. The path is
// taken byte for byte, here and in LoadBackgroundImage, whatever its encoding.
std::optional<QSize> DeclaredBmpSize(const std::string& path);

// The margins of the picture of a background image of this size over an
// extent of `sheetColumns` x `sheetRows` sheets (at least one each), as
// LoadBackgroundImage describes them.
Margins MarginsOf(QSize image, int sheetColumns, int sheetRows);

// Loads the BMP at `path` for an extent of `sheetColumns` x `sheetRows` sheets.
// The margins are half the larger side of one sheet: sheet width =
// round(image width / sheetColumns), sheet height likewise, margins =
// round(max(sheet width, sheet height) / 2), all halves to even. Nothing when
// the file cannot be loaded as a BMP (empty path, no such file, not a regular
// file, not a BMP, pixel data shorter than its header declares), when the extent has no sheets, or
// when the picture would be larger than an image can hold; the caller shows its
// notice then and keeps its old margins.
std::optional<MapPicture> LoadBackgroundImage(const std::string& path, int sheetColumns,
                                              int sheetRows);

}  // namespace velmora
