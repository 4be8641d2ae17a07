#include "settings/Options.h"

#include "app/ErrorGuard.h"
#include "app/WindowPlacement.h"
#include "app/Workspace.h"
#include "controls/ClrBtn.h"
#include "platform/AppError.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QScreen>

TOptionsForm* OptionsForm = nullptr;

namespace {

const QColor FormColor(255, 255, 227);
const QColor HoverColor(255, 255, 136);

// The window is 639 x 286 pixels outside; this is what a dialog frame leaves inside.
constexpr int ClientWidth = 623;
constexpr int ClientHeight = 247;

QFont fontOf(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont msSansSerif(bool bold = false) {
    return fontOf(QStringLiteral("MS Sans Serif"), 16, bold);
}

// The group boxes of the design: an etched frame whose caption sits on its top line, the
// caption's own blanks keeping the line off the text; inside, the window's colour.
QGroupBox* makeGroupBox(QWidget* parent) {
    auto* box = new QGroupBox(parent);
    box->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid rgb(160, 160, 160); margin-top: 8px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 8px; padding: 0px; background-color: rgb(255, 255, 227); }"));
    return box;
}

} // namespace

TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent) {
    createControls();
    placeControls();
    connectHandlers();
    FormPaint();
    ErrorGuard::Run(this, [this] { FormCreate(); });
}

TOptionsForm::~TOptionsForm() {
    // The error box must not hang on a window that is going away.
    ErrorGuard::Run(nullptr, [this] { FormDestroy(); });
    if (OptionsForm == this)
        OptionsForm = nullptr;
}

void TOptionsForm::createControls() {
    setFont(msSansSerif());
    // The controls in the groups take the groups' font; set on each, as a style sheet on the
    // group would otherwise hand them the application's font.
    const QFont groupFont = fontOf(QStringLiteral("Verdana"), 15);
    PathGroupBox = makeGroupBox(this);
    PathLabel = new QLabel(PathGroupBox);
    PathEdit = new QLineEdit(PathGroupBox);
    CheckCopy = new QCheckBox(PathGroupBox);
    for (QWidget* w : std::initializer_list<QWidget*>{PathGroupBox, PathLabel, PathEdit, CheckCopy})
        w->setFont(groupFont);
    BtnBrowse = new TClrBtn(PathGroupBox);
    BtnBrowse->setFont(msSansSerif(true));

    UpdateGroupBox = makeGroupBox(this);
    UpdateCheckBox = new QCheckBox(UpdateGroupBox);
    BtnCheck = new TClrBtn(UpdateGroupBox);
    UpdateGroupBox->setFont(groupFont);
    UpdateCheckBox->setFont(groupFont);
    BtnCheck->setFont(fontOf(QStringLiteral("Verdana"), 15, true));

    BtnOK = new TClrBtn(QStringLiteral("OK"), this);
    BtnOK->setFont(msSansSerif(true));
    BtnOK->setModalResult(1);
    BtnCancel = new TClrBtn(this);
    BtnCancel->setFont(msSansSerif(true));
    BtnCancel->setModalResult(2);
}

void TOptionsForm::placeControls() {
    move(477, 223);
    resize(ClientWidth, ClientHeight);
    PathGroupBox->setGeometry(15, 13, 588, 106);
    PathLabel->move(26, 24);
    PathLabel->adjustSize();
    PathEdit->setGeometry(26, 47, 409, 26);
    CheckCopy->setGeometry(27, 74, 334, 21);
    BtnBrowse->setGeometry(449, 42, 119, 30);
    UpdateGroupBox->setGeometry(15, 128, 262, 99);
    UpdateCheckBox->setGeometry(26, 25, 232, 18);
    BtnCheck->setGeometry(74, 54, 119, 31);
    BtnOK->setGeometry(334, 161, 120, 35);
    BtnCancel->setGeometry(470, 162, 120, 35);
    // Tab order in the folder group: the browse button first, then the path.
    setTabOrder(BtnBrowse, PathEdit);
    setTabOrder(PathEdit, CheckCopy);
}

