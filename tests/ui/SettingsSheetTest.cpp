// The settings sheet on the offscreen platform: every page's controls, what OK, 適用 and
// キャンセル store, the add dialog, the extension pages' context menu and the version sheet.
#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "app/AppContext.h"
#include "app/Inifile_CL.h"
#include "app/Product.h"
#include "support/ReplacementCounter.h"
#include "ui/UiFixture.h"
#include "ui/WhenModal.h"
#include "ui/framework/ControlBase_CL.h"
#include "ui/framework/Controls.h"
#include "ui/settings/DialogAddUserExt_CL.h"
#include "ui/settings/PropAppExtSetting_CL.h"
#include "ui/settings/PropAppSetting_CL.h"
#include "ui/settings/PropAppVersion_CL.h"
#include "ui/settings/PropertySheetBuilder.h"
#include "ui/settings/SettingsSheets.h"

namespace lumicrate::test {
namespace {

using ui::DialogAddUserExt_CL;
using ui::PropAppExtSetting_CL;
using ui::PropertySheetBuilder;

const QString kLabel = QStringLiteral("比較の対象とする拡張子");

QString TextOf(const QWidget* widget) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    // The icon button shows no text; it keeps it for accessibility.
    return button->text().isEmpty() ? button->accessibleName() : button->text();
  }
  if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    return label->text();
  }
  if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
    return group->title();
  }
  return {};
}

QRect RectOf(const QWidget* widget) {
  return widget ? widget->geometry() : QRect();
}

void PressKey(QWidget& widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(&widget, &release);
}

int RowOf(const QTreeWidget& list, const QString& extension) {
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    if (list.topLevelItem(row)->text(0) == extension) {
      return row;
    }
  }
  return -1;
}

class SettingsSheetTest : public UiTest {
protected:
  void SetUp() override {
    UiTest::SetUp();
    Settings().WriteInt("COMPARE_EXT_INFO_SND", "count", 1);
    Settings().WriteString("COMPARE_EXT_INFO_SND", "item0", "1|.flac");
    Context().LoadImportSettings(Settings());
  }

  std::string Bytes() const { return ReadBytes(DataFolder() / "Lumicrate.ini"); }

  ScriptedDesktop desktop;
};

