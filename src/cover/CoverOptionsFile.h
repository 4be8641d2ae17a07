// "Cover.ini" in a project folder: read when the project is read, written whole with its other
// files when it is saved.
#pragma once

#include "cover/CoverOptions.h"

// The folder's choices; the defaults when it has no Cover.ini or the file cannot be read.
CoverOptions readCoverOptionsFile(const QString& folder);

// Whether a save writes Cover.ini: when the choices differ from the defaults, or when the folder
// has the file already (so that going back to the defaults is kept too).
bool coverOptionsWanted(const QString& folder, const CoverOptions& options);
