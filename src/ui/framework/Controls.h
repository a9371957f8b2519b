// The kinds of control the windows create in code, each a thin Qt widget that the window's
// ControlFactory_CL sizes from its text at creation.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include "ui/framework/ControlBase_CL.h"

namespace lumicrate::ui {

// Sized to its text.
class StaticText_CL : public Control_CL<QLabel, ControlBase_CL::kStatic> {
public:
  StaticText_CL(QWidget* parent, const QString& text);
  QString GetText() const override { return text(); }
  void SetText(const QString& text) override;
};

// Sized to its text plus 8 pixels each way.
class Button_CL : public Control_CL<QPushButton, ControlBase_CL::kButton> {
public:
  Button_CL(QWidget* parent, const QString& text);
  QString GetText() const override { return text(); }
  void SetText(const QString& text) override { setText(text); }
};

// Its text plus 32 pixels for the box, by the text's height.
class CheckBox_CL : public Control_CL<QCheckBox, ControlBase_CL::kCheckBox> {
public:
  CheckBox_CL(QWidget* parent, const QString& text, bool checked);
  QString GetText() const override { return text(); }
  void SetText(const QString& text) override { setText(text); }
  bool GetCheck() const { return isChecked(); }
  void SetCheck(bool checked) { setChecked(checked); }
};

// columns x the width of "W" + 6 by rows x the height of "M" + 6.
class Edit_CL : public Control_CL<QLineEdit, ControlBase_CL::kEdit> {
public:
  Edit_CL(QWidget* parent, int columns, int rows);
  QString GetText() const override { return text(); }
  void SetText(const QString& text) override { setText(text); }
  void LimitText(int characters) { setMaxLength(characters); }
};

// A list in report view: rows of columns.
class ListView_CL : public Control_CL<QTreeWidget, ControlBase_CL::kListView> {
public:
  ListView_CL(QWidget* parent, int width, int height);
  // Appends a column; returns its index.
  int InsertColumn(const QString& text, int width);
  void InsertItem(int row, const QString& text);
  void SetItem(int row, int column, const QString& text);
  void DeleteAllItems() { clear(); }
};

// Drawn behind the controls it frames and transparent to the mouse, so they stay usable.
class GroupBox_CL : public Control_CL<QGroupBox, ControlBase_CL::kGroupBox> {
public:
  GroupBox_CL(QWidget* parent, const QString& text, int width, int height);
  QString GetText() const override { return title(); }
  void SetText(const QString& text) override { setTitle(text); }
};

class ProgressBar_CL : public Control_CL<QProgressBar, ControlBase_CL::kProgressBar> {
public:
  ProgressBar_CL(QWidget* parent, int width, int height);
  void SetRange(int low, int high) { setRange(low, high); }
  // A value outside the range shows as the nearer end.
  void SetPos(int value);
};

class TreeView_CL : public Control_CL<QTreeWidget, ControlBase_CL::kTreeView> {
public:
  TreeView_CL(QWidget* parent, int width, int height);
  // Appends an item under parent, or at the top level for none.
  QTreeWidgetItem* InsertTreeItem(QTreeWidgetItem* parent, const QString& text);
  void DeleteAllTreeItems() { clear(); }
};

} // namespace lumicrate::ui
