#include "controls/TypingLimit.h"

#include <QLineEdit>

TypingLimit::TypingLimit(QLineEdit* edit, int maxTyped)
    : QValidator(edit), edit_(edit), maxTyped_(maxTyped) {
    edit->setValidator(this);
    // A text the program sets leaves the field unmodified; one the user types does not.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        // A field the user has emptied takes a new name, of at most maxTyped characters.
        if (!edit_->isModified() || text.isEmpty())
            setLength_ = int(text.size());
    });
}

QValidator::State TypingLimit::validate(QString& input, int&) const {
    if (!edit_->isModified())
        return Acceptable;
    return input.size() <= std::max(maxTyped_, setLength_) ? Acceptable : Invalid;
}
