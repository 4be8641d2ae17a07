#include "app/Main.h"

#include "app/CoverLayout.h"
#include "app/ErrorGuard.h"
#include "app/ImageControl.h"
#include "platform/PathDelim.h"
#include "platform/RegistryStore.h"
#include "app/SampleProject.h"
#include "app/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

TMainForm* MainForm = nullptr;
QString NoBackTextLine1;
QString NoBackTextLine2;
QString StartFolder;
bool AskToSave = false;
quint16 SavedScrollPos = 0;

namespace {

constexpr int PanelHeight = 178;
constexpr int ScrollBarWidth = 21;

QFont verdana(int pixels) {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixels);
    return font;
}

QPushButton* makeButton(QWidget* parent, int left, int top, int width, int height) {
    auto* button = new QPushButton(parent);
    button->setGeometry(left, top, width, height);
    button->setFont(verdana(16));
    return button;
}

} // namespace

TMainForm::TMainForm(QWidget* parent) : QWidget(parent) {
    // Creation: the paths of the run, the canvas's height, the texts by language.
    StartFolder = WithTrailingDelim(QDir::currentPath());
    DataFolder = GetUserDataFolder(ProductName);
    createControls();
    placeControls();
    setTexts();
    connectHandlers();
    FirstShowDone = false;
    AskToSave = false;
    fixSize();
}

void TMainForm::createControls() {
    setFont(verdana(14));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    Panel1 = new QWidget(this);
    NieuwButton = makeButton(Panel1, 23, 26, 153, 34);
    BewaarProjectButton = makeButton(Panel1, 23, 67, 153, 34);
    LeesProjectButton = makeButton(Panel1, 190, 11, 160, 34);
    FrontButton = makeButton(Panel1, 190, 48, 160, 34);
    BackButton = makeButton(Panel1, 190, 86, 160, 34);
    PrintButton = makeButton(Panel1, 364, 48, 150, 34);
    HelpButton = makeButton(Panel1, 528, 11, 150, 34);
    ButtonOptions = makeButton(Panel1, 528, 48, 150, 34);
    AboutButton = makeButton(Panel1, 528, 86, 150, 34);
    CloseButton = makeButton(Panel1, 693, 48, 150, 34);
    HelpButton->setEnabled(false);

    Bevel1 = new QFrame(Panel1);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 128, 933, 5);

    Label1 = new QLabel(Panel1);
    Label1->setGeometry(29, 143, 229, 17);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setGeometry(264, 141, 469, 25);
    Edit1->setMaxLength(51);
    PastoeButton = makeButton(Panel1, 748, 136, 85, 33);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox1->verticalScrollBar()->setFixedWidth(ScrollBarWidth);
    ScrollBox1->verticalScrollBar()->setSingleStep(20);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Window);

    auto* canvasView = new ImageControl;
    Image1 = canvasView;
    ScrollBox1->setWidget(Image1);
    Image2 = new ImageControl(Image1);
    Image3 = new ImageControl(Image1);
    Image3l = new ImageControl(Image1);
    Image3r = new ImageControl(Image1);

    UpdateTimer = new QTimer(this);
    UpdateTimer->setInterval(60000);
    UpdateTimer->start();
}

void TMainForm::placeControls() {
    const int clientWidth = CloseButton->x() + CloseButton->width() + NieuwButton->x();
    Panel1->setGeometry(0, 0, clientWidth, PanelHeight);
    // The canvas is as wide as the scroll box's client area and as high as an A4 page.
    const int canvasWidth = clientWidth - ScrollBarWidth;
    layout_ = Layout::NewLayoutImage(canvasWidth);
    Image1->resize(canvasWidth, Layout::CanvasHeight);
    static_cast<ImageControl*>(Image1)->SetImage(layout_);
    // Where the template puts them: the spine text is drawn at these controls, also when a failed
    // first showing never drew the template.
    Image2->setGeometry(Layout::Image2Bounds);
    Image3->setGeometry(Layout::Image3Bounds);
    Image3l->setGeometry(Layout::Image3lBounds);
    Image3r->setGeometry(Layout::Image3rBounds);
}

