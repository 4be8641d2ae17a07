#include "dialogs/Ask.h"

#include "app/Workspace.h"
#include "controls/ClrBtn.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

TAskDlg* AskDlg = nullptr;

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

TAskDlg::TAskDlg(QWidget* parent) : QDialog(parent) {
    if (!AskDlg)
        AskDlg = this;
    createControls();
    placeControls();
    FormCreate();
}

TAskDlg::~TAskDlg() {
    if (AskDlg == this)
        AskDlg = nullptr;
}

void TAskDlg::createControls() {
    setObjectName(QStringLiteral("AskDlg"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("AskDlg"));
    setFont(DialogLook::PixelFont(QStringLiteral("Arial"), 15));

    AskLabel = new QLabel(this);
    AskLabel->setWordWrap(true);
    AskLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    AskEdit = new NoAutoSelectEdit(this);
    BtnOK = new TClrBtn(QStringLiteral("OK"), this);
    BtnCancel = new TClrBtn(QStringLiteral("Annuleren"), this);
    BtnOK->setModalResult(1);
    BtnCancel->setModalResult(2);
    setTabOrder(AskEdit, BtnOK);
    setTabOrder(BtnOK, BtnCancel);

    connect(BtnOK, &QAbstractButton::clicked, this, &TAskDlg::BtnOKClick);
    connect(BtnCancel, &QAbstractButton::clicked, this, &TAskDlg::BtnCancelClick);
}

void TAskDlg::placeControls() {
    move(568, 293);
    setFixedSize(319, 139);
    AskLabel->setGeometry(9, 8, 301, 16);
    AskEdit->setGeometry(13, 64, 291, 25);
    BtnOK->setGeometry(45, 100, 104, 28);
    BtnCancel->setGeometry(166, 100, 104, 28);
}

void TAskDlg::FormCreate() {
    DialogLook::PaintWindowFace(this);
    DialogLook::PaintButton(BtnOK);
    DialogLook::PaintButton(BtnCancel);
    BtnOK->setText(QStringLiteral("OK"));
    BtnCancel->setText(IsDutch() ? QStringLiteral("Annuleren") : QStringLiteral("Cancel"));
    Accepted = false;
}

bool TAskDlg::Ask(int refTop, int refLeft, int refHeight, int refWidth,
                  const QString& captionSuffix, const QString& prompt, QString& answer) {
    setWindowTitle(ProductName + QStringLiteral(" - ") + captionSuffix);
    AskLabel->setText(prompt);
    AskEdit->setText(answer);
    AskEdit->deselect();

    const int promptWidth = QFontMetrics(font()).horizontalAdvance(prompt);
    const auto l = DialogGeometry::InputVerticalLayout(
        promptWidth, AskLabel->y(), AskLabel->width(), AskEdit->height(), BtnOK->height());
    AskLabel->resize(AskLabel->width(), l.labelHeight);
    AskEdit->move(AskEdit->x(), l.editTop);
    BtnCancel->move(BtnCancel->x(), l.buttonTop);
    BtnOK->move(BtnOK->x(), l.buttonTop);
    setFixedSize(width(), l.clientHeight);

    FCallerTop = refTop;
    FCallerLeft = refLeft;
    FCallerHeight = refHeight;
    FCallerWidth = refWidth;
    CentreOverCaller();
    exec();

    answer = AskEdit->text();
    return Accepted;
}

void TAskDlg::BtnOKClick() {
    Accepted = true;
}

void TAskDlg::BtnCancelClick() {
    Accepted = false;
}

void TAskDlg::reject() {
    BtnCancelClick();
    done(2);
}

void TAskDlg::CentreOverCaller() {
    const QSize outer = size() + (frameGeometry().size() - geometry().size());
    const auto place = DialogGeometry::CentreOver(FCallerTop, FCallerLeft, FCallerHeight,
                                                  FCallerWidth, outer.height(), outer.width());
    move(place.left, place.top);
}

void TAskDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Placed again once shown: only then is the size of the window's frame known.
    CentreOverCaller();
    FocusEdit();
}

void TAskDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FocusEdit();
}

void TAskDlg::FocusEdit() {
    if (!isVisible())
        return;
    AskEdit->setFocus(Qt::OtherFocusReason);
    // The edit shows its text without selecting it.
    raise();
}

bool Ask(int refTop, int refLeft, int refHeight, int refWidth, const QString& captionSuffix,
         const QString& prompt, QString& answer) {
    if (!AskDlg)
        new TAskDlg();
    return AskDlg->Ask(refTop, refLeft, refHeight, refWidth, captionSuffix, prompt, answer);
}
