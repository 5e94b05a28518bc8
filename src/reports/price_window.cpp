#include "reports/price_window.hpp"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "catalogue/model_names.hpp"
#include "model/network_model.hpp"
#include "model/project_options.hpp"
#include "platform/platform.hpp"
#include "platform/stay_on_top.hpp"
#include "reports/estimate_print.hpp"

namespace kavrix {

std::vector<std::string> DefaultPriceListNames() {
  std::vector<std::string> names;
  for (int kind = 1; kind <= 200; ++kind)
    if (const std::string_view n = ModelName(kind, BrandIndex); !n.empty()) names.emplace_back(n);
  names.emplace_back(ModelName(210, BrandIndex));
  return names;
}

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QTableWidgetItem* SetCell(QTableWidget* g, int row, int col, const std::string& text) {
  auto* item = g->item(row, col);
  if (!item) {
    item = new QTableWidgetItem();
    g->setItem(row, col, item);
  }
  item->setText(Q(text));
  return item;
}

std::string CellText(const QTableWidget* g, int row, int col) {
  const auto* item = g->item(row, col);
  return item ? item->text().toStdString() : std::string();
}

CableNames OptionCableNames(bool fiber) {
  CableNames names;
  for (int k = 1; k <= kCableTypes; ++k) names[k - 1] = (fiber ? OptionControls.FiberGrid : OptionControls.RfGrid)[k].type;
  return names;
}

// Cells that must hold a number: the estimate's quantity, unit and whole price, the price list's
// three prices.
static_assert(int{kPriceQuantity} == int{kPriceListMain} && int{kPriceWhole} == int{kPriceListSpecial2});
bool IsNumberColumn(int column) { return column >= kPriceListMain && column <= kPriceListSpecial2; }

// Checks the number cells as they are typed, so a bad character goes at once; the texts keep
// only what the file can when they are committed (StringGrid1Edited).
// While the check's message box is up the editor keeps its place: the box takes the focus, and
// a grid that closed the editor then would free it under the key press still being handled.
class PriceCellDelegate : public QStyledItemDelegate {
 public:
  explicit PriceCellDelegate(TForm2* form) : QStyledItemDelegate(form), m_form(form) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line) {
      TForm2* form = m_form;
      bool* checking = &m_checking;
      const int column = index.column();
      QObject::connect(line, &QLineEdit::textEdited, line, [form, line, checking, column](const QString& text) {
        std::string message;
        const QString kept = form->CheckedCellText(column, text, message);
        if (message.empty()) return;
        line->setText(kept);
        *checking = true;
        platform::ShowError("Error", message);
        *checking = false;
      });
    }
    return editor;
  }
  bool eventFilter(QObject* editor, QEvent* e) override {
    if (m_checking && (e->type() == QEvent::FocusOut || e->type() == QEvent::Hide)) return false;
    return QStyledItemDelegate::eventFilter(editor, e);
  }

 private:
  TForm2* m_form;
  mutable bool m_checking = false;
};

}  // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
  setWindowTitle("Help");
  platform::KeepOnTop(this);
  setFixedSize(602, 568);
  // The grids' column widths are sized for this face.
  QFont face("Liberation Sans");
  face.setPointSize(8);
  setFont(face);

  Image1 = new QLabel(this);
  Image1->setGeometry(48, 16, 497, 151);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->hide();

  // Ends where the combo box begins, whatever the face makes of its width.
  Label3 = new QLabel("Choise of price list", this);
  Label3->setGeometry(120, 169, 148, 20);
  Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setGeometry(272, 165, 89, 24);

  Label1 = new QLabel("Report", this);
  QFont bold = Label1->font();
  bold.setBold(true);
  bold.setPixelSize(19);
  Label1->setFont(bold);
  Label1->move(256, 192);
  Label1->adjustSize();
  Label1->hide();
  Label2 = new QLabel(this);
  Label2->setGeometry(256, 216, 330, 17);

  StringGrid1 = new QTableWidget(this);
  StringGrid1->setGeometry(8, 235, 586, 257);
  StringGrid1->setColumnCount(kPriceColumns);
  StringGrid1->setHorizontalHeaderLabels({"     Item", " Quantity", "Unit Price", "Whole Price", "     Comment"});
  const int widths1[] = {130, 57, 62, 74};
  for (int c = 0; c < kPriceColumns - 1; ++c) StringGrid1->setColumnWidth(c, widths1[c]);
  StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The row numbers that rows are dragged by take room the columns were sized without, so the
  // Comment column takes the rest of the grid (about 236 pixels) and never runs under the
  // vertical scroll bar. A stretched column never shrinks below its former width, so that
  // width starts small.
  StringGrid1->setColumnWidth(kPriceComment, 100);
  StringGrid1->horizontalHeader()->setStretchLastSection(true);
  StringGrid1->verticalHeader()->setDefaultSectionSize(22);
  StringGrid1->verticalHeader()->setMinimumWidth(18);
  StringGrid1->verticalHeader()->setSectionsMovable(true);  // rows are moved by their number
  StringGrid1->setItemDelegate(new PriceCellDelegate(this));
  StringGrid1->viewport()->installEventFilter(this);
  StringGrid1->hide();
  connect(StringGrid1, &QTableWidget::cellChanged, this, &TForm2::StringGrid1Edited);
  connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this] { StringGrid1SelectCell(); });
  connect(StringGrid1->verticalHeader(), &QHeaderView::sectionMoved, this,
          [this](int, int from, int to) { StringGrid1RowMoved(from, to); });

  StringGrid2 = new QTableWidget(this);
  StringGrid2->setGeometry(24, 16, 553, 121);
  StringGrid2->setColumnCount(kPriceListColumns);
  StringGrid2->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  StringGrid2->verticalHeader()->hide();  // the name column is the grid's fixed column
  StringGrid2->setItemDelegate(new PriceCellDelegate(this));
  StringGrid2->hide();
  connect(StringGrid2, &QTableWidget::cellChanged, this, &TForm2::StringGrid2Edited);

  // A new window starts from an empty list in the default currency.
  PriceListRows = PriceListGrid{};
  Label4 = new QLabel("Currency:", this);
  Label4->setGeometry(24, 516, 72, 25);
  Edit1 = new QLineEdit(Q(PriceListRows.Currency), this);
  Edit1->setGeometry(96, 516, 73, 25);
  QFont editFont = Edit1->font();
  editFont.setBold(true);
  Edit1->setFont(editFont);
  // The list holds the currency less what its file cannot keep at every keystroke; the edit shows
  // it so, with a word, once the typing is committed.
  connect(Edit1, &QLineEdit::textChanged, this,
          [](const QString& t) { PriceListRows.Currency = KeepTypedText(t.toStdString(), false, {}).text; });
  connect(Edit1, &QLineEdit::editingFinished, this, [this] { Edit1Exit(); });
  Button3 = new QPushButton("Price list", this);
  Button3->setGeometry(175, 516, 80, 25);
  Button2 = new QPushButton("Print", this);
  Button2->setGeometry(286, 516, 75, 25);
  Button1 = new QPushButton("Close", this);
  Button1->setGeometry(388, 516, 75, 25);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });

  PopupMenu1 = new QMenu(this);
  AddRow1 = PopupMenu1->addAction("Add Row", this, [this] { AddRow1Click(); });
  DeleteRow1 = PopupMenu1->addAction("Delete Row", this, [this] { DeleteRow1Click(); });
  DeleteRow1->setEnabled(false);
  ShowEstimateRows();
}

