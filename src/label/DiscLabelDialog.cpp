#include "label/DiscLabelDialog.h"

#include "controls/ColourButton.h"
#include "cover/Workspace.h"
#include "dialogs/DialogGeometry.h"
#include "dialogs/DialogLook.h"
#include "dialogs/ErrorGuard.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPainter>

namespace {
constexpr int ViewSide = 320;
} // namespace

DiscLabelDialog::DiscLabelDialog(QWidget* parent) : QDialog(parent) {
    createControls();
    setTexts();
    connectHandlers();
}

void DiscLabelDialog::createControls() {
    DialogLook::setUpWindow(this,
                            QSize(16 + ViewSide + 16 + 300 + 16, 16 + ViewSide + 16 + 35 + 16));
    labelView = new QLabel(this);
    labelView->setGeometry(16, 16, ViewSide, ViewSide);
    const int left = 16 + ViewSide + 16, width = 300;
    const auto makeRow = [&](int top, QLabel*& label, QComboBox*& box) {
        label = new QLabel(this);
        label->setGeometry(left, top, width, 22);
        box = new QComboBox(this);
        box->setGeometry(left, top + 24, width, 28);
    };
    makeRow(16, holeLabel, holeBox);
    makeRow(80, tracksLabel, tracksBox);
    makeRow(144, sheetLabel, sheetBox);
    sheetNote = new QLabel(this);
    sheetNote->setGeometry(left, 204, width, 120);
    sheetNote->setWordWrap(true);
    sheetNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    sheetNote->setFont(DialogLook::pixelFont(QStringLiteral("Verdana"), 11));
    const int bottom = height() - 16 - 35;
    printButton = DialogLook::makeButton(this, QRect(16, bottom, 150, 35));
    okButton =
        DialogLook::makeButton(this, QRect(this->width() - 16 - 100 - 12 - 100, bottom, 100, 35));
    cancelButton = DialogLook::makeButton(this, QRect(this->width() - 16 - 100, bottom, 100, 35));
    okButton->setDefault(true);
}

void DiscLabelDialog::setTexts() {
    setWindowTitle(ProductName + tr(" - Disc label"));
    holeLabel->setText(tr("Centre hole:"));
    holeBox->addItem(QStringLiteral("41 mm"), 41);
    holeBox->addItem(tr("15 mm (full-face label)"), 15);
    tracksLabel->setText(tr("Track list:"));
    tracksBox->addItem(tr("None"), int(LabelTracks::None));
    tracksBox->addItem(tr("In a ring along the edge"), int(LabelTracks::Ring));
    tracksBox->addItem(tr("In a block below the hole"), int(LabelTracks::Block));
    sheetLabel->setText(tr("Print on:"));
    printButton->setText(tr("Print…"));
    okButton->setText(tr("OK"));
    cancelButton->setText(tr("Cancel"));
}

void DiscLabelDialog::connectHandlers() {
    for (QComboBox* box : {holeBox, tracksBox, sheetBox})
        connect(box, &QComboBox::currentIndexChanged, this, &DiscLabelDialog::showLabel);
    connect(printButton, &QPushButton::clicked, this, guarded(this, &DiscLabelDialog::printChosen));
    connect(okButton, &QPushButton::clicked, this, [this] { done(1); });
    connect(cancelButton, &QPushButton::clicked, this, &DiscLabelDialog::reject);
}

std::optional<CoverOptions> DiscLabelDialog::choose(const DiscLabel::Content& content,
                                                    const QRect& caller) {
    showContent(content);
    const DialogGeometry::Place place = DialogGeometry::centreOver(caller, frameGeometry().size());
    move(place.left, place.top);
    if (exec() != 1)
        return std::nullopt;
    return chosenContent().options;
}

void DiscLabelDialog::showContent(const DiscLabel::Content& content) {
    content_ = content;
    QStringList problems;
    sheets_ = DiscLabel::availableSheets(&problems);
    const QSignalBlocker quietHole(holeBox), quietTracks(tracksBox), quietSheet(sheetBox);
    holeBox->setCurrentIndex(content.options.holeMm == 15 ? 1 : 0);
    tracksBox->setCurrentIndex(std::max(0, tracksBox->findData(int(content.options.tracks))));
    sheetBox->clear();
    for (const DiscLabel::Sheet& sheet : std::as_const(sheets_))
        sheetBox->addItem(sheet.name);
    sheetBox->setCurrentIndex(
        std::max<qsizetype>(0, sheetBox->findText(content.options.labelSheet)));
    problems.prepend(
        tr("Your own sheets: %1").arg(QDir::toNativeSeparators(DiscLabel::userSheetFile())));
    sheetNote->setText(problems.join(u'\n'));
    printButton->setEnabled(!content.picture.isNull());
    showLabel();
}

DiscLabel::Content DiscLabelDialog::chosenContent() const {
    DiscLabel::Content c = content_;
    c.options.holeMm = holeBox->currentData().toInt();
    c.options.tracks = LabelTracks(tracksBox->currentData().toInt());
    c.options.labelSheet = sheetBox->currentIndex() > 0 ? sheetBox->currentText() : QString();
    return c;
}

DiscLabel::Sheet DiscLabelDialog::chosenSheet() const {
    return sheets_.value(sheetBox->currentIndex(), DiscLabel::builtInSheets().value(0));
}

void DiscLabelDialog::showLabel() {
    QImage view(ViewSide, ViewSide, QImage::Format_RGB32);
    view.fill(Qt::white);
    QPainter painter(&view);
    painter.translate(ViewSide / 2.0, ViewSide / 2.0);
    const double scale = (ViewSide - 4) / DiscLabel::OuterMm;
    painter.scale(scale, scale);
    DiscLabel::paintLabel(painter, chosenContent(), true);
    painter.end();
    labelView->setPixmap(QPixmap::fromImage(view));
}

void DiscLabelDialog::printChosen() {
    if (printLabel)
        printLabel(chosenContent(), chosenSheet());
}

void DiscLabelDialog::reject() {
    done(2);
}
