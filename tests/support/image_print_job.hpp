#pragma once
// A print job whose pages are painted into images, so what a printer would receive can be
// looked at pixel by pixel.
#include <QImage>
#include <QPainter>
#include <deque>
#include <string>

#include "platform/printer.hpp"

namespace kavrix::test {

class ImagePrintJob : public platform::PrintJob {
 public:
  explicit ImagePrintJob(platform::PageSize page) : m_page(page) {}
  platform::PageSize pageSize() const override { return m_page; }
  bool beginDoc(const std::string&) override {
    addPage();
    return true;
  }
  bool newPage() override {
    m_painter.end();
    addPage();
    return true;
  }
  bool endDoc() override { return m_painter.end(); }
  QPainter& painter() override { return m_painter; }
  int pageCount() const override { return static_cast<int>(pages.size()); }
  std::deque<QImage> pages;

 private:
  void addPage() {
    pages.emplace_back(m_page.widthPx, m_page.heightPx, QImage::Format_RGB32);
    pages.back().fill(Qt::white);
    m_painter.begin(&pages.back());
  }
  platform::PageSize m_page;
  QPainter m_painter;
};

// The bounding box of the dark pixels of `image` within `area`; empty when there are none.
inline QRect InkBox(const QImage& image, const QRect& area) {
  QRect box;
  const QRect r = area.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace kavrix::test