void TForm2::BuildPriceGrid(const std::vector<std::string>& names) {
  ComboBox1->clear();
  ComboBox1->addItem("Main");
  ComboBox1->setCurrentIndex(0);
  ComboBox1->addItem("Special 1");
  ComboBox1->addItem("Special 2");
  BuildPriceList(PriceListRows, names, OptionCableNames(false), OptionCableNames(true));
  const int widths[] = {124, 132, 136, 134};
  for (int c = 0; c < kPriceListColumns; ++c) StringGrid2->setColumnWidth(c, widths[c]);
  StringGrid2->verticalHeader()->setDefaultSectionSize(24);
  ShowPriceList();
}

void TForm2::LoadPriceFile() {
  StartDir = QDir::currentPath().toStdString();
  const PriceFileRead read = ReadPriceFile(PriceFilePath(StartDir), PriceListRows);
  ShowPriceList();
  if (read == PriceFileRead::Missing) return;
  Edit1->setText(Q(PriceListRows.Currency));
  Edit1->hide();
  Label4->setText(Q("Prices in " + PriceListRows.Currency));
}

bool TForm2::SavePriceFile() {
  if (!InPriceListMode()) return false;
  std::string error;
  if (!WritePriceFile(PriceFilePath(StartDir), PriceListRows, &error)) {
    platform::ShowError("Error", error);
    return false;
  }
  PriceListRows.Carried.clear();  // the file holds every row's prices under its name now
  return true;
}

