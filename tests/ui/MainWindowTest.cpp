// The main window: its controls, menu and layout rule, the output field's rules, the start of
// an import (question, logs, completion) and where it opens again.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/WindowRect.h"
#include "ui/MainWindowFixture.h"

namespace lumicrate::test {
namespace {

using ui::ControlBase_CL;

QFont DefaultFont() {
  return QApplication::font();
}

TEST_F(MainWindowTest, EveryControlHasItsIdTextAndFont) {
  Settings().WriteString("APP_INFO", "OutputFolder", "/home/a/写真");
  ui::MainWindow_CL& window = Open();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("ルミクレート"));
  const int cw = window.LayoutMetrics().cw;

  const struct {
    int id;
    int kind;
    QString text;
    double scale;
    int weight;
  } table[] = {
      {kViewId, ControlBase_CL::kButton, "写真一覧の参照", 1.2, 600},
      {kGenerateId, ControlBase_CL::kButton, "写真一覧の生成", 1.2, 600},
      {kEditId, ControlBase_CL::kEdit, "/home/a/写真", 1.0, 400},
      {kBrowseId, ControlBase_CL::kButton, "\u3000参照\u3000", 1.0, 400},
      {kLabelId, ControlBase_CL::kStatic, "取り込みフォルダの形式", 1.0, 400},
      {kTreeId, ControlBase_CL::kTreeView, "", 1.0, 400},
      {kHintId, ControlBase_CL::kStatic, "ＵＳＢにカメラもしくはiPhoneを接続してください。", 2.0, 100},
      {kGroupId, ControlBase_CL::kGroupBox, "出力先フォルダ（取り込んだファイルを出力するフォルダ）", 1.0, 400},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.id);
    auto* widget = FindControl(window, row.id);
    ASSERT_NE(widget, nullptr);
    auto* control = dynamic_cast<ControlBase_CL*>(widget);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Kind(), row.kind);
    EXPECT_EQ(control->GetText(), row.text);
    const QFont expected =
        row.scale == 1.0 ? DefaultFont() : ControlBase_CL::ScaledFont(DefaultFont(), row.scale, row.weight);
    EXPECT_EQ(widget->font().pointSize(), expected.pointSize());
    EXPECT_EQ(widget->font().weight(), expected.weight());
  }
  EXPECT_EQ(FindControl(window, 0x1103), nullptr) << "the browse button's first id is replaced";
  EXPECT_EQ(Control<ui::Button_CL>(kViewId).size(), QSize(12 * cw, 32));
  EXPECT_EQ(Control<ui::Button_CL>(kGenerateId).size(), QSize(12 * cw, 32));
  // 640 by 64, narrowed and wrapped onto more lines where the window is narrower.
  const auto& hint = Control<ui::StaticText_CL>(kHintId);
  const int hintWidth = std::min(640, window.LayoutMetrics().width - cw - cw / 2);
  EXPECT_EQ(hint.width(), hintWidth);
  EXPECT_EQ(hint.height(), std::max(64, hint.heightForWidth(hintWidth)));
  EXPECT_EQ(Control<ui::Edit_CL>(kEditId).maxLength(), 260);
}

