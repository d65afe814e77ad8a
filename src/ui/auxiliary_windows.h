#pragma once
// The small windows around the input screen: the splash shown while the
// program starts, the terms-of-use notice, the overview document, the
// fire-resistance figure and the busy panel of long commands.

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "ui/ui_support.h"

class QLabel;
class QPushButton;
class QTextBrowser;

namespace tavilo::ui {

// Borderless, always on top, centred on the screen, with the hourglass
// cursor: the product name, "ver." + version and the start-up line.
class SplashWindow : public QWidget {
 public:
  explicit SplashWindow(const QString& version, QWidget* parent = nullptr);

  // Centres, shows and paints the window before the caller goes on working.
  void present();
};

// The terms-of-use notice "ご確認下さい", modal and always on top, centred on
// `parent` (on the screen without one). Returns when "確　認" closed it. The
// dialog is made anew for every showing and destroyed when it closes.
void showNotice(QWidget* parent);

// The overview document in a read-only viewer. Closing the window only hides
// it.
class OverviewWindow : public QWidget {
 public:
  explicit OverviewWindow(QWidget* parent = nullptr);

  // The "概　要" command: reads the document from the data folder anew (UTF-8
  // Markdown) and shows the window. A file that is missing or cannot be read
  // is reported with a message naming it, and the window is not shown.
  // Answers whether the window was shown.
  bool showOverview(const std::filesystem::path& dataFolder);

  // "バージョン 5.4" beside the verification button; without a version the
  // line stays hidden.
  void setVersion(std::string_view version);

  QTextBrowser* browser() const { return browser_; }
  QLabel* versionLabel() const { return versionLabel_; }
  // Opens the verification document (検証資料) of the data folder last shown
  // with the desktop's PDF viewer; a missing document is reported by name.
  QPushButton* verificationButton() const { return verificationButton_; }
  // How a document is handed to the desktop: QDesktopServices by default.
  std::function<bool(const QUrl&)> openDocument;

 private:
  void openVerificationDocument();

  // 584 × 693 with the frame, whose title bar and borders take 28 of the height.
  static constexpr QSize kPreferredSize{584, 693 - 28};

  QTextBrowser* browser_ = nullptr;
  QPushButton* verificationButton_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  std::filesystem::path dataFolder_;
};

// The fire-resistance figure in a window of its size at the top left of the
// screen. Closing the window only hides it.
class FireResistanceWindow : public QWidget {
 public:
  explicit FireResistanceWindow(QWidget* parent = nullptr);

  // The "耐火仕様" command.
  void showAndFocus();

 private:
  QPixmap picture_;
};

// The panel a long command shows while it works, with the hourglass cursor:
// the constructor shows and paints it before the work starts, the destructor
// removes it and gives the cursor back.
class BusyPanel {
 public:
  explicit BusyPanel(const QString& caption = qs(kBusyCalculating));
  ~BusyPanel();
  BusyPanel(const BusyPanel&) = delete;
  BusyPanel& operator=(const BusyPanel&) = delete;

  const QWidget& panel() const { return *panel_; }

 private:
  std::unique_ptr<QWidget> panel_;
};

}  // namespace tavilo::ui
