#pragma once
// The few facts of the input screen that the report prints as the screen
// shows them rather than as the calculation holds them: the surface treatment,
// the unit weight exactly as typed, whether an overhang is selected, and the
// inputs of the snow depth formula. The calculate command captures them into
// the outcome, so the screen image, the printer and a PDF draw the same record.

#include <string>
#include <string_view>

#include "calc/snow_load.h"

namespace tavilo {

struct ReportFacts {
  int surfaceTreatmentIndex = 0;
  std::string surfaceTreatmentText = "Z12";
  // The unit weight text of the input screen, e.g. "127" or "127.5".
  std::string unitWeightText;
  // Either overhang length field is shown on the input screen.
  bool overhangSelected = false;
  // The depth formula's inputs as the screen last derived them (altitude, sea
  // ratio, the region's coefficients, the unrounded depth); the detail page
  // prints them beside a derived snow depth. The other fields are not read.
  SnowDerivation snowDepthInputs;
  // The site data of the calculation came from location tables marked as
  // sample data (loads derived from the notices): every printed page and the
  // batch summary carry kSampleSiteDataMark.
  bool sampleSiteData = false;
};

inline constexpr std::string_view kSampleSiteDataMark = "所在地データ見本 ― 設計に使用不可";

}  // namespace tavilo
