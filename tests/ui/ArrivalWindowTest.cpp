// Cards and iPhones arriving at the real main window, through its event loop on the offscreen
// platform: loop-mounted images stand in for cards (as root), a pipe for udev and the directory
// camera for the iPhone, a private bus for logind.
// GLib's headers name a struct field "signals", which Qt's keyword macro would rewrite: first.
#include <gio/gunixfdlist.h>

#include "support/TestBus.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <poll.h>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "import/ImportFixtures.h"
#include "platform/FileDescriptor.h"
#include "support/LoopImage.h"
#include "support/PipeUsbSource.h"
#include "ui/MainWindowFixture.h"
#include "ui/progress/MyConvertStartProgress_CL.h"

namespace lumicrate::test {
namespace {

constexpr char kLogind[] = R"(<node><interface name="org.freedesktop.login1.Manager">
  <method name="Inhibit"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="h" direction="out"/></method></interface></node>)";

// What libgphoto2's directory camera calls itself, standing in for "Apple iPhone".
constexpr char kCameraDescription[] = "Directory Browse";

class RecordingNotifier : public DesktopNotifier {
public:
  void Notify(const std::string& appName, const std::string& summary, const std::string& body) override {
    shown.push_back(appName + " " + summary + " " + body);
  }
  std::vector<std::string> shown;
};

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

class ArrivalWindowTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Settings().WriteString("APP_INFO", "OutputFolder", (dir / "out").string());
  }

  void OpenWindow() {
    ui::MainWindow_CL::Seams seams{desktop, desktop, desktop, SystemClock()};
    seams.usbEvents = &usb;
    seams.deviceQuery = [this] {
      return plugged ? DeviceQuery{kCameraDescription, {DirectoryCamera(camera.Path())}}
                     : DeviceQuery{kCameraDescription, {}};
    };
    seams.notifier = &notifier;
    seams.programInFront = [this] { return inFront; };
    Open(seams);
  }
  std::string LogText() const { return ReadUtf16File(DataFolder() / "log.txt"); }
  int Logged(const std::string& line) const { return Count(LogText(), " : " + line + "\r\n"); }
  std::vector<QString> BoxTexts() const {
    std::vector<QString> texts;
    for (const ShownBox& box : desktop.Boxes()) {
      texts.push_back(box.text);
    }
    return texts;
  }
  // A card's files in dir/name/files (photos in DCIM when withPhotos) and its mount point.
  std::filesystem::path Card(const std::string& name, bool withPhotos) {
    std::filesystem::create_directories(dir / name / "files");
    std::filesystem::create_directories(dir / name / "mnt");
    if (withPhotos) {
      std::filesystem::create_directories(dir / name / "files/DCIM/100CANON");
      MakePhoto(dir / name / "files/DCIM/100CANON/IMG_0001.JPG", "2015:06:21 14:03:09", 1);
      MakePhoto(dir / name / "files/DCIM/100CANON/IMG_0002.JPG", "2016:01:02 08:00:00", 2);
    }
    return dir / name;
  }
  void Settle() {
    WaitFor([] { return false; }, 300);
  }

  TempDir dir;
  TempDir camera;
  bool plugged = false;
  bool inFront = true;
  PipeUsbSource usb;
  RecordingNotifier notifier;
};

// Cards are loop-mounted images, so these need root.
class CardWindowTest : public ArrivalWindowTest {
protected:
  void SetUp() override {
    ArrivalWindowTest::SetUp();
    if (const std::string why = LoopImage::Unavailable(); !why.empty()) {
      GTEST_SKIP() << why;
    }
  }
  // An attached image of a card with two photos in DCIM, or of a disk without any; it mounts
  // on dir/name/mnt.
  LoopImage& Image(const std::string& name, bool withPhotos) {
    const std::filesystem::path folder = Card(name, withPhotos);
    images.push_back(std::make_unique<LoopImage>(folder / "files", dir / (name + ".img")));
    EXPECT_TRUE(images.back()->Attached());
    return *images.back();
  }

