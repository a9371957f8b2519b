// Every rule this window follows (the trailing-separator rule, the question's text, when the
// album can be generated, where the window opens) is the core's; the window only wires its
// controls to them.
#include "ui/main_window/MainWindow_CL.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "app/ActivityLog.h"
#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/MainWindowRules.h"
#include "app/SelectedRun.h"
#include "device/FolderArrival.h"
#include "import/DestinationLayout.h"
#include "platform/SleepInhibitor_CL.h"
#include "ui/framework/Controls.h"
#include "ui/framework/MultiScreen_CL.h"
#include "ui/main_window/ArrivalWatch.h"
#include "ui/main_window/UpdateCheckThread.h"
#include "ui/main_window/UpdateDialog_CL.h"
#include "ui/progress/MyConvertStartProgress_CL.h"
#include "ui/settings/FolderSelectDialog_CL.h"
#include "ui/settings/SettingsSheets.h"

namespace lumicrate::ui {
namespace {

const QString kCaption = QStringLiteral("ルミクレート");
const QString kNoticeTitle = QStringLiteral("お知らせ");
const QString kNoOutputFolder = QStringLiteral("出力先フォルダを指定してください。");
constexpr int kOutputFolderLimit = 260;
constexpr int kAlbumButtonColumns = 12;
constexpr int kAlbumButtonHeight = 32;
constexpr int kWindowRectDelayMs = 400;

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

} // namespace

// The update notice as the dialog over this window.
class MainWindow_CL::DialogNotice final : public UpdateNotice {
public:
  explicit DialogNotice(MainWindow_CL& window) : window_(window) {}
  NoticeAnswer Show(const UpdateNoticeContent& notice) override {
    UpdateDialog_CL dialog(FromUtf8(notice.caption), FromUtf8(notice.text));
    return static_cast<NoticeAnswer>(dialog.DoModal(&window_));
  }

private:
  MainWindow_CL& window_;
};

MainWindow_CL::MainWindow_CL(const Seams& seams)
    : seams_(seams), factory_(ControlFactory_CL::kFirstId, [this](int id) { OnCommand(id); }) {
  setWindowFlags(Qt::Window);
  menuBar_ = new QMenuBar(this);
  client_ = new QWidget(this);
  saveTimer_ = new QTimer(this);
  saveTimer_->setSingleShot(true);
  saveTimer_->setInterval(kWindowRectDelayMs);
  connect(saveTimer_, &QTimer::timeout, this, [this] { WriteWindowRectNow(); });
}

MainWindow_CL::~MainWindow_CL() {
  WriteWindowRectNow();
}

void MainWindow_CL::OnInitDialog() {
  DetectIPhone();
  Context().LoadImportSettings(Settings());
  SetText(kCaption);
  setWindowIcon(QIcon(QStringLiteral(":/lumicrate.svg")));
  CreateMenu();
  CreateControls();

  if (!seams_.updateNotice) {
    dialogNotice_ = std::make_unique<DialogNotice>(*this);
  }
  UpdateNotice& notice = seams_.updateNotice ? *seams_.updateNotice : *dialogNotice_;
  updateCheck_ =
      std::make_unique<UpdateCheckThread>(UpdateCheckThread::Setup{Settings(), notice, seams_.shell, seams_.clock,
                                                                   seams_.updateServer, seams_.updateTimeouts},
                                          this);
  updateCheck_->Start("ルミクレートのアップデート。", kInstalledVersion);

  PlaceWindow();
  layoutReady_ = true;
  RefreshFolderExample();
  Layout();
}

void MainWindow_CL::DetectIPhone() {
  // The arrival watch's first device look: it notes what is connected and starts nothing.
  arrival_ =
      std::make_unique<ArrivalWatch>(this, ArrivalWatch::Setup{[this] { return StartImport(); },
                                                               [this] { return std::filesystem::path(FieldFolder()); },
                                                               seams_.usbEvents, seams_.deviceQuery});
}

void MainWindow_CL::CreateMenu() {
  const auto add = [this](QMenu* menu, const QString& text, int command) {
    QAction* action = menu->addAction(text);
    action->setProperty(kCommandProperty, command);
    connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
  };
  add(menuBar_->addMenu(QStringLiteral("ファイル(&F)")), QStringLiteral("フォルダを指定して写真を取り込む(&A)"),
      kCommandImportFolder);
  add(menuBar_->addMenu(QStringLiteral("設定(&S)")), QStringLiteral("アプリ設定(&A)"), kCommandSettings);
  QMenu* help = menuBar_->addMenu(QStringLiteral("ヘルプ(&H)"));
  add(help, QStringLiteral("サポートサイト"), kCommandSupportSite);
  help->addSeparator();
  add(help, QStringLiteral("バージョン情報(&A)..."), kCommandVersion);
}

void MainWindow_CL::CreateControls() {
  const Metrics metrics = LayoutMetrics();
  const auto albumButton = [&](const QString& text) {
    auto& button = factory_.GetAs<Button_CL>(factory_.CreateButton(client_, text, 0, 0));
    button.SetFont(1.2, 600);
    button.Resize(kAlbumButtonColumns * metrics.cw, kAlbumButtonHeight);
    return &button;
  };
  viewButton_ = albumButton(QStringLiteral("写真一覧の参照"));
  generateButton_ = albumButton(QStringLiteral("写真一覧の生成"));

  outputEdit_ = &factory_.GetAs<Edit_CL>(factory_.CreateEdit(client_, 32, 1, 0, 0));
  outputEdit_->LimitText(kOutputFolderLimit);
  outputEdit_->SetText(FromUtf8(StoredOutputFolder(Settings())));
  connect(outputEdit_, &QLineEdit::textChanged, this, [this] { RefreshFolderExample(); });

  browseButton_ = &factory_.GetAs<Button_CL>(factory_.CreateButton(client_, QStringLiteral("\u3000参照\u3000"), 0, 0));
  browseButton_->SetId(kCommandBrowseOutput);
  formatLabel_ =
      &factory_.GetAs<StaticText_CL>(factory_.CreateStatic(client_, QStringLiteral("取り込みフォルダの形式"), 0, 0));
  exampleTree_ = &factory_.GetAs<TreeView_CL>(factory_.CreateTreeView(client_, 320, 320, 0, 0));
  exampleTree_->setFrameShape(QFrame::Box);

  connectHint_ = &factory_.GetAs<StaticText_CL>(
      factory_.CreateStatic(client_, QStringLiteral("ＵＳＢにカメラもしくはiPhoneを接続してください。"), 0, 0));
  connectHint_->SetFont(2.0, 100);
  connectHint_->setWordWrap(true);
  connectHint_->Resize(640, 64);
  outputGroup_ = &factory_.GetAs<GroupBox_CL>(factory_.CreateGroupBox(
      client_, QStringLiteral("出力先フォルダ（取り込んだファイルを出力するフォルダ）"), 320, 64, 0, 0));
}

void MainWindow_CL::PlaceWindow() {
  MultiScreen_CL screens;
  screens.Enumerate();
  const ScreenRect full = screens.Primary().workArea;
  const ScreenRect rect =
      ChooseWindowRect(ReadWindowRect(Settings()), screens.Areas(true), full.Width(), full.Height());
  ApplyMinimumSize();
  MoveOuter(rect.left, rect.top, rect.Width(), rect.Height(), false);
}

void MainWindow_CL::ApplyMinimumSize() {
  const Metrics metrics = LayoutMetrics();
  const QSize frame = frameGeometry().size() - size();
  setMinimumSize(32 * metrics.cw - frame.width(), 21 * metrics.ch - frame.height());
}

void MainWindow_CL::Layout() {
  if (!layoutReady_) {
    return;
  }
  const Metrics m = LayoutMetrics();
  const int a = m.ch / 2;
  outputGroup_->Move(m.cw / 2, a);
  outputGroup_->Resize(m.width - m.cw, 10 * m.ch);
  outputEdit_->Move(m.cw, a + m.ch);
  outputEdit_->Resize(m.width - 96, browseButton_->Height());
  browseButton_->Move(outputEdit_->x() + outputEdit_->Width() + m.cw, outputEdit_->y());
  formatLabel_->Move(m.cw, a + browseButton_->Height() * 5 / 2);
  exampleTree_->Move(m.cw, a + 4 * m.ch);
  exampleTree_->Resize(m.width - 96, 5 * m.ch);
  connectHint_->Move(m.cw, a + 14 * m.ch);
  // The hint keeps its 640 by 64 where the window is wide enough; a narrower window wraps it
  // onto a second line rather than cutting it off at the edge.
  const int hintWidth = std::min(640, m.width - m.cw - m.cw / 2);
  connectHint_->Resize(hintWidth, std::max(64, connectHint_->heightForWidth(hintWidth)));
  const int buttonTop = a + 10 * m.ch + m.ch / 2;
  viewButton_->Move(m.width - viewButton_->Width() - m.cw / 2, buttonTop);
  generateButton_->Move(m.width - generateButton_->Width() - m.cw - viewButton_->Width(), buttonTop);
}

void MainWindow_CL::resizeEvent(QResizeEvent* event) {
  SubClassDialogBase_CL::resizeEvent(event);
  const int menuHeight = menuBar_->sizeHint().height();
  menuBar_->setGeometry(0, 0, width(), menuHeight);
  client_->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
  Layout();
  SaveWindowRect();
}

void MainWindow_CL::moveEvent(QMoveEvent* event) {
  SubClassDialogBase_CL::moveEvent(event);
  SaveWindowRect();
}

void MainWindow_CL::OnFrameChanged() {
  // The minimum counts the frame too, and comes first so that it cannot stretch the window.
  ApplyMinimumSize();
  SubClassDialogBase_CL::OnFrameChanged();
}

void MainWindow_CL::keyPressEvent(QKeyEvent* event) {
  // Escape does not close the main window; only its close box and the window manager do.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  SubClassDialogBase_CL::keyPressEvent(event);
}

void MainWindow_CL::SaveWindowRect() {
  if (!layoutReady_ || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
    return;
  }
  const QRect frame = frameGeometry();
  unsavedRect_ = ScreenRect{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
  saveTimer_->start();
}

void MainWindow_CL::WriteWindowRectNow() {
  if (unsavedRect_) {
    WriteWindowRect(Settings(), *std::exchange(unsavedRect_, std::nullopt));
  }
}

std::string MainWindow_CL::FieldFolder() const {
  return RemoveOneTrailingSeparator(outputEdit_->GetText().toStdString());
}

bool MainWindow_CL::CheckOutputFolder() {
  Context().OutputFolder = FieldFolder();
  if (!Context().OutputFolder.empty()) {
    return true;
  }
  seams_.boxes.Inform(this, kNoOutputFolder, kNoticeTitle, BoxIcon::Exclamation);
  Log().Write("%s", kNoOutputFolder.toStdString().c_str());
  return false;
}

void MainWindow_CL::BecomeReady() {
  if (arrival_) {
    arrival_->CatchUp();
  }
  Context().ReadyForImport = 1;
}

HRESULT MainWindow_CL::StartImport() {
  AppContext& context = Context();
  context.ReadyForImport = 0;
  context.OutputFormatType = kNestedDayLayout;
  if (!CheckOutputFolder()) {
    BecomeReady();
    return E_FAIL;
  }
  Settings().WriteString("APP_INFO", "OutputFolder", context.OutputFolder.string());
  Settings().WriteInt("APP_INFO", "OutputFormatType", kNestedDayLayout);

  if (context.Mode != ImportMode::Album &&
      !seams_.boxes.AskYesNo(
          this, FromUtf8(ImportConfirmationText(context.Mode, context.SourceFolder.string(), context.DeviceName)),
          QStringLiteral("写真＆動画の取り込みの開始"))) {
    BecomeReady();
    return E_FAIL;
  }

  HRESULT result = E_ABORT;
  SelectedRunReport report;
  {
    // A laptop closing its lid mid-run must not leave a card half imported.
    const SleepInhibitor_CL awake(kCaption.toStdString(), "写真の取り込み中");
    MyConvertStartProgress_CL progress(seams_.boxes, seams_.deviceQuery ? seams_.deviceQuery() : DeviceQuery{});
    progress.SetStartOnInit();
    progress.DoModal(this);
    result = progress.Result();
    report = progress.Report();
  }

  const QString done = FromUtf8(RunEndText(context.Mode, result, report));
  // A person working in another program hears of the end too, not only from the box.
  const bool inFront =
      seams_.programInFront ? seams_.programInFront() : QGuiApplication::applicationState() == Qt::ApplicationActive;
  if (!inFront) {
    (seams_.notifier ? *seams_.notifier : BusNotifier())
        .Notify(kCaption.toStdString(), kNoticeTitle.toStdString(),
                done.section(QStringLiteral("\r\n"), 0, 0).toStdString());
  }
  seams_.boxes.Inform(this, done, kNoticeTitle, Failed(result) ? BoxIcon::Exclamation : BoxIcon::Information);
  // A failed album run may have left the pages of an earlier run; they are not this run's.
  if (context.Mode == ImportMode::Album && Succeeded(result)) {
    seams_.shell.OpenWithShell(AlbumIndexPath(context.OutputFolder.string()).string());
  }
  BecomeReady();
  RefreshFolderExample();
  return result;
}

void MainWindow_CL::RefreshFolderExample() {
  if (!layoutReady_) {
    return;
  }
  exampleTree_->DeleteAllTreeItems();
  QTreeWidgetItem* root = exampleTree_->InsertTreeItem(nullptr, FromUtf8(FieldFolder()));
  QTreeWidgetItem* year = exampleTree_->InsertTreeItem(root, QStringLiteral("2015年"));
  QTreeWidgetItem* month = exampleTree_->InsertTreeItem(year, QStringLiteral("01月"));
  for (const QString& day : {QStringLiteral("01日"), QStringLiteral("02日"), QStringLiteral("03日")}) {
    exampleTree_->InsertTreeItem(month, day);
  }
  year->setExpanded(true);
  month->setExpanded(true);
  root->setExpanded(true);

  std::error_code ec;
  const std::filesystem::path index = AlbumIndexPath(FieldFolder());
  viewButton_->Enable(!index.empty() && std::filesystem::exists(index, ec));
  UpdateGenerateButton();
}

void MainWindow_CL::UpdateGenerateButton() {
  generateButton_->Enable(CanGenerateAlbum(FieldFolder()));
}

void MainWindow_CL::OnCommand(int id) {
  if (id == generateButton_->Id()) {
    Context().Mode = ImportMode::Album;
    StartImport();
    return;
  }
  if (id == viewButton_->Id()) {
    seams_.shell.OpenWithShell(AlbumIndexPath(FieldFolder()).string());
    return;
  }
  switch (id) {
  case kCommandSupportSite:
    seams_.shell.OpenWithShell(kSupportAddress);
    break;
  case kCommandSettings:
    ShowSettingsSheet(this, seams_.shell);
    break;
  case kCommandVersion:
    ShowVersionSheet(this, seams_.shell);
    break;
  case kCommandImportFolder:
    ChooseSourceFolder();
    break;
  case kCommandBrowseOutput:
    ChooseOutputFolder();
    break;
  default:
    break;
  }
}

void MainWindow_CL::OfferFolder(const std::filesystem::path& folder) {
  if (PrepareFolderArrival(Context(), folder)) {
    StartImport();
  }
}

void MainWindow_CL::ChooseSourceFolder() {
  FolderSelectDialog_CL chooser(seams_.folders);
  QString folder;
  if (!chooser.Browse(this, QStringLiteral("取り込みたい写真のあるフォルダを選択してください。"), folder)) {
    return;
  }
  AppContext& context = Context();
  context.Mode = ImportMode::Folder;
  context.SourceFolder = folder.toStdString();
  context.DeviceName = "フォルダ指定";
  StartImport();
}

void MainWindow_CL::ChooseOutputFolder() {
  FolderSelectDialog_CL chooser(seams_.folders);
  chooser.SetInitialFolder(FromUtf8(StoredOutputFolder(Settings())));
  QString folder;
  if (chooser.Browse(this, QStringLiteral("整理を行った写真の出力先フォルダを選択してください。"), folder)) {
    outputEdit_->SetText(folder);
  }
}

bool MainWindow_CL::UpdateCheckDone() const {
  return !updateCheck_ || updateCheck_->Done();
}

} // namespace lumicrate::ui
