#include "reports/estimate_print.hpp"

#include <QPainter>

#include "model/number_text.hpp"
#include "reports/print_ops.hpp"

namespace kavrix {

namespace {

using platform::PrintOp;
using Kind = PrintOp::Kind;
using print_ops::Font;
using print_ops::Op;
using print_ops::Pen;
using print_ops::Round;
using print_ops::Text;

constexpr const char* kHeader[kPriceColumns] = {"     Item", " Quantity", "Unit Price", "Whole Price", "     Comment"};
constexpr int kColumnX[kPriceColumns] = {35, 62, 82, 103, 135};  // in page units of 1/200 width
constexpr int kSeparatorX[] = {60, 80, 100, 120};

bool BreaksAfter(int row) {
  return row == kEstimateFirstPageRows ||
         (row > kEstimateFirstPageRows && (row - kEstimateFirstPageRows) % kEstimateRowsPerPage == 0);
}

}  // namespace

std::vector<PrintOp> EstimatePrintLayout(const EstimatePrintInput& in, platform::PageSize page) {
  const int ux = Round(page.widthPx / 200.0);
  const int uy = Round(page.heightPx / 300.0);
  std::vector<PrintOp> ops;

  int bottom = 25 * uy;
  if (!in.logo.isNull() && in.logo.height() > 0) {
    const double a = double(in.logo.width()) / in.logo.height();
    int right = Round(15 * uy * a) + 30 * ux;
    if (right > page.widthPx) {
      right = 180 * ux;
      bottom = Round(150 * ux / a) + 10 * uy;
    }
    PrintOp logo = Op(Kind::Image, 30 * ux, 10 * uy, right, bottom);
    logo.image = in.logo;
    ops.push_back(logo);
  }
  const int b = bottom;

  ops.push_back(Font(9 * uy, true));
  ops.push_back(Text(90 * ux, b + 10 * uy, in.title));
  ops.push_back(Font(4 * uy, false));
  ops.push_back(Text(30 * ux, b + 20 * uy, in.currency));
  ops.push_back(Text(161 * ux, b + 20 * uy, in.network));

  PrintOp pen = Op(Kind::Pen, 0, 0);
  pen.size = Round(ux / 3.0);
  ops.push_back(pen);
  ops.push_back(Op(Kind::Rect, 30 * ux, b + 30 * uy, 180 * ux, b + 40 * uy));
  for (int x : kSeparatorX) ops.push_back(Op(Kind::Line, x * ux, b + 30 * uy, x * ux, b + 40 * uy));
  for (int c = 0; c < kPriceColumns; ++c) ops.push_back(Text(kColumnX[c] * ux, b + 33 * uy, kHeader[c]));

  const int last = static_cast<int>(in.rows.size()) - 1;
  int y0 = b + 30 * uy;
  for (int r = 1; r < last; ++r) {
    const int top = y0 + 8 * r * uy;
    ops.push_back(Op(Kind::Line, 30 * ux, top, 30 * ux, top + 8 * uy));
    ops.push_back(Op(Kind::Line, 180 * ux, top, 180 * ux, top + 8 * uy));
    for (int c = 0; c < kPriceColumns; ++c) ops.push_back(Text(kColumnX[c] * ux, top + 3 * uy, in.rows[r][c]));
    if (BreaksAfter(r)) {
      ops.push_back(Op(Kind::NewPage, 0, 0));
      y0 = 12 * uy - 8 * (r + 1) * uy;  // the next row starts 12 units below the top
    }
  }
  if (last >= 1) {
    const int top = y0 + 8 * last * uy;
    const int foot = top + 8 * uy;
    ops.push_back(Op(Kind::Line, 30 * ux, top, 30 * ux, foot));
    ops.push_back(Op(Kind::Line, 30 * ux, foot, 180 * ux, foot));
    ops.push_back(Op(Kind::Line, 180 * ux, top, 180 * ux, foot));
    ops.push_back(Font(4 * uy, true));
    ops.push_back(Text(kColumnX[kPriceItem] * ux, top + 3 * uy, in.rows[last][kPriceItem]));
    ops.push_back(Text(kColumnX[kPriceWhole] * ux, top + 3 * uy, in.rows[last][kPriceWhole]));
  }
  return ops;
}

bool PrintEstimateOnPrinter(const EstimatePrintInput& in) {
  const std::unique_ptr<platform::PrintJob> job = platform::Current().printDialog("Price Estimation");
  if (!job) return false;
  const std::vector<PrintOp> ops = EstimatePrintLayout(in, job->pageSize());
  if (!job->beginDoc("Price Estimation")) {
    platform::ShowError("Error", "The price estimate could not be printed: the printer did not start.");
    return false;
  }
  platform::PlayPrintOps(*job, ops);
  if (!job->endDoc()) {
    platform::ShowError("Error", "The price estimate could not be printed completely.");
    return false;
  }
  return true;
}

}  // namespace kavrix
