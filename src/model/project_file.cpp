#include "model/project_file.h"

#include <algorithm>
#include <array>
#include <utility>

#include "calc/catalogue.h"
#include "calc/design_conditions.h"
#include "calc/errors.h"
#include "calc/numbers.h"
#include "model/print_settings_dialog.h"
#include "persistence/project_lines.h"
#include "persistence/stored_codes.h"
#include "persistence/text_file.h"
#include "platform/utf8_path.h"

namespace tavilo {
namespace {

// Building shape and roof shape codes are stored with these offsets, so that
// every choice of the wind group has a code of its own in the file.
constexpr int kBuildingShapeCodeOffset = 7;
constexpr int kRoofShapeCodeOffset = 10;

// Snow depth input mode as stored.
constexpr int kStoredSnowModeInput = 1;
constexpr int kStoredSnowModeDerive = 2;

constexpr int kDefaultOverhangLength = 500;
constexpr int kDefaultMaxDeckLength = 12000;
constexpr int kPageNumberStyleCount = 2;

// The unit weight of a file without deck lines: the "Z12" weight of the deck.
std::string versionlessUnitWeight(int deckType) {
  return unitWeightOf(deckType, kSurfaceTreatments[0]).value_or("");
}

std::string spanLine(const InputForm& form, int n, int count) {
  return count >= n ? form.text(spanField(n)) : std::string("0");
}

// Applies the items of one file in the order of the file's table. A line that
// must be an integer and is not, or an index outside its list, throws
// UserError; what was applied before stays applied.
class ProjectApplier {
 public:
  ProjectApplier(const ProjectReader& reader, const ProjectContext& context, FormEvents& out)
      : reader_(reader), c_(context), out_(out) {}

  void run() {
    deckAndJoints();
    site();
    wind();
    roof();
    snow();
    otherLoads();
    spans();
    printSettings();
    settings();
    if (reader_.hasDeckAndOverhangLines()) {
      deckAndOverhangs();
    } else {
      versionlessDeckAndOverhangs();
    }
  }

 private:
  void add(const FormEvents& events) { out_.insert(out_.end(), events.begin(), events.end()); }

  // An index of a list of the screen: the default when the line is not an
  // integer; an index outside the list stops the load.
  int listIndex(ProjectItem item, FieldId list, int fallback = 0) const {
    const int chosen = reader_.indexOr(item, fallback);
    const int size = static_cast<int>(c_.form.items(list).size());
    if (chosen < 0 || chosen >= size)
      reader_.throwOutsideList(item);
    return chosen;
  }

  void select(ProjectItem item, FieldId list) {
    add(c_.form.selectIndex(list, listIndex(item, list)));
  }

  // A text as the file holds it; messages about it name its line.
  void setText(FieldId id, ProjectItem item) { putText(id, item, reader_.text(item)); }

  void putText(FieldId id, ProjectItem item, std::string_view text) {
    add(c_.form.setText(id, text));
    c_.form.setTextSource(id, reader_.source(item));
  }

  void setSpin(FieldId id, int value) { add(c_.form.setSpinValue(id, value)); }

  void deckAndJoints() {
    select(ProjectItem::DeckType, FieldId::DeckType);
    select(ProjectItem::EndJoint, FieldId::EndJoint);
    // A version-less file reads the end joint's line here.
    select(ProjectItem::MidJoint, FieldId::MidJoint);
  }

  void site() {
    select(ProjectItem::Prefecture, FieldId::Prefecture);
    // A prefecture without districts in the tables was saved with none chosen.
    if (c_.form.items(FieldId::District).empty() &&
        reader_.indexOr(ProjectItem::District, 0) == -1) {
      return;
    }
    select(ProjectItem::District, FieldId::District);
  }

  void wind() {
    // Only the display: the calculation takes V0 of the chosen district.
    setText(FieldId::WindSpeedV0, ProjectItem::WindSpeedV0);
    select(ProjectItem::Roughness, FieldId::Roughness);
    setText(FieldId::EavesHeightH1, ProjectItem::EavesHeightH1);
    setText(FieldId::BuildingHeightH2, ProjectItem::BuildingHeightH2);
    setText(FieldId::SpanDirectionLengthD, ProjectItem::SpanDirectionLengthD);
  }

