#pragma once

#include <string>
#include <vector>

#include "demo/demo_extent.h"
#include "demo/demo_random.h"

namespace velmora::demo {

// Where a sample was taken, as the host stores it; an empty text stands for NULL.
struct DemoPlace {
  std::string lat;
  std::string lon;
  std::string spatialRef;
  std::string spatialRefSystem;
};

// Makes sample places: WGS84 points gathered in clusters of uneven weight over
// the extent (so some cells stay empty and some are dense), some scattered
// around and outside it, a few outside the sheet numbering; written as
// latitude/longitude, British or UTM grid references, grid references of the
// two sheet grid systems ('QQQ' quadrants of every length, 'QYX' minute
// fields, west sheets among them) or with no system at all; a few samples lack
// the latitude, or only the longitude.
class PlaceMaker {
 public:
  PlaceMaker(const Extent& extent, DemoRandom& random);
  DemoPlace Next();

 private:
  struct Cluster {
    double lat;
    double lon;
    double radius;
    double cumulativeWeight;
  };
  struct Point {
    double lat;
    double lon;
  };

  Point PickPoint();
  DemoPlace GridReference(Point point, bool minuteFields);

  Extent extent_;
  DemoRandom& random_;
  std::vector<Cluster> clusters_;
};

}  // namespace velmora::demo
