#include "back/Back.h"

#include "app/ErrorGuard.h"
#include "app/Main.h"
#include "app/WindowPlacement.h"
#include "app/Workspace.h"
#include "back/BackRules.h"
#include "controls/ClrBtn.h"
#include "dialogs/DialogLook.h"
#include "platform/AppError.h"
#include "platform/PathDelim.h"
#include "platform/RegistryStore.h"
#include "platform/RichEdit.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextCursor>

TBackForm* BackForm = nullptr;

namespace {

QString byLanguage(const char* dutch, const char* english) {
    return IsDutch() ? QString::fromUtf8(dutch) : QString::fromUtf8(english);
}

} // namespace

TBackForm::TBackForm(QWidget* parent) : QDialog(parent) {
    createControls();
    connectHandlers();
    FormCreate();
}

void TBackForm::createControls() {
    setModal(false);
    setFont(DialogLook::PixelFont(QStringLiteral("Verdana"), 14));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    QFont buttonFont = DialogLook::PixelFont(QStringLiteral("Verdana"), 16);
    buttonFont.setBold(true);
    const auto makeButton = [&](QWidget* panel, QRect geometry) {
        auto* button = new TClrBtn(panel);
        button->setGeometry(geometry);
        button->setFont(buttonFont);
        DialogLook::PaintButton(button);
        return button;
    };

    Panel1 = new QWidget(this);
    LeesButton = makeButton(Panel1, QRect(BackRules::ButtonLeft, 19, 82, 35));
    SaveButton = makeButton(Panel1, QRect(0, 19, 85, 35));
    Label1 = new QLabel(Panel1);
    Label1->setAlignment(Qt::AlignCenter);

    RichEdit1 = new RichEdit(this);
    RichEdit1->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    // No scroll bars: what the editor shows is copied onto the back cover, and a bar would be
    // printed there and would narrow the lines. A long list still scrolls with the keys and the
    // wheel.
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    Panel2 = new QWidget(this);
    OKButton = makeButton(Panel2, QRect(0, 17, 241, 32));
    CancelButton = makeButton(Panel2, QRect(0, 17, 103, 32));

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    RunOpenDialog = [](QFileDialog* dialog) { return dialog->exec() == QDialog::Accepted; };
}

void TBackForm::setTexts() {
    setWindowTitle(ProductName + QStringLiteral(" - Tekst achterkant"));
    // Line feed, then carriage return, between the lines of the instruction.
    Label1->setText(byLanguage("Stel hier de lijst met nummers samen.\n\r"
                               "Klik vervolgens op OK om de lijst\n\r"
                               "naar de layout in het hoofdscherm te kopiëren.",
                               "Enter the contents list in here.\n\r"
                               "Next click the OK Button to copy the list\n\r"
                               "to the layout in the Main screen."));
    LeesButton->setText(byLanguage("Lees", "Read"));
    SaveButton->setText(byLanguage("Bewaar", "Save"));
    OKButton->setText(byLanguage("Kopieer naar Achterkant", "Copy to Back Cover"));
    CancelButton->setText(byLanguage("Annuleren", "Cancel"));
}

void TBackForm::connectHandlers() {
    connect(LeesButton, &QPushButton::clicked, this, Guarded(this, &TBackForm::LeesButtonClick));
    connect(SaveButton, &QPushButton::clicked, this, Guarded(this, &TBackForm::SaveButtonClick));
    connect(OKButton, &QPushButton::clicked, this, Guarded(this, &TBackForm::OKButtonClick));
    connect(CancelButton, &QPushButton::clicked, this,
            Guarded(this, &TBackForm::CancelButtonClick));
    // A list typed here is part of the project: closing the program must offer to save it, also
    // when it has not been copied to the back cover yet. Loading a project or starting a new one
    // sets the flag as it should be afterwards.
    connect(RichEdit1, &QTextEdit::textChanged, this, [] { AskToSave = true; });
}

TMainForm* TBackForm::mainWindow() const {
    return MainWindow ? MainWindow : MainForm;
}

void TBackForm::FormCreate() {
    setTexts();
    FormResize();
}

void TBackForm::FormShow() {
    RegistryStore store;
    const QPoint stored(store.ReadInteger(SettingsSection, QStringLiteral("BackLeft"), 200),
                        store.ReadInteger(SettingsSection, QStringLiteral("BackTop"), 100));
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens.append(s->geometry());
    move(KeepOnScreen(stored, frameGeometry().size(), screens, QPoint(200, 100)));
}

