// The creation sizes of each kind of control. Texts are plain: a "<" in a folder name is shown,
// never read as markup.
#include "ui/framework/Controls.h"

#include <QHeaderView>
#include <algorithm>

namespace lumicrate::ui {
namespace {

QSize TextSizeOf(const QWidget& widget, const QString& text) {
  return ControlBase_CL::TextSize(widget.font(), text);
}

} // namespace

StaticText_CL::StaticText_CL(QWidget* parent, const QString& text) : Control_CL(parent) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SetText(text);
  resize(TextSizeOf(*this, this->text()));
}

void StaticText_CL::SetText(const QString& text) {
  // The window texts end lines with CR LF; the label breaks at LF alone.
  setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

Button_CL::Button_CL(QWidget* parent, const QString& text) : Control_CL(parent) {
  setText(text);
  setAutoDefault(false);
  resize(TextSizeOf(*this, text) + QSize(8, 8));
}

CheckBox_CL::CheckBox_CL(QWidget* parent, const QString& text, bool checked) : Control_CL(parent) {
  setText(text);
  setChecked(checked);
  const QSize size = TextSizeOf(*this, text);
  resize(size.width() + 32, size.height());
}

Edit_CL::Edit_CL(QWidget* parent, int columns, int rows) : Control_CL(parent) {
  resize(columns * TextSizeOf(*this, QStringLiteral("W")).width() + 6,
         rows * TextSizeOf(*this, QStringLiteral("M")).height() + 6);
}

ListView_CL::ListView_CL(QWidget* parent, int width, int height) : Control_CL(parent) {
  setColumnCount(0);
  setRootIsDecorated(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  resize(width, height);
}

int ListView_CL::InsertColumn(const QString& text, int width) {
  const int column = columnCount();
  setColumnCount(column + 1);
  headerItem()->setText(column, text);
  setColumnWidth(column, width);
  return column;
}

void ListView_CL::InsertItem(int row, const QString& text) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  insertTopLevelItem(row, item);
}

void ListView_CL::SetItem(int row, int column, const QString& text) {
  if (QTreeWidgetItem* item = topLevelItem(row)) {
    item->setText(column, text);
  }
}

GroupBox_CL::GroupBox_CL(QWidget* parent, const QString& text, int width, int height) : Control_CL(parent) {
  setTitle(text);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  lower();
  resize(width, height);
}

ProgressBar_CL::ProgressBar_CL(QWidget* parent, int width, int height) : Control_CL(parent) {
  setTextVisible(false);
  resize(width, height);
}

void ProgressBar_CL::SetPos(int value) {
  setValue(std::clamp(value, minimum(), maximum()));
}

TreeView_CL::TreeView_CL(QWidget* parent, int width, int height) : Control_CL(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  resize(width, height);
}

QTreeWidgetItem* TreeView_CL::InsertTreeItem(QTreeWidgetItem* parent, const QString& text) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  if (parent) {
    parent->addChild(item);
  } else {
    addTopLevelItem(item);
  }
  return item;
}

} // namespace lumicrate::ui
