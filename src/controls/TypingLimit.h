// Limits what the user types into a line edit to a number of characters, while a text the
// program puts there stays whole: after a longer text is set, the user may edit it but not
// make it longer, and once the field is empty the limit holds again. (QLineEdit's own maximum
// length cuts every text, also one the program sets.)
#pragma once

#include <QValidator>

class QLineEdit;

class TypingLimit : public QValidator {
public:
    TypingLimit(QLineEdit* edit, int maxTyped);

    State validate(QString& input, int& pos) const override;

private:
    QLineEdit* edit_;
    int maxTyped_;
    int setLength_ = 0; // the length of the text the program set last
};
