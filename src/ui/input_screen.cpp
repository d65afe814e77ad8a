#include "ui/input_screen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <array>
#include <string>

#include "calc/errors.h"
#include "report/qt/qt_path.h"
#include "ui/auxiliary_windows.h"
#include "ui/form_binder.h"
#include "ui/spin_field.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

// Positions in pixels: groups in client coordinates of the notice-method
// layout, controls within their group.
constexpr int kClientWidth = 791;
// The layouts give outer window heights with a 28-pixel title bar.
constexpr int kFrameHeight = 28;
constexpr int kRowHeight = 21;
constexpr int kCommandBarHeight = 60;
constexpr int kStatusBarHeight = 20;

struct Rect {
  int x, y, w, h;
};
constexpr Rect kDeckGroup{4, 2, 474, 104};
constexpr Rect kSiteGroup{482, 2, 305, 104};
constexpr Rect kWindGroup{4, 110, 392, 297};
constexpr Rect kSnowGroup{400, 110, 387, 208};
constexpr int kLeftColumn = 4;
constexpr int kRightColumn = 400;
constexpr int kLeftWidth = 392;
constexpr int kRightWidth = 387;
constexpr int kSpanGroupHeight = 84;

// Where the groups of each layout stand: the layout of the notices, then
// that of loads entered directly.
struct LayoutGeometry {
  int directLoadTop;
  int otherLoadsTop;
  int otherLoadsHeight;
  int spanGroupTop;
  int commandBarTop;
  int windowHeight;
};
constexpr std::array<LayoutGeometry, 2> kLayoutGeometry = {{
    {110, 322, 85, 412, 500, 608},
    {110, 110, 95, 210, 298, 406},
}};

constexpr Rect kArrangementPicture{80, 4, 640, 40};
constexpr int kSpanFieldTop = 49;
constexpr int kSpanFieldWidth = 64;
constexpr std::array<int, 4> kSpanFieldLefts = {192, 298, 404, 510};
constexpr int kLeftOverhangLeft = 104;
constexpr int kRightOverhangOffset = 88;  // right of the last shown span field

// The right overhang field stands right of the last shown span field.
int rightOverhangLeft(int shownSpanCount) {
  return kSpanFieldLefts[static_cast<std::size_t>(std::clamp(shownSpanCount, 1, 4) - 1)] +
         kRightOverhangOffset;
}

const QString kWindowStyle = QStringLiteral(R"(
tavilo--ui--InputScreen { background: rgb(0, 102, 153); }
QGroupBox {
  background: rgb(238, 241, 244);
  border: 1px solid rgb(96, 128, 152);
  border-radius: 3px;
  margin-top: 7px;
}
QGroupBox::title {
  subcontrol-origin: margin;
  left: 8px;
  padding: 0 3px;
  color: rgb(0, 51, 102);
  background: rgb(238, 241, 244);
}
QGroupBox QGroupBox { background: rgb(246, 248, 250); }
QGroupBox QGroupBox::title { background: rgb(246, 248, 250); }
)");

QLabel* label(QWidget* parent, const QString& text, int x, int y, int w = -1) {
  auto* l = new QLabel(text, parent);
  l->move(x, y);
  if (w > 0)
    l->setFixedWidth(w);
  else
    l->adjustSize();
  return l;
}

// A caption with a run of blanks that a value fills ("平均風速 Ｖ0 =      m/sec"):
// the words before the blanks, a label for the value where the blanks stand
// (wide enough for the value in the proportional face), and the words after.
QLabel* valueInGap(QWidget* parent, const QString& caption, int x, int y, int valueWidth) {
  const qsizetype gapStart = caption.indexOf(QStringLiteral("  "));
  qsizetype gapEnd = gapStart;
  while (gapEnd < caption.size() && caption[gapEnd] == QLatin1Char(' '))
    ++gapEnd;
  QLabel* before = label(parent, caption.left(gapStart), x, y);
  auto* value = new QLabel(parent);
  value->setAlignment(Qt::AlignCenter);
  value->setGeometry(before->geometry().right() + 1, y, valueWidth, before->height());
  label(parent, caption.mid(gapEnd), value->geometry().right() + 1, y);
  return value;
}