void TForm2::SetCableNames(int first, const std::vector<std::string>& names) {
  if (CablePriceRow > 0) RenamePriceListRows(PriceListRows, CablePriceRow + first, names);
  ShowPriceList();
}

void TForm2::ShowEstimateRows() {
  m_showing = true;
  const int rows = EstimateGrid.RowCount() - 1;
  StringGrid1->setRowCount(rows < 0 ? 0 : rows);
  const int install = InstallationCostsRow(EstimateGrid);
  for (int r = 1; r < EstimateGrid.RowCount(); ++r) {
    for (int c = 0; c < kPriceColumns; ++c) {
      QTableWidgetItem* item = SetCell(StringGrid1, r - 1, c, EstimateGrid.Rows[r][c]);
      // The "Installation costs" name cannot be selected, so it cannot be typed over.
      const bool fixed = c == kPriceItem && r == install;
      item->setFlags(fixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    }
  }
  DeleteRow1->setEnabled(EstimateGrid.Tag >= 1);
  m_showing = false;
}

void TForm2::ShowPriceList() {
  m_showing = true;
  const int rows = PriceListRows.RowCount() - 1;
  QStringList header;
  for (const auto& h : PriceListRows.Rows[0]) header << Q(h);
  StringGrid2->setHorizontalHeaderLabels(header);
  StringGrid2->setRowCount(rows < 0 ? 0 : rows);
  for (int r = 1; r < PriceListRows.RowCount(); ++r) {
    for (int c = 0; c < kPriceListColumns; ++c) {
      QTableWidgetItem* item = SetCell(StringGrid2, r - 1, c, PriceListRows.Rows[r][c]);
      item->setFlags(c == kPriceListName ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    }
  }
  m_showing = false;
}

int TForm2::PriceColumn() const { return ComboBox1->currentIndex() < 0 ? 1 : ComboBox1->currentIndex() + 1; }

bool TForm2::InPriceListMode() const { return !StringGrid2->isHidden(); }

void TForm2::EnterReportMode() {
  setWindowTitle("Report");
  Image1->show();
  Label1->show();
  StringGrid1->show();
  // Leaving the price list this way restores its controls too, so "Save" never prints.
  if (InPriceListMode()) ShowReportControls();
  StringGrid2->hide();
  const QImage logo(QDir::current().filePath("logo.bmp"));
  Image1->setPixmap(logo.isNull() ? QPixmap()
                                  : QPixmap::fromImage(logo.scaled(Image1->size(), Qt::KeepAspectRatio,
                                                                   Qt::SmoothTransformation)));
  show();
  raise();
}

void TForm2::ShowReportControls() {
  StringGrid2->hide();
  Button3->show();
  Button2->setText("Print");
  Label4->setText(Q("Prices in " + PriceListRows.Currency));
  Edit1->hide();
}

void TForm2::Button1Click() {
  if (!InPriceListMode()) {
    close();
    return;
  }
  Edit1Exit();
  ShowReportControls();
  if (Form1) Form1->Billofmaterials1Click();
}

void TForm2::Button2Click() {
  if (InPriceListMode()) {
    Edit1Exit();
    SavePriceFile();
  } else {
    PrintEstimate();
  }
}

void TForm2::Button3Click() {
  StringGrid1->hide();  // the rebuild on leaving shows it again
  StringGrid2->setGeometry(24, 16, 553, 489);
  StringGrid2->show();
  StringGrid2->raise();
  Button2->setText("Save");
  Button3->hide();
  Edit1->show();
  Label4->setText("Currency");
}

void TForm2::ComboBox1Change() {
  if (Form1) Form1->Billofmaterials1Click();
}

void TForm2::AddRow1Click() {
  AddUserRow(EstimateGrid);
  ProjectModified = true;
  ShowEstimateRows();
}

void TForm2::DeleteRow1Click() {
  if (!DeleteUserRow(EstimateGrid)) return;
  ProjectModified = true;
  ShowEstimateRows();
  if (Form1) Form1->Billofmaterials1Click();
}

void TForm2::FormClose() {
  setWindowTitle("Help");
  Image1->hide();
  Label1->hide();
  StringGrid1->hide();
}

void TForm2::closeEvent(QCloseEvent* e) {
  FormClose();
  e->accept();
}

void TForm2::StringGrid1MouseDown(QPoint pos) {
  DeleteRow1->setEnabled(EstimateGrid.Tag >= 1);
  PopupMenu1->popup(mapToGlobal(QPoint(0, 0)) + pos + QPoint(10, 100));
}

bool TForm2::eventFilter(QObject* watched, QEvent* e) {
  if (watched == StringGrid1->viewport() && e->type() == QEvent::MouseButtonPress) {
    auto* me = static_cast<QMouseEvent*>(e);
    if (me->button() == Qt::RightButton) {
      StringGrid1MouseDown(StringGrid1->viewport()->mapTo(StringGrid1, me->position().toPoint()));
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void TForm2::StringGrid1SelectCell() {
  if (m_showing) return;
  RecalcWholePrices(EstimateGrid);
  ShowEstimateRows();
}

QString TForm2::CheckedCellText(int column, const QString& text, std::string& message) {
  message.clear();
  if (!IsNumberColumn(column) || IsPriceCellText(text.toStdString())) return text;
  message = kBadRealNumber;
  return text.chopped(text.size() > 1 && text.back().isLowSurrogate() ? 2 : 1);  // the whole last character
}

void TForm2::Edit1Exit() {
  const KeptText kept = KeepTypedText(Edit1->text().toStdString(), false, "price list file");
  if (kept.note.empty()) return;
  Edit1->setText(Q(kept.text));
  platform::ShowNote(kept.note);
}

void TForm2::StringGrid1Edited(int row, int column) {
  if (m_showing) return;
  const EstimateCellCommit done = CommitEstimateCell(EstimateGrid, row + 1, column, CellText(StringGrid1, row, column));
  if (done.edit == EstimateCellEdit::Unchanged && done.note.empty()) return;
  if (done.edit == EstimateCellEdit::Changed) ProjectModified = true;  // the rows are saved with the project
  ShowEstimateRows();
  platform::ShowNote(done.note);
}

void TForm2::StringGrid2Edited(int row, int column) {
  if (m_showing || column < kPriceListMain || column >= kPriceListColumns || row + 1 >= PriceListRows.RowCount())
    return;
  TypeListPrice(PriceListRows, row + 1, column, CellText(StringGrid2, row, column));
}

void TForm2::StringGrid1RowMoved(int from, int to) {
  if (MoveEstimateRow(EstimateGrid, from + 1, to + 1)) ProjectModified = true;
  // The model holds the order now; the header goes back to showing rows in place.
  QHeaderView* h = StringGrid1->verticalHeader();
  const bool blocked = h->blockSignals(true);
  h->moveSection(to, from);
  h->blockSignals(blocked);
  ShowEstimateRows();
}

bool TForm2::PrintEstimate() {
  // Totals of a grid as loaded or typed are brought up to date before they are printed.
  RecalcWholePrices(EstimateGrid);
  ShowEstimateRows();
  EstimatePrintInput in;
  in.title = Label1->text().toStdString();
  in.currency = Label4->text().toStdString();
  in.network = Label2->text().toStdString();
  in.rows.assign(EstimateGrid.Rows.begin(), EstimateGrid.Rows.end());
  in.logo = QImage(QDir::current().filePath("logo.bmp"));
  return PrintEstimateOnPrinter(in);
}

}  // namespace kavrix
