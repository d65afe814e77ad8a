#include "model/project_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
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
#include "text/utf8.h"

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

// What a save writes: the screen, the settings as a project keeps them and
// the print settings.
struct SavedProject {
  const InputForm& form;
  const CoefficientSettings& settings;
  const PrintSettings& print;
};

std::string number(int value) {
  return std::to_string(value);
}

// ---- Writing a line: the text of one item (`position` within its run)

using LineWriter = std::string (*)(const SavedProject&, int position);

template <FieldId id>
std::string listIndexLine(const SavedProject& p, int) {
  return number(p.form.index(id));
}
template <FieldId id>
std::string textLine(const SavedProject& p, int) {
  return p.form.text(id);
}
template <FieldId id>
std::string spinLine(const SavedProject& p, int) {
  return number(p.form.spinValue(id));
}
std::string versionLine(const SavedProject&, int) {
  return std::string(kProjectVersion);
}
std::string roofTypeLine(const SavedProject& p, int) {
  return number(roofTypeCode(p.form.roofType()));
}
std::string buildingShapeLine(const SavedProject& p, int) {
  return number(p.form.buildingShapeCode() + kBuildingShapeCodeOffset);
}
std::string roofShapeLine(const SavedProject& p, int) {
  return number(p.form.roofShapeCode() + kRoofShapeCodeOffset);
}
std::string snowModeLine(const SavedProject& p, int) {
  return number(p.form.snowMode() == kSnowModeInput ? kStoredSnowModeInput : kStoredSnowModeDerive);
}
// The first span always; a span beyond the count as "0".
std::string spanLine(const SavedProject& p, int position) {
  const int n = position + 1;
  return n == 1 || p.form.spinValue(FieldId::SpanCount) >= n ? p.form.text(spanField(n))
                                                             : std::string("0");
}
std::string projectTitleLine(const SavedProject& p, int) {
  return p.print.projectName;
}
std::string pageNumberPositionLine(const SavedProject& p, int) {
  return number(pageNumberPositionCode(p.print.pageNumberPosition));
}
std::string pageNumberStyleLine(const SavedProject& p, int) {
  return number(p.print.pageNumberStyle);
}
std::string firstPageNumberLine(const SavedProject& p, int) {
  return p.print.startNumber;
}
std::string reservedFlagLine(const SavedProject&, int) {
  return std::string(kReservedFlag);
}
std::string maxDeckLengthLine(const SavedProject& p, int) {
  return number(p.settings.maxDeckLength);
}
std::string designStrengthLine(const SavedProject& p, int) {
  return number(p.settings.designStrengthF);
}
std::string ratioLine(const SavedProject& p, int position) {
  return shortestDecimal(p.settings.loadRatios[static_cast<std::size_t>(position)]);
}
std::string calcMethodLine(const SavedProject& p, int) {
  return number(p.settings.calcMethod);
}
std::string overhangArrangementLine(const SavedProject& p, int) {
  return number(p.form.overhangCode());
}
// The length of an overhang that is not there as "0".
template <FieldId id>
std::string overhangLine(const SavedProject& p, int) {
  const int code = p.form.overhangCode();
  const bool shown = id == FieldId::LeftOverhang ? overhangOnLeft(code) : overhangOnRight(code);
  return shown ? p.form.text(id) : std::string("0");
}

// Applies the items of one file in the order of the file's layout. A line
// that must be an integer and is not, or an index outside its list, throws
// UserError; what was applied before stays applied.
class ProjectApplier {
 public:
  ProjectApplier(const ProjectReader& reader, const ProjectContext& context, FormEvents& out)
      : reader_(reader), c_(context), out_(out) {}

  void run();

  // ---- Applying a line: one item (`position` within its run)

  void notRead(ProjectItem, int) {}

  // An index of a list of the screen.
  template <FieldId id>
  void select(ProjectItem item, int) {
    add(c_.form.selectIndex(id, listIndex(item, id)));
  }

  // A text as the file holds it; messages about it name its line.
  template <FieldId id>
  void setText(ProjectItem item, int) {
    putText(id, item, reader_.text(item));
  }

  // A text the legacy layout does not hold: a converted file keeps the
  // district's.
  template <FieldId id>
  void setTextUnlessConverted(ProjectItem item, int) {
    if (!reader_.converted())
      putText(id, item, reader_.text(item));
  }

  // An integer-only spin field.
  template <FieldId id>
  void setIntegerSpin(ProjectItem item, int) {
    setSpin(id, reader_.integer(item));
  }

  // A spin field that a line which is no integer leaves at 0.
  template <FieldId id>
  void setSpinOrZero(ProjectItem item, int) {
    setSpin(id, reader_.indexOr(item, 0));
  }

