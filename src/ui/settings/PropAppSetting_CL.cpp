// Three check boxes in a group box, checked from the context's import switches; applying sets
// the switches and stores them.
#include "ui/settings/PropAppSetting_CL.h"

#include "app/SettingsPages.h"
#include "ui/framework/Controls.h"

namespace lumicrate::ui {

PropAppSetting_CL::PropAppSetting_CL(AppContext& context)
    : context_(context), factory_(ControlFactory_CL::kFirstId, [this](int) { Changed(); }) {}

void PropAppSetting_CL::OnInitDialog() {
  SetText(QStringLiteral("アプリ設定"));
  const Metrics metrics = LayoutMetrics();
  photo_ = factory_.CreateCheckBox(this, QStringLiteral("写真を取り込む"), 14, 0, false);
  movie_ = factory_.CreateCheckBox(this, QStringLiteral("動画を取り込む"), 14, 0, false);
  sound_ = factory_.CreateCheckBox(this, QStringLiteral("音声を取り込む"), 14, 0, false);
  factory_.CreateGroupBox(this, QStringLiteral("整理するファイル"), metrics.width, 6 * metrics.ch, 0, 0);

  const ImportSwitches switches = CurrentImportSwitches(context_);
  factory_.GetAs<CheckBox_CL>(photo_).SetCheck(switches.photos);
  factory_.GetAs<CheckBox_CL>(movie_).SetCheck(switches.movies);
  factory_.GetAs<CheckBox_CL>(sound_).SetCheck(switches.sounds);
  factory_.StackVertically(photo_, sound_, metrics.ch, 4);
}

void PropAppSetting_CL::Apply(Inifile_CL::Edit_CL& edit) {
  const ImportSwitches switches{factory_.GetAs<CheckBox_CL>(photo_).GetCheck(),
                                factory_.GetAs<CheckBox_CL>(movie_).GetCheck(),
                                factory_.GetAs<CheckBox_CL>(sound_).GetCheck()};
  ApplyImportSwitches(switches, context_, edit);
}

} // namespace lumicrate::ui
