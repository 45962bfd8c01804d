#pragma once

#include <QColor>

#include "platform/tcolor.h"

namespace velmora {

// The colour a stored colour stands for: a plain colour by its three bytes, a
// system colour by the default Windows scheme, clNone and clDefault by their
// low three bytes as well.
QColor ToQColor(TColor color);

// The stored colour of a colour chosen on the screen: 0x00BBGGRR.
TColor ToTColor(const QColor& color);

}  // namespace velmora
