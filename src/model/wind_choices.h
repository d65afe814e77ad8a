#pragma once
// The choices of the wind group of the input screen: roof type, building
// shape and the roof shape of a canopy, the codes they leave for the
// calculation and the picture file each shows once clicked.

#include <array>
#include <string>

#include "calc/codes.h"
#include "model/form_controls.h"

namespace tavilo {

class WindChoices {
 public:
  RoofType roofType() const { return roofType_; }
  int buildingShapeCode() const { return buildingShapeCode_; }  // 0 to 2
  int roofShapeCode() const { return roofShapeCode_; }          // 0 to 1
  // The picture file loaded for a choice group (RoofType, BuildingShape or
  // RoofShape); empty while the window's built-in picture is shown.
  const std::string& choicePicture(FieldId group) const;
  const std::array<std::string, 3>& choicePictures() const { return pictures_; }

  // A canopy roof has no walls: its roof shape replaces the building shape.
  void chooseRoofType(FormControls& controls, RoofType roofType);
  // A code outside the list is remembered and chooses no item.
  void chooseBuildingShape(FormControls& controls, int code);
  void chooseRoofShape(FormControls& controls, int code);
  // Start-up: the first building shape and roof shape.
  void resetShapeCodes();

 private:
  RoofType roofType_ = RoofType::MonoPitch;
  int buildingShapeCode_ = 0;
  int roofShapeCode_ = 0;
  std::array<std::string, 3> pictures_;  // roof type, building shape, roof shape
};

}  // namespace tavilo