TEST_F(MainWindowTest, TheMenuCarriesItsCommands) {
  ui::MainWindow_CL& window = Open();
  auto* bar = window.findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  std::vector<std::pair<QString, QString>> items;
  for (QAction* menu : bar->actions()) {
    for (QAction* item : menu->menu()->actions()) {
      const QVariant command = item->property(ui::MainWindow_CL::kCommandProperty);
      items.emplace_back(menu->text(),
                         item->isSeparator() ? QStringLiteral("-") : item->text() + " " + command.toString());
    }
  }
  const std::vector<std::pair<QString, QString>> expected{
      {"ファイル(&F)", "フォルダを指定して写真を取り込む(&A) 195"},
      {"設定(&S)", "アプリ設定(&A) 194"},
      {"ヘルプ(&H)", "サポートサイト 180"},
      {"ヘルプ(&H)", "-"},
      {"ヘルプ(&H)", "バージョン情報(&A)... 181"},
  };
  EXPECT_EQ(items, expected);

  window.OnCommand(ui::MainWindow_CL::kCommandSupportSite);
  EXPECT_EQ(desktop.Opened(), (std::vector<std::string>{"http://lumicrate.example/Lumicrate/"}));
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutRuleAtAnySize) {
  ui::MainWindow_CL& window = Open();
  const auto metrics = window.LayoutMetrics();
  const int cw = metrics.cw;
  const int ch = metrics.ch;
  ASSERT_GT(cw, 0);
  for (const QSize size : {QSize(640, 480), QSize(900, 700)}) {
    SCOPED_TRACE(size.width());
    window.resize(size);
    QApplication::processEvents();
    const auto m = window.LayoutMetrics();
    const int a = ch / 2;
    const QRect browse = Control<QWidget>(kBrowseId).geometry();
    const QRect edit = Control<QWidget>(kEditId).geometry();
    EXPECT_EQ(Control<QWidget>(kGroupId).geometry(), QRect(cw / 2, a, m.width - cw, 10 * ch));
    EXPECT_EQ(edit, QRect(cw, a + ch, m.width - 96, browse.height()));
    EXPECT_EQ(browse.topLeft(), QPoint(edit.x() + edit.width() + cw, edit.y()));
    EXPECT_EQ(Control<QWidget>(kLabelId).pos(), QPoint(cw, a + browse.height() * 5 / 2));
    EXPECT_EQ(Control<QWidget>(kTreeId).geometry(), QRect(cw, a + 4 * ch, m.width - 96, 5 * ch));
    EXPECT_EQ(Control<QWidget>(kHintId).pos(), QPoint(cw, a + 14 * ch));
    EXPECT_EQ(Control<QWidget>(kHintId).width(), std::min(640, m.width - cw - cw / 2));
    const QRect view = Control<QWidget>(kViewId).geometry();
    EXPECT_EQ(view.topLeft(), QPoint(m.width - view.width() - cw / 2, a + 10 * ch + ch / 2));
    EXPECT_EQ(Control<QWidget>(kGenerateId).pos(),
              QPoint(m.width - Control<QWidget>(kGenerateId).width() - cw - view.width(), a + 10 * ch + ch / 2));
  }
  EXPECT_EQ(window.minimumSize() + (window.frameGeometry().size() - window.size()), QSize(32 * cw, 21 * ch));
  window.resize(100, 100);
  QApplication::processEvents();
  EXPECT_EQ(window.frameGeometry().size(), QSize(32 * cw, 21 * ch));
}

TEST_F(MainWindowTest, TheExampleTreeShowsTheDatedFoldersUnderTheField) {
  Open();
  SetOutputField("/home/a/写真/");
  QTreeWidgetItem* root = TreeRoot();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(0), QStringLiteral("/home/a/写真"));
  ASSERT_EQ(root->childCount(), 1);
  QTreeWidgetItem* year = root->child(0);
  EXPECT_EQ(year->text(0), QStringLiteral("2015年"));
  QTreeWidgetItem* month = year->child(0);
  EXPECT_EQ(month->text(0), QStringLiteral("01月"));
  ASSERT_EQ(month->childCount(), 3);
  EXPECT_EQ(month->child(2)->text(0), QStringLiteral("03日"));
  EXPECT_TRUE(root->isExpanded() && year->isExpanded() && month->isExpanded());

  SetOutputField("");
  EXPECT_EQ(TreeRoot()->text(0), QString());
}

TEST_F(MainWindowTest, TheAlbumButtonsFollowWhatTheOutputFolderHolds) {
  Open();
  const auto out = scratch / "out";
  std::filesystem::create_directories(out / "photoALBUM");
  SetOutputField(out.string());
  EXPECT_FALSE(Control<QWidget>(kGenerateId).isEnabled());
  EXPECT_FALSE(Control<QWidget>(kViewId).isEnabled());

  std::filesystem::create_directory(out / "2015年");
  SetOutputField(out.string() + "/");
  EXPECT_TRUE(Control<QWidget>(kGenerateId).isEnabled());
  EXPECT_FALSE(Control<QWidget>(kViewId).isEnabled());

  std::filesystem::create_directory(out / "PhotoAlbum");
  WriteBytes(out / "PhotoAlbum" / "index.html", "<html></html>");
  SetOutputField(out.string());
  EXPECT_TRUE(Control<QWidget>(kViewId).isEnabled());

  SetOutputField((scratch / "missing").string());
  EXPECT_FALSE(Control<QWidget>(kGenerateId).isEnabled());
  EXPECT_FALSE(Control<QWidget>(kViewId).isEnabled());
}

TEST_F(MainWindowTest, AnEmptyOutputFieldStartsNothing) {
  ui::MainWindow_CL& window = Open();
  SetOutputField("");
  window.OnCommand(kGenerateId);
  const auto boxes = desktop.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, QStringLiteral("出力先フォルダを指定してください。"));
  EXPECT_EQ(boxes[0].caption, QStringLiteral("お知らせ"));
  EXPECT_EQ(boxes[0].icon, ui::BoxIcon::Exclamation);
  const std::string log = ReadUtf16File(DataFolder() / "log.txt");
  EXPECT_NE(log.find("出力先フォルダを指定してください。"), std::string::npos);
  EXPECT_EQ(log.find("写真取り込み(開始)"), std::string::npos);
  EXPECT_EQ(Context().ReadyForImport, 1);
}

