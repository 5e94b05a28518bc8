// Draws the F1 help pictures of the canvas: for every help number of the type catalogue a card
// with the symbol of its first kind that has one and the model names of all its kinds, written
// as JPEG files together with the resource list that builds them into the program.
//   cmake --build build/test --target kavrix_help_pictures
//   QT_QPA_PLATFORM=offscreen build/test/kavrix_help_pictures src/editor/help
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <vector>

#include <jpeglib.h>

#include "catalogue/model_names.hpp"
#include "catalogue/type_catalogue.hpp"
#include "model/network_model.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace {

using namespace kavrix;

constexpr int kMaxSymbolWidth = 360;
constexpr int kMaxSymbolHeight = 220;
constexpr int kMargin = 12;

// The symbol of `kind` on white: its transparent background keyed out.
QImage SymbolOnWhite(int kind) {
  NewNetworkModel();
  NetObjects[0] = {kind, 200, 200, 0, 1, 0};
  const Bitmap glyph = MakeObjectGlyph(0);
  if (glyph.empty()) return QImage();
  QImage img = glyph.image().convertToFormat(QImage::Format_RGB32);
  const QRgb key = ToRgb(glyph.transparentColor()) | 0xFF000000u;
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (glyph.transparent() && (line[x] | 0xFF000000u) == key) line[x] = qRgb(255, 255, 255);
  }
  if (img.width() > kMaxSymbolWidth || img.height() > kMaxSymbolHeight)
    img = img.scaled(kMaxSymbolWidth, kMaxSymbolHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return img;
}

QStringList WrapNames(const QStringList& names, const QFontMetrics& fm, int width) {
  QStringList lines;
  QString line;
  for (const QString& n : names) {
    const QString next = line.isEmpty() ? n : line + ", " + n;
    if (!line.isEmpty() && fm.horizontalAdvance(next) > width) {
      lines << line + ",";
      line = n;
    } else {
      line = next;
    }
  }
  if (!line.isEmpty()) lines << line;
  return lines;
}

QImage Card(const std::vector<int>& kinds) {
  QImage symbol;
  QStringList names;
  for (int k : kinds) {
    if (symbol.isNull()) symbol = SymbolOnWhite(k);
    const QString name = QString::fromUtf8(ModelName(k).data(), static_cast<int>(ModelName(k).size())).trimmed();
    if (!name.isEmpty() && !names.contains(name)) names << name;
  }
  QFont title("Liberation Sans");
  title.setPixelSize(15);
  title.setBold(true);
  QFont small("Liberation Sans");
  small.setPixelSize(12);
  const int width = std::max(240, (symbol.isNull() ? 0 : symbol.width()) + 2 * kMargin);
  const QStringList lines = WrapNames(names, QFontMetrics(small), width - 2 * kMargin);
  const int band = 28;
  const int symbolHeight = symbol.isNull() ? 40 : symbol.height();
  const int height = band + kMargin + symbolHeight + kMargin + static_cast<int>(lines.size()) * 15 + kMargin;

  QImage card(width, height, QImage::Format_RGB32);
  card.fill(Qt::white);
  QPainter p(&card);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.fillRect(0, 0, width, band, QColor(0x2C, 0x5A, 0x8C));
  p.setPen(Qt::white);
  p.setFont(title);
  const QString heading = names.isEmpty() ? QString("Component") : names.front();
  p.drawText(QRect(kMargin, 0, width - 2 * kMargin - 30, band), Qt::AlignVCenter | Qt::AlignLeft, heading);
  p.setFont(small);
  p.drawText(QRect(width - kMargin - 40, 0, 40, band), Qt::AlignVCenter | Qt::AlignRight, "F1");
  if (!symbol.isNull()) p.drawImage((width - symbol.width()) / 2, band + kMargin, symbol);
  p.setPen(QColor(0x40, 0x40, 0x40));
  int y = band + kMargin + symbolHeight + kMargin;
  for (const QString& line : lines) {
    p.drawText(QRect(kMargin, y, width - 2 * kMargin, 15), Qt::AlignVCenter | Qt::AlignLeft, line);
    y += 15;
  }
  p.setPen(QColor(0x90, 0x90, 0x90));
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, width - 1, height - 1);
  p.end();
  return card;
}

bool WriteJpeg(const QImage& image, const std::string& path) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width()) * 3);
  while (info.next_scanline < info.image_height) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(info.next_scanline)));
    for (int x = 0; x < image.width(); ++x) {
      row[3 * x] = static_cast<JSAMPLE>(qRed(in[x]));
      row[3 * x + 1] = static_cast<JSAMPLE>(qGreen(in[x]));
      row[3 * x + 2] = static_cast<JSAMPLE>(qBlue(in[x]));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(size));
  std::free(buffer);
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::cerr << "usage: kavrix_help_pictures <output directory>\n";
    return 2;
  }
  const std::string dir = argv[1];
  InstallGlyphHooks();
  CreateDeviceGlyphs();
  CreateSwitchAmpGlyphs();
  std::map<int, std::vector<int>> kindsByNumber;
  for (int kind = 0; kind < kKindCount; ++kind)
    if (TypeCatalogue[kind][kHelpPicture] > 0) kindsByNumber[TypeCatalogue[kind][kHelpPicture]].push_back(kind);

  std::string qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/help\">\n";
  for (const auto& [number, kinds] : kindsByNumber) {
    char name[32];
    std::snprintf(name, sizeof name, "help_%03d.jpg", number);
    if (!WriteJpeg(Card(kinds), dir + "/" + name)) {
      std::cerr << "cannot write " << dir << "/" << name << "\n";
      return 1;
    }
    qrc += std::string("  <file>") + name + "</file>\n";
  }
  qrc += "</qresource>\n</RCC>\n";
  std::ofstream(dir + "/help_pictures.qrc") << qrc;
  NewNetworkModel();
  return 0;
}
