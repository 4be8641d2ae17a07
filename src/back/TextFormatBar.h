// The format bar of the back-cover editor: font family and size, bold, italic, underline, text
// colour, the paragraph's alignment, and the kind of tab stop a click on the ruler adds. The
// controls follow the format at the cursor; a change applies to the selection (or to what is
// typed next) and to the paragraphs of the selection, each as one undo step. The ruler's edits of
// the tab stops are applied here too.
#pragma once

#include "rtf/TabStops.h"

#include <QColor>
#include <QWidget>
#include <functional>

class QAction;
class QComboBox;
class QFontComboBox;
class QMenu;
class QTextCharFormat;
class QToolButton;
class RichTextEdit;
class TabRuler;

class TextFormatBar : public QWidget {
    Q_OBJECT
public:
    TextFormatBar(RichTextEdit* editor, TabRuler* ruler, QWidget* parent = nullptr);

    QFontComboBox* fontBox;
    QComboBox* sizeBox;
    QToolButton* boldButton;
    QToolButton* italicButton;
    QToolButton* underlineButton;
    QToolButton* colourButton;
    QToolButton* alignLeftButton;
    QToolButton* alignCentreButton;
    QToolButton* alignRightButton;
    QToolButton* alignJustifyButton;
    QToolButton* tabKindButton;
    QAction* leftTabAction;
    QAction* centreTabAction;
    QAction* rightTabAction;
    QAction* dotLeaderAction;

    // Asks for the text colour, starting at the current one; invalid when the user cancels.
    // Tests answer it themselves.
    std::function<QColor(const QColor& current)> chooseColour;

    // The text colour the colour button shows.
    QColor shownColour() const { return shownColour_; }

    void setTexts();
    // Shows the format at the cursor, the paragraph's alignment and tab stops. While the bar is
    // hidden (the editor is made at start, shown later) it waits for its showing.
    void followCursor();
    // Applies a change of the ruler to the tab stops of every paragraph in the selection.
    void applyTabEdit(const TabStops::Edit& edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void placeControls();
    void connectHandlers();
    void mergeFormat(const QTextCharFormat& change);
    void applyFontSize(const QString& text);
    void applyColour();
    void applyAlignment(Qt::Alignment alignment);
    void takeTabKind();
    void showColour(const QColor& colour);

    RichTextEdit* editor_;
    TabRuler* ruler_;
    QMenu* tabKindMenu_;
    QColor shownColour_;
    QString shownFamily_;
    std::function<void()> applyTypedFamily_;
};
