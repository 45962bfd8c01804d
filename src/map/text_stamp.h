#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

namespace velmora {

// The pixels of an RGB32 picture, to lay texts over row by row.
struct PictureRows {
  explicit PictureRows(QImage& picture)
      : first(reinterpret_cast<std::uint32_t*>(picture.bits())),
        stride(picture.bytesPerLine() / 4),
        width(picture.width()),
        height(picture.height()) {}
  std::uint32_t* Row(int y) const { return first + y * stride; }

  std::uint32_t* first;
  qsizetype stride;
  int width;
  int height;
};

// A one-line text drawn once by the painter over nothing, then laid over a
// picture at any whole-pixel position, where it gives the pixels the painter
// gives when it draws the text there: each pixel keeps what the glyphs leave
// of it and takes the colour by their coverage, glyph by glyph, in the
// painter's arithmetic. The counts of a map are few texts in many places; a
// copy of a text's pixels costs a fraction of laying its glyphs out and
// blending them again.
class TextStamp {
 public:
  // Whether texts of the font in the colour, laid from stamps, give the
  // painter's pixels. The painter blends glyphs up to a size from its cache of
  // them, as a stamp blends them; larger glyphs it fills as outlines, which
  // rounds otherwise. A desktop may also have the painter blend glyphs
  // otherwise (subpixel or gamma-corrected antialiasing): the digits are laid
  // both ways over pixels of many colours, and compared.
  static bool GivesThePaintersPixels(const QFont& font, const QColor& color);

  // `color` is opaque.
  TextStamp(const QFont& font, const QColor& color, const QString& text);

  // Lays the text's pixels in row `row` of the picture, the top-left corner of
  // its line box at (x, y). A text is laid row by row, in any order of the
  // rows; what falls beyond the picture is left out, as the painter leaves it
  // out.
  void LayOverRow(const PictureRows& picture, int x, int y, int row) const;

  // The pixels the text inks, from the top-left corner of its line box; empty
  // for a text without ink.
  QRect Ink() const { return ink_; }

 private:
  // A run of inked pixels of one glyph in one row, from the top-left corner of
  // the line box. Neighbouring glyphs may share pixels, which the painter
  // blends once for each of them, in their order: the runs of a row keep the
  // order of the glyphs.
  struct Run {
    int x;
    int y;
    int length;
    std::size_t first;  // in pixels_
  };

  void AddGlyph(const QImage& drawn, QPoint corner);

  std::vector<Run> runs_;               // by row
  std::vector<std::size_t> rowStarts_;  // the first run of each row of the ink, and the end
  std::vector<std::uint32_t> pixels_;   // the colour premultiplied by the coverage
  QRect ink_;
};

}  // namespace velmora
