#pragma once

#include <QPoint>
#include <QSize>
#include <filesystem>
#include <string>
#include <vector>

#include "grid/cell_geometry.h"
#include "grid/cell_list.h"

namespace velmora {

// Where a map picture lies on the earth. Sheet lines are lines of constant
// latitude and longitude in the grid's DHDN frame (10' x 6' per sheet), and
// the picture draws every sheet at the same size, so one affine transform
// from pixels to DHDN longitude and latitude describes the whole picture,
// its margins and strips included.
struct MapGeoreference {
  // The DHDN edges of the extent's sheets.
  FrameBounds bounds;
  // The map area's top-left corner on the picture and its size in pixels:
  // the pixel edges on which the extent's outer sheet edges lie.
  QPoint mapAt;
  QSize mapSize;
};

// The georeference of a map whose map area lies at `mapAt` on its picture,
// `mapSize` pixels large.
MapGeoreference GeoreferenceOf(const MapState& map, QPoint mapAt, QSize mapSize);

// The six lines of a world file (ESRI's convention, which GDAL and QGIS
// read): the pixel's width in degrees of longitude, two zero rotations, its
// height in degrees of latitude (negative: rows run south), and the longitude
// and latitude of the centre of the top-left pixel. Locale-independent, with
// the digits that give each number back exactly.
std::string WorldFileText(const MapGeoreference& georeference);

// GDAL's auxiliary file of a picture that names its coordinate system: the
// DHDN geographic system (EPSG:4314), its x axis the longitude.
std::string DhdnAuxiliaryText();

// The world file of a picture: the first and last letters of its extension
// and "w" (map.png: map.pgw, map.jpg and map.jpeg: map.jgw, map.bmp: map.bpw),
// in capitals when the extension is in capitals.
std::filesystem::path WorldFilePath(const std::filesystem::path& picture);

// The auxiliary file of a picture: its name with ".aux.xml".
std::filesystem::path AuxiliaryFilePath(const std::filesystem::path& picture);

// A file beside a picture, with its contents.
struct SideFile {
  std::filesystem::path path;
  std::string contents;
};

// The files that place a picture in a GIS: its world file and its auxiliary
// file.
std::vector<SideFile> GeoreferenceFiles(const std::filesystem::path& picture,
                                        const MapGeoreference& georeference);

// Writes the world file and the auxiliary file beside the picture, each to a
// temporary file beside its target renamed over it when complete. Throws
// FileWriteError naming the file.
void WriteGeoreference(const std::filesystem::path& picture, const MapGeoreference& georeference);

}  // namespace velmora
