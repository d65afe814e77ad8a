// The page's view of one program run: a Session with its input screen,
// dialogs, calculation, report passes and project files, handed to
// JavaScript through embind. Every rule stays in the model; this layer only
// converts values between C++ and JavaScript.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/coefficient_settings.h"
#include "calc/errors.h"
#include "location/location_tables.h"
#include "model/dialog_description.h"
#include "model/form_fields.h"
#include "model/live_check.h"
#include "model/print_settings_dialog.h"
#include "model/program_texts.h"
#include "model/screen_description.h"
#include "model/session.h"
#include "model/settings_dialog.h"
#include "model/span_table.h"
#include "model/verification_document.h"
#include "persistence/project_paths.h"
#include "persistence/settings_folder.h"
#include "platform/utf8_path.h"
#include "report/browser/browser_surface.h"
#include "report/report_driver.h"
#include "report/report_passes.h"
#include "report/span_table_page.h"

namespace tavilo::web {
namespace {

using emscripten::val;

FieldId fieldId(int id) {
  return id >= 0 && id < static_cast<int>(kFieldCount) ? static_cast<FieldId>(id) : FieldId::None;
}

val text(std::string_view s) {
  return val(std::string(s));
}

template <typename Range>
val array(const Range& range) {
  val out = val::array();
  for (const auto& item : range)
    out.call<void>("push", item);
  return out;
}

val stringArray(const std::vector<std::string>& items) {
  return array(items);
}

val events(const FormEvents& list) {
  val out = val::array();
  for (const FormEvent& event : list) {
    val e = val::object();
    e.set("kind", event.kind == FormEvent::Kind::Message ? "message" : "focus");
    e.set("field", static_cast<int>(event.field));
    e.set("text", event.text);
    out.call<void>("push", e);
  }
  return out;
}

// The fixed description of every control: id, name, kind, caption, items,
// spin range and hint.
val fieldCatalogue() {
  val out = val::array();
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const auto id = static_cast<FieldId>(i);
    const FieldInfo& info = fieldInfo(id);
    val f = val::object();
    f.set("id", static_cast<int>(i));
    f.set("name", text(info.name));
    f.set("kind", info.kind);
    f.set("group", info.group);
    f.set("caption", text(info.caption));
    val items = val::array();
    for (const std::string_view item : info.items)
      items.call<void>("push", text(item));
    f.set("items", items);
    f.set("min", info.range.min);
    f.set("max", info.range.max);
    f.set("step", info.range.step);
    const Hint hint = splitHint(info.hint);
    f.set("tooltip", hint.shortText);
    f.set("status", hint.longText);
    out.call<void>("push", f);
  }
  return out;
}

val layoutOf(const ScreenLayout& layout) {
  val l = val::object();
  l.set("windAndSnowShown", layout.windAndSnowShown);
  l.set("directLoadShown", layout.directLoadShown);
  return l;
}

val rect(const Rect& r) {
  val out = val::object();
  out.set("x", r.x);
  out.set("y", r.y);
  out.set("width", r.width);
  out.set("height", r.height);
  return out;
}

// The input screen as the page builds it: its pieces in their order, the
// choice groups' inner places and the program's own pictures.
val screenDescription() {
  val d = val::object();
  val pieces = val::array();
  for (const ScreenPiece& piece : inputScreenPieces()) {
    val p = val::object();
    p.set("kind", piece.kind);
    p.set("parent", piece.parent);
    p.set("rect", rect(piece.rect));
    p.set("field", piece.field == FieldId::None ? -1 : static_cast<int>(piece.field));
    p.set("text", text(piece.kind == PieceKind::Caption ? captionText(piece) : piece.text));
    p.set("frame", piece.frame);
    p.set("look", piece.look);
    const auto group = frameGroup(piece.frame);
    p.set("group", piece.kind == PieceKind::Frame && group ? val(*group) : val::null());
    pieces.call<void>("push", p);
  }
  d.set("pieces", pieces);
  val buttons = val::array();
  for (int i = 0; i < 4; ++i)
    buttons.call<void>("push", rect(choiceButtonRect(i)));
  d.set("choiceButtons", buttons);
  d.set("choicePicture", rect(kChoicePictureRect));
  val choiceFields = val::array();
  for (const FieldId id : kChoiceFields)
    choiceFields.call<void>("push", static_cast<int>(id));
  d.set("choiceFields", choiceFields);
  val pictures = val::array();
  for (const std::string_view name : kBuiltInChoicePictures)
    pictures.call<void>("push", text(name));
  d.set("builtInChoicePictures", pictures);
  d.set("fireResistancePicture", text(kFireResistancePicture));
  return d;
}

// A settings dialog as the page builds it ("settings": 係数等の定義, "print":
// 印刷用設定): its client size and its pieces in their order. Frames are
// named by name, the client area being "client".
val dialogDescription(const std::string& name) {
  const DialogDescription& d =
      name == "print" ? printSettingsDialogDescription() : settingsDialogDescription();
  static constexpr std::array<const char*, 4> kKinds = {"frame", "caption", "note", "control"};
  static constexpr std::array<const char*, 8> kFrames = {
      "client",          "method",        "ratios",     "ordinaryRatios",
      "heavySnowRatios", "maxDeckLength", "pageNumber", "numberGroup"};
  static constexpr std::array<const char*, 7> kControls = {
      "field",       "projectName", "pageNumberPlace", "pageNumberStyle",
      "startNumber", "confirm",     "cancel"};
  val out = val::object();
  out.set("clientWidth", d.clientWidth);
  out.set("clientHeight", d.clientHeight);
  val pieces = val::array();
  for (const DialogPiece& piece : d.pieces) {
    val p = val::object();
    p.set("kind", kKinds[static_cast<std::size_t>(piece.kind)]);
    p.set("parent", kFrames[static_cast<std::size_t>(piece.parent)]);
    p.set("frame", kFrames[static_cast<std::size_t>(piece.frame)]);
    p.set("rect", rect(piece.rect));
    p.set("field", piece.field == FieldId::None ? -1 : static_cast<int>(piece.field));
    p.set("text", piece.text);
    p.set("control", kControls[static_cast<std::size_t>(piece.control)]);
    p.set("index", piece.index);
    p.set("strong", piece.strong);
    // A ratio field's name for assistive technology ("一般の場合 長期 Ｇ").
    if (const int position = ratioPositionOf(piece.field); position >= 0) {
      p.set("position", position);
      p.set("name", ratioName(position));
    }
    pieces.call<void>("push", p);
  }
  out.set("pieces", pieces);
  return out;
}

val geometry(int layoutMethod) {
  const ScreenGeometry g = inputScreenGeometry(layoutMethod);
  val out = val::object();
  out.set("clientWidth", g.clientWidth);
  out.set("clientHeight", g.clientHeight);
  out.set("otherLoads", rect(g.otherLoads));
  out.set("directLoad", rect(g.directLoad));
  out.set("span", rect(g.span));
  out.set("commandBar", rect(g.commandBar));
  out.set("statusBar", rect(g.statusBar));
  return out;
}

val rightOverhang(int shownSpanCount) {
  return rect(rightOverhangRect(shownSpanCount));
}

std::string programVersion() {
  return TAVILO_VERSION;
}

val command(const Command& c) {
  val out = val::object();
  out.set("caption", text(c.caption));
  out.set("hint", text(c.hint));
  return out;
}

template <std::size_t N>
val texts(const std::array<std::string_view, N>& items) {
  val out = val::array();
  for (const std::string_view item : items)
    out.call<void>("push", text(item));
  return out;
}

// The fixed texts the page shows in its auxiliary windows.
val programTexts() {
  val t = val::object();
  t.set("applicationTitle", text(kApplicationTitle));
  t.set("makerName", text(kMakerName));
  t.set("noticeCaption", text(kNoticeCaption));
  t.set("noticeHeading", text(kNoticeHeading));
  t.set("noticeConfirm", text(kNoticeConfirm));
  val lines = val::array();
  for (const std::string_view line : kNoticeLines)
    lines.call<void>("push", text(line));
  t.set("noticeLines", lines);
  t.set("overviewCaption", text(kOverviewCaption));
  t.set("overviewDocument", text(kOverviewDocument));
  t.set("verificationButton", text(kVerificationButton));
  t.set("verificationHint", text(kVerificationHint));
  t.set("overviewVersion", text(kOverviewVersion));
  t.set("verificationDocument", text(kVerificationDocument));
  t.set("fireResistanceCaption", text(kFireResistanceCaption));
  t.set("resultCaption", text(kResultCaption));
  t.set("unsavedQuestion", text(kUnsavedQuestion));
  val answers = val::array();
  for (const std::string_view answer : kUnsavedAnswers)
    answers.call<void>("push", text(answer));
  t.set("unsavedAnswers", answers);
  t.set("busyCalculating", text(kBusyCalculating));
  t.set("busyPrinting", text(kBusyPrinting));
  t.set("handedProjectTooLarge", text(kHandedProjectTooLarge));
  t.set("handedProjectUnreadable", text(kHandedProjectUnreadable));
  t.set("windowCaption", text(kWindowCaption));
  t.set("settingsCaption", text(kSettingsDialogCaption));
  t.set("screenImageWidth", kScreenImageWidth);
  t.set("pdfResolution", kPdfResolution);
  t.set("pdfMarginMm", kPdfMarginMm);
  t.set("pdfAuthor", text(kPdfAuthor));
  t.set("pdfSubject", text(kPdfSubject));
  val styles = val::array();
  for (const std::string_view style : kPageNumberStyleItems)
    styles.call<void>("push", text(style));
  t.set("pageNumberStyles", styles);
  t.set("projectNameMaxLength", static_cast<int>(kProjectNameMaxLength));
  t.set("ratioMaxLength", static_cast<int>(kRatioMaxLength));
  t.set("fireResistancePicture", text(kFireResistancePicture));
  t.set("printSettingsCaption", text(kPrintSettingsCaption));
  t.set("projectNameTitle", text(kProjectNameTitle));
  t.set("projectNameHint", text(kProjectNameHint));
  t.set("pageNumberHints", texts(kPageNumberHints));
  t.set("startNumberHint", text(kStartNumberHint));
  t.set("printSettingsConfirm", command(kPrintSettingsConfirm));
  t.set("printSettingsCancel", command(kPrintSettingsCancel));
  t.set("printCommand", command(kPrintCommand));
  t.set("printSettingsCommand", command(kPrintSettingsCommand));
  t.set("reportPreviewCommand", command(kReportPreviewCommand));
  t.set("reportPdfCommand", command(kReportPdfCommand));
  t.set("spanTableCommand", command(kSpanTableCommand));
  t.set("closeResultCommand", command(kCloseResultCommand));
  t.set("spanTableCaption", text(kSpanTableCaption));
  t.set("spanTableName", text(kSpanTableName));
  t.set("spanTablePreviewCommand", command(kSpanTablePreviewCommand));
  t.set("spanTablePdfCommand", command(kSpanTablePdfCommand));
  t.set("closeSpanTableCommand", command(kCloseSpanTableCommand));
  t.set("reportPdfStem", text(kReportPdfStem));
  t.set("overviewMissing", text(kOverviewMissing));
  t.set("pictureUnreadable", text(kPictureUnreadable));
  t.set("projectFileType", text(kProjectFileType));
  t.set("pdfFileType", text(kPdfFileType));
  t.set("projectExtension", text(kProjectExtension));
  t.set("messageConfirm", text(kMessageConfirm));
  t.set("closeBox", text(kCloseBox));
  t.set("spinArrows", texts(kSpinArrows));
  t.set("ownTableChoice", text(kOwnTableChoice));
  t.set("ownTableSeparator", text(kOwnTableSeparator));
  t.set("ownTablesInUse", text(kOwnTablesInUse));
  t.set("shippedTablesInUse", text(kShippedTablesInUse));
  t.set("ownTableNameSeparator", text(kOwnTableNameSeparator));
  t.set("pictureNameSeparator", text(kPictureNameSeparator));
  t.set("closeBoxGlyph", text(kCloseBoxGlyph));
  t.set("spinArrowGlyphs", texts(kSpinArrowGlyphs));
  t.set("preparingReport", text(kPreparingReport));
  t.set("reportFontsFailed", text(kReportFontsFailed));
  t.set("pdfLibraryFailed", text(kPdfLibraryFailed));
  t.set("tableNotServed", text(kTableNotServed));
  t.set("httpStatusNote", text(kHttpStatusNote));
  t.set("tableTooLarge", text(kTableTooLarge));
  t.set("draftOffer", text(kDraftOffer));
  t.set("draftAnswers", texts(kDraftAnswers));
  t.set("newVersionNote", text(kNewVersionNote));
  t.set("previewCaption", text(kPreviewCaption));
  t.set("previewClose", text(kPreviewClose));
  t.set("dataFolder", text(kDataFolderName));
  t.set("tableFiles", texts(std::array{kAddressFileName, kSnowCoefficientFileName}));
  t.set("noticeStamp", std::to_string(kMarkerStamp));
  return t;
}

// ---- The live check panel
std::string cssColour(const Rgb& c) {
  return "rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
         std::to_string(c.blue) + ")";
}

// The sizes and colours of the panel.
val livePanelLayout() {
  const LivePanelLayout& l = kLivePanelLayout;
  val out = val::object();
  out.set("width", l.width);
  out.set("gap", l.gap);
  out.set("barWidth", l.barWidth);
  out.set("barHeight", l.barHeight);
  out.set("barGround", cssColour(l.barGround));
  out.set("passing", cssColour(l.passing));
  out.set("failing", cssColour(l.failing));
  out.set("refused", cssColour(l.refused));
  out.set("lightestRow", cssColour(l.lightestRow));
  out.set("currentRow", cssColour(l.currentRow));
  out.set("placeText", cssColour(l.placeText));
  return out;
}

val panelValue(const LiveCheckPanel& panel) {
  val p = val::object();
  p.set("title", panel.title);
  p.set("guidance", panel.guidance);
  p.set("verdictCaption", panel.verdictCaption);
  p.set("verdict", panel.verdict);
  p.set("refusalCaption", panel.refusalCaption);
  p.set("refusalMessage", panel.refusalMessage);
  p.set("refusalField", panel.refusalField);
  p.set("checksCaption", panel.checksCaption);
  p.set("decksCaption", panel.decksCaption);
  p.set("deckNote", panel.deckNote);
  p.set("chooseHint", panel.chooseHint);
  p.set("hideCaption", panel.hideCaption);
  p.set("showCaption", panel.showCaption);
  p.set("calculated", panel.calculated);
  p.set("ok", panel.ok);
  p.set("refusalFocus", static_cast<int>(panel.refusalFocus));
  p.set("checkColumns", array(panel.checkColumns));
  p.set("deckColumns", array(panel.deckColumns));
  val checks = val::array();
  for (const PanelCheckRow& row : panel.checks) {
    val r = val::object();
    r.set("label", row.label);
    r.set("figures", row.figures);
    r.set("where", row.where);
    r.set("ratioText", row.ratioText);
    r.set("bar", row.bar);
    r.set("applies", row.applies);
    r.set("exceeded", row.exceeded);
    checks.call<void>("push", r);
  }
  p.set("checks", checks);
  val decks = val::array();
  for (const PanelDeckRow& row : panel.decks) {
    val r = val::object();
    r.set("deckType", row.deckType);
    r.set("name", row.name);
    r.set("verdict", row.verdict);
    r.set("ratioText", row.ratioText);
    r.set("governing", row.governing);
    r.set("marks", row.marks);
    r.set("bar", row.bar);
    r.set("exceeded", row.exceeded);
    r.set("current", row.current);
    r.set("lightestPassing", row.lightestPassing);
    r.set("tooltip", row.tooltip);
    decks.call<void>("push", r);
  }
  p.set("decks", decks);
  return p;
}

class WebSession {
 public:
  // The location tables are read from `dataDir`; project files are read
  // and written in `projectsDir` of the module's own file system.
  WebSession(const std::string& dataDir, const std::string& projectsDir)
      : session_(ProgramFolders{"/", dataDir, projectsDir}) {}