  std::vector<std::unique_ptr<LoopImage>> images;
};

TEST_F(CardWindowTest, ACameraCardIsImportedAfterYesAndCardsMeanwhileAreNot) {
  LoopImage& firstImage = Image("first", true);
  LoopImage& secondImage = Image("second", true);
  LoopImage& thirdImage = Image("third", true);
  const std::filesystem::path first = dir / "first";
  const std::filesystem::path second = dir / "second";
  const std::filesystem::path third = dir / "third";

  // logind on a bus of the test's own, where dbus-daemon is there.
  TestBus bus;
  std::vector<std::string> inhibits;
  FileDescriptor lockEnd;
  std::unique_ptr<BusService> logind;
  std::unique_ptr<ScopedBusAddress> address;
  if (!bus.Address().empty()) {
    logind = std::make_unique<BusService>(bus.Address(), "org.freedesktop.login1", "/org/freedesktop/login1", kLogind,
                                          [&](const std::string&, GVariant* parameters, GUnixFDList* fds) {
                                            const gchar *what, *who, *why, *mode;
                                            g_variant_get(parameters, "(&s&s&s&s)", &what, &who, &why, &mode);
                                            inhibits.push_back(std::string(what) + " " + who + " " + mode);
                                            int ends[2];
                                            EXPECT_EQ(::pipe(ends), 0);
                                            lockEnd.Reset(ends[0]);
                                            const int index = g_unix_fd_list_append(fds, ends[1], nullptr);
                                            ::close(ends[1]);
                                            return g_variant_new("(h)", index);
                                          });
    address = std::make_unique<ScopedBusAddress>(bus.Address());
  }

  OpenWindow();
  desktop.answers = {true};
  desktop.whileShown = [&](QWidget*) {
    if (desktop.Boxes().size() == 1) {
      // A second card while the question is open.
      ASSERT_TRUE(secondImage.Mount(second / "mnt"));
      ASSERT_TRUE(WaitFor([&] { return Logged("DBT_DEVICEARRIVAL") == 2; }));
    }
  };
  // A third card while the run goes, as soon as the progress window shows.
  bool progressShown = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (!progressShown && widget->isVisible() && dynamic_cast<ui::MyConvertStartProgress_CL*>(widget)) {
        progressShown = true;
        EXPECT_TRUE(thirdImage.Mount(third / "mnt"));
      }
    }
  });
  watch.start(1);

  testing::internal::CaptureStdout();
  ASSERT_TRUE(firstImage.Mount(first / "mnt"));
  ASSERT_TRUE(WaitFor([&] { return BoxTexts().size() == 2; }));
  watch.stop();
  Settle();
  const std::string mountPoint = (first / "mnt").string();
  EXPECT_EQ(BoxTexts(), (std::vector<QString>{
                            QString::fromStdString("デバイス\"(" + mountPoint +
                                                   ")\"が接続されました。\r\n"
                                                   "写真、動画ファイルの取り込みを開始しますか？\r\n\r\n"
                                                   "(iPhoneの場合は、「このコンピュータを信頼しますか？」と"
                                                   "iPhoneに表示されていますので、「信頼」を選択しておいてください。)"
                                                   "\r\n"),
                            QStringLiteral("写真の取り込みが完了しました。")}));
  EXPECT_TRUE(progressShown);
  EXPECT_TRUE(notifier.shown.empty()) << "the program was in front when the run ended";
  EXPECT_EQ(FilesUnder(dir / "out"),
            (std::vector<std::string>{"2015年/06月/21日/IMG_0001.JPG", "2016年/01月/02日/IMG_0002.JPG"}));
  EXPECT_EQ(Logged("DBT_DEVICEARRIVAL"), 3);
  EXPECT_EQ(Context().ReadyForImport, 1);
  if (logind) {
    EXPECT_EQ(inhibits, std::vector<std::string>{"sleep ルミクレート block"});
    pollfd fd{lockEnd.Get(), POLLIN, 0};
    EXPECT_TRUE(::poll(&fd, 1, 1000) == 1 && (fd.revents & POLLHUP)) << "the sleep lock goes with the run";
  }

  firstImage.Unmount();
  ASSERT_TRUE(WaitFor([&] { return Logged("DBT_DEVICEREMOVECOMPLETE") == 1; }));
  const std::string trace = testing::internal::GetCapturedStdout();
  EXPECT_NE(trace.find("DBT_DEVICEARRIVAL\n" + mountPoint + "ドライブ\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("DBT_DEVICEREMOVECOMPLETE\n" + mountPoint + "ドライブ(削除)\n"), std::string::npos) << trace;
  EXPECT_EQ(BoxTexts().size(), 2u);
}

TEST_F(CardWindowTest, TwoCardsInOneChangeAndAPlainDiskStartNothing) {
  LoopImage& aImage = Image("a", true);
  LoopImage& bImage = Image("b", true);
  LoopImage& plainImage = Image("plain", false);
  OpenWindow();

  ASSERT_TRUE(plainImage.Mount(dir / "plain/mnt"));
  Settle();
  EXPECT_EQ(Logged("DBT_DEVICEARRIVAL"), 0);
  // Both mounted before the window hears of either.
  ASSERT_TRUE(aImage.Mount(dir / "a/mnt"));
  ASSERT_TRUE(bImage.Mount(dir / "b/mnt"));
  ASSERT_TRUE(WaitFor([&] { return Logged("DBT_DEVICEARRIVAL") == 1; }));
  Settle();
  EXPECT_TRUE(desktop.Boxes().empty());
  EXPECT_EQ(Context().ReadyForImport, 1);
}

TEST_F(ArrivalWindowTest, AnIPhoneThatArrivesIsOfferedForImport) {
  OpenWindow();
  plugged = true;
  usb.Announce("add");
  ASSERT_TRUE(WaitFor([&] { return desktop.Boxes().size() == 1; }));
  EXPECT_TRUE(BoxTexts()[0].startsWith(
      QString::fromStdString("デバイス\"" + camera.Path().filename().string() + "\"が接続されました。")))
      << BoxTexts()[0].toStdString();
  EXPECT_EQ(Context().Mode, ImportMode::Device);
  EXPECT_EQ(Logged("DBT_DEVNODES_CHANGED"), 1);

  // Declined, and still there: nothing more until it has been away.
  usb.Announce("add");
  ASSERT_TRUE(WaitFor([&] { return Logged("DBT_DEVNODES_CHANGED") == 2; }));
  Settle();
  EXPECT_EQ(desktop.Boxes().size(), 1u);
  EXPECT_TRUE(notifier.shown.empty());
}

TEST_F(ArrivalWindowTest, AnIPhoneConnectedBeforeTheStartIsNotOffered) {
  plugged = true;
  OpenWindow();
  ASSERT_TRUE(WaitFor([] { return Context().IPhonePresent == 1; }));
  usb.Announce("add");
  ASSERT_TRUE(WaitFor([&] { return Logged("DBT_DEVNODES_CHANGED") == 1 && Logged("DeviceCount = 1") == 4; }));
  Settle();
  EXPECT_TRUE(desktop.Boxes().empty());
}

TEST_F(ArrivalWindowTest, ARunThatEndsWhileThePersonIsElsewhereIsAnnounced) {
  std::filesystem::create_directories(dir / "source");
  MakePhoto(dir / "source/IMG_0001.JPG", "2015:06:21 14:03:09", 1);
  OpenWindow();
  desktop.answers = {true};
  // The person is in another program when the run ends.
  inFront = false;
  Context().Mode = ImportMode::Folder;
  Context().SourceFolder = dir / "source";
  Context().DeviceName = "フォルダ指定";
  EXPECT_EQ(Window().StartImport(), S_OK);
  EXPECT_EQ(notifier.shown, std::vector<std::string>{"ルミクレート お知らせ 写真の取り込みが完了しました。"});
  EXPECT_EQ(BoxTexts().back(), QStringLiteral("写真の取り込みが完了しました。"));
}

} // namespace
} // namespace lumicrate::test
