// The base of every dialog of the program: built once before it first shows (where the
// controls are created and laid out), shown modally over its owner, and measured in the
// fullwidth letter W of its font.
#pragma once

#include <QDialog>
#include <QRect>

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

protected:
  virtual void OnInitDialog() {}
  // Where the controls live: the whole dialog, or below a menu bar.
  virtual QWidget& ClientArea() { return *this; }
  const QWidget& ClientArea() const { return const_cast<SubClassDialogBase_CL*>(this)->ClientArea(); }

private:
  bool initialised_ = false;
};

} // namespace lumicrate::ui