  // The start-up of the input screen; the message of a table that could not
  // be read and the warning of a table read as it stands, or null.
  val startUp(const std::string& version) {
    const auto failure = session_.startUp(version);
    const std::string& warning = session_.tableWarning();
    if (failure && !warning.empty())
      return val(*failure + "\n" + warning);
    if (failure || !warning.empty())
      return val(failure.value_or(warning));
    return val::null();
  }

  // ---- The input screen
  val field(int id) const {
    const InputForm& form = session_.form();
    const FieldId f = fieldId(id);
    val s = val::object();
    s.set("text", form.text(f));
    s.set("index", form.index(f));
    s.set("items", stringArray(form.items(f)));
    s.set("enabled", form.isEnabled(f));
    s.set("shown", form.isShown(f));
    const Hint hint = form.hint(f);
    s.set("tooltip", hint.shortText);
    s.set("status", hint.longText);
    s.set("takesTyping", form.takesTyping(f));
    return s;
  }

  val takeChanges() {
    const FormChanges changes = session_.form().takeChanges();
    val c = val::object();
    val fields = val::array();
    for (const FieldId f : changes.fields)
      fields.call<void>("push", static_cast<int>(f));
    c.set("fields", fields);
    c.set("groups", changes.groups);
    c.set("window", changes.window);
    c.set("pictures", changes.pictures);
    return c;
  }

