#include "editor/help_pictures.hpp"

#include <QFile>
#include <QString>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// The pictures live in a resource of this static library; nothing else references it, so the
// linker would drop it unless it is registered by name.
static void RegisterHelpPictures() { Q_INIT_RESOURCE(help_pictures); }

namespace kavrix {

namespace {

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }
void NoJpegMessage(j_common_ptr) {}

// libjpeg reports errors by a long jump; everything that must survive one lives in `out`.
struct DecodeState {
  jpeg_decompress_struct info;
  JpegError error;
  std::vector<JSAMPLE> row;
  QImage image;
};

bool Decode(const QByteArray& data, DecodeState* s) {
  s->info.err = jpeg_std_error(&s->error.mgr);
  s->error.mgr.error_exit = OnJpegError;
  s->error.mgr.output_message = NoJpegMessage;
  if (setjmp(s->error.jump)) {
    jpeg_destroy_decompress(&s->info);
    return false;
  }
  jpeg_create_decompress(&s->info);
  jpeg_mem_src(&s->info, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&s->info, TRUE);
  s->info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&s->info);
  const int w = static_cast<int>(s->info.output_width), h = static_cast<int>(s->info.output_height);
  s->image = QImage(w, h, QImage::Format_RGB32);
  s->row.resize(static_cast<std::size_t>(w) * 3);
  while (s->info.output_scanline < s->info.output_height) {
    const int y = static_cast<int>(s->info.output_scanline);
    JSAMPROW rows[1] = {s->row.data()};
    jpeg_read_scanlines(&s->info, rows, 1);
    auto* out = reinterpret_cast<QRgb*>(s->image.scanLine(y));
    for (int x = 0; x < w; ++x) out[x] = qRgb(s->row[3 * x], s->row[3 * x + 1], s->row[3 * x + 2]);
  }
  jpeg_finish_decompress(&s->info);
  jpeg_destroy_decompress(&s->info);
  return true;
}

constexpr int kZeroEntryPicture = 43;

}  // namespace

QImage DecodeJpeg(const QByteArray& data) {
  if (data.size() < 4) return QImage();
  DecodeState state{};
  if (!Decode(data, &state)) return QImage();
  return state.image;
}

const QImage& HelpPictureList::at(int n) {
  static const QImage none;
  if (n < 0 || n >= count()) return none;
  if (m_pictures.empty()) {
    RegisterHelpPictures();
    m_pictures.resize(static_cast<std::size_t>(count()));
    m_loaded.assign(static_cast<std::size_t>(count()), false);
  }
  const auto i = static_cast<std::size_t>(n);
  if (!m_loaded[i]) {
    m_loaded[i] = true;
    const int number = n == 0 ? kZeroEntryPicture : n;
    QFile f(QStringLiteral(":/help/help_%1.jpg").arg(number, 3, 10, QLatin1Char('0')));
    if (f.open(QIODevice::ReadOnly)) m_pictures[i] = DecodeJpeg(f.readAll());
  }
  return m_pictures[i];
}

}  // namespace kavrix
