// TAboutForm: the information window opened by the main window's About button. It shows the
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
class TClrBtn;
class TMainForm;

class TAboutForm : public QDialog {
    Q_OBJECT

public:
    // The version, copyright line and caption come from the main window.
    explicit TAboutForm(TMainForm* mainForm);
    ~TAboutForm() override;

    // Shows the window modally, centred over the caller's outer rectangle.
    int ShowCentredOver(const QRect& callerFrame);

    QFrame* PanelAuthor;
    QTextEdit* AuthorMemo;
    TClrBtn* BtnOK1;
    QFrame* PanelMain;
    QLabel* NameLabel;
    QLabel* VersionLabel;
    QFrame* Bevel3;
    QLabel* CopyrightLabel;
    QPushButton* AuthorBtn;
    QFrame* Bevel2;
    QLabel* Label1;
    QLabel* Label2;
    QStringList MailMemo; // the body of the prepared mail, one entry per line
    TClrBtn* BtnMail;
    TClrBtn* BtnOk;
    TClrBtn* BtnHome;

    void FormPaint();
    void BtnOkClick();
    void AuthorBtnClick();
    void BtnOK1Click();
    void BtnMailClick();
    void BtnHomeClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void FormCreate();
    // A timed message over this window for three seconds.
    void TellTimed(const QString& lineA, const QString& lineB);
    QString MainCaption() const;

    TMainForm* main_;
};

// The instance created at start (set by its constructor).
extern TAboutForm* AboutForm;
