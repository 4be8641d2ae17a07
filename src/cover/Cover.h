// The cover being made: the layout canvas (the whole insert at a quarter millimetre a pixel),
// the front and back pictures it was drawn from, and the spine text last applied. The main
// window shows it, the back-cover editor puts its list on it, the print preview prints it.
// Every change is drawn on the canvas at once and announced with changed().
#pragma once

#include "cover/BackText.h"
#include "cover/CoverOptions.h"
#include "platform/Picture.h"

#include <QImage>
#include <QObject>
#include <QString>

class Workspace;

class Cover : public QObject {
    Q_OBJECT
public:
    // The canvas is as wide as the main window's view of it: 845 pixels.
    static constexpr int CanvasWidth = 845;

    explicit Cover(Workspace& workspace, QObject* parent = nullptr);

    const QImage& canvas() const { return canvas_; }
    const Picture& frontPicture() const { return front_; }
    const Picture& backPicture() const { return back_; }
    const QString& spineText() const { return spineText_; }
    // The list the back picture was copied from, while the picture is still that copy; null when
    // the picture came from anywhere else.
    const BackTextView& backText() const { return backText_; }
    // How the front picture fills the square and the disc label's choices (Cover.ini).
    const CoverOptions& coverOptions() const { return options_; }
    // Takes the choices and draws the front again as they say.
    void setCoverOptions(const CoverOptions& options);

    // A white canvas with the frames, crop marks and fold marks.
    void drawTemplate();
    // Reads a picture into the front square; the project counts as saved afterwards.
    void loadFrontPicture(const QString& fileName);
    // A front picture given as a file's bytes (one found with the music), with the extension
    // of its format. The project has unsaved changes afterwards.
    void takeFrontPicture(const QByteArray& data, const QString& extension);
    // Reads a picture into the back rectangle, with the product name stamped on it; the project
    // counts as saved afterwards.
    void loadBackPicture(const QString& fileName);
    // A new back picture from anywhere but the editor's list, stamped and drawn.
    void setBackPicture(const QImage& picture);
    // The editor's copy of its list: the back picture made from it, stamped and drawn, and the
    // list kept with it.
    void copyBackText(const BackTextView& view);
    // Keeps the list with the back picture when the picture is, pixel for pixel, what copying the
    // list gives (a project's "Back.bmp" beside its "Back.rtf"); true when it is.
    bool recogniseBackText(const BackTextView& view);
    // Draws the text, cut to the 51 characters a spine holds, on both spines in place of the one
    // before; the project has unsaved changes afterwards.
    void applySpineText(const QString& text);
    // Whether the spine text in the main window's field is the user's own, typed there since the
    // program last put one there (a project read or started, the list copied): a track list
    // imported then leaves it as it is.
    bool spineTextTyped() const { return spineTextTyped_; }
    void setSpineTextTyped(bool typed) { spineTextTyped_ = typed; }
    // Forgets both pictures (a new project); the canvas stays as drawn.
    void forgetPictures();

Q_SIGNALS:
    void changed();
    void spineTextApplied(const QString& text);

private:
    void putBackPictureOnCanvas();
    void putFrontPictureOnCanvas();

    Workspace& workspace_;
    QImage canvas_;
    Picture front_;
    Picture back_;
    QString spineText_;
    bool spineTextTyped_ = false;
    BackTextView backText_;
    CoverOptions options_;
};
