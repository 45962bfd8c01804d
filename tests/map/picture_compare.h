#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::testing {

// A text and the top-left corner of its line box.
struct PlacedText {
  QString text;
  int x;
  int y;
};

// A white picture of `size` with the texts drawn in the map font at `points`.
QImage PictureWithTexts(QSize size, const std::vector<PlacedText>& texts, int points,
                        const QColor& color);

// The pixels inside `region` in which the two pictures differ, leaving out the
// given columns and rows.
int DifferingPixels(const QImage& a, const QImage& b, const QRect& region,
                    const std::vector<int>& skippedColumns = {},
                    const std::vector<int>& skippedRows = {});

// The pixels of exactly this colour inside `region`.
int PixelsOfColor(const QImage& picture, const QColor& color, const QRect& region);

// A fresh folder that is removed with the object.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // Saves the picture as a BMP in the folder and gives its path.
  std::string SaveBmp(const QImage& picture, const std::string& name) const;
  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace velmora::testing
