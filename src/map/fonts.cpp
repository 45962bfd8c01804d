#include "map/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <initializer_list>

namespace velmora {
namespace {

// Debian's fonts-wine and fonts-liberation2.
constexpr const char* kWineFonts = "/usr/share/wine/fonts/";
constexpr const char* kLiberationFonts = "/usr/share/fonts/truetype/liberation2/";

// Adds the files to the application's fonts and points `family` at what they
// carry (a substitution is needed only when their family name differs).
void RegisterFamily(const QString& family, const QString& folder,
                    std::initializer_list<const char*> files) {
  QString registered;
  for (const char* file : files) {
    const int id = QFontDatabase::addApplicationFont(folder + file);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id >= 0 && !families.isEmpty() && registered.isEmpty()) registered = families.first();
  }
  if (registered.isEmpty()) {
    registered = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }
  if (registered.compare(family, Qt::CaseInsensitive) != 0) {
    QFont::insertSubstitution(family, registered);
  }
}

}  // namespace

void RegisterFonts() {
  RegisterFamily(kMapFontFamily, kWineFonts, {"tahoma.ttf", "tahomabd.ttf"});
  RegisterFamily(kDialogFontFamily, kWineFonts, {"ms_sans_serif.ttf"});
  RegisterFamily(kNoticeFontFamily, kLiberationFonts,
                 {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"});
}

}  // namespace velmora
