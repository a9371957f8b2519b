// The property sheet: a tab per page, and OK, キャンセル and 適用 below them. Pages are stored
// only on OK or 適用, all with one replacement of the settings file; Cancel stores nothing.
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <vector>

#include "app/Inifile_CL.h"
#include "ui/framework/SubClassDialogBase_CL.h"

class QPushButton;
class QTabWidget;

namespace lumicrate::ui {

class PropertyPage_CL;

class PropertySheetBuilder : public SubClassDialogBase_CL {
public:
  explicit PropertySheetBuilder(Inifile_CL& settings);
  // The pages belong to the caller and outlive the sheet's window.
  ~PropertySheetBuilder() override;

  void AddPage(PropertyPage_CL& page, const QString& title);
  // What OK stores besides the pages, in the same replacement of the file.
  void SetOnOk(std::function<void(Inifile_CL::Edit_CL&)> store) { onOk_ = std::move(store); }

  // Runs the sheet modally over owner: 1 when it was closed with OK, 0 otherwise.
  int Show(QWidget* owner, const QString& caption);
  // Whether the last OK or 適用 got its keys into the settings file.
  bool Stored() const { return stored_; }

  QTabWidget& Tabs() const { return *tabs_; }
  QPushButton& OkButton() const { return *ok_; }
  QPushButton& CancelButton() const { return *cancel_; }
  QPushButton& ApplyButton() const { return *apply_; }

  // The area every page gets: 320 by 240 dialog units of the sheet's font.
  static QSize PageSize(const QFont& font);

protected:
  void OnInitDialog() override;
  // Centred over the owner each time it shows.
  void showEvent(QShowEvent* event) override;

private:
  friend class PropertyPage_CL;

  void PageChanged();
  void OpenPage(int index);
  void Store(bool closing);

  Inifile_CL& settings_;
  std::function<void(Inifile_CL::Edit_CL&)> onOk_;
  std::vector<PropertyPage_CL*> pages_;
  std::vector<QString> titles_;
  std::vector<bool> built_;
  bool stored_ = false;
  QTabWidget* tabs_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* apply_ = nullptr;
};

} // namespace lumicrate::ui