void TMainForm::setTexts() {
    const bool nl = IsDutch();
    VersionText = nl ? QStringLiteral("versie 1.10c") : QStringLiteral("version 1.10c");
    CopyrightText = nl ? QStringLiteral("Copyright © 2002–2026 de makers van Sleevix")
                       : QStringLiteral("Copyright © 2002–2026 the makers of Sleevix");
    HelpFile = QStringLiteral(".\\Sleevix_n.chm");
    NoBackTextLine1 = nl ? QStringLiteral("U heeft de Achtertekst niet geladen")
                         : QStringLiteral("You didn't read the Back Text");
    NoBackTextLine2 = nl ? QStringLiteral("Maak eerst de inhoudsopgave voor de achterzijde aan.")
                         : QStringLiteral("First create the list of contents for the back of the CD.");
    NieuwButton->setText(nl ? QStringLiteral("Nieuw Project") : QStringLiteral("New Project"));
    BewaarProjectButton->setText(nl ? QStringLiteral("Bewaar Project")
                                    : QStringLiteral("Save Project"));
    LeesProjectButton->setText(nl ? QStringLiteral("Lees Project") : QStringLiteral("Read Project"));
    FrontButton->setText(nl ? QStringLiteral("Lees Voorfoto") : QStringLiteral("Read Front Picture"));
    BackButton->setText(nl ? QStringLiteral("Achtertekst") : QStringLiteral("Back Text"));
    PrintButton->setText(nl ? QStringLiteral("Druk Af") : QStringLiteral("Print"));
    HelpButton->setText(QStringLiteral("Help"));
    ButtonOptions->setText(QStringLiteral("Instellingen"));
    AboutButton->setText(nl ? QStringLiteral("Over Sleevix") : QStringLiteral("About..."));
    CloseButton->setText(nl ? QStringLiteral("Sluit af") : QStringLiteral("Close"));
    Label1->setText(nl ? QStringLiteral("Geef de tekst voor de zijkanten:")
                       : QStringLiteral("Enter the Text for the Splines:"));
    Edit1->setText(QStringLiteral("Deze tekst komt op de Splines"));
    PastoeButton->setText(nl ? QStringLiteral("Pas Toe") : QStringLiteral("Apply"));
}

void TMainForm::connectHandlers() {
    auto call = [this](const std::function<void()>& service) {
        if (service)
            service();
    };
    connect(NieuwButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::Run(this, [&] { call(Services.NewProject); }); });
    connect(BewaarProjectButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::Run(this, [&] { call(Services.SaveProject); }); });
    connect(LeesProjectButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::Run(this, [&] { call(Services.ReadProject); }); });
    connect(FrontButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::Run(this, [&] { call(Services.ReadFrontPicture); }); });
    connect(BackButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::Run(this, [&] { call(Services.ShowBackEditor); }); });
    connect(PrintButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::Run(this, [&] { call(Services.ShowPrintPreview); }); });
    connect(ButtonOptions, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::Run(this, [&] { call(Services.ShowOptions); }); });
    connect(AboutButton, &QPushButton::clicked, this,
            [this, call] { ErrorGuard::Run(this, [&] { call(Services.ShowAbout); }); });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(PastoeButton, &QPushButton::clicked, this, Guarded(this, &TMainForm::PastoeButtonClick));
    // A spine text typed but not yet applied is what a save would take: closing asks about it.
    connect(Edit1, &QLineEdit::textEdited, this, [] { AskToSave = true; });
    connect(UpdateTimer, &QTimer::timeout, this, Guarded(this, &TMainForm::UpdateTimerTimer));
}

void TMainForm::fixSize() {
    const int clientWidth = CloseButton->x() + CloseButton->width() + NieuwButton->x();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int height = std::max(PanelHeight + 100, (screen ? screen->geometry().height() : 1024) - 50);
    // The user cannot change the size: it is fixed, as the layout is.
    setFixedSize(clientWidth, height);
    ScrollBox1->setGeometry(0, PanelHeight, clientWidth, height - PanelHeight);
}

void TMainForm::refreshLayout() { static_cast<ImageControl*>(Image1)->SetImage(layout_); }

void TMainForm::DrawTemplate() {
    layout_ = Layout::NewLayoutImage(Image1->width());
    Canvas canvas(&layout_);
    Layout::DrawTemplate(canvas);
    Image2->setGeometry(Layout::Image2Bounds);
    Image3->setGeometry(Layout::Image3Bounds);
    Image3l->setGeometry(Layout::Image3lBounds);
    Image3r->setGeometry(Layout::Image3rBounds);
    refreshLayout();
}

void TMainForm::LoadFrontPicture(const QString& fileName) {
    front_.LoadFromFile(fileName, Layout::FrontRect.size());
    Image2->SetImage(front_.Image());
    Canvas canvas(&layout_);
    canvas.StretchDraw(Layout::FrontRect, front_.Image());
    refreshLayout();
    AskToSave = false;
}

void TMainForm::LoadBackPicture(const QString& fileName) {
    back_.LoadFromFile(fileName);
    PutBackPictureIntoLayout();
    AskToSave = false;
}