  void roof() {
    const std::optional<RoofType> roofType =
        roofTypeFromCode(reader_.indexOr(ProjectItem::RoofType, roofTypeCode(RoofType::MonoPitch)));
    if (!roofType)
      reader_.throwOutsideList(ProjectItem::RoofType);
    add(c_.form.clickRoofType(*roofType));

    add(c_.form.clickBuildingShape(offsetChoice(
        ProjectItem::BuildingShape, kBuildingShapeCodeOffset, kBuildingShapeItems.size())));
    add(c_.form.clickRoofShape(
        offsetChoice(ProjectItem::RoofShape, kRoofShapeCodeOffset, kRoofShapeNames.size())));
  }

  // A choice stored as offset + position. The code is compared with its range
  // before the offset is taken off, so that no stored number can overflow.
  int offsetChoice(ProjectItem item, int offset, std::size_t count) const {
    const int code = reader_.indexOr(item, offset);
    if (code < offset || code - offset >= static_cast<int>(count))
      reader_.throwOutsideList(item);
    return code - offset;
  }

  void snow() {
    const int mode = reader_.indexOr(ProjectItem::SnowMode, kStoredSnowModeInput);
    InputForm& form = c_.form;
    form.setEnabled(FieldId::SnowDepth, true);
    form.setEnabled(FieldId::Altitude, true);
    form.setEnabled(FieldId::SeaRatio, true);
    // A converted file has no reference texts: the district's stay.
    if (!reader_.converted()) {
      setText(FieldId::SnowDepthReference, ProjectItem::SnowDepthReference);
      setText(FieldId::AltitudeReference, ProjectItem::AltitudeReference);
    }
    setSpin(FieldId::Altitude, reader_.integer(ProjectItem::Altitude));
    setSpin(FieldId::SeaRatio, reader_.integer(ProjectItem::SeaRatio));
    if (!reader_.converted())
      setText(FieldId::RadiusR, ProjectItem::RadiusR);
    // The depth first: its rule sets ρ and the heavy-snow box, then the
    // file's ρ replaces that ρ.
    setSpin(FieldId::SnowDepth, reader_.integer(ProjectItem::SnowDepth));
    setSpin(FieldId::SnowUnitWeight, reader_.integer(ProjectItem::SnowUnitWeight));
    // Selecting the mode now only styles and enables the fields; the depth
    // keeps the value read from the file.
    form.setSnowModeChoice(mode == kStoredSnowModeInput ? kSnowModeInput : kSnowModeDerive);
  }

  void otherLoads() {
    setSpin(FieldId::LiveLoad, reader_.integer(ProjectItem::LiveLoad));
    setSpin(FieldId::FinishingLoad, reader_.integer(ProjectItem::FinishingLoad));
  }

  void spans() {
    // The span count steps one by one, building the span fields as the
    // arrows would.
    setSpin(FieldId::SpanCount, reader_.integer(ProjectItem::SpanCount));
    const int count = c_.form.spinValue(FieldId::SpanCount);
    setText(FieldId::Span1, ProjectItem::Span1);
    for (int n = 2; n <= kMaxSpans; ++n) {
      if (count >= n)
        setText(spanField(n), spanItem(n));
    }
  }

  void printSettings() {
    PrintSettings& print = c_.print;
    projectTitle();
    print.pageNumberPosition =
        pageNumberPositionFromCode(reader_.indexOr(ProjectItem::PageNumberPosition, 0))
            .value_or(PageNumberPosition::None);
    const int style = reader_.indexOr(ProjectItem::PageNumberStyle, 0);
    if (style < 0 || style >= kPageNumberStyleCount) {
      reader_.throwOutsideList(ProjectItem::PageNumberStyle);
    }
    print.pageNumberStyle = style;
    // Pages are numbered from 1 at the least.
    print.startNumber = std::to_string(std::max(1, reader_.integer(ProjectItem::FirstPageNumber)));
  }

  // The name field holds 65 characters; a longer title would only fill the
  // report's title box past its frame (and a huge one, memory and the PDF).
  void projectTitle() {
    const std::string& title = reader_.text(ProjectItem::ProjectTitle);
    c_.print.projectName = fittedProjectName(title);
    const std::size_t length = decodeUtf8(title).size();
    if (length <= kProjectNameMaxLength)
      return;
    out_.push_back(messageEvent(
        FieldId::None, reader_.source(ProjectItem::ProjectTitle) + "の物件名は " +
                           std::to_string(length) + " 文字です。物件名は " +
                           std::to_string(kProjectNameMaxLength) + " 文字までのため、先頭の " +
                           std::to_string(kProjectNameMaxLength) + " 文字とします。"));
  }

