// The pictures that ship with Tavilo, each drawn by one function.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

#include "sketch.h"

namespace pictures {

// Where a picture goes: the data folder beside the program (read when a choice
// is clicked) or the resources compiled into the windows.
enum class Destination { dataFolder, resources };

// Choice pictures are 24-bit Windows bitmaps; everything else is PNG.
enum class FileFormat { bmp24, png };

struct Picture {
  QString fileName;
  Destination destination;
  FileFormat format;
  QImage image;
};

// Every picture, drawn with the given fonts, in a fixed order.
std::vector<Picture> drawAll(const Fonts& fonts);

// The file contents of `picture` in its format; empty when encoding failed
// (including a bitmap that did not come out with 24 bits per pixel).
QByteArray encode(const Picture& picture);

// Bit depth recorded in a BMP file's info header; 0 for anything else.
int bmpBitDepth(const QByteArray& bytes);

}  // namespace pictures
