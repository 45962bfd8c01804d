#pragma once

#include <QColor>

#include "platform/color.h"

namespace velmora {

// The colour a stored colour stands for: a plain colour by its three bytes, a
// system colour by the default Windows scheme, clNone and clDefault by their
// low three bytes as well.
QColor ToQColor(TColor color);

}  // namespace velmora
