// The main window's report and tool commands: the price estimate, the path-loss calculator and
// the catalogue documents, with their menu entries.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "editor/canvas_window.hpp"
#include "model/price_rows.hpp"
#include "model/project_options.hpp"
#include "reports/calculator_window.hpp"
#include "reports/document_commands.hpp"
#include "reports/price_window.hpp"

namespace kavrix {

namespace {

// A top-level menu by its caption, shortcut marks ignored; made when it is not there yet.
QMenu* MenuNamed(QMenuBar* bar, const QString& caption) {
  for (QAction* a : bar->actions()) {
    QString text = a->text();
    if (a->menu() && text.remove('&') == caption) return a->menu();
  }
  return bar->addMenu(caption);
}

}  // namespace

void TForm1::BuildReportMenus() {
  QMenu* run = MenuNamed(menuBar(), "Run");
  Billofmaterials1 = run->addAction("Price Estimation", this, [this] { Billofmaterials1Click(); });
  PathLossCalculator1 = run->addAction("Path Loss Calculator", this, [this] { PathLossCalculator1Click(); });
  QMenu* help = MenuNamed(menuBar(), "Help");
  Catalog1 = help->addAction("Catalog", this, [this] { Catalog1Click(); });
  Catalog1->setVisible(false);
  CatalogRussian1 = help->addAction("Catalog (Russian)", this, [this] { CatalogRussian1Click(); });
  CatalogRussian1->setVisible(false);
  HelpRussian1 = help->addAction("Help (Russian)", this, [this] { HelpRussian1Click(); });
  HelpRussian1->setVisible(false);
  HelpRussian1->setEnabled(false);
}

void TForm1::Billofmaterials1Click() {
  if (!Form2) return;
  Form2->EnterReportMode();
  EstimateSources src;
  src.prices = &PriceListRows;
  src.priceColumn = Form2->PriceColumn();
  for (int k = 1; k <= kCableTypes; ++k) {
    src.rf[k - 1] = OptionControls.RfGrid[k].type;
    src.fiber[k - 1] = OptionControls.FiberGrid[k].type;
  }
  RebuildEstimate(EstimateGrid, src);
  Form2->Label2->setText(Form5 ? Form5->windowTitle() : QString());
  Form2->ShowEstimateRows();
}

void TForm1::PathLossCalculator1Click() {
  if (!Form6) return;
  Form6->show();
  Form6->raise();
}

void TForm1::Catalog1Click() { OpenDocumentFile(StartDir, "Catalog.pdf"); }

void TForm1::CatalogRussian1Click() { OpenDocumentFile(StartDir, "CatalogRu.pdf"); }

// Resolved against the directory current now, which the file dialogs may have changed.
void TForm1::HelpRussian1Click() { OpenDocumentFile("", "ReadmeRu.pdf"); }

}  // namespace kavrix
