#include "about/AboutDialog.h"

#include "about/AboutTexts.h"
#include "controls/ColourButton.h"
#include "cover/Workspace.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"
#include "dialogs/TimedMessage.h"
#include "platform/Shell.h"

#include <QFrame>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTextEdit>

namespace {

constexpr int PanelBorder = 4; // the two bevels of a panel, each 2 pixels wide

QFrame* newBevel(QWidget* parent, const QRect& place) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(place);
    return bevel;
}

QLabel* newLabel(QWidget* parent, const QRect& place, const QFont& font) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(place);
    label->setFont(font);
    return label;
}

QFrame* newPanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true); // the page in front hides the one behind
    return panel;
}

// The author button's glyph: a person's head and shoulders, dark on the pale face.
QPixmap authorGlyph() {
    QPixmap glyph(13, 13);
    glyph.fill(Qt::transparent);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawEllipse(QRectF(4, 0.5, 5, 5));
    QPainterPath shoulders;
    shoulders.moveTo(1, 13);
    shoulders.cubicTo(1, 7.5, 12, 7.5, 12, 13);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    return glyph;
}

} // namespace

AboutDialog::AboutDialog(const ProgramIdentity& identity, TimedMessage& message,
                         QWidget* mainWindow, LinkOpener openLink)
    : QDialog(mainWindow), identity_(identity), message_(message), openLink_(std::move(openLink)) {
    createControls();
    initialise();
    mainPage->installEventFilter(this);
    authorPage->installEventFilter(this);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::createControls() {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Informatie"));
    setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 18));
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    black.setColor(QPalette::Text, Qt::black);
    setPalette(black);
    const QFont buttonFont = DialogLook::pixelFont(QStringLiteral("Verdana"), 16);

    // The author page lies under the main page and is seen only when the main page is hidden.
    authorPage = newPanel(this);
    authorText = new QTextEdit(authorPage);
    authorText->setFrameStyle(QFrame::NoFrame);
    authorText->setReadOnly(true);
    authorText->setFocusPolicy(Qt::NoFocus);
    authorText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    authorText->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    authorText->setAutoFillBackground(false);
    authorText->viewport()->setAutoFillBackground(false);
    authorText->document()->setDocumentMargin(0);
    authorOkButton = new ColourButton(QStringLiteral("OK"), authorPage);
    authorOkButton->setGeometry(160, 288, 120, 35);
    authorOkButton->setFont(buttonFont);

    // Tab must not reach the covered page's OK.
    authorPage->setEnabled(false);

    mainPage = newPanel(this);
    copyrightRule = newBevel(mainPage, {20, 146, 421, 29});
    buttonRule = newBevel(mainPage, {20, 186, 421, 49});
    QFont nameFont = DialogLook::pixelFont(QStringLiteral("Arial"), 43);
    nameFont.setItalic(true);
    nameLabel = newLabel(mainPage, {5, 25, 196, 57}, nameFont);
    versionLabel = newLabel(mainPage, {5, 93, 196, 20}, font());
    copyrightLabel =
        newLabel(mainPage, {28, 152, 381, 18}, DialogLook::pixelFont(QStringLiteral("Arial"), 15));
    const QFont labelFont = DialogLook::pixelFont(QStringLiteral("Verdana"), 15);
    purposeLabel = newLabel(mainPage, {23, 191, 412, 17}, labelFont);
    detailLabel = newLabel(mainPage, {23, 210, 412, 19}, labelFont);

    authorButton = new QPushButton(mainPage);
    authorButton->setGeometry(414, 168, 19, 21);
    QFont authorFont = DialogLook::pixelFont(QStringLiteral("Arial"), 12);
    authorFont.setBold(true);
    authorButton->setFont(authorFont);
    authorButton->setIcon(QIcon(authorGlyph())); // the disabled look is made from it
    authorButton->setIconSize({13, 13});
    authorButton->setToolTip(QStringLiteral("Toon auteur"));
    authorButton->setAutoDefault(false);

    mailButton = new ColourButton(QStringLiteral("Mail"), mainPage);
    okButton = new ColourButton(QStringLiteral("OK"), mainPage);
    homeButton = new ColourButton(QStringLiteral("Home"), mainPage);
    mailButton->setGeometry(32, 248, 120, 35);
    okButton->setGeometry(176, 248, 120, 35);
    homeButton->setGeometry(312, 248, 120, 35);
    for (ColourButton* b : {mailButton, okButton, homeButton})
        b->setFont(buttonFont);
    okButton->setDefault(true);
    setTabOrder(mailButton, okButton);
    setTabOrder(okButton, homeButton);

    // Named as the members are, so that a tab order or a test can tell them apart.
    const std::pair<QWidget*, const char*> names[] = {
        {authorPage, "authorPage"},         {authorText, "authorText"},
        {authorOkButton, "authorOkButton"}, {mainPage, "mainPage"},
        {nameLabel, "nameLabel"},           {versionLabel, "versionLabel"},
        {copyrightRule, "copyrightRule"},   {copyrightLabel, "copyrightLabel"},
        {authorButton, "authorButton"},     {buttonRule, "buttonRule"},
        {purposeLabel, "purposeLabel"},     {detailLabel, "detailLabel"},
        {mailButton, "mailButton"},         {okButton, "okButton"},
        {homeButton, "homeButton"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    connect(okButton, &QAbstractButton::clicked, this, &AboutDialog::closeAbout);
    connect(authorOkButton, &QAbstractButton::clicked, this, &AboutDialog::showMainPage);
    connect(authorButton, &QAbstractButton::clicked, this, &AboutDialog::showAuthorPage);
    connect(mailButton, &QAbstractButton::clicked, this, &AboutDialog::mailAuthor);
    connect(homeButton, &QAbstractButton::clicked, this, &AboutDialog::openHomePage);
}

QString AboutDialog::mainCaption() const {
    return parentWidget() ? parentWidget()->windowTitle() : QString();
}

void AboutDialog::initialise() {
    DialogLook::paintWindowFace(this);
    for (ColourButton* b : {mailButton, okButton, homeButton, authorOkButton})
        DialogLook::paintButton(b);

    const AboutTexts::Layout l = AboutTexts::layoutFor(AboutTexts::Design);
    setFixedSize(l.clientWidth, l.clientHeight);
    authorPage->setGeometry(0, 0, l.clientWidth, l.clientHeight);
    mainPage->setGeometry(0, 0, l.clientWidth, l.clientHeight);
    homeButton->move(l.homeButtonLeft, homeButton->y());
    okButton->move(l.okButtonLeft, okButton->y());
    // The author page's OK stands as low as it can while the whole button stays inside the
    // window; the memo takes the room above it.
    authorOkButton->move(l.authorOkButtonLeft,
                         l.clientHeight - authorOkButton->height() - 2 * PanelBorder);
    authorText->setGeometry(PanelBorder, PanelBorder, l.clientWidth - 2 * PanelBorder,
                            authorOkButton->y() - PanelBorder);

    nameLabel->setText(ProductName);
    versionLabel->setText(identity_.versionText);
    copyrightLabel->setText(identity_.copyrightText);

    mailBodyLines.clear();
    const AboutTexts::Texts t = AboutTexts::textsFor(ProductName);
    setWindowTitle(mainCaption() + t.captionSuffix);
    okButton->setToolTip(t.okHint);
    authorOkButton->setToolTip(t.okHint);
    purposeLabel->setText(t.purposeText);
    detailLabel->setText(t.detailText);
    mailButton->setToolTip(t.mailHint);
    homeButton->setToolTip(t.homeHint);
    mailBodyLines = AboutTexts::mailLines(ProductName);

    authorText->clear();
    authorText->setPlainText(AboutTexts::authorLines(ProductName).join(QLatin1Char('\n')));
    QTextCursor all(authorText->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
}

int AboutDialog::showCentredOver(const QRect& callerFrame) {
    winId(); // the system's frame is known once the window exists
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize outer = size() + frame;
    const DialogGeometry::Place place = DialogGeometry::centreOver(callerFrame, outer);
    move(place.left, place.top);
    return exec();
}

// The two panels fill the window, so a paint of the window is a paint of the panel in front.
bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && (watched == mainPage || watched == authorPage)) {
        // A button that repaints itself (hover, focus, press) is not a paint of the window:
        // moving the focus back to OK then would keep Tab from ever reaching Mail or Home.
        auto* panel = static_cast<QWidget*>(watched);
        QRegion buttons;
        for (QWidget* b : std::initializer_list<QWidget*>{mailButton, okButton, homeButton,
                                                          authorOkButton, authorButton})
            if (b->isVisible() && panel->isAncestorOf(b))
                buttons += QRect(b->mapTo(panel, QPoint(0, 0)), b->size());
        if (!(static_cast<QPaintEvent*>(event)->region() - buttons).isEmpty())
            handlePaint();
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::handlePaint() {
    // The author page is never hidden, only covered; while it is in front it keeps the caption
    // it was opened with.
    if (!mainPage->isHidden()) {
        setWindowTitle(AboutTexts::paintCaption(ProductName));
        okButton->setFocus();
    }
}

void AboutDialog::closeAbout() {
    done(1);
}

void AboutDialog::showAuthorPage() {
    mainPage->hide();
    authorPage->setEnabled(true);
    setWindowTitle(ProductName + AboutTexts::textsFor(ProductName).authorCaptionSuffix);
}

void AboutDialog::showMainPage() {
    setWindowTitle(mainCaption() + AboutTexts::textsFor(ProductName).captionSuffix);
    mainPage->show();
    authorPage->setEnabled(false);
}

void AboutDialog::tellTimed(const QString& lineA, const QString& lineB) {
    const QRect r = frameGeometry();
    message_.showTimed(r, lineA, lineB, 3000);
}

void AboutDialog::mailAuthor() {
    const QString version = identity_.versionText;
    const QString link =
        AboutTexts::mailLink(AboutTexts::AuthorMail, AboutTexts::mailSubject(ProductName, version),
                             AboutTexts::mailBody(mailBodyLines));
    openLink_(link, this, [this, version](bool took) {
        if (took)
            return;
        const AboutTexts::Texts t = AboutTexts::textsFor(ProductName);
        tellTimed(t.mailFailed, t.webMailNow);
        openLink_(AboutTexts::webMailLink(AboutTexts::WebHost, ProductName, version), this,
                  [this](bool webMailTook) {
                      if (!webMailTook)
                          tellTimed(AboutTexts::textsFor(ProductName).browserFailed, QString());
                  });
    });
}

void AboutDialog::openHomePage() {
    openLink_(AboutTexts::homeLink(AboutTexts::WebHost), this, [this](bool took) {
        if (!took)
            tellTimed(AboutTexts::textsFor(ProductName).browserFailed, QString());
    });
}