  val screen() const {
    const InputForm& form = session_.form();
    val s = val::object();
    s.set("caption", form.caption());
    s.set("statusText", form.statusText());
    s.set("versionLabel", form.versionLabel());
    s.set("screenEnabled", form.screenEnabled());
    s.set("layoutMethod", form.layoutMethod());
    s.set("layout", layoutOf(form.layout()));
    val groups = val::array();
    for (std::size_t i = 0; i < kGroupCount; ++i)
      groups.call<void>("push", form.isGroupShown(static_cast<Group>(i)));
    s.set("groupsShown", groups);
    s.set("shownSpanCount", form.shownSpanCount());
    s.set("overhangCode", form.overhangCode());
    val pictures = val::array();
    for (const FieldId group : {FieldId::RoofType, FieldId::BuildingShape, FieldId::RoofShape})
      pictures.call<void>("push", form.choicePicture(group));
    s.set("choicePictures", pictures);
    const Rgb colour = form.heavySnowCaptionColour();
    s.set("heavySnowCaption", "rgb(" + std::to_string(colour.red) + ", " +
                                  std::to_string(colour.green) + ", " +
                                  std::to_string(colour.blue) + ")");
    s.set("focus", static_cast<int>(form.focus()));
    s.set("siteFailure", form.siteFailure() ? val(*form.siteFailure()) : val::null());
    s.set("siteDataNotice", form.siteDataNotice());
    return s;
  }