  // A prefecture without districts in the tables was saved with none chosen.
  void district(ProjectItem item, int position) {
    if (c_.form.items(FieldId::District).empty() && reader_.indexOr(item, 0) == -1)
      return;
    select<FieldId::District>(item, position);
  }

  void roofType(ProjectItem item, int) {
    const std::optional<RoofType> roofType =
        roofTypeFromCode(reader_.indexOr(item, roofTypeCode(RoofType::MonoPitch)));
    if (!roofType)
      reader_.throwOutsideList(item);
    add(c_.form.clickRoofType(*roofType));
  }

  void buildingShape(ProjectItem item, int) {
    add(c_.form.clickBuildingShape(
        offsetChoice(item, kBuildingShapeCodeOffset, kBuildingShapeItems.size())));
  }

  void roofShape(ProjectItem item, int) {
    add(c_.form.clickRoofShape(offsetChoice(item, kRoofShapeCodeOffset, kRoofShapeNames.size())));
  }

  // The snow fields take what the file holds whatever the mode; the mode
  // itself is applied after ρ (snowUnitWeight).
  void snowMode(ProjectItem, int) {
    c_.form.setEnabled(FieldId::SnowDepth, true);
    c_.form.setEnabled(FieldId::Altitude, true);
    c_.form.setEnabled(FieldId::SeaRatio, true);
  }

  // The depth comes first: its rule sets ρ and the heavy-snow box, then the
  // file's ρ replaces that ρ. Selecting the mode now only styles and enables
  // the fields; the depth keeps the value read from the file.
  void snowUnitWeight(ProjectItem item, int position) {
    setIntegerSpin<FieldId::SnowUnitWeight>(item, position);
    const int mode = reader_.indexOr(ProjectItem::SnowMode, kStoredSnowModeInput);
    c_.form.setSnowModeChoice(mode == kStoredSnowModeInput ? kSnowModeInput : kSnowModeDerive);
  }

  // The span count steps one by one, building the span fields as the arrows
  // would; a span beyond the count is not read.
  void span(ProjectItem item, int position) {
    const int n = position + 1;
    if (n == 1 || c_.form.spinValue(FieldId::SpanCount) >= n)
      putText(spanField(n), item, reader_.text(item));
  }

  // The name field holds 65 characters; a longer title would only fill the
  // report's title box past its frame (and a huge one, memory and the PDF).
  void projectTitle(ProjectItem item, int) {
    const std::string& title = reader_.text(item);
    c_.print.projectName = fittedProjectName(title);
    const std::size_t length = decodeUtf8(title).size();
    if (length <= kProjectNameMaxLength)
      return;
    out_.push_back(messageEvent(
        FieldId::None, reader_.source(item) + "の物件名は " + std::to_string(length) +
                           " 文字です。物件名は " + std::to_string(kProjectNameMaxLength) +
                           " 文字までのため、先頭の " + std::to_string(kProjectNameMaxLength) +
                           " 文字とします。"));
  }

  void pageNumberPosition(ProjectItem item, int) {
    c_.print.pageNumberPosition =
        pageNumberPositionFromCode(reader_.indexOr(item, 0)).value_or(PageNumberPosition::None);
  }

  void pageNumberStyle(ProjectItem item, int) {
    const int style = reader_.indexOr(item, 0);
    if (style < 0 || style >= kPageNumberStyleCount)
      reader_.throwOutsideList(item);
    c_.print.pageNumberStyle = style;
  }

  // Pages are numbered from 1 at the least.
  void firstPageNumber(ProjectItem item, int) {
    c_.print.startNumber = std::to_string(std::max(1, reader_.integer(item)));
  }

  // Brought into the dialog's range, as every spin field a file fills: a
  // length beyond it would only let absurd spans through to the analysis.
  void maxDeckLength(ProjectItem item, int) {
    c_.settings.maxDeckLength = clampToRange(reader_.indexOr(item, kDefaultMaxDeckLength),
                                             fieldInfo(FieldId::SettingsMaxDeckLength).range);
    c_.dialog.setMaxDeckLength(c_.settings.maxDeckLength);
  }

  // A ratio the dialog's field cannot hold takes its default, with a message.
  // The dialog's fields of a set are filled once its last ratio is read.
  void ratio(ProjectItem item, int position) {
    const auto at = static_cast<std::size_t>(position);
    LoadRatios& ratios = c_.settings.loadRatios;
    if (const auto value = reader_.ratio(item)) {
      ratios[at] = *value;
    } else {
      out_.push_back(messageEvent(ratioField(position),
                                  reader_.ratioMessage(item, kDefaultLoadRatioTexts[at])));
      ratios[at] = kDefaultLoadRatios[at];
    }
    if (position == kHeavySnowRatioOffset - 1)
      fillRatioFields(0, kHeavySnowRatioOffset);
    if (position == kLoadRatioCount - 1)
      fillRatioFields(kHeavySnowRatioOffset, kLoadRatioCount);
  }