template <typename W>
W* place(W* widget, int x, int y, int w, int h = kRowHeight) {
  widget->setGeometry(x, y, w, h);
  return widget;
}

// The built-in arrangement picture for a span count and overhang code (a code
// outside 1 to 3 shows no overhang, as the model's picture name says).
QString arrangementResource(int spanCount, int overhangCode) {
  constexpr std::array<const char*, 4> kSides = {"none", "left", "right", "both"};
  const int code = overhangCode >= 1 && overhangCode <= 3 ? overhangCode : 0;
  return QStringLiteral(":/resources/arrangement_s%1_%2.png")
      .arg(std::clamp(spanCount, 1, 4))
      .arg(QLatin1String(kSides[static_cast<std::size_t>(code)]));
}

constexpr std::array<const char*, 3> kBuiltInChoicePictures = {
    ":/resources/roof_type_default.png", ":/resources/building_shape_default.png",
    ":/resources/roof_shape_default.png"};
constexpr std::array<FieldId, 3> kChoiceGroups = {FieldId::RoofType, FieldId::BuildingShape,
                                                  FieldId::RoofShape};

}  // namespace

InputScreenDialogs InputScreenDialogs::platform() {
  InputScreenDialogs d;
  const QString filter = QStringLiteral("データファイル(*.tvl);;全てのファイル(*.*)");
  d.chooseProjectToOpen =
      [filter](QWidget* parent,
               const std::filesystem::path& folder) -> std::optional<std::filesystem::path> {
    const QString file = QFileDialog::getOpenFileName(parent, QStringLiteral("データ読込"),
                                                      qStringFromPath(folder), filter);
    if (file.isEmpty())
      return std::nullopt;
    return pathFromQString(file);
  };
  d.chooseProjectToSave =
      [filter](QWidget* parent,
               const SaveLocation& proposal) -> std::optional<std::filesystem::path> {
    const auto chosen =
        chooseFileToSave(parent, QStringLiteral("データ保存"), proposal.folder / proposal.fileName,
                         filter, QStringLiteral("tvl"));
    if (!chosen)
      return std::nullopt;
    return withProjectExtension(*chosen);
  };
  d.askToSaveChanges = [](QWidget* parent) {
    QMessageBox box(QMessageBox::Question, qs(kApplicationTitle), qs(kUnsavedQuestion),
                    QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(qs(kUnsavedAnswers[0]), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(qs(kUnsavedAnswers[1]), QMessageBox::DestructiveRole);
    box.addButton(qs(kUnsavedAnswers[2]), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == save)
      return SaveAnswer::kSave;
    if (box.clickedButton() == discard)
      return SaveAnswer::kDiscard;
    return SaveAnswer::kCancel;
  };
  d.busyWhileCalculating = [] { return std::make_shared<BusyPanel>(); };
  return d;
}

InputScreen::InputScreen(Session& session, InputScreenDialogs dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      session_(session),
      dialogs_(std::move(dialogs)),
      binder_(std::make_unique<FormBinder>(session.form(), this)) {
  setObjectName(QStringLiteral("inputScreen"));
  setAttribute(Qt::WA_StyledBackground);
  setFont(windowFont());
  setStyleSheet(kWindowStyle);
  build();
  connect(binder_.get(), &FormBinder::groupsChanged, this, &InputScreen::applyLayout);
  connect(binder_.get(), &FormBinder::windowChanged, this, &InputScreen::updateWindowTexts);
  connect(binder_.get(), &FormBinder::picturesChanged, this, &InputScreen::updatePictures);
  connect(binder_.get(), &FormBinder::buttonClicked, this, &InputScreen::commandClicked);
  binder_->refresh();
  centreOnScreen(*this);
  if (QWidget* deck = fieldWidget(FieldId::DeckType))
    deck->setFocus(Qt::OtherFocusReason);
}

InputScreen::~InputScreen() = default;

QWidget* InputScreen::fieldWidget(FieldId id) const {
  return binder_->widget(id);
}

QGroupBox* InputScreen::groupBox(Group group) const {
  return groups_[static_cast<std::size_t>(group)];
}

QLabel* InputScreen::choicePicture(FieldId group) const {
  for (std::size_t i = 0; i < kChoiceGroups.size(); ++i) {
    if (kChoiceGroups[i] == group)
      return choicePictures_[i];
  }
  return nullptr;
}

QGroupBox* InputScreen::makeGroup(Group group, const QString& title, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  groups_[static_cast<std::size_t>(group)] = box;
  return box;
}

void InputScreen::build() {
  buildDeckGroup();
  buildSiteGroup();
  buildWindGroup();
  buildSnowGroup();
  buildLoadGroups();
  buildSpanGroup();
  buildCommandBar();
  statusBar_ = new QLabel(this);
  statusBar_->setObjectName(QStringLiteral("statusBar"));
  statusBar_->setStyleSheet(QStringLiteral(
      "QLabel { background: rgb(236, 236, 236); color: black; border-top: 1px solid gray; "
      "padding-left: 4px; }"));
}

void InputScreen::buildDeckGroup() {
  QGroupBox* g = makeGroup(Group::Deck, QStringLiteral("デッキ"), this);
  g->setGeometry(kDeckGroup.x, kDeckGroup.y, kDeckGroup.w, kDeckGroup.h);
  label(g, QStringLiteral("デッキ種類"), 8, 22);
  binder_->bind(FieldId::DeckType, place(new QComboBox(g), 66, 19, 92));
  label(g, QStringLiteral("表面処理"), 8, 48);
  binder_->bind(FieldId::SurfaceTreatment, place(new QComboBox(g), 66, 45, 58));
  label(g, QStringLiteral("単位重量"), 8, 74);
  binder_->bind(FieldId::UnitWeight, place(new QLineEdit(g), 66, 71, 50));
  label(g, QStringLiteral("N/㎡"), 120, 74);

  auto* joints = new QGroupBox(QStringLiteral("梁との接合"), g);
  joints->setGeometry(166, 12, 300, 86);
  label(joints, QStringLiteral("端　部"), 8, 26);
  binder_->bind(FieldId::EndJoint, place(new QComboBox(joints), 48, 23, 244));
  label(joints, QStringLiteral("中間部"), 8, 56);
  binder_->bind(FieldId::MidJoint, place(new QComboBox(joints), 48, 53, 244));
}

void InputScreen::buildSiteGroup() {
  QGroupBox* g = makeGroup(Group::Site, QStringLiteral("[所在地]"), this);
  g->setGeometry(kSiteGroup.x, kSiteGroup.y, kSiteGroup.w, kSiteGroup.h);
  label(g, QStringLiteral("都道府県"), 10, 24);
  binder_->bind(FieldId::Prefecture, place(new QComboBox(g), 70, 21, 100));
  label(g, QStringLiteral("地  域"), 10, 54);
  binder_->bind(FieldId::District, place(new QComboBox(g), 70, 51, 150));
  auto* heavySnow = place(new QCheckBox(g), 190, 23, 18, 18);
  binder_->bind(FieldId::HeavySnow, heavySnow);
  binder_->bindCaption(FieldId::HeavySnow, label(g, QStringLiteral("多雪地域"), 210, 24));
  // Below the district: whether the site data may be used for a design.
  siteDataNotice_ = place(new QLabel(g), 10, 74, kSiteGroup.w - 18, 28);
  siteDataNotice_->setObjectName(QStringLiteral("siteDataNotice"));
  siteDataNotice_->setWordWrap(true);
  siteDataNotice_->setStyleSheet(QStringLiteral("QLabel { color: rgb(204, 0, 0); }"));
}

void InputScreen::buildWindGroup() {
  InputForm& form = session_.form();
  QGroupBox* g = makeGroup(Group::Wind, QStringLiteral("風荷重の設定"), this);
  g->setGeometry(kWindGroup.x, kWindGroup.y, kWindGroup.w, kWindGroup.h);
  label(g, QStringLiteral("粗 度 区 分"), 8, 24);
  binder_->bind(FieldId::Roughness, place(new QComboBox(g), 80, 21, 44));
  auto* roughness = place(new QLabel(g), 184, 16, 200, 60);
  roughness->setPixmap(QPixmap(QStringLiteral(":/resources/roughness.png")));

  QLabel* speed = valueInGap(g, qs(fieldInfo(FieldId::WindSpeedV0).caption), 8, 52, 32);
  speed->setStyleSheet(QStringLiteral("font-weight: bold;"));
  binder_->bind(FieldId::WindSpeedV0, speed);

  const std::array<std::pair<FieldId, int>, 3> sizes = {{{FieldId::EavesHeightH1, 80},
                                                         {FieldId::BuildingHeightH2, 104},
                                                         {FieldId::SpanDirectionLengthD, 128}}};
  for (const auto& [id, y] : sizes) {
    label(g, qs(fieldInfo(id).caption), 8, y);
    binder_->bind(id, place(new QLineEdit(g), 116, y - 3, 52));
    label(g, QStringLiteral("mm"), 172, y);
  }
  auto* dimensions = place(new QLabel(g), 206, 80, 170, 80);
  dimensions->setPixmap(QPixmap(QStringLiteral(":/resources/building_dimensions.png")));

  // The three choice groups: a column of option buttons and their picture.
  const auto choiceGroup = [&](FieldId id, Group group, int x, int slotIndex,
                               std::function<FormEvents(int)> click) {
    QGroupBox* box = group == Group::Wind ? new QGroupBox(qs(fieldInfo(id).caption), g)
                                          : makeGroup(group, qs(fieldInfo(id).caption), g);
    box->setGeometry(x, 154, 188, 138);
    std::vector<QAbstractButton*> buttons;
    const auto items = fieldInfo(id).items;
    for (std::size_t i = 0; i < items.size(); ++i) {
      buttons.push_back(
          place(new QRadioButton(qs(items[i]), box), 6, 22 + 22 * static_cast<int>(i), 84, 20));
    }
    binder_->bindChoice(id, std::move(buttons), std::move(click));
    QLabel* picture = place(new QLabel(box), 90, 48, 94, 60);
    picture->setScaledContents(true);
    choicePictures_[static_cast<std::size_t>(slotIndex)] = picture;
    if (group != Group::Wind)
      binder_->bind(id, box);
  };
  choiceGroup(FieldId::RoofType, Group::Wind, 6, 0, [&form](int i) {
    return form.clickRoofType(kRoofTypes[static_cast<std::size_t>(i)]);
  });
  choiceGroup(FieldId::BuildingShape, Group::BuildingShape, 198, 1,
              [&form](int i) { return form.clickBuildingShape(i); });
  choiceGroup(FieldId::RoofShape, Group::RoofShape, 198, 2,
              [&form](int i) { return form.clickRoofShape(i); });
  for (std::size_t i = 0; i < choicePictures_.size(); ++i)
    choicePictures_[i]->setPixmap(QPixmap(QString::fromLatin1(kBuiltInChoicePictures[i])));
}

void InputScreen::buildSnowGroup() {
  InputForm& form = session_.form();
  QGroupBox* g = makeGroup(Group::Snow, QStringLiteral("積雪荷重の設定"), this);
  g->setGeometry(kSnowGroup.x, kSnowGroup.y, kSnowGroup.w, kSnowGroup.h);
  label(g, QStringLiteral("垂直積雪量"), 8, 24);
  binder_->bind(FieldId::SnowDepth, place(new SpinField(g), 96, 21, 58));
  label(g, QStringLiteral("cm"), 158, 24);
  label(g, QStringLiteral("積雪の単位量ρ"), 8, 52);
  binder_->bind(FieldId::SnowUnitWeight, place(new SpinField(g), 96, 49, 58));
  label(g, QStringLiteral("N/㎝/㎡"), 158, 52);

  auto* method = new QGroupBox(QStringLiteral("垂直積雪量の算定法"), g);
  method->setGeometry(214, 10, 166, 72);
  binder_->bindOption(FieldId::SnowModeInput,
                      place(new QRadioButton(QStringLiteral("上欄へ入力"), method), 6, 22, 92, 20),
                      [&form] { return form.clickSnowModeInput(); });
  auto* depthReference = place(new QLabel(method), 96, 24, 38, 16);
  depthReference->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  binder_->bind(FieldId::SnowDepthReference, depthReference);
  label(method, QStringLiteral("cm"), 138, 24);
  binder_->bindOption(
      FieldId::SnowModeDerive,
      place(new QRadioButton(QStringLiteral("下記値より算出"), method), 6, 46, 130, 20),
      [&form] { return form.clickSnowModeDerive(); });

  auto* derived = new QGroupBox(g);
  derived->setGeometry(8, 86, 372, 114);
  QLabel* altitudeReference =
      valueInGap(derived, qs(fieldInfo(FieldId::AltitudeReference).caption), 10, 12, 44);
  binder_->bind(FieldId::AltitudeReference, altitudeReference);
  label(derived, QStringLiteral("m"), altitudeReference->geometry().right() + 12, 12);
  label(derived, QStringLiteral("標高"), 10, 44);
  binder_->bind(FieldId::Altitude, place(new SpinField(derived), 44, 41, 62));
  label(derived, QStringLiteral("m"), 110, 44);
  label(derived, QStringLiteral("海率"), 142, 44);
  binder_->bind(FieldId::SeaRatio, place(new SpinField(derived), 176, 41, 54));
  label(derived, QStringLiteral("％"), 234, 44);
  label(derived, QStringLiteral("海率計算用半径"), 10, 78);
  label(derived, QStringLiteral("R"), 104, 78);
  auto* radius = place(new QLabel(derived), 114, 78, 22, 16);
  radius->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  binder_->bind(FieldId::RadiusR, radius);
  label(derived, QStringLiteral("km"), 140, 78);
}

void InputScreen::buildLoadGroups() {
  QGroupBox* other = makeGroup(Group::OtherLoads, QStringLiteral("その他の荷重"), this);
  label(other, QStringLiteral(" (N/㎡)"), 176, 26);
  label(other, QStringLiteral("仕上げ"), 8, 26);
  label(other, QStringLiteral("荷重"), 54, 26);
  binder_->bind(FieldId::FinishingLoad, place(new SpinField(other), 96, 23, 72));
  label(other, QStringLiteral("積載"), 8, 54);
  label(other, QStringLiteral("荷重"), 54, 54);
  auto* live = place(new SpinField(other), 96, 51, 72);
  live->setStyleSheet(QStringLiteral("QAbstractSpinBox { background: rgb(204, 204, 204); }"));
  binder_->bind(FieldId::LiveLoad, live);

  QGroupBox* direct = makeGroup(Group::DirectLoad, QStringLiteral("荷重値直接設定"), this);
  label(direct, QStringLiteral(" (N/㎡)"), 220, 26);
  const std::array<std::pair<FieldId, int>, 3> rows = {
      {{FieldId::WindPositive, 26}, {FieldId::WindNegative, 50}, {FieldId::DirectSnowLoad, 74}}};
  for (const auto& [id, y] : rows) {
    label(direct, qs(fieldInfo(id).caption), 8, y);
    binder_->bind(id, place(new SpinField(direct), 132, y - 3, 80));
  }
}

void InputScreen::buildSpanGroup() {
  QGroupBox* g = makeGroup(Group::Span, QString(), this);
  // No title: the frame starts at the top, where the span count's label stands.
  g->setStyleSheet(QStringLiteral("QGroupBox { margin-top: 0px; }"));
  arrangementPicture_ = place(new QLabel(g), kArrangementPicture.x, kArrangementPicture.y,
                              kArrangementPicture.w, kArrangementPicture.h);
  label(g, QStringLiteral("荷重ΣＷ"), 8, 18);
  label(g, QStringLiteral("スパン[mm]"), 8, 52);
  for (int n = 1; n <= 4; ++n) {
    binder_->bind(spanField(n),
                  place(new QLineEdit(g), kSpanFieldLefts[static_cast<std::size_t>(n - 1)],
                        kSpanFieldTop, kSpanFieldWidth));
  }
  binder_->bind(FieldId::LeftOverhang,
                place(new QLineEdit(g), kLeftOverhangLeft, kSpanFieldTop, kSpanFieldWidth));
  binder_->bind(FieldId::RightOverhang,
                place(new QLineEdit(g), rightOverhangLeft(session_.form().shownSpanCount()),
                      kSpanFieldTop, kSpanFieldWidth));
  label(g, QStringLiteral("スパン数"), 726, 6);
  binder_->bind(FieldId::SpanCount, place(new SpinField(g), 726, 21, 50));
  label(g, QStringLiteral("はね出し"), 726, 43);
  binder_->bind(FieldId::Overhang, place(new QComboBox(g), 726, 58, 50, 20));
}

void InputScreen::buildCommandBar() {
  commandBar_ = new QWidget(this);
  commandBar_->setObjectName(QStringLiteral("commandBar"));
  constexpr std::array<FieldId, 7> kCommands = {
      FieldId::OverviewButton, FieldId::FireResistanceButton, FieldId::SettingsButton,
      FieldId::LoadButton,     FieldId::SaveButton,           FieldId::CalculateButton,
      FieldId::ExitButton};
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    auto* button = new QPushButton(qs(fieldInfo(kCommands[i]).caption), commandBar_);
    button->setGeometry(8 + 111 * static_cast<int>(i), 4, 104, 28);
    binder_->bind(kCommands[i], button);
  }
  auto* name = label(commandBar_, QStringLiteral("Tavilo for win"), 8, 38);
  name->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
  versionLabel_ = label(commandBar_, QString(), 112, 38, 160);
  versionLabel_->setStyleSheet(QStringLiteral("color: white;"));
  auto* terms = new QPushButton(qs(fieldInfo(FieldId::TermsLink).caption), commandBar_);
  terms->setFlat(true);
  terms->setCursor(Qt::PointingHandCursor);
  terms->setStyleSheet(QStringLiteral(
      "QPushButton { color: white; text-decoration: underline; border: none; background: "
      "transparent; text-align: right; }"));
  terms->setGeometry(kClientWidth - 8 - 240, 36, 240, 18);
  binder_->bind(FieldId::TermsLink, terms);
}

void InputScreen::applyLayout() {
  const InputForm& form = session_.form();
  const LayoutGeometry& layout = kLayoutGeometry[form.layoutMethod() == 1 ? 1 : 0];
  const int clientHeight = layout.windowHeight - kFrameHeight;
  setFixedSize(kClientWidth, clientHeight);
  groupBox(Group::OtherLoads)
      ->setGeometry(kRightColumn, layout.otherLoadsTop, kRightWidth, layout.otherLoadsHeight);
  groupBox(Group::DirectLoad)->setGeometry(kLeftColumn, layout.directLoadTop, kLeftWidth, 95);
  groupBox(Group::Span)
      ->setGeometry(kLeftColumn, layout.spanGroupTop, kClientWidth - 8, kSpanGroupHeight);
  commandBar_->setGeometry(0, layout.commandBarTop, kClientWidth, kCommandBarHeight);
  statusBar_->setGeometry(0, clientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
  for (std::size_t i = 0; i < kGroupCount; ++i) {
    if (QGroupBox* box = groups_[i])
      box->setVisible(form.isGroupShown(static_cast<Group>(i)));
  }
}

void InputScreen::updateWindowTexts() {
  const InputForm& form = session_.form();
  setWindowTitle(qs(form.caption()));
  statusBar_->setText(qs(form.statusText()));
  versionLabel_->setText(qs(form.versionLabel()));
  // One sentence a line: the group is narrower than the notice.
  QString notice = qs(form.siteDataNotice());
  if (const qsizetype stop = notice.indexOf(QStringLiteral("。"));
      stop >= 0 && stop + 1 < notice.size())
    notice.insert(stop + 1, QLatin1Char('\n'));
  siteDataNotice_->setText(notice);
  siteDataNotice_->setVisible(!form.siteDataNotice().empty());
  setEnabled(form.screenEnabled());
}

void InputScreen::updatePictures() {
  const InputForm& form = session_.form();
  arrangementPicture_->setPixmap(
      QPixmap(arrangementResource(form.shownSpanCount(), form.overhangCode())));
  if (QWidget* right = fieldWidget(FieldId::RightOverhang))
    right->move(rightOverhangLeft(form.shownSpanCount()), kSpanFieldTop);

  for (std::size_t i = 0; i < kChoiceGroups.size(); ++i) {
    const std::string& name = form.choicePicture(kChoiceGroups[i]);
    if (name == shownPictures_[i])
      continue;
    shownPictures_[i] = name;
    if (name.empty()) {
      choicePictures_[i]->setPixmap(QPixmap(QString::fromLatin1(kBuiltInChoicePictures[i])));
      continue;
    }
    const std::filesystem::path file = session_.folders().data / name;
    const QImage image(qStringFromPath(file));
    if (image.isNull()) {
      // The picture shown so far stays.
      showMessage(this,
                  QStringLiteral("画像ファイル「%1」を開けません。").arg(qStringFromPath(file)));
      continue;
    }
    choicePictures_[i]->setPixmap(QPixmap::fromImage(image));
  }
}

void InputScreen::carryOut(const FormEvents& events) {
  binder_->carryOut(events);
}

void InputScreen::showAgain() {
  show();
  bringToFront(*this);
  binder_->carryOut({focusEvent(session_.form().focus())});
}

void InputScreen::commandClicked(FieldId id) {
  switch (id) {
    case FieldId::OverviewButton:
      emit overviewRequested();
      break;
    case FieldId::FireResistanceButton:
      emit fireResistanceRequested();
      break;
    case FieldId::SettingsButton:
      emit settingsRequested();
      break;
    case FieldId::LoadButton:
      loadProject();
      break;
    case FieldId::SaveButton:
      saveProject();
      break;
    case FieldId::CalculateButton:
      calculate();
      break;
    case FieldId::ExitButton:
      close();
      break;
    case FieldId::TermsLink:
      emit noticeRequested();
      break;
    default:
      break;
  }
}

bool InputScreen::unsavedChangesSettled() {
  if (!session_.hasUnsavedChanges() || !dialogs_.askToSaveChanges)
    return true;
  switch (dialogs_.askToSaveChanges(this)) {
    case SaveAnswer::kSave:
      return saveProject();
    case SaveAnswer::kDiscard:
      return true;
    case SaveAnswer::kCancel:
      break;
  }
  return false;
}

void InputScreen::loadProject() {
  if (!unsavedChangesSettled())
    return;
  const auto chosen = dialogs_.chooseProjectToOpen(this, session_.openFolder());
  if (!chosen)
    return;
  openProject(*chosen);
}

void InputScreen::openProject(const std::filesystem::path& path) {
  const ProjectLoad load = session_.load(path);
  FormEvents events = load.events;
  if (load.failure)
    events.push_back(messageEvent(FieldId::None, *load.failure));
  binder_->carryOut(events);
}

bool InputScreen::saveProject() {
  const auto chosen = dialogs_.chooseProjectToSave(this, session_.saveLocation());
  if (!chosen)
    return false;
  try {
    session_.save(*chosen);
  } catch (const UserError& error) {
    showMessage(this, qs(error.what()));
    return false;
  }
  binder_->refresh();
  return true;
}

void InputScreen::calculate() {
  std::shared_ptr<void> busy;
  const CalculateResult result = session_.calculate([this, &busy] {
    if (dialogs_.busyWhileCalculating)
      busy = dialogs_.busyWhileCalculating();
  });
  if (result.refusal || !session_.lastOutcome()) {
    busy.reset();
    binder_->carryOut(result.events);
    return;
  }
  binder_->carryOut(result.events);
  emit calculated();
  busy.reset();
  hide();
}

void InputScreen::closeEvent(QCloseEvent* event) {
  if (unsavedChangesSettled()) {
    event->accept();
    emit closedForGood();
  } else {
    event->ignore();
  }
}

}  // namespace tavilo::ui
