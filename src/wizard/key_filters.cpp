#include "wizard/key_filters.h"

namespace velmora {

bool PassesDigitKey(char16_t key) { return key == kBackspace || (key >= u'0' && key <= u'9'); }

bool PassesNorthWestSheetKey(char16_t key, bool textHasW) {
  return PassesDigitKey(key) || (key == u'W' && !textHasW);
}

bool PassesSouthEastSheetKey(char16_t key) { return PassesDigitKey(key) || key == u'W'; }

}  // namespace velmora