  void calcMethod(ProjectItem, int) { c_.dialog.clickMethod(storedMethod()); }

  // The last line of the method's own values: the screen takes the layout of
  // the method.
  void directSnowLoad(ProjectItem item, int position) {
    setSpinOrZero<FieldId::DirectSnowLoad>(item, position);
    const int method = storedMethod();
    if (method != c_.settings.calcMethod || method != c_.form.layoutMethod())
      add(c_.form.setLayout(method));
    c_.settings.calcMethod = method;
  }

  // A file of 60 lines or fewer holds no deck or overhang lines: the first
  // treatment with the deck's "Z12" weight, and no overhangs of the default
  // length.
  void surfaceTreatment(ProjectItem item, int position) {
    if (reader_.hasDeckAndOverhangLines())
      select<FieldId::SurfaceTreatment>(item, position);
    else
      add(c_.form.selectIndex(FieldId::SurfaceTreatment, 0));
  }

  void unitWeight(ProjectItem item, int) {
    if (!reader_.hasDeckAndOverhangLines()) {
      add(c_.form.setText(FieldId::UnitWeight,
                          versionlessUnitWeight(c_.form.index(FieldId::DeckType))));
      return;
    }
    // An integer line like any other: an empty or non-numeric unit weight
    // stops the load here, naming the file, the line and the value.
    putText(FieldId::UnitWeight, item, std::to_string(reader_.integer(item)));
  }

  void overhangArrangement(ProjectItem item, int) {
    if (!reader_.hasDeckAndOverhangLines()) {
      add(c_.form.setOverhangCode(kOverhangNone));
      return;
    }
    const int code = storedOverhangCode();
    if (code < kOverhangNone || code > kOverhangBoth)
      reader_.throwOutsideList(item);
    add(c_.form.setOverhangCode(code));
  }

