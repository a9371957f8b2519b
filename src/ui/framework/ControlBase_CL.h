// The common operations of every control a window creates in code: its identifier (kept on the
// widget as a property, where tests find it), its font, its size from its text, and its place.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace lumicrate::ui {

class ControlBase_CL {
public:
  // The kinds of control, numbered as the window code knows them.
  enum Kind : int {
    kStatic = 1,
    kButton = 2,
    kCheckBox = 3,
    kEdit = 4,
    kListView = 10,
    kGroupBox = 18,
    kProgressBar = 19,
    kTreeView = 20,
  };
  static constexpr const char* kIdProperty = "controlId";

  virtual ~ControlBase_CL() = default;
  ControlBase_CL(const ControlBase_CL&) = delete;
  ControlBase_CL& operator=(const ControlBase_CL&) = delete;

  virtual QWidget& Widget() = 0;
  const QWidget& Widget() const { return const_cast<ControlBase_CL*>(this)->Widget(); }

  int Kind() const { return kind_; }
  int Id() const { return id_; }
  void SetId(int id);

  // The application font scaled (sizes truncated) with the given weight (100 to 900).
  void SetFont(double scale, int weight);
  // extra + columns x the width of the fullwidth W by extra + rows x the height of the fullwidth M.
  void SetSizeInChars(int columns, int rows, int extraWidth, int extraHeight);

  // Position and size within the parent.
  QRect GetRectInParent() const;
  int Width() const;
  int Height() const;
  void MoveX(int x);
  void MoveY(int y);
  void Move(int x, int y);
  void Resize(int width, int height);
  void Hide();
  void Enable(bool enabled);

  virtual QString GetText() const { return {}; }
  virtual void SetText(const QString& /*text*/) {}

  // The size of text drawn in font without wrapping, as the window code measures it.
  static QSize TextSize(const QFont& font, const QString& text);
  static QFont ScaledFont(const QFont& base, double scale, int weight);
  // The font windows are measured in (cw and ch): the screen's own font, a third larger than
  // the controls' application font, as the system font is beside the dialog font.
  static QFont ScreenFont();

protected:
  explicit ControlBase_CL(int kind) : kind_(kind) {}

private:
  int kind_;
  int id_ = 0;
};

// A control of one kind over the Qt widget that shows it.
template <class Widget_T, int kKind> class Control_CL : public Widget_T, public ControlBase_CL {
public:
  QWidget& Widget() override { return *this; }

protected:
  explicit Control_CL(QWidget* parent) : Widget_T(parent), ControlBase_CL(kKind) {}
};

} // namespace lumicrate::ui
