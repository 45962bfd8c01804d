#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "support/temp_folder.h"

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

// Saves the picture as a BMP in the folder and gives its path.
std::string SaveBmp(const QImage& picture, const TempFolder& folder, const std::string& name);

// Saves a BMP whose header declares `width` x `height` pixels but which holds
// the pixels of one only: a picture too large to make, judged by its header.
std::string SaveBmpDeclaringSize(int width, int height, const TempFolder& folder,
                                 const std::string& name);

}  // namespace velmora::testing
