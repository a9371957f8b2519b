// Creates, numbers and owns the controls of one window: identifiers are handed out in creation
// order from the first one given (0x1100 in every window), and controls are found by index.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "ui/framework/ControlBase_CL.h"

class QWidget;

namespace lumicrate::ui {

class ControlFactory_CL {
public:
  static constexpr int kFirstId = 0x1100;
  static constexpr int kOkId = 0x1000;
  static constexpr int kCancelId = 0x1002;
  // Margin of the OK / Cancel pair from the window's edges and between the two.
  static constexpr int kButtonMargin = 4;

  // Receives the identifier of a button or check box the user pressed.
  using CommandHandler = std::function<void(int id)>;

  explicit ControlFactory_CL(int firstId = kFirstId, CommandHandler onCommand = {});
  ~ControlFactory_CL();
  ControlFactory_CL(const ControlFactory_CL&) = delete;
  ControlFactory_CL& operator=(const ControlFactory_CL&) = delete;

  // Each returns the new control's index in the factory (not its identifier).
  int CreateStatic(QWidget* parent, const QString& text, int x, int y);
  int CreateButton(QWidget* parent, const QString& text, int x, int y);
  int CreateCheckBox(QWidget* parent, const QString& text, int x, int y, bool checked);
  int CreateEdit(QWidget* parent, int columns, int rows, int x, int y);
  int CreateListView(QWidget* parent, int width, int height, int x, int y);
  int CreateTreeView(QWidget* parent, int width, int height, int x, int y);
  int CreateGroupBox(QWidget* parent, const QString& text, int width, int height, int x, int y);
  int CreateProgressBar(QWidget* parent, int width, int height, int x, int y);

  ControlBase_CL& Get(int index) const { return *controls_.at(index); }
  template <class Control_T> Control_T& GetAs(int index) const { return dynamic_cast<Control_T&>(Get(index)); }
  int Count() const { return static_cast<int>(controls_.size()); }

  // Places the controls one below the other from top: each next top is the previous top plus
  // the previous height plus gap.
  void StackVertically(std::initializer_list<int> indices, int top, int gap);
  void StackVertically(int first, int last, int top, int gap);

  // Two buttons with the identifiers 0x1000 and 0x1002 at the bottom right of parent: the
  // second in the corner, the first to its left. Returns their indices.
  std::pair<int, int> CreateOkCancel(QWidget* parent, const QString& okText, const QString& cancelText);
  // Puts the pair back in the corner after parent changed size.
  void PlaceOkCancel(QWidget* parent, std::pair<int, int> pair);

private:
  template <class Control_T, class... Args> int Add(QWidget* parent, int x, int y, Args&&... args);
  void StackVertically(const std::vector<int>& indices, int top, int gap);

  int nextId_;
  CommandHandler onCommand_;
  std::vector<ControlBase_CL*> controls_;
  std::vector<QPointer<QWidget>> widgets_;
};

} // namespace lumicrate::ui
