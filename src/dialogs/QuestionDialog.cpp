#include "dialogs/QuestionDialog.h"

#include "controls/ColourButton.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"

#include <QFontMetrics>
#include <QFrame>
#include <QTextEdit>

namespace {

// The window's outer size for a client size, with the frame the system has given it so far.
QSize outerSize(const QWidget* window, QSize client) {
    return client + (window->frameGeometry().size() - window->geometry().size());
}

} // namespace

QuestionDialog::QuestionDialog(QWidget* parent) : QDialog(parent) {
    createControls();
    placeControls();
    initialise();
}

QuestionDialog::~QuestionDialog() = default;

void QuestionDialog::createControls() {
    setObjectName(QStringLiteral("questionDialog"));
    // A dialog border without a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("YesNoDlg"));
    setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 14));

    messagePanel = new QFrame(this);
    messagePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    messagePanel->setLineWidth(1);

    messageText = new QTextEdit(messagePanel);
    messageText->setFrameStyle(QFrame::NoFrame);
    messageText->setReadOnly(true);
    messageText->setFocusPolicy(Qt::NoFocus);
    messageText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageText->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    messageText->setLineWrapMode(QTextEdit::FixedPixelWidth);
    messageText->document()->setDocumentMargin(0);

    const QFont buttonFont = DialogLook::pixelFont(QStringLiteral("Verdana"), 16);
    yesButton = new ColourButton(QStringLiteral("Ja"), this);
    cancelButton = new ColourButton(QStringLiteral("Annuleren"), this);
    noButton = new ColourButton(QStringLiteral("Nee"), this);
    for (ColourButton* b : {yesButton, cancelButton, noButton})
        b->setFont(buttonFont);
    yesButton->setModalResult(1);
    cancelButton->setModalResult(2);
    noButton->setModalResult(2);
    setTabOrder(yesButton, cancelButton);
    setTabOrder(cancelButton, noButton);

    connect(yesButton, &QAbstractButton::clicked, this, &QuestionDialog::answerYes);
    connect(noButton, &QAbstractButton::clicked, this, &QuestionDialog::answerNo);
    connect(cancelButton, &QAbstractButton::clicked, this, &QuestionDialog::answerCancel);
}

void QuestionDialog::placeControls() {
    setFixedSize(401, 218);
    messagePanel->setGeometry(13, 10, 370, 60);
    messageText->setGeometry(15, 7, 342, 47);
    messageText->setLineWrapColumnOrWidth(342);
    yesButton->setGeometry(17, 102, 111, 30);
    cancelButton->setGeometry(146, 102, 111, 30);
    noButton->setGeometry(274, 102, 110, 30);
}

void QuestionDialog::initialise() {
    DialogLook::paintWindowFace(this);
    QPalette memoPalette = messageText->palette();
    memoPalette.setColor(QPalette::Base, DialogLook::Face);
    messageText->setPalette(memoPalette);
    for (ColourButton* b : {yesButton, cancelButton, noButton})
        DialogLook::paintButton(b);
    laidOut = false;
}

QuestionDialog::Answer QuestionDialog::ask(const QRect& callerFrame, const Question& question) {
    caller = callerFrame;
    const QString& message = question.message;
    setWindowTitle(question.caption);
    yesButton->setText(question.yesCaption);
    noButton->setText(question.noCaption);
    cancelButton->setText(question.cancelCaption);
    cancelButton->setVisible(question.withCancel);

    // Width from the message as one line; never narrower than the window stands now.
    const int messageWidth = QFontMetrics(font()).horizontalAdvance(message);
    const int noRightEdge = noButton->x() + noButton->width();
    const auto w = DialogGeometry::questionWidthLayout(messageWidth, noRightEdge, noButton->width(),
                                                       cancelButton->width());
    messagePanel->setGeometry(w.panelLeft, messagePanel->y(), w.panelWidth, messagePanel->height());
    messageText->setGeometry(w.memoLeft, messageText->y(), w.memoWidth, messageText->height());
    messageText->setLineWrapColumnOrWidth(w.memoWidth);
    setFixedSize(w.clientWidth, height());
    yesButton->move(w.yesLeft, yesButton->y());
    noButton->move(w.noLeft, noButton->y());
    cancelButton->move(w.cancelLeft, cancelButton->y());

    // A line feed after a carriage return cannot stand inside a memo line; it is left out.
    QStringList lines = DialogGeometry::splitAtCarriageReturns(message);
    for (QString& line : lines)
        line.remove(QLatin1Char('\n'));
    messageText->setPlainText(lines.join(QLatin1Char('\n')));

    answer = question.defaultYes;
    // Each question starts undecided, so a closing without a button never reports an earlier
    // Cancel.
    cancelled = false;
    // Height, place and focus are worked out again for every question: a longer question than
    // the last would otherwise be cut off, and the caller may have moved.
    laidOut = false;

    hide();
    exec();

    return cancelled ? Answer::Cancel : answer ? Answer::Yes : Answer::No;
}

void QuestionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    handlePaint();
}

void QuestionDialog::handlePaint() {
    if (laidOut)
        return;
    laidOut = true;

    QStringList lines = messageText->toPlainText().split(QLatin1Char('\n'));
    const int memoLines = DialogGeometry::wrappedLineCount(
        lines, messageText->font(), messageText->lineWrapColumnOrWidth(),
        int(messageText->document()->documentMargin()));
    const int points = DialogLook::pointSize(messageText->font());
    const auto h = DialogGeometry::questionHeightLayout(memoLines, points, yesButton->height());
    messageText->resize(messageText->width(), h.memoHeight);
    messagePanel->resize(messagePanel->width(), h.panelHeight);
    for (ColourButton* b : {yesButton, cancelButton, noButton})
        b->move(b->x(), h.buttonTop);

    // The height is set before the window is centred, so that it stands in the middle.
    setFixedSize(width(), h.clientHeight);
    const QSize outer = outerSize(this, size());
    const auto place = DialogGeometry::centreOver(caller, outer);
    move(place.left, place.top);

    if (isVisible())
        (answer ? yesButton : noButton)->setFocus(Qt::OtherFocusReason);
}

void QuestionDialog::answerYes() {
    answer = true;
    cancelled = false;
}

void QuestionDialog::answerNo() {
    answer = false;
    cancelled = false;
}

void QuestionDialog::answerCancel() {
    answer = false;
    cancelled = true;
}

void QuestionDialog::reject() {
    if (cancelButton->isHidden())
        return;
    answerCancel();
    done(2);
}
