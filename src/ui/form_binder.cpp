#include "ui/form_binder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include "ui/spin_field.h"
#include "ui/ui_support.h"

namespace tavilo::ui {
namespace {

constexpr std::size_t slot(FieldId id) {
  return fieldIndex(id);
}

QString chosenStyle(bool chosen) {
  return chosen ? QStringLiteral("color: #000080; font-weight: bold;")
                : QStringLiteral("color: black; font-weight: normal;");
}

}  // namespace

FormBinder::FormBinder(InputForm& form, QWidget* window)
    : QObject(window), form_(form), window_(window) {}

QWidget* FormBinder::widget(FieldId id) const {
  const std::size_t i = slot(id);
  return i < widgets_.size() ? widgets_[i].data() : nullptr;
}

void FormBinder::bind(FieldId id, QWidget* widget) {
  widgets_[slot(id)] = widget;
  widget->setProperty("tavilo.field", static_cast<int>(id));
  widget->installEventFilter(this);
  connectWidget(id, widget);
}

void FormBinder::bindChoice(FieldId id, std::vector<QAbstractButton*> buttons,
                            std::function<FormEvents(int)> click) {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    QAbstractButton* button = buttons[i];
    button->setProperty("tavilo.field", static_cast<int>(id));
    button->installEventFilter(this);
    connect(button, &QAbstractButton::clicked, this,
            [this, click, i] { carryOut(click(static_cast<int>(i))); });
  }
  choiceButtons_[slot(id)] = std::move(buttons);
}

void FormBinder::bindOption(FieldId id, QAbstractButton* button,
                            std::function<FormEvents()> click) {
  widgets_[slot(id)] = button;
  button->setProperty("tavilo.field", static_cast<int>(id));
  button->installEventFilter(this);
  connect(button, &QAbstractButton::clicked, this, [this, click] { carryOut(click()); });
}

void FormBinder::bindCaption(FieldId id, QLabel* caption) {
  captions_[slot(id)] = caption;
}

void FormBinder::connectWidget(FieldId id, QWidget* widget) {
  const FieldKind kind = fieldInfo(id).kind;
  if (kind == FieldKind::Text || kind == FieldKind::Spin)
    filterTypedKeys(*widget, [this, id](char32_t key) { return form_.acceptsKey(id, key); });
  if (auto* list = qobject_cast<QComboBox*>(widget)) {
    connect(list, &QComboBox::activated, this,
            [this, id](int index) { carryOut(form_.selectIndex(id, index)); });
    return;
  }
  if (auto* spin = qobject_cast<SpinField*>(widget)) {
    connect(spin, &SpinField::stepRequested, this,
            [this, id](int direction) { carryOut(form_.stepSpin(id, direction)); });
    connect(spin, &SpinField::textEditedByUser, this, [this, id](const QString& text) {
      carryOut(form_.editText(id, utf8(text)));
      update(id);  // a refused edit leaves the model as it was
    });
    return;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
      carryOut(form_.editText(id, utf8(text)));
      update(id);
    });
    return;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [this, id] {
      if (!takeRefusedClick(id))
        emit buttonClicked(id);
    });
  }
}

bool FormBinder::takeRefusedClick(FieldId id) {
  if (refusedClick_ != id)
    return false;
  refusedClick_ = FieldId::None;
  return true;
}

FieldId FormBinder::fieldOf(QObject* object) const {
  const QVariant field = object->property("tavilo.field");
  return field.isValid() ? static_cast<FieldId>(field.toInt()) : FieldId::None;
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
  const FieldId id = fieldOf(watched);
  if (id == FieldId::None)
    return false;
  if (event->type() == QEvent::Enter) {
    form_.pointerRestsOn(id);
    refresh();
  } else if (event->type() == QEvent::FocusIn && !following_) {
    refusedClick_ = FieldId::None;
    const FormEvents events = form_.focusField(id);
    if (form_.focus() != id)
      refusedClick_ = id;
    carryOut(events);
  }
  return false;
}

