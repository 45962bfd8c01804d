#include "map/palettes.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace velmora {
namespace {

// The sequential schemes of ColorBrewer 2.0 (Cynthia A. Brewer, Mark Harrower
// and The Pennsylvania State University, colorbrewer2.org; Apache License 2.0),
// by number of classes from 3 to 9, as the d3-scale-chromatic package
// (Debian's node-d3-scale-chromatic) ships them. ColorBrewer marks each of
// them safe for colour-blind readers; Greys is the one for grey print.
constexpr std::array<std::string_view, 7> kYlOrRd = {
    "ffeda0feb24cf03b20",
    "ffffb2fecc5cfd8d3ce31a1c",
    "ffffb2fecc5cfd8d3cf03b20bd0026",
    "ffffb2fed976feb24cfd8d3cf03b20bd0026",
    "ffffb2fed976feb24cfd8d3cfc4e2ae31a1cb10026",
    "ffffccffeda0fed976feb24cfd8d3cfc4e2ae31a1cb10026",
    "ffffccffeda0fed976feb24cfd8d3cfc4e2ae31a1cbd0026800026",
};
constexpr std::array<std::string_view, 7> kYlGnBu = {
    "edf8b17fcdbb2c7fb8",
    "ffffcca1dab441b6c4225ea8",
    "ffffcca1dab441b6c42c7fb8253494",
    "ffffccc7e9b47fcdbb41b6c42c7fb8253494",
    "ffffccc7e9b47fcdbb41b6c41d91c0225ea80c2c84",
    "ffffd9edf8b1c7e9b47fcdbb41b6c41d91c0225ea80c2c84",
    "ffffd9edf8b1c7e9b47fcdbb41b6c41d91c0225ea8253494081d58",
};
constexpr std::array<std::string_view, 7> kGreys = {
    "f0f0f0bdbdbd636363",
    "f7f7f7cccccc969696525252",
    "f7f7f7cccccc969696636363252525",
    "f7f7f7d9d9d9bdbdbd969696636363252525",
    "f7f7f7d9d9d9bdbdbd969696737373525252252525",
    "fffffff0f0f0d9d9d9bdbdbd969696737373525252252525",
    "fffffff0f0f0d9d9d9bdbdbd969696737373525252252525000000",
};

// viridis (Stéfan van der Walt and Nathaniel Smith for matplotlib, CC0), its
// 256 colours as d3-scale-chromatic ships them, here from its light (yellow)
// end to its dark (purple) one like the other palettes: reversed when read.
constexpr std::string_view kViridisDarkFirst =
    "44015444025645045745055946075a46085c460a5d460b5e470d60470e61471063471164471365481467"
    "48166848176948186a481a6c481b6d481c6e481d6f481f70482071482173482374482475482576482677"
    "482878482979472a7a472c7a472d7b472e7c472f7d46307e46327e46337f463480453581453781453882"
    "443983443a83443b84433d84433e85423f854240864241864142874144874045884046883f47883f4889"
    "3e49893e4a893e4c8a3d4d8a3d4e8a3c4f8a3c508b3b518b3b528b3a538b3a548c39558c39568c38588c"
    "38598c375a8c375b8d365c8d365d8d355e8d355f8d34608d34618d33628d33638d32648e32658e31668e"
    "31678e31688e30698e306a8e2f6b8e2f6c8e2e6d8e2e6e8e2e6f8e2d708e2d718e2c718e2c728e2c738e"
    "2b748e2b758e2a768e2a778e2a788e29798e297a8e297b8e287c8e287d8e277e8e277f8e27808e26818e"
    "26828e26828e25838e25848e25858e24868e24878e23888e23898e238a8d228b8d228c8d228d8d218e8d"
    "218f8d21908d21918c20928c20928c20938c1f948c1f958b1f968b1f978b1f988b1f998a1f9a8a1e9b8a"
    "1e9c891e9d891f9e891f9f881fa0881fa1881fa1871fa28720a38620a48621a58521a68522a78522a884"
    "23a98324aa8325ab8225ac8226ad8127ad8128ae8029af7f2ab07f2cb17e2db27d2eb37c2fb47c31b57b"
    "32b67a34b67935b77937b87838b9773aba763bbb753dbc743fbc7340bd7242be7144bf7046c06f48c16e"
    "4ac16d4cc26c4ec36b50c46a52c56954c56856c66758c7655ac8645cc8635ec96260ca6063cb5f65cb5e"
    "67cc5c69cd5b6ccd5a6ece5870cf5773d05675d05477d1537ad1517cd2507fd34e81d34d84d44b86d549"
    "89d5488bd6468ed64590d74393d74195d84098d83e9bd93c9dd93ba0da39a2da37a5db36a8db34aadc32"
    "addc30b0dd2fb2dd2db5de2bb8de29bade28bddf26c0df25c2df23c5e021c8e020cae11fcde11dd0e11c"
    "d2e21bd5e21ad8e219dae319dde318dfe318e2e418e5e419e7e419eae51aece51befe51cf1e51df4e61e"
    "f6e620f8e621fbe723fde725";

const std::array<Palette, 4> kPalettes = {{
    {"YlOrRd", kYlOrRd, kYlOrRd.back(), false},
    {"YlGnBu", kYlGnBu, kYlGnBu.back(), false},
    {"Greys", kGreys, kGreys.back(), false},
    {"viridis", {}, kViridisDarkFirst, true},
}};

std::vector<QColor> ColorsOf(std::string_view hex) {
  std::vector<QColor> colors;
  for (size_t at = 0; at + 6 <= hex.size(); at += 6) {
    colors.push_back(QColor::fromString(QString::fromLatin1("#") +
                                        QString::fromLatin1(hex.substr(at, 6).data(), 6)));
  }
  return colors;
}

int Between(int a, int b, double t) { return static_cast<int>(std::lround(a + (b - a) * t)); }

// The colour at `position` (0 to 1) along the ramp, between its two nearest
// colours.
QColor AlongRamp(const std::vector<QColor>& ramp, double position) {
  const double at = position * static_cast<double>(ramp.size() - 1);
  const size_t below = std::min(static_cast<size_t>(at), ramp.size() - 2);
  const double t = at - static_cast<double>(below);
  const QColor& a = ramp[below];
  const QColor& b = ramp[below + 1];
  return QColor(Between(a.red(), b.red(), t), Between(a.green(), b.green(), t),
                Between(a.blue(), b.blue(), t));
}

}  // namespace

std::span<const Palette> Palettes() { return kPalettes; }

const Palette* PaletteByName(std::string_view name) {
  for (const Palette& palette : kPalettes) {
    if (QString::fromLatin1(palette.name.data(), static_cast<int>(palette.name.size()))
            .compare(QString::fromUtf8(name.data(), static_cast<int>(name.size())),
                     Qt::CaseInsensitive) == 0) {
      return &palette;
    }
  }
  return nullptr;
}

std::vector<QColor> ClassColors(const Palette& palette, int classes) {
  constexpr int kFirstTable = 3;
  if (classes >= kFirstTable && classes < kFirstTable + static_cast<int>(palette.tables.size())) {
    return ColorsOf(palette.tables[classes - kFirstTable]);
  }
  std::vector<QColor> ramp = ColorsOf(palette.ramp);
  if (palette.rampDarkFirst) std::ranges::reverse(ramp);
  std::vector<QColor> colors;
  // One class takes the middle of the ramp: its light end would hardly show.
  if (classes == 1) return {AlongRamp(ramp, 0.5)};
  for (int i = 0; i < classes; ++i) {
    colors.push_back(AlongRamp(ramp, static_cast<double>(i) / (classes - 1)));
  }
  return colors;
}

}  // namespace velmora
