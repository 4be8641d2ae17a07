// AboutDialog: the information window opened by the main window's About button. It shows the
// program's name, version, copyright line and what the program is for, with buttons that prepare
// a mail to the author and open the maker's web site. A small button swaps in a page about the
// author; its own OK swaps back. Made once at start and shown modally; which page is in front
// stays as it was between showings.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;
class ColourButton;
class MainWindow;

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // The version, copyright line and caption come from the main window.
    explicit AboutDialog(MainWindow* mainForm);
    ~AboutDialog() override;

    // Shows the window modally, centred over the caller's outer rectangle.
    int showCentredOver(const QRect& callerFrame);

    QFrame* authorPage;
    QTextEdit* authorText;
    ColourButton* authorOkButton;
    QFrame* mainPage;
    QLabel* nameLabel;
    QLabel* versionLabel;
    QFrame* copyrightRule;
    QLabel* copyrightLabel;
    QPushButton* authorButton;
    QFrame* buttonRule;
    QLabel* purposeLabel;
    QLabel* detailLabel;
    QStringList mailBodyLines; // the body of the prepared mail, one entry per line
    ColourButton* mailButton;
    ColourButton* okButton;
    ColourButton* homeButton;

    void handlePaint();
    void closeAbout();
    void showAuthorPage();
    void showMainPage();
    void mailAuthor();
    void openHomePage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void initialise();
    // A timed message over this window for three seconds.
    void tellTimed(const QString& lineA, const QString& lineB);
    QString mainCaption() const;

    MainWindow* main_;
};

// The instance created at start (set by its constructor).
extern AboutDialog* aboutDialog;
