// The update notice over the main window: the dialog's size, buttons and text, and the check
// off the window's thread, so the window shows at once and a notice follows the answer.
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/Inifile_CL.h"
#include "ui/MainWindowFixture.h"
#include "ui/main_window/UpdateDialog_CL.h"
#include "update/LoopbackServer.h"

namespace lumicrate::test {
namespace {

using namespace std::chrono_literals;

// Answers on the window's thread and records whether the main window was on screen by then.
class WatchingNotice : public UpdateNotice {
public:
  NoticeAnswer Show(const UpdateNoticeContent& notice) override {
    shown.push_back(notice);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      windowVisible = windowVisible || (dynamic_cast<ui::MainWindow_CL*>(widget) && widget->isVisible());
    }
    onWindowThread = QThread::currentThread() == QApplication::instance()->thread();
    return NoticeAnswer::RemindLater;
  }
  std::vector<UpdateNoticeContent> shown;
  bool windowVisible = false;
  bool onWindowThread = false;
};

class UpdateNoticeTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ::setenv("no_proxy", "*", 1);
    Settings().WriteInt("VERSION", "notify", 0);
  }
  ui::MainWindow_CL& OpenChecking(HttpTimeouts timeouts) {
    return Open({desktop, desktop, desktop, SystemClock(), &notice, server.Name(), timeouts});
  }

  LoopbackServer server;
  WatchingNotice notice;
};

TEST_F(UpdateNoticeTest, TheDialogShowsTheNoticeWithItsTwoButtons) {
  const QString text = QString::fromStdString(UpdateNoticeText("1.0.1.0", "1.0.0"));
  for (const int answer : {1, 2, 0}) {
    SCOPED_TRACE(answer);
    ui::UpdateDialog_CL dialog(QStringLiteral("ルミクレートのアップデート。"), text);
    dialog.Initialise();
    dialog.open();
    QApplication::processEvents();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ルミクレートのアップデート。"));
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(360, 160));
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    auto* go = FindControl<ui::Button_CL>(dialog, 0x1000);
    auto* later = FindControl<ui::Button_CL>(dialog, 0x1002);
    auto* label = FindControl<ui::StaticText_CL>(dialog, 0x1102);
    ASSERT_TRUE(go && later && label);
    EXPECT_EQ(go->text(), QStringLiteral("\u3000サイトへ移動する\u3000"));
    EXPECT_EQ(later->text(), QStringLiteral("後日通知する\u3000"));
    EXPECT_EQ(label->pos(), QPoint(8, 8));
    EXPECT_EQ(label->text(), QString(text).replace("\r\n", "\n"));
    EXPECT_LE(later->geometry().right() + 1 + 4, dialog.width());
    if (answer == 1) {
      go->click();
    } else if (answer == 2) {
      later->click();
    } else {
      dialog.close();
    }
    EXPECT_EQ(dialog.result(), answer);
  }
}

TEST_F(UpdateNoticeTest, AServerThatNeverAnswersDoesNotHoldTheWindow) {
  server.Answer({200, "", "auto", "silent"});
  QElapsedTimer timer;
  timer.start();
  ui::MainWindow_CL& window = OpenChecking({10s, 60s});
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.UpdateCheckDone()) << "the check is still waiting for the server";
  // Generous, for slow machines and sanitizers; the window does not wait for the server at all.
  EXPECT_LT(timer.elapsed(), 10000);
  // Closing the window cancels the request instead of waiting out its time-outs.
  timer.restart();
  Close();
  EXPECT_LT(timer.elapsed(), 5000);
  EXPECT_TRUE(notice.shown.empty());
  EXPECT_EQ(Settings().GetInt("VERSION", "last_day", -1), -1);
}

TEST_F(UpdateNoticeTest, ANoticeThatIsDueShowsOverTheWindowOnceTheAnswerIsIn) {
  server.Answer({200, "1.0.1.0\r\nhttp://lumicrate.example/download\r\n"});
  ui::MainWindow_CL& window = OpenChecking({2000ms, 4000ms});
  ASSERT_TRUE(WaitFor([&] { return window.UpdateCheckDone(); }));
  QApplication::processEvents();
  ASSERT_EQ(notice.shown.size(), 1u);
  EXPECT_TRUE(notice.windowVisible);
  EXPECT_TRUE(notice.onWindowThread);
  EXPECT_EQ(notice.shown[0].caption, "ルミクレートのアップデート。");
  EXPECT_EQ(notice.shown[0].installedVersion, "1.0.0");
  EXPECT_NE(Settings().GetInt("VERSION", "last_day", -1), -1) << "後日通知する writes the day";
}

} // namespace
} // namespace lumicrate::test