// The editor is always 556 x 472 pixels: any change of size is undone at once.
void TBackForm::FormResize() {
    const int width = BackRules::EditorWidth;
    const int height = BackRules::Panel1Height + BackRules::EditorHeight + BackRules::Panel2Height;
    if (minimumSize() != QSize(width, height) || maximumSize() != QSize(width, height))
        setFixedSize(width, height);
    Panel1->setGeometry(0, 0, width, BackRules::Panel1Height);
    Label1->setGeometry(0, BackRules::Panel1Height - 69, width, 69);
    RichEdit1->setGeometry(0, BackRules::Panel1Height, width, BackRules::EditorHeight);
    Panel2->setGeometry(0, BackRules::Panel1Height + BackRules::EditorHeight, width,
                        BackRules::Panel2Height);
    OKButton->move(LeesButton->x(), OKButton->y());
    SaveButton->move(width - SaveButton->width() - LeesButton->x(), SaveButton->y());
    CancelButton->move(SaveButton->x(), CancelButton->y());
}

void TBackForm::LoadContents(const QString& fileName) {
    RichEdit1->LoadFromFile(fileName);
}

void TBackForm::LeesButtonClick() {
    if (!ProjectFolder.isEmpty())
        OpenDialog1->setDirectory(ProjectFolder);
    OpenDialog1->setDefaultSuffix(QStringLiteral("rtf"));
    OpenDialog1->setWindowTitle(ProductName +
                                byLanguage(" - Selecteer het rtf-bestand voor de achterkant",
                                           " - Select the rtf file for the back"));
    OpenDialog1->setNameFilter(byLanguage("RichText-bestanden (*.rtf)", "RichText files (*.rtf)"));
    if (!RunOpenDialog(OpenDialog1) || OpenDialog1->selectedFiles().isEmpty())
        return;
    RichEdit1->LoadFromFile(OpenDialog1->selectedFiles().first());
    AskToSave = true;
}

void TBackForm::SaveButtonClick() {
    const QString name = BackRules::NameFromLines(RichEdit1->DisplayedLines());
    const QString folder = name.isEmpty() ? DataFolder : WithTrailingDelim(DataFolder + name);
    const QString file = folder + QStringLiteral("Back.rtf");
    // A name that cannot be a folder fails before anything is made or changed.
    if (!BackRules::IsUsableFolderName(name) || !QDir().mkpath(folder))
        throw AppError(QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(file)));
    RichEdit1->SaveToFile(file);
    ProjectName = name;
    ProjectFolder = folder;
}

void TBackForm::OKButtonClick() {
    TMainForm* main = mainWindow();
    if (!main)
        return;
    QScrollBar* scroll = main->ScrollBox1->verticalScrollBar();
    SavedScrollPos = quint16(std::clamp(scroll->value(), 0, 65535));
    scroll->setValue(0);
    QApplication::processEvents();

    // The editor as it is displayed now: what is scrolled out of sight does not reach the back.
    const QImage pixels = grabWithoutSelection();
    Picture& back = main->BackPicture();
    QImage picture = back.Image();
    if (picture.isNull()) {
        picture = QImage(552, 472, QImage::Format_RGB32);
        picture.fill(Qt::white);
    } else {
        picture = picture.convertToFormat(QImage::Format_RGB32);
    }
    BackRules::CopyEditorPixels(pixels, picture);
    back.SetImage(picture);
    main->PutBackPictureIntoLayout();

    main->Edit1->setText(BackRules::NameFromLines(RichEdit1->DisplayedLines()));
    main->PastoeButtonClick();
    scroll->setValue(SavedScrollPos);
    close();
}

QImage TBackForm::grabWithoutSelection() {
    // A selection is the editor's marking, not part of the list: it is left out of the copy.
    // Changing the cursor scrolls it into view, so the view is put back where the user left it.
    const QTextCursor kept = RichEdit1->textCursor();
    if (!kept.hasSelection())
        return grab().toImage();
    QScrollBar* vertical = RichEdit1->verticalScrollBar();
    QScrollBar* horizontal = RichEdit1->horizontalScrollBar();
    const int top = vertical->value();
    const int left = horizontal->value();
    QTextCursor plain = kept;
    plain.clearSelection();
    RichEdit1->setTextCursor(plain);
    vertical->setValue(top);
    horizontal->setValue(left);
    const QImage pixels = grab().toImage();
    RichEdit1->setTextCursor(kept);
    vertical->setValue(top);
    horizontal->setValue(left);
    return pixels;
}

void TBackForm::CancelButtonClick() {
    close();
}

void TBackForm::FormClose() {
    RegistryStore store;
    store.WriteInteger(SettingsSection, QStringLiteral("BackLeft"), x());
    store.WriteInteger(SettingsSection, QStringLiteral("BackTop"), y());
    store.Flush();
}

void TBackForm::done(int result) {
    ErrorGuard::Run(this, [this] { FormClose(); });
    QDialog::done(result);
}

void TBackForm::showEvent(QShowEvent* event) {
    ErrorGuard::Run(this, [this] { FormShow(); });
    QDialog::showEvent(event);
}

void TBackForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}