  bool acceptsKey(int id, int key) const {
    return session_.form().acceptsKey(fieldId(id), static_cast<char32_t>(key));
  }
  val selectIndex(int id, int index) { return events(form().selectIndex(fieldId(id), index)); }
  val editText(int id, const std::string& text) {
    return events(form().editText(fieldId(id), text));
  }
  val stepSpin(int id, int direction) { return events(form().stepSpin(fieldId(id), direction)); }
  val focusField(int id) { return events(form().focusField(fieldId(id))); }
  // A choice of "屋根の種類", "建物の形状" or "屋根の形状" by its position.
  val clickChoice(int id, int index) {
    switch (fieldId(id)) {
      case FieldId::RoofType:
        if (index < 0 || index >= static_cast<int>(kRoofTypes.size()))
          return val::array();
        return events(form().clickRoofType(kRoofTypes[static_cast<std::size_t>(index)]));
      case FieldId::BuildingShape:
        return events(form().clickBuildingShape(index));
      case FieldId::RoofShape:
        return events(form().clickRoofShape(index));
      case FieldId::SnowModeInput:
        return events(form().clickSnowModeInput());
      case FieldId::SnowModeDerive:
        return events(form().clickSnowModeDerive());
      default:
        return val::array();
    }
  }
  void pointerRestsOn(int id) { form().pointerRestsOn(fieldId(id)); }

