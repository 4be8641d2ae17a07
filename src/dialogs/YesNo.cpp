#include "dialogs/YesNo.h"

#include "controls/ClrBtn.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"

#include <QFontMetrics>
#include <QFrame>
#include <QTextEdit>

TYesNoDlg* YesNoDlg = nullptr;

namespace {

// The window's outer size for a client size, with the frame the system has given it so far.
QSize OuterSize(const QWidget* window, QSize client) {
    return client + (window->frameGeometry().size() - window->geometry().size());
}

} // namespace

TYesNoDlg::TYesNoDlg(QWidget* parent) : QDialog(parent) {
    if (!YesNoDlg)
        YesNoDlg = this;
    createControls();
    placeControls();
    FormCreate();
}

TYesNoDlg::~TYesNoDlg() {
    if (YesNoDlg == this)
        YesNoDlg = nullptr;
}

void TYesNoDlg::createControls() {
    setObjectName(QStringLiteral("YesNoDlg"));
    // A dialog border without a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("YesNoDlg"));
    setFont(DialogLook::PixelFont(QStringLiteral("Verdana"), 14));

    MessagePanel = new QFrame(this);
    MessagePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    MessagePanel->setLineWidth(1);

    MessageMemo = new QTextEdit(MessagePanel);
    MessageMemo->setFrameStyle(QFrame::NoFrame);
    MessageMemo->setReadOnly(true);
    MessageMemo->setFocusPolicy(Qt::NoFocus);
    MessageMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MessageMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MessageMemo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    MessageMemo->setLineWrapMode(QTextEdit::FixedPixelWidth);
    MessageMemo->document()->setDocumentMargin(0);

    const QFont buttonFont = DialogLook::PixelFont(QStringLiteral("Verdana"), 16);
    BtnYes = new TClrBtn(QStringLiteral("Ja"), this);
    BtnCancel = new TClrBtn(QStringLiteral("Annuleren"), this);
    BtnNo = new TClrBtn(QStringLiteral("Nee"), this);
    for (TClrBtn* b : {BtnYes, BtnCancel, BtnNo})
        b->setFont(buttonFont);
    BtnYes->setModalResult(1);
    BtnCancel->setModalResult(2);
    BtnNo->setModalResult(2);
    setTabOrder(BtnYes, BtnCancel);
    setTabOrder(BtnCancel, BtnNo);

    connect(BtnYes, &QAbstractButton::clicked, this, &TYesNoDlg::BtnYesClick);
    connect(BtnNo, &QAbstractButton::clicked, this, &TYesNoDlg::BtnNoClick);
    connect(BtnCancel, &QAbstractButton::clicked, this, &TYesNoDlg::BtnCancelClick);
}

void TYesNoDlg::placeControls() {
    setFixedSize(401, 218);
    MessagePanel->setGeometry(13, 10, 370, 60);
    MessageMemo->setGeometry(15, 7, 342, 47);
    MessageMemo->setLineWrapColumnOrWidth(342);
    BtnYes->setGeometry(17, 102, 111, 30);
    BtnCancel->setGeometry(146, 102, 111, 30);
    BtnNo->setGeometry(274, 102, 110, 30);
}

void TYesNoDlg::FormCreate() {
    DialogLook::PaintWindowFace(this);
    QPalette memoPalette = MessageMemo->palette();
    memoPalette.setColor(QPalette::Base, DialogLook::Face);
    MessageMemo->setPalette(memoPalette);
    for (TClrBtn* b : {BtnYes, BtnCancel, BtnNo})
        DialogLook::PaintButton(b);
    LaidOut = false;
}

