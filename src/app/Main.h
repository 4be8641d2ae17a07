// The main window: a panel of buttons and the spine-text field at the top, below it the whole
// insert at full size on the layout canvas (Image1) with the picture controls over it.
//
// The window draws and loads through CoverLayout; what belongs to other windows (the back-cover
// editor, the options, printing, the closing question) reaches it through MainFormServices, which
// the program's entry fills when it has made those windows.
#pragma once

#include "app/Workspace.h"
#include "platform/Picture.h"

#include <QImage>
#include <QWidget>
#include <functional>

class ImageControl;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTimer;

// How the closing question was answered.
enum class SaveAnswer { Yes, No, Cancel };

struct MainFormServices {
    std::function<void(const QString& rtfFile)> LoadBackText; // into the back-cover editor
    std::function<void()> ShowBackEditor;
    std::function<void()> ShowPrintPreview;
    std::function<void()> ShowOptions;
    std::function<void()> ShowAbout;
    std::function<void()> SaveSettings;             // the options' settings, at closing
    std::function<SaveAnswer()> AskSaveProject;     // the closing question
    std::function<void()> SaveProject;              // what the save-project button does
    std::function<void()> NewProject;
    std::function<void()> ReadProject;
    std::function<void()> ReadFrontPicture;
    std::function<void()> CheckForUpdate;           // the automatic update check
};

class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    MainFormServices Services;

    // Controls.
    QWidget* Panel1;
    QPushButton* NieuwButton;
    QPushButton* BewaarProjectButton;
    QPushButton* LeesProjectButton;
    QPushButton* FrontButton;
    QPushButton* BackButton;
    QPushButton* PrintButton;
    QPushButton* HelpButton;
    QPushButton* ButtonOptions;
    QPushButton* AboutButton;
    QPushButton* CloseButton;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* PastoeButton;
    QFrame* Bevel1;
    QScrollArea* ScrollBox1;
    QWidget* Image1; // shows the layout canvas
    ImageControl* Image2;
    ImageControl* Image3l;
    ImageControl* Image3;
    ImageControl* Image3r;
    QTimer* UpdateTimer;

    // Texts set by language at creation.
    QString VersionText;
    QString CopyrightText;
    QString HelpFile;
    bool FirstShowDone = false;

    // The layout canvas: what the preview and the print are made from.
    QImage& LayoutImage() { return layout_; }
    Picture& FrontPicture() { return front_; }
    Picture& BackPicture() { return back_; }

    // Cover layout operations.
    void DrawTemplate();
    void LoadFrontPicture(const QString& fileName);
    void LoadBackPicture(const QString& fileName);
    // Stamps the product name on the back picture and stretches it into the layout.
    void PutBackPictureIntoLayout();
    void PastoeButtonClick();

    // Handlers.
    void FormShow();
    void FormPaint();
    void UpdateTimerTimer();
    // Runs the closing steps; false when the user chose to stay.
    bool FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void placeControls();
    void setTexts();
    void connectHandlers();
    void fixSize();
    void refreshLayout();
    void removeStaleInstaller();

    QImage layout_;
    Picture front_;
    Picture back_;
};

extern TMainForm* MainForm;

// The two lines of the message shown when a project is saved without spine text.
extern QString NoBackTextLine1;
extern QString NoBackTextLine2;
