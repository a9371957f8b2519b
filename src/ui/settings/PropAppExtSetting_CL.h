// An extension page of the sheet: one media kind's table as a list with a check box per
// extension, and a context menu to add an extension or delete one the user added.
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "media/ExtensionTableEditor.h"
#include "ui/framework/ControlFactory_CL.h"
#include "ui/framework/ImageList_CL.h"
#include "ui/framework/PopupMenu_CL.h"
#include "ui/settings/PropertyPage_CL.h"

class QTreeWidgetItem;

namespace lumicrate::ui {

class ListView_CL;

class PropAppExtSetting_CL : public PropertyPage_CL {
public:
  static constexpr int kCommandAdd = 0x1234;
  static constexpr int kCommandDelete = 0x1235;
  static constexpr int kAddImage = 5;
  static constexpr int kDeleteImage = 1;
  static constexpr int kImageWidth = 24;

  // The table is the shared one of the context: the page changes a copy until it applies.
  PropAppExtSetting_CL(const QString& label, CompareFileInfo_CL& table);

  void Apply(Inifile_CL::Edit_CL& edit) override;

  ListView_CL& List() const;
  // The context menu for the selected row (-1 for none), as a right click shows it. The row is
  // remembered: the menu's delete command acts on it.
  std::unique_ptr<PopupMenu_CL> BuildContextMenu(int selectedRow);
  // The menu's commands.
  void OnCommand(int id);
  // The row that is selected, or -1.
  int SelectedRow() const;

protected:
  void OnInitDialog() override;

private:
  void Fill();
  void OnItemChanged(QTreeWidgetItem* item, int column);
  void ShowContextMenu(const QPoint& position);

  QString label_;
  CompareFileInfo_CL& table_;
  std::optional<ExtensionTableEditor> editor_;
  ControlFactory_CL factory_;
  ImageList_CL images_;
  int list_ = -1;
  int rememberedRow_ = -1;
};

} // namespace lumicrate::ui
