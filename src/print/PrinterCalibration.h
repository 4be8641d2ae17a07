// A printer's calibration: real printers place the page a little off and print it a little too
// large or too small. The user measures a test page and enters, per printer, a horizontal and a
// vertical offset and scale, which every print on that printer then applies to the whole page.
//
// The transform, in paper millimetres from the page's origin (the top-left of the printable area,
// where the layout starts):
//     printed x = offsetX + scaleX × x,    printed y = offsetY + scaleY × y
// The page is scaled about its origin first and then moved, so an offset moves the print by
// exactly the millimetres entered, whatever the scale.
#pragma once

#include <QString>
#include <QTransform>

class RegistryStore;

struct PrinterCalibration {
    // Tenths of a millimetre, -100 ... +100; positive moves the print right / down.
    int offsetX = 0;
    int offsetY = 0;
    // Tenths of a percent, 950 ... 1050; below 1000 prints smaller.
    int scaleX = 1000;
    int scaleY = 1000;
    // Every cover at the standard jewel-case size (a quarter of a millimetre per layout pixel)
    // instead of the design's slightly smaller scale.
    bool standardSizes = false;

    // Nothing to move or scale: the print comes out where the layout says.
    bool isNone() const {
        return offsetX == 0 && offsetY == 0 && scaleX == 1000 && scaleY == 1000;
    }
    // The transform for a device of dpiX by dpiY pixels per inch, in its pixels.
    QTransform transform(double dpiX, double dpiY) const;

    friend bool operator==(const PrinterCalibration&, const PrinterCalibration&) = default;
};

enum class CalibrationField { OffsetX, OffsetY, ScaleX, ScaleY };

// The field's name for the user ("Horizontal offset", ...), in the user's language.
QString calibrationFieldName(CalibrationField field);

// Reads what the user typed into a field: an optional sign, a number with at most tenths after
// a point or comma ("2", "+2.0", "-1,5", "98.50"), optionally followed by the field's unit ("mm",
// "%"). Gives tenths. Throws AppError naming the field and its range when the text is not such
// a number or lies outside the range.
int parseCalibrationField(CalibrationField field, const QString& text);

// The value as the fields show it and the store keeps it: "2.0", "-1.5", "98.0".
QString formatCalibrationField(int tenths);

// The four fields' texts, in the order of CalibrationField; throws for the first field refused.
PrinterCalibration parseCalibration(const QString& offsetX, const QString& offsetY,
                                    const QString& scaleX, const QString& scaleY);

// The store's section that holds one printer's calibration: "Calibration " followed by the
// printer's name with every character that a section name or a registry key could take for
// something else percent-encoded, so that any printer name has a section of its own.
QString calibrationSection(const QString& printerName);

// The calibration stored for the printer. Nothing stored gives no calibration; so does anything
// that cannot be read as a whole calibration (a value edited by hand into something else, out of
// range, or of the wrong kind): printing then goes on as if uncalibrated.
PrinterCalibration loadCalibration(RegistryStore& store, const QString& printerName);

// Writes the four values and the choice of standard sizes into the printer's section and flushes. Throws like the store.
void saveCalibration(RegistryStore& store, const QString& printerName,
                     const PrinterCalibration& calibration);
