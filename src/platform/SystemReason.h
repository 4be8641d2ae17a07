// Why a file operation failed, in the user's language: the system's error (errno, or what a
// QFileDevice reports) as one of the program's own translated sentences, to stand on the line
// after the message that names the file.
#pragma once

#include <QString>

class QFileDevice;

// "The disk is full.", "The disk is read-only.", "You have no permission for this file or
// folder.", "The file or folder does not exist.", ...; empty for 0.
QString systemReason(int errorNumber);

// The reason of the last failed operation on the file, worked out from what it reports; empty
// when it reports no system error.
QString systemReason(const QFileDevice& file);

// Why a file cannot be written at path (or a folder made there), worked out after the fact from
// the disk as it is: a folder that is missing or is a file, no permission, a read-only or full
// disk. Empty when nothing stands in the way that can be seen.
QString whyCannotWrite(const QString& path);

// The message with the reason on its own line after it; the message alone when there is none.
QString withReason(const QString& message, const QString& reason);
