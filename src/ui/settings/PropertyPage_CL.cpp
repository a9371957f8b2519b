// A page is a dialog living inside the sheet: the keys a dialog would take for itself are left
// to the sheet around it.
#include "ui/settings/PropertyPage_CL.h"

#include <QKeyEvent>

#include "ui/settings/PropertySheetBuilder.h"

namespace lumicrate::ui {

void PropertyPage_CL::Changed() {
  if (sheet_) {
    sheet_->PageChanged();
  }
}

void PropertyPage_CL::keyPressEvent(QKeyEvent* event) {
  // QWidget's handler passes the key on to the parent, where QDialog's would close the page.
  QWidget::keyPressEvent(event);
}

} // namespace lumicrate::ui
