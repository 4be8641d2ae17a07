// ColourButton: the push button of the secondary windows. It paints its own face so that the face
// can take any colour (BackColor), the caption any colour (ForeColor), and the face a second colour
// while the mouse is over it (HoverColor). Apart from its look it is a QPushButton: clicks, tab
// order, keyboard and default-button handling are the toolkit's. A non-zero ModalResult ends the
// button's dialog with that result when the button is clicked.
#pragma once

#include <QColor>
#include <QPushButton>

class ColourButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor foreColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(QColor hoverColor READ hoverColor WRITE setHoverColor)
    Q_PROPERTY(int modalResult READ modalResult WRITE setModalResult)

public:
    explicit ColourButton(QWidget* parent = nullptr);
    explicit ColourButton(const QString& caption, QWidget* parent = nullptr);

    QColor backColor() const { return backColor_; }
    QColor foreColor() const { return foreColor_; }
    QColor hoverColor() const { return hoverColor_; }
    int modalResult() const { return modalResult_; }

    // Each setter repaints the button only when the colour really changes.
    void setBackColor(const QColor& color);
    void setForeColor(const QColor& color);
    void setHoverColor(const QColor& color);
    // 0: the click only runs the click handlers; otherwise the button's dialog ends with
    // done(result) (1 = OK, 2 = Cancel).
    void setModalResult(int result) { modalResult_ = result; }

    // Whether the button shows itself as its window's default button: the one Enter presses.
    bool isFocusedDefault() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void endDialogWithModalResult();
    void endHover();

    QColor savedColor_{0, 0, 0}; // face colour in force when the mouse entered
    QColor backColor_;
    QColor foreColor_;
    QColor hoverColor_;
    int modalResult_ = 0;
    bool modalConnected_ = false;
    bool hovered_ = false;
};
