// Reads RTF into a QTextDocument: what the back-cover editor shows when it opens "Back.rtf" or any
// RTF file a word processor wrote.
//
// Reading streams: RtfByteSource hands out the bytes of an array or of a device read in blocks,
// RtfTokenizer turns them into groups, control words, text and binary data, and
// RtfDocumentBuilder keeps one state per open group (up to MaxGroupDepth; deeper groups share
// the deepest state) and writes straight into the document through a cursor. Memory is bounded
// by the document it builds, not by the file's structure. Damaged files are read as far as they
// make sense: a truncated file gives the text up to the cut, an unbalanced `}` ends the document,
// unknown control words are ignored.
//
// Understood: font table (`\fcharset`, `\cpg`), colour table, `\ansicpg` and the other character
// sets, `\'hh` in the current font's code page (double-byte ones too), `\uN` with `\ucN`,
// character formatting (`\b \i \ul… \strike \fs \f \cf \cb \highlight \super \sub \v \plain`),
// paragraphs (`\pard \par \line \tab \qc \qr \qj \ql \li \ri \fi \sb \sa \sl \slmult \tx`),
// fields (their result), objects (their result), PNG and JPEG pictures, `\bin`, and `{\*…}`.
// Tables (`\trowd \cellx \clmgf \clmrg \intbl \cell \row`, nested `\nestcell`) are read as one
// line per row with tab stops at the cells (rtf/RtfTableRows.h), narrowed to the document's
// text width when it has one.
#pragma once

#include "platform/AppError.h"

#include <QByteArray>

class QIODevice;
class QTextDocument;

// Thrown when the data is not RTF at all; the editor then tries the file as plain text.
class RtfFormatError : public AppError {
public:
    using AppError::AppError;
};

class RtfReader {
public:
    // Groups nested deeper than this share the state of the deepest one.
    static constexpr int MaxGroupDepth = 1000;
    // A picture whose data is larger than this is skipped.
    static constexpr qsizetype MaxPictureBytes = 64 * 1024 * 1024;

    // True when the bytes start like RTF: "{\rtf", after an optional UTF-8 mark and blanks.
    static bool looksLikeRtf(const QByteArray& head);

    // Replace the document's content with the RTF. Throws RtfFormatError ("Failed to Load
    // Stream") when the data does not start like RTF, and AppError ("Failed to Load Stream")
    // when the device fails while reading.
    static void read(const QByteArray& rtf, QTextDocument* document);
    static void read(QIODevice* device, QTextDocument* document);
};