TEST_F(MainWindowTest, ADeclinedImportStoresTheFolderWithoutItsTrailingSeparatorAndRunsNothing) {
  const struct {
    const char* field;
    const char* stored;
  } cases[] = {{"/tmp/out/", "/tmp/out"}, {"/tmp/out//", "/tmp/out/"}, {"/tmp/out", "/tmp/out"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    ui::MainWindow_CL& window = Open();
    Settings().WriteInt("APP_INFO", "OutputFormatType", 3);
    SetOutputField(c.field);
    desktop.folders = {QStringLiteral("/media/card")};
    desktop.answers = {false};
    window.OnCommand(ui::MainWindow_CL::kCommandImportFolder);
    EXPECT_EQ(desktop.chooserTitles.back(), QStringLiteral("取り込みたい写真のあるフォルダを選択してください。"));
    EXPECT_EQ(desktop.chooserInitialFolders.back(), QString());
    EXPECT_EQ(Settings().GetString("APP_INFO", "OutputFolder", ""), c.stored);
    EXPECT_EQ(Settings().GetInt("APP_INFO", "OutputFormatType", 0), 13);
    EXPECT_EQ(Context().OutputFolder, c.stored);
    EXPECT_EQ(Context().ReadyForImport, 1);
  }
  const auto boxes = desktop.Boxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back().kind, "ask");
  EXPECT_EQ(boxes.back().caption, QStringLiteral("写真＆動画の取り込みの開始"));
  EXPECT_TRUE(boxes.back().text.startsWith(QStringLiteral("フォルダ\"/media/card\"が選択されました。\r\n")));
  EXPECT_EQ(Context().DeviceName, "フォルダ指定");
  EXPECT_EQ(ReadUtf16File(DataFolder() / "log.txt").find("写真取り込み(開始)"), std::string::npos);
}

TEST_F(MainWindowTest, TheBrowseButtonOpensAtTheStoredFolderAndFillsTheField) {
  Settings().WriteString("APP_INFO", "OutputFolder", "/stored/place");
  Open();
  SetOutputField("/typed/elsewhere");
  desktop.folders = {QStringLiteral("/picked/out"), QString()};
  Control<ui::Button_CL>(kBrowseId).click();
  EXPECT_EQ(desktop.chooserTitles.back(), QStringLiteral("整理を行った写真の出力先フォルダを選択してください。"));
  EXPECT_EQ(desktop.chooserInitialFolders.back(), QStringLiteral("/stored/place"));
  EXPECT_EQ(Control<ui::Edit_CL>(kEditId).text(), QStringLiteral("/picked/out"));
  EXPECT_EQ(TreeRoot()->text(0), QStringLiteral("/picked/out"));
  EXPECT_EQ(Settings().GetString("APP_INFO", "OutputFolder", ""), "/stored/place") << "nothing is written";

  Control<ui::Button_CL>(kBrowseId).click();
  EXPECT_EQ(Control<ui::Edit_CL>(kEditId).text(), QStringLiteral("/picked/out")) << "a cancelled chooser";
}

TEST_F(MainWindowTest, AMaximisedWindowReopensAtItsLastNormalRectangle) {
  ui::MainWindow_CL& window = Open();
  const QSize frame = window.frameGeometry().size() - window.size();
  window.move(120, 90);
  window.resize(QSize(600, 540) - frame);
  QApplication::processEvents();
  window.showMaximized();
  QApplication::processEvents();
  ASSERT_TRUE(window.isMaximized());
  Close();
  EXPECT_EQ(ReadWindowRect(Settings()), (ScreenRect{120, 90, 720, 630}));

  ui::MainWindow_CL& again = Open();
  EXPECT_EQ(again.frameGeometry(), QRect(120, 90, 600, 540));
}

TEST_F(MainWindowTest, ARectangleOffEveryScreenGivesWayToTheCentredDefault) {
  WriteWindowRect(Settings(), {5000, 5000, 5600, 5420});
  ui::MainWindow_CL& window = Open();
  const QRect area = QApplication::primaryScreen()->availableGeometry();
  // Never smaller than the window's minimum, which with tall fonts is more than 378.
  const int height = std::max(378, 21 * window.LayoutMetrics().ch);
  EXPECT_EQ(window.frameGeometry(), QRect((area.width() - 512) / 2, (area.height() - 378) / 2, 512, height));
}

} // namespace
} // namespace lumicrate::test

namespace lumicrate::test {
namespace {

TEST_F(MainWindowTest, EscapeLeavesTheWindowOpenAndClosingEndsItWithZero) {
  ui::MainWindow_CL window({desktop, desktop, desktop, SystemClock()});
  QTimer::singleShot(0, &window, [&] {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    EXPECT_TRUE(window.isVisible());
    window.close();
  });
  EXPECT_EQ(window.DoModal(nullptr), 0);
}

} // namespace
} // namespace lumicrate::test
