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
#include "model/program_texts.h"
#include "report/qt/qt_path.h"
#include "ui/auxiliary_windows.h"
#include "ui/form_binder.h"
#include "ui/spin_field.h"
#include "ui/ui_support.h"
#include "ui/window_placement.h"

namespace tavilo::ui {
namespace {

QRect qRect(const Rect& r) {
  return QRect(r.x, r.y, r.width, r.height);
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
W* place(W* widget, const Rect& rect) {
  widget->setGeometry(qRect(rect));
  return widget;
}

QString resource(std::string_view file) {
  return QStringLiteral(":/resources/") + qs(file);
}

// The model's action for a click on an item of a choice group or on an option
// button.
std::function<FormEvents(int)> choiceAction(InputForm& form, FieldId id) {
  switch (id) {
    case FieldId::RoofType:
      return [&form](int i) { return form.clickRoofType(kRoofTypes[static_cast<std::size_t>(i)]); };
    case FieldId::BuildingShape:
      return [&form](int i) { return form.clickBuildingShape(i); };
    case FieldId::RoofShape:
      return [&form](int i) { return form.clickRoofShape(i); };
    case FieldId::SnowModeInput:
      return [&form](int) { return form.clickSnowModeInput(); };
    case FieldId::SnowModeDerive:
      return [&form](int) { return form.clickSnowModeDerive(); };
    default:
      return [](int) { return FormEvents{}; };
  }
}

}  // namespace

InputScreenDialogs InputScreenDialogs::platform() {
  InputScreenDialogs d;
  const QString filter = qs(kProjectFileType) + QStringLiteral("(*.tvl);;") + qs(kAllFilesType) +
                         QStringLiteral("(*.*)");
  d.chooseProjectToOpen =
      [filter](QWidget* parent,
               const std::filesystem::path& folder) -> std::optional<std::filesystem::path> {
    const QString file = QFileDialog::getOpenFileName(parent, qs(kOpenProjectTitle),
                                                      qStringFromPath(folder), filter);
    if (file.isEmpty())
      return std::nullopt;
    return pathFromQString(file);
  };
  d.chooseProjectToSave =
      [filter](QWidget* parent,
               const SaveLocation& proposal) -> std::optional<std::filesystem::path> {
    const auto chosen =
        chooseFileToSave(parent, qs(kSaveProjectTitle), proposal.folder / proposal.fileName, filter,
                         QStringLiteral("tvl"));
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
  for (std::size_t i = 0; i < kChoiceFields.size(); ++i) {
    if (kChoiceFields[i] == group)
      return choicePictures_[i];
  }
  return nullptr;
}

// The window as the screen description has it, piece by piece in its order.
void InputScreen::build() {
  std::array<QWidget*, static_cast<std::size_t>(Frame::CommandBar) + 1> frames{};
  frames[static_cast<std::size_t>(Frame::Client)] = this;
  QWidget* lastValue = nullptr;
  for (const ScreenPiece& piece : inputScreenPieces()) {
    QWidget* parent = frames[static_cast<std::size_t>(piece.parent)];
    switch (piece.kind) {
      case PieceKind::Frame:
        frames[static_cast<std::size_t>(piece.frame)] = makeFrame(piece, parent);
        break;
      case PieceKind::Caption: {
        QLabel* caption =
            label(parent, qs(captionText(piece)), piece.rect.x, piece.rect.y, piece.rect.width);
        if (piece.look == Look::Product)
          caption->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
        if (piece.field != FieldId::None && fieldInfo(piece.field).kind == FieldKind::Check)
          binder_->bindCaption(piece.field, caption);
        break;
      }
      case PieceKind::AfterValue:
        label(parent, qs(piece.text), lastValue->geometry().right() + piece.rect.x,
              lastValue->geometry().y());
        break;
      case PieceKind::Control:
        lastValue = makeControl(piece, parent);
        break;
      case PieceKind::Picture:
        place(new QLabel(parent), piece.rect)->setPixmap(QPixmap(resource(piece.text)));
        break;
      case PieceKind::Arrangement:
        arrangementPicture_ = place(new QLabel(parent), piece.rect);
        break;
      case PieceKind::SiteNotice:
        siteDataNotice_ = place(new QLabel(parent), piece.rect);
        siteDataNotice_->setObjectName(QStringLiteral("siteDataNotice"));
        siteDataNotice_->setWordWrap(true);
        siteDataNotice_->setStyleSheet(QStringLiteral("QLabel { color: rgb(204, 0, 0); }"));
        break;
      case PieceKind::Version:
        versionLabel_ = label(parent, QString(), piece.rect.x, piece.rect.y, piece.rect.width);
        versionLabel_->setStyleSheet(QStringLiteral("color: white;"));
        break;
    }
  }
  for (std::size_t i = 0; i < choicePictures_.size(); ++i)
    choicePictures_[i]->setPixmap(QPixmap(resource(kBuiltInChoicePictures[i])));
  statusBar_ = new QLabel(this);
  statusBar_->setObjectName(QStringLiteral("statusBar"));
  statusBar_->setStyleSheet(QStringLiteral(
      "QLabel { background: rgb(236, 236, 236); color: black; border-top: 1px solid gray; "
      "padding-left: 4px; }"));
}

QWidget* InputScreen::makeFrame(const ScreenPiece& piece, QWidget* parent) {
  if (piece.frame == Frame::CommandBar) {
    commandBar_ = place(new QWidget(parent), piece.rect);
    commandBar_->setObjectName(QStringLiteral("commandBar"));
    return commandBar_;
  }
  auto* box = place(new QGroupBox(qs(piece.text), parent), piece.rect);
  if (piece.look == Look::Flush)
    box->setStyleSheet(QStringLiteral("QGroupBox { margin-top: 0px; }"));
  if (const auto group = frameGroup(piece.frame))
    groups_[static_cast<std::size_t>(*group)] = box;
  return box;
}

QWidget* InputScreen::makeControl(const ScreenPiece& piece, QWidget* parent) {
  const FieldId id = piece.field;
  const FieldInfo& info = fieldInfo(id);
  Rect rect = piece.rect;
  if (id == FieldId::RightOverhang)
    rect = rightOverhangRect(session_.form().shownSpanCount());
  switch (info.kind) {
    case FieldKind::List:
      binder_->bind(id, place(new QComboBox(parent), rect));
      break;
    case FieldKind::Text:
      binder_->bind(id, place(new QLineEdit(parent), rect));
      break;
    case FieldKind::Spin: {
      auto* spin = place(new SpinField(parent), rect);
      if (piece.look == Look::Shaded)
        spin->setStyleSheet(QStringLiteral("QAbstractSpinBox { background: rgb(204, 204, 204); }"));
      binder_->bind(id, spin);
      break;
    }
    case FieldKind::Check:
      binder_->bind(id, place(new QCheckBox(parent), rect));
      break;
    case FieldKind::Option:
      binder_->bindOption(id, place(new QRadioButton(qs(info.caption), parent), rect),
                          [click = choiceAction(session_.form(), id)] { return click(0); });
      break;
    case FieldKind::Display: {
      QLabel* value = nullptr;
      if (info.caption.find("  ") != std::string_view::npos) {
        value = valueInGap(parent, qs(info.caption), rect.x, rect.y, rect.width);
      } else {
        value = place(new QLabel(parent), rect);
      }
      if (piece.look == Look::Strong)
        value->setStyleSheet(QStringLiteral("font-weight: bold;"));
      if (piece.look == Look::RightAligned)
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      binder_->bind(id, value);
      break;
    }
    case FieldKind::Choice:
      return makeChoice(piece, parent);
    case FieldKind::Button: {
      auto* button = place(new QPushButton(qs(info.caption), parent), rect);
      if (piece.look == Look::Link) {
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(QStringLiteral(
            "QPushButton { color: white; text-decoration: underline; border: none; background: "
            "transparent; text-align: right; }"));
      }
      binder_->bind(id, button);
      break;
    }
  }
  return fieldWidget(id);
}

// A choice group: a column of option buttons and the picture of the choice.
QWidget* InputScreen::makeChoice(const ScreenPiece& piece, QWidget* parent) {
  const FieldInfo& info = fieldInfo(piece.field);
  auto* box = place(new QGroupBox(qs(info.caption), parent), piece.rect);
  const bool ownGroup = info.group != Group::Wind;
  if (ownGroup)
    groups_[static_cast<std::size_t>(info.group)] = box;
  std::vector<QAbstractButton*> buttons;
  for (std::size_t i = 0; i < info.items.size(); ++i) {
    buttons.push_back(
        place(new QRadioButton(qs(info.items[i]), box), choiceButtonRect(static_cast<int>(i))));
  }
  binder_->bindChoice(piece.field, std::move(buttons), choiceAction(session_.form(), piece.field));
  QLabel* picture = place(new QLabel(box), kChoicePictureRect);
  picture->setScaledContents(true);
  for (std::size_t i = 0; i < kChoiceFields.size(); ++i) {
    if (kChoiceFields[i] == piece.field)
      choicePictures_[i] = picture;
  }
  if (ownGroup)
    binder_->bind(piece.field, box);
  return box;
}

void InputScreen::applyLayout() {
  const InputForm& form = session_.form();
  const ScreenGeometry geometry = inputScreenGeometry(form.layoutMethod());
  setFixedSize(geometry.clientWidth, geometry.clientHeight);
  groupBox(Group::OtherLoads)->setGeometry(qRect(geometry.otherLoads));
  groupBox(Group::DirectLoad)->setGeometry(qRect(geometry.directLoad));
  groupBox(Group::Span)->setGeometry(qRect(geometry.span));
  commandBar_->setGeometry(qRect(geometry.commandBar));
  statusBar_->setGeometry(qRect(geometry.statusBar));
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
      QPixmap(resource(builtInArrangementPicture(form.shownSpanCount(), form.overhangCode()))));
  if (QWidget* right = fieldWidget(FieldId::RightOverhang))
    right->setGeometry(qRect(rightOverhangRect(form.shownSpanCount())));

  for (std::size_t i = 0; i < kChoiceFields.size(); ++i) {
    const std::string& name = form.choicePicture(kChoiceFields[i]);
    if (name == shownPictures_[i])
      continue;
    shownPictures_[i] = name;
    if (name.empty()) {
      choicePictures_[i]->setPixmap(QPixmap(resource(kBuiltInChoicePictures[i])));
      continue;
    }
    const std::filesystem::path file = session_.folders().data / name;
    const QImage image(qStringFromPath(file));
    if (image.isNull()) {
      // The picture shown so far stays.
      showMessage(this, qs(kPictureUnreadable).arg(qStringFromPath(file)));
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
