#include "rtf/RtfWriter.h"

#include "platform/AppError.h"
#include "rtf/TabStops.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QIODevice>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <cmath>

namespace {

constexpr double TwipsPerPixel = 15.0;

int twips(double pixels) {
    return int(std::lround(pixels * TwipsPerPixel));
}

class BufferedOutput {
public:
    explicit BufferedOutput(QIODevice* device) : device_(device) {
        buffer_.reserve(BlockSize + 1024);
    }

    BufferedOutput& operator<<(const char* text) {
        buffer_.append(text);
        check();
        return *this;
    }
    BufferedOutput& operator<<(const QByteArray& text) {
        buffer_.append(text);
        check();
        return *this;
    }
    BufferedOutput& operator<<(int value) {
        buffer_.append(QByteArray::number(value));
        return *this;
    }
    void put(char c) {
        buffer_.append(c);
        check();
    }

    void flush() {
        if (!device_ || buffer_.isEmpty())
            return;
        if (device_->write(buffer_) != buffer_.size())
            throw AppError(QStringLiteral("Failed to Save Stream"));
        buffer_.clear();
    }
    QByteArray take() { return std::move(buffer_); }

private:
    static constexpr qsizetype BlockSize = 64 * 1024;
    void check() {
        if (device_ && buffer_.size() >= BlockSize)
            flush();
    }
    QIODevice* device_;
    QByteArray buffer_;
};

// The character formatting of one run, reduced to what RTF carries.
struct RunFormat {
    int font = 0;
    int size = 24; // half points
    bool bold = false;
    bool italic = false;
    int underline = QTextCharFormat::NoUnderline;
    bool strikeOut = false;
    int verticalAlignment = QTextCharFormat::AlignNormal;
    int foreground = 0; // colour table index, 0 automatic
    int background = 0; // colour table index, 0 none
    bool operator==(const RunFormat&) const = default;
};

class DocumentWriter {
public:
    DocumentWriter(const QTextDocument* document, BufferedOutput& out)
        : document_(document), out_(out) {
        defaultFont_ = document_->defaultFont();
    }

    void write() {
        collectTables();
        header();
        for (QTextBlock block = document_->begin(); block.isValid(); block = block.next())
            paragraph(block);
        out_ << "}\r\n";
        out_.flush();
    }

private:
    QString familyOf(const QTextCharFormat& f) const {
        const QStringList families = f.fontFamilies().toStringList();
        QString family = families.isEmpty() ? QString() : families.first();
        if (family.isEmpty())
            family = defaultFont_.family();
        family.remove(QLatin1Char(';'));
        return family.isEmpty() ? QStringLiteral("Arial") : family;
    }

    int fontIndex(const QString& family) {
        const qsizetype at = fonts_.indexOf(family);
        if (at >= 0)
            return int(at);
        fonts_.append(family);
        return int(fonts_.size() - 1);
    }

    static QColor colorOf(const QBrush& brush) {
        return brush.style() == Qt::NoBrush ? QColor() : brush.color();
    }

    int colorIndex(const QColor& color) {
        if (!color.isValid())
            return 0;
        const QRgb rgb = color.rgb() & 0xFFFFFF;
        const qsizetype at = colors_.indexOf(rgb);
        if (at >= 0)
            return int(at) + 1;
        colors_.append(rgb);
        return int(colors_.size());
    }

    RunFormat runFormat(const QTextCharFormat& f) {
        RunFormat r;
        r.font = fontIndex(familyOf(f));
        double points = 0;
        if (f.hasProperty(QTextFormat::FontPointSize))
            points = f.fontPointSize();
        else if (f.hasProperty(QTextFormat::FontPixelSize))
            points = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
        else if (defaultFont_.pointSizeF() > 0)
            points = defaultFont_.pointSizeF();
        else if (defaultFont_.pixelSize() > 0)
            points = defaultFont_.pixelSize() * 0.75;
        r.size = points > 0 ? std::clamp(int(std::lround(points * 2)), 2, 3276) : 24;
        r.bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() >= QFont::DemiBold
                                                        : defaultFont_.bold();
        r.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : defaultFont_.italic();
        r.underline = f.underlineStyle();
        if (r.underline == QTextCharFormat::NoUnderline &&
            !f.hasProperty(QTextFormat::TextUnderlineStyle) && f.fontUnderline())
            r.underline = QTextCharFormat::SingleUnderline;
        r.strikeOut = f.fontStrikeOut();
        r.verticalAlignment = f.verticalAlignment();
        if (r.verticalAlignment != QTextCharFormat::AlignSuperScript &&
            r.verticalAlignment != QTextCharFormat::AlignSubScript)
            r.verticalAlignment = QTextCharFormat::AlignNormal;
        if (f.hasProperty(QTextFormat::ForegroundBrush))
            r.foreground = colorIndex(colorOf(f.foreground()));
        if (f.hasProperty(QTextFormat::BackgroundBrush))
            r.background = colorIndex(colorOf(f.background()));
        return r;
    }

