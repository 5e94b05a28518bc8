#pragma once
// The F1 help pictures: small JPEG cards built into the program, one per help number that the
// type catalogue gives a kind, decoded with libjpeg the first time each is shown.
#include <QByteArray>
#include <QImage>
#include <vector>

namespace kavrix {

// A JPEG decoded into an RGB32 image; a null image for data that is not a readable JPEG.
QImage DecodeJpeg(const QByteArray& data);

// Help numbers of the type catalogue run from 1 to 107 (0: no picture).
constexpr int kHelpPictureCount = 108;

// Help number n's picture is entry n; entry 0 repeats picture 43.
class HelpPictureList {
 public:
  int count() const { return kHelpPictureCount; }
  // The picture of help number n; a null image for a number outside the list or without a picture.
  const QImage& at(int n);

 private:
  std::vector<QImage> m_pictures;
  std::vector<bool> m_loaded;
};

}  // namespace kavrix