TEST_F(SettingsSheetTest, PagesCreateTheirControlsInOrderWithTheirIdsTextsAndPlaces) {
  ui::PropAppSetting_CL app(Context());
  PropAppExtSetting_CL photos(kLabel, Context().PhotoExtensions);
  ui::PropAppVersion_CL version(Settings(), desktop);
  PropertySheetBuilder sheet(Settings());
  sheet.AddPage(app, QStringLiteral("アプリ設定"));
  sheet.AddPage(photos, QStringLiteral("写真拡張子"));
  sheet.AddPage(version, QStringLiteral("バージョン情報"));
  sheet.Initialise();
  sheet.show();
  for (int tab = 0; tab < 3; ++tab) {
    sheet.Tabs().setCurrentIndex(tab);
  }
  const QSize page = PropertySheetBuilder::PageSize(sheet.font());
  EXPECT_EQ(app.size(), page);
  const auto metrics = app.LayoutMetrics();
  const int cw = metrics.cw;
  const int ch = metrics.ch;

  const struct {
    const QWidget* page;
    std::vector<QString> texts; // by id from 0x1100
  } pages[] = {
      {&app, {"写真を取り込む", "動画を取り込む", "音声を取り込む", "整理するファイル"}},
      {&photos, {kLabel, ""}},
      {&version,
       {"バージョンアップの通知をしない", "OK", "Version : 1.0.0", "\u3000", "サポートサイトへ",
        "\u3000\u3000サポートサイトへ\u3000\u3000", "バージョンアップの通知", "バージョン情報"}},
  };
  for (const auto& p : pages) {
    for (size_t i = 0; i < p.texts.size(); ++i) {
      const QWidget* control = FindControl(*p.page, 0x1100 + static_cast<int>(i));
      ASSERT_TRUE(control) << std::hex << 0x1100 + i;
      EXPECT_EQ(TextOf(control), p.texts[i]) << std::hex << 0x1100 + i;
    }
    EXPECT_FALSE(FindControl(*p.page, 0x1100 + static_cast<int>(p.texts.size())));
  }

  // The import page: the boxes stacked from ch with 4 pixels between, inside the group box.
  const QRect photo = RectOf(FindControl(app, 0x1100));
  EXPECT_EQ(photo.topLeft(), QPoint(14, ch));
  EXPECT_EQ(RectOf(FindControl(app, 0x1101)).topLeft(), QPoint(14, ch + photo.height() + 4));
  EXPECT_EQ(RectOf(FindControl(app, 0x1103)), QRect(0, 0, page.width(), 6 * ch));
  for (const int id : {0x1100, 0x1101, 0x1102}) {
    EXPECT_TRUE(FindControl<QCheckBox>(app, id)->isChecked()) << "all kinds are imported by default";
  }

  // The extension page: the list below the label, with its two columns.
  const QRect label = RectOf(FindControl(photos, 0x1100));
  auto* list = FindControl<QTreeWidget>(photos, 0x1101);
  ASSERT_TRUE(list);
  EXPECT_EQ(label.topLeft(), QPoint(0, 4));
  EXPECT_EQ(list->geometry(), QRect(8, 4 + label.height() + 4, page.width() - cw, page.height() - 2 * ch));
  ASSERT_EQ(list->columnCount(), 2);
  EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("拡張子"));
  EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Content Type"));
  EXPECT_EQ(list->header()->sectionSize(0), 7 * cw);
  EXPECT_EQ(list->header()->sectionSize(1), 20 * cw);
  EXPECT_EQ(list->topLevelItemCount(), 16);
  const int jpg = RowOf(*list, ".jpg");
  ASSERT_GE(jpg, 0);
  EXPECT_EQ(list->topLevelItem(jpg)->text(1), QStringLiteral("image/jpeg"));
  EXPECT_EQ(list->topLevelItem(jpg)->checkState(0), Qt::Checked);

  // The version page: the icon button and the texts stacked from 5 ch, the icon 8 pixels in.
  EXPECT_EQ(RectOf(FindControl(version, 0x1100)).topLeft(), QPoint(cw / 2, ch));
  const QRect icon = RectOf(FindControl(version, 0x1101));
  EXPECT_EQ(icon, QRect(cw / 2 + 8, 5 * ch, 36, 36));
  EXPECT_EQ(RectOf(FindControl(version, 0x1102)).topLeft(), QPoint(cw / 2, 5 * ch + 36 + 4));
  EXPECT_EQ(RectOf(FindControl(version, 0x1105)).x(), cw);
  EXPECT_EQ(RectOf(FindControl(version, 0x1106)), QRect(0, 0, page.width(), 3 * ch));
  const QRect information = RectOf(FindControl(version, 0x1107));
  EXPECT_EQ(information.topLeft(), QPoint(0, 4 * ch));
  EXPECT_EQ(information.width(), page.width());
  EXPECT_GE(information.height(), 8 * ch);
  EXPECT_TRUE(information.contains(RectOf(FindControl(version, 0x1105)))) << "the group box holds its stack";
  EXPECT_FALSE(FindControl<QCheckBox>(version, 0x1100)->isChecked());
}