  // ---- The live check beside the screen
  val liveCheck() const { return panelValue(livePanel(session_)); }
  // A deck chosen in the panel, as chosen in the screen's deck list.
  val chooseDeck(int deckType) { return events(tavilo::chooseDeck(form(), deckType)); }

  // ---- "設　定" and its dialog
  val settingsDialog() const {
    const SettingsDialog& dialog = session_.settingsDialog();
    val d = val::object();
    d.set("visible", dialog.isVisible());
    d.set("method", dialog.methodChoice());
    d.set("maxDeckLength", dialog.text(FieldId::SettingsMaxDeckLength));
    val ratios = val::array();
    for (int i = 0; i < kLoadRatioCount; ++i) {
      val r = val::object();
      r.set("text", dialog.ratioText(i));
      r.set("readOnly", SettingsDialog::isReadOnlyRatio(i));
      ratios.call<void>("push", r);
    }
    d.set("ratios", ratios);
    d.set("focus", static_cast<int>(dialog.focus()));
    return d;
  }
  void openSettings() { session_.openSettings(); }
  val applySettings() { return events(session_.applySettings()); }
  val cancelSettings() { return events(session_.cancelSettings()); }
  void resetSettings() { session_.resetSettings(); }
  void settingsClickMethod(int method) { session_.settingsDialog().clickMethod(method); }
  void settingsEditText(int id, const std::string& text) {
    session_.settingsDialog().editText(fieldId(id), text);
  }
  void settingsStepSpin(int id, int direction) {
    session_.settingsDialog().stepSpin(fieldId(id), direction);
  }
  void settingsFocus(int id) { session_.settingsDialog().focusField(fieldId(id)); }
  bool settingsAcceptsKey(int id, int key) const {
    return session_.settingsDialog().acceptsKey(fieldId(id), static_cast<char32_t>(key));
  }

