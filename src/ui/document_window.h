#pragma once
// A window that shows one printable document: a fixed 582 × 698 window with a
// 25-pixel tool bar and the document's screen image in a scroll box below it,
// and the print, preview and PDF commands, which take the document the
// window describes. The result window and the span table window are made of it.

#include <QImage>
#include <QRect>
#include <QWidget>
#include <optional>

#include "ui/printed_document.h"

class QPushButton;

namespace tavilo {
class Session;
}

namespace tavilo::ui {

class DocumentWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 582;
  static constexpr int kClientHeight = 698;
  static constexpr int kToolBarHeight = 25;
  static constexpr int kToolButtonHeight = 24;

  QWidget* toolBar() const { return toolBar_; }
  ImageScrollBox* scrollBox() const { return scrollBox_; }

  // The commands, as their buttons run them; nothing while there is no document.
  void print();
  void preview();
  void savePdf();

 protected:
  DocumentWindow(Session& session, ResultWindowDialogs dialogs, QWidget* parent);

  // A tool bar button `width` wide at `left`.
  QPushButton* addToolButton(const QString& caption, const QString& hint, int left, int width);
  // Shows `image` from its top and the window in front, centred when it
  // was hidden.
  void showImage(QImage image);
  // Fills the image with the screen background: the document is erased.
  void eraseImage();
  const QImage& image() const { return image_; }
  // The document shown, as the print commands take it.
  virtual std::optional<PrintedDocument> document() const = 0;

  Session& session_;

 private:
  ResultWindowDialogs dialogs_;
  QImage image_;
  QWidget* toolBar_ = nullptr;
  ImageScrollBox* scrollBox_ = nullptr;
  ImageView* imageView_ = nullptr;
};

}  // namespace tavilo::ui