TEST_F(SettingsSheetTest, CancelStoresNothingAndOkStoresEverythingWithOneReplacement) {
  const std::string before = Bytes();
  WhenModal<PropertySheetBuilder>([](PropertySheetBuilder& sheet) {
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("アプリ設定"));
    ASSERT_EQ(sheet.Tabs().count(), 5);
    const QString titles[] = {"アプリ設定", "写真拡張子", "動画拡張子", "音声拡張子", "バージョン情報"};
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(sheet.Tabs().tabText(i), titles[i]);
    }
    EXPECT_FALSE(sheet.ApplyButton().isEnabled());
    sheet.Tabs().setCurrentIndex(1);
    auto* list = FindControl<QTreeWidget>(*sheet.Tabs().widget(1), 0x1101);
    list->topLevelItem(RowOf(*list, ".jpg"))->setCheckState(0, Qt::Unchecked);
    EXPECT_TRUE(sheet.ApplyButton().isEnabled()) << "a change enables 適用";
    sheet.CancelButton().click();
  });
  EXPECT_EQ(ui::ShowSettingsSheet(nullptr, desktop), 0);
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(Context().PhotoExtensions.Find(".jpg")->enabled, 1);

  ReplacementCounter replacements(DataFolder());
  WhenModal<PropertySheetBuilder>([](PropertySheetBuilder& sheet) {
    FindControl<QCheckBox>(*sheet.Tabs().widget(0), 0x1101)->click(); // 動画を取り込む off
    EXPECT_TRUE(sheet.ApplyButton().isEnabled());
    for (const int tab : {1, 2, 3}) {
      sheet.Tabs().setCurrentIndex(tab);
      auto* list = FindControl<QTreeWidget>(*sheet.Tabs().widget(tab), 0x1101);
      list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    }
    sheet.OkButton().click();
  });
  EXPECT_EQ(ui::ShowSettingsSheet(nullptr, desktop), 1);
  EXPECT_EQ(replacements.Take("Lumicrate.ini"), 1);
  EXPECT_EQ(Settings().GetString("APP_INFO", "arrnge_movie", ""), "0");
  EXPECT_EQ(Settings().GetString("APP_INFO", "arrnge_photo", ""), "1");
  EXPECT_EQ(Context().ImportMovies, 0);
  EXPECT_EQ(Settings().GetString("COMPARE_EXT_INFO_PIC", "item0", ""), "0|.arw");
  EXPECT_EQ(Settings().GetString("COMPARE_EXT_INFO", "item0", ""), "0|.3g2");
  EXPECT_EQ(Settings().GetString("COMPARE_EXT_INFO_SND", "item0", ""), "0|.flac");
  EXPECT_EQ(Context().PhotoExtensions.Find(".arw")->enabled, 0);
  EXPECT_EQ(Settings().GetString("VERSION", "notify", "unset"), "unset") << "a page never opened stores nothing";
}

TEST_F(SettingsSheetTest, ChangesThatCannotBeStoredStayForTheSession) {
  const std::string unreadable = "\xC0\x80 not a settings file";
  WriteBytes(DataFolder() / "Lumicrate.ini", unreadable);
  WhenModal<PropertySheetBuilder>([](PropertySheetBuilder& sheet) {
    sheet.Tabs().setCurrentIndex(1);
    auto* list = FindControl<QTreeWidget>(*sheet.Tabs().widget(1), 0x1101);
    list->topLevelItem(RowOf(*list, ".jpg"))->setCheckState(0, Qt::Unchecked);
    sheet.OkButton().click();
  });
  EXPECT_EQ(ui::ShowSettingsSheet(nullptr, desktop), 1);
  EXPECT_EQ(Bytes(), unreadable) << "a file that cannot be read is never rewritten";
  EXPECT_EQ(Context().PhotoExtensions.Find(".jpg")->enabled, 0) << "not loaded back from the file";
}

TEST_F(SettingsSheetTest, ApplyStoresAtOnceAndWaitsForTheNextChange) {
  ui::PropAppVersion_CL version(Settings(), desktop);
  PropertySheetBuilder sheet(Settings());
  sheet.AddPage(version, QStringLiteral("バージョン情報"));
  sheet.Initialise();
  sheet.show();
  FindControl<QCheckBox>(version, 0x1100)->click();
  ASSERT_TRUE(sheet.ApplyButton().isEnabled());
  sheet.ApplyButton().click();
  EXPECT_EQ(Settings().GetString("VERSION", "notify", ""), "1");
  EXPECT_FALSE(sheet.ApplyButton().isEnabled());
  EXPECT_TRUE(sheet.isVisible()) << "適用 keeps the sheet open";
}

