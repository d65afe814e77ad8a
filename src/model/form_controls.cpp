#include "model/form_controls.h"

#include "calc/numbers.h"

namespace tavilo {
namespace {

const std::string& emptyText() {
  static const std::string kEmpty;
  return kEmpty;
}

const std::vector<std::string>& noItems() {
  static const std::vector<std::string> kNone;
  return kNone;
}

}  // namespace

const std::string& FormControls::text(FieldId id) const {
  return isScreenField(id) ? state(id).text : emptyText();
}

int FormControls::index(FieldId id) const {
  return isScreenField(id) ? state(id).index : -1;
}

const std::vector<std::string>& FormControls::items(FieldId id) const {
  return isScreenField(id) ? state(id).items : noItems();
}

int FormControls::spinValue(FieldId id) const {
  const FieldInfo& info = fieldInfo(id);
  if (info.kind != FieldKind::Spin)
    return parseInteger(text(id)).value_or(0);
  return clampToRange(spinReading(text(id), info.range), info.range);
}

bool FormControls::isEnabled(FieldId id) const {
  return isScreenField(id) && state(id).enabled;
}

bool FormControls::isGroupShown(Group group) const {
  if (!groupShown_[static_cast<std::size_t>(group)])
    return false;
  if (group == Group::BuildingShape || group == Group::RoofShape) {
    return groupShown_[static_cast<std::size_t>(Group::Wind)];
  }
  return true;
}

bool FormControls::isShown(FieldId id) const {
  return isScreenField(id) && state(id).visible && isGroupShown(fieldInfo(id).group);
}

void FormControls::putSpinValue(FieldId id, int value, FormEvents& out) {
  assignText(id, std::to_string(clampToRange(value, fieldInfo(id).range)), out);
}

}  // namespace tavilo
