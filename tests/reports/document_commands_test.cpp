// The help and catalogue commands: which file each opens, from which directory, and what the
// user is told when a document is missing or nothing can show it.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>

#include "app/forms.hpp"
#include "app/main_window.hpp"
#include "reports/calculator_window.hpp"
#include "support/app_guard.hpp"

namespace kavrix {
namespace {

namespace fs = std::filesystem;

// Caption of the main window's menu that holds `item`.
std::string MenuOf(const QAction* item) {
  for (QAction* top : Form1->menuBar()->actions())
    if (top->menu() && top->menu()->actions().contains(item)) return top->text().toStdString();
  return "<none>";
}

TEST(DocumentCommands, EachOpensItsFileFromTheStartDirectory) {
  test::AppFixture app;
  const fs::path start = StartDir;
  struct Case {
    void (TForm1::*command)();
    const char* file;
  };
  const Case cases[] = {{&TForm1::Help2Click, "Kavrix_Help.chm"},
                        {&TForm1::Catalog1Click, "Catalog.pdf"},
                        {&TForm1::CatalogRussian1Click, "CatalogRu.pdf"}};
  // The file dialogs may have moved the current directory since start-up.
  fs::create_directory("later");
  fs::current_path("later");
  for (const Case& c : cases) {
    app.ui->messages.clear();
    app.ui->openedDocuments.clear();
    (Form1->*c.command)();
    ASSERT_EQ(app.ui->messages.size(), 1u) << c.file << " is missing";
    EXPECT_EQ(app.ui->messages[0].caption, "Error");
    EXPECT_NE(app.ui->lastText().find(c.file), std::string::npos);
    EXPECT_TRUE(app.ui->openedDocuments.empty());

    test::WriteBytes((start / c.file).string(), "doc");
    app.ui->messages.clear();
    (Form1->*c.command)();
    EXPECT_TRUE(app.ui->messages.empty()) << c.file;
    ASSERT_EQ(app.ui->openedDocuments.size(), 1u);
    EXPECT_EQ(app.ui->openedDocuments[0], (start / c.file).string());
  }
  fs::current_path(start);
}

TEST(DocumentCommands, RussianHelpResolvesAgainstTheCurrentDirectory) {
  test::AppFixture app;
  fs::create_directory("later");
  test::WriteBytes("later/ReadmeRu.pdf", "doc");
  test::WriteBytes("ReadmeRu.pdf", "doc");
  const fs::path start = fs::current_path();
  fs::current_path("later");
  Form1->HelpRussian1Click();
  fs::current_path(start);
  ASSERT_EQ(app.ui->openedDocuments.size(), 1u);
  EXPECT_EQ(app.ui->openedDocuments[0], (start / "later" / "ReadmeRu.pdf").string());
}

TEST(DocumentCommands, DocumentWithoutAViewerIsNamedInTheMessage) {
  test::AppFixture app;
  test::WriteBytes("Catalog.pdf", "doc");
  app.ui->documentsOpen = false;
  Form1->Catalog1Click();
  ASSERT_EQ(app.ui->openedDocuments.size(), 1u);
  ASSERT_EQ(app.ui->messages.size(), 1u);
  EXPECT_NE(app.ui->lastText().find("\"Catalog.pdf\""), std::string::npos);
}

TEST(DocumentCommands, MenuEntriesAndTheCalculatorCommand) {
  test::AppFixture app;
  EXPECT_FALSE(Form1->Catalog1->isVisible());
  EXPECT_FALSE(Form1->CatalogRussian1->isVisible());
  EXPECT_FALSE(Form1->HelpRussian1->isVisible());
  EXPECT_FALSE(Form1->HelpRussian1->isEnabled());
  EXPECT_TRUE(Form1->PathLossCalculator1->isVisible());
  EXPECT_EQ(Form1->Billofmaterials1->text(), "Price Estimation");
  EXPECT_EQ(MenuOf(Form1->Billofmaterials1), "&Run");
  EXPECT_EQ(MenuOf(Form1->PathLossCalculator1), "&Run");
  for (const QAction* item : {Form1->Catalog1, Form1->CatalogRussian1, Form1->HelpRussian1, Form1->Help2})
    EXPECT_EQ(MenuOf(item), "&Help") << item->text().toStdString();
  // A hidden entry made visible works as it is.
  Form1->Catalog1->setVisible(true);
  test::WriteBytes("Catalog.pdf", "doc");
  Form1->Catalog1->trigger();
  EXPECT_EQ(app.ui->openedDocuments.size(), 1u);

  EXPECT_FALSE(Form6->isVisible());
  Form1->PathLossCalculator1->trigger();
  EXPECT_TRUE(Form6->isVisible());
  EXPECT_EQ(Form6->windowTitle(), "Path Loss Calculator");
}

}  // namespace
}  // namespace kavrix
