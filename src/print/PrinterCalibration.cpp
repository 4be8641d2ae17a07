#include "print/PrinterCalibration.h"

#include "platform/AppError.h"
#include "platform/RegistryStore.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QUrl>
#include <cstdlib>

namespace {

struct FieldRule {
    const char* storeName;
    int low;
    int high;
    bool percent;
};

FieldRule ruleOf(CalibrationField field) {
    switch (field) {
    case CalibrationField::OffsetX:
        return {"X Offset", -100, 100, false};
    case CalibrationField::OffsetY:
        return {"Y Offset", -100, 100, false};
    case CalibrationField::ScaleX:
        return {"X Scale", 950, 1050, true};
    case CalibrationField::ScaleY:
        break;
    }
    return {"Y Scale", 950, 1050, true};
}

constexpr const char* StandardSizesName = "Standard Sizes";

constexpr CalibrationField AllFields[] = {CalibrationField::OffsetX, CalibrationField::OffsetY,
                                          CalibrationField::ScaleX, CalibrationField::ScaleY};

QString refusal(CalibrationField field, const QString& text) {
    const QString name = calibrationFieldName(field);
    const QString shown = text.trimmed();
    if (ruleOf(field).percent)
        return QCoreApplication::translate(
                   "PrinterCalibration",
                   "%1 must be a number from 95.0 to 105.0 %, in tenths of a percent; \"%2\" "
                   "is not.")
            .arg(name, shown);
    return QCoreApplication::translate(
               "PrinterCalibration",
               "%1 must be a number from -10.0 to +10.0 mm, in tenths of a millimetre; \"%2\" "
               "is not.")
        .arg(name, shown);
}

// The millimetres or percent of a field as a factor of the device's pixels.
double mmToPixels(int tenthsOfMm, double dpi) {
    return tenthsOfMm / 10.0 / 25.4 * dpi;
}

} // namespace

QTransform PrinterCalibration::transform(double dpiX, double dpiY) const {
    return QTransform(scaleX / 1000.0, 0, 0, scaleY / 1000.0, mmToPixels(offsetX, dpiX),
                      mmToPixels(offsetY, dpiY));
}

QString calibrationFieldName(CalibrationField field) {
    switch (field) {
    case CalibrationField::OffsetX:
        return QCoreApplication::translate("PrinterCalibration", "Horizontal offset");
    case CalibrationField::OffsetY:
        return QCoreApplication::translate("PrinterCalibration", "Vertical offset");
    case CalibrationField::ScaleX:
        return QCoreApplication::translate("PrinterCalibration", "Horizontal scale");
    case CalibrationField::ScaleY:
        break;
    }
    return QCoreApplication::translate("PrinterCalibration", "Vertical scale");
}

int parseCalibrationField(CalibrationField field, const QString& text) {
    const FieldRule rule = ruleOf(field);
    // A sign (also the typographic minus), whole units, tenths and any zeros after them, the unit.
    static const QRegularExpression number(
        QStringLiteral("^\\s*([+\\-\\x{2212}]?)\\s*(\\d{0,4})(?:[.,](\\d?)0*)?\\s*(mm|%)?\\s*$"));
    const QRegularExpressionMatch m = number.match(text);
    const QString unit = m.captured(4);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()) ||
        (!unit.isEmpty() && unit != (rule.percent ? QStringLiteral("%") : QStringLiteral("mm"))))
        throw AppError(refusal(field, text));
    int tenths = m.captured(2).toInt() * 10 + (m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
    if (!m.captured(1).isEmpty() && m.captured(1) != QStringLiteral("+"))
        tenths = -tenths;
    if (tenths < rule.low || tenths > rule.high)
        throw AppError(refusal(field, text));
    return tenths;
}

QString formatCalibrationField(int tenths) {
    const QString digits =
        QStringLiteral("%1.%2").arg(std::abs(tenths) / 10).arg(std::abs(tenths) % 10);
    return tenths < 0 ? QStringLiteral("-") + digits : digits;
}

PrinterCalibration parseCalibration(const QString& offsetX, const QString& offsetY,
                                    const QString& scaleX, const QString& scaleY) {
    PrinterCalibration c;
    c.offsetX = parseCalibrationField(CalibrationField::OffsetX, offsetX);
    c.offsetY = parseCalibrationField(CalibrationField::OffsetY, offsetY);
    c.scaleX = parseCalibrationField(CalibrationField::ScaleX, scaleX);
    c.scaleY = parseCalibrationField(CalibrationField::ScaleY, scaleY);
    return c;
}

QString calibrationSection(const QString& printerName) {
    // Letters, digits, blanks and "-._~" stay; "/" and "\" would open a key below the section,
    // "%" would be read back as an escape, brackets and "=" would confuse the INI file.
    return QStringLiteral("Calibration ") +
           QString::fromLatin1(QUrl::toPercentEncoding(printerName, QByteArrayLiteral(" ")));
}

PrinterCalibration loadCalibration(RegistryStore& store, const QString& printerName) {
    if (printerName.isEmpty())
        return {};
    const QString section = calibrationSection(printerName);
    const PrinterCalibration none;
    const int neutral[] = {none.offsetX, none.offsetY, none.scaleX, none.scaleY};
    int values[4];
    try {
        for (int i = 0; i < 4; ++i) {
            const QString text =
                store.readString(section, QLatin1String(ruleOf(AllFields[i]).storeName), QString());
            values[i] = text.isNull() ? neutral[i] : parseCalibrationField(AllFields[i], text);
        }
    } catch (const AppError&) {
        // Half a calibration would move or scale the print by something nobody measured.
        return {};
    }
    // Only "1" turns the standard sizes on: anything else keeps the sizes printed so far.
    const bool standard =
        store.readString(section, QLatin1String(StandardSizesName), QString()) == u"1";
    return PrinterCalibration{values[0], values[1], values[2], values[3], standard};
}

void saveCalibration(RegistryStore& store, const QString& printerName,
                     const PrinterCalibration& calibration) {
    const QString section = calibrationSection(printerName);
    const int values[] = {calibration.offsetX, calibration.offsetY, calibration.scaleX,
                          calibration.scaleY};
    for (int i = 0; i < 4; ++i)
        store.writeString(section, QLatin1String(ruleOf(AllFields[i]).storeName),
                          formatCalibrationField(values[i]));
    store.writeString(section, QLatin1String(StandardSizesName),
                      calibration.standardSizes ? QStringLiteral("1") : QStringLiteral("0"));
    store.flush();
}
