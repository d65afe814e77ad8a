#include "model/site_snow.h"

#include <algorithm>
#include <string>

#include "calc/errors.h"
#include "calc/snow_depth.h"
#include "location/prefectures.h"

namespace tavilo {
namespace {

constexpr std::string_view kCheckRulesShort = "都道府県の条例等を必ず確認して下さい。";

std::string prefectureRuleHint(const SiteData& site, const std::string& prefecture,
                               const std::string& district) {
  if (site.hasLocalSnowRules) {
    return "細則有り! " + prefecture + "の例規を確認して下さい。|" + prefecture + "/" + district +
           "は、地区・標高・計算式等による規定があります。";
  }
  return std::string(kCheckRulesShort) +
         "|積雪等に関する基準を定めている地域があります。都道府県の施行細則等を必ず確認して下さい"
         "。";
}

std::string districtRuleHint(const SiteData& site, const std::string& prefecture,
                             const std::string& district) {
  if (site.hasLocalSnowRules) {
    return prefecture + "の条例等を必ず確認して下さい。|" + prefecture + "/" + district +
           "は、個別の規則・基準があります。";
  }
  return std::string(kCheckRulesShort) +
         "|積雪等に関する基準を定めている地域があります。都道府県の条例等を必ず確認して下さい。";
}

std::string radiusText(int radiusR) {
  const std::string number = std::to_string(radiusR);
  return radiusR < 10 ? " " + number : number;
}

}  // namespace

// Before start-up the first prefecture of the list is chosen.
SiteAndSnow::SiteAndSnow(LocationTables tables)
    : tables_(std::move(tables)), prefectureName_(kPrefectures[0]) {}

int SiteAndSnow::snowMode(const FormControls& controls) {
  return controls.index(FieldId::SnowModeDerive) == 1 ? kSnowModeDerive : kSnowModeInput;
}

std::string SiteAndSnow::siteDataNotice() const {
  return tables_.holdSampleData() ? std::string(kSampleSiteDataNotice) : std::string();
}

std::string SiteAndSnow::loadTables(FormControls& controls) {
  std::string failure;
  site_ = SiteData{};

  FieldState& districts = controls.state(FieldId::District);
  try {
    DistrictList list = tables_.loadAddressTable();
    districts.items = std::move(list.districts);
    if (list.first)
      site_ = *list.first;
  } catch (const UserError& error) {
    failure = error.what();
  }
  controls.state(FieldId::Prefecture).index = 0;
  controls.state(FieldId::Prefecture).text = std::string(kPrefectures[0]);
  prefectureName_ = controls.state(FieldId::Prefecture).text;
  districts.index = districts.items.empty() ? -1 : 0;
  districts.text = districts.items.empty() ? std::string() : districts.items.front();
  districtName_ = districts.text;

  try {
    if (const auto coefficients = tables_.loadSnowCoefficients(site_.snowRegion)) {
      coefficients_ = *coefficients;
    }
  } catch (const UserError& error) {
    if (!failure.empty())
      failure += "\n";
    failure += error.what();
  }
  return failure;
}

void SiteAndSnow::settleStartUp(std::string failure) {
  if (districtName_.empty() && failure.empty())
    failure = "所在地データ（" + std::string(kAddressFileName) + "）に「" + prefectureName_ +
              "」の地域がありません。";
  if (!failure.empty()) {
    siteFailure_ = failure;
    throw UserError(failure);
  }
  siteFailure_.reset();
}

FormEvents SiteAndSnow::prefectureChanged(FormControls& controls) {
  FormEvents out;
  const FieldState& prefecture = controls.state(FieldId::Prefecture);
  prefectureName_ = prefecture.text;

  FieldState& districts = controls.state(FieldId::District);
  districts.items.clear();
  siteFailure_.reset();
  try {
    DistrictList list = tables_.districtsOfPrefecture(prefectureName_);
    districts.items = std::move(list.districts);
    if (list.first)
      site_ = *list.first;
    if (districts.items.empty()) {
      const std::string message = "所在地データ（" + std::string(kAddressFileName) + "）に「" +
                                  prefectureName_ +
                                  "」の地域がありません。所在地データを確認して下さい。";
      siteFailure_ = message;
      out.push_back(messageEvent(FieldId::District, message));
    }
  } catch (const UserError& error) {
    siteFailure_ = error.what();
    out.push_back(messageEvent(FieldId::Prefecture, error.what()));
  }
  districts.index = districts.items.empty() ? -1 : 0;
  districts.text = districts.items.empty() ? std::string() : districts.items.front();
  districtName_ = districts.text;

  showSiteSpeed(controls);
  try {
    if (const auto coefficients = tables_.loadSnowCoefficients(site_.snowRegion)) {
      coefficients_ = *coefficients;
    }
  } catch (const UserError& error) {
    if (!siteFailure_)
      siteFailure_ = error.what();
    out.push_back(messageEvent(FieldId::Prefecture, error.what()));
  }
  append(out, updateSnowDisplays(controls));
  controls.state(FieldId::SnowModeInput).hint =
      prefectureRuleHint(site_, prefectureName_, districtName_);
  return out;
}

FormEvents SiteAndSnow::districtChanged(FormControls& controls) {
  FormEvents out;
  const FieldState& districts = controls.state(FieldId::District);
  const int chosen = districts.index;
  districtName_ = chosen >= 0 && chosen < static_cast<int>(districts.items.size())
                      ? districts.items[static_cast<std::size_t>(chosen)]
                      : std::string();
  // The district's own lookups decide afresh whether the site data hold.
  siteFailure_.reset();
  try {
    if (const auto site = tables_.lookupDistrict(prefectureName_, districtName_))
      site_ = *site;
  } catch (const UserError& error) {
    siteFailure_ = error.what();
    out.push_back(messageEvent(FieldId::District, error.what()));
  }
  showSiteSpeed(controls);
  try {
    if (const auto coefficients = tables_.lookupSnowCoefficients(site_.snowRegion)) {
      coefficients_ = *coefficients;
    }
  } catch (const UserError& error) {
    if (!siteFailure_)
      siteFailure_ = error.what();
    out.push_back(messageEvent(FieldId::District, error.what()));
  }
  append(out, updateSnowDisplays(controls));
  controls.state(FieldId::SnowModeInput).hint =
      districtRuleHint(site_, prefectureName_, districtName_);
  return out;
}

void SiteAndSnow::setSnowModeChoice(FormControls& controls, int mode) {
  const bool derive = mode == kSnowModeDerive;
  controls.state(FieldId::SnowModeInput).index = derive ? 0 : 1;
  controls.state(FieldId::SnowModeDerive).index = derive ? 1 : 0;
  controls.state(FieldId::SnowDepth).enabled = !derive;
  controls.state(FieldId::Altitude).enabled = derive;
  controls.state(FieldId::SeaRatio).enabled = derive;
}

void SiteAndSnow::showSiteSpeed(FormControls& controls) const {
  controls.state(FieldId::WindSpeedV0).text = std::to_string(site_.windSpeedV0);
}

FormEvents SiteAndSnow::updateSnowDisplays(FormControls& controls) {
  FormEvents out;
  const bool typedDepth = snowMode(controls) == kSnowModeInput;
  if (typedDepth) {
    controls.state(FieldId::Altitude).enabled = true;
    controls.state(FieldId::SeaRatio).enabled = true;
  }
  const int altitude = site_.altitude;
  controls.state(FieldId::AltitudeReference).text =
      altitude < 0 ? " --- " : std::to_string(altitude);
  controls.putSpinValue(FieldId::Altitude, std::max(altitude, 0), out);

  controls.state(FieldId::SnowDepthReference).text =
      site_.snowDepth < 0 ? "---" : std::to_string(site_.snowDepth);
  controls.state(FieldId::RadiusR).text = radiusText(coefficients_.radiusR);

  if (typedDepth) {
    controls.putSpinValue(FieldId::SnowDepth, site_.snowDepth, out);
    controls.state(FieldId::Altitude).enabled = false;
    controls.state(FieldId::SeaRatio).enabled = false;
    return out;
  }
  controls.putSpinValue(FieldId::SnowDepth, deriveDepth(controls), out);
  return out;
}

FormEvents SiteAndSnow::snowModeInput(FormControls& controls) {
  FormEvents out;
  controls.state(FieldId::SnowModeInput).index = 1;
  controls.state(FieldId::SnowModeDerive).index = 0;
  controls.state(FieldId::SnowDepth).enabled = true;
  controls.putSpinValue(FieldId::SnowDepth, site_.snowDepth, out);
  controls.state(FieldId::Altitude).enabled = false;
  controls.state(FieldId::SeaRatio).enabled = false;
  return out;
}

FormEvents SiteAndSnow::snowModeDerive(FormControls& controls, bool directLoads) {
  FormEvents out;
  controls.state(FieldId::SnowModeInput).index = 0;
  controls.state(FieldId::SnowModeDerive).index = 1;
  controls.state(FieldId::Altitude).enabled = true;
  controls.state(FieldId::SeaRatio).enabled = true;
  controls.putSpinValue(FieldId::SnowDepth, deriveDepth(controls), out);
  controls.state(FieldId::SnowDepth).enabled = false;
  // With loads entered directly the snow group is hidden; the first direct
  // load takes the focus instead.
  controls.moveFocus(directLoads ? FieldId::WindPositive : FieldId::SeaRatio, out);
  return out;
}

FormEvents SiteAndSnow::altitudeOrSeaRatioChanged(FormControls& controls) {
  FormEvents out;
  controls.putSpinValue(FieldId::SnowDepth, deriveDepth(controls), out);
  return out;
}

void SiteAndSnow::snowDepthChanged(FormControls& controls) {
  const DepthRuleResult rule = applyDepthRules(controls.spinValue(FieldId::SnowDepth));
  controls.state(FieldId::SnowUnitWeight).text = std::to_string(rule.snowUnitWeight);
  FieldState& box = controls.state(FieldId::HeavySnow);
  box.index = rule.heavySnow ? 1 : 0;
  box.enabled = false;
  heavySnowCaptionColour_ = rule.heavySnow ? kCaptionBlack : kCaptionGrey;
}

int SiteAndSnow::deriveDepth(const FormControls& controls) {
  const int altitude = controls.spinValue(FieldId::Altitude);
  seaRatio_ = controls.spinValue(FieldId::SeaRatio);
  site_.altitude = altitude;
  const DerivedSnowDepth derived = deriveSnowDepth(altitude, seaRatio_, coefficients_);
  computedDepthM_ = derived.computedDepthM;
  derivedSnowDepth_ = derived.depthCm;
  return derived.depthCm;
}

}  // namespace tavilo
