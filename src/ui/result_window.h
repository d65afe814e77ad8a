#pragma once
// The result window: a tool bar and the report image of the last calculation
// in a scroll box. "閉じる" erases the image; closing by the title bar keeps
// it until the next calculation.

#include <QImage>
#include <QWidget>

class QPushButton;
class QScrollArea;

namespace tavilo {
struct CalculationOutcome;
}

namespace tavilo::ui {

class ResultWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 582;
  static constexpr int kClientHeight = 698;
  static constexpr int kToolBarHeight = 25;

  explicit ResultWindow(QWidget* parent = nullptr);

  // Draws the report of `outcome` (the screen pass), shows it from its top
  // and shows and activates the window.
  void showOutcome(const tavilo::CalculationOutcome& outcome);
  const QImage& reportImage() const { return image_; }

  // The tool bar and its buttons. The free stretch between "閉じる" and
  // "印刷の設定" is the spacer, where further commands find their place.
  QWidget* toolBar() const { return toolBar_; }
  QPushButton* printButton() const { return printButton_; }
  QPushButton* closeButton() const { return closeButton_; }
  QPushButton* spacer() const { return spacer_; }
  QPushButton* printSettingsButton() const { return printSettingsButton_; }
  QScrollArea* scrollBox() const { return scrollBox_; }

 signals:
  // The window was left, by "閉じる" or by the title bar.
  void closed();
  void printRequested();
  void printSettingsRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildToolBar();
  QPushButton* addToolButton(const QString& caption, const QString& hint, int left, int width);
  void closeReport();

  QImage image_;
  QWidget* toolBar_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* spacer_ = nullptr;
  QPushButton* printSettingsButton_ = nullptr;
  QScrollArea* scrollBox_ = nullptr;
  QWidget* imageView_ = nullptr;
};

}  // namespace tavilo::ui
