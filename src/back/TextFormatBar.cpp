#include "back/TextFormatBar.h"

#include "back/RichTextEdit.h"
#include "back/TabRuler.h"
#include "cover/Workspace.h"

#include <QActionGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

namespace {

constexpr int IconSide = 20;

QPixmap blankIcon() {
    QPixmap pixmap(IconSide, IconSide);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Four lines of text as the alignment lays them.
QIcon alignmentIcon(Qt::Alignment alignment) {
    QPixmap pixmap = blankIcon();
    QPainter painter(&pixmap);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    const int widths[] = {16, 10, 16, 12};
    for (int i = 0; i < 4; ++i) {
        const int width = alignment == Qt::AlignJustify ? 16 : widths[i];
        const int left = alignment == Qt::AlignHCenter ? (IconSide - width) / 2
                         : alignment == Qt::AlignRight ? IconSide - 2 - width
                                                       : 2;
        const int y = 4 + 4 * i;
        painter.drawLine(left, y, left + width, y);
    }
    return QIcon(pixmap);
}

QIcon tabStopIcon(const QTextOption::Tab& stop) {
    QPixmap pixmap = blankIcon();
    QPainter painter(&pixmap);
    TabRuler::drawStopMark(painter, QPointF(IconSide / 2, IconSide - 5), stop);
    return QIcon(pixmap);
}

// The size the text shows in, in points: its own, or the editor's font's.
double pointSizeOf(const QTextCharFormat& format, const QFont& defaultFont) {
    if (format.hasProperty(QTextFormat::FontPointSize))
        return format.fontPointSize();
    if (defaultFont.pointSizeF() > 0)
        return defaultFont.pointSizeF();
    return defaultFont.pixelSize() * 0.75; // 96 pixels an inch, as the RTF writer counts
}

QString sizeText(double points) {
    return QLocale().toString(points, 'g', 4);
}

} // namespace

TextFormatBar::TextFormatBar(RichTextEdit* editor, TabRuler* ruler, QWidget* parent)
    : QWidget(parent), editor_(editor), ruler_(ruler) {
    createControls();
    placeControls();
    connectHandlers();
    followCursor();
}

void TextFormatBar::createControls() {
    chooseColour = [this](const QColor& current) {
        return QColorDialog::getColor(current, this, ProductName + tr(" - Text colour"));
    };
    const auto button = [this](bool checkable) {
        auto* b = new QToolButton(this);
        b->setAutoRaise(true);
        b->setCheckable(checkable);
        b->setFixedSize(24, 24);
        b->setIconSize(QSize(IconSide, IconSide));
        b->setFocusPolicy(Qt::NoFocus); // the cursor stays in the text
        return b;
    };
    fontBox = new QFontComboBox(this);
    fontBox->setFixedWidth(150);
    fontBox->setMaxVisibleItems(16);
    // The name the text asks for shows, also one the system stands another font in for (Arial);
    // a name can be typed.
    fontBox->setEditable(true);
    fontBox->setInsertPolicy(QComboBox::NoInsert);
    sizeBox = new QComboBox(this);
    sizeBox->setEditable(true);
    sizeBox->setInsertPolicy(QComboBox::NoInsert);
    sizeBox->setFixedWidth(58);
    for (int size : QFontDatabase::standardSizes())
        sizeBox->addItem(QString::number(size));

    boldButton = button(true);
    QFont bold = boldButton->font();
    bold.setBold(true);
    boldButton->setFont(bold);
    italicButton = button(true);
    QFont italic = italicButton->font();
    italic.setItalic(true);
    italic.setFamily(QStringLiteral("Serif"));
    italicButton->setFont(italic);
    underlineButton = button(true);
    QFont underline = underlineButton->font();
    underline.setUnderline(true);
    underlineButton->setFont(underline);
    colourButton = button(false);

    alignLeftButton = button(true);
    alignCentreButton = button(true);
    alignRightButton = button(true);
    alignJustifyButton = button(true);
    alignLeftButton->setIcon(alignmentIcon(Qt::AlignLeft));
    alignCentreButton->setIcon(alignmentIcon(Qt::AlignHCenter));
    alignRightButton->setIcon(alignmentIcon(Qt::AlignRight));
    alignJustifyButton->setIcon(alignmentIcon(Qt::AlignJustify));

    tabKindButton = button(false);
    tabKindButton->setFixedSize(34, 24);
    tabKindButton->setPopupMode(QToolButton::InstantPopup);
    tabKindMenu_ = new QMenu(tabKindButton);
    auto* kinds = new QActionGroup(tabKindMenu_);
    const auto kind = [&](QTextOption::TabType type) {
        QAction* action = tabKindMenu_->addAction(tabStopIcon(QTextOption::Tab(0, type)), QString());
        action->setCheckable(true);
        kinds->addAction(action);
        return action;
    };
    leftTabAction = kind(QTextOption::LeftTab);
    centreTabAction = kind(QTextOption::CenterTab);
    rightTabAction = kind(QTextOption::RightTab);
    tabKindMenu_->addSeparator();
    dotLeaderAction = tabKindMenu_->addAction(QString());
    dotLeaderAction->setCheckable(true);
    leftTabAction->setChecked(true);
    tabKindButton->setMenu(tabKindMenu_);
    takeTabKind();
}

void TextFormatBar::placeControls() {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    row->addWidget(fontBox);
    row->addWidget(sizeBox);
    row->addSpacing(6);
    for (QToolButton* b : {boldButton, italicButton, underlineButton, colourButton})
        row->addWidget(b);
    row->addSpacing(6);
    for (QToolButton* b : {alignLeftButton, alignCentreButton, alignRightButton, alignJustifyButton})
        row->addWidget(b);
    row->addSpacing(6);
    row->addWidget(tabKindButton);
    row->addStretch();
}

void TextFormatBar::setTexts() {
    fontBox->setToolTip(tr("Font of the selected text"));
    sizeBox->setToolTip(tr("Size of the selected text, in points"));
    // The first letter of the style's name, as word processors show it.
    boldButton->setText(tr("B", "bold"));
    italicButton->setText(tr("I", "italic"));
    underlineButton->setText(tr("U", "underline"));
    boldButton->setToolTip(tr("Bold (Ctrl+B)"));
    italicButton->setToolTip(tr("Italic (Ctrl+I)"));
    underlineButton->setToolTip(tr("Underline (Ctrl+U)"));
    colourButton->setToolTip(tr("Colour of the selected text"));
    alignLeftButton->setToolTip(tr("Align the paragraph left"));
    alignCentreButton->setToolTip(tr("Centre the paragraph"));
    alignRightButton->setToolTip(tr("Align the paragraph right"));
    alignJustifyButton->setToolTip(tr("Justify the paragraph"));
    tabKindButton->setToolTip(tr("The kind of tab stop a click on the ruler adds"));
    leftTabAction->setText(tr("Left tab stop"));
    centreTabAction->setText(tr("Centre tab stop"));
    rightTabAction->setText(tr("Right tab stop"));
    dotLeaderAction->setText(tr("Dot leader"));
}

void TextFormatBar::connectHandlers() {
    const auto applyFamily = [this](const QString& family) {
        if (family.trimmed().isEmpty()) {
            followCursor();
            return;
        }
        QTextCharFormat change;
        change.setFontFamilies(QStringList{family.trimmed()});
        mergeFormat(change);
    };
    connect(fontBox, &QFontComboBox::currentFontChanged, this,
            [applyFamily](const QFont& font) { applyFamily(font.family()); });
    applyTypedFamily_ = [this, applyFamily] { applyFamily(fontBox->currentText()); };
    // A size picked from the list; one typed is taken with Return (eventFilter()).
    connect(sizeBox, &QComboBox::textActivated, this, &TextFormatBar::applyFontSize);
    // The keys reach a box's line edit through the box, or straight when it has the focus.
    for (QComboBox* box : {static_cast<QComboBox*>(fontBox), sizeBox}) {
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
    }
    connect(boldButton, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat change;
        change.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(change);
    });
    connect(italicButton, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat change;
        change.setFontItalic(on);
        mergeFormat(change);
    });
    connect(underlineButton, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat change;
        change.setUnderlineStyle(on ? QTextCharFormat::SingleUnderline
                                    : QTextCharFormat::NoUnderline);
        mergeFormat(change);
    });
    connect(colourButton, &QToolButton::clicked, this, &TextFormatBar::applyColour);
    connect(alignLeftButton, &QToolButton::clicked, this,
            [this] { applyAlignment(Qt::AlignLeft | Qt::AlignAbsolute); });
    connect(alignCentreButton, &QToolButton::clicked, this,
            [this] { applyAlignment(Qt::AlignHCenter); });
    connect(alignRightButton, &QToolButton::clicked, this,
            [this] { applyAlignment(Qt::AlignRight | Qt::AlignAbsolute); });
    connect(alignJustifyButton, &QToolButton::clicked, this,
            [this] { applyAlignment(Qt::AlignJustify); });
    connect(tabKindMenu_, &QMenu::triggered, this, [this] { takeTabKind(); });
    connect(ruler_, &TabRuler::edited, this, &TextFormatBar::applyTabEdit);
    connect(editor_, &QTextEdit::cursorPositionChanged, this, &TextFormatBar::followCursor);
    connect(editor_, &QTextEdit::currentCharFormatChanged, this, &TextFormatBar::followCursor);
    // Undo, a file read or an import change the formats under the cursor without moving it.
    connect(editor_, &QTextEdit::textChanged, this, &TextFormatBar::followCursor);
}

