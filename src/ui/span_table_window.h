#pragma once
// The span table of the report shown: for every deck and span count the
// longest span at which the whole calculation of the project passes, drawn as
// its printed page, with its own print, preview and PDF commands.

#include <filesystem>
#include <optional>

#include "calc/span_search.h"
#include "ui/document_window.h"

class QPushButton;

namespace tavilo::ui {

class SpanTableWindow : public DocumentWindow {
  Q_OBJECT

 public:
  explicit SpanTableWindow(Session& session,
                           ResultWindowDialogs dialogs = ResultWindowDialogs::platform(),
                           QWidget* parent = nullptr);

  // Draws the table's page, shows it from its top and shows the window.
  void showTable(SpanTable table);
  const QImage& tableImage() const { return image(); }
  const std::optional<SpanTable>& table() const { return table_; }

  QPushButton* printButton() const { return printButton_; }
  QPushButton* previewButton() const { return previewButton_; }
  QPushButton* pdfButton() const { return pdfButton_; }
  QPushButton* closeButton() const { return closeButton_; }

 private:
  std::optional<PrintedDocument> document() const override;
  void layoutToolBar() override;

  std::optional<SpanTable> table_;
  QPushButton* printButton_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* spacer_ = nullptr;
};

// Where the span table's PDF is proposed: the project file's name with
// "_スパン表.pdf" in its folder, else "スパン表.pdf" in `defaultFolder`.
std::filesystem::path proposedSpanTablePdfPath(const std::filesystem::path& projectFile,
                                               const std::filesystem::path& defaultFolder);

}  // namespace tavilo::ui
