// Enter in the field does what the 設定 button does; the button is enabled only while the text
// is an extension a file can have, and the text becomes that extension when accepted.
#include "ui/settings/DialogAddUserExt_CL.h"

#include <QFont>

#include "media/ExtensionTableEditor.h"
#include "ui/framework/Controls.h"

namespace lumicrate::ui {
namespace {

std::optional<QString> Normalised(const QString& text) {
  const auto extension = NormaliseUserExtension(text.toStdString());
  return extension ? std::optional(QString::fromStdString(*extension)) : std::nullopt;
}

} // namespace

DialogAddUserExt_CL::DialogAddUserExt_CL() : factory_(ControlFactory_CL::kFirstId, [this](int id) { OnCommand(id); }) {}

QWidget& DialogAddUserExt_CL::Field() const {
  return factory_.Get(edit_).Widget();
}

QWidget& DialogAddUserExt_CL::SetButton() const {
  return factory_.Get(set_).Widget();
}

void DialogAddUserExt_CL::OnInitDialog() {
  SetText(QStringLiteral("拡張子の追加"));
  const int prompt = factory_.CreateStatic(this, QStringLiteral("拡張子を入力してください。"), 4, 0);
  edit_ = factory_.CreateEdit(this, 48, 1, 8, 0);
  auto& edit = factory_.GetAs<Edit_CL>(edit_);
  edit.SetFont(2.0, QFont::Normal);
  edit.SetSizeInChars(24, 1, 8, 4);
  edit.LimitText(kMaxCharacters);
  connect(&edit, &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
  connect(&edit, &QLineEdit::returnPressed, this, [this] { OnCommand(ControlFactory_CL::kOkId); });

  factory_.StackVertically({prompt, edit_}, 4, 4);
  const QRect field = edit.GetRectInParent();
  resize(field.width() + 20, field.y() + 5 * TextHeight(QStringLiteral("M")));

  const auto [set, cancel] = factory_.CreateOkCancel(this, QStringLiteral("\u3000\u3000設定\u3000\u3000"),
                                                     QStringLiteral("\u3000キャンセル\u3000"));
  set_ = set;
  // Enter reaches the 設定 command through the field alone, never a second time as the
  // dialog's default button.
  for (const int button : {set, cancel}) {
    factory_.GetAs<Button_CL>(button).setAutoDefault(false);
  }
  factory_.Get(set_).Enable(false);
  // The owner is a page inside the sheet; its window is what the screen shows.
  CentreOver(parentWidget() ? parentWidget()->window() : nullptr, false);
}

void DialogAddUserExt_CL::OnTextChanged() {
  factory_.Get(set_).Enable(Normalised(factory_.Get(edit_).GetText()).has_value());
}

void DialogAddUserExt_CL::OnCommand(int id) {
  if (id == ControlFactory_CL::kCancelId) {
    done(0);
    return;
  }
  if (id != ControlFactory_CL::kOkId) {
    return;
  }
  const std::optional<QString> extension = Normalised(factory_.Get(edit_).GetText());
  if (extension) {
    extension_ = *extension;
    done(1);
  }
}

} // namespace lumicrate::ui
