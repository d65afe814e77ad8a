#include "ui/live_check_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <utility>

#include "calc/errors.h"
#include "ui/form_binder.h"
#include "ui/input_screen.h"
#include "ui/ui_support.h"

namespace tavilo::ui {

namespace {

// How long after showing the panel an activation is the window system's,
// not the user's.
constexpr std::chrono::milliseconds kActivationGrace{300};

QColor colour(const Rgb& rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

QString colourStyle(const Rgb& rgb) {
  return QStringLiteral("color: %1;").arg(colour(rgb).name());
}

QLabel* wrappedLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

// A horizontal bar of a ratio, full at 1, red when its check fails.
class UtilisationBar : public QWidget {
 public:
  explicit UtilisationBar(QWidget* parent) : QWidget(parent) {
    setFixedSize(kLivePanelLayout.barWidth, kLivePanelLayout.barHeight);
  }
  void setValue(double fraction, bool exceeded) {
    fraction_ = fraction;
    exceeded_ = exceeded;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), colour(kLivePanelLayout.barGround));
    const int filled = static_cast<int>(width() * std::clamp(fraction_, 0.0, 1.0) + 0.5);
    painter.fillRect(0, 0, filled, height(),
                     colour(exceeded_ ? kLivePanelLayout.failing : kLivePanelLayout.passing));
  }

