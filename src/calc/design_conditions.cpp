#include "calc/design_conditions.h"

namespace tavilo {

std::string buildingShapeNameOf(int buildingShape) {
  switch (buildingShape) {
    case 1:
      return "風上開放型";
    case 2:
      return "風下開放型";
    default:
      return "閉鎖型";
  }
}

std::string roofShapeNameOf(int roofShape) {
  return roofShape == 1 ? "翼型屋根" : "切妻屋根";
}

std::string roofTypeNameOf(int roofType) {
  switch (roofType) {
    case 3:
      return "片流れ屋根";
    case 4:
      return "切妻屋根";
    case 5:
      return "円弧屋根";
    case 6:
      return "独立上屋";
    default:
      return {};
  }
}

int roofClassOf(int roofType) {
  if (roofType == 5)
    return 1;
  if (roofType == 6)
    return 2;
  return 0;
}

}  // namespace tavilo
