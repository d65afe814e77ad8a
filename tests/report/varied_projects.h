#pragma once
// Many varied projects built the way an engineer builds them: a sample project
// loaded into the input form on the shipped location tables, then its site,
// roof, spans and overhangs changed through the form before calculating, and
// its print settings set. Every roof type and shape, one to four spans (a
// 500 mm span beside 6000 mm spans), overhangs of 200 to 1000 mm on either or
// both ends, heavy-snow and ordinary sites, directly entered loads, page
// numbers and long project names.

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "calc/codes.h"
#include "persistence/stored_codes.h"
#include "report_samples.h"

namespace tavilo::testing {

struct VariedProject {
  std::string sample;                // the example it starts from
  std::string prefecture, district;  // empty: the sample's own site
  bool deriveSnowDepth = false;
  RoofType roofType = RoofType::Gable;
  int shape = 0;  // building shape, or the canopy's roof shape
  std::vector<int> spans;
  int leftOverhang = 0, rightOverhang = 0;  // mm; 0 for none
  int spanDirectionLengthD = 12000;         // mm
  PrintSettings print;

  std::string description() const {
    std::string text = sample + " " + district + " roof " + std::to_string(roofTypeCode(roofType)) +
                       "/" + std::to_string(shape) + " D " + std::to_string(spanDirectionLengthD) +
                       " spans";
    for (const int s : spans)
      text += " " + std::to_string(s);
    return text + " overhangs " + std::to_string(leftOverhang) + "/" +
           std::to_string(rightOverhang) + " name " + print.projectName;
  }
};

inline Sample calculateVaried(const VariedProject& p) {
  Sample sample = calculateSample(p.sample, [&](InputForm& form, CoefficientSettings& settings) {
    settings.maxDeckLength = 40000;  // long decks belong to the set
    const auto choose = [&](FieldId id, const std::string& item) {
      const std::vector<std::string>& items = form.items(id);
      std::ignore = form.selectIndex(
          id, static_cast<int>(std::find(items.begin(), items.end(), item) - items.begin()));
    };
    if (!p.prefecture.empty()) {
      choose(FieldId::Prefecture, p.prefecture);
      choose(FieldId::District, p.district);
    }
    if (p.deriveSnowDepth)
      std::ignore = form.clickSnowModeDerive();
    std::ignore = form.clickRoofType(p.roofType);
    if (p.roofType == RoofType::Canopy)
      std::ignore = form.clickRoofShape(p.shape);
    else
      std::ignore = form.clickBuildingShape(p.shape);
    std::ignore =
        form.typeText(FieldId::SpanDirectionLengthD, std::to_string(p.spanDirectionLengthD));
    std::ignore = form.setSpinValue(FieldId::SpanCount, static_cast<int>(p.spans.size()));
    for (std::size_t i = 0; i < p.spans.size(); ++i)
      std::ignore = form.typeText(spanField(static_cast<int>(i) + 1), std::to_string(p.spans[i]));
    std::ignore = form.setOverhangCode((p.leftOverhang > 0 ? kOverhangLeft : 0) +
                                       (p.rightOverhang > 0 ? kOverhangRight : 0));
    if (p.leftOverhang > 0)
      std::ignore = form.typeText(FieldId::LeftOverhang, std::to_string(p.leftOverhang));
    if (p.rightOverhang > 0)
      std::ignore = form.typeText(FieldId::RightOverhang, std::to_string(p.rightOverhang));
  });
  sample.print = p.print;
  return sample;
}

// 240 projects that vary every dimension at its own pace, so that each roof,
// span set, overhang pair, site, length D and print setting meets many of the
// others.
inline std::vector<VariedProject> variedProjects() {
  const std::vector<std::pair<RoofType, int>> roofs = {
      {RoofType::MonoPitch, 0}, {RoofType::MonoPitch, 1}, {RoofType::MonoPitch, 2},
      {RoofType::Gable, 0},     {RoofType::Gable, 1},     {RoofType::Gable, 2},
      {RoofType::Arched, 0},    {RoofType::Arched, 1},    {RoofType::Arched, 2},
      {RoofType::Canopy, 0},    {RoofType::Canopy, 1}};
  const std::vector<std::vector<int>> spanSets = {{500},
                                                  {6000},
                                                  {2500},
                                                  {6000, 500},
                                                  {500, 6000},
                                                  {1800, 900},
                                                  {6000, 500, 6000},
                                                  {500, 500, 500},
                                                  {2500, 2500, 2500},
                                                  {6000, 500, 6000, 500},
                                                  {500, 6000, 6000, 500},
                                                  {3000, 3000, 3000, 3000},
                                                  {6000, 6000, 6000, 6000},
                                                  {900, 500, 700, 500}};
  const std::vector<std::pair<int, int>> overhangs = {{0, 0},       {200, 0},   {1000, 0},
                                                      {0, 200},     {0, 1000},  {200, 200},
                                                      {1000, 1000}, {500, 200}, {200, 1000}};
  struct Site {
    std::string sample, prefecture, district;
    bool derive;
  };
  const std::vector<Site> sites = {{"ordinary-3span", "", "", false},
                                   {"heavy-snow-overhangs", "", "", false},
                                   {"direct-1span", "", "", false},
                                   {"ordinary-3span", "宮城県", "仙台市", true},
                                   {"heavy-snow-overhangs", "新潟県", "十日町市", true},
                                   {"ordinary-3span", "沖縄県", "那覇市", false},
                                   {"heavy-snow-overhangs", "北海道", "札幌市", true}};
  const std::vector<int> lengthsD = {4000, 12000, 20000, 60000};
  // The 65 characters the print settings dialog allows.
  std::string longName;
  for (int i = 0; i < 5; ++i)
    longName += "大規模物流倉庫新築工事屋根";

  std::vector<VariedProject> projects;
  for (std::size_t i = 0; i < 240; ++i) {
    const Site& site = sites[(i / 3) % sites.size()];
    VariedProject p;
    p.sample = site.sample;
    p.prefecture = site.prefecture;
    p.district = site.district;
    p.deriveSnowDepth = site.derive;
    std::tie(p.roofType, p.shape) = roofs[i % roofs.size()];
    p.spans = spanSets[(i * 5 + i / 7) % spanSets.size()];
    std::tie(p.leftOverhang, p.rightOverhang) = overhangs[(i * 7 + i / 11) % overhangs.size()];
    p.spanDirectionLengthD = lengthsD[(i / 2) % lengthsD.size()];
    p.print.projectName = i % 4 == 1 ? longName : i % 4 == 2 ? "倉庫A棟" : kNoProjectName;
    p.print.pageNumberPosition = kPageNumberPositions[i % kPageNumberPositions.size()];
    p.print.pageNumberStyle = static_cast<int>(i / 5 % 2);
    p.print.startNumber = i % 3 == 0 ? "9999" : "1";
    projects.push_back(p);
  }
  return projects;
}

}  // namespace tavilo::testing
