#pragma once
// A window that shows one printable document: a 582 × 698 window with a
// 25-pixel tool bar and the document's screen image in a scroll box below it,
// and the print, preview and PDF commands, which take the document the
// window describes. On a screen too small for it the window takes the
// available area and the scroll box the difference. The image is drawn at the
// screen's device pixel ratio, so that its text is sharp on a HiDPI screen.
// The result window and the span table window are made of it.

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>
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
  static constexpr int kDocumentClientWidth = 582;
  static constexpr int kDocumentClientHeight = 698;
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
  // Draws the document's screen image at a device pixel ratio.
  using ImageRenderer = std::function<QImage(double devicePixelRatio)>;
  // Shows the image `render` draws, from its top, and the window in front,
  // fitted to its screen and centred when it was hidden. The image is drawn
  // again when the window moves to a screen of another pixel ratio.
  void showImage(ImageRenderer render);
  // Fills the image with the screen background: the document is erased.
  void eraseImage();
  const QImage& image() const { return image_; }
  // The document shown, as the print commands take it.
  virtual std::optional<PrintedDocument> document() const = 0;
  // Places the tool bar's buttons for the window's width.
  virtual void layoutToolBar() {}

  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

  Session& session_;

 private:
  void fitToScreen();
  void placeChildren();
  void renderForScreen();

  ResultWindowDialogs dialogs_;
  ImageRenderer render_;
  QImage image_;
  QWidget* toolBar_ = nullptr;
  ImageScrollBox* scrollBox_ = nullptr;
  ImageView* imageView_ = nullptr;
};

}  // namespace tavilo::ui
