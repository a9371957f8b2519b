// The factory deletes its controls before their window goes, so a window object can hold its
// factory as a member and never sees a control outlive it.
#include "ui/framework/ControlFactory_CL.h"

#include <QWidget>
#include <numeric>

#include "ui/framework/Controls.h"

namespace lumicrate::ui {

ControlFactory_CL::ControlFactory_CL(int firstId, CommandHandler onCommand)
    : nextId_(firstId), onCommand_(std::move(onCommand)) {}

ControlFactory_CL::~ControlFactory_CL() {
  for (const QPointer<QWidget>& widget : widgets_) {
    delete widget.data();
  }
}

template <class Control_T, class... Args> int ControlFactory_CL::Add(QWidget* parent, int x, int y, Args&&... args) {
  auto* control = new Control_T(parent, std::forward<Args>(args)...);
  control->SetId(nextId_++);
  control->move(x, y);
  control->show();
  if constexpr (std::is_base_of_v<QAbstractButton, Control_T>) {
    if (onCommand_) {
      QObject::connect(control, &QAbstractButton::clicked, [this, control] { onCommand_(control->Id()); });
    }
  }
  controls_.push_back(control);
  widgets_.emplace_back(control);
  return static_cast<int>(controls_.size()) - 1;
}

int ControlFactory_CL::CreateStatic(QWidget* parent, const QString& text, int x, int y) {
  return Add<StaticText_CL>(parent, x, y, text);
}

int ControlFactory_CL::CreateButton(QWidget* parent, const QString& text, int x, int y) {
  return Add<Button_CL>(parent, x, y, text);
}

int ControlFactory_CL::CreateCheckBox(QWidget* parent, const QString& text, int x, int y, bool checked) {
  return Add<CheckBox_CL>(parent, x, y, text, checked);
}

int ControlFactory_CL::CreateEdit(QWidget* parent, int columns, int rows, int x, int y) {
  return Add<Edit_CL>(parent, x, y, columns, rows);
}

int ControlFactory_CL::CreateListView(QWidget* parent, int width, int height, int x, int y) {
  return Add<ListView_CL>(parent, x, y, width, height);
}

int ControlFactory_CL::CreateTreeView(QWidget* parent, int width, int height, int x, int y) {
  return Add<TreeView_CL>(parent, x, y, width, height);
}

int ControlFactory_CL::CreateGroupBox(QWidget* parent, const QString& text, int width, int height, int x, int y) {
  return Add<GroupBox_CL>(parent, x, y, text, width, height);
}

int ControlFactory_CL::CreateProgressBar(QWidget* parent, int width, int height, int x, int y) {
  return Add<ProgressBar_CL>(parent, x, y, width, height);
}

void ControlFactory_CL::StackVertically(const std::vector<int>& indices, int top, int gap) {
  for (const int index : indices) {
    ControlBase_CL& control = Get(index);
    control.MoveY(top);
    top += control.Height() + gap;
  }
}

void ControlFactory_CL::StackVertically(std::initializer_list<int> indices, int top, int gap) {
  StackVertically(std::vector<int>(indices), top, gap);
}

void ControlFactory_CL::StackVertically(int first, int last, int top, int gap) {
  std::vector<int> indices(static_cast<size_t>(std::max(0, last - first + 1)));
  std::iota(indices.begin(), indices.end(), first);
  StackVertically(indices, top, gap);
}

std::pair<int, int> ControlFactory_CL::CreateOkCancel(QWidget* parent, const QString& okText,
                                                      const QString& cancelText) {
  const int ok = CreateButton(parent, okText, 0, 0);
  const int cancel = CreateButton(parent, cancelText, 0, 0);
  Get(ok).SetId(kOkId);
  Get(cancel).SetId(kCancelId);
  PlaceOkCancel(parent, {ok, cancel});
  return {ok, cancel};
}

void ControlFactory_CL::PlaceOkCancel(QWidget* parent, std::pair<int, int> pair) {
  ControlBase_CL& second = Get(pair.second);
  second.Move(parent->width() - second.Width() - kButtonMargin, parent->height() - second.Height() - kButtonMargin);
  ControlBase_CL& first = Get(pair.first);
  first.Move(second.GetRectInParent().x() - kButtonMargin - first.Width(),
             parent->height() - first.Height() - kButtonMargin);
}

} // namespace lumicrate::ui
