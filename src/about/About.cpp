#include "about/About.h"

#include "about/AboutTexts.h"
#include "app/Main.h"
#include "controls/ClrBtn.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"
#include "dialogs/MessForm.h"
#include "platform/Shell.h"

#include <QFrame>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTextEdit>

TAboutForm* AboutForm = nullptr;

namespace {

constexpr int PanelBorder = 4; // the two bevels of a panel, each 2 pixels wide

QFrame* NewBevel(QWidget* parent, const QRect& place) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(place);
    return bevel;
}

QLabel* NewLabel(QWidget* parent, const QRect& place, const QFont& font) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(place);
    label->setFont(font);
    return label;
}

QFrame* NewPanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true); // the page in front hides the one behind
    return panel;
}

// The author button's glyph: a person's head and shoulders, dark on the pale face.
QPixmap AuthorGlyph() {
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

TAboutForm::TAboutForm(TMainForm* mainForm) : QDialog(mainForm), main_(mainForm) {
    if (!AboutForm)
        AboutForm = this;
    createControls();
    FormCreate();
    PanelMain->installEventFilter(this);
    PanelAuthor->installEventFilter(this);
}

TAboutForm::~TAboutForm() {
    if (AboutForm == this)
        AboutForm = nullptr;
}

void TAboutForm::createControls() {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Informatie"));
    setFont(DialogLook::PixelFont(QStringLiteral("Verdana"), 18));
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    black.setColor(QPalette::Text, Qt::black);
    setPalette(black);
    const QFont buttonFont = DialogLook::PixelFont(QStringLiteral("Verdana"), 16);

    // The author page lies under the main page and is seen only when the main page is hidden.
    PanelAuthor = NewPanel(this);
    AuthorMemo = new QTextEdit(PanelAuthor);
    AuthorMemo->setFrameStyle(QFrame::NoFrame);
    AuthorMemo->setReadOnly(true);
    AuthorMemo->setFocusPolicy(Qt::NoFocus);
    AuthorMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AuthorMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    AuthorMemo->setAutoFillBackground(false);
    AuthorMemo->viewport()->setAutoFillBackground(false);
    AuthorMemo->document()->setDocumentMargin(0);
    BtnOK1 = new TClrBtn(QStringLiteral("OK"), PanelAuthor);
    BtnOK1->setGeometry(160, 288, 120, 35);
    BtnOK1->setFont(buttonFont);

    // Tab must not reach the covered page's OK.
    PanelAuthor->setEnabled(false);

    PanelMain = NewPanel(this);
    Bevel3 = NewBevel(PanelMain, {20, 146, 421, 29});
    Bevel2 = NewBevel(PanelMain, {20, 186, 421, 49});
    QFont nameFont = DialogLook::PixelFont(QStringLiteral("Arial"), 43);
    nameFont.setItalic(true);
    NameLabel = NewLabel(PanelMain, {5, 25, 196, 57}, nameFont);
    VersionLabel = NewLabel(PanelMain, {5, 93, 196, 20}, font());
    CopyrightLabel =
        NewLabel(PanelMain, {28, 152, 381, 18}, DialogLook::PixelFont(QStringLiteral("Arial"), 15));
    const QFont labelFont = DialogLook::PixelFont(QStringLiteral("Verdana"), 15);
    Label1 = NewLabel(PanelMain, {23, 191, 412, 17}, labelFont);
    Label2 = NewLabel(PanelMain, {23, 210, 412, 19}, labelFont);

    AuthorBtn = new QPushButton(PanelMain);
    AuthorBtn->setGeometry(414, 168, 19, 21);
    QFont authorFont = DialogLook::PixelFont(QStringLiteral("Arial"), 12);
    authorFont.setBold(true);
    AuthorBtn->setFont(authorFont);
    AuthorBtn->setIcon(QIcon(AuthorGlyph())); // the disabled look is made from it
    AuthorBtn->setIconSize({13, 13});
    AuthorBtn->setToolTip(QStringLiteral("Toon auteur"));
    AuthorBtn->setAutoDefault(false);

    BtnMail = new TClrBtn(QStringLiteral("Mail"), PanelMain);
    BtnOk = new TClrBtn(QStringLiteral("OK"), PanelMain);
    BtnHome = new TClrBtn(QStringLiteral("Home"), PanelMain);
    BtnMail->setGeometry(32, 248, 120, 35);
    BtnOk->setGeometry(176, 248, 120, 35);
    BtnHome->setGeometry(312, 248, 120, 35);
    for (TClrBtn* b : {BtnMail, BtnOk, BtnHome})
        b->setFont(buttonFont);
    BtnOk->setDefault(true);
    setTabOrder(BtnMail, BtnOk);
    setTabOrder(BtnOk, BtnHome);

    const std::pair<QWidget*, const char*> names[] = {
        {PanelAuthor, "PanelAuthor"}, {AuthorMemo, "AuthorMemo"},
        {BtnOK1, "BtnOK1"},           {PanelMain, "PanelMain"},
        {NameLabel, "NameLabel"},     {VersionLabel, "VersionLabel"},
        {Bevel3, "Bevel3"},           {CopyrightLabel, "CopyrightLabel"},
        {AuthorBtn, "AuthorBtn"},     {Bevel2, "Bevel2"},
        {Label1, "Label1"},           {Label2, "Label2"},
        {BtnMail, "BtnMail"},         {BtnOk, "BtnOk"},
        {BtnHome, "BtnHome"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    connect(BtnOk, &QAbstractButton::clicked, this, &TAboutForm::BtnOkClick);
    connect(BtnOK1, &QAbstractButton::clicked, this, &TAboutForm::BtnOK1Click);
    connect(AuthorBtn, &QAbstractButton::clicked, this, &TAboutForm::AuthorBtnClick);
    connect(BtnMail, &QAbstractButton::clicked, this, &TAboutForm::BtnMailClick);
    connect(BtnHome, &QAbstractButton::clicked, this, &TAboutForm::BtnHomeClick);
}

QString TAboutForm::MainCaption() const {
    return main_ ? main_->windowTitle() : QString();
}

void TAboutForm::FormCreate() {
    DialogLook::PaintWindowFace(this);
    for (TClrBtn* b : {BtnMail, BtnOk, BtnHome, BtnOK1})
        DialogLook::PaintButton(b);

    const AboutTexts::Layout l = AboutTexts::LayoutFor(AboutTexts::Design);
    setFixedSize(l.clientWidth, l.clientHeight);
    PanelAuthor->setGeometry(0, 0, l.clientWidth, l.clientHeight);
    PanelMain->setGeometry(0, 0, l.clientWidth, l.clientHeight);
    BtnHome->move(l.btnHomeLeft, BtnHome->y());
    BtnOk->move(l.btnOkLeft, BtnOk->y());
    // The author page's OK stands as low as it can while the whole button stays inside the
    // window; the memo takes the room above it.
    BtnOK1->move(l.btnOk1Left, l.clientHeight - BtnOK1->height() - 2 * PanelBorder);
    AuthorMemo->setGeometry(PanelBorder, PanelBorder, l.clientWidth - 2 * PanelBorder,
                            BtnOK1->y() - PanelBorder);

    NameLabel->setText(ProductName);
    VersionLabel->setText(main_ ? main_->VersionText : QString());
    CopyrightLabel->setText(main_ ? main_->CopyrightText : QString());

    MailMemo.clear();
    const bool nl = IsDutch();
    const AboutTexts::Texts t = AboutTexts::TextsFor(nl, ProductName);
    setWindowTitle(MainCaption() + t.captionSuffix);
    BtnOk->setToolTip(t.okHint);
    BtnOK1->setToolTip(t.okHint);
    Label1->setText(t.label1);
    Label2->setText(t.label2);
    BtnMail->setToolTip(t.mailHint);
    BtnHome->setToolTip(t.homeHint);
    MailMemo = AboutTexts::MailLines(nl, ProductName);

    AuthorMemo->clear();
    AuthorMemo->setPlainText(AboutTexts::AuthorLines(nl, ProductName).join(QLatin1Char('\n')));
    QTextCursor all(AuthorMemo->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
}

int TAboutForm::ShowCentredOver(const QRect& callerFrame) {
    winId(); // the system's frame is known once the window exists
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize outer = size() + frame;
    const DialogGeometry::Place place =
        DialogGeometry::CentreOver(callerFrame.top(), callerFrame.left(), callerFrame.height(),
                                   callerFrame.width(), outer.height(), outer.width());
    move(place.left, place.top);
    return exec();
}

// The two panels fill the window, so a paint of the window is a paint of the panel in front.
bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && (watched == PanelMain || watched == PanelAuthor)) {
        // A button that repaints itself (hover, focus, press) is not a paint of the window:
        // moving the focus back to OK then would keep Tab from ever reaching Mail or Home.
        auto* panel = static_cast<QWidget*>(watched);
        QRegion buttons;
        for (QWidget* b :
             std::initializer_list<QWidget*>{BtnMail, BtnOk, BtnHome, BtnOK1, AuthorBtn})
            if (b->isVisible() && panel->isAncestorOf(b))
                buttons += QRect(b->mapTo(panel, QPoint(0, 0)), b->size());
        if (!(static_cast<QPaintEvent*>(event)->region() - buttons).isEmpty())
            FormPaint();
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::FormPaint() {
    // The author page is never hidden, only covered.
    if (!PanelAuthor->isHidden())
        setWindowTitle(AboutTexts::PaintCaption(ProductName));
    if (!PanelMain->isHidden())
        BtnOk->setFocus();
}

void TAboutForm::BtnOkClick() {
    done(1);
}

void TAboutForm::AuthorBtnClick() {
    PanelMain->hide();
    PanelAuthor->setEnabled(true);
    setWindowTitle(ProductName + AboutTexts::TextsFor(IsDutch(), ProductName).authorCaptionSuffix);
}

void TAboutForm::BtnOK1Click() {
    setWindowTitle(MainCaption() + AboutTexts::TextsFor(IsDutch(), ProductName).captionSuffix);
    PanelMain->show();
    PanelAuthor->setEnabled(false);
}

void TAboutForm::TellTimed(const QString& lineA, const QString& lineB) {
    const QRect r = frameGeometry();
    ShowTimed(r.top(), r.left(), r.height(), r.width(), lineA, lineB, 3000);
}

void TAboutForm::BtnMailClick() {
    const QString version = main_ ? main_->VersionText : QString();
    const QString link =
        AboutTexts::MailLink(AboutTexts::AuthorMail, AboutTexts::MailSubject(ProductName, version),
                             AboutTexts::MailBody(MailMemo));
    if (Shell::Open(link))
        return;
    const AboutTexts::Texts t = AboutTexts::TextsFor(IsDutch(), ProductName);
    TellTimed(t.mailFailed, t.webMailNow);
    if (!Shell::Open(AboutTexts::WebMailLink(AboutTexts::WebHost, ProductName, version)))
        TellTimed(t.browserFailed, QString());
}

void TAboutForm::BtnHomeClick() {
    if (!Shell::Open(AboutTexts::HomeLink(AboutTexts::WebHost)))
        TellTimed(AboutTexts::TextsFor(IsDutch(), ProductName).browserFailed, QString());
}
