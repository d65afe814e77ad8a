#pragma once
// The result window: a tool bar and the report image of the last calculation
// in a scroll box. "閉じる" erases the image; closing by the title bar keeps
// it until the next calculation. From its tool bar the report is printed,
// previewed and saved as a PDF with the session's print settings, which the
// dialog "印刷の設定" edits.

#include <filesystem>
#include <optional>
#include <vector>

#include "calc/calculation_run.h"
#include "ui/document_window.h"

class QPushButton;

namespace tavilo::ui {

class PrintSettingsWindow;

class ResultWindow : public DocumentWindow {
  Q_OBJECT

 public:
  explicit ResultWindow(Session& session,
                        ResultWindowDialogs dialogs = ResultWindowDialogs::platform(),
                        QWidget* parent = nullptr);
  ~ResultWindow() override;

  // Draws the report of `outcome` (the screen pass), shows it from its top
  // and shows and activates the window.
  void showOutcome(const tavilo::CalculationOutcome& outcome);
  const QImage& reportImage() const { return image(); }

  // The tool bar and its buttons. The free stretch between "閉じる" and
  // "印刷の設定" is the spacer; further commands stand at its right end, and
  // it shrinks by their width.
  QPushButton* printButton() const { return printButton_; }
  QPushButton* closeButton() const { return closeButton_; }
  QPushButton* spacer() const { return spacer_; }
  QPushButton* previewButton() const { return previewButton_; }
  QPushButton* pdfButton() const { return pdfButton_; }
  QPushButton* printSettingsButton() const { return printSettingsButton_; }
  PrintSettingsWindow& printSettingsWindow() { return *printSettingsWindow_; }

  // A further command in the spacer, right of those added before it.
  QPushButton* addToolBarCommand(const QString& caption, const QString& hint, int width);

  // "印刷の設定".
  void openPrintSettings();

 signals:
  // The window was left, by "閉じる" or by the title bar.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildToolBar();
  void placeSpacerCommands();
  void layoutToolBar() override { placeSpacerCommands(); }
  void closeReport();
  std::optional<PrintedDocument> document() const override;

  // What the window shows is what it prints.
  std::optional<CalculationOutcome> outcome_;
  QPushButton* printButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* spacer_ = nullptr;
  QPushButton* printSettingsButton_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
  std::vector<QPushButton*> spacerCommands_;
  PrintSettingsWindow* printSettingsWindow_ = nullptr;
};

}  // namespace tavilo::ui
