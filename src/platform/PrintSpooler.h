// The print system's answer to the last job handed to it. Qt's printer object submits a job to
// CUPS when the document ends but does not report a refusal (a queue that is not accepting jobs,
// a printer that was removed): the job would be lost while the print looks done. This asks the
// CUPS client library of the process what it answered. It is the one piece of printing that
// knows the print system; where there is no CUPS client it has nothing to say.
#pragma once

#include <QString>

// The refusal of the last job, in the print system's words; empty when the job was taken or
// nothing is known.
QString lastSpoolerRefusal();
