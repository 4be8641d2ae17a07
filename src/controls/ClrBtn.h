// TClrBtn: the push button of the secondary windows. It paints its own face so that the face can
// take any colour (BackColor), the caption any colour (ForeColor), and the face a second colour
// while the mouse is over it (HoverColor). Apart from its look it is a QPushButton: clicks, tab
// order, keyboard and default-button handling are the toolkit's. A non-zero ModalResult ends the
// button's dialog with that result when the button is clicked.
#pragma once

#include <QColor>
#include <QPushButton>

class TClrBtn : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(QColor HoverColor READ HoverColor WRITE setHoverColor)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE setModalResult)

public:
    explicit TClrBtn(QWidget* parent = nullptr);
    explicit TClrBtn(const QString& caption, QWidget* parent = nullptr);

    QColor BackColor() const { return FBackColor; }
    QColor ForeColor() const { return FForeColor; }
    QColor HoverColor() const { return FHoverColor; }
    int ModalResult() const { return FModalResult; }

    // Each setter repaints the button only when the colour really changes.
    void setBackColor(const QColor& color);
    void setForeColor(const QColor& color);
    void setHoverColor(const QColor& color);
    // 0: the click only runs the click handlers; otherwise the button's dialog ends with
    // done(result) (1 = OK, 2 = Cancel).
    void setModalResult(int result) { FModalResult = result; }

    // Whether the button shows itself as its window's default button: the one Enter presses.
    bool IsFocusedDefault() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void EndDialogWithModalResult();
    void EndHover();

    QColor FSavedColor{0, 0, 0}; // face colour in force when the mouse entered
    QColor FBackColor;
    QColor FForeColor;
    QColor FHoverColor;
    int FModalResult = 0;
    bool FModalConnected = false;
    bool FHovered = false;
};
