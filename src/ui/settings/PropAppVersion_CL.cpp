// The icon button and the support button both open the support site; the check box is stored
// as "notify" in VERSION.
#include "ui/settings/PropAppVersion_CL.h"

#include <QApplication>
#include <algorithm>

#include "app/Product.h"
#include "app/SettingsPages.h"
#include "platform/DesktopSeams.h"
#include "ui/framework/Controls.h"

namespace lumicrate::ui {

PropAppVersion_CL::PropAppVersion_CL(Inifile_CL& settings, DesktopShell& shell)
    : settings_(settings), shell_(shell), factory_(ControlFactory_CL::kFirstId, [this](int id) { OnCommand(id); }) {}

void PropAppVersion_CL::OnInitDialog() {
  SetText(QStringLiteral("バージョン表示"));
  const Metrics metrics = LayoutMetrics();
  const int cw = metrics.cw;
  const int ch = metrics.ch;
  notice_ = factory_.CreateCheckBox(this, QStringLiteral("バージョンアップの通知をしない"), cw / 2, ch, false);
  icon_ = factory_.CreateButton(this, QStringLiteral("OK"), cw / 2, 0);
  factory_.CreateStatic(this, QStringLiteral("Version : ") + QStringLiteral(LUMICRATE_VERSION), cw / 2, 0);
  factory_.CreateStatic(this, QStringLiteral("\u3000"), 0, 0);
  factory_.CreateStatic(this, QStringLiteral("サポートサイトへ"), cw / 2, 0);
  support_ = factory_.CreateButton(this, QStringLiteral("\u3000\u3000サポートサイトへ\u3000\u3000"), cw, 0);
  factory_.CreateGroupBox(this, QStringLiteral("バージョンアップの通知"), metrics.width, 3 * ch, 0, 0);
  const int information =
      factory_.CreateGroupBox(this, QStringLiteral("バージョン情報"), metrics.width, 8 * ch, 0, 4 * ch);

  // An icon button: the program's icon alone, without a frame, its text only for accessibility.
  auto& icon = factory_.GetAs<Button_CL>(icon_);
  icon.Resize(36, 36);
  icon.setFlat(true);
  icon.setAccessibleName(icon.text());
  icon.setText(QString());
  icon.setIcon(QApplication::windowIcon());
  icon.setIconSize(QSize(32, 32));

  factory_.GetAs<CheckBox_CL>(notice_).SetCheck(UpdateNoticesOff(settings_));
  factory_.StackVertically(icon_, support_, 5 * ch, 4);
  icon.MoveX(icon.GetRectInParent().x() + 8);
  // With a tall font the stack reaches past 8 ch; the group box then grows to keep it inside.
  ControlBase_CL& group = factory_.Get(information);
  const int stackBottom = factory_.Get(support_).GetRectInParent().bottom() + 1;
  group.Resize(metrics.width, std::max(8 * ch, stackBottom + ch / 2 - 4 * ch));
}

void PropAppVersion_CL::OnCommand(int id) {
  if (id == factory_.Get(notice_).Id()) {
    Changed();
  } else if (id == factory_.Get(icon_).Id() || id == factory_.Get(support_).Id()) {
    shell_.OpenWithShell(kSupportAddress);
  }
}

void PropAppVersion_CL::Apply(Inifile_CL::Edit_CL& edit) {
  ApplyUpdateNoticesOff(factory_.GetAs<CheckBox_CL>(notice_).GetCheck(), edit);
}

} // namespace lumicrate::ui
