// Win32's in-memory templates and dialog procedures have no counterpart here: a dialog is a
// QDialog whose controls are made in OnInitDialog, just before it first shows.
#include "ui/framework/SubClassDialogBase_CL.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/framework/ControlBase_CL.h"
#include "ui/framework/HighDpiHelper_CL.h"

namespace lumicrate::ui {

SubClassDialogBase_CL::SubClassDialogBase_CL(QWidget* owner) : QDialog(owner) {}

void SubClassDialogBase_CL::Initialise() {
  if (!initialised_) {
    initialised_ = true;
    OnInitDialog();
  }
}

int SubClassDialogBase_CL::DoModal(QWidget* owner) {
  if (owner != parentWidget()) {
    setParent(owner, windowFlags());
  }
  Initialise();
  return exec();
}

SubClassDialogBase_CL::Metrics SubClassDialogBase_CL::LayoutMetrics() const {
  Metrics metrics;
  metrics.client = ClientRect();
  metrics.width = metrics.client.width();
  metrics.height = metrics.client.height();
  const QSize w = ControlBase_CL::TextSize(ControlBase_CL::ScreenFont(), QStringLiteral("\uFF37"));
  metrics.cw = w.width();
  metrics.ch = w.height();
  return metrics;
}

QRect SubClassDialogBase_CL::ClientRect() const {
  return ClientArea().rect();
}

int SubClassDialogBase_CL::TextHeight(const QString& text) const {
  return ControlBase_CL::TextSize(font(), text).height();
}

void SubClassDialogBase_CL::CentreOver(QWidget* owner, bool onScreen) {
  QRect area;
  if (onScreen || !owner || owner->isMinimized()) {
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    area = screen ? screen->availableGeometry() : QRect();
  } else {
    area = owner->frameGeometry();
  }
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void SubClassDialogBase_CL::MoveOuter(int x, int y, int width, int height, bool fixed) {
  outerSize_ = QSize(width, height);
  fixedSize_ = fixed;
  HighDpiHelper_CL().MoveScaled(*this, x, y, width, height);
  if (fixed) {
    setFixedSize(size());
  }
}

void SubClassDialogBase_CL::OnFrameChanged() {
  if (!outerSize_) {
    return;
  }
  const QSize outer = *outerSize_;
  if (fixedSize_) {
    setFixedSize(outer - frame_);
  } else {
    outerSize_.reset();
  }
  HighDpiHelper_CL::ResizeOuter(*this, outer.width(), outer.height());
}

void SubClassDialogBase_CL::CheckFrame() {
  const QSize frame = frameGeometry().size() - size();
  if (frame != frame_) {
    frame_ = frame;
    OnFrameChanged();
  }
}

void SubClassDialogBase_CL::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CheckFrame();
}

void SubClassDialogBase_CL::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  CheckFrame();
}

} // namespace lumicrate::ui