    // Only what the paragraphs write goes into the tables, so that reading the output and
    // writing it again gives the same tables.
    void collectTables() {
        for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
            if (block.begin().atEnd())
                runFormat(block.charFormat());
            for (auto it = block.begin(); !it.atEnd(); ++it)
                runFormat(it.fragment().charFormat());
        }
        if (fonts_.isEmpty())
            fontIndex(familyOf(QTextCharFormat()));
    }

    void header() {
        out_ << "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1";
        const double tab = document_->defaultTextOption().tabStopDistance();
        if (tab > 0)
            out_ << "\\deftab" << twips(tab);
        out_ << "\r\n{\\fonttbl";
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            out_ << "{\\f" << int(i) << "\\fnil\\fcharset0 ";
            text(fonts_[i]);
            out_ << ";}";
        }
        out_ << "}\r\n{\\colortbl;";
        for (QRgb rgb : colors_)
            out_ << "\\red" << qRed(rgb) << "\\green" << qGreen(rgb) << "\\blue" << qBlue(rgb)
                 << ";";
        out_ << "}\r\n{\\*\\generator Sleevix;}\\viewkind4\r\n";
    }

    void paragraph(const QTextBlock& block) {
        const QTextBlockFormat f = block.blockFormat();
        out_ << "\\pard";
        const Qt::Alignment align = f.alignment();
        if (align & Qt::AlignJustify)
            out_ << "\\qj";
        else if (align & Qt::AlignHCenter)
            out_ << "\\qc";
        else if ((align & Qt::AlignRight) ||
                 ((align & Qt::AlignTrailing) && !(align & Qt::AlignAbsolute)))
            out_ << "\\qr";
        if (int v = twips(f.leftMargin()))
            out_ << "\\li" << v;
        if (int v = twips(f.rightMargin()))
            out_ << "\\ri" << v;
        if (int v = twips(f.textIndent()))
            out_ << "\\fi" << v;
        if (int v = twips(f.topMargin()))
            out_ << "\\sb" << v;
        if (int v = twips(f.bottomMargin()))
            out_ << "\\sa" << v;
        switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            if (f.lineHeight() > 0)
                out_ << "\\sl" << int(std::lround(f.lineHeight() * 240.0 / 100.0)) << "\\slmult1";
            break;
        case QTextBlockFormat::FixedHeight:
            if (f.lineHeight() > 0)
                out_ << "\\sl" << -twips(f.lineHeight()) << "\\slmult0";
            break;
        case QTextBlockFormat::MinimumHeight:
            if (f.lineHeight() > 0)
                out_ << "\\sl" << twips(f.lineHeight()) << "\\slmult0";
            break;
        default:
            break;
        }
        for (const QTextOption::Tab& tab : f.tabPositions()) {
            if (tab.type == QTextOption::RightTab)
                out_ << "\\tqr";
            else if (tab.type == QTextOption::CenterTab)
                out_ << "\\tqc";
            else if (tab.type == QTextOption::DelimiterTab)
                out_ << "\\tqdec";
            if (TabStops::hasDotLeader(tab))
                out_ << "\\tldot";
            out_ << "\\tx" << twips(tab.position);
        }

        bool first = true;
        RunFormat last;
        auto formatRun = [&](const RunFormat& r) {
            if (!first && r == last)
                return;
            first = false;
            last = r;
            out_ << "\\plain\\f" << r.font << "\\fs" << r.size;
            if (r.bold)
                out_ << "\\b";
            if (r.italic)
                out_ << "\\i";
            switch (r.underline) {
            case QTextCharFormat::NoUnderline:
                break;
            case QTextCharFormat::DotLine:
                out_ << "\\uld";
                break;
            case QTextCharFormat::DashUnderline:
            case QTextCharFormat::DashDotLine:
            case QTextCharFormat::DashDotDotLine:
                out_ << "\\uldash";
                break;
            case QTextCharFormat::WaveUnderline:
                out_ << "\\ulwave";
                break;
            default:
                out_ << "\\ul";
            }
            if (r.strikeOut)
                out_ << "\\strike";
            if (r.verticalAlignment == QTextCharFormat::AlignSuperScript)
                out_ << "\\super";
            else if (r.verticalAlignment == QTextCharFormat::AlignSubScript)
                out_ << "\\sub";
            if (r.foreground)
                out_ << "\\cf" << r.foreground;
            if (r.background)
                out_ << "\\highlight" << r.background;
            out_.put(' ');
        };

        bool empty = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat cf = fragment.charFormat();
            formatRun(runFormat(cf));
            empty = false;
            if (cf.isImageFormat()) {
                // One object replacement character per picture.
                for (qsizetype i = 0; i < fragment.length(); ++i)
                    picture(cf.toImageFormat());
                continue;
            }
            text(fragment.text());
        }
        if (empty)
            formatRun(runFormat(block.charFormat())); // keeps the height of an empty line
        out_ << "\\par\r\n";
    }

    void text(const QString& s) {
        for (const QChar qc : s) {
            const char16_t c = qc.unicode();
            switch (c) {
            case u'\\':
                out_ << "\\\\";
                continue;
            case u'{':
                out_ << "\\{";
                continue;
            case u'}':
                out_ << "\\}";
                continue;
            case u'\t':
                out_ << "\\tab ";
                continue;
            case 0x2028:
                out_ << "\\line ";
                continue;
            case 0x00A0:
                out_ << "\\~";
                continue;
            case 0x00AD:
                out_ << "\\-";
                continue;
            case 0x2011:
                out_ << "\\_";
                continue;
            case 0xFFFC:
                continue;
            default:
                break;
            }
            if (c < 0x20)
                continue;
            if (c < 0x80) {
                out_.put(char(c));
                continue;
            }
            out_ << "\\u" << (c > 32767 ? int(c) - 65536 : int(c)) << "\\'3f";
        }
    }

    void picture(const QTextImageFormat& f) {
        const QVariant resource = document_->resource(QTextDocument::ImageResource, QUrl(f.name()));
        QImage image;
        if (resource.canConvert<QImage>())
            image = resource.value<QImage>();
        if (image.isNull() && resource.canConvert<QPixmap>())
            image = resource.value<QPixmap>().toImage();
        if (image.isNull() && resource.typeId() == QMetaType::QByteArray)
            image.loadFromData(resource.toByteArray());
        if (image.isNull())
            return;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return;
        const double w = f.width() > 0 ? f.width() : image.width();
        const double h = f.height() > 0 ? f.height() : image.height();
        out_ << "{\\pict\\pngblip\\picw" << image.width() << "\\pich" << image.height()
             << "\\picwgoal" << twips(w) << "\\pichgoal" << twips(h) << "\r\n";
        static const char digits[] = "0123456789abcdef";
        for (qsizetype i = 0; i < png.size(); ++i) {
            const uchar b = uchar(png[i]);
            out_.put(digits[b >> 4]);
            out_.put(digits[b & 15]);
            if (i % 64 == 63)
                out_ << "\r\n";
        }
        out_ << "}";
    }

    const QTextDocument* document_;
    BufferedOutput& out_;
    QFont defaultFont_;
    QStringList fonts_;
    QList<QRgb> colors_;
};

} // namespace

QByteArray RtfWriter::toRtf(const QTextDocument* document) {
    BufferedOutput out(nullptr);
    DocumentWriter(document, out).write();
    return out.take();
}

void RtfWriter::write(const QTextDocument* document, QIODevice* device) {
    if (!device || !device->isWritable())
        throw AppError(QStringLiteral("Failed to Save Stream"));
    BufferedOutput out(device);
    DocumentWriter(document, out).write();
}
