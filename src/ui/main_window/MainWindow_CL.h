// The program's one top-level window: the output folder with its browse button, an example of
// the dated folders an import makes, the two album buttons, the hint to connect a camera, and
// the menu. It owns the start of every import and album run (StartImport).
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/Product.h"
#include "app/WindowRect.h"
#include "device/DeviceQuery.h"
#include "platform/DesktopSeams.h"
#include "platform/HResult.h"
#include "ui/framework/ControlFactory_CL.h"
#include "ui/framework/SubClassDialogBase_CL.h"
#include "ui/framework/UiSeams.h"
#include "update/InetHttp_CL.h"
#include "update/UpdateNotice.h"

class QMenuBar;
class QTimer;

namespace lumicrate {
class UsbEventSource;
} // namespace lumicrate

namespace lumicrate::ui {

class Button_CL;
class Edit_CL;
class GroupBox_CL;
class StaticText_CL;
class TreeView_CL;
class ArrivalWatch;
class UpdateCheckThread;

class MainWindow_CL : public SubClassDialogBase_CL {
public:
  // Menu commands.
  static constexpr int kCommandSupportSite = 180;
  static constexpr int kCommandVersion = 181;
  static constexpr int kCommandSettings = 194;
  static constexpr int kCommandImportFolder = 195;
  static constexpr int kCommandBrowseOutput = 196;
  static constexpr const char* kCommandProperty = "commandId";
  static constexpr const char* kInstalledVersion = LUMICRATE_VERSION;

  struct Seams {
    MessageBoxes& boxes;
    FolderChooser& folders;
    DesktopShell& shell;
    const Clock& clock;
    // Shown on this window's thread; null for the update dialog over this window.
    UpdateNotice* updateNotice = nullptr;
    std::string updateServer = kProductHost;
    HttpTimeouts updateTimeouts = {};
    // Arrivals: USB events (null for udev's monitor) and what a device look and a device run are
    // for (empty for the iPhone); the notice at the end of a run (null for the desktop's notification service),
    // given when the program is not the one in front (empty: as the desktop says).
    UsbEventSource* usbEvents = nullptr;
    std::function<DeviceQuery()> deviceQuery = {};
    DesktopNotifier* notifier = nullptr;
    std::function<bool()> programInFront = {};
  };

  explicit MainWindow_CL(const Seams& seams);
  ~MainWindow_CL() override;

  // Starts what ImportMode, SourceFolder and DeviceName of the context ask for, after the
  // output folder check and (but for the album) the person's yes, and tells how it ended. The
  // run's result after a run, E_FAIL when the output folder is missing or the person said no.
  HRESULT StartImport();
  // A button press or a menu command.
  void OnCommand(int id);
  // The folder the desktop gave on the command line ("lumicrate FOLDER" for a camera card it
  // saw mounted): offered and imported as a drive that arrived; nothing while an import is
  // under way.
  void OfferFolder(const std::filesystem::path& folder);

  // The update check runs on its own thread; true once it has ended.
  bool UpdateCheckDone() const;

protected:
  void OnInitDialog() override;
  QWidget& ClientArea() override { return *client_; }

  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void OnFrameChanged() override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  class DialogNotice;

  // Looks for a connected iPhone off this thread (libgphoto2 may take its time over USB) and
  // sets the context's flag and device name here when done; from then on, watches for arrivals.
  void DetectIPhone();
  void CreateMenu();
  void CreateControls();
  void PlaceWindow();
  void Layout();
  // Notes the window's rectangle while it is neither minimised nor maximised; it is written a
  // moment after the last move or size change (and when the window goes), not at every step
  // of a drag, since every write of the settings file is flushed to disk.
  void SaveWindowRect();
  void WriteWindowRectNow();
  void ApplyMinimumSize();
  // The output folder as the field gives it, one trailing "/" removed.
  std::string FieldFolder() const;
  bool CheckOutputFolder();
  // ReadyForImport again, once what arrived meanwhile has been seen (and ignored).
  void BecomeReady();
  void RefreshFolderExample();
  void UpdateGenerateButton();
  void ChooseSourceFolder();
  void ChooseOutputFolder();

  Seams seams_;
  bool layoutReady_ = false;
  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  ControlFactory_CL factory_;
  Button_CL* viewButton_ = nullptr;
  Button_CL* generateButton_ = nullptr;
  GroupBox_CL* outputGroup_ = nullptr;
  Edit_CL* outputEdit_ = nullptr;
  Button_CL* browseButton_ = nullptr;
  StaticText_CL* formatLabel_ = nullptr;
  TreeView_CL* exampleTree_ = nullptr;
  StaticText_CL* connectHint_ = nullptr;
  std::optional<ScreenRect> unsavedRect_;
  QTimer* saveTimer_ = nullptr;
  std::unique_ptr<DialogNotice> dialogNotice_;
  std::unique_ptr<UpdateCheckThread> updateCheck_;
  std::unique_ptr<ArrivalWatch> arrival_;
};

} // namespace lumicrate::ui
