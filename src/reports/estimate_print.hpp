#pragma once
// The printed price estimate: the page layout as a list of drawing operations (so it can be
// checked without a printer) and the print command that plays it on the chosen printer.
#include <QImage>
#include <string>
#include <vector>

#include "model/price_rows.hpp"
#include "platform/printer.hpp"

namespace kavrix {

struct EstimatePrintInput {
  std::string title;     // "Report"
  std::string currency;  // the currency label
  std::string network;   // the network's title
  std::vector<PriceRow> rows;  // the estimate grid: row 0 the header, the last row the total
  QImage logo;                 // null when there is no logo
};

// Data rows on the first page; every further page holds kEstimateRowsPerPage more.
constexpr int kEstimateFirstPageRows = 28;
constexpr int kEstimateRowsPerPage = 34;

// The drawing operations of the whole printout on pages of `page` device pixels.
std::vector<platform::PrintOp> EstimatePrintLayout(const EstimatePrintInput& in, platform::PageSize page);
// Asks for a printer and prints; false when cancelled or the printer failed (with a message).
bool PrintEstimateOnPrinter(const EstimatePrintInput& in);

}  // namespace kavrix
