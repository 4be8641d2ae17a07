// AboutDialog: the information window opened by the main window's About button. It shows the
// program's name, version, copyright line and what the program is for, with buttons that prepare
// a mail to the author and open the maker's web site. A small button swaps in a page about the
// author; its own OK swaps back. Made once at start and shown modally; which page is in front
// stays as it was between showings.
#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;
class ColourButton;
class TimedMessage;

// The program's version and copyright lines, as the main window shows them.
struct ProgramIdentity {
    QString versionText;
    QString copyrightText;
};

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // Opens a link (a mail or a web page) without waiting, and answers later, through the
    // callback, whether something took it; nothing is answered once the context object is gone.
    using LinkOpener = std::function<void(const QString& link, QObject* context,
                                          std::function<void(bool took)> answered)>;

    // The caption follows the main window's; failures to open a link are told in the timed
    // message.
    AboutDialog(const ProgramIdentity& identity, TimedMessage& message, QWidget* mainWindow,
                LinkOpener openLink);
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

    ProgramIdentity identity_;
    TimedMessage& message_;
    LinkOpener openLink_;
};