bool TextFormatBar::eventFilter(QObject* watched, QEvent* event) {
    // Return in a typed font name or size applies it, and goes no further: in the editor's
    // window it would press the default button.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == fontBox || watched == fontBox->lineEdit()) {
                applyTypedFamily_();
                return true;
            }
            if (watched == sizeBox || watched == sizeBox->lineEdit()) {
                applyFontSize(sizeBox->currentText());
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TextFormatBar::mergeFormat(const QTextCharFormat& change) {
    editor_->mergeCurrentCharFormat(change);
    editor_->setFocus();
    followCursor();
}

void TextFormatBar::applyFontSize(const QString& text) {
    bool ok = false;
    QString given = text.trimmed();
    double points = QLocale().toDouble(given, &ok);
    if (!ok)
        points = given.replace(u',', u'.').toDouble(&ok);
    // RTF carries half points up to 1638 points.
    if (ok && points >= 1 && points <= 1638) {
        QTextCharFormat change;
        change.setFontPointSize(std::round(points * 2) / 2);
        mergeFormat(change);
    } else {
        followCursor(); // shows the size the text has
    }
}

void TextFormatBar::applyColour() {
    const QColor colour = chooseColour(shownColour_);
    if (!colour.isValid())
        return;
    QTextCharFormat change;
    change.setForeground(colour);
    mergeFormat(change);
}

void TextFormatBar::applyAlignment(Qt::Alignment alignment) {
    editor_->setAlignment(alignment);
    editor_->setFocus();
    followCursor();
}

void TextFormatBar::takeTabKind() {
    const QTextOption::TabType type = centreTabAction->isChecked() ? QTextOption::CenterTab
                                      : rightTabAction->isChecked() ? QTextOption::RightTab
                                                                    : QTextOption::LeftTab;
    ruler_->setNewStopKind(type, dotLeaderAction->isChecked());
    tabKindButton->setIcon(tabStopIcon(ruler_->newStop(0)));
}

void TextFormatBar::applyTabEdit(const TabStops::Edit& edit) {
    QTextDocument* document = editor_->document();
    const QTextCursor selection = editor_->textCursor();
    const QTextBlock last = document->findBlock(selection.selectionEnd());
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (QTextBlock block = document->findBlock(selection.selectionStart()); block.isValid();
         block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setTabPositions(TabStops::applied(format.tabPositions(), edit));
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
        if (block == last)
            break;
    }
    cursor.endEditBlock();
    editor_->setFocus();
    followCursor();
}

void TextFormatBar::showColour(const QColor& colour) {
    if (colour == shownColour_ && !colourButton->icon().isNull())
        return;
    shownColour_ = colour;
    QPixmap pixmap = blankIcon();
    QPainter painter(&pixmap);
    QFont letter = font();
    letter.setBold(true);
    letter.setPixelSize(13);
    painter.setFont(letter);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, IconSide, IconSide - 5), Qt::AlignCenter, QStringLiteral("A"));
    painter.fillRect(QRect(2, IconSide - 5, IconSide - 4, 4), colour);
    painter.end();
    colourButton->setIcon(QIcon(pixmap));
}

void TextFormatBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    followCursor();
}

void TextFormatBar::followCursor() {
    // Finding the font at the cursor makes the font's engine: work a start need not do for a
    // window it does not show.
    if (!isVisible())
        return;
    const QTextCharFormat format = editor_->currentCharFormat();
    const QFont defaultFont = editor_->document()->defaultFont();
    const QFont font = format.font().resolve(defaultFont);
    {
        const QSignalBlocker block(fontBox);
        const QStringList families = format.fontFamilies().toStringList();
        const QString family = families.isEmpty() ? defaultFont.family() : families.first();
        // The box rebuilds its list for a new font: only when the family changes, not at every
        // letter typed.
        if (family != shownFamily_) {
            shownFamily_ = family;
            fontBox->setCurrentFont(font);
        }
        fontBox->setEditText(family);
    }
    {
        const QSignalBlocker block(sizeBox);
        sizeBox->setEditText(sizeText(pointSizeOf(format, defaultFont)));
    }
    boldButton->setChecked(font.weight() >= QFont::DemiBold);
    italicButton->setChecked(font.italic());
    underlineButton->setChecked(format.underlineStyle() != QTextCharFormat::NoUnderline ||
                                font.underline());
    showColour(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                : QColor(Qt::black));

    const Qt::Alignment alignment = editor_->alignment();
    alignJustifyButton->setChecked(alignment.testFlag(Qt::AlignJustify));
    alignCentreButton->setChecked(alignment.testFlag(Qt::AlignHCenter));
    alignRightButton->setChecked(alignment.testFlag(Qt::AlignRight));
    alignLeftButton->setChecked(!alignJustifyButton->isChecked() &&
                                !alignCentreButton->isChecked() && !alignRightButton->isChecked());

    // Tab position 0 is the text's left edge inside the editor's margin.
    const QPoint viewport = editor_->viewport()->mapToGlobal(QPoint(0, 0));
    ruler_->setOrigin(ruler_->mapFromGlobal(viewport).x() +
                      int(editor_->document()->documentMargin()) -
                      editor_->horizontalScrollBar()->value());
    ruler_->setStops(editor_->textCursor().blockFormat().tabPositions());
}
