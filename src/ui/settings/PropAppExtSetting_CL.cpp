// The list shows the working copy; every change refills it from there, so rows and entries
// keep the same order. The images of the context menu come from the strip beside the program.
#include "ui/settings/PropAppExtSetting_CL.h"

#include <QHeaderView>
#include <QSignalBlocker>

#include "album/BuildAlbum.h"
#include "ui/framework/Controls.h"
#include "ui/settings/DialogAddUserExt_CL.h"

namespace lumicrate::ui {

PropAppExtSetting_CL::PropAppExtSetting_CL(const QString& label, CompareFileInfo_CL& table)
    : label_(label), table_(table) {}

ListView_CL& PropAppExtSetting_CL::List() const {
  return factory_.GetAs<ListView_CL>(list_);
}

void PropAppExtSetting_CL::OnInitDialog() {
  SetText(QStringLiteral("アプリ設定"));
  editor_.emplace(table_);
  const Metrics metrics = LayoutMetrics();
  const int label = factory_.CreateStatic(this, label_, 0, 0);
  list_ = factory_.CreateListView(this, metrics.width - metrics.cw, metrics.height - 2 * metrics.ch, 8, 0);
  ListView_CL& list = List();
  list.InsertColumn(QStringLiteral("拡張子"), 7 * metrics.cw);
  list.InsertColumn(QStringLiteral("Content Type"), 20 * metrics.cw);
  // Columns keep the widths given, as on a report list; they can be dragged into another order.
  list.header()->setStretchLastSection(false);
  list.header()->setSectionsMovable(true);
  // Grid lines between the cells, as the desktop's report lists draw them.
  list.setStyleSheet(QStringLiteral("QTreeView::item { border-right: 1px solid palette(midlight);"
                                    " border-bottom: 1px solid palette(midlight); }"));
  // The delete command acts on one row, so only one can be selected.
  list.setSelectionMode(QAbstractItemView::SingleSelection);
  list.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&list, &QTreeWidget::itemChanged, this, &PropAppExtSetting_CL::OnItemChanged);
  connect(&list, &QWidget::customContextMenuRequested, this, &PropAppExtSetting_CL::ShowContextMenu);
  Fill();
  factory_.StackVertically({label, list_}, 4, 4);
}

void PropAppExtSetting_CL::Fill() {
  ListView_CL& list = List();
  const QSignalBlocker quiet(list);
  list.DeleteAllItems();
  const CompareFileInfo_CL& working = editor_->Working();
  for (size_t i = 0; i < working.Count(); ++i) {
    const ExtensionEntry& entry = working.At(i);
    const int row = static_cast<int>(i);
    list.InsertItem(row, QString::fromStdString(entry.extension));
    list.SetItem(row, 1, QString::fromStdString(entry.contentType));
    QTreeWidgetItem* item = list.topLevelItem(row);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, entry.enabled ? Qt::Checked : Qt::Unchecked);
  }
}

int PropAppExtSetting_CL::SelectedRow() const {
  const ListView_CL& list = List();
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    if (list.topLevelItem(row)->isSelected()) {
      return row;
    }
  }
  return -1;
}

void PropAppExtSetting_CL::OnItemChanged(QTreeWidgetItem* item, int column) {
  if (column == 0 && editor_->SetChecked(List().indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked)) {
    Changed();
  }
}

std::unique_ptr<PopupMenu_CL> PropAppExtSetting_CL::BuildContextMenu(int selectedRow) {
  rememberedRow_ = selectedRow;
  if (images_.Empty()) {
    images_.LoadStrip(QString::fromStdString((ProgramFolder() / "menu_image.bmp").string()), kImageWidth);
  }
  auto menu = std::make_unique<PopupMenu_CL>();
  menu->SetImageList(&images_);
  menu->AddItem(kCommandAdd, QStringLiteral("拡張子を追加する"), kAddImage);
  menu->AddSeparator();
  menu->AddItem(kCommandDelete, QStringLiteral("拡張子を削除する"), kDeleteImage);
  menu->SetItemEnabled(kCommandDelete, editor_->CanDelete(selectedRow));
  return menu;
}

void PropAppExtSetting_CL::ShowContextMenu(const QPoint& position) {
  ListView_CL& list = List();
  // A click beside the rows selects none, as on the desktop's own lists.
  if (!list.itemAt(position)) {
    list.clearSelection();
  }
  const int command = BuildContextMenu(SelectedRow())->Track(list.viewport()->mapToGlobal(position));
  if (command != 0) {
    OnCommand(command);
  }
}

void PropAppExtSetting_CL::OnCommand(int id) {
  if (id == kCommandAdd) {
    DialogAddUserExt_CL dialog;
    if (dialog.DoModal(this) != 1 || !editor_->AddUserExtension(dialog.GetExtension().toStdString())) {
      return;
    }
    Fill();
    const QList<QTreeWidgetItem*> added = List().findItems(dialog.GetExtension(), Qt::MatchExactly, 0);
    if (!added.empty()) {
      List().setCurrentItem(added.front());
      List().scrollToItem(added.front());
    }
    Changed();
  } else if (id == kCommandDelete && editor_->Delete(rememberedRow_)) {
    Fill();
    Changed();
  }
}

void PropAppExtSetting_CL::Apply(Inifile_CL::Edit_CL& edit) {
  editor_->Apply(edit);
}

} // namespace lumicrate::ui
