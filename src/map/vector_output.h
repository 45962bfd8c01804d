#pragma once

#include <QPainter>
#include <QSize>
#include <filesystem>
#include <functional>
#include <string>

namespace velmora {

// Writes a PDF of one page the size of a picture of `size` pixels at the
// map's 96 pixels per inch (a 960-pixel map is 10 inches wide), drawn by
// `paint` in the picture's pixel coordinates: lines, fills and texts stay
// vectors and text, pictures are embedded whole. The document is made in
// memory and then replaces `file` in one step: a failure leaves the old file
// as it was. Throws Exception, FileWriteError for the file.
void WritePdf(const std::filesystem::path& file, QSize size, const std::string& title,
              const std::function<void(QPainter&)>& paint);

}  // namespace velmora