TEST_F(SettingsSheetTest, TheAddDialogAcceptsAnExtensionWithEnterOrItsButton) {
  const struct {
    const char* typed;
    bool setEnabled;
    const char* accepted; // nullptr: the dialog stays open
  } cases[] = {
      {"jpg", true, ".jpg"},  {".jpg", true, ".jpg"}, {"HEIC", true, ".heic"}, {"", false, nullptr},
      {"  ", false, nullptr}, {".", false, nullptr},  {"a/b", false, nullptr},
  };
  for (const auto& c : cases) {
    for (const bool enter : {true, false}) {
      SCOPED_TRACE(std::string(c.typed) + (enter ? " Enter" : " 設定"));
      DialogAddUserExt_CL dialog;
      dialog.Initialise();
      dialog.show();
      auto& field = dynamic_cast<QLineEdit&>(dialog.Field());
      auto& set = dynamic_cast<QPushButton&>(dialog.SetButton());
      EXPECT_FALSE(set.isEnabled()) << "設定 starts disabled";
      field.setText(QString::fromUtf8(c.typed));
      EXPECT_EQ(set.isEnabled(), c.setEnabled);
      if (enter) {
        PressKey(field, Qt::Key_Return);
      } else {
        set.click();
      }
      EXPECT_EQ(dialog.isVisible(), c.accepted == nullptr);
      if (c.accepted) {
        EXPECT_EQ(dialog.result(), 1);
        EXPECT_EQ(dialog.GetExtension(), QString::fromUtf8(c.accepted));
      }
    }
  }

  DialogAddUserExt_CL dialog;
  dialog.Initialise();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("拡張子の追加"));
  EXPECT_EQ(TextOf(FindControl(dialog, 0x1100)), QStringLiteral("拡張子を入力してください。"));
  EXPECT_EQ(FindControl(dialog, 0x1101), &dialog.Field());
  EXPECT_EQ(FindControl<QLineEdit>(dialog, 0x1101)->maxLength(), 32);
  EXPECT_EQ(TextOf(FindControl(dialog, 0x1000)), QStringLiteral("\u3000\u3000設定\u3000\u3000"));
  EXPECT_EQ(TextOf(FindControl(dialog, 0x1002)), QStringLiteral("\u3000キャンセル\u3000"));
  EXPECT_EQ(dialog.width(), dialog.Field().width() + 20);
  dialog.show();
  FindControl<QPushButton>(dialog, 0x1002)->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 0);
}

TEST_F(SettingsSheetTest, DeleteIsGreyedForBuiltInRowsAndWithoutASelection) {
  PropAppExtSetting_CL sounds(kLabel, Context().SoundExtensions);
  PropertySheetBuilder sheet(Settings());
  sheet.AddPage(sounds, QStringLiteral("音声拡張子"));
  sheet.Initialise();
  sheet.show();
  const int flac = RowOf(sounds.List(), ".flac");
  const int wav = RowOf(sounds.List(), ".wav");
  ASSERT_GE(flac, 0);
  EXPECT_EQ(sounds.List().topLevelItem(flac)->text(1), QStringLiteral("★ユーザー追加拡張子"));
  for (const auto& [row, deletable] : {std::pair{-1, false}, {wav, false}, {flac, true}}) {
    const auto menu = sounds.BuildContextMenu(row);
    ASSERT_TRUE(menu->Item(PropAppExtSetting_CL::kCommandAdd));
    EXPECT_TRUE(menu->Item(PropAppExtSetting_CL::kCommandAdd)->isEnabled());
    EXPECT_EQ(menu->Item(PropAppExtSetting_CL::kCommandDelete)->isEnabled(), deletable) << row;
  }
  EXPECT_FALSE(sheet.ApplyButton().isEnabled());

  // A right click on the user's row, and the menu's delete item chosen.
  sounds.List().setCurrentItem(sounds.List().topLevelItem(flac));
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    for (QAction* action : menu->actions()) {
      if (action->data().toInt() == PropAppExtSetting_CL::kCommandDelete) {
        menu->setActiveAction(action);
      }
    }
    PressKey(*menu, Qt::Key_Return);
  });
  const QRect row = sounds.List().visualItemRect(sounds.List().topLevelItem(flac));
  emit sounds.List().customContextMenuRequested(row.center());
  EXPECT_EQ(RowOf(sounds.List(), ".flac"), -1);
  EXPECT_EQ(sounds.List().topLevelItemCount(), 2);
  EXPECT_TRUE(sheet.ApplyButton().isEnabled());
  EXPECT_TRUE(Context().SoundExtensions.Find(".flac")) << "the shared table waits for apply";
}

