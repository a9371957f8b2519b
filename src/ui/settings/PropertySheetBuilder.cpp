// Pages are built when their tab is first shown, so pages the user never opened store nothing.
// OK and 適用 collect every built page's keys in one edit of the settings file.
#include "ui/settings/PropertySheetBuilder.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QPushButton>
#include <QTabWidget>

#include "ui/settings/PropertyPage_CL.h"

namespace lumicrate::ui {

PropertySheetBuilder::PropertySheetBuilder(Inifile_CL& settings) : settings_(settings) {}

PropertySheetBuilder::~PropertySheetBuilder() {
  for (PropertyPage_CL* page : pages_) {
    page->sheet_ = nullptr;
    page->setParent(nullptr);
  }
}

void PropertySheetBuilder::AddPage(PropertyPage_CL& page, const QString& title) {
  page.sheet_ = this;
  pages_.push_back(&page);
  titles_.push_back(title);
  built_.push_back(false);
}

QSize PropertySheetBuilder::PageSize(const QFont& font) {
  // Dialog units: a quarter of the average letter's width, an eighth of the line's height.
  const QFontMetrics metrics(font);
  const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int averageWidth = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
  return {320 * averageWidth / 4, 240 * metrics.height() / 8};
}

void PropertySheetBuilder::OnInitDialog() {
  tabs_ = new QTabWidget(this);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
  apply_ = new QPushButton(QStringLiteral("適用"), this);
  ok_->setDefault(true);
  apply_->setEnabled(false);

  const QSize pageSize = PageSize(font());
  for (size_t i = 0; i < pages_.size(); ++i) {
    pages_[i]->setFixedSize(pageSize);
    tabs_->addTab(pages_[i], titles_[i]);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {ok_, cancel_, apply_}) {
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ok_, &QPushButton::clicked, this, [this] {
    Store(true);
    done(1);
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(0); });
  connect(apply_, &QPushButton::clicked, this, [this] { Store(false); });
  connect(tabs_, &QTabWidget::currentChanged, this, &PropertySheetBuilder::OpenPage);
  if (!pages_.empty()) {
    OpenPage(0);
  }
}

int PropertySheetBuilder::Show(QWidget* owner, const QString& caption) {
  SetText(caption);
  return DoModal(owner) == 1 ? 1 : 0;
}

void PropertySheetBuilder::showEvent(QShowEvent* event) {
  SubClassDialogBase_CL::showEvent(event);
  CentreOver(parentWidget(), false);
}

void PropertySheetBuilder::OpenPage(int index) {
  if (index < 0 || static_cast<size_t>(index) >= pages_.size() || built_[static_cast<size_t>(index)]) {
    return;
  }
  built_[static_cast<size_t>(index)] = true;
  pages_[static_cast<size_t>(index)]->Initialise();
}

void PropertySheetBuilder::PageChanged() {
  apply_->setEnabled(true);
}

void PropertySheetBuilder::Store(bool closing) {
  Inifile_CL::Edit_CL edit(settings_);
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (built_[i]) {
      pages_[i]->Apply(edit);
    }
  }
  if (closing && onOk_) {
    onOk_(edit);
  }
  stored_ = edit.Commit();
  apply_->setEnabled(false);
}

} // namespace lumicrate::ui
