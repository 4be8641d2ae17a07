#include "dialogs/MessForm.h"

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

TMessageForm* MessageForm = nullptr;

namespace {
// Room between the text and the text area's edge.
constexpr int TextMargin = 4;
} // namespace

TMessageForm::TMessageForm(QWidget* parent) : QWidget(parent) {
    if (!MessageForm)
        MessageForm = this;
    createControls();
    FormCreate();
}

TMessageForm::~TMessageForm() {
    if (MessageForm == this)
        MessageForm = nullptr;
}

void TMessageForm::createControls() {
    setObjectName(QStringLiteral("MessageForm"));
    // No border and no caption bar; kept above the caller without taking the keyboard from it.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(DialogLook::PixelFont(QStringLiteral("Verdana"), 14));
    resize(678, 190);

    MessageMemo = new QTextEdit(this);
    MessageMemo->setReadOnly(true);
    MessageMemo->setAcceptRichText(false);
    MessageMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MessageMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MessageMemo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    MessageMemo->setLineWrapMode(QTextEdit::WidgetWidth);
    MessageMemo->document()->setDocumentMargin(TextMargin);
    MessageMemo->setGeometry(rect());

    Timer = new QTimer(this);
    Timer->setSingleShot(false);
    connect(Timer, &QTimer::timeout, this, &TMessageForm::TimerTimer);
}

void TMessageForm::FormCreate() {
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

void TMessageForm::ShowTimed(int top, int left, int callerHeight, int callerWidth,
                             const QString& lineA, const QString& lineB, int interval) {
    const QString longer = DialogGeometry::LongerLine(lineA, lineB);
    const int lineWidth = QFontMetrics(MessageMemo->font()).horizontalAdvance(longer);
    const int clientWidth = DialogGeometry::MessageClientWidth(lineWidth);

    const QStringList lines = DialogGeometry::MessageLines(lineA, lineB);
    MessageMemo->setPlainText(lines.join(QLatin1Char('\n')));

    // Lines as the text area shows them, wrapped beside the scroll bar.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, MessageMemo);
    const int textWidth = clientWidth - 2 * MessageMemo->frameWidth() - scrollBar;
    const int shownLines =
        DialogGeometry::WrappedLineCount(lines, MessageMemo->font(), textWidth, TextMargin);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->geometry().height() : 768;
    const int points = DialogLook::PointSize(MessageMemo->font());
    const int clientHeight =
        std::max(DialogGeometry::MessageClientHeight(shownLines, points, screenHeight), 1);
    resize(clientWidth, clientHeight);
    MessageMemo->setGeometry(0, 0, clientWidth, clientHeight);

    QTextCursor caret = MessageMemo->textCursor();
    caret.movePosition(QTextCursor::End);
    MessageMemo->setTextCursor(caret);

    // Setting the interval it already has leaves a running count alone.
    interval = std::max(interval, 0);
    if (Timer->interval() != interval)
        Timer->setInterval(interval);

    const QSize outer = size() + (frameGeometry().size() - geometry().size());
    const auto place = DialogGeometry::CentreOver(top, left, callerHeight, callerWidth,
                                                  outer.height(), outer.width());
    move(place.left, place.top);

    show();
    raise();
    QCoreApplication::processEvents();
}

void TMessageForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TMessageForm::FormShow() {
    if (!Timer->isActive())
        Timer->start();
}

void TMessageForm::TimerTimer() {
    Timer->stop();
    hide();
    close();
}

void ShowTimed(int top, int left, int height, int width, const QString& lineA, const QString& lineB,
               int interval) {
    if (!MessageForm)
        new TMessageForm();
    MessageForm->ShowTimed(top, left, height, width, lineA, lineB, interval);
}