  // ---- "印刷の設定" and its dialog
  val printDialog() const {
    const PrintSettingsDialog& dialog = session_.printDialog();
    val d = val::object();
    d.set("visible", dialog.isVisible());
    d.set("name", dialog.nameText());
    // The position by its option button: kPageNumberPositions.
    int position = 0;
    for (std::size_t i = 0; i < kPageNumberPositions.size(); ++i) {
      if (kPageNumberPositions[i] == dialog.position())
        position = static_cast<int>(i);
    }
    d.set("position", position);
    d.set("numberGroupEnabled", dialog.numberGroupEnabled());
    d.set("style", dialog.styleIndex());
    d.set("startNumber", dialog.startNumberText());
    return d;
  }
  void openPrintSettings() { session_.openPrintSettings(); }
  void confirmPrintSettings() { session_.confirmPrintSettings(); }
  void cancelPrintSettings() { session_.cancelPrintSettings(); }
  void printClickName() { session_.printDialog().clickNameField(); }
  void printEditName(const std::string& text) { session_.printDialog().editName(text); }
  void printChoosePosition(int button) {
    if (button < 0 || button >= static_cast<int>(kPageNumberPositions.size()))
      return;
    session_.printDialog().choosePosition(kPageNumberPositions[static_cast<std::size_t>(button)],
                                          session_.printSettings());
  }
  void printChooseStyle(int index) {
    session_.printDialog().chooseStyle(index, session_.printSettings());
  }
  void printEditStartNumber(const std::string& text) {
    session_.printDialog().editStartNumber(text);
  }
  void printStepStartNumber(int direction) { session_.printDialog().stepStartNumber(direction); }
  void printLeaveStartNumber() { session_.printDialog().leaveStartNumber(); }

  // ---- "計　算" and the report
  val calculate() {
    const CalculateResult result = session_.calculate();
    val r = val::object();
    r.set("calculated", !result.refusal && session_.lastOutcome().has_value());
    r.set("events", events(result.events));
    // The verdict is shown before the report fonts have arrived.
    r.set("verdict", session_.lastOutcome() ? session_.lastOutcome()->verdict : std::string());
    return r;
  }

  // The height of the screen image of the last report (or, with
  // `spanTable`, of the span table page).
  int screenHeight(bool spanTable) const {
    return screenImageHeight(spanTable ? 0 : screenImageBaseHeight(outcome()), drawing(spanTable));
  }

  void drawScreen(val painter, int height, bool spanTable) const {
    BrowserSurface surface(std::move(painter), 72, kScreenImageWidth, height);
    drawScreenPass(surface, drawing(spanTable));
  }

  // The print pass onto pages of `width` x `height` device pixels at `ppi`;
  // `date` is today in the user's short date format.
  void drawPrint(val painter, int ppi, int width, int height, const std::string& date,
                 bool spanTable) const {
    BrowserSurface surface(std::move(painter), ppi, width, height);
    ReportSetup setup;
    setup.printSettings = session_.printSettings();
    setup.projectFilePath = utf8FromPath(session_.paths().current);
    setup.date = date;
    drawPrintPass(surface, std::move(setup), drawing(spanTable));
  }

  std::string documentTitle(const std::string& pdfName, bool spanTable) const {
    const std::string title =
        reportTitle(session_.printSettings(), utf8FromPath(session_.paths().current), pdfName);
    return spanTable ? title + " スパン表" : title;
  }