bool TYesNoDlg::AskYesNo(int top, int left, int callerHeight, int callerWidth,
                         const QString& caption, const QString& message, const QString& yesCaption,
                         const QString& noCaption, const QString& cancelCaption, bool defaultYes,
                         bool& cancel) {
    CallerTop = top;
    CallerLeft = left;
    CallerHeight = callerHeight;
    CallerWidth = callerWidth;

    setWindowTitle(caption);
    BtnYes->setText(yesCaption);
    BtnNo->setText(noCaption);
    BtnCancel->setText(cancelCaption);
    BtnCancel->setVisible(cancel);

    // Width from the message as one line; never narrower than the window stands now.
    const int messageWidth = QFontMetrics(font()).horizontalAdvance(message);
    const int noRightEdge = BtnNo->x() + BtnNo->width();
    const auto w = DialogGeometry::QuestionWidthLayout(messageWidth, noRightEdge, BtnNo->width(),
                                                       BtnCancel->width());
    MessagePanel->setGeometry(w.panelLeft, MessagePanel->y(), w.panelWidth, MessagePanel->height());
    MessageMemo->setGeometry(w.memoLeft, MessageMemo->y(), w.memoWidth, MessageMemo->height());
    MessageMemo->setLineWrapColumnOrWidth(w.memoWidth);
    setFixedSize(w.clientWidth, height());
    BtnYes->move(w.yesLeft, BtnYes->y());
    BtnNo->move(w.noLeft, BtnNo->y());
    BtnCancel->move(w.cancelLeft, BtnCancel->y());

    // A line feed after a carriage return cannot stand inside a memo line; it is left out.
    QStringList lines = DialogGeometry::SplitAtCarriageReturns(message);
    for (QString& line : lines)
        line.remove(QLatin1Char('\n'));
    MessageMemo->setPlainText(lines.join(QLatin1Char('\n')));

    Answer = defaultYes;
    // Each question starts undecided, so a closing without a button never reports an earlier
    // Cancel.
    Cancelled = false;
    // Height, place and focus are worked out again for every question: a longer question than
    // the last would otherwise be cut off, and the caller may have moved.
    LaidOut = false;

    hide();
    exec();

    cancel = Cancelled;
    return Answer;
}

void TYesNoDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormPaint();
}

void TYesNoDlg::FormPaint() {
    if (LaidOut)
        return;
    LaidOut = true;

    QStringList lines = MessageMemo->toPlainText().split(QLatin1Char('\n'));
    const int memoLines = DialogGeometry::WrappedLineCount(
        lines, MessageMemo->font(), MessageMemo->lineWrapColumnOrWidth(),
        int(MessageMemo->document()->documentMargin()));
    const int points = DialogLook::PointSize(MessageMemo->font());
    const auto h = DialogGeometry::QuestionHeightLayout(memoLines, points, BtnYes->height());
    MessageMemo->resize(MessageMemo->width(), h.memoHeight);
    MessagePanel->resize(MessagePanel->width(), h.panelHeight);
    for (TClrBtn* b : {BtnYes, BtnCancel, BtnNo})
        b->move(b->x(), h.buttonTop);

    // The height is set before the window is centred, so that it stands in the middle.
    setFixedSize(width(), h.clientHeight);
    const QSize outer = OuterSize(this, size());
    const auto place = DialogGeometry::CentreOver(CallerTop, CallerLeft, CallerHeight, CallerWidth,
                                                  outer.height(), outer.width());
    move(place.left, place.top);

    if (isVisible())
        (Answer ? BtnYes : BtnNo)->setFocus(Qt::OtherFocusReason);
}

void TYesNoDlg::BtnYesClick() {
    Answer = true;
    Cancelled = false;
}

void TYesNoDlg::BtnNoClick() {
    Answer = false;
    Cancelled = false;
}

void TYesNoDlg::BtnCancelClick() {
    Answer = false;
    Cancelled = true;
}

void TYesNoDlg::reject() {
    if (BtnCancel->isHidden())
        return;
    BtnCancelClick();
    done(2);
}

bool AskYesNo(int top, int left, int height, int width, const QString& caption,
              const QString& message, const QString& yesCaption, const QString& noCaption,
              const QString& cancelCaption, bool defaultYes, bool& cancel) {
    if (!YesNoDlg)
        new TYesNoDlg();
    return YesNoDlg->AskYesNo(top, left, height, width, caption, message, yesCaption, noCaption,
                              cancelCaption, defaultYes, cancel);
}
