// The rich-text control of the back-cover editor: a QTextEdit that reads and writes RTF files
// through RtfReader and RtfWriter, the way the editor's control on Windows does.
//
// A file is read into a document of its own first and only then shown, so that a failing read
// leaves what the user typed as it was. Files are written whole or not at all.
#pragma once

#include <QStringList>
#include <QTextEdit>

class RichTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextEdit(QWidget* parent = nullptr);

    // Replaces the whole content with the file: as RTF, or as plain text when the file is not
    // RTF. Throws AppError "Cannot open file <name>" (also for what is not a regular file),
    // that the file is too large (over MaxListFileBytes, refused before it is read), or "Failed
    // to Load Stream" when the file is neither RTF nor text or cannot be read to its end.
    void loadFromFile(const QString& fileName);
    // The largest list of contents that is read: a track list is a few kilobytes, a very long
    // one with pictures a few megabytes.
    static constexpr qint64 MaxListFileBytes = 20LL * 1024 * 1024;

    // Writes the whole content as RTF, replacing the file. Throws AppError
    // "Cannot create file <name>", or "Failed to Save Stream" when writing fails.
    void saveToFile(const QString& fileName) const;
    // The whole content as the RTF that saveToFile writes.
    QByteArray toRtf() const;

    // The lines as the control shows them now: word-wrapped paragraphs give several lines.
    QStringList displayedLines() const;

protected:
    // Ctrl+B, Ctrl+I and Ctrl+U switch bold, italic and underline of the selection (or of what
    // is typed next), as in the rich-text control of Windows.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void adopt(QTextDocument* loaded);
};
