#pragma once
// The site and snow groups of the input screen: choosing a prefecture or a
// district fills the site data, the V0 display, the snow coefficients and the
// snow displays; the snow depth is typed or derived from altitude and sea
// ratio, and every change of it re-applies the heavy-snow rule.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "calc/site_data.h"
#include "location/location_tables.h"
#include "model/form_controls.h"

namespace tavilo {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kCaptionBlack{0, 0, 0};
inline constexpr Rgb kCaptionGrey{153, 153, 153};

// The red line under the site group while the location tables in hand are
// marked as sample data.
inline constexpr std::string_view kSampleSiteDataNotice =
    "所在地データは見本です。実際の設計には使用できません。";

inline constexpr int kSnowModeInput = 0;   // "上欄へ入力"
inline constexpr int kSnowModeDerive = 1;  // "下記値より算出"

class SiteAndSnow {
 public:
  explicit SiteAndSnow(LocationTables tables);

  // The site values: the calculation takes V0 from here, not from the text
  // of the V0 display, which a project file may have replaced.
  const SiteData& siteData() const { return site_; }
  const SnowCoefficients& snowCoefficients() const { return coefficients_; }
  const std::string& prefectureName() const { return prefectureName_; }
  const std::string& districtName() const { return districtName_; }
  int seaRatio() const { return seaRatio_; }
  int derivedSnowDepth() const { return derivedSnowDepth_; }
  double computedDepthM() const { return computedDepthM_; }
  const std::optional<std::string>& siteFailure() const { return siteFailure_; }
  Rgb heavySnowCaptionColour() const { return heavySnowCaptionColour_; }
  const LocationTables& locationTables() const { return tables_; }
  // The line the screen shows under the site group, in red:
  // kSampleSiteDataNotice for sample tables, empty for an office's own.
  std::string siteDataNotice() const;
  static int snowMode(const FormControls& controls);

  // Start-up: reads the address table, chooses the first district of
  // "北海道" and reads its snow coefficients; the failures of the tables,
  // empty when both were read.
  std::string loadTables(FormControls& controls);
  // The end of start-up: a failure (or a first prefecture without districts)
  // is kept as the site failure and thrown as UserError.
  void settleStartUp(std::string failure);
  // The V0 display shows the site's reference wind speed.
  void showSiteSpeed(FormControls& controls) const;
  // Selects an input mode of the snow depth and enables the snow depth,
  // altitude and sea-ratio fields as it requires, without changing a value.
  static void setSnowModeChoice(FormControls& controls, int mode);

  [[nodiscard]] FormEvents prefectureChanged(FormControls& controls);
  [[nodiscard]] FormEvents districtChanged(FormControls& controls);
  [[nodiscard]] FormEvents updateSnowDisplays(FormControls& controls);
  [[nodiscard]] FormEvents snowModeInput(FormControls& controls);
  // With loads entered directly the snow group is hidden and the first
  // direct load takes the focus.
  [[nodiscard]] FormEvents snowModeDerive(FormControls& controls, bool directLoads);
  [[nodiscard]] FormEvents altitudeOrSeaRatioChanged(FormControls& controls);
  void snowDepthChanged(FormControls& controls);

 private:
  int deriveDepth(const FormControls& controls);

  LocationTables tables_;
  SiteData site_;
  SnowCoefficients coefficients_;
  std::string prefectureName_;
  std::string districtName_;
  int seaRatio_ = 20;
  int derivedSnowDepth_ = 0;
  double computedDepthM_ = 0;
  Rgb heavySnowCaptionColour_ = kCaptionGrey;
  std::optional<std::string> siteFailure_;
};

}  // namespace tavilo
