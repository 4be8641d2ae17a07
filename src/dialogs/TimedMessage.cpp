#include "dialogs/TimedMessage.h"

#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

namespace {
// Room between the text and the text area's edge.
constexpr int TextMargin = 4;
} // namespace

TimedMessage::TimedMessage(QWidget* parent) : QWidget(parent) {
    createControls();
    initialise();
}

TimedMessage::~TimedMessage() = default;

void TimedMessage::createControls() {
    setObjectName(QStringLiteral("timedMessage"));
    // No border and no caption bar; kept above the caller without taking the keyboard from it.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 14));
    resize(678, 190);

    messageText = new QTextEdit(this);
    messageText->setReadOnly(true);
    messageText->setAcceptRichText(false);
    messageText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    messageText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageText->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    messageText->setLineWrapMode(QTextEdit::WidgetWidth);
    messageText->document()->setDocumentMargin(TextMargin);
    messageText->setGeometry(rect());

    closeTimer = new QTimer(this);
    closeTimer->setSingleShot(false);
    connect(closeTimer, &QTimer::timeout, this, &TimedMessage::closeMessage);
}

void TimedMessage::initialise() {
    // The main window's colour; a window whose colour was never set counts as white.
    QColor face = Qt::white;
    if (QWidget* main = parentWidget();
        main && main->palette().isBrushSet(QPalette::Active, QPalette::Window))
        face = main->palette().color(QPalette::Window);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, face);
    pal.setColor(QPalette::Base, face);
    setPalette(pal);
    setAutoFillBackground(true);
}

void TimedMessage::showTimed(const QRect& caller, const QString& lineA, const QString& lineB,
                             int interval) {
    const QString longer = DialogGeometry::longerLine(lineA, lineB);
    const int lineWidth = QFontMetrics(messageText->font()).horizontalAdvance(longer);
    const int clientWidth = DialogGeometry::messageClientWidth(lineWidth);

    const QStringList lines = DialogGeometry::messageLines(lineA, lineB);
    messageText->setPlainText(lines.join(QLatin1Char('\n')));

    // Lines as the text area shows them, wrapped beside the scroll bar.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, messageText);
    const int textWidth = clientWidth - 2 * messageText->frameWidth() - scrollBar;
    const int shownLines =
        DialogGeometry::wrappedLineCount(lines, messageText->font(), textWidth, TextMargin);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->geometry().height() : 768;
    const int points = DialogLook::pointSize(messageText->font());
    const int clientHeight =
        std::max(DialogGeometry::messageClientHeight(shownLines, points, screenHeight), 1);
    resize(clientWidth, clientHeight);
    messageText->setGeometry(0, 0, clientWidth, clientHeight);

    QTextCursor caret = messageText->textCursor();
    caret.movePosition(QTextCursor::End);
    messageText->setTextCursor(caret);

    // Setting the interval it already has leaves a running count alone.
    interval = std::max(interval, 0);
    if (closeTimer->interval() != interval)
        closeTimer->setInterval(interval);

    const QSize outer = size() + (frameGeometry().size() - geometry().size());
    const auto place = DialogGeometry::centreOver(caller, outer);
    move(place.left, place.top);

    show();
    raise();
    QCoreApplication::processEvents();
}

void TimedMessage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    handleShow();
}

void TimedMessage::handleShow() {
    if (!closeTimer->isActive())
        closeTimer->start();
}

void TimedMessage::closeMessage() {
    closeTimer->stop();
    hide();
    close();
}
