#include "model/wind_choices.h"

namespace tavilo {
namespace {

int choicePictureSlot(FieldId group) {
  switch (group) {
    case FieldId::RoofType:
      return 0;
    case FieldId::BuildingShape:
      return 1;
    case FieldId::RoofShape:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

const std::string& WindChoices::choicePicture(FieldId group) const {
  static const std::string kNone;
  const int slot = choicePictureSlot(group);
  return slot < 0 ? kNone : pictures_[static_cast<std::size_t>(slot)];
}

void WindChoices::chooseRoofType(FormControls& controls, RoofType roofType) {
  roofType_ = roofType;
  const std::size_t position = positionOf(roofType);
  FieldState& field = controls.state(FieldId::RoofType);
  field.index = static_cast<int>(position);
  field.text = std::string(kRoofTypeNames[position]);
  pictures_[0] = std::string(kRoofTypePictures[position]);
  const bool canopy = roofType == RoofType::Canopy;
  controls.showGroup(Group::BuildingShape, !canopy);
  controls.showGroup(Group::RoofShape, canopy);
}

void WindChoices::chooseBuildingShape(FormControls& controls, int code) {
  buildingShapeCode_ = code;
  const bool known = code >= 0 && code < static_cast<int>(kBuildingShapeItems.size());
  FieldState& field = controls.state(FieldId::BuildingShape);
  field.index = known ? code : -1;
  field.text = known ? std::string(kBuildingShapeItems[static_cast<std::size_t>(code)]) : "";
  if (known)
    pictures_[1] = std::string(kBuildingShapePictures[static_cast<std::size_t>(code)]);
}

void WindChoices::chooseRoofShape(FormControls& controls, int code) {
  roofShapeCode_ = code;
  const bool known = code >= 0 && code < static_cast<int>(kRoofShapeNames.size());
  FieldState& field = controls.state(FieldId::RoofShape);
  field.index = known ? code : -1;
  field.text = known ? std::string(kRoofShapeNames[static_cast<std::size_t>(code)]) : "";
  if (known)
    pictures_[2] = std::string(kRoofShapePictures[static_cast<std::size_t>(code)]);
}

void WindChoices::resetShapeCodes() {
  buildingShapeCode_ = 0;
  roofShapeCode_ = 0;
}

}  // namespace tavilo
