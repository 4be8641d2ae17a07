#include "dialogs/TextInputDialog.h"

#include "controls/ColourButton.h"
#include "cover/Workspace.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

// An edit field that does not select its text when it gets the focus.
class NoAutoSelectEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        deselect();
    }
};

} // namespace

TextInputDialog::TextInputDialog(QWidget* parent) : QDialog(parent) {
    createControls();
    placeControls();
    initialise();
}

TextInputDialog::~TextInputDialog() = default;

void TextInputDialog::createControls() {
    setObjectName(QStringLiteral("textInputDialog"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("AskDlg"));
    setFont(DialogLook::pixelFont(QStringLiteral("Arial"), 15));

    promptLabel = new QLabel(this);
    promptLabel->setWordWrap(true);
    promptLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    answerEdit = new NoAutoSelectEdit(this);
    okButton = new ColourButton(QStringLiteral("OK"), this);
    cancelButton = new ColourButton(QStringLiteral("Annuleren"), this);
    okButton->setModalResult(1);
    cancelButton->setModalResult(2);
    setTabOrder(answerEdit, okButton);
    setTabOrder(okButton, cancelButton);

    connect(okButton, &QAbstractButton::clicked, this, &TextInputDialog::confirm);
    connect(cancelButton, &QAbstractButton::clicked, this, &TextInputDialog::answerCancel);
}

void TextInputDialog::placeControls() {
    move(568, 293);
    setFixedSize(319, 139);
    promptLabel->setGeometry(9, 8, 301, 16);
    answerEdit->setGeometry(13, 64, 291, 25);
    okButton->setGeometry(45, 100, 104, 28);
    cancelButton->setGeometry(166, 100, 104, 28);
}

void TextInputDialog::initialise() {
    DialogLook::paintWindowFace(this);
    DialogLook::paintButton(okButton);
    DialogLook::paintButton(cancelButton);
    okButton->setText(QStringLiteral("OK"));
    cancelButton->setText(tr("Cancel"));
    okChosen = false;
}

TextInputDialog::Result TextInputDialog::ask(const QRect& caller, const QString& captionSuffix,
                                             const QString& prompt, const QString& answer) {
    setWindowTitle(ProductName + QStringLiteral(" - ") + captionSuffix);
    promptLabel->setText(prompt);
    answerEdit->setText(answer);
    answerEdit->deselect();

    const int promptWidth = QFontMetrics(font()).horizontalAdvance(prompt);
    const auto l =
        DialogGeometry::inputVerticalLayout(promptWidth, promptLabel->y(), promptLabel->width(),
                                            answerEdit->height(), okButton->height());
    promptLabel->resize(promptLabel->width(), l.labelHeight);
    answerEdit->move(answerEdit->x(), l.editTop);
    cancelButton->move(cancelButton->x(), l.buttonTop);
    okButton->move(okButton->x(), l.buttonTop);
    setFixedSize(width(), l.clientHeight);

    caller_ = caller;
    centreOverCaller();
    exec();
    return {okChosen, answerEdit->text()};
}

void TextInputDialog::confirm() {
    okChosen = true;
}

void TextInputDialog::answerCancel() {
    okChosen = false;
}

void TextInputDialog::reject() {
    answerCancel();
    done(2);
}

void TextInputDialog::centreOverCaller() {
    const QSize outer = size() + (frameGeometry().size() - geometry().size());
    const auto place = DialogGeometry::centreOver(caller_, outer);
    move(place.left, place.top);
}

void TextInputDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Placed again once shown: only then is the size of the window's frame known.
    centreOverCaller();
    focusAnswer();
}

void TextInputDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        focusAnswer();
}

void TextInputDialog::focusAnswer() {
    if (!isVisible())
        return;
    answerEdit->setFocus(Qt::OtherFocusReason);
    // The edit shows its text without selecting it.
    raise();
}