void TOptionsForm::connectHandlers() {
    connect(BtnBrowse, &QPushButton::clicked, this, Guarded(this, &TOptionsForm::BtnBrowseClick));
    connect(BtnCheck, &QPushButton::clicked, this, Guarded(this, &TOptionsForm::BtnCheckClick));
    connect(BtnOK, &QPushButton::clicked, this, Guarded(this, &TOptionsForm::BtnOKClick));
    connect(BtnCancel, &QPushButton::clicked, this, Guarded(this, &TOptionsForm::BtnCancelClick));
}

void TOptionsForm::FormCreate() {
    CheckCopy->setChecked(true);
    LoadSettings();
}

void TOptionsForm::FormPaint() {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, FormColor);
    setPalette(pal);
    for (TClrBtn* button : {BtnBrowse, BtnCheck, BtnOK, BtnCancel}) {
        button->setBackColor(FormColor);
        button->setHoverColor(HoverColor);
    }

    const bool nl = IsDutch();
    setWindowTitle(ProductName +
                   (nl ? QStringLiteral(" - Instellingen") : QStringLiteral(" - Options")));
    PathGroupBox->setTitle(nl ? QStringLiteral(" Plaats voor de bestanden ")
                              : QStringLiteral(" Location for Data Files "));
    PathLabel->setText(nl ? QStringLiteral("Geef het nieuwe pad voor de bestanden:")
                          : QStringLiteral("Enter new Location for Data Files:"));
    PathLabel->adjustSize();
    BtnBrowse->setText(nl ? QStringLiteral("Bladeren") : QStringLiteral("Browse"));
    CheckCopy->setText(nl ? QStringLiteral("Kopieer bestanden naar nieuwe map")
                          : QStringLiteral("Copy Files to new Directory"));
    UpdateGroupBox->setTitle(QStringLiteral(" Update "));
    UpdateCheckBox->setText(nl ? QStringLiteral(" \"Check voor Updates\" Aan ")
                               : QStringLiteral("\"Check for Updates\" On"));
    BtnCheck->setText(nl ? QStringLiteral("Check Nu") : QStringLiteral("Check Now"));
    BtnCancel->setText(nl ? QStringLiteral("Annuleren") : QStringLiteral("Cancel"));
}

void TOptionsForm::paintEvent(QPaintEvent* event) {
    FormPaint();
    QDialog::paintEvent(event);
}

void TOptionsForm::LoadSettings() {
    const StoredOptions options = LoadSettingsValues();
    // A place on a screen that is gone would open this modal window out of the user's reach.
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens.append(s->geometry());
    move(KeepOnScreen(QPoint(options.left, options.top), frameGeometry().size(), screens,
                      QPoint(100, 100)));
    UpdateCheckBox->setChecked(options.autoUpdate);
    PathEdit->setText(DataFolder);
    if (!options.failure.isEmpty())
        throw AppError(options.failure);
}

void TOptionsForm::SaveSettings() {
    SaveSettingsValues(UpdateCheckBox->isChecked());
}

void TOptionsForm::UseChosenFolder(const QString& folder) {
    UseDataFolder(folder);
    PathEdit->setText(DataFolder);
}

void TOptionsForm::FormDestroy() {
    SaveSettings();
    RegistryStore store;
    store.WriteInteger(SettingsSection, QStringLiteral("OptionsTop"), y());
    store.WriteInteger(SettingsSection, QStringLiteral("OptionsLeft"), x());
    store.Flush();
}

void TOptionsForm::BtnBrowseClick() {
    // Choosing the folder with the browse dialog comes with that dialog; UseChosenFolder then
    // takes its answer.
}

void TOptionsForm::BtnCheckClick() {
    if (CheckNow)
        CheckNow(y(), x(), frameGeometry().height(), frameGeometry().width());
}

void TOptionsForm::BtnOKClick() {
    SaveSettings();
}

void TOptionsForm::BtnCancelClick() {
    LoadSettings();
}

// Escape and the title bar's close button leave the window as Cancel does: a change the user
// walked away from must not be stored when the program ends.
void TOptionsForm::reject() {
    ErrorGuard::Run(this, [this] { BtnCancelClick(); });
    done(2);
}