  void settings() {
    // The reserved flag (line 33) and the design strength (line 35) are not read.
    CoefficientSettings& settings = c_.settings;
    SettingsDialog& dialog = c_.dialog;
    // Brought into the dialog's range, as every spin field a file fills: a
    // length beyond it would only let absurd spans through to the analysis.
    settings.maxDeckLength =
        clampToRange(reader_.indexOr(ProjectItem::MaxDeckLength, kDefaultMaxDeckLength),
                     fieldInfo(FieldId::SettingsMaxDeckLength).range);
    dialog.setMaxDeckLength(settings.maxDeckLength);

    LoadRatios& ratios = settings.loadRatios;
    for (int i = 0; i < kLoadRatioCount; ++i) {
      const auto position = static_cast<std::size_t>(i);
      const ProjectItem item = ratioItem(i);
      if (const auto value = reader_.ratio(item)) {
        ratios[position] = *value;
      } else {
        out_.push_back(messageEvent(ratioField(i),
                                    reader_.ratioMessage(item, kDefaultLoadRatioTexts[position])));
        ratios[position] = kDefaultLoadRatios[position];
      }
      if (i == kHeavySnowRatioOffset - 1)
        fillRatioFields(0, kHeavySnowRatioOffset);
    }
    fillRatioFields(kHeavySnowRatioOffset, kLoadRatioCount);

    const int method =
        reader_.indexOr(ProjectItem::CalcMethod, kCalcMethodNotices) == kCalcMethodDirect
            ? kCalcMethodDirect
            : kCalcMethodNotices;
    dialog.clickMethod(method);
    setSpin(FieldId::WindPositive, reader_.indexOr(ProjectItem::WindPositive, 0));
    setSpin(FieldId::WindNegative, reader_.indexOr(ProjectItem::WindNegative, 0));
    setSpin(FieldId::DirectSnowLoad, reader_.indexOr(ProjectItem::DirectSnowLoad, 0));
    if (method != settings.calcMethod || method != c_.form.layoutMethod()) {
      add(c_.form.setLayout(method));
    }
    settings.calcMethod = method;
  }

  // Fills the dialog's ratio fields [first, end) in the shortest form, in
  // order: a G field sets its P field too, and the P field then shows what the
  // file holds, so the dialog shows exactly what the calculation uses. (The P
  // ratio only multiplies concentrated loads, which are always zero.)
  void fillRatioFields(int first, int end) {
    const LoadRatios& ratios = c_.settings.loadRatios;
    for (int i = first; i < end; ++i) {
      c_.dialog.setRatioText(i, shortestDecimal(ratios[static_cast<std::size_t>(i)]));
    }
  }

  void deckAndOverhangs() {
    select(ProjectItem::SurfaceTreatment, FieldId::SurfaceTreatment);
    // An integer line like any other: an empty or non-numeric unit weight
    // stops the load here, naming the file, the line and the value.
    putText(FieldId::UnitWeight, ProjectItem::UnitWeight,
            std::to_string(reader_.integer(ProjectItem::UnitWeight)));
    const int code = reader_.indexOr(ProjectItem::OverhangArrangement, kOverhangNone);
    if (code < kOverhangNone || code > kOverhangBoth) {
      reader_.throwOutsideList(ProjectItem::OverhangArrangement);
    }
    add(c_.form.setOverhangCode(code));
    if (overhangOnLeft(code))
      fillOverhang(FieldId::LeftOverhang);
    if (overhangOnRight(code))
      fillOverhang(FieldId::RightOverhang);
  }

  void versionlessDeckAndOverhangs() {
    add(c_.form.selectIndex(FieldId::SurfaceTreatment, 0));
    add(c_.form.setText(FieldId::UnitWeight,
                        versionlessUnitWeight(c_.form.index(FieldId::DeckType))));
    add(c_.form.setOverhangCode(kOverhangNone));
    fillOverhang(FieldId::LeftOverhang);
    fillOverhang(FieldId::RightOverhang);
  }

  void fillOverhang(FieldId id) {
    const ProjectItem item =
        id == FieldId::LeftOverhang ? ProjectItem::LeftOverhang : ProjectItem::RightOverhang;
    // A length the file does not hold is the default, which no line gave.
    if (const auto length = parseInteger(reader_.text(item))) {
      putText(id, item, std::to_string(*length));
    } else {
      add(c_.form.setText(id, std::to_string(kDefaultOverhangLength)));
    }
  }

