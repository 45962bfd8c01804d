#include "map/vector_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <string_view>

#include "platform/errors.h"
#include "platform/replace_file.h"

namespace velmora {
namespace {

// The map picture's own resolution: its fonts are sized for it.
constexpr int kPixelsPerInch = 96;

}  // namespace

void WritePdf(const std::filesystem::path& file, QSize size, const std::string& title,
              const std::function<void(QPainter&)>& paint) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPixelsPerInch);
    writer.setCreator("Velmora");
    writer.setTitle(QString::fromStdString(title));
    const QSizeF points(size.width() * 72.0 / kPixelsPerInch,
                        size.height() * 72.0 / kPixelsPerInch);
    writer.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer)) throw Exception("cannot make the PDF document");
    paint(painter);
    painter.end();
  }
  ReplaceFile(file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace velmora