TEST_F(SettingsSheetTest, AnAddedExtensionBecomesACheckedUserRow) {
  PropAppExtSetting_CL photos(kLabel, Context().PhotoExtensions);
  PropertySheetBuilder sheet(Settings());
  sheet.AddPage(photos, QStringLiteral("写真拡張子"));
  sheet.Initialise();
  sheet.show();
  const auto add = [&](const char* typed) {
    WhenModal<DialogAddUserExt_CL>([typed, &sheet](DialogAddUserExt_CL& dialog) {
      EXPECT_LE((dialog.frameGeometry().center() - sheet.frameGeometry().center()).manhattanLength(), 4)
          << "centred over the sheet, give or take the rounding of both centres";
      dynamic_cast<QLineEdit&>(dialog.Field()).setText(QString::fromUtf8(typed));
      PressKey(dialog.Field(), Qt::Key_Return);
    });
    photos.OnCommand(PropAppExtSetting_CL::kCommandAdd);
  };
  add("PNG");
  EXPECT_EQ(photos.List().topLevelItemCount(), 16) << "an extension the table holds is refused";
  EXPECT_FALSE(sheet.ApplyButton().isEnabled());

  add("heic");
  ASSERT_EQ(photos.List().topLevelItemCount(), 17);
  const int heic = RowOf(photos.List(), ".heic");
  ASSERT_GE(heic, 0);
  EXPECT_EQ(photos.List().topLevelItem(heic - 1)->text(0), QStringLiteral(".gif")) << "sorted into place";
  EXPECT_EQ(photos.List().topLevelItem(heic)->text(1), QStringLiteral("★ユーザー追加拡張子"));
  EXPECT_EQ(photos.List().topLevelItem(heic)->checkState(0), Qt::Checked);
  EXPECT_EQ(photos.SelectedRow(), heic);
  EXPECT_TRUE(sheet.ApplyButton().isEnabled());
  EXPECT_FALSE(Context().PhotoExtensions.Find(".heic"));

  sheet.ApplyButton().click();
  EXPECT_TRUE(Context().PhotoExtensions.Find(".heic"));
  EXPECT_EQ(Settings().GetString("COMPARE_EXT_INFO_PIC", "count", ""), "17");
}

TEST_F(SettingsSheetTest, TheVersionSheetShowsTheVersionPageAloneAndStoresNotify) {
  WhenModal<PropertySheetBuilder>([this](PropertySheetBuilder& sheet) {
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("バージョン情報"));
    ASSERT_EQ(sheet.Tabs().count(), 1);
    EXPECT_EQ(sheet.Tabs().tabText(0), QStringLiteral("バージョン情報"));
    QWidget& page = *sheet.Tabs().widget(0);
    FindControl<QPushButton>(page, 0x1101)->click();
    FindControl<QPushButton>(page, 0x1105)->click();
    EXPECT_EQ(desktop.Opened(), (std::vector<std::string>{kSupportAddress, kSupportAddress}));
    EXPECT_FALSE(sheet.ApplyButton().isEnabled()) << "opening the site is no change";
    FindControl<QCheckBox>(page, 0x1100)->click();
    EXPECT_TRUE(sheet.ApplyButton().isEnabled());
    sheet.OkButton().click();
  });
  ui::ShowVersionSheet(nullptr, desktop);
  EXPECT_EQ(Settings().GetString("VERSION", "notify", ""), "1");

  WhenModal<PropertySheetBuilder>([](PropertySheetBuilder& sheet) {
    auto* notice = FindControl<QCheckBox>(*sheet.Tabs().widget(0), 0x1100);
    EXPECT_TRUE(notice->isChecked());
    notice->click();
    PressKey(*sheet.Tabs().widget(0), Qt::Key_Escape);
  });
  ui::ShowVersionSheet(nullptr, desktop);
  EXPECT_EQ(Settings().GetString("VERSION", "notify", ""), "1") << "Escape is Cancel";
}

} // namespace
} // namespace lumicrate::test