  template <FieldId id>
  void overhangLength(ProjectItem item, int) {
    const int code = storedOverhangCode();
    const bool shown = id == FieldId::LeftOverhang ? overhangOnLeft(code) : overhangOnRight(code);
    if (!reader_.hasDeckAndOverhangLines() || shown)
      fillOverhang(id, item);
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

  void putText(FieldId id, ProjectItem item, std::string_view text) {
    add(c_.form.setText(id, text));
    c_.form.setTextSource(id, reader_.source(item));
  }

  void setSpin(FieldId id, int value) { add(c_.form.setSpinValue(id, value)); }

  // A choice stored as offset + position. The code is compared with its range
  // before the offset is taken off, so that no stored number can overflow.
  int offsetChoice(ProjectItem item, int offset, std::size_t count) const {
    const int code = reader_.indexOr(item, offset);
    if (code < offset || code - offset >= static_cast<int>(count))
      reader_.throwOutsideList(item);
    return code - offset;
  }

  int storedMethod() const {
    return reader_.indexOr(ProjectItem::CalcMethod, kCalcMethodNotices) == kCalcMethodDirect
               ? kCalcMethodDirect
               : kCalcMethodNotices;
  }

  int storedOverhangCode() const {
    return reader_.indexOr(ProjectItem::OverhangArrangement, kOverhangNone);
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

  // A length the file does not hold is the default, which no line gave.
  void fillOverhang(FieldId id, ProjectItem item) {
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

// ---- Each run of the layout on the screen: how a save writes it and how a
// load applies it.

using LineApplier = void (ProjectApplier::*)(ProjectItem item, int position);

struct ProjectLineBinding {
  ProjectItem first;  // the run of kProjectLayout
  LineWriter write;
  LineApplier apply;
};

using A = ProjectApplier;
using F = FieldId;
using I = ProjectItem;

constexpr auto kLineBindings = std::to_array<ProjectLineBinding>({
    {I::Version, versionLine, &A::notRead},
    {I::DeckType, listIndexLine<F::DeckType>, &A::select<F::DeckType>},
    {I::EndJoint, listIndexLine<F::EndJoint>, &A::select<F::EndJoint>},
    // A version-less file reads the end joint's line here.
    {I::MidJoint, listIndexLine<F::MidJoint>, &A::select<F::MidJoint>},
    {I::Prefecture, listIndexLine<F::Prefecture>, &A::select<F::Prefecture>},
    {I::District, listIndexLine<F::District>, &A::district},
    // Only the display: the calculation takes V0 of the chosen district.
    {I::WindSpeedV0, textLine<F::WindSpeedV0>, &A::setText<F::WindSpeedV0>},
    {I::Roughness, listIndexLine<F::Roughness>, &A::select<F::Roughness>},
    {I::EavesHeightH1, textLine<F::EavesHeightH1>, &A::setText<F::EavesHeightH1>},
    {I::BuildingHeightH2, textLine<F::BuildingHeightH2>, &A::setText<F::BuildingHeightH2>},
    {I::SpanDirectionLengthD, textLine<F::SpanDirectionLengthD>,
     &A::setText<F::SpanDirectionLengthD>},
    {I::RoofType, roofTypeLine, &A::roofType},
    {I::BuildingShape, buildingShapeLine, &A::buildingShape},
    {I::RoofShape, roofShapeLine, &A::roofShape},
    {I::SnowMode, snowModeLine, &A::snowMode},
    {I::SnowDepthReference, textLine<F::SnowDepthReference>,
     &A::setTextUnlessConverted<F::SnowDepthReference>},
    {I::AltitudeReference, textLine<F::AltitudeReference>,
     &A::setTextUnlessConverted<F::AltitudeReference>},
    {I::Altitude, spinLine<F::Altitude>, &A::setIntegerSpin<F::Altitude>},
    {I::SeaRatio, spinLine<F::SeaRatio>, &A::setIntegerSpin<F::SeaRatio>},
    {I::RadiusR, textLine<F::RadiusR>, &A::setTextUnlessConverted<F::RadiusR>},
    {I::SnowDepth, spinLine<F::SnowDepth>, &A::setIntegerSpin<F::SnowDepth>},
    {I::SnowUnitWeight, spinLine<F::SnowUnitWeight>, &A::snowUnitWeight},
    {I::LiveLoad, spinLine<F::LiveLoad>, &A::setIntegerSpin<F::LiveLoad>},
    {I::FinishingLoad, spinLine<F::FinishingLoad>, &A::setIntegerSpin<F::FinishingLoad>},
    {I::SpanCount, spinLine<F::SpanCount>, &A::setIntegerSpin<F::SpanCount>},
    {I::Span1, spanLine, &A::span},
    {I::ProjectTitle, projectTitleLine, &A::projectTitle},
    {I::PageNumberPosition, pageNumberPositionLine, &A::pageNumberPosition},
    {I::PageNumberStyle, pageNumberStyleLine, &A::pageNumberStyle},
    {I::FirstPageNumber, firstPageNumberLine, &A::firstPageNumber},
    {I::ReservedFlag, reservedFlagLine, &A::notRead},
    {I::MaxDeckLength, maxDeckLengthLine, &A::maxDeckLength},
    {I::DesignStrengthF, designStrengthLine, &A::notRead},
    {I::Ratio1, ratioLine, &A::ratio},
    {I::CalcMethod, calcMethodLine, &A::calcMethod},
    {I::WindPositive, spinLine<F::WindPositive>, &A::setSpinOrZero<F::WindPositive>},
    {I::WindNegative, spinLine<F::WindNegative>, &A::setSpinOrZero<F::WindNegative>},
    {I::DirectSnowLoad, spinLine<F::DirectSnowLoad>, &A::directSnowLoad},
    {I::SurfaceTreatment, listIndexLine<F::SurfaceTreatment>, &A::surfaceTreatment},
    {I::UnitWeight, textLine<F::UnitWeight>, &A::unitWeight},
    {I::OverhangArrangement, overhangArrangementLine, &A::overhangArrangement},
    {I::LeftOverhang, overhangLine<F::LeftOverhang>, &A::overhangLength<F::LeftOverhang>},
    {I::RightOverhang, overhangLine<F::RightOverhang>, &A::overhangLength<F::RightOverhang>},
});

// One binding for each run of the layout, in its order: an item added to the
// layout without its binding here does not compile.
constexpr bool bindsEveryRun() {
  if (kLineBindings.size() != kProjectLayout.size())
    return false;
  for (std::size_t i = 0; i < kLineBindings.size(); ++i) {
    const ProjectLineBinding& binding = kLineBindings[i];
    if (binding.first != kProjectLayout[i].first)
      return false;
  }
  return true;
}
static_assert(bindsEveryRun(), "a run of the project layout without its binding");

void ProjectApplier::run() {
  for (std::size_t i = 0; i < kLineBindings.size(); ++i) {
    const ProjectItemRun& run = kProjectLayout[i];
    for (int position = 0; position < run.count; ++position) {
      const auto item = static_cast<ProjectItem>(lineOf(run.first) + position);
      (this->*kLineBindings[i].apply)(item, position);
    }
  }
}

}  // namespace

std::vector<std::string> projectLines(const InputForm& form, const CoefficientSettings& current,
                                      const PrintSettings& print) {
  const CoefficientSettings settings = settingsForProject(current);
  const SavedProject project{form, settings, print};
  std::vector<std::string> lines;
  lines.reserve(kProjectLineCount);
  for (std::size_t i = 0; i < kLineBindings.size(); ++i) {
    for (int position = 0; position < kProjectLayout[i].count; ++position)
      lines.push_back(kLineBindings[i].write(project, position));
  }
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