  const ProjectReader& reader_;
  const ProjectContext& c_;
  FormEvents& out_;
};

}  // namespace

std::vector<std::string> projectLines(const InputForm& form, const CoefficientSettings& current,
                                      const PrintSettings& print) {
  const CoefficientSettings settings = settingsForProject(current);
  const auto number = [](int value) { return std::to_string(value); };
  const int count = form.spinValue(FieldId::SpanCount);
  const int overhang = form.overhangCode();
  const bool left = overhangOnLeft(overhang);
  const bool right = overhangOnRight(overhang);

  std::vector<std::string> lines = {
      std::string(kProjectVersion),
      number(form.index(FieldId::DeckType)),
      number(form.index(FieldId::EndJoint)),
      number(form.index(FieldId::MidJoint)),
      number(form.index(FieldId::Prefecture)),
      number(form.index(FieldId::District)),
      form.text(FieldId::WindSpeedV0),
      number(form.index(FieldId::Roughness)),
      form.text(FieldId::EavesHeightH1),
      form.text(FieldId::BuildingHeightH2),
      form.text(FieldId::SpanDirectionLengthD),
      number(roofTypeCode(form.roofType())),
      number(form.buildingShapeCode() + kBuildingShapeCodeOffset),
      number(form.roofShapeCode() + kRoofShapeCodeOffset),
      number(form.snowMode() == kSnowModeInput ? kStoredSnowModeInput : kStoredSnowModeDerive),
      form.text(FieldId::SnowDepthReference),
      form.text(FieldId::AltitudeReference),
      number(form.spinValue(FieldId::Altitude)),
      number(form.spinValue(FieldId::SeaRatio)),
      form.text(FieldId::RadiusR),
      number(form.spinValue(FieldId::SnowDepth)),
      number(form.spinValue(FieldId::SnowUnitWeight)),
      number(form.spinValue(FieldId::LiveLoad)),
      number(form.spinValue(FieldId::FinishingLoad)),
      number(count),
      form.text(FieldId::Span1),
      spanLine(form, 2, count),
      spanLine(form, 3, count),
      spanLine(form, 4, count),
      print.projectName,
      number(pageNumberPositionCode(print.pageNumberPosition)),
      number(print.pageNumberStyle),
      print.startNumber,
      std::string(kReservedFlag),
      number(settings.maxDeckLength),
      number(settings.designStrengthF),
  };
  for (const double ratio : settings.loadRatios)
    lines.push_back(shortestDecimal(ratio));
  const std::vector<std::string> tail = {
      number(settings.calcMethod),
      number(form.spinValue(FieldId::WindPositive)),
      number(form.spinValue(FieldId::WindNegative)),
      number(form.spinValue(FieldId::DirectSnowLoad)),
      number(form.index(FieldId::SurfaceTreatment)),
      form.text(FieldId::UnitWeight),
      number(overhang),
      left ? form.text(FieldId::LeftOverhang) : std::string("0"),
      right ? form.text(FieldId::RightOverhang) : std::string("0"),
  };
  lines.insert(lines.end(), tail.begin(), tail.end());
  return lines;
}

void saveProject(const std::filesystem::path& path, const ProjectContext& context) {
  writeTextLines(path, projectLines(context.form, context.settings, context.print));
  rememberSaved(context.paths, path);
  context.form.setProjectPath(utf8FromPath(path));
}

ProjectLoad loadProject(const std::filesystem::path& path, const ProjectContext& context) {
  std::vector<std::string> lines;
  try {
    lines = readTextLines(path, kProjectFileSizeLimit);
  } catch (const UserError& error) {
    return {{}, error.what(), false, false};
  }
  rememberOpened(context.paths, path);
  context.form.setProjectPath(utf8FromPath(path));
  ProjectLoad load = applyProjectLines(std::move(lines), utf8FromPath(path), context);
  load.fileRead = true;
  return load;
}

ProjectLoad applyProjectLines(std::vector<std::string> fileLines, const std::string& fileLabel,
                              const ProjectContext& context) {
  ProjectLoad load;
  try {
    requireProjectFile(fileLines, fileLabel);
    const ProjectReader reader(std::move(fileLines), fileLabel);
    load.converted = reader.converted();
    ProjectApplier(reader, context, load.events).run();
  } catch (const UserError& error) {
    load.failure = error.what();
  }
  return load;
}

}  // namespace tavilo