void FormBinder::focusWidget(FieldId id) {
  const std::size_t i = slot(id);
  QWidget* target = i < widgets_.size() ? widgets_[i].data() : nullptr;
  if (target == nullptr && i < choiceButtons_.size() && !choiceButtons_[i].empty()) {
    const int chosen = std::max(form_.index(id), 0);
    const auto& buttons = choiceButtons_[i];
    target = buttons[std::min(static_cast<std::size_t>(chosen), buttons.size() - 1)];
  }
  if (target != nullptr && target->isVisible() && QApplication::focusWidget() != target)
    target->setFocus(Qt::OtherFocusReason);
}

void FormBinder::carryOut(const FormEvents& events) {
  following_ = true;
  for (const FormEvent& event : events) {
    if (event.kind == FormEvent::Kind::Message) {
      showMessage(window_, qs(event.text));
    } else {
      focusWidget(event.field);
    }
  }
  refresh();
  // A message box hands the focus back where it was; the model decides.
  if (window_->isActiveWindow())
    focusWidget(form_.focus());
  following_ = false;
}

void FormBinder::refresh() {
  const FormChanges changes = form_.takeChanges();
  if (changes.groups) {
    for (std::size_t i = 0; i < kInputScreenFieldCount; ++i)
      update(static_cast<FieldId>(i));
  } else {
    for (const FieldId id : changes.fields)
      update(id);
  }
  if (changes.groups)
    emit groupsChanged();
  if (changes.window)
    emit windowChanged();
  if (changes.pictures)
    emit picturesChanged();
  if (!changes.fields.empty() || changes.groups)
    emit formChanged();
}

void FormBinder::update(FieldId id) {
  const std::size_t i = slot(id);
  const FieldInfo& info = fieldInfo(id);
  const Hint hint = form_.hint(id);
  if (!choiceButtons_[i].empty()) {
    styleChoice(id);
    return;
  }
  QWidget* widget = widgets_[i].data();
  if (widget == nullptr)
    return;
  widget->setVisible(form_.isShown(id));
  widget->setEnabled(form_.isEnabled(id));
  widget->setToolTip(qs(hint.shortText));

  switch (info.kind) {
    case FieldKind::List: {
      auto* list = static_cast<QComboBox*>(widget);
      QStringList items;
      for (const std::string& item : form_.items(id))
        items << qs(item);
      const QSignalBlocker blocker(list);
      QStringList shown;
      for (int k = 0; k < list->count(); ++k)
        shown << list->itemText(k);
      if (shown != items) {
        list->clear();
        list->addItems(items);
      }
      list->setCurrentIndex(form_.index(id));
      break;
    }
    case FieldKind::Spin: {
      auto* spin = static_cast<SpinField*>(widget);
      spin->showText(qs(form_.text(id)));
      spin->setTypingAllowed(info.keys != KeyRule::NoTyping);
      break;
    }
    case FieldKind::Text: {
      auto* edit = static_cast<QLineEdit*>(widget);
      showLineText(*edit, qs(form_.text(id)));
      edit->setReadOnly(!form_.takesTyping(id));
      break;
    }
    case FieldKind::Check:
      static_cast<QAbstractButton*>(widget)->setChecked(form_.index(id) == 1);
      if (QLabel* caption = captions_[i].data()) {
        const Rgb colour = form_.heavySnowCaptionColour();
        caption->setStyleSheet(QStringLiteral("color: rgb(%1, %2, %3);")
                                   .arg(colour.red)
                                   .arg(colour.green)
                                   .arg(colour.blue));
      }
      break;
    case FieldKind::Option: {
      auto* button = static_cast<QAbstractButton*>(widget);
      button->setChecked(form_.index(id) == 1);
      button->setStyleSheet(chosenStyle(form_.index(id) == 1));
      break;
    }
    case FieldKind::Display:
      if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(qs(form_.text(id)));
      break;
    case FieldKind::Choice:
    case FieldKind::Button:
      break;
  }
}

void FormBinder::styleChoice(FieldId id) {
  const auto& buttons = choiceButtons_[slot(id)];
  const int chosen = form_.index(id);
  for (std::size_t k = 0; k < buttons.size(); ++k) {
    const bool isChosen = static_cast<int>(k) == chosen;
    buttons[k]->setChecked(isChosen);
    buttons[k]->setStyleSheet(chosenStyle(isChosen));
  }
}

}  // namespace tavilo::ui
