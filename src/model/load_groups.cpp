#include "model/load_groups.h"

namespace tavilo {

FormEvents LoadGroups::setLayout(FormControls& controls, int calcMethod) {
  FormEvents out;
  layoutMethod_ = calcMethod == 1 ? 1 : 0;
  const ScreenLayout& shape = layout();
  controls.showGroup(Group::Wind, shape.windAndSnowShown);
  controls.showGroup(Group::Snow, shape.windAndSnowShown);
  controls.showGroup(Group::DirectLoad, shape.directLoadShown);
  if (!controls.isShown(controls.focus()))
    controls.moveFocus(FieldId::DeckType, out);
  return out;
}

}  // namespace tavilo