  // ---- スパン表: the message of a refusal, or null when the table is ready.
  val buildSpanTable() {
    SpanTableResult result = tavilo::buildSpanTable(session_);
    if (result.refusal)
      return val(result.refusal->message);
    spanTable_ = std::move(result.table);
    return val::null();
  }

  // ---- "データ保存" and "データ読込"
  // The name a saved project takes: the core's proposal ("Data.tvl" for a
  // new project), with the project extension where it has none.
  std::string proposedFileName() const {
    return utf8FromPath(withProjectExtension(pathFromUtf8(session_.saveLocation().fileName)));
  }
  // The message of a failed save, or null.
  val save(const std::string& path) {
    try {
      session_.save(path);
      return val::null();
    } catch (const UserError& error) {
      return val(std::string(error.what()));
    }
  }
  val load(const std::string& path) {
    const ProjectLoad load = session_.load(path);
    val r = val::object();
    r.set("events", events(load.events));
    r.set("failure", load.failure ? val(*load.failure) : val::null());
    return r;
  }
  bool hasUnsavedChanges() const { return session_.hasUnsavedChanges(); }
  // The draft the page keeps in the browser's storage: the message of a
  // failed write, or null; restoring answers as load does.
  val writeDraft(const std::string& path) const {
    try {
      session_.writeDraft(path);
      return val::null();
    } catch (const UserError& error) {
      return val(std::string(error.what()));
    }
  }
  val restoreDraft(const std::string& path) {
    const ProjectLoad load = session_.restoreDraft(path);
    val r = val::object();
    r.set("events", events(load.events));
    r.set("failure", load.failure ? val(*load.failure) : val::null());
    return r;
  }
  std::string currentFile() const { return utf8FromPath(session_.paths().current); }

 private:
  InputForm& form() { return session_.form(); }

  const CalculationOutcome& outcome() const {
    if (!session_.lastOutcome())
      throw UserError("計算結果がありません。");
    return *session_.lastOutcome();
  }

  ReportDrawing drawing(bool spanTable) const {
    if (spanTable) {
      if (!spanTable_)
        throw UserError("スパン表がありません。");
      const SpanTable& table = *spanTable_;
      return [&table](ReportCanvas& canvas) { drawSpanTablePage(canvas, table); };
    }
    const CalculationOutcome& result = outcome();
    return [&result](ReportCanvas& canvas) { drawCalculationReport(canvas, result); };
  }

  Session session_;
  std::optional<SpanTable> spanTable_;
};

}  // namespace
}  // namespace tavilo::web

