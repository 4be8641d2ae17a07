// DiscLabelDialog: the project's disc label. The user chooses the centre hole (41 mm, or 15 mm
// for a full-face label), whether the track list shows in a ring or a block, and the sheet to
// print on (the built-in ones and those of the user's label-sheets.txt), sees the label as it
// will print and prints it. OK keeps the choices with the project (Cover.ini).
#pragma once

#include "label/DiscLabel.h"

#include <QDialog>
#include <functional>
#include <optional>

class ColourButton;
class QComboBox;
class QLabel;

class DiscLabelDialog : public QDialog {
    Q_OBJECT
public:
    explicit DiscLabelDialog(QWidget* parent = nullptr);

    QLabel* holeLabel;
    QComboBox* holeBox;
    QLabel* tracksLabel;
    QComboBox* tracksBox;
    QLabel* sheetLabel;
    QComboBox* sheetBox;
    QLabel* labelView;
    QLabel* sheetNote; // lines of the user's sheet file that could not be read
    ColourButton* printButton;
    ColourButton* okButton;
    ColourButton* cancelButton;

    // Prints the label on a sheet; filled by the program's start.
    std::function<void(const DiscLabel::Content&, const DiscLabel::Sheet&)> printLabel;

    // Shows the label of this content, centred over the caller; gives the options chosen with OK.
    std::optional<CoverOptions> choose(const DiscLabel::Content& content, const QRect& caller);
    void showContent(const DiscLabel::Content& content);
    DiscLabel::Content chosenContent() const;
    DiscLabel::Sheet chosenSheet() const;

    void printChosen();
    void reject() override;

private:
    void createControls();
    void setTexts();
    void connectHandlers();
    void showLabel();

    DiscLabel::Content content_;
    QList<DiscLabel::Sheet> sheets_;
};
