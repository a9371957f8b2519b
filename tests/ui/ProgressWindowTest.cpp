// The progress window and its worker: the start handshake and Join, the window's size and
// controls, keys and close requests that leave it open, its place, and the worker's reports
// reaching the bar and the caption.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <atomic>
#include <gtest/gtest.h>
#include <semaphore>

#include "app/AppContext.h"
#include "device/DeviceImportRun.h"
#include "ui/UiFixture.h"
#include "ui/framework/Controls.h"
#include "ui/progress/EasyProgress_CL.h"
#include "ui/progress/MyConvertStartProgress_CL.h"

namespace lumicrate::test {
namespace {

// A run that reports what the test asks and then waits until released.
class HeldProgress : public ui::EasyProgress_CL {
public:
  explicit HeldProgress(bool cancelable = false) : EasyProgress_CL(QStringLiteral("写真の取り込み中"), cancelable) {}
  ~HeldProgress() override {
    release.release();
    Join();
  }

  std::function<void(HeldProgress&)> report = [](HeldProgress&) {};
  std::binary_semaphore release{0};
  std::atomic<int> finishedWith = -1;
  std::atomic<bool> ran = false;

protected:
  int Run(int, int) override {
    ran = true;
    report(*this);
    release.acquire();
    return 0;
  }
  void Finished(int cancel) override {
    finishedWith = cancel;
    CloseFromWorker();
  }
};

class ProgressWindowTest : public UiTest {};

TEST_F(ProgressWindowTest, TheWindowIs480By56WithABarFillingItAndNoCancelButton) {
  HeldProgress progress;
  progress.SetStartOnInit();
  progress.Initialise();
  progress.show();
  QApplication::processEvents();
  EXPECT_TRUE(progress.ran) << "the worker runs once the window is built";
  EXPECT_EQ(progress.windowTitle(), QStringLiteral("写真の取り込み中"));
  EXPECT_EQ(progress.frameGeometry().size(), QSize(480, 56));
  EXPECT_FALSE(progress.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(progress.windowFlags() & Qt::WindowMinimizeButtonHint);
  auto* cancel = FindControl<ui::Button_CL>(progress, 0x1100);
  auto* bar = FindControl<ui::ProgressBar_CL>(progress, 0x1101);
  ASSERT_TRUE(cancel && bar);
  EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
  EXPECT_FALSE(cancel->isVisible());
  EXPECT_EQ(bar->geometry(), progress.rect());
  EXPECT_EQ(bar->maximum(), 2000);
}

TEST_F(ProgressWindowTest, ACancelableWindowKeepsRoomForItsButton) {
  HeldProgress progress(true);
  progress.Initialise();
  progress.show();
  QApplication::processEvents();
  auto* cancel = FindControl<ui::Button_CL>(progress, 0x1100);
  auto* bar = FindControl<ui::ProgressBar_CL>(progress, 0x1101);
  ASSERT_TRUE(cancel && bar);
  EXPECT_TRUE(cancel->isVisible());
  EXPECT_EQ(bar->width() + cancel->width(), progress.width());
  EXPECT_EQ(cancel->x(), bar->width());
  EXPECT_EQ(cancel->height(), progress.height());
  progress.Start(0, 0);
  cancel->click();
  progress.release.release();
  progress.Join();
  EXPECT_EQ(progress.finishedWith, 1);
}

TEST_F(ProgressWindowTest, EnterEscapeAndCloseRequestsLeaveTheWindowOpenUntilTheRunEnds) {
  HeldProgress progress;
  progress.SetStartOnInit();
  progress.Initialise();
  progress.open();
  QApplication::processEvents();
  for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&progress, &press);
  }
  QCloseEvent close;
  QApplication::sendEvent(&progress, &close);
  QApplication::processEvents();
  EXPECT_TRUE(progress.isVisible());

  progress.release.release();
  EXPECT_TRUE(WaitFor([&] { return !progress.isVisible(); }));
  EXPECT_EQ(progress.result(), 0);
  EXPECT_EQ(progress.finishedWith, 0);
}

TEST_F(ProgressWindowTest, TheWorkersReportsReachTheBarAndTheCaption) {
  HeldProgress progress;
  progress.report = [](HeldProgress& run) {
    run.AddTotal(3);
    for (int i = 0; i < 20000; ++i) {
      run.SetText("IMG_" + std::to_string(i) + ".JPG");
    }
    run.AddPosition(1);
    run.AddPosition(1);
  };
  progress.SetStartOnInit();
  progress.Initialise();
  progress.open();
  auto* bar = FindControl<ui::ProgressBar_CL>(progress, 0x1101);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(WaitFor([&] { return bar->value() == 1333 && progress.windowTitle() == "IMG_19999.JPG"; }))
      << bar->value() << " " << progress.windowTitle().toStdString();
  progress.release.release();
  EXPECT_TRUE(WaitFor([&] { return !progress.isVisible(); }));
}

TEST_F(ProgressWindowTest, AWindowCentredAboveTheScreenMovesDownToTheTop) {
  QWidget owner;
  owner.setGeometry(200, -300, 400, 40);
  owner.show();
  HeldProgress progress;
  progress.setParent(&owner, progress.windowFlags());
  progress.Initialise();
  EXPECT_EQ(progress.y(), 0);
  EXPECT_EQ(progress.x(), owner.frameGeometry().x() + (owner.frameGeometry().width() - progress.width()) / 2);
}

TEST_F(ProgressWindowTest, AWorkerThatNeverStartedNeedsNoWaitAndJoinMayBeRepeated) {
  auto progress = std::make_unique<HeldProgress>();
  progress->Join();
  progress->Join();
  EXPECT_FALSE(progress->Running());
  progress->Start(0, 0);
  EXPECT_TRUE(progress->Running());
  progress->release.release();
  progress->Join();
  progress->Join();
  EXPECT_FALSE(progress->Running());
  progress.reset();
}

} // namespace
} // namespace lumicrate::test

namespace lumicrate::test {
namespace {

class DeviceNoticeTest : public UiTest {};

TEST_F(DeviceNoticeTest, TheDeviceRunsNoticeShowsOverTheProgressWindowWhileTheWorkerWaits) {
  TempDir camera;
  std::filesystem::create_directories(camera / "DCIM");
  AppContext& context = Context();
  context.Mode = ImportMode::Device;
  context.OutputFolder = camera / "out";
  context.TempFolder = DataFolder() / "tmp";
  std::filesystem::create_directories(context.TempFolder);
  ScriptedDesktop desktop;
  ui::MyConvertStartProgress_CL progress(desktop, {"Directory Browse", {DirectoryCamera(camera / "DCIM")}});
  QWidget* owner = nullptr;
  bool workerRunning = false;
  desktop.whileShown = [&](QWidget* shownOver) {
    owner = shownOver;
    workerRunning = progress.Running();
  };
  progress.SetStartOnInit();
  EXPECT_EQ(progress.DoModal(nullptr), 0);
  const auto boxes = desktop.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, QStringLiteral("お知らせ"));
  EXPECT_EQ(boxes[0].text.toStdString(), kNoPhotosNotice);
  EXPECT_EQ(boxes[0].icon, ui::BoxIcon::Exclamation);
  EXPECT_EQ(owner, &progress);
  EXPECT_TRUE(workerRunning);
  context.Mode = ImportMode::Drive;
}

} // namespace
} // namespace lumicrate::test
