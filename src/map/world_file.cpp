#include "map/world_file.h"

#include <cctype>
#include <charconv>
#include <string_view>

#include "platform/replace_file.h"

namespace velmora {
namespace {

// EPSG:4314, DHDN, as GDAL 3.6 prints it from the EPSG dataset
// (gdalsrsinfo -o wkt1 EPSG:4314). Its axes are latitude, then longitude;
// the pictures' x is the longitude, which the mapping "2,1" says.
constexpr std::string_view kDhdnWkt =
    R"(GEOGCS["DHDN",DATUM["Deutsches_Hauptdreiecksnetz",)"
    R"(SPHEROID["Bessel 1841",6377397.155,299.1528128,AUTHORITY["EPSG","7004"]],)"
    R"(AUTHORITY["EPSG","6314"]],PRIMEM["Greenwich",0,AUTHORITY["EPSG","8901"]],)"
    R"(UNIT["degree",0.0174532925199433,AUTHORITY["EPSG","9122"]],)"
    R"(AXIS["Latitude",NORTH],AXIS["Longitude",EAST],AUTHORITY["EPSG","4314"]])";

std::string Exactly(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : "0";
}

}  // namespace

MapGeoreference GeoreferenceOf(const MapState& map, QPoint mapAt, QSize mapSize) {
  const FrameBounds northWest = CellFrameBounds(map, 0, 0);
  const FrameBounds southEast = CellFrameBounds(map, map.CellRows - 1, map.CellColumns - 1);
  return {{northWest.north, southEast.south, northWest.west, southEast.east}, mapAt, mapSize};
}

std::string WorldFileText(const MapGeoreference& georeference) {
  const FrameBounds& bounds = georeference.bounds;
  const double width = (bounds.east - bounds.west) / georeference.mapSize.width();
  const double height = (bounds.south - bounds.north) / georeference.mapSize.height();
  // The centre of the top-left pixel lies half a pixel inside the picture's
  // corner, which lies the map area's offset before the map's north-west
  // corner.
  const double longitude = bounds.west + (0.5 - georeference.mapAt.x()) * width;
  const double latitude = bounds.north + (0.5 - georeference.mapAt.y()) * height;
  return Exactly(width) + "\n0\n0\n" + Exactly(height) + "\n" + Exactly(longitude) + "\n" +
         Exactly(latitude) + "\n";
}

std::string DhdnAuxiliaryText() {
  return "<PAMDataset>\n  <SRS dataAxisToSRSAxisMapping=\"2,1\">" + std::string(kDhdnWkt) +
         "</SRS>\n</PAMDataset>\n";
}

std::filesystem::path WorldFilePath(const std::filesystem::path& picture) {
  const std::string extension = picture.extension().string();
  if (extension.size() < 2) return std::filesystem::path(picture).concat("w");
  const bool capitals = std::isupper(static_cast<unsigned char>(extension[1])) != 0;
  std::string world = {extension[1], extension.back(), capitals ? 'W' : 'w'};
  return std::filesystem::path(picture).replace_extension(world);
}

std::filesystem::path AuxiliaryFilePath(const std::filesystem::path& picture) {
  return std::filesystem::path(picture).concat(".aux.xml");
}

std::vector<SideFile> GeoreferenceFiles(const std::filesystem::path& picture,
                                        const MapGeoreference& georeference) {
  return {{WorldFilePath(picture), WorldFileText(georeference)},
          {AuxiliaryFilePath(picture), DhdnAuxiliaryText()}};
}

void WriteGeoreference(const std::filesystem::path& picture, const MapGeoreference& georeference) {
  for (const SideFile& file : GeoreferenceFiles(picture, georeference)) {
    ReplaceFile(file.path, file.contents);
  }
}

}  // namespace velmora
