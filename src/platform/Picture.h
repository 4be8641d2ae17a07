// A picture loaded from a file: JPEG through libjpeg-turbo, Windows bitmaps and the other
// standard formats through Qt. It keeps the file's original bytes so that saving an unchanged
// picture writes them back exactly; a picture that was drawn on is written in its own format.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/FileBytes.h"

// The picture as a 24-bit Windows bitmap (BITMAPINFOHEADER, bottom-up rows, no palette),
// whatever its own format and depth.
QByteArray windowsBitmap(const QImage& image);

class Picture {
public:
    enum class Format { None, Jpeg, Bitmap, Other };

    // Loads a file. The format is recognised by the file's content, and by its extension when
    // the content says nothing. A JPEG is decoded at the smallest scale that still covers
    // `cover` (empty: full size). Only a regular file is opened, and its size and header are
    // looked at before the rest is read. Long work keeps the windows painted (runAside).
    // Throws AppError: "Cannot open file <name>" (also for a FIFO, a device or a folder),
    // "Unknown picture file extension (.<ext>)", "JPEG error #<n> (<in words>)", "Bitmap image
    // is not valid", or a file or picture that is too large. On failure the picture keeps what
    // it held.
    void loadFromFile(const QString& fileName, QSize cover = QSize());
    void loadFromData(const QByteArray& data, const QString& extension, QSize cover = QSize());

    // The file-name extensions (lower case, without the dot) of the pictures it reads.
    static QStringList readableExtensions();

    // Writes the original bytes when the picture is unchanged, else encodes it in its format.
    // Throws AppError "Cannot create file <name>".
    void saveToFile(const QString& fileName) const;
    // What saveToFile writes. Throws AppError "Cannot create file <name>" when the picture cannot
    // be encoded in its format.
    QByteArray fileBytes(const QString& fileName) const;

    // The picture as shown (for a JPEG possibly decoded at a reduced scale), upright.
    const QImage& image() const { return image_; }
    // Replaces the picture's pixels (drawing on it); it is then saved in its format.
    void setImage(const QImage& image, Format format = Format::Bitmap);
    void clear();

    bool isEmpty() const { return image_.isNull(); }
    Format getFormat() const { return format_; }
    // The bytes as they were read (empty when the picture was not read from a file).
    QByteArray originalBytes() const;
    // Nothing was drawn on it since it was loaded: its pixels are those of originalBytes().
    bool isUnchanged() const;
    // The picture's full size as stored (upright), which may exceed Image().size().
    QSize fullSize() const { return fullSize_; }
    // Decodes the original again at the smallest scale that covers `cover` (full size when
    // empty); for an unchanged picture only, else the current pixels.
    QImage decode(QSize cover = QSize()) const;

    // The largest picture file that is read at all.
    static constexpr qint64 MaxFileBytes = 512LL * 1024 * 1024;

private:
    QImage image_;
    std::shared_ptr<const FileBytes> original_;
    Format format_ = Format::None;
    QByteArray qtFormat_; // the Qt reader's name for Format::Other
    QSize fullSize_;
    bool modified_ = false;
};
