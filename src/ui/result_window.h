#pragma once
// The result window: a tool bar and the report image of the last calculation
// in a scroll box. "閉じる" erases the image; closing by the title bar keeps
// it until the next calculation. From its tool bar the report is printed,
// previewed and saved as a PDF with the session's print settings, which the
// dialog "印刷の設定" edits.

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <vector>

#include "calc/calculation_run.h"
#include "ui/printed_document.h"

class QPrinter;
class QPushButton;
class QScrollArea;

namespace tavilo {
class Session;
}

namespace tavilo::ui {

class PrintSettingsWindow;

class ResultWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 582;
  static constexpr int kClientHeight = 698;
  static constexpr int kToolBarHeight = 25;

  explicit ResultWindow(Session& session,
                        ResultWindowDialogs dialogs = ResultWindowDialogs::platform(),
                        QWidget* parent = nullptr);
  ~ResultWindow() override;

  // Draws the report of `outcome` (the screen pass), shows it from its top
  // and shows and activates the window.
  void showOutcome(const tavilo::CalculationOutcome& outcome);
  const QImage& reportImage() const { return image_; }

  // The tool bar and its buttons. The free stretch between "閉じる" and
  // "印刷の設定" is the spacer; further commands stand at its right end, and
  // it shrinks by their width.
  QWidget* toolBar() const { return toolBar_; }
  QPushButton* printButton() const { return printButton_; }
  QPushButton* closeButton() const { return closeButton_; }
  QPushButton* spacer() const { return spacer_; }
  QPushButton* previewButton() const { return previewButton_; }
  QPushButton* pdfButton() const { return pdfButton_; }
  QPushButton* printSettingsButton() const { return printSettingsButton_; }
  QScrollArea* scrollBox() const { return scrollBox_; }
  PrintSettingsWindow& printSettingsWindow() { return *printSettingsWindow_; }

  // A further command in the spacer, right of those added before it.
  QPushButton* addToolBarCommand(const QString& caption, const QString& hint, int width);

  // The commands, as their buttons run them.
  void print();
  void preview();
  void savePdf();
  void openPrintSettings();

 signals:
  // The window was left, by "閉じる" or by the title bar.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildToolBar();
  QPushButton* addToolButton(const QString& caption, const QString& hint, int left, int width);
  void placeSpacerCommands();
  void closeReport();
  // The report shown, as the print commands take it.
  PrintedDocument document() const;

  Session& session_;
  ResultWindowDialogs dialogs_;
  // What the window shows is what it prints.
  std::optional<CalculationOutcome> outcome_;
  QImage image_;
  QWidget* toolBar_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* spacer_ = nullptr;
  QPushButton* printSettingsButton_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
  std::vector<QPushButton*> spacerCommands_;
  QScrollArea* scrollBox_ = nullptr;
  QWidget* imageView_ = nullptr;
  PrintSettingsWindow* printSettingsWindow_ = nullptr;
};

}  // namespace tavilo::ui