EMSCRIPTEN_BINDINGS(tavilo) {
  using namespace tavilo::web;
  using tavilo::FieldKind, tavilo::Group, tavilo::Frame, tavilo::PieceKind, tavilo::Look;
  emscripten::enum_<FieldKind>("FieldKind")
      .value("List", FieldKind::List)
      .value("Text", FieldKind::Text)
      .value("Spin", FieldKind::Spin)
      .value("Choice", FieldKind::Choice)
      .value("Option", FieldKind::Option)
      .value("Check", FieldKind::Check)
      .value("Display", FieldKind::Display)
      .value("Button", FieldKind::Button);
  emscripten::enum_<Group>("Group")
      .value("Deck", Group::Deck)
      .value("Site", Group::Site)
      .value("Wind", Group::Wind)
      .value("BuildingShape", Group::BuildingShape)
      .value("RoofShape", Group::RoofShape)
      .value("Snow", Group::Snow)
      .value("OtherLoads", Group::OtherLoads)
      .value("DirectLoad", Group::DirectLoad)
      .value("Span", Group::Span)
      .value("Commands", Group::Commands)
      .value("SettingsDialog", Group::SettingsDialog);
  emscripten::enum_<Frame>("Frame")
      .value("Client", Frame::Client)
      .value("Deck", Frame::Deck)
      .value("DeckJoints", Frame::DeckJoints)
      .value("Site", Frame::Site)
      .value("Wind", Frame::Wind)
      .value("Snow", Frame::Snow)
      .value("SnowMethod", Frame::SnowMethod)
      .value("SnowDerived", Frame::SnowDerived)
      .value("OtherLoads", Frame::OtherLoads)
      .value("DirectLoad", Frame::DirectLoad)
      .value("Span", Frame::Span)
      .value("CommandBar", Frame::CommandBar);
  emscripten::enum_<PieceKind>("PieceKind")
      .value("Frame", PieceKind::Frame)
      .value("Caption", PieceKind::Caption)
      .value("AfterValue", PieceKind::AfterValue)
      .value("Control", PieceKind::Control)
      .value("Picture", PieceKind::Picture)
      .value("Arrangement", PieceKind::Arrangement)
      .value("SiteNotice", PieceKind::SiteNotice)
      .value("Version", PieceKind::Version);
  emscripten::enum_<Look>("Look")
      .value("Plain", Look::Plain)
      .value("Strong", Look::Strong)
      .value("Shaded", Look::Shaded)
      .value("RightAligned", Look::RightAligned)
      .value("Link", Look::Link)
      .value("Product", Look::Product)
      .value("Flush", Look::Flush);
  emscripten::function("programVersion", &programVersion);
  emscripten::function("screenDescription", &screenDescription);
  emscripten::function("screenGeometry", &geometry);
  emscripten::function("dialogDescription", &dialogDescription);
  emscripten::function("rightOverhangRect", &rightOverhang);
  emscripten::function("builtInArrangementPicture", &tavilo::builtInArrangementPicture);
  emscripten::function("fieldCatalogue", &fieldCatalogue);
  emscripten::function("programTexts", &programTexts);
  emscripten::function("livePanelLayout", &livePanelLayout);
  emscripten::class_<WebSession>("Session")
      .constructor<const std::string&, const std::string&>()
      .function("startUp", &WebSession::startUp)
      .function("field", &WebSession::field)
      .function("takeChanges", &WebSession::takeChanges)
      .function("screen", &WebSession::screen)
      .function("acceptsKey", &WebSession::acceptsKey)
      .function("selectIndex", &WebSession::selectIndex)
      .function("editText", &WebSession::editText)
      .function("stepSpin", &WebSession::stepSpin)
      .function("focusField", &WebSession::focusField)
      .function("clickChoice", &WebSession::clickChoice)
      .function("pointerRestsOn", &WebSession::pointerRestsOn)
      .function("liveCheck", &WebSession::liveCheck)
      .function("chooseDeck", &WebSession::chooseDeck)
      .function("settingsDialog", &WebSession::settingsDialog)
      .function("openSettings", &WebSession::openSettings)
      .function("applySettings", &WebSession::applySettings)
      .function("cancelSettings", &WebSession::cancelSettings)
      .function("resetSettings", &WebSession::resetSettings)
      .function("settingsClickMethod", &WebSession::settingsClickMethod)
      .function("settingsEditText", &WebSession::settingsEditText)
      .function("settingsStepSpin", &WebSession::settingsStepSpin)
      .function("settingsFocus", &WebSession::settingsFocus)
      .function("settingsAcceptsKey", &WebSession::settingsAcceptsKey)
      .function("printDialog", &WebSession::printDialog)
      .function("openPrintSettings", &WebSession::openPrintSettings)
      .function("confirmPrintSettings", &WebSession::confirmPrintSettings)
      .function("cancelPrintSettings", &WebSession::cancelPrintSettings)
      .function("printClickName", &WebSession::printClickName)
      .function("printEditName", &WebSession::printEditName)
      .function("printChoosePosition", &WebSession::printChoosePosition)
      .function("printChooseStyle", &WebSession::printChooseStyle)
      .function("printEditStartNumber", &WebSession::printEditStartNumber)
      .function("printStepStartNumber", &WebSession::printStepStartNumber)
      .function("printLeaveStartNumber", &WebSession::printLeaveStartNumber)
      .function("calculate", &WebSession::calculate)
      .function("screenHeight", &WebSession::screenHeight)
      .function("drawScreen", &WebSession::drawScreen)
      .function("drawPrint", &WebSession::drawPrint)
      .function("documentTitle", &WebSession::documentTitle)
      .function("buildSpanTable", &WebSession::buildSpanTable)
      .function("proposedFileName", &WebSession::proposedFileName)
      .function("save", &WebSession::save)
      .function("load", &WebSession::load)
      .function("hasUnsavedChanges", &WebSession::hasUnsavedChanges)
      .function("writeDraft", &WebSession::writeDraft)
      .function("restoreDraft", &WebSession::restoreDraft)
      .function("currentFile", &WebSession::currentFile);
}