void TMainForm::PutBackPictureIntoLayout() {
    if (back_.IsEmpty()) {
        QImage white(Layout::BackPictureWidth, Layout::BackPictureHeight, QImage::Format_RGB32);
        white.fill(Qt::white);
        back_.SetImage(white);
    }
    QImage picture = back_.Image();
    // A bitmap with a palette is read as an indexed picture, on which nothing can be drawn.
    if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono ||
        picture.format() == QImage::Format_MonoLSB)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    Layout::StampProductName(picture, ProductName);
    back_.SetImage(picture, back_.GetFormat() == Picture::Format::None ? Picture::Format::Bitmap
                                                                       : back_.GetFormat());
    Image3->SetImage(picture);
    Canvas canvas(&layout_);
    canvas.StretchDraw(Layout::BackRect, picture);
    refreshLayout();
}

void TMainForm::PastoeButtonClick() {
    Canvas canvas(&layout_);
    Layout::DrawSpineText(canvas, Edit1->text(), Image3l->geometry(), Image3r->geometry());
    refreshLayout();
    AskToSave = true;
}

void TMainForm::removeStaleInstaller() {
    const QString temp = DataFolder + QStringLiteral("Temp") + PathDelim;
    const QString installer = temp + ProductName + KeepNumberChars(VersionText) + QStringLiteral(".exe");
    if (QFile::exists(installer)) {
        QFile::remove(installer);
        QDir().rmdir(temp);
    }
}

void TMainForm::FormShow() {
    if (FirstShowDone)
        return;
    FirstShowDone = true;
    setWindowTitle(ProductName + QStringLiteral(" - ") + VersionText);
    removeStaleInstaller();
    {
        RegistryStore store;
        const QPoint stored(store.ReadInteger(SettingsSection, QStringLiteral("Left"), 200),
                            store.ReadInteger(SettingsSection, QStringLiteral("Top"), 100));
        QList<QRect> screens;
        for (const QScreen* s : QGuiApplication::screens())
            screens.append(s->geometry());
        move(KeepOnScreen(stored, size(), screens, QPoint(200, 100)));
    }
    // A project saved without a name (an empty list saved in the editor) would make the data
    // folder itself the project, which holds no pictures: every start would fail. The sample
    // project opens instead.
    if (ProjectName.isEmpty()) {
        ProjectName = DefaultProjectName;
        ProjectFolder = DataFolder + ProjectName + PathDelim;
    }
    if (!QFileInfo(ProjectFolder).isDir())
        CopySampleFiles(SampleFolders(StartFolder, ProgramFolder), ProjectFolder);
    DrawTemplate();
    LoadFrontPicture(ProjectFolder + QStringLiteral("Front.jpg"));
    LoadBackPicture(ProjectFolder + QStringLiteral("Back.bmp"));
    if (Services.LoadBackText)
        Services.LoadBackText(ProjectFolder + QStringLiteral("Back.rtf"));
    Edit1->setText(ProjectName);
    PastoeButtonClick();
    AskToSave = false;
}

void TMainForm::FormPaint() {
    // Enabling a running timer must not restart it.
    if (AutoUpdateEnabled && !UpdateTimer->isActive())
        UpdateTimer->start();
    else if (!AutoUpdateEnabled && UpdateTimer->isActive())
        UpdateTimer->stop();
}

void TMainForm::UpdateTimerTimer() {
    UpdateTimer->stop();
    if (Services.CheckForUpdate)
        Services.CheckForUpdate();
}

bool TMainForm::FormClose() {
    if (AskToSave && Services.AskSaveProject) {
        switch (Services.AskSaveProject()) {
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::Yes:
            // A save that failed has been shown; the program stays open so nothing is lost.
            if (Services.SaveProject && !ErrorGuard::Run(this, Services.SaveProject))
                return false;
            // Without a spine text the save wrote nothing and only asks for one; closing now
            // would lose the work the user has just asked to keep.
            if (Edit1->text().isEmpty())
                return false;
            break;
        case SaveAnswer::No:
            break;
        }
    }
    {
        RegistryStore store;
        store.WriteInteger(SettingsSection, QStringLiteral("Left"), x());
        store.WriteInteger(SettingsSection, QStringLiteral("Top"), y());
        store.WriteString(SettingsSection, QStringLiteral("Path for Data"), DataFolder);
        store.Flush();
    }
    if (Services.SaveSettings)
        Services.SaveSettings();
    return true;
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!FirstShowDone)
        QTimer::singleShot(0, this, [this] {
            ErrorGuard::Run(this, [this] { FormShow(); });
            // Lets the start-up benchmark time a whole start to the first showing.
            if (qEnvironmentVariableIsSet("SLEEVIX_QUIT_AFTER_FIRST_SHOW"))
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        });
}

void TMainForm::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    FormPaint();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    bool close = true;
    // A settings file that cannot be written is shown; the program still closes.
    ErrorGuard::Run(this, [&] { close = FormClose(); });
    if (close)
        event->accept();
    else
        event->ignore();
}
