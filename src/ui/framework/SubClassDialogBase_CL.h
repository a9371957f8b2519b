// The base of every dialog of the program: built once before it first shows (where the
// controls are created and laid out), shown modally over its owner, and measured in the
// fullwidth letter W of the screen's font.
#pragma once

#include <QDialog>
#include <QRect>
#include <optional>

namespace lumicrate::ui {

class SubClassDialogBase_CL : public QDialog {
public:
  // The client area, its width and height, and the size of the fullwidth W (cw by ch).
  struct Metrics {
    QRect client;
    int width = 0;
    int height = 0;
    int cw = 0;
    int ch = 0;
  };

  explicit SubClassDialogBase_CL(QWidget* owner = nullptr);

  // Builds the dialog if that has not happened yet, then runs it modally over owner (none for
  // a top-level window); returns the code it was ended with (0 when closed).
  int DoModal(QWidget* owner);
  // Builds the dialog once: OnInitDialog runs on the first call only.
  void Initialise();

  void SetText(const QString& text) { setWindowTitle(text); }
  Metrics LayoutMetrics() const;
  QRect ClientRect() const;
  int TextHeight(const QString& text) const;
  // Centres the window over owner's window rectangle, or over the screen when owner is
  // minimised, missing, or onScreen is set; the window keeps its size.
  void CentreOver(QWidget* owner, bool onScreen);
  // Gives the window an outer size, frame included, at (x, y). The window manager frames a
  // window only once it shows, so the size is applied again then; a fixed size stays for good.
  void MoveOuter(int x, int y, int width, int height, bool fixed);

protected:
  virtual void OnInitDialog() {}
  // The window's frame has changed size (it has just been framed): the outer size is applied again.
  virtual void OnFrameChanged();
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  // Where the controls live: the whole dialog, or below a menu bar.
  virtual QWidget& ClientArea() { return *this; }
  const QWidget& ClientArea() const { return const_cast<SubClassDialogBase_CL*>(this)->ClientArea(); }

private:
  void CheckFrame();

  bool initialised_ = false;
  QSize frame_;
  std::optional<QSize> outerSize_;
  bool fixedSize_ = false;
};

} // namespace lumicrate::ui
