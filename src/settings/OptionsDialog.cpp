#include "settings/OptionsDialog.h"

#include "controls/ColourButton.h"
#include "cover/Workspace.h"
#include "dialogs/ErrorGuard.h"
#include "platform/AppError.h"
#include "platform/RegistryStore.h"
#include "settings/Settings.h"
#include "support/WindowPlacement.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>

namespace {

const QColor FormColor(255, 255, 227);
const QColor hoverColor(255, 255, 136);

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

OptionsDialog::OptionsDialog(Workspace& workspace, QWidget* parent)
    : QDialog(parent), workspace_(workspace) {
    createControls();
    placeControls();
    connectHandlers();
    handlePaint();
    ErrorGuard::run(this, [this] { initialise(); });
}

OptionsDialog::~OptionsDialog() {
    // The error box must not hang on a window that is going away.
    ErrorGuard::run(nullptr, [this] { handleDestroy(); });
}

void OptionsDialog::createControls() {
    setFont(msSansSerif());
    // The controls in the groups take the groups' font; set on each, as a style sheet on the
    // group would otherwise hand them the application's font.
    const QFont groupFont = fontOf(QStringLiteral("Verdana"), 15);
    dataFolderGroup = makeGroupBox(this);
    dataFolderLabel = new QLabel(dataFolderGroup);
    dataFolderEdit = new QLineEdit(dataFolderGroup);
    copyCheckBox = new QCheckBox(dataFolderGroup);
    for (QWidget* w : std::initializer_list<QWidget*>{dataFolderGroup, dataFolderLabel,
                                                      dataFolderEdit, copyCheckBox})
        w->setFont(groupFont);
    browseButton = new ColourButton(dataFolderGroup);
    browseButton->setFont(msSansSerif(true));

    updateGroup = makeGroupBox(this);
    autoUpdateCheckBox = new QCheckBox(updateGroup);
    checkNowButton = new ColourButton(updateGroup);
    updateGroup->setFont(groupFont);
    autoUpdateCheckBox->setFont(groupFont);
    checkNowButton->setFont(fontOf(QStringLiteral("Verdana"), 15, true));

    okButton = new ColourButton(QStringLiteral("OK"), this);
    okButton->setFont(msSansSerif(true));
    okButton->setModalResult(1);
    cancelButton = new ColourButton(this);
    cancelButton->setFont(msSansSerif(true));
    cancelButton->setModalResult(2);
}

void OptionsDialog::placeControls() {
    move(477, 223);
    resize(ClientWidth, ClientHeight);
    dataFolderGroup->setGeometry(15, 13, 588, 106);
    dataFolderLabel->move(26, 24);
    dataFolderLabel->adjustSize();
    dataFolderEdit->setGeometry(26, 47, 409, 26);
    copyCheckBox->setGeometry(27, 74, 334, 21);
    browseButton->setGeometry(449, 42, 119, 30);
    updateGroup->setGeometry(15, 128, 262, 99);
    autoUpdateCheckBox->setGeometry(26, 25, 232, 18);
    checkNowButton->setGeometry(74, 54, 119, 31);
    okButton->setGeometry(334, 161, 120, 35);
    cancelButton->setGeometry(470, 162, 120, 35);
    // Tab order in the folder group: the browse button first, then the path.
    setTabOrder(browseButton, dataFolderEdit);
    setTabOrder(dataFolderEdit, copyCheckBox);
}

void OptionsDialog::connectHandlers() {
    connect(browseButton, &QPushButton::clicked, this,
            guarded(this, &OptionsDialog::browseForDataFolder));
    connect(checkNowButton, &QPushButton::clicked, this,
            guarded(this, &OptionsDialog::checkForUpdateNow));
    connect(okButton, &QPushButton::clicked, this, guarded(this, &OptionsDialog::acceptOptions));
    connect(cancelButton, &QPushButton::clicked, this,
            guarded(this, &OptionsDialog::cancelOptions));
}

void OptionsDialog::initialise() {
    copyCheckBox->setChecked(true);
    loadSettings();
}

void OptionsDialog::handlePaint() {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, FormColor);
    setPalette(pal);
    for (ColourButton* button : {browseButton, checkNowButton, okButton, cancelButton}) {
        button->setBackColor(FormColor);
        button->setHoverColor(hoverColor);
    }

    setWindowTitle(ProductName + tr(" - Options"));
    dataFolderGroup->setTitle(tr(" Location for Data Files "));
    dataFolderLabel->setText(tr("Enter new Location for Data Files:"));
    dataFolderLabel->adjustSize();
    browseButton->setText(tr("Browse"));
    copyCheckBox->setText(tr("Copy Files to new Directory"));
    updateGroup->setTitle(QStringLiteral(" Update "));
    autoUpdateCheckBox->setText(tr("\"Check for Updates\" On"));
    checkNowButton->setText(tr("Check Now"));
    cancelButton->setText(tr("Cancel"));
}

void OptionsDialog::paintEvent(QPaintEvent* event) {
    handlePaint();
    QDialog::paintEvent(event);
}

void OptionsDialog::loadSettings() {
    const StoredOptions options = loadSettingsValues(workspace_);
    // A place on a screen that is gone would open this modal window out of the user's reach.
    move(keepOnScreen(QPoint(options.left, options.top), frameGeometry().size(),
                      availableScreenAreas(), QPoint(100, 100)));
    autoUpdateCheckBox->setChecked(options.autoUpdate);
    dataFolderEdit->setText(workspace_.dataFolder);
    if (!options.failure.isEmpty())
        throw AppError(options.failure);
}

void OptionsDialog::saveSettings() {
    saveSettingsValues(workspace_, autoUpdateCheckBox->isChecked());
}

void OptionsDialog::useChosenFolder(const QString& folder) {
    useDataFolder(workspace_, folder);
    dataFolderEdit->setText(workspace_.dataFolder);
}

void OptionsDialog::saveSettingsAndPlace(RegistryStore& store) {
    saveSettingsValues(workspace_, autoUpdateCheckBox->isChecked(), store);
    store.writeInteger(SettingsSection, QStringLiteral("OptionsTop"), y());
    store.writeInteger(SettingsSection, QStringLiteral("OptionsLeft"), x());
}

// After the main window's closing has written the same values this writes nothing.
// A settings file that could not be read at start is left alone (that was told then).
void OptionsDialog::handleDestroy() {
    RegistryStore store;
    if (!store.readable())
        return;
    saveSettingsAndPlace(store);
    store.flush();
}

void OptionsDialog::browseForDataFolder() {
    if (!chooseFolder)
        return;
    const FolderQuestion question{workspace_.dataFolder, ProductName + tr(" - Path for files"),
                                  tr("Select the Path for the Files\r\nen klik op OK.")};
    const std::optional<QString> chosen = chooseFolder(question);
    if (chosen && !chosen->isEmpty())
        useChosenFolder(*chosen);
}

void OptionsDialog::checkForUpdateNow() {
    if (checkNow)
        checkNow(frameGeometry());
}

void OptionsDialog::acceptOptions() {
    saveSettings();
}

void OptionsDialog::cancelOptions() {
    loadSettings();
}

// Escape and the title bar's close button leave the window as Cancel does: a change the user
// walked away from must not be stored when the program ends.
void OptionsDialog::reject() {
    ErrorGuard::run(this, [this] { cancelOptions(); });
    done(2);
}