 private:
  double fraction_ = 0;
  bool exceeded_ = false;
};

LiveCheckWindow::LiveCheckWindow(Session& session, InputScreen& screen)
    : QWidget(&screen,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      session_(session),
      screen_(screen) {
  setObjectName(QStringLiteral("liveCheck"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFont(windowFont());
  build();
  toggle_ = new QAction(&screen);
  toggle_->setCheckable(true);
  toggle_->setChecked(wanted_);
  toggle_->setShortcut(QKeySequence(Qt::Key_F9));
  toggle_->setShortcutContext(Qt::WindowShortcut);
  connect(toggle_, &QAction::triggered, this, [this](bool on) { setPanelWanted(on); });
  screen.addAction(toggle_);
  screen.setContextMenuPolicy(Qt::ActionsContextMenu);
  screen.installEventFilter(this);
  connect(&screen.binder(), &FormBinder::formChanged, this, &LiveCheckWindow::scheduleUpdate);
  updateNow();
}

LiveCheckWindow::~LiveCheckWindow() = default;

void LiveCheckWindow::build() {
  const LiveCheckPanel texts = livePanel(LiveCheck{}, 0);
  setFixedWidth(kLivePanelLayout.width);
  auto* layout = new QVBoxLayout(this);
  guidance_ = wrappedLabel(this);
  layout->addWidget(guidance_);

  auto* verdictRow = new QHBoxLayout;
  verdictCaption_ = new QLabel(this);
  verdict_ = wrappedLabel(this);
  verdict_->setObjectName(QStringLiteral("liveVerdict"));
  verdict_->setFont(windowFont(13, true));
  verdictRow->addWidget(verdictCaption_);
  verdictRow->addWidget(verdict_, 1);
  layout->addLayout(verdictRow);

  refusalBox_ = new QFrame(this);
  refusalBox_->setFrameShape(QFrame::StyledPanel);
  auto* refusalLayout = new QVBoxLayout(refusalBox_);
  refusalCaption_ = new QLabel(refusalBox_);
  refusal_ = wrappedLabel(refusalBox_);
  refusal_->setObjectName(QStringLiteral("liveRefusal"));
  refusal_->setStyleSheet(colourStyle(kLivePanelLayout.refused));
  // The field named is a link: a click puts the input focus there.
  refusalField_ = new QLabel(refusalBox_);
  refusalField_->setTextFormat(Qt::RichText);
  connect(refusalField_, &QLabel::linkActivated, this, [this] {
    if (panel_.refusalFocus != FieldId::None)
      screen_.carryOut({focusEvent(panel_.refusalFocus)});
  });
  refusalLayout->addWidget(refusalCaption_);
  refusalLayout->addWidget(refusal_);
  refusalLayout->addWidget(refusalField_);
  layout->addWidget(refusalBox_);

  checksCaption_ = new QLabel(this);
  checksCaption_->setFont(windowFont(12, true));
  layout->addWidget(checksCaption_);
  checksBox_ = new QWidget(this);
  auto* grid = new QGridLayout(checksBox_);
  grid->setContentsMargins(0, 0, 0, 0);
  for (int column = 0; column < 3; ++column) {
    auto* heading = new QLabel(checksBox_);
    checkColumns_.push_back(heading);
    grid->addWidget(heading, 0, column == 2 ? 2 : column, 1, column == 2 ? 2 : 1);
  }
  // Two lines a check: the figures with the bar, then where it governs
  // across the columns right of the label.
  for (std::size_t i = 0; i < kCheckKinds.size(); ++i) {
    const int row = 2 * static_cast<int>(i) + 1;
    checkLabels_.push_back(new QLabel(checksBox_));
    checkFigures_.push_back(new QLabel(checksBox_));
    checkPlaces_.push_back(new QLabel(checksBox_));
    checkPlaces_.back()->setStyleSheet(colourStyle(kLivePanelLayout.placeText));
    checkBars_.push_back(new UtilisationBar(checksBox_));
    checkRatios_.push_back(new QLabel(checksBox_));
    checkRatios_.back()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(checkLabels_.back(), row, 0, Qt::AlignTop);
    grid->addWidget(checkFigures_.back(), row, 1);
    grid->addWidget(checkBars_.back(), row, 2);
    grid->addWidget(checkRatios_.back(), row, 3);
    grid->addWidget(checkPlaces_.back(), row + 1, 1, 1, 3);
  }
  grid->setColumnStretch(1, 1);
  layout->addWidget(checksBox_);

  decksCaption_ = new QLabel(this);
  decksCaption_->setFont(windowFont(12, true));
  layout->addWidget(decksCaption_);
  decks_ = new QTreeWidget(this);
  decks_->setObjectName(QStringLiteral("liveDecks"));
  decks_->setRootIsDecorated(false);
  decks_->setColumnCount(static_cast<int>(texts.deckColumns.size()));
  decks_->setSelectionMode(QAbstractItemView::SingleSelection);
  decks_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  decks_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const auto chosen = [this](QTreeWidgetItem* item) {
    if (item != nullptr)
      chooseDeck(item->data(0, Qt::UserRole).toInt());
  };
  connect(decks_, &QTreeWidget::itemClicked, this, chosen);
  connect(decks_, &QTreeWidget::itemActivated, this, chosen);
  layout->addWidget(decks_);
  deckNote_ = wrappedLabel(this);
  chooseHint_ = wrappedLabel(this);
  layout->addWidget(deckNote_);
  layout->addWidget(chooseHint_);
  hide_ = new QPushButton(this);
  connect(hide_, &QPushButton::clicked, this, [this] { setPanelWanted(false); });
  layout->addWidget(hide_, 0, Qt::AlignRight);
  layout->addStretch(1);
}

void LiveCheckWindow::scheduleUpdate() {
  if (pending_)
    return;  // the update waiting (or the next showing) takes this change too
  pending_ = true;
  // A hidden panel waits: it catches up when shown again.
  QTimer::singleShot(0, this, [this] {
    if (pending_ && isVisible())
      updateNow();
  });
}

void LiveCheckWindow::updateNow() {
  pending_ = false;
  ++updates_;
  display(livePanel(session_));
}

void LiveCheckWindow::display(const LiveCheckPanel& panel) {
  panel_ = panel;
  setWindowTitle(qs(panel.title));
  guidance_->setText(qs(panel.guidance));
  verdictCaption_->setText(qs(panel.verdictCaption));
  verdict_->setText(qs(panel.verdict));
  verdict_->setStyleSheet(
      colourStyle(panel.ok ? kLivePanelLayout.passing : kLivePanelLayout.failing));
  verdict_->setVisible(panel.calculated);

  refusalBox_->setVisible(!panel.calculated);
  refusalCaption_->setText(qs(panel.refusalCaption));
  refusal_->setText(qs(panel.refusalMessage));
  refusalField_->setText(
      QStringLiteral("<a href=\"field\">%1</a>").arg(qs(panel.refusalField).toHtmlEscaped()));
  refusalField_->setVisible(!panel.refusalField.empty());

  checksCaption_->setText(qs(panel.checksCaption));
  checksCaption_->setVisible(panel.calculated);
  checksBox_->setVisible(panel.calculated);
  for (std::size_t c = 0; c < checkColumns_.size(); ++c)
    checkColumns_[c]->setText(qs(panel.checkColumns[c]));
  for (std::size_t i = 0; i < checkLabels_.size(); ++i) {
    const PanelCheckRow row = i < panel.checks.size() ? panel.checks[i] : PanelCheckRow{};
    checkLabels_[i]->setText(qs(row.label));
    checkFigures_[i]->setText(qs(row.figures));
    checkPlaces_[i]->setText(qs(row.where));
    checkPlaces_[i]->setVisible(!row.where.empty());
    checkBars_[i]->setValue(row.bar, row.exceeded);
    checkBars_[i]->setVisible(row.applies);
    checkRatios_[i]->setText(qs(row.ratioText));
    checkRatios_[i]->setStyleSheet(
        colourStyle(row.exceeded ? kLivePanelLayout.failing : kLivePanelLayout.passing));
  }

  decksCaption_->setText(qs(panel.decksCaption));
  QStringList headings;
  for (const std::string& column : panel.deckColumns)
    headings << qs(column);
  decks_->setHeaderLabels(headings);
  const int selected =
      decks_->currentItem() != nullptr ? decks_->currentItem()->data(0, Qt::UserRole).toInt() : -1;
  decks_->clear();
  for (const PanelDeckRow& row : panel.decks) {
    const QString ratio =
        row.ratioText.empty() ? QString() : qs(row.ratioText + " " + row.governing);
    auto* item = new QTreeWidgetItem(
        decks_, QStringList{qs(row.name), qs(row.verdict), ratio, qs(row.marks)});
    item->setData(0, Qt::UserRole, row.deckType);
    item->setToolTip(0, qs(row.tooltip));
    const Rgb& verdictColour =
        row.exceeded || row.ratioText.empty() ? kLivePanelLayout.failing : kLivePanelLayout.passing;
    item->setForeground(1, colour(verdictColour));
    item->setForeground(2, colour(verdictColour));
    if (row.lightestPassing || row.current) {
      const QColor ground =
          colour(row.current ? kLivePanelLayout.currentRow : kLivePanelLayout.lightestRow);
      for (int c = 0; c < decks_->columnCount(); ++c)
        item->setBackground(c, ground);
    }
    if (row.deckType == selected)
      decks_->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
  }
  const int rowHeight = decks_->sizeHintForRow(0);
  decks_->setFixedHeight(decks_->header()->sizeHint().height() +
                         rowHeight * static_cast<int>(panel.decks.size()) +
                         2 * decks_->frameWidth() + 2);
  deckNote_->setText(qs(panel.deckNote));
  chooseHint_->setText(qs(panel.chooseHint));
  hide_->setText(qs(panel.hideCaption));
  if (toggle_ != nullptr)
    toggle_->setText(qs(panel.showCaption));
  adjustSize();
}

void LiveCheckWindow::chooseDeck(int deckType) {
  screen_.carryOut(tavilo::chooseDeck(session_.form(), deckType));
}

void LiveCheckWindow::setPanelWanted(bool wanted) {
  wanted_ = wanted;
  if (toggle_ != nullptr)
    toggle_->setChecked(wanted);
  if (!settingsFolder_.empty()) {
    try {
      rememberLivePanel(settingsFolder_, wanted);
    } catch (const UserError& error) {
      showMessage(&screen_, qs(error.what()));
    }
  }
  followScreen();
}

void LiveCheckWindow::rememberIn(std::filesystem::path settingsFolder) {
  settingsFolder_ = std::move(settingsFolder);
  wanted_ = livePanelRemembered(settingsFolder_);
  if (toggle_ != nullptr)
    toggle_->setChecked(wanted_);
  followScreen();
}

void LiveCheckWindow::followScreen() {
  const bool visible = wanted_ && screen_.isVisible();
  if (!visible) {
    hide();
    return;
  }
  if (pending_)
    updateNow();
  const bool first = !isVisible();
  placeBesideScreen(first);
  if (first) {
    // Where the window system activates a window it shows, the panel hands
    // the activation back: typing stays on the screen.
    giveBackActivation_ = true;
    QTimer::singleShot(kActivationGrace, this, [this] { giveBackActivation_ = false; });
  }
  show();
  // The frame is known once shown: placed again with it.
  if (first)
    placeBesideScreen();
}

void LiveCheckWindow::placeBesideScreen(bool makeRoom) {
  QRect frame = screen_.frameGeometry();
  const QScreen* display = screen_.screen();
  const QRect room = display != nullptr ? display->availableGeometry() : QRect();
  const int panelWidth = frameGeometry().width();
  if (makeRoom && display != nullptr) {
    // The screen moves left as far as needed and possible for both to fit.
    const int overflow = frame.right() + 1 + kLivePanelLayout.gap + panelWidth - (room.right() + 1);
    const int shift = std::clamp(overflow, 0, std::max(0, frame.left() - room.left()));
    if (shift > 0) {
      screen_.move(screen_.x() - shift, screen_.y());
      frame.translate(-shift, 0);
    }
  }
  QPoint at(frame.right() + 1 + kLivePanelLayout.gap, frame.top());
  // On a display too narrow for both, the panel keeps within it and covers
  // the screen's right edge.
  if (display != nullptr) {
    at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - panelWidth)));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
  }
  move(at);
}

bool LiveCheckWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &screen_) {
    switch (event->type()) {
      case QEvent::Show:
      case QEvent::Hide:
        QTimer::singleShot(0, this, &LiveCheckWindow::followScreen);
        break;
      case QEvent::Move:
      case QEvent::Resize:
        if (isVisible())
          placeBesideScreen();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void LiveCheckWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && giveBackActivation_) {
    giveBackActivation_ = false;
    screen_.activateWindow();
  }
  QWidget::changeEvent(event);
}

void LiveCheckWindow::closeEvent(QCloseEvent* event) {
  // The window's close button hides the panel, as its own button does.
  event->ignore();
  setPanelWanted(false);
}

}  // namespace tavilo::ui
