// The disc label (label/DiscLabel.h) on a printer or in a PDF file.
#pragma once

#include "label/DiscLabel.h"
#include "print/PaperFit.h"
#include "print/PrinterCalibration.h"

class QPrinter;

// The sheet on one page of the printer, moved and scaled by the calibration. A sheet made for
// another paper than the printer's is refused before anything prints.
void printLabelOn(QPrinter& printer, const DiscLabel::Content& content,
                  const DiscLabel::Sheet& sheet, const PrinterCalibration& calibration = {});

// Writes the sheet as a one-page PDF of the paper (the sheet's own paper when it names one),
// whole or not at all. Throws AppError "Cannot create file <file>".
void writeLabelPdf(const DiscLabel::Content& content, const DiscLabel::Sheet& sheet,
                   PaperFit::Paper paper, const QString& file);
