// The site and snow groups of the input screen: choosing a prefecture or a
// district fills the site data, the V0 display, the snow coefficients and the
// snow displays; the snow depth is typed or derived from altitude and sea
// ratio, and every change of it re-applies the heavy-snow rule.

#include <algorithm>
#include <string>

#include "calc/errors.h"
#include "calc/snow_depth.h"
#include "model/input_form.h"

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

FormEvents InputForm::prefectureChanged() {
  FormEvents out;
  onPrefectureChanged(out);
  return out;
}

FormEvents InputForm::districtChanged() {
  FormEvents out;
  onDistrictChanged(out);
  return out;
}

FormEvents InputForm::updateSnowDisplays() {
  FormEvents out;
  onUpdateSnowDisplays(out);
  return out;
}

FormEvents InputForm::snowModeInput() {
  FormEvents out;
  onSnowModeInput(out);
  return out;
}

FormEvents InputForm::snowModeDerive() {
  FormEvents out;
  onSnowModeDerive(out);
  return out;
}

FormEvents InputForm::altitudeOrSeaRatioChanged() {
  FormEvents out;
  onAltitudeOrSeaRatioChanged(out);
  return out;
}

FormEvents InputForm::snowDepthChanged() {
  FormEvents out;
  onSnowDepthChanged(out);
  return out;
}

void InputForm::onPrefectureChanged(FormEvents& out) {
  const FieldState& prefecture = state(FieldId::Prefecture);
  prefectureName_ = prefecture.text;

  FieldState& districts = state(FieldId::District);
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

  showSiteSpeed();
  try {
    if (const auto coefficients = tables_.loadSnowCoefficients(site_.snowRegion)) {
      coefficients_ = *coefficients;
    }
  } catch (const UserError& error) {
    if (!siteFailure_)
      siteFailure_ = error.what();
    out.push_back(messageEvent(FieldId::Prefecture, error.what()));
  }
  onUpdateSnowDisplays(out);
  state(FieldId::SnowModeInput).hint = prefectureRuleHint(site_, prefectureName_, districtName_);
}

void InputForm::onDistrictChanged(FormEvents& out) {
  const FieldState& districts = state(FieldId::District);
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
  showSiteSpeed();
  try {
    if (const auto coefficients = tables_.lookupSnowCoefficients(site_.snowRegion)) {
      coefficients_ = *coefficients;
    }
  } catch (const UserError& error) {
    if (!siteFailure_)
      siteFailure_ = error.what();
    out.push_back(messageEvent(FieldId::District, error.what()));
  }
  onUpdateSnowDisplays(out);
  state(FieldId::SnowModeInput).hint = districtRuleHint(site_, prefectureName_, districtName_);
}

void InputForm::showSiteSpeed() {
  state(FieldId::WindSpeedV0).text = std::to_string(site_.windSpeedV0);
}

void InputForm::onUpdateSnowDisplays(FormEvents& out) {
  const bool typedDepth = snowMode() == kSnowModeInput;
  if (typedDepth) {
    state(FieldId::Altitude).enabled = true;
    state(FieldId::SeaRatio).enabled = true;
  }
  const int altitude = site_.altitude;
  state(FieldId::AltitudeReference).text = altitude < 0 ? " --- " : std::to_string(altitude);
  putSpinValue(FieldId::Altitude, std::max(altitude, 0), out);

  state(FieldId::SnowDepthReference).text =
      site_.snowDepth < 0 ? "---" : std::to_string(site_.snowDepth);
  state(FieldId::RadiusR).text = radiusText(coefficients_.radiusR);

  if (typedDepth) {
    putSpinValue(FieldId::SnowDepth, site_.snowDepth, out);
    state(FieldId::Altitude).enabled = false;
    state(FieldId::SeaRatio).enabled = false;
    return;
  }
  putSpinValue(FieldId::SnowDepth, deriveDepth(), out);
}

void InputForm::onSnowModeInput(FormEvents& out) {
  state(FieldId::SnowModeInput).index = 1;
  state(FieldId::SnowModeDerive).index = 0;
  state(FieldId::SnowDepth).enabled = true;
  putSpinValue(FieldId::SnowDepth, site_.snowDepth, out);
  state(FieldId::Altitude).enabled = false;
  state(FieldId::SeaRatio).enabled = false;
}

void InputForm::onSnowModeDerive(FormEvents& out) {
  state(FieldId::SnowModeInput).index = 0;
  state(FieldId::SnowModeDerive).index = 1;
  state(FieldId::Altitude).enabled = true;
  state(FieldId::SeaRatio).enabled = true;
  putSpinValue(FieldId::SnowDepth, deriveDepth(), out);
  state(FieldId::SnowDepth).enabled = false;
  // With loads entered directly the snow group is hidden; the first direct
  // load takes the focus instead.
  moveFocus(layoutMethod_ == 1 ? FieldId::WindPositive : FieldId::SeaRatio, out);
}

void InputForm::onAltitudeOrSeaRatioChanged(FormEvents& out) {
  putSpinValue(FieldId::SnowDepth, deriveDepth(), out);
}

void InputForm::onSnowDepthChanged(FormEvents& /*out*/) {
  const DepthRuleResult rule = applyDepthRules(spinValue(FieldId::SnowDepth));
  state(FieldId::SnowUnitWeight).text = std::to_string(rule.snowUnitWeight);
  FieldState& box = state(FieldId::HeavySnow);
  box.index = rule.heavySnow ? 1 : 0;
  box.enabled = false;
  heavySnowCaptionColour_ = rule.heavySnow ? kCaptionBlack : kCaptionGrey;
}

std::string InputForm::siteDataNotice() const {
  return siteDataIsSample() ? std::string(kSampleSiteDataNotice) : std::string();
}

int InputForm::deriveDepth() {
  const int altitude = spinValue(FieldId::Altitude);
  seaRatio_ = spinValue(FieldId::SeaRatio);
  site_.altitude = altitude;
  const DerivedSnowDepth derived = deriveSnowDepth(altitude, seaRatio_, coefficients_);
  computedDepthM_ = derived.computedDepthM;
  derivedSnowDepth_ = derived.depthCm;
  return derived.depthCm;
}

}  // namespace tavilo
