// The pages live on this stack for as long as the sheet shows them.
#include "ui/settings/SettingsSheets.h"

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/SettingsPages.h"
#include "ui/settings/PropAppExtSetting_CL.h"
#include "ui/settings/PropAppSetting_CL.h"
#include "ui/settings/PropAppVersion_CL.h"
#include "ui/settings/PropertySheetBuilder.h"

namespace lumicrate::ui {

int ShowSettingsSheet(QWidget* owner, DesktopShell& shell) {
  AppContext& context = Context();
  const QString label = QStringLiteral("比較の対象とする拡張子");
  PropAppExtSetting_CL movies(label, context.MovieExtensions);
  PropAppExtSetting_CL photos(label, context.PhotoExtensions);
  PropAppExtSetting_CL sounds(label, context.SoundExtensions);
  PropAppSetting_CL app(context);
  PropAppVersion_CL version(Settings(), shell);

  PropertySheetBuilder sheet(Settings());
  sheet.AddPage(app, QStringLiteral("アプリ設定"));
  sheet.AddPage(photos, QStringLiteral("写真拡張子"));
  sheet.AddPage(movies, QStringLiteral("動画拡張子"));
  sheet.AddPage(sounds, QStringLiteral("音声拡張子"));
  sheet.AddPage(version, QStringLiteral("バージョン情報"));
  sheet.SetOnOk([&context](Inifile_CL::Edit_CL& edit) { StoreExtensionTables(context, edit); });
  const int result = sheet.Show(owner, QStringLiteral("アプリ設定"));
  // Tables that could not be stored stay as the user left them for the rest of the session.
  if (result == 1 && sheet.Stored()) {
    context.LoadExtensionTables(Settings());
  }
  return result;
}

void ShowVersionSheet(QWidget* owner, DesktopShell& shell) {
  PropAppVersion_CL version(Settings(), shell);
  PropertySheetBuilder sheet(Settings());
  sheet.AddPage(version, QStringLiteral("バージョン情報"));
  sheet.Show(owner, QStringLiteral("バージョン情報"));
}

} // namespace lumicrate::ui
